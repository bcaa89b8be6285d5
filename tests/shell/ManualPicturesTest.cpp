// The manual's pictures are what the application shows: the tutorial's
// model, opened by the real executable with its screenshot aid, must give
// the pictures of docs/manual/pictures within a small tolerance (fonts and
// anti-aliasing may move a few pixels). VARNEL_GOLDEN=1 writes them anew.
#include "ShellTest.h"
#include "app/cli/ModelJson.h"

namespace {

const QString kManual = VARNEL_SOURCE_DIR "/docs/manual";

// The share of pixels whose colour differs in some channel by more than 48.
double DifferentShare(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return 1.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    qint64 different = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            if (std::abs(qRed(p) - qRed(q)) > 48 || std::abs(qGreen(p) - qGreen(q)) > 48 ||
                std::abs(qBlue(p) - qBlue(q)) > 48)
                ++different;
        }
    return double(different) / (double(x.width()) * x.height());
}

}  // namespace

class ManualPicturesTest : public QObject {
    Q_OBJECT
private slots:
    void tutorialPicturesMatchWhatTheApplicationShows() {
        QTemporaryDir dir;
        const QByteArray json = ReadFile(kManual + "/models/first-model.json");
        const std::vector<uint8_t> model = JsonToModelFile(json.toStdString());
        WriteFile(dir.filePath("first-model.vrn"), QByteArray(reinterpret_cast<const char*>(model.data()), qsizetype(model.size())));
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VARNEL_SCREENSHOT_DIR", dir.filePath("shots"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        app.setProcessEnvironment(env);
        app.start(VARNEL_EXECUTABLE, {dir.filePath("first-model.vrn")});
        QVERIFY(app.waitForFinished(60000));
        QCOMPARE(app.exitCode(), 0);
        const std::pair<const char*, const char*> pictures[] = {{"main-window.png", "first-model-sheet.png"},
                                                                {"graphs-window.png", "first-model-graphs.png"}};
        for (const auto& [shot, picture] : pictures) {
            const QImage taken(dir.filePath("shots/") + shot);
            QVERIFY2(!taken.isNull(), shot);
            const QString path = kManual + "/pictures/" + picture;
            if (qEnvironmentVariableIsSet("VARNEL_GOLDEN")) QVERIFY(taken.save(path));
            const double share = DifferentShare(taken, QImage(path));
            QVERIFY2(share < 0.01, qPrintable(QString("%1 differs in %2 % of its pixels").arg(picture).arg(share * 100)));
        }
    }
};
SHELL_TEST(ManualPicturesTest)
#include "ManualPicturesTest.moc"
