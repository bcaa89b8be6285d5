// The drawing context over QPainter: pixel placement of the figures, the
// inverting mode that a second drawing undoes, dashed pens, boxed text
// with and without clipping, and the label font mapping.
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include "shell/view/QtDrawContext.h"

namespace {

QImage Canvas() {
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Columns of the row that hold a non-white pixel.
int InkInRow(const QImage& image, int y) {
    int count = 0;
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) != QColor(Qt::white);
    return count;
}

int InkOutside(const QImage& image, const QRect& box) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!box.contains(x, y) && image.pixelColor(x, y) != QColor(Qt::white)) ++count;
    return count;
}

}  // namespace

class QtDrawContextTest : public QObject {
    Q_OBJECT

private slots:
    void rectangleOutlinesItsBoxWithoutTheRightAndBottomEdges() {
        QImage image = Canvas();
        image.fill(Qt::green);
        {
            QPainter painter(&image);
            CQtDrawContext dc(painter);
            dc.Rectangle({30, 20, 10, 40});  // corners in any order
        }
        QCOMPARE(image.pixelColor(10, 20), QColor(Qt::black));
        QCOMPARE(image.pixelColor(29, 39), QColor(Qt::black));
        QCOMPARE(image.pixelColor(20, 30), QColor(Qt::white));  // white brush
        QCOMPARE(image.pixelColor(30, 30), QColor(Qt::green));
        QCOMPARE(image.pixelColor(20, 40), QColor(Qt::green));
    }

    // Lines go on from the current position; COLORREF keeps red in the low
    // byte; a dashed pen leaves gaps, also along many short segments.
    void linesPensAndDashes() {
        QCOMPARE(ColorFromRef(RGB(255, 0, 0)), QColor(255, 0, 0));
        QCOMPARE(ColorFromRef(0x00FF0000u), QColor(0, 0, 255));
        QImage image = Canvas();
        {
            QPainter painter(&image);
            CQtDrawContext dc(painter);
            dc.SetPen({PS_SOLID, 1, RGB(0, 0, 255)});
            QCOMPARE(dc.GetPen().color, RGB(0, 0, 255));
            dc.MoveTo({10, 40});
            dc.LineTo({50, 40});
            dc.LineTo({50, 60});
            QCOMPARE(dc.CurrentPosition(), (CPoint{50, 60}));
            dc.SetPen({PS_SOLID, 1, 0});
            dc.MoveTo({0, 20});
            dc.LineTo({120, 20});
            dc.SetPen({PS_DASH, 1, 0});
            dc.MoveTo({0, 10});
            dc.LineTo({120, 10});
            dc.MoveTo({0, 30});
            for (int x = 5; x <= 120; x += 5) dc.LineTo({x, 30});
        }
        QCOMPARE(image.pixelColor(30, 40), QColor(Qt::blue));
        QCOMPARE(image.pixelColor(50, 50), QColor(Qt::blue));
        QCOMPARE(InkInRow(image, 20), 120);
        for (int y : {10, 30}) {
            QVERIFY(InkInRow(image, y) > 60);
            QVERIFY(InkInRow(image, y) < 110);
        }
    }

    void invertingModeUndoneByASecondDrawing() {
        QImage image = Canvas();
        {
            QPainter painter(&image);
            CQtDrawContext dc(painter);
            dc.SetFont(CFontSpec{});
            dc.Rectangle({5, 5, 60, 50});
            dc.DrawText("Level", {10, 10, 60, 40}, DT_WORDBREAK);
            dc.SetPen({PS_SOLID, 1, RGB(0, 0, 255)});
            dc.Ellipse({40, 20, 110, 70});
        }
        const QImage before = image.copy();
        auto band = [&] {
            QPainter painter(&image);
            CQtDrawContext dc(painter);
            QCOMPARE(dc.SetROP2(R2_NOTXORPEN), int32_t(R2_COPYPEN));
            dc.Rectangle({20, 15, 100, 60});
            dc.DrawText("Rate", {28, 23, 92, 52}, DT_WORDBREAK);
            const CPoint curve[] = {{0, 0}, {30, 70}, {90, 0}, {119, 79}};
            dc.PolyBezier(curve, 4);
            dc.MoveTo({0, 79});
            dc.LineTo({119, 0});
        };
        band();
        QVERIFY(image != before);
        band();
        QCOMPARE(image, before);
    }

