// The frame's safeguards against lost work: autosave of the model with
// unsaved changes, the offer at start of what a dead copy left, and the
// lock that tells a second window the model is open here.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QUndoStack>

#include "document/VarnelDoc.h"
#include "shell/frame/Autosave.h"
#include "shell/frame/FileIo.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/MessageBoxes.h"
#include "shell/frame/ModelLock.h"
#include "shell/frame/RecoveryDlg.h"
#include "shell/frame/StatusBar.h"
#include "shell/view/QtText.h"
#include "shell/view/VarnelView.h"

namespace {

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace

void CMainFrame::EnableSafeguards() {
    if (m_pAutosave) return;
    m_pModelLock = std::make_unique<CModelLock>();
    // A copy made in the middle of a drag or while a dialog has the model
    // half changed would keep a state the user never had.
    auto busy = [this] {
        return QApplication::activeModalWidget() || QApplication::activePopupWidget() || m_pView->IsDragging();
    };
    m_pAutosave = std::make_unique<CAutosave>(*m_pDoc, busy, [this] { return m_strPathName; });
    connect(m_pView->UndoStack(), &QUndoStack::indexChanged, m_pAutosave.get(), &CAutosave::NoteChange);
    connect(m_pAutosave.get(), &CAutosave::Failed, this, &CMainFrame::SetMessageText);
}

void CMainFrame::ForgetCopy(bool bReadOnly) {
    m_bReadOnly = bReadOnly;
    if (m_pAutosave) m_pAutosave->Discard();
}

bool CMainFrame::LockModel(const QString& path, bool& bReadOnly) {
    bReadOnly = false;
    if (!m_pModelLock || m_pModelLock->Take(path) != CModelLock::Outcome::HeldElsewhere) return true;
    const auto answer = VarnelChoiceBox(this,
        Message(EMessage::ModelOpenElsewhere, {Shown(path)}),
        QMessageBox::Warning,
        {{QMessageBox::Open, QStringLiteral("Только для чтения")},
         {QMessageBox::Ignore, QStringLiteral("Открыть все равно")},
         {QMessageBox::Cancel, QStringLiteral("Отмена")}});
    if (answer != QMessageBox::Open && answer != QMessageBox::Ignore) return false;
    m_pModelLock->Release();
    bReadOnly = answer == QMessageBox::Open;
    return true;
}

bool CMainFrame::MaySaveTo(const QString& path) {
    m_pSaveLock.reset();
    if (!m_pModelLock || m_pModelLock->Holds(path)) return true;
    // A model opened anyway keeps saving where it came from.
    const bool bOwnFile = !m_bReadOnly && QFileInfo(path) == QFileInfo(m_strPathName);
    auto pLock = std::make_unique<CModelLock>();
    if (pLock->Take(path) == CModelLock::Outcome::HeldElsewhere && !bOwnFile) {
        VarnelMessageBox(this, Message(EMessage::ModelOpenElsewhereNotSaved, {Shown(path)}), QMessageBox::Critical);
        return false;
    }
    m_pSaveLock = std::move(pLock);
    return true;
}

void CMainFrame::MarkRecoveredModified() {
    // The history starts here, but the model is not what its file holds.
    m_pView->MarkNotClean();
}

void CMainFrame::OfferRecovery() {
    if (!m_pAutosave) return;
    CRecoveryScan scan = FindRecoveries(RecoveryFolder());
    if (!scan.setAside.isEmpty())
        VarnelMessageBox(this, Message(EMessage::CopyDamaged, {Shown(scan.setAside.join('\n'))}),
                         QMessageBox::Warning);
    if (scan.entries.empty()) return;
    CRecoveryDlg dlg(scan.entries, this);
    dlg.exec();
    if (dlg.Chosen() != nullptr) RestoreRecovered(*dlg.Chosen());
}

bool CMainFrame::RestoreRecovered(CRecoveryEntry& entry) {
    const QString own = entry.meta.strModelPath;
    const QFileInfo ownFile(own);
    if (!own.isEmpty() && ownFile.exists() && ownFile.lastModified() > entry.WrittenAt()) {
        const auto answer = VarnelMessageBox(this,
            Message(EMessage::ModelChangedSinceCopy, {Shown(own)}),
            QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) return false;
    }
    if (!SaveModified()) return false;
    CVarnelDoc loaded;
    const QString error = LoadModelFile(entry.ModelCopy(), loaded);
    if (!error.isEmpty()) {
        VarnelMessageBox(this, error, QMessageBox::Critical);
        return false;
    }
    bool bReadOnly = false;
    if (own.isEmpty() || !ownFile.exists()) {
        if (m_pModelLock) m_pModelLock->Release();
    } else if (!LockModel(own, bReadOnly)) {
        return false;
    }
    m_pView->UndoStack()->clear();
    *m_pDoc = std::move(loaded);
    ForgetCopy(bReadOnly);
    if (m_pAutosave) m_pAutosave->Adopt(entry);
    SetPathName(own);
    m_pView->OnInitialUpdate();
    MarkRecoveredModified();
    return true;
}
