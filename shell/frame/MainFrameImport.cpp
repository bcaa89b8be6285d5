// «Файл» › «Импорт…» and opening an XMILE file: the model of another tool
// becomes a new model that no file holds yet, marked modified, named after
// the XMILE file. Save then asks for a .vrn name; the XMILE file is never
// written. What the import refuses, and what it rounds, is shown.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUndoStack>

#include "document/VarnelDoc.h"
#include "exchange/XmileImport.h"
#include "shell/frame/ModelLock.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/MessageBoxes.h"
#include "shell/view/VarnelView.h"
#include "shell/view/QtText.h"

bool CMainFrame::OnFileImport() {
    if (!SaveModified()) return false;
    const QString path = AskFileName(this, false, QStringLiteral("Модели XMILE (*.xmile *.xml *.stmx)"));
    if (path.isEmpty()) return false;
    return ImportDocumentFile(path);
}

bool CMainFrame::ImportDocumentFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        VarnelMessageBox(this, Message(EMessage::ImportCannotOpen, {path, file.errorString()}),
                         QMessageBox::Critical);
        return false;
    }
    const QByteArray bytes = file.readAll();
    XImport imported;
    try {
        imported = ImportXmile(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    } catch (const CXmileRefusal& refusal) {
        QString text = Message(EMessage::ImportRefused, {QFileInfo(path).fileName()});
        for (const std::string& problem : refusal.Problems()) text += "\n" + QString::fromStdString(problem);
        VarnelMessageBox(this, text, QMessageBox::Critical);
        return false;
    }
    // Another model replaces the open one: its copy and its lock go, and the
    // imported model has no file of its own yet, so it opens modified.
    ForgetCopy();
    if (m_pModelLock) m_pModelLock->Release();
    ShowModel(std::move(imported.doc), QString(), true);
    const QFileInfo info(path);
    m_strImportedName = info.absoluteDir().filePath(info.completeBaseName() + ".vrn");
    UpdateTitle();
    if (!imported.notes.empty()) {
        QString text = Message(EMessage::ImportRounded);
        for (const std::string& note : imported.notes) text += "\n" + QString::fromStdString(note);
        VarnelMessageBox(this, text, QMessageBox::Information);
    }
    return true;
}