    void textIsClippedToItsBoxUnlessNoClipAndWordBreakWraps() {
        const QRect box(10, 10, 30, 20);
        QImage clipped = Canvas();
        {
            QPainter painter(&clipped);
            CQtDrawContext dc(painter);
            dc.DrawText("A long name that overflows", {10, 10, 40, 30}, DT_WORDBREAK);
        }
        QVERIFY(InkInRow(clipped, 15) > 0);
        QCOMPARE(InkOutside(clipped, box), 0);

        QImage free = Canvas();
        {
            QPainter painter(&free);
            CQtDrawContext dc(painter);
            dc.DrawText("Linor(ver 1.0)", {10, 10, 10, 10}, DT_SINGLELINE | DT_NOCLIP);
        }
        QVERIFY(InkOutside(free, box) > 0);

        QImage wrapped(200, 80, QImage::Format_RGB32);
        wrapped.fill(Qt::white);
        {
            QPainter painter(&wrapped);
            CQtDrawContext dc(painter);
            dc.DrawText("one two three", {0, 0, 60, 80}, DT_WORDBREAK);
        }
        QVERIFY(InkInRow(wrapped, 16 + 8) > 0);  // a second line of the 16-pixel cell
    }

    void textBytesAreCp1251() {
        QImage viaContext = Canvas();
        {
            QPainter painter(&viaContext);
            CQtDrawContext dc(painter);
            dc.DrawText("\xC0\xE1", {0, 0, 50, 20}, DT_SINGLELINE);  // "Аб"
        }
        QImage direct = Canvas();
        {
            QPainter painter(&direct);
            painter.setFont(QtFontFor(CFontSpec{}));
            painter.drawText(QRect(0, 0, 50, 20), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                             QStringLiteral("Аб"));
        }
        QVERIFY(InkInRow(direct, 8) > 0);
        QCOMPARE(viaContext, direct);
    }

    void textColourAppliesToText() {
        QImage image = Canvas();
        {
            QPainter painter(&image);
            CQtDrawContext dc(painter);
            dc.SetTextColor(RGB(0, 0, 255));
            dc.DrawText("MMMM", {0, 0, 100, 30}, DT_SINGLELINE);
        }
        bool blue = false;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 40; ++x) blue = blue || image.pixelColor(x, y) == QColor(Qt::blue);
        QVERIFY(blue);
    }

    // Near the int32 limit and from far outside, figures show exactly the
    // part that falls on the device, with nothing overflowing on the way:
    // neither a box's width nor that of a label box spanning all of int32.
    void figuresAtTheInt32LimitDrawTheirVisiblePart() {
        const int32_t base = INT32_MAX - 100;  // device (0, 0)
        QImage image = Canvas();
        image.fill(Qt::green);
        {
            QPainter painter(&image);
            painter.translate(-base, -base);
            CQtDrawContext dc(painter);
            dc.Rectangle({-1, -1, INT32_MAX, INT32_MAX});
            dc.MoveTo({INT32_MIN, INT32_MIN});  // at 45 degrees through device (0, 0)
            dc.LineTo({INT32_MAX, INT32_MAX});
            dc.SetPen({PS_DASH, 1, 0});
            dc.MoveTo({INT32_MIN, base + 70});
            dc.LineTo({INT32_MAX, base + 70});
            dc.Ellipse({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});  // its curve is far away
            dc.DrawText("far", {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, DT_WORDBREAK);
            dc.DrawText("near", {base + 20, base + 40, INT32_MAX, INT32_MAX}, DT_SINGLELINE);
        }
        QCOMPARE(image.pixelColor(99, 10), QColor(Qt::black));  // the right edge, exclusive
        QCOMPARE(image.pixelColor(100, 10), QColor(Qt::green));
        QCOMPARE(image.pixelColor(90, 5), QColor(Qt::white));
        QCOMPARE(image.pixelColor(3, 3), QColor(Qt::black));
        QCOMPARE(image.pixelColor(60, 60), QColor(Qt::black));
        QCOMPARE(image.pixelColor(4, 3), QColor(Qt::white));
        QVERIFY(InkInRow(image, 70) > 30 && InkInRow(image, 70) < 99);  // dashed, not solid
        int text = 0;
        for (int y = 40; y < 56; ++y) text += InkInRow(image, y);
        QVERIFY(text > 20);
    }

    void labelFacesMapToLiberationMonoAtTheCellSize() {
        CFontSpec wanted;
        wanted.strFace = "Courier New Cyrr";
        wanted.nHeight = 8;
        wanted.nWidth = 4;
        const QFont font = QtFontFor(wanted);
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Mono"));
        const QFontMetricsF metrics(font);
        QVERIFY(metrics.ascent() + metrics.descent() <= 8.5);
        QVERIFY(qAbs(metrics.horizontalAdvance(QLatin1Char('0')) - 4.0) < 0.6);
        const QFont big = QtFontFor(CFontSpec{});  // 16 by 8
        QVERIFY(qAbs(QFontMetricsF(big).horizontalAdvance(QLatin1Char('0')) - 8.0) < 0.6);
        // Tiny labels are drawn unsmoothed so that 0 and 8 stay apart.
        QVERIFY(font.styleStrategy() & QFont::NoAntialias);
        QVERIFY(!(big.styleStrategy() & QFont::NoAntialias));
        CFontSpec underlined;
        underlined.bUnderline = true;
        QVERIFY(QtFontFor(underlined).underline());
    }
};

QTEST_MAIN(QtDrawContextTest)
#include "QtDrawContextTest.moc"
