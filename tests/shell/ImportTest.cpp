// XMILE in the desktop: «Импорт…» and Open by the file's type give a new,
// modified model named after the XMILE file, whose Save asks for a .vrn
// name and never writes the XMILE file; refusals and rounding are shown.
#include "ShellTest.h"

namespace {

const QByteArray kModel =
    "<xmile><sim_specs><start>0</start><stop>1</stop><dt>0.25</dt><save_step>0.3</save_step></sim_specs>"
    "<model><variables><stock name=\"Tea\"><eqn>80</eqn><outflow>cooling</outflow></stock>"
    "<flow name=\"cooling\"><eqn>Tea / 10</eqn></flow></variables></model></xmile>";

}  // namespace

class ImportTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString Path(const QString& name) { return QDir::cleanPath(m_dir.filePath(name)); }

private slots:
    void importedModelIsNewAndSavedAsModelFile() {
        WriteFile(Path("tea.xmile"), kModel);
        CMainFrame frame;
        CScriptedBoxes boxes;
        boxes.files = {Path("tea.xmile")};
        frame.OnCommand(ID_FILE_IMPORT);
        QVERIFY(frame.Document().IsModified() && frame.PathName().isEmpty());
        QVERIFY2(frame.windowTitle().startsWith("tea[*]"), qPrintable(frame.windowTitle()));
        QCOMPARE(boxes.Last().icon, QMessageBox::Information);  // the save step was rounded
        QVERIFY(boxes.Last().strText.contains("save_step 0.3"));
        boxes.files = {Path("tea.xmile")};  // even when the XMILE file itself is chosen
        QVERIFY(frame.OnFileSave());
        QCOMPARE(boxes.proposed.back(), Path("tea.vrn"));
        QCOMPARE(frame.PathName(), Path("tea.vrn"));
        QCOMPARE(ReadFile(Path("tea.xmile")), kModel);

        WriteFile(Path("bad.stmx"), "<xmile><model><variables><aux name=\"a\"><eqn>b[1]</eqn></aux></variables></model></xmile>");
        QVERIFY(!frame.OpenDocumentFile(Path("bad.stmx")));
        QCOMPARE(boxes.Last().icon, QMessageBox::Critical);
        QVERIFY(boxes.Last().strText.endsWith("\narrays (subscripts): variable 'a'"));
        QCOMPARE(frame.PathName(), Path("tea.vrn"));
    }
};
SHELL_TEST(ImportTest)
#include "ImportTest.moc"
