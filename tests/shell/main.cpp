// shell_tests [CLASS [QtTest options]]: one widget test class, or all of them.
#include "ShellTest.h"
#include "shell/frame/VarnelApp.h"

int main(int argc, char** argv) {
    QTemporaryDir settings;  // the recent-file list and other settings stay here
    qputenv("XDG_CONFIG_HOME", settings.filePath("config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", settings.filePath("data").toLocal8Bit());  // copies of unsaved models
    qputenv("XDG_RUNTIME_DIR", settings.path().toLocal8Bit());            // locks of open models
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    SetApplicationIdentity();
    const bool bOne = argc > 1 && TestClasses().count(argv[1]);
    int failed = 0;
    for (const auto& [name, make] : TestClasses()) {
        if (bOne && name != argv[1]) continue;
        QSettings().clear();  // each class starts afresh
        std::unique_ptr<QObject> test(make());
        std::vector<char*> args = {argv[0]};
        args.insert(args.end(), argv + (bOne ? 2 : 1), argv + argc);
        failed += QTest::qExec(test.get(), int(args.size()), args.data());
    }
    return failed == 0 ? 0 : 1;
}
