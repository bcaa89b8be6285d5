// Drawing on Qt: the drawing context's pixels (figures, the inverting mode
// a second drawing undoes, dashes, boxed and coded text, the label font),
// figures near the int32 limit cut to what shows, dense series drawn by
// pixel columns exactly as segment by segment, and `varnel render` and
// `varnel graphs` with their exit codes.
#include <random>
#include <sstream>

#include "ShellTest.h"
#include "archive/ClassRegistry.h"  // Graphic.h names the registry
#include "graphs/Graphic.h"
#include "shell/frame/DesktopMain.h"
#include "shell/view/QtDrawContext.h"

namespace {

// Paints on a white canvas (or one of the fill colour) through a context.
QImage Paint(std::function<void(CQtDrawContext&, QPainter&)> draw, QSize size = {120, 80}, QColor fill = Qt::white) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    QPainter painter(&image);
    CQtDrawContext dc(painter);
    draw(dc, painter);
    return image;
}

// Pixels of a colour (or not white) within a box (or the whole image).
int Ink(const QImage& image, QRect box = {}, QColor colour = {}) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += (box.isNull() || box.contains(x, y)) && (colour.isValid() ? c == colour : c != QColor(Qt::white));
        }
    return count;
}
int InkInRow(const QImage& image, int y) { return Ink(image, QRect(0, y, image.width(), 1)); }

// A series mapped into a plot, drawn by columns and segment by segment.
void ExpectSamePixels(int count, const std::function<double(int)>& y, bool bDashed = false) {
    const CRect plot{45, 15, 445, 315};
    CVGraphic series;
    for (int i = 0; i < count; ++i) series.AddSample(static_cast<double>(i) / count, y(i));
    series.m_nColor = static_cast<int32_t>(RGB(200, 0, 0));
    series.MapToRect(plot);
    series.SetHighlight(bDashed, nullptr, nullptr);
    const QImage byColumns = Paint([&](CQtDrawContext& dc, QPainter&) { series.Draw(dc, &plot); }, {470, 340});
    const QImage bySegments = Paint([&](CQtDrawContext& dc, QPainter&) {
        dc.SetPen({bDashed ? PS_DASH : PS_SOLID, 1, RGB(200, 0, 0)});
        dc.MoveTo(series.GetPoint(0));
        for (int i = 1; i < series.GetPointCount(); ++i) dc.LineTo(series.GetPoint(i));
    }, {470, 340});
    QVERIFY(Ink(bySegments) > 200);
    QCOMPARE(byColumns, bySegments);
}

std::string WriteModel(const QTemporaryDir& dir, const char* name, const std::string& program, int size = 300) {
    CVarnelDoc doc;
    doc.OnNewDocument();
    doc.m_nWidth = size;
    doc.m_nHeight = size == 300 ? 200 : size;
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

const char* const kGrowth = "var t\r\ngraphic g color=255 text=\"x\"\r\nmark next\r\nplot g t x\r\nset t = t + 1\r\n"
                            "set x = x * 1.05\r\nif t < 50\r\ngoto next\r\n";

}  // namespace

class DrawingTest : public QObject {
    Q_OBJECT

private slots:
    // Boxes leave out their right and bottom edges and are filled white;
    // lines go on from the current position; dashes leave gaps, also along
    // many short segments; COLORREF keeps red in the low byte.
    void figuresPensAndDashes() {
        QCOMPARE(ColorFromRef(RGB(255, 0, 0)), QColor(255, 0, 0));
        const QImage box = Paint([](CQtDrawContext& dc, QPainter&) { dc.Rectangle({30, 20, 10, 40}); }, {120, 80}, Qt::green);
        QCOMPARE(box.pixelColor(10, 20), QColor(Qt::black));
        QCOMPARE(box.pixelColor(29, 39), QColor(Qt::black));
        QCOMPARE(box.pixelColor(20, 30), QColor(Qt::white));
        QCOMPARE(box.pixelColor(30, 30), QColor(Qt::green));
        QCOMPARE(box.pixelColor(20, 40), QColor(Qt::green));
        const QImage lines = Paint([](CQtDrawContext& dc, QPainter&) {
            dc.SetPen({PS_SOLID, 1, RGB(0, 0, 255)});
            dc.MoveTo({10, 40});
            dc.LineTo({50, 40});
            dc.LineTo({50, 60});
            dc.SetPen({PS_SOLID, 1, 0});
            dc.MoveTo({0, 20});
            dc.LineTo({120, 20});
            dc.SetPen({PS_DASH, 1, 0});
            dc.MoveTo({0, 10});
            dc.LineTo({120, 10});
            dc.MoveTo({0, 30});
            for (int x = 5; x <= 120; x += 5) dc.LineTo({x, 30});
        });
        QCOMPARE(lines.pixelColor(30, 40), QColor(Qt::blue));
        QCOMPARE(lines.pixelColor(50, 50), QColor(Qt::blue));
        QCOMPARE(InkInRow(lines, 20), 120);
        for (int y : {10, 30}) QVERIFY(InkInRow(lines, y) > 60 && InkInRow(lines, y) < 110);
    }

