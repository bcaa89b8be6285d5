// The graphs window: the first series is chosen on opening, its range
// labels the grid, only the chosen curve is dashed, and choosing another
// series relabels the grid and swaps the dashes without moving the curves.
// Over the plot the chosen series' nearest sample is read off; the picture
// is copied and saved as SVG with one path per curve.
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <map>
#include <QPainter>
#include <QtTest>

#include "archive/ClassRegistry.h"
#include "base/Cp1251.h"
#include "base/Numbers.h"
#include "diagram/Primitives.h"
#include "graphs/Graphic.h"
#include "graphs/GraphsLayout.h"
#include "shell/dialogs/GraphsDlg.h"
#include "shell/dialogs/GraphsPlot.h"

namespace {

std::unique_ptr<CVGraphic> MakeSeries(const char* utf8Caption, COLORREF color, double hiY, double divY, double y) {
    auto series = std::make_unique<CVGraphic>();
    series->m_strText = Utf8ToCp1251Lossy(utf8Caption);
    series->m_nColor = static_cast<int32_t>(color);
    series->m_dLoX = 0;
    series->m_dHiX = 10;
    series->m_dLoY = 0;
    series->m_dHiY = hiY;
    series->m_dDivY = divY;
    series->AddSample(0, y);
    series->AddSample(10, y);
    return series;
}

QImage FrameImage(const CGraphsDlg& dialog) {
    const CRect plot = dialog.GetPlotRect();
    QImage image(plot.right + 20, plot.bottom + 20, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QPainter painter(&image);
    dialog.RenderFrame(painter);
    return image;
}

// Pixels of the colour along one row of the plot rectangle.
int CountInRow(const QImage& image, int y, const CRect& plot, QColor color) {
    int count = 0;
    for (int x = plot.left + 1; x < plot.right - 1; ++x) count += image.pixelColor(x, y) == color;
    return count;
}

// Curve elements of an SVG by their stroke colour (which QSvgGenerator
// puts on the enclosing group).
std::map<QString, int> CurvesByStroke(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader xml(&file);
    std::vector<QString> strokes{QString()};
    std::map<QString, int> curves;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString stroke = xml.attributes().value("stroke").toString();
            strokes.push_back(stroke.isEmpty() ? strokes.back() : stroke);
            if (xml.name() == QLatin1String("path") || xml.name() == QLatin1String("polyline")) ++curves[strokes.back()];
        } else if (xml.isEndElement()) {
            strokes.pop_back();
        }
    }
    if (xml.hasError()) return {{QStringLiteral("error"), 1}};
    return curves;
}

}  // namespace

class GraphsDlgTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CGraphsDlg> dialog;
    int redRow = 0;
    int blueRow = 0;

