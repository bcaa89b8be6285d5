// Work that survives a dead process: the autosave copy and when it goes, the offer at start (restored,
// deleted, left for later, damaged, older than its model's file) and the lock on a model open elsewhere.
#include <QLockFile>

#include "ShellTest.h"
#include "document/DocChanges.h"
#include "shell/frame/Autosave.h"
#include "shell/frame/ModelLock.h"
#include "shell/frame/RecoveryDlg.h"
#include "shell/frame/RecoveryFiles.h"

namespace {

QByteArray Model(const std::string& program) {
    CVarnelDoc doc;
    doc.OnNewDocument();
    doc.m_strProgram = program;
    const std::vector<uint8_t> bytes = doc.Store();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// What a process that died would have left: its copy and metadata, no live lock.
void PlantCopy(const QString& id, const QByteArray& bytes, const QString& model, int age = 0) {
    WriteFile(RecoveryFolder() + '/' + id + ".json", RecoveryMetaJson({model, 1, QDateTime::currentDateTimeUtc()}));
    WriteFile(RecoveryFolder() + '/' + id + ".vrn", bytes);
    QFile copy(RecoveryFolder() + '/' + id + ".vrn");
    QVERIFY(copy.open(QIODevice::ReadWrite) && copy.setFileTime(QDateTime::currentDateTime().addSecs(-age), QFileDevice::FileModificationTime));
}

// Presses a row's button («Восстановить», «Удалить», «Позже») in the recovery list when it opens.
void PressInList(QList<std::pair<int, int>> presses) {
    OnNextModal<CRecoveryDlg>([presses](CRecoveryDlg* dlg) {
        const auto buttons = dlg->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly);
        for (auto [row, button] : presses) buttons[row * 3 + button]->click();
    });
}

void Change(CMainFrame& frame, const std::string& program) {
    View(frame)->PushChange(std::make_unique<CProgramChange>(frame.Document(), program), "изменение программы");
}

QStringList Copies() { return QDir(RecoveryFolder()).entryList({"*.vrn", "*.json"}, QDir::Files); }

}  // namespace

class RecoveryTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString Path(const QString& name) { return m_dir.filePath(name); }

