// The desktop command line: files, the print switches, what is refused,
// and printing to a printer that is not there.
#include <QTest>

#include "document/VarnelDoc.h"
#include "shell/frame/CommandLine.h"
#include "shell/frame/PrintModel.h"

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void plainLines() {
        QCOMPARE(ParseCommandLine({}).m_nShellCommand, CCommandLineInfo::FileNew);
        const auto open = ParseCommandLine({"/home/me/model.vrn"});
        QCOMPARE(open.m_nShellCommand, CCommandLineInfo::FileOpen);
        QCOMPARE(open.m_strFileName, QString("/home/me/model.vrn"));
        QVERIFY(open.m_strError.isEmpty());
    }

    void printSwitches() {
        for (const char* sw : {"/p", "/P", "-p", "--print"}) {
            const auto info = ParseCommandLine({sw, "m.vrn"});
            QCOMPARE(info.m_nShellCommand, CCommandLineInfo::FilePrint);
            QCOMPARE(info.m_strFileName, QString("m.vrn"));
        }
        const auto to = ParseCommandLine({"/pt", "m.vrn", "Office", "driver", "port"});
        QCOMPARE(to.m_nShellCommand, CCommandLineInfo::FilePrintTo);
        QCOMPARE(to.m_strPrinterName, QString("Office"));
        QVERIFY(to.m_strError.isEmpty());
    }

    void incompleteOrUnknownIsRefused() {
        QVERIFY(!ParseCommandLine({"/p"}).m_strError.isEmpty());
        QVERIFY(!ParseCommandLine({"/pt", "m.vrn"}).m_strError.isEmpty());
        QVERIFY(!ParseCommandLine({"--frobnicate"}).m_strError.isEmpty());
    }

    void unknownPrinterIsReportedNotUsed() {
        CVarnelDoc doc;
        doc.OnNewDocument();
        const QString report = PrintModel(doc, "m.vrn", "no-such-printer");
        QVERIFY(report.contains("no-such-printer"));
    }
};

QTEST_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
