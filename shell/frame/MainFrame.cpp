// The main frame: creation, toolbar, status bar, accelerators, command
// dispatch and the About box. Menus are in MainFrameMenus.cpp, the file
// commands in MainFrameFile.cpp.
#include "shell/frame/MainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QToolBar>
#include <QUndoStack>

#include "shell/view/CommandIds.h"
#include "document/DocChanges.h"
#include "document/VarnelDoc.h"
#include "shell/dialogs/DatabaseDlg.h"
#include "shell/dialogs/DocSizeDlg.h"
#include "shell/dialogs/ExperimentDlg.h"
#include "shell/dialogs/HelpWindow.h"
#include "shell/dialogs/ProgramDlg.h"
#include "shell/dialogs/QtDialogHost.h"
#include "shell/frame/AboutDlg.h"
#include "shell/frame/Autosave.h"
#include "shell/frame/ModelLock.h"
#include "shell/frame/BuildGraphsCommand.h"
#include "shell/frame/Resources.h"
#include "shell/frame/StatusBar.h"
#include "shell/view/VarnelView.h"

CMainFrame* g_pMainFrame = nullptr;

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), m_pDoc(std::make_unique<CVarnelDoc>()), m_recentFiles(kRecentFileCount) {
    m_recentFiles.ReadList();
    m_pDoc->OnNewDocument();
    m_pView = new CVarnelView(this);
    m_pView->SetDocument(m_pDoc.get());
    m_pView->SetHost(this);
    m_pDialogHost = std::make_unique<CQtDialogHost>(m_pView);
    m_pView->SetDialogHost(m_pDialogHost.get());
    setCentralWidget(m_pView);
    m_pDoc->SetModifiedListener([this](bool bModified) {
        setWindowModified(bModified);
        if (m_pAutosave) m_pAutosave->NoteChange();
    });
    connect(m_pView, &CVarnelView::ModeChanged, this, &CMainFrame::RefreshCommandStates);
    connect(m_pView, &CVarnelView::PlacingCancelled, this,
            [this] { SetMessageText(QStringLiteral("Недостроенный объект отменен")); });
    connect(m_pView->UndoStack(), &QUndoStack::indexChanged, this, &CMainFrame::RefreshCommandStates);

    InstallHandlers();
    m_pMenu = BuildMenuBar(IDR_MAINFRAME);
    setMenuBar(m_pMenu);

    setWindowIcon(LoadAppIcon());
    m_wndStatusBar = new CStatusBar(this);
    setStatusBar(m_wndStatusBar);
    m_bCreated = CreateToolBar() && !LoadResString(IDS_IDLE_MESSAGE).isEmpty();
    CreateAccelerators();
    setAcceptDrops(true);
    resize(800, 600);

    m_pView->OnInitialUpdate();
    RefreshCommandStates();
    UpdateTitle();
    g_pMainFrame = this;
}

CMainFrame::~CMainFrame() {
    if (g_pMainFrame == this) g_pMainFrame = nullptr;
    // The experiment window watches the view, and the view points at the
    // document: they go first, in that order.
    delete m_pExperiment;
    delete m_pView;
    m_pView = nullptr;
}

bool CMainFrame::CreateToolBar() {
    const CToolBarRes res = LoadToolBarResource(IDR_MAINFRAME);
    if (res.image.isNull() || res.buttons.empty()) return false;
    m_wndToolBar = new QToolBar(this);
    m_wndToolBar->setObjectName("toolBar");
    m_wndToolBar->setIconSize(QSize(res.nWidth, res.nHeight));
    m_wndToolBar->setMovable(true);
    m_wndToolBar->setFloatable(true);
    m_wndToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    int nImage = 0;
    for (const int nId : res.buttons) {
        if (nId == 0) {
            m_wndToolBar->addSeparator();
            continue;
        }
        QAction* pAction = MakeCommandAction(nId, CommandToolTip(nId), m_wndToolBar);
        pAction->setIcon(QIcon(res.image.copy(nImage++ * res.nWidth, 0, res.nWidth, res.nHeight)));
        pAction->setToolTip(CommandToolTip(nId).isEmpty() ? CommandPrompt(nId) : CommandToolTip(nId));
        pAction->setProperty(kResourceText, pAction->toolTip());
        m_wndToolBar->addAction(pAction);
    }
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
    return true;
}

void CMainFrame::CreateAccelerators() {
    for (const CAcceleratorRes& acc : LoadAcceleratorTable(IDR_MAINFRAME)) {
        auto* pAction = new QAction(this);
        pAction->setShortcut(acc.keys);
        pAction->setShortcutContext(Qt::WindowShortcut);
        pAction->setData(acc.nId);
        const int nId = acc.nId;
        connect(pAction, &QAction::triggered, this, [this, nId] { OnCommand(nId); });
        addAction(pAction);
        m_accelerators.push_back(pAction);
    }
}