    void invertingModeIsUndoneByASecondDrawing() {
        auto band = [](CQtDrawContext& dc, QPainter&) {
            QCOMPARE(dc.SetROP2(R2_NOTXORPEN), int32_t(R2_COPYPEN));
            dc.Rectangle({20, 15, 100, 60});
            dc.DrawText("Rate", {28, 23, 92, 52}, DT_WORDBREAK);
            const CPoint curve[] = {{0, 0}, {30, 70}, {90, 0}, {119, 79}};
            dc.PolyBezier(curve, 4);
            dc.MoveTo({0, 79});
            dc.LineTo({119, 0});
        };
        QImage image = Paint([](CQtDrawContext& dc, QPainter&) {
            dc.Rectangle({5, 5, 60, 50});
            dc.DrawText("Level", {10, 10, 60, 40}, DT_WORDBREAK);
            dc.SetPen({PS_SOLID, 1, RGB(0, 0, 255)});
            dc.Ellipse({40, 20, 110, 70});
        });
        const QImage before = image.copy();
        for (int i = 0; i < 2; ++i) {
            {
                QPainter painter(&image);
                CQtDrawContext dc(painter);
                band(dc, painter);
            }
            QCOMPARE(image == before, i == 1);
        }
    }

    // Text is clipped to its box unless DT_NOCLIP, wraps by words, comes as
    // code page 1251 bytes and takes the text colour.
    void textInBoxes() {
        const QRect box(10, 10, 30, 20);
        const QImage clipped = Paint([](CQtDrawContext& dc, QPainter&) { dc.DrawText("A long name that overflows", {10, 10, 40, 30}, DT_WORDBREAK); });
        QVERIFY(InkInRow(clipped, 15) > 0);
        QCOMPARE(Ink(clipped) - Ink(clipped, box), 0);
        const QImage free = Paint([](CQtDrawContext& dc, QPainter&) { dc.DrawText("Linor(ver 1.0)", {10, 10, 10, 10}, DT_SINGLELINE | DT_NOCLIP); });
        QVERIFY(Ink(free) > Ink(free, box));
        const QImage wrapped = Paint([](CQtDrawContext& dc, QPainter&) { dc.DrawText("one two three", {0, 0, 60, 80}, DT_WORDBREAK); }, {200, 80});
        QVERIFY(InkInRow(wrapped, 16 + 8) > 0);  // a second line of the 16-pixel cell
        const QImage coded = Paint([](CQtDrawContext& dc, QPainter&) { dc.DrawText("\xC0\xE1", {0, 0, 50, 20}, DT_SINGLELINE); });
        const QImage direct = Paint([](CQtDrawContext&, QPainter& painter) {
            painter.setFont(QtFontFor(CFontSpec{}));
            painter.drawText(QRect(0, 0, 50, 20), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QStringLiteral("Аб"));
        });
        QVERIFY(InkInRow(direct, 8) > 0);
        QCOMPARE(coded, direct);
        const QImage blue = Paint([](CQtDrawContext& dc, QPainter&) {
            dc.SetTextColor(RGB(0, 0, 255));
            dc.DrawText("MMMM", {0, 0, 100, 30}, DT_SINGLELINE);
        });
        QVERIFY(Ink(blue, QRect(0, 0, 40, 16), Qt::blue) > 0);
    }

    // Near the int32 limit and from far outside, figures show exactly the
    // part that falls on the device, with nothing overflowing on the way:
    // neither a box's width nor that of a label box spanning all of int32.
    void figuresAtTheInt32LimitDrawTheirVisiblePart() {
        const int32_t base = INT32_MAX - 100;  // device (0, 0)
        const QImage image = Paint([base](CQtDrawContext& dc, QPainter& painter) {
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
        }, {120, 80}, Qt::green);
        QCOMPARE(image.pixelColor(99, 10), QColor(Qt::black));  // the right edge, exclusive
        QCOMPARE(image.pixelColor(100, 10), QColor(Qt::green));
        QCOMPARE(image.pixelColor(90, 5), QColor(Qt::white));
        QCOMPARE(image.pixelColor(3, 3), QColor(Qt::black));
        QCOMPARE(image.pixelColor(60, 60), QColor(Qt::black));
        QCOMPARE(image.pixelColor(4, 3), QColor(Qt::white));
        QVERIFY(InkInRow(image, 70) > 30 && InkInRow(image, 70) < 99);  // dashed, not solid
        QVERIFY(Ink(image, QRect(20, 40, 20, 16)) > 10);  // the text, clear of the diagonal
    }

