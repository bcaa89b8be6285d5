// Drawing on Qt: figures, text and bands (golden pictures), the int32 limit, and the `varnel render`
// and `varnel graphs` commands.
#include <sstream>

#include "ShellTest.h"
#include "shell/frame/DesktopMain.h"
#include "shell/view/QtDrawContext.h"

namespace {

using Drawing = std::function<void(CQtDrawContext&, QPainter&)>;

QImage Paint(const Drawing& draw, QSize size = {120, 80}, QColor fill = Qt::white) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    QPainter painter(&image);
    CQtDrawContext dc(painter);
    draw(dc, painter);
    return image;
}

// A 300 by 200 sheet (or a larger) with the level x = 1 and a program.
std::string WriteModel(const QTemporaryDir& dir, const char* name, const std::string& program, int size = 0) {
    CVarnelDoc doc;
    doc.OnNewDocument();
    doc.m_nWidth = size ? size : 300;
    doc.m_nHeight = size ? size : 200;
    doc.m_strProgram = program;
    auto level = std::make_unique<CVLevel>();
    level->m_strName = "x";
    level->m_dValue = 1.0;
    level->GetPoint(0) = {20, 20};
    level->GetPoint(1) = {120, 80};
    doc.m_pEntityList->Add(std::move(level));
    WriteFileBytes(dir.filePath(name).toStdString(), doc.Store());
    return dir.filePath(name).toStdString();
}

}  // namespace

class DrawingTest : public QObject {
    Q_OBJECT

private slots:
    // Boxes without their right and bottom edges, lines from the current position, dashes also over short segments,
    // code page 1251 text clipped unless DT_NOCLIP, wrapped, coloured; an inverted band vanishes when drawn again.
    void figuresPensDashesTextAndBands() {
        const Drawing scene = [](CQtDrawContext& dc, QPainter&) {
            dc.Rectangle({30, 20, 10, 40});  // corners in any order
            dc.SetPen({PS_SOLID, 1, RGB(0, 0, 255)});
            dc.MoveTo({10, 50});
            dc.LineTo({50, 50});
            dc.LineTo({50, 70});
            dc.SetPen({PS_DASH, 1, 0});
            dc.MoveTo({0, 5});
            dc.LineTo({200, 5});
            dc.MoveTo({0, 12});
            for (int x = 5; x <= 200; x += 5) dc.LineTo({x, 12});
            dc.DrawText("A long name that overflows", {60, 20, 90, 40}, DT_WORDBREAK);
            dc.DrawText("Linor(ver 1.0)", {60, 50, 60, 50}, DT_SINGLELINE | DT_NOCLIP);
            dc.DrawText("one two three", {100, 70, 160, 150}, DT_WORDBREAK);
            dc.DrawText("\xC0\xE1", {150, 20, 200, 40}, DT_SINGLELINE);  // "Аб"
            dc.SetTextColor(RGB(0, 0, 255));
            dc.DrawText("MMMM", {0, 80, 100, 110}, DT_SINGLELINE);
        };
        auto withBands = [&scene](int count) {
            return Paint([&](CQtDrawContext& dc, QPainter& painter) {
                scene(dc, painter);
                QCOMPARE(dc.SetROP2(R2_NOTXORPEN), int32_t(R2_COPYPEN));
                const CPoint curve[] = {{0, 0}, {30, 70}, {90, 0}, {119, 79}};
                for (int i = 0; i < count; ++i) dc.Rectangle({20, 15, 100, 60}), dc.DrawText("Rate", {28, 23, 92, 52}, DT_WORDBREAK), dc.PolyBezier(curve, 4);
            }, {200, 150}, Qt::green);
        };
        CompareGolden(withBands(0), "figures");
        QVERIFY(withBands(1) != withBands(0));
        QCOMPARE(withBands(2), withBands(0));
    }