private slots:
    void init() {
        dialog = std::make_unique<CGraphsDlg>();
        dialog->Graphics().Add(std::make_unique<CVLine>());  // not a series, but counted
        dialog->Graphics().Add(MakeSeries("Запасы", RGB(255, 0, 0), 10, 1, 5.5));
        dialog->Graphics().Add(MakeSeries("Темп", RGB(0, 0, 255), 1000, 1000, 250));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        const CRect plot = dialog->GetPlotRect();
        const double unitsPerPixel = (plot.bottom - plot.top) / 10.0;
        redRow = SaturatingTrunc(plot.bottom - 5.5 * unitsPerPixel);
        blueRow = SaturatingTrunc(plot.bottom - 2.5 * unitsPerPixel);
    }

    void cleanup() { dialog.reset(); }

    void theFirstSeriesIsChosenOnOpening() {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Графики"));
        QCOMPARE(dialog->findChild<QLabel*>("colorLabel")->text(), QStringLiteral("Цвет:"));
        QComboBox* selector = dialog->Selector();
        QCOMPARE(selector->count(), 2);
        QCOMPARE(selector->itemText(0), QStringLiteral("Запасы"));
        QCOMPARE(selector->itemText(1), QStringLiteral("Темп"));
        QCOMPARE(selector->currentIndex(), 0);
        QCOMPARE(dialog->SelectedIndex(), 1);  // its place in the list
        QCOMPARE(dialog->Graphics().GetAt(1)->m_bHighlight, 1);
        QCOMPARE(dialog->Graphics().GetAt(2)->m_bHighlight, 0);
    }

    // Only the chosen curve is dashed; choosing another series swaps the
    // dashes and relabels the grid without moving the curves.
    void choosingAnotherSeriesRelabelsAndSwapsTheDashes() {
        const CRect plot = dialog->GetPlotRect();
        const QImage first = FrameImage(*dialog);
        const int width = plot.right - plot.left - 2;
        const int red = CountInRow(first, redRow, plot, Qt::red);
        QVERIFY2(red > width / 2 && red < width - 20, qPrintable(QString::number(red)));
        QCOMPARE(CountInRow(first, blueRow, plot, Qt::blue), width);
        QTest::keyClick(dialog->Selector(), Qt::Key_Down);
        QCOMPARE(dialog->Selector()->currentIndex(), 1);
        QCOMPARE(dialog->SelectedIndex(), 2);
        const QImage second = FrameImage(*dialog);
        QCOMPARE(CountInRow(second, redRow, plot, Qt::red), width);
        QVERIFY(CountInRow(second, blueRow, plot, Qt::blue) < width - 20);
        // The y labels changed (1 down to 0 in tenths for 0..1000 divided by
        // 1000, against 10 down to 0), the x labels did not (both run 0..10).
        const QRect yLabels(0, 0, plot.left, plot.bottom);
        const QRect xLabels(plot.left, plot.bottom + 2, plot.right - plot.left, 18);
        QVERIFY(first.copy(yLabels) != second.copy(yLabels));
        QCOMPARE(first.copy(xLabels), second.copy(xLabels));
        // Back to the first series gives the first picture again.
        QTest::keyClick(dialog->Selector(), Qt::Key_Up);
        QCOMPARE(FrameImage(*dialog), first);
    }

    void theSwatchShowsTheChosenColour() {
        const CRect plot = dialog->GetPlotRect();
        const CRect swatch = GraphsSwatchRect({0, 0, plot.right + 20, plot.bottom + 20});
        // The thick pen straddles the swatch's top edge.
        auto swatchHas = [&](QColor color) {
            const QImage image = dialog->grab().toImage();
            int count = 0;
            for (int y = swatch.top - 1; y <= swatch.bottom; ++y)
                for (int x = swatch.left; x < swatch.right; ++x) count += image.pixelColor(x, y) == color;
            return count >= swatch.right - swatch.left;
        };
        QVERIFY(swatchHas(Qt::red));
        QTest::keyClick(dialog->Selector(), Qt::Key_Down);
        QVERIFY(swatchHas(Qt::blue));
        QVERIFY(!swatchHas(Qt::red));
    }

    void curvesAreClippedToThePlotRectangle() {
        CGraphsDlg window;
        auto series = MakeSeries("Выброс", RGB(0, 128, 0), 10, 1, 5);
        series->RemoveAllSamples();
        series->AddSample(0, 5);
        series->AddSample(5, 40);  // far above the top of the range
        window.Graphics().Add(std::move(series));
        window.InitDialog();
        const CRect plot = window.GetPlotRect();
        const QImage image = FrameImage(window);
        int inside = 0;
        int outside = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) != QColor(0, 128, 0)) continue;
                const bool in = x >= plot.left && x < plot.right && y >= plot.top && y < plot.bottom;
                (in ? inside : outside) += 1;
            }
        QVERIFY(inside > 10);
        QCOMPARE(outside, 0);
    }

    void readoutShowsTheNearestSampleOfTheChosenSeries() {
        CGraphsPlot* plot = dialog->Plot();
        const CRect r = dialog->GetPlotRect();
        // The red series holds (0, 5.5) and (10, 5.5); near its right end:
        plot->HoverAt(QPoint(r.right - 3, redRow + 30));
        QCOMPARE(plot->HoverSample(), 1);
        QCOMPARE(plot->ReadoutText(), QString("x = 10, y = 5.5"));
        plot->HoverAt(QPoint(r.left + 2, r.top + 2));
        QCOMPARE(plot->ReadoutText(), QString("x = 0, y = 5.5"));
        // Outside the plot, or for the other series, the readout follows.
        plot->HoverAt(QPoint(2, 2));
        QCOMPARE(plot->ReadoutText(), QString());
        QTest::keyClick(dialog->Selector(), Qt::Key_Down);
        plot->HoverAt(QPoint(r.right - 3, blueRow));
        QCOMPARE(plot->ReadoutText(), QString("x = 10, y = 250"));
        // The marker sits on the sample, drawn in the series' colour.
        const QColor top = plot->grab().toImage().pixelColor(r.right, blueRow - 3);
        QVERIFY2(top.blue() > 200 && top.red() < 80 && top.green() < 80, qPrintable(top.name()));
    }

    void pictureIsCopiedAndSavedWithOneCurvePerSeries() {
        CGraphsPlot* plot = dialog->Plot();
        QTest::keyClick(dialog->Selector(), Qt::Key_C, Qt::ControlModifier);
        const QImage copied = QApplication::clipboard()->image();
        QCOMPARE(copied.size(), plot->size());
        QCOMPARE(copied.convertToFormat(QImage::Format_RGB32), FrameImage(*dialog).copy(QRect(QPoint(), plot->size())));

        QTemporaryDir dir;
        const QString svg = dir.filePath("plot.svg");
        QVERIFY(plot->SavePicture(svg));
        const std::map<QString, int> curves = CurvesByStroke(svg);
        QCOMPARE(curves.count("error"), size_t(0));
        QCOMPARE(curves.at("#ff0000"), 1);
        QCOMPARE(curves.at("#0000ff"), 1);
        QVERIFY(plot->SavePicture(dir.filePath("plot.png")));
        QCOMPARE(QImage(dir.filePath("plot.png")).size(), plot->size());
        // A file that cannot be written is reported, never half written.
        QString reported;
        plot->m_pfnShowError = [&reported](const QString& message) { reported = message; };
        QVERIFY(!plot->SaveData(dir.filePath("no/such/folder/data.csv")));
        QVERIFY(reported.contains("no/such/folder/data.csv"));
    }

    void withoutSeriesTheFrameIsWhiteAndEmpty() {
        CGraphsDlg empty;
        empty.show();
        QCOMPARE(empty.SelectedIndex(), -1);
        QCOMPARE(empty.Selector()->count(), 0);
        const QImage image = FrameImage(empty);
        const CRect plot = empty.GetPlotRect();
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
        for (int x = 1; x < plot.right; x += 7) QCOMPARE(image.pixelColor(x, plot.top), QColor(Qt::white));
    }
};

QTEST_MAIN(GraphsDlgTest)
#include "GraphsDlgTest.moc"