QAction* CMainFrame::MakeCommandAction(int nId, const QString& text, QObject* parent) {
    auto* pAction = new QAction(text, parent);
    pAction->setData(nId);
    pAction->setProperty(kResourceText, text);
    pAction->setStatusTip(CommandPrompt(nId));
    pAction->setEnabled(HasHandler(nId));
    connect(pAction, &QAction::triggered, this, [this, pAction, nId](bool bChecked) {
        // A check mark belongs to the resource or to a bar's visibility,
        // never to the click.
        if (pAction->isCheckable()) pAction->setChecked(!bChecked);
        OnCommand(nId);
    });
    return pAction;
}

void CMainFrame::InstallHandlers() {
    m_handlers[ID_FILE_NEW] = [this] { OnFileNew(); };
    m_handlers[ID_FILE_OPEN] = [this] { OnFileOpen(); };
    m_handlers[ID_FILE_SAVE] = [this] { OnFileSave(); };
    m_handlers[ID_FILE_SAVE_AS] = [this] { OnFileSaveAs(); };
    m_handlers[ID_FILE_IMPORT] = [this] { OnFileImport(); };
    m_handlers[ID_APP_ABOUT] = [this] { OnAppAbout(); };
    m_handlers[ID_HELP_INDEX] = [this] { ShowManual(this); };
    m_handlers[ID_APP_EXIT] = [this] { close(); };
    m_handlers[ID_VIEW_TOOLBAR] = [this] { m_wndToolBar->setVisible(m_wndToolBar->isHidden()); };
    m_handlers[ID_VIEW_STATUS_BAR] = [this] { m_wndStatusBar->setVisible(m_wndStatusBar->isHidden()); };
    m_handlers[ID_EDIT_PROGRAM] = [this] { OnEditProgram(); };
    m_handlers[ID_BUILD_GRAPHS] = [this] { OnBuildGraphs(); };
    m_handlers[ID_EXPERIMENT] = [this] { OnExperiment(); };
    for (int i = 0; i < kRecentFileCount; ++i)
        m_handlers[ID_FILE_MRU_FIRST + i] = [this, i] { OnOpenRecentFile(i); };

    m_handlers[ID_DRAWING_MODE] = [this] { m_pView->OnToggleDrawingMode(); };
    m_handlers[ID_MODIFY] = [this] { m_pView->OnModify(); };
    m_handlers[ID_ZOOM_IN] = [this] { m_pView->OnZoomIn(); };
    m_handlers[ID_ZOOM_OUT] = [this] { m_pView->OnZoomOut(); };
    m_handlers[ID_DOC_SIZE] = [this] { m_pView->OnDocSize(); };
    m_handlers[ID_DATABASE] = [this] { m_pView->OnDatabase(); };
    for (int nId = ID_TOOL_LINE; nId <= ID_TOOL_ARROW; ++nId)
        m_handlers[nId] = [this, nId] { m_pView->OnChooseTool(nId); };
    m_handlers[ID_TOOL_MOVE] = [this] { m_pView->OnChooseMoveTool(); };
    m_handlers[ID_DELETE_OBJECT] = [this] { m_pView->OnDeleteObject(); };
    m_handlers[ID_EDIT_UNDO] = [this] { m_pView->OnUndo(); };
    m_handlers[ID_EDIT_REDO] = [this] { m_pView->OnRedo(); };
}

bool CMainFrame::HasHandler(int nId) const { return m_handlers.count(nId) != 0; }

bool CMainFrame::OnCommand(int nId) {
    const auto it = m_handlers.find(nId);
    if (it == m_handlers.end()) return false;
    const auto handler = it->second;  // a handler may rebuild the menus
    handler();
    return true;
}

void CMainFrame::OnAppAbout() {
    CAboutDlg dlg(this);
    dlg.exec();
}

void CMainFrame::SetMessageText(const QString& text) { m_wndStatusBar->SetMessageText(text); }

void CMainFrame::OnEditProgram() {
    CProgramDlg dlg(this);
    PrepareProgramDlg(dlg);
    dlg.m_strText = m_pDoc->m_strProgram;
    if (dlg.DoModal() != QDialog::Accepted || dlg.m_strText == m_pDoc->m_strProgram) return;
    // A rewritten program is work that closing must not drop unasked: as a
    // step of the history it marks the model until undone.
    m_pView->PushChange(std::make_unique<CProgramChange>(*m_pDoc, dlg.m_strText), QStringLiteral("изменение программы"));
}

bool CMainFrame::AskSheetSize(int32_t& nWidth, int32_t& nHeight) {
    CDocSizeDlg dialog(m_pView);
    dialog.m_nWidth = nWidth;
    dialog.m_nHeight = nHeight;
    if (dialog.exec() != QDialog::Accepted) return false;
    nWidth = dialog.m_nWidth;
    nHeight = dialog.m_nHeight;
    return true;
}

void CMainFrame::ShowDatabase() {
    CDatabaseDlg dialog(m_pView);
    dialog.m_pList = m_pDoc->m_pEntityList.get();
    dialog.m_pView = m_pView;
    dialog.exec();
}