    // Label faces map to Liberation Mono at the cell size; tiny labels are
    // drawn unsmoothed so that 0 and 8 stay apart.
    void labelFont() {
        CFontSpec tiny;
        tiny.strFace = "Courier New Cyrr";
        tiny.nHeight = 8;
        tiny.nWidth = 4;
        const QFont font = QtFontFor(tiny);
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Mono"));
        QVERIFY(QFontMetricsF(font).ascent() + QFontMetricsF(font).descent() <= 8.5);
        QVERIFY(qAbs(QFontMetricsF(font).horizontalAdvance('0') - 4.0) < 0.6);
        const QFont big = QtFontFor(CFontSpec{});  // 16 by 8
        QVERIFY(qAbs(QFontMetricsF(big).horizontalAdvance('0') - 8.0) < 0.6);
        QVERIFY((font.styleStrategy() & QFont::NoAntialias) && !(big.styleStrategy() & QFont::NoAntialias));
        CFontSpec underlined;
        underlined.bUnderline = true;
        QVERIFY(QtFontFor(underlined).underline());
    }

    // Noise, fast waves, long stretches of one value with jumps across the
    // plot, and smooth curves also dashed.
    void denseSeriesPaintEverySegmentsPixels() {
        std::mt19937 random(11);
        double walk = 0.0;
        ExpectSamePixels(200000, [&](int) { return walk += std::normal_distribution<double>()(random); });
        ExpectSamePixels(100000, [](int i) { return std::sin(i * 0.37) * (1 + i % 7); });
        ExpectSamePixels(60000, [](int i) { return (i / 5000) % 2 ? 100.0 : (i / 777) % 5; });
        ExpectSamePixels(5000, [&](int) { return std::uniform_real_distribution<double>()(random); });
        ExpectSamePixels(300000, [](int i) { return std::exp(i * 1e-5); });
        ExpectSamePixels(300000, [](int i) { return std::exp(i * 1e-5); }, true);
        ExpectSamePixels(300000, [](int i) { return -std::sqrt(i + 1.0); }, true);
    }

    // The framed sheet as PNG or SVG, the graphs window with its first
    // series; 2 for bad files and arguments (and a sheet too large for a
    // PNG), 1 for a program error, 3 for a run past its bound.
    void renderAndGraphsCommands() {
        QTemporaryDir dir;
        const std::string model = WriteModel(dir, "a.vrn", kGrowth);
        auto out = [&dir](const char* name) { return dir.filePath(name).toStdString(); };
        std::ostringstream err;
        QCOMPARE(RenderCommand({model, "-o", out("a.png")}, err), 0);
        QVERIFY(err.str().empty());
        const QImage sheet(QString::fromStdString(out("a.png")));
        QCOMPARE(sheet.size(), QSize(302, 202));
        QCOMPARE(sheet.pixelColor(0, 100), QColor(Qt::black));    // the frame
        QCOMPARE(sheet.pixelColor(21, 50), QColor(Qt::black));    // the level's left side
        QCOMPARE(sheet.pixelColor(200, 150), QColor(Qt::white));  // empty sheet
        QCOMPARE(RenderCommand({model, "-o", out("a.svg")}, err), 0);
        QVERIFY(ReadFile(dir.filePath("a.svg")).contains("<svg"));
        QCOMPARE(GraphsCommand({model, "-o", out("g.png")}, err), 0);
        const QImage graphs(dir.filePath("g.png"));
        QVERIFY(graphs.width() > 400);
        QVERIFY(Ink(graphs, {}, Qt::red) > 100);  // the dashed curve and the swatch

        QCOMPARE(RenderCommand({WriteModel(dir, "huge.vrn", kGrowth, INT32_MAX), "-o", out("huge.png")}, err), 2);
        QVERIFY(err.str().find("too large") != std::string::npos);
        QCOMPARE(RenderCommand({out("missing.vrn"), "-o", out("x.png")}, err), 2);
        WriteFile(dir.filePath("junk.vrn"), ReadFile(dir.filePath("a.vrn")).left(40));  // cut short in its objects
        err.str("");
        QCOMPARE(GraphsCommand({out("junk.vrn"), "-o", out("x.png")}, err), 2);
        QVERIFY(err.str().find("junk.vrn") != std::string::npos);
        QVERIFY(!QFile::exists(dir.filePath("x.png")));
        QCOMPARE(RenderCommand({model, "-o", out("c.bmp")}, err), 2);
        QCOMPARE(RenderCommand({model}, err), 2);
        err.str("");
        QCOMPARE(GraphsCommand({WriteModel(dir, "e.vrn", "var t\r\nplot g t t\r\n"), "-o", out("e.png")}, err), 1);
        QVERIFY(err.str().rfind("Interpretation error:\n", 0) == 0);
        QVERIFY(!QFile::exists(dir.filePath("e.png")));
        QCOMPARE(GraphsCommand({WriteModel(dir, "f.vrn", "mark a\r\ngoto a\r\n"), "-o", out("f.png"), "--max-steps", "1000"}, err), 3);
    }
};
SHELL_TEST(DrawingTest)
#include "DrawingTest.moc"
