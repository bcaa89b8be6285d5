// varnel render and varnel graphs: pictures of the right size in PNG and
// SVG, and the exit codes for bad files, bad arguments and program errors.
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <sstream>

#include "diagram/Elements.h"
#include "diagram/EntityList.h"
#include "document/VarnelDoc.h"
#include "shell/frame/DesktopMain.h"

namespace {

const char* const kGrowth =
    "var t\r\n"
    "graphic g color=255 text=\"x\"\r\n"
    "mark next\r\n"
    "plot g t x\r\n"
    "set t = t + 1\r\n"
    "set x = x * 1.05\r\n"
    "if t < 50\r\n"
    "goto next\r\n";

std::string WriteModel(const QTemporaryDir& dir, const char* name, const std::string& program, int width = 300,
                       int height = 200) {
    CVarnelDoc doc;
    doc.OnNewDocument();
    doc.m_nWidth = width;
    doc.m_nHeight = height;
    doc.m_strProgram = program;
    auto level = std::make_unique<CVLevel>();
    level->m_strName = "x";
    level->m_dValue = 1.0;
    level->GetPoint(0) = {20, 20};
    level->GetPoint(1) = {120, 80};
    doc.m_pEntityList->Add(std::move(level));
    const std::string path = dir.filePath(name).toStdString();
    WriteFileBytes(path, doc.Store());
    return path;
}

}  // namespace

class RenderCommandsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void renderDrawsTheFramedSheetToPngOrSvg() {
        const std::string model = WriteModel(dir, "a.vrn", kGrowth);
        const std::string out = dir.filePath("a.png").toStdString();
        std::ostringstream err;
        QCOMPARE(RenderCommand({model, "-o", out}, err), 0);
        QVERIFY(err.str().empty());
        const QImage image(QString::fromStdString(out));
        QCOMPARE(image.size(), QSize(302, 202));
        QCOMPARE(image.pixelColor(0, 100), QColor(Qt::black));     // the frame
        QCOMPARE(image.pixelColor(21, 50), QColor(Qt::black));     // the level's left side
        QCOMPARE(image.pixelColor(200, 150), QColor(Qt::white));   // empty sheet

        const std::string svgOut = dir.filePath("a.svg").toStdString();
        QCOMPARE(RenderCommand({model, "-o", svgOut}, err), 0);
        QFile svg(QString::fromStdString(svgOut));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QVERIFY(svg.readAll().contains("<svg"));
    }

    void aHugeSheetIsRefusedAsPng() {
        const std::string model = WriteModel(dir, "huge.vrn", kGrowth, INT32_MAX, INT32_MAX);
        std::ostringstream err;
        QCOMPARE(RenderCommand({model, "-o", dir.filePath("huge.png").toStdString()}, err), 2);
        QVERIFY(err.str().find("too large") != std::string::npos);
    }

    void badFilesAndArgumentsExitWithTwo() {
        std::ostringstream err;
        QCOMPARE(RenderCommand({dir.filePath("missing.vrn").toStdString(), "-o", dir.filePath("x.png").toStdString()}, err), 2);
        QVERIFY(!err.str().empty());
        // A model cut short in its object list.
        QFile whole(QString::fromStdString(WriteModel(dir, "whole.vrn", kGrowth)));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        QFile junk(dir.filePath("junk.vrn"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(whole.read(40));
        junk.close();
        err.str("");
        QCOMPARE(GraphsCommand({junk.fileName().toStdString(), "-o", dir.filePath("x.png").toStdString()}, err), 2);
        QVERIFY(err.str().find("junk.vrn") != std::string::npos);
        QVERIFY(!QFile::exists(dir.filePath("x.png")));
        err.str("");
        const std::string model = WriteModel(dir, "c.vrn", kGrowth);
        QCOMPARE(RenderCommand({model, "-o", dir.filePath("c.bmp").toStdString()}, err), 2);
        QCOMPARE(RenderCommand({model}, err), 2);
    }

    void graphsDrawsTheWindowWithItsFirstSeries() {
        const std::string model = WriteModel(dir, "d.vrn", kGrowth);
        const std::string out = dir.filePath("d.png").toStdString();
        std::ostringstream err;
        QCOMPARE(GraphsCommand({model, "-o", out}, err), 0);
        const QImage image(QString::fromStdString(out));
        QVERIFY(image.width() > 400);
        int red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) red += image.pixelColor(x, y) == QColor(Qt::red);
        QVERIFY(red > 100);  // the dashed curve and the swatch
    }

    void anInterpreterErrorExitsWithOneARunawayWithThree() {
        const std::string model = WriteModel(dir, "e.vrn", "var t\r\nplot g t t\r\n");
        std::ostringstream err;
        QCOMPARE(GraphsCommand({model, "-o", dir.filePath("e.png").toStdString()}, err), 1);
        QVERIFY(err.str().rfind("Interpretation error:\n", 0) == 0);
        QVERIFY(!QFile::exists(dir.filePath("e.png")));
        const std::string runaway = WriteModel(dir, "f.vrn", "mark a\r\ngoto a\r\n");
        QCOMPARE(GraphsCommand({runaway, "-o", dir.filePath("f.png").toStdString(), "--max-steps", "1000"}, err), 3);
    }
};

QTEST_MAIN(RenderCommandsTest)
#include "RenderCommandsTest.moc"