    // Near the int32 limit and from far outside, figures show what falls on the device; no width overflows.
    void figuresAtTheInt32LimitDrawTheirVisiblePart() {
        const int32_t base = INT32_MAX - 100;  // device (0, 0)
        CompareGolden(Paint([base](CQtDrawContext& dc, QPainter& painter) {
            painter.translate(-base, -base);
            dc.Rectangle({-1, -1, INT32_MAX, INT32_MAX});
            dc.MoveTo({INT32_MIN, INT32_MIN});  // at 45 degrees through device (0, 0)
            dc.LineTo({INT32_MAX, INT32_MAX});
            dc.SetPen({PS_DASH, 1, 0});
            dc.MoveTo({INT32_MIN, base + 70});
            dc.LineTo({INT32_MAX, base + 70});
            dc.Ellipse({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});  // its curve is far away
            dc.DrawText("far", {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, DT_WORDBREAK);
            dc.DrawText("near", {base + 20, base + 40, INT32_MAX, INT32_MAX}, DT_SINGLELINE);
        }, {120, 80}, Qt::green), "int32-limit");
    }

    // The sheet as PNG (golden/render.png) or SVG, the graphs window (golden/graphs-command.png); exit 2 for bad
    // arguments and a sheet too large for a PNG, 1 for a program error, 3 past the bound.
    void renderAndGraphsCommands() {
        QTemporaryDir dir;
        const std::string model = WriteModel(dir, "a.vrn",
            "var t\r\ngraphic g color=255 text=\"x\"\r\nmark next\r\nplot g t x\r\nset t = t + 1\r\nset x = x * 1.05\r\nif t < 50\r\ngoto next\r\n");
        auto out = [&dir](const char* name) { return dir.filePath(name).toStdString(); };
        std::ostringstream err;
        QCOMPARE(RenderCommand({model, "-o", out("a.png")}, err), 0);
        QVERIFY(err.str().empty());
        CompareGolden(QImage(dir.filePath("a.png")), "render");  // 300 by 200 and the frame
        QCOMPARE(RenderCommand({model, "-o", out("a.svg")}, err), 0);
        QVERIFY(ReadFile(dir.filePath("a.svg")).contains("<svg"));
        QCOMPARE(GraphsCommand({model, "-o", out("g.png")}, err), 0);
        CompareGolden(QImage(dir.filePath("g.png")), "graphs-command");
        QCOMPARE(RenderCommand({WriteModel(dir, "huge.vrn", "", INT32_MAX), "-o", out("huge.png")}, err), 2);
        QVERIFY(err.str().find("too large") != std::string::npos);
        QCOMPARE(RenderCommand({model, "-o", out("c.bmp")}, err), 2);
        QCOMPARE(RenderCommand({model}, err), 2);
        err.str("");
        QCOMPARE(GraphsCommand({WriteModel(dir, "e.vrn", "var t\r\nplot g t t\r\n"), "-o", out("e.png")}, err), 1);
        QVERIFY(err.str().rfind("Interpretation error:\n", 0) == 0 && !QFile::exists(dir.filePath("e.png")));
        QCOMPARE(GraphsCommand({WriteModel(dir, "f.vrn", "mark a\r\ngoto a\r\n"), "-o", out("f.png"), "--max-steps=1000"}, err), 3);
    }

    // `varnel graphs` draws each choice of the graphs window as its options ask (golden/graphs-choices.txt).
    void graphsCommandChoices() {
        QTemporaryDir dir;
        QSettings().setValue("graphs/largeFont", true);  // not read
        for (const QString& line : QString(ReadFile(GoldenPath("graphs-choices.txt"))).split('\n', Qt::SkipEmptyParts)) {
            QStringList words = line.split(' ');
            if (line.startsWith('#') || words.size() < 3) continue;
            std::vector<std::string> args = {VARNEL_SOURCE_DIR "/examples/" + words[0].toStdString(), "-o", dir.filePath("g.png").toStdString()};
            for (const QString& option : words.mid(1, words.size() - 3)) args.push_back(option.toStdString());
            std::ostringstream err;
            QCOMPARE(GraphsCommand(args, err), 0);
            CompareGolden(QImage(dir.filePath("g.png")), words.last());
        }
        QSettings().clear();
    }
};
SHELL_TEST(DrawingTest)
#include "DrawingTest.moc"
