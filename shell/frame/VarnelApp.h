// CVarnelApp: the application object. It sets the settings root, makes
// the main frame with its document and view, carries out the command line
// and shows the frame; exec() then runs until the frame closes.
#pragma once
#include <QApplication>
#include <memory>

class CMainFrame;

class CVarnelApp : public QApplication {
    Q_OBJECT
public:
    CVarnelApp(int& argc, char** argv);
    ~CVarnelApp() override;

    // Returns -1 to go on into the event loop, otherwise the exit code of a
    // start-up that ends here (printing done, or a failed command line).
    int InitInstance();
    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }

private:
    std::unique_ptr<CMainFrame> m_pMainFrame;
};

// Puts the settings root and the application name in place (also for tests).
void SetApplicationIdentity();
// Lets the toolkit's own dialogs (file choosers, the save question's
// buttons, the progress window) speak Russian like the rest of the
// interface; without the translation files they stay in English.
void InstallFrameworkTranslations();
