// A dense series drawn by pixel columns paints exactly the pixels of its
// every segment: noise, fast waves, repeated values and steep jumps drawn
// solid, a smooth curve also dashed, each rendered both ways and compared.
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <cmath>
#include <functional>
#include <random>

#include "archive/ClassRegistry.h"  // Graphic.h names the registry
#include "graphs/Graphic.h"
#include "shell/view/QtDrawContext.h"

namespace {

const CRect kPlot{45, 15, 445, 315};

QImage Canvas() {
    QImage image(470, 340, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The series mapped into the plot, as the graphs window maps it.
std::unique_ptr<CVGraphic> Series(int count, const std::function<double(int)>& y) {
    auto series = std::make_unique<CVGraphic>();
    for (int i = 0; i < count; ++i) series->AddSample(static_cast<double>(i) / count, y(i));
    series->m_nColor = static_cast<int32_t>(RGB(200, 0, 0));
    series->MapToRect(kPlot);
    return series;
}

QImage ByColumns(CVGraphic& series) {
    QImage image = Canvas();
    QPainter painter(&image);
    CQtDrawContext dc(painter);
    series.Draw(dc, &kPlot);
    return image;
}

QImage EverySegment(const CVGraphic& series) {
    QImage image = Canvas();
    QPainter painter(&image);
    CQtDrawContext dc(painter);
    dc.SetPen({series.m_bHighlight ? PS_DASH : PS_SOLID, 1, static_cast<COLORREF>(series.m_nColor)});
    dc.MoveTo(series.GetPoint(0));
    for (int i = 1; i < series.GetPointCount(); ++i) dc.LineTo(series.GetPoint(i));
    return image;
}

int Ink(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) != QColor(Qt::white);
    return count;
}

void ExpectSamePixels(CVGraphic& series) {
    const QImage expected = EverySegment(series);
    QVERIFY2(Ink(expected) > 200, qPrintable(QString::number(Ink(expected))));
    QCOMPARE(ByColumns(series), expected);
}

}  // namespace

class DenseSeriesDrawTest : public QObject {
    Q_OBJECT

private slots:
    void noiseAndWavesPaintEverySegmentsPixels() {
        std::mt19937 random(11);
        double walk = 0.0;
        ExpectSamePixels(*Series(200000, [&](int) { return walk += std::normal_distribution<double>()(random); }));
        ExpectSamePixels(*Series(100000, [](int i) { return std::sin(i * 0.37) * (1 + i % 7); }));
        // Long stretches of one value, then jumps across the whole plot.
        ExpectSamePixels(*Series(60000, [](int i) { return (i / 5000) % 2 ? 100.0 : (i / 777) % 5; }));
        ExpectSamePixels(*Series(5000, [&](int) { return std::uniform_real_distribution<double>()(random); }));
    }

    void aSmoothCurveKeepsItsDashes() {
        auto growth = Series(300000, [](int i) { return std::exp(i * 1e-5); });
        ExpectSamePixels(*growth);
        growth->SetHighlight(true, nullptr, nullptr);
        ExpectSamePixels(*growth);
        auto fall = Series(300000, [](int i) { return -std::sqrt(i + 1.0); });
        fall->SetHighlight(true, nullptr, nullptr);
        ExpectSamePixels(*fall);
    }
};

QTEST_MAIN(DenseSeriesDrawTest)
#include "DenseSeriesDrawTest.moc"
