// The file commands of the single document: New, Open, Save, Save As, the
// recent files, dropped files, the question whether to save a modified
// model, and the window title.
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUndoStack>
#include <QUrl>

#include "shell/view/CommandIds.h"
#include "document/VarnelDoc.h"
#include "exchange/XmileImport.h"
#include "shell/frame/FileIo.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/MessageBoxes.h"
#include "shell/frame/ModelLock.h"
#include "shell/frame/Resources.h"
#include "shell/view/VarnelView.h"
#include "shell/view/QtText.h"

namespace {

// Field of the document template string: 0 window title, 3 filter, 4 extension.
QString TemplateField(int index) { return LoadResString(IDS_DOC_TEMPLATE).split('\n').value(index); }

bool IsModelFile(const QString& path) {
    return path.endsWith(TemplateField(4), Qt::CaseInsensitive) || IsXmileFileName(path.toStdString());
}

// The framework's name for a model that has never been saved.
QString UntitledName() { return QStringLiteral("Безымянный"); }

}  // namespace

bool CMainFrame::OnFileNew() {
    if (!SaveModified()) return false;
    m_pView->UndoStack()->clear();  // its steps name objects of the old model
    m_pDoc->OnNewDocument();
    ForgetCopy();
    if (m_pModelLock) m_pModelLock->Release();
    SetPathName(QString());
    m_pView->OnInitialUpdate();
    return true;
}

bool CMainFrame::OnFileOpen() {
    if (!SaveModified()) return false;
    const QString path = AskFileName(this, false, TemplateField(3));
    if (path.isEmpty()) return false;
    return OpenDocumentFile(path, false);
}

bool CMainFrame::OpenDocumentFile(const QString& path, bool bAskSave) {
    if (bAskSave && !SaveModified()) return false;
    if (IsXmileFileName(path.toStdString())) return ImportDocumentFile(path);
    CVarnelDoc loaded;
    const QString error = LoadModelFile(path, loaded);
    if (!error.isEmpty()) {
        VarnelMessageBox(this, error, QMessageBox::Critical);
        return false;
    }
    bool bReadOnly = false;
    if (!LockModel(path, bReadOnly)) return false;
    ForgetCopy(bReadOnly);
    ShowModel(std::move(loaded), path, false);
    return true;
}

void CMainFrame::ShowModel(CVarnelDoc&& model, const QString& path, bool bModified) {
    m_pView->UndoStack()->clear();  // its steps name objects of the old model
    *m_pDoc = std::move(model);
    m_pView->OnInitialUpdate();
    if (bModified)
        SetPathName(path);
    else if (path.isEmpty())
        SetPathName(QString());
    else
        AdoptFile(path);
    if (bModified) m_pView->MarkNotClean();
}

bool CMainFrame::IsModified() const { return !m_pView->UndoStack()->isClean(); }

bool CMainFrame::OnFileSave() {
    if (m_strPathName.isEmpty() || m_bReadOnly) return OnFileSaveAs();
    return DoSave(m_strPathName);
}

bool CMainFrame::OnFileSaveAs() {
    // Like any Save As, start from the model's own file, or from the untitled
    // name in the current folder.
    const QString proposed = !m_strPathName.isEmpty()     ? m_strPathName
                             : !m_strImportedName.isEmpty() ? m_strImportedName
                                                            : UntitledName() + TemplateField(4);
    QString path = AskFileName(this, true, TemplateField(3), proposed);
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += TemplateField(4);
    // A model is saved as a model file, never over the XMILE file it came from.
    if (IsXmileFileName(path.toStdString()))
        path = QFileInfo(path).absoluteDir().filePath(QFileInfo(path).completeBaseName() + TemplateField(4));
    return DoSave(path);
}

bool CMainFrame::DoSave(const QString& path) {
    if (!MaySaveTo(path)) return false;
    const QString error = SaveModelFile(path, *m_pDoc);
    if (!error.isEmpty()) {
        VarnelMessageBox(this, error, QMessageBox::Critical);
        return false;
    }
    if (m_pSaveLock) m_pModelLock = std::move(m_pSaveLock);  // the old file's lock goes
    ForgetCopy();
    AdoptFile(path);
    return true;
}

// The model now matches the file at path: unmodified, named after it, and
// first in the recent files.
void CMainFrame::AdoptFile(const QString& path) {
    m_pView->UndoStack()->setClean();  // undoing from here marks the model again
    SetPathName(path);
    m_recentFiles.Add(path);
    m_recentFiles.WriteList();
    RefreshRecentMenus();
}

bool CMainFrame::SaveModified() {
    if (!IsModified()) return true;
    const QString name = !m_strPathName.isEmpty()     ? QFileInfo(m_strPathName).fileName()
                         : !m_strImportedName.isEmpty() ? QFileInfo(m_strImportedName).fileName()
                                                        : UntitledName();
    const auto answer = VarnelMessageBox(this, Message(EMessage::SaveChanges, {name}),
                                         QMessageBox::Question,
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Yes) return OnFileSave();
    return true;
}

void CMainFrame::OnOpenRecentFile(int index) {
    if (index >= m_recentFiles.Files().size()) return;
    const QString path = m_recentFiles.Files()[index];
    if (!SaveModified()) return;
    if (!OpenDocumentFile(path, false) && !QFileInfo::exists(path)) {
        m_recentFiles.Remove(index);  // a vanished file leaves the list
        m_recentFiles.WriteList();
        RefreshRecentMenus();
    }
}

void CMainFrame::SetPathName(const QString& path) {
    m_strPathName = path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    m_strImportedName.clear();
    UpdateTitle();
}

void CMainFrame::UpdateTitle() {
    const QString name = !m_strPathName.isEmpty()     ? QFileInfo(m_strPathName).fileName()
                         : !m_strImportedName.isEmpty() ? QFileInfo(m_strImportedName).completeBaseName()
                                                        : UntitledName();
    const QString readOnly = m_bReadOnly ? QStringLiteral(" (только чтение)") : QString();
    setWindowTitle(QString("%1%2[*] - %3").arg(name, readOnly, TemplateField(0)));
    setWindowModified(IsModified());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    event->accept();
    ForgetCopy();
    if (m_pModelLock) m_pModelLock->Release();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile() && IsModelFile(url.toLocalFile())) {
            event->acceptProposedAction();
            return;
        }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile() && IsModelFile(url.toLocalFile())) {
            event->acceptProposedAction();
            activateWindow();
            OpenDocumentFile(url.toLocalFile());
            return;
        }
}
