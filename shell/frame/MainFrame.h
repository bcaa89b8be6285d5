// CMainFrame: the top-level window. It owns the one document and the one
// view, carries the menu bar (main menu 128 or drawing menu 132), the
// toolbar, the status bar and the accelerators, and runs the file commands
// and the document's commands.
#pragma once
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <memory>

#include "shell/frame/BuildGraphsCommand.h"
#include "shell/frame/RecentFileList.h"
#include "shell/view/ViewHost.h"

class CAutosave;
class CExperimentDlg;
class CModelLock;
struct CRecoveryEntry;
class CProgramDlg;
class CQtDialogHost;
class CVarnelDoc;
class CVarnelView;
class CStatusBar;
struct CMenuItemRes;
class QAction;
class QMenu;
class QMenuBar;
class QToolBar;

class CMainFrame : public QMainWindow, public CViewHost {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // False when the toolbar or the status bar could not be made.
    bool IsCreated() const { return m_bCreated; }

    // CViewHost
    bool IsDrawingMode() const override;
    void SwitchMenu(int menuId) override;
    QMenu* ContextSubmenu() const override;
    bool AskSheetSize(int32_t& nWidth, int32_t& nHeight) override;
    void ShowDatabase() override;

    CVarnelDoc& Document() { return *m_pDoc; }
    CStatusBar* StatusBar() const { return m_wndStatusBar; }
    QToolBar* ToolBar() const { return m_wndToolBar; }
    const QString& PathName() const { return m_strPathName; }
    const CRecentFileList& RecentFiles() const { return m_recentFiles; }
    // The accelerator actions (not in any menu).
    const std::vector<QAction*>& Accelerators() const { return m_accelerators; }

    // Runs a command by id as a menu item, button or accelerator would.
    // Returns false when the command has no handler.
    bool OnCommand(int nId);
    bool HasHandler(int nId) const;

    // Document framework.
    bool OnFileNew();
    bool OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    // Opens an XMILE model as a new, modified model that no file holds yet.
    bool OnFileImport();
    bool ImportDocumentFile(const QString& path);
    // Asks to save a modified model first unless bAsked; keeps the current
    // model when the file cannot be read.
    bool OpenDocumentFile(const QString& path, bool bAskSave = true);
    // Makes model the open one, named after path (empty: untitled), with a
    // new history. bModified: it differs from that file from the start (a
    // recovered or an imported model), so the history starts not clean and
    // closing asks to save it.
    void ShowModel(CVarnelDoc&& model, const QString& path, bool bModified);
    // The model differs from its file: its history is not clean.
    bool IsModified() const;
    // Yes saves, No goes on, Cancel stops: false means stop.
    bool SaveModified();
    bool DoSave(const QString& path);

    void OnEditProgram();
    void OnBuildGraphs();
    // Opens the experiment window, or brings it to the front.
    void OnExperiment();
    CExperimentDlg* Experiment() const;
    void OnAppAbout();
    // Opens the program editor on a line, with a run's message under the text.
    void ShowProgramLine(int64_t nLine, const std::string& strMessage);
    const CPreviousRun& PreviousRun() const { return m_graphsSession.previousRun; }

    // Autosave, recovery and the lock on the open model, which the desktop
    // application turns on (MainFrameRecovery.cpp).
    void EnableSafeguards();
    CAutosave* Autosave() const { return m_pAutosave.get(); }
    // At start: offers what a copy of Varnel that died left unsaved.
    void OfferRecovery();
    // Opens the copy under the model's own path, marked modified.
    bool RestoreRecovered(CRecoveryEntry& entry);
    // Opened while another window holds it: runs, but saves only elsewhere.
    bool IsReadOnly() const { return m_bReadOnly; }

    // Writes to the status bar's message pane.
    void SetMessageText(const QString& text);
    void UpdateTitle();
    // The status bar's mode pane text for the view's mode and tool.
    QString ModeText() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool CreateToolBar();
    void CreateAccelerators();
    void InstallHandlers();
    QMenuBar* BuildMenuBar(int menuId);
    QMenu* BuildSubmenu(const CMenuItemRes& res, QWidget* parent);
    QAction* MakeCommandAction(int nId, const QString& text, QObject* parent);
    void UpdateMenu(QMenu* pMenu);
    // Undo and redo items named after the step they take, the check mark of
    // the active tool, and the mode pane, after every change of either.
    void RefreshCommandStates();
    void UpdateCommandAction(QAction* pAction);
    // The command whose item carries the check mark, 0 for none.
    int ActiveToolCommand() const;
    // The property holding the text an action was made with, which undo
    // and redo items extend.
    static constexpr const char* kResourceText = "varnelResourceText";
    void FillRecentFiles(QMenu* pMenu);
    void RefreshRecentMenus();
    void OnOpenRecentFile(int index);
    void SetPathName(const QString& path);
    void AdoptFile(const QString& path);
    // The diagram's names and a pending line for an editor about to open.
    void PrepareProgramDlg(CProgramDlg& dlg);
    // The safeguards' part of the file flow. LockModel asks when another
    // window has the model; false means the user cancelled.
    bool LockModel(const QString& path, bool& bReadOnly);
    // False, after saying why, when another window holds the file.
    bool MaySaveTo(const QString& path);
    // The model now in the window is another one, or saved, or closed.
    void ForgetCopy(bool bReadOnly = false);
    void MarkRecoveredModified();

    CStatusBar* m_wndStatusBar = nullptr;
    QToolBar* m_wndToolBar = nullptr;
    QMenuBar* m_pMenu = nullptr;
    std::unique_ptr<CVarnelDoc> m_pDoc;
    CVarnelView* m_pView = nullptr;
    std::unique_ptr<CQtDialogHost> m_pDialogHost;
    QString m_strPathName;
    QString m_strImportedName;  // the .vrn name Save proposes for an imported model
    CRecentFileList m_recentFiles;
    std::map<int, std::function<void()>> m_handlers;
    std::vector<QAction*> m_accelerators;
    bool m_bCreated = false;
    CGraphsSession m_graphsSession;
    QPointer<CExperimentDlg> m_pExperiment;  // deletes itself when closed
    bool m_bReadOnly = false;
    // Last members: they go before the document they watch.
    std::unique_ptr<CModelLock> m_pModelLock;
    std::unique_ptr<CModelLock> m_pSaveLock;  // the lock of a file being saved to, until it is the model's
    std::unique_ptr<CAutosave> m_pAutosave;
};

// Set when the frame is created; the build-graphs run writes its progress
// texts through it.
extern CMainFrame* g_pMainFrame;