private slots:
    void init() {
        QSettings().setValue("autosave/seconds", 0.05);
        QDir(RecoveryFolder()).removeRecursively();
    }

    // The copy follows the first change within the delay, names the model and goes with Save, New and close.
    void autosaveCopyAndWhenItGoes() {
        WriteFile(Path("m.vrn"), Model("var a"));
        CMainFrame frame;
        frame.EnableSafeguards();
        CScriptedBoxes boxes;
        QVERIFY(frame.OpenDocumentFile(Path("m.vrn")));
        for (int step = 0; step < 3; ++step) {
            Change(frame, "var b" + std::to_string(step));
            QTRY_VERIFY(!frame.Autosave()->CopyPath().isEmpty());
            frame.Autosave()->WaitForWrites();
            QTRY_COMPARE(ReadFile(frame.Autosave()->CopyPath()), Model("var b" + std::to_string(step)));
            CRecoveryMeta meta;
            QVERIFY(ReadRecoveryMeta(ReadFile(frame.Autosave()->CopyPath().chopped(4) + ".json"), meta));
            QCOMPARE(meta.strModelPath, step == 2 ? QString() : Path("m.vrn"));
            QCOMPARE(meta.nPid, QCoreApplication::applicationPid());
            if (step == 0) QVERIFY(frame.OnFileSave());
            if (step == 1) QVERIFY(frame.OnFileNew());  // answered No
            if (step == 2) QVERIFY(frame.close());
            QCOMPARE(Copies(), QStringList());
        }
        QCOMPARE(ReadFile(Path("m.vrn")), Model("var b0"));
    }

    // The copy opens under its model's path, marked modified; Save writes it there, and then no copy stays.
    // A damaged copy is reported and set aside, and a model file newer than its copy is said before restoring.
    void recoveryOfferedAndAccepted() {
        WriteFile(Path("m.vrn"), Model("var old"));
        PlantCopy("dead-1", Model("var recovered"), Path("m.vrn"));
        PlantCopy("dead-2", Model("var a").left(12), QString());  // cut short
        CMainFrame frame;
        frame.EnableSafeguards();
        CScriptedBoxes boxes;
        boxes.answers = {QMessageBox::Ok, QMessageBox::Yes};
        QFile model(Path("m.vrn"));
        QVERIFY(model.open(QIODevice::ReadWrite) && model.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        PressInList({{0, 0}});
        frame.OfferRecovery();
        QCOMPARE(boxes.requests.size(), size_t(2));
        QVERIFY(boxes.requests[0].strText.contains("повреждена") && boxes.requests[0].strText.contains("damaged"));
        QVERIFY(boxes.requests[1].strText.contains("изменен после"));
        QCOMPARE(QDir(RecoveryFolder() + "/damaged").entryList(QDir::Files), (QStringList{"dead-2.json", "dead-2.vrn"}));
        QCOMPARE(frame.PathName(), Path("m.vrn"));
        QVERIFY(frame.Document().IsModified() && frame.Document().m_strProgram == "var recovered");
        QCOMPARE(ReadFile(Path("m.vrn")), Model("var old"));
        QVERIFY(frame.OnFileSave());
        QCOMPARE(ReadFile(Path("m.vrn")), Model("var recovered"));
        QCOMPARE(Copies(), QStringList());
    }

    // «Удалить» deletes a copy at once, «Позже» keeps it for the next start; a copy whose process lives is not offered.
    void recoveryDeclined() {
        PlantCopy("dead-1", Model("var one"), Path("one.vrn"), 60);
        PlantCopy("dead-2", Model("var two"), QString());
        PlantCopy("live", Model("var live"), QString());
        QLockFile live(RecoveryFolder() + "/live.lock");
        QVERIFY(live.tryLock(0));
        CMainFrame frame;
        frame.EnableSafeguards();
        PressInList({{1, 1}, {0, 2}});  // newest first: the untitled one, then one.vrn
        frame.OfferRecovery();
        QVERIFY(!frame.Document().IsModified() && frame.PathName().isEmpty());
        QCOMPARE(Copies(), (QStringList{"dead-2.json", "dead-2.vrn", "live.json", "live.vrn"}));
        PressInList({{0, 0}});
        frame.OfferRecovery();
        QVERIFY(frame.PathName().isEmpty() && frame.Document().m_strProgram == "var two" && frame.Document().IsModified());
    }

    // A second window asks, opens read-only (never saving over the file) or not at all; closing frees the model.
    void lockFromSecondInstance() {
        WriteFile(Path("m.vrn"), Model("var a"));
        CMainFrame first, second;
        first.EnableSafeguards(), second.EnableSafeguards();
        CScriptedBoxes boxes;
        QVERIFY(first.OpenDocumentFile(Path("m.vrn")) && boxes.requests.empty());
        boxes.answers = {QMessageBox::Cancel, QMessageBox::Open};
        QVERIFY(!second.OpenDocumentFile(Path("m.vrn")) && second.PathName().isEmpty());
        QVERIFY(boxes.Last().strText.startsWith("Модель открыта в другом окне…"));
        QVERIFY(second.OpenDocumentFile(Path("m.vrn")) && second.IsReadOnly() && second.windowTitle().contains("только чтение"));
        boxes.files = {Path("m.vrn"), Path("copy.vrn")};
        QVERIFY(!second.OnFileSave() && boxes.Last().icon == QMessageBox::Critical);
        QVERIFY(second.OnFileSave() && !second.IsReadOnly() && second.PathName() == Path("copy.vrn"));
        QVERIFY(first.close() && !QFileInfo::exists(CModelLock::LockPathOf(Path("m.vrn"))));
    }
};
SHELL_TEST(RecoveryTest)
#include "RecoveryTest.moc"
