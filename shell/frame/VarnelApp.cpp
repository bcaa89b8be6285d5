// Start-up of the desktop application, in the framework's order.
#include "shell/frame/VarnelApp.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include "shell/view/CommandIds.h"
#include "document/VarnelDoc.h"
#include "shell/frame/CommandLine.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/MessageBoxes.h"
#include "shell/frame/PrintModel.h"
#include "shell/frame/Resources.h"
#include "shell/frame/Screenshots.h"

void SetApplicationIdentity() {
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(LoadResString(IDS_APP_TITLE));
    QGuiApplication::setDesktopFileName(QStringLiteral("varnel"));
}

void InstallFrameworkTranslations() {
    // Qt's own dialogs, and the search and index of the help window.
    for (const char* catalogue : {"qtbase", "qt_help"}) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(QLocale(QLocale::Russian), QString::fromLatin1(catalogue), QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}

CVarnelApp::CVarnelApp(int& argc, char** argv) : QApplication(argc, argv) {}

CVarnelApp::~CVarnelApp() = default;

int CVarnelApp::InitInstance() {
    SetApplicationIdentity();
    InstallFrameworkTranslations();
    setWindowIcon(LoadAppIcon());
    // The frame reads the two-entry recent-file list from the settings.
    m_pMainFrame = std::make_unique<CMainFrame>();
    if (!m_pMainFrame->IsCreated()) return 1;

    const CCommandLineInfo cmd = ParseCommandLine(arguments().mid(1));
    if (!cmd.m_strError.isEmpty()) {
        VarnelMessageBox(nullptr, cmd.m_strError, QMessageBox::Critical);
        return 1;
    }
    const bool bPrint = cmd.m_nShellCommand == CCommandLineInfo::FilePrint || cmd.m_nShellCommand == CCommandLineInfo::FilePrintTo;
    if (!bPrint) m_pMainFrame->EnableSafeguards();  // printing leaves no trace
    if (cmd.m_nShellCommand != CCommandLineInfo::FileNew &&
        !m_pMainFrame->OpenDocumentFile(cmd.m_strFileName, false))
        return 1;
    if (bPrint) {
        const QString error = PrintModel(m_pMainFrame->Document(), QFileInfo(cmd.m_strFileName).fileName(),
                                         cmd.m_strPrinterName);
        if (!error.isEmpty()) VarnelMessageBox(nullptr, error, QMessageBox::Critical);
        return error.isEmpty() ? 0 : 1;
    }
    m_pMainFrame->show();
    m_pMainFrame->raise();
    ScheduleScreenshotsIfAsked(*m_pMainFrame);
    QTimer::singleShot(0, m_pMainFrame.get(), [pFrame = m_pMainFrame.get()] { pFrame->OfferRecovery(); });
    return -1;
}
