// The drawing-size dialog: "%i" on opening, digits-only boxes, and the
// decimal integer reading rule with saturation of huge input.
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "shell/dialogs/DocSizeDlg.h"

class DocSizeDlgTest : public QObject {
    Q_OBJECT

private slots:
    void readingRule_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "640" << 640;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("blanks and sign") << "  +12" << 12;
        QTest::newRow("negative") << "-7" << -7;
        QTest::newRow("stops at other") << "12a3" << 12;
        QTest::newRow("no digits") << "abc" << 0;
        QTest::newRow("sign only") << "-" << 0;
        QTest::newRow("huge") << "99999999999999999999" << INT32_MAX;
        QTest::newRow("int max") << "2147483647" << INT32_MAX;
        QTest::newRow("huge negative") << "-99999999999" << INT32_MIN;
        QTest::newRow("int min") << "-2147483648" << INT32_MIN;
    }
    void readingRule() {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(ReadDecimalInt(text.toStdString()), value);
    }

    void showsTheSizeAndReadsItBackOnOk() {
        CDocSizeDlg dialog;
        dialog.m_nWidth = 640;
        dialog.m_nHeight = 480;
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Установка размера документа"));
        auto* width = dialog.findChild<QLineEdit*>("widthEdit");
        auto* height = dialog.findChild<QLineEdit*>("heightEdit");
        QCOMPARE(width->text(), QStringLiteral("640"));
        QCOMPARE(height->text(), QStringLiteral("480"));
        width->clear();
        QTest::keyClicks(width, "8-0x0");  // only the digits get in
        QCOMPARE(width->text(), QStringLiteral("800"));
        height->clear();
        QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.m_nWidth, 800);
        QCOMPARE(dialog.m_nHeight, 0);
    }

    void cancelKeepsTheSize() {
        CDocSizeDlg dialog;
        dialog.m_nWidth = 640;
        dialog.show();
        auto* width = dialog.findChild<QLineEdit*>("widthEdit");
        QTest::keyClicks(width, "1");
        QTest::mouseClick(dialog.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.m_nWidth, 640);
    }
};

QTEST_MAIN(DocSizeDlgTest)
#include "DocSizeDlgTest.moc"
