// The drawing view driven with simulated mouse events: placing with every
// tool (also while scrolled), hover highlighting, edit on press with the
// right drawing-mode flag, the context menu, zoom and the rubber band.
#include <QImage>
#include <QMenu>
#include <QPrinter>
#include <QTemporaryDir>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "ShellFakes.h"
#include "diagram/Elements.h"
#include "diagram/EntityList.h"
#include "diagram/CommandIds.h"
#include "diagram/Primitives.h"
#include "diagram/TableElements.h"
#include "diagram/TrackingState.h"
#include "document/VarnelDoc.h"
#include "shell/view/QtDrawContext.h"
#include "shell/view/VarnelView.h"

namespace {

// A level that counts how often it is drawn.
class CountingLevel : public CVLevel {
public:
    int nDraws = 0;
    void Draw(CDrawContext& dc, const CRect* pClient) override {
        ++nDraws;
        CVLevel::Draw(dc, pClient);
    }
};

std::unique_ptr<CVLevel> MakeLevel(const char* name, CPoint a, CPoint b) {
    auto level = std::make_unique<CVLevel>();
    level->m_strName = name;
    level->GetPoint(0) = a;
    level->GetPoint(1) = b;
    return level;
}

std::string ClassOf(const CVEntity* entity) {
    return entity->GetRuntimeClass()->m_lpszClassName;
}

std::vector<CPoint> PointsOf(CVEntity* entity) {
    std::vector<CPoint> points;
    for (int i = 0; i < entity->GetPointCount(); ++i) points.push_back(entity->GetPoint(i));
    return points;
}

}  // namespace

class VarnelViewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CVarnelDoc> doc;
    std::unique_ptr<CVarnelView> view;
    std::unique_ptr<FakeViewHost> pHost;
    FakeDialogHost dialogs;

    EntityList& List() { return *doc->m_pEntityList; }
    QWidget* Port() { return view->viewport(); }
    void Press(QPoint p) { QTest::mousePress(Port(), Qt::LeftButton, {}, p); QTest::mouseRelease(Port(), Qt::LeftButton, {}, p); }
    void Move(QPoint p) { QTest::mouseMove(Port(), p); }

    // Presses at each point with a couple of moves before each press, as a
    // user's hand would make them.
    void Place(const std::vector<QPoint>& presses) {
        for (const QPoint& p : presses) {
            Move(p + QPoint(7, 5));
            Move(p);
            Press(p);
        }
    }

private slots:
    void init() {
        ResetTrackingState();
        doc = std::make_unique<CVarnelDoc>();
        doc->OnNewDocument();
        pHost = std::make_unique<FakeViewHost>();
        pHost->bDrawing = true;
        dialogs = FakeDialogHost();
        view = std::make_unique<CVarnelView>();
        view->resize(400, 300);
        view->SetDocument(doc.get());
        view->SetHost(pHost.get());
        view->SetDialogHost(&dialogs);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        view->OnInitialUpdate();
    }

    void cleanup() {
        view.reset();
        doc.reset();
        pHost.reset();
    }

    void everyTwoClickToolLeavesItsObject_data() {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QString>("className");
        QTest::addColumn<int>("pointCount");
        QTest::newRow("line") << int(ID_TOOL_LINE) << "CVLine" << 2;
        QTest::newRow("rectangle") << int(ID_TOOL_RECTANGLE) << "CVRectangle" << 2;
        QTest::newRow("ellipse") << int(ID_TOOL_ELLIPSE) << "CVEllipse" << 2;
        QTest::newRow("variable") << int(ID_TOOL_VARIABLE) << "CVVariable" << 3;
        QTest::newRow("level") << int(ID_TOOL_LEVEL) << "CVLevel" << 3;
        QTest::newRow("rate") << int(ID_TOOL_RATE) << "CVRate" << 3;
        QTest::newRow("table") << int(ID_TOOL_TABLEDATA) << "CVTableData" << 3;
        QTest::newRow("sources") << int(ID_TOOL_SOURCES) << "CVSources" << 18;
    }
    void everyTwoClickToolLeavesItsObject() {
        QFETCH(int, tool);
        QFETCH(QString, className);
        QFETCH(int, pointCount);
        view->OnChooseTool(tool);
        Place({QPoint(10, 20), QPoint(100, 80)});
        QCOMPARE(List().GetCount(), size_t{1});
        CVEntity* placed = List().GetAt(0);
        QCOMPARE(QString::fromStdString(ClassOf(placed)), className);
        QCOMPARE(placed->GetPointCount(), pointCount);
        QCOMPARE(placed->GetPoint(0), (CPoint{10, 20}));
        QCOMPARE(placed->GetPoint(1), (CPoint{100, 80}));
        QVERIFY(view->Pending() == nullptr || view->Pending() != placed);
    }

    void everyFourClickToolTakesStartEndAndControls_data() {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QString>("className");
        QTest::newRow("spline") << int(ID_TOOL_BSPLINE) << "CVBSpline";
        QTest::newRow("arrow") << int(ID_TOOL_ARROW) << "CVArrow";
    }
    void everyFourClickToolTakesStartEndAndControls() {
        QFETCH(int, tool);
        QFETCH(QString, className);
        view->OnChooseTool(tool);
        Place({QPoint(10, 20), QPoint(200, 120), QPoint(50, 10), QPoint(150, 140)});
        QCOMPARE(List().GetCount(), size_t{1});
        CVEntity* placed = List().GetAt(0);
        QCOMPARE(QString::fromStdString(ClassOf(placed)), className);
        const std::vector<CPoint> points = PointsOf(placed);
        QCOMPARE(points[0], (CPoint{10, 20}));
        QCOMPARE(points[1], (CPoint{50, 10}));
        QCOMPARE(points[2], (CPoint{150, 140}));
        QCOMPARE(points[3], (CPoint{200, 120}));
        if (className == "CVArrow") QCOMPARE(points[4], (CPoint{10, 10}));
    }

    void everyOneClickToolIsPlacedByOnePress_data() {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QString>("className");
        QTest::newRow("text") << int(ID_TOOL_TEXT) << "CVText";
        QTest::newRow("expert") << int(ID_TOOL_EXPERT) << "CVExpert";
        QTest::newRow("switch") << int(ID_TOOL_SWITCH) << "CVSwitch";
    }
    void everyOneClickToolIsPlacedByOnePress() {
        QFETCH(int, tool);
        QFETCH(QString, className);
        view->OnChooseTool(tool);
        Place({QPoint(30, 40)});
        QCOMPARE(List().GetCount(), size_t{1});
        QCOMPARE(QString::fromStdString(ClassOf(List().GetAt(0))), className);
        QCOMPARE(List().GetAt(0)->GetPoint(0), (CPoint{30, 40}));
        if (className != "CVText") QCOMPARE(List().GetAt(0)->GetPoint(1), (CPoint{20, 24}));
    }

    void theToolKeepsMakingObjectsWithFreshIds() {
        view->OnChooseTool(ID_TOOL_TEXT);
        Place({QPoint(30, 40), QPoint(60, 90), QPoint(5, 5)});
        QCOMPARE(List().GetCount(), size_t{3});
        QCOMPARE(List().GetAt(2)->m_nId, 2);
        QCOMPARE(List().GetAt(1)->GetPoint(0), (CPoint{60, 90}));
        QCOMPARE(view->Mode(), int(MODE_DRAW));
    }

    void whileScrolledObjectsLandAndAreHitInSheetCoordinates() {
        doc->m_nWidth = 3000;
        doc->m_nHeight = 2000;
        view->OnInitialUpdate();
        view->horizontalScrollBar()->setValue(100);
        view->verticalScrollBar()->setValue(50);
        QCOMPARE(view->ScrollPosition(), (CPoint{100, 50}));
        view->OnChooseTool(ID_TOOL_LEVEL);
        Place({QPoint(10, 20), QPoint(110, 90)});
        QCOMPARE(List().GetCount(), size_t{1});
        const std::vector<CPoint> points = PointsOf(List().GetAt(0));
        QCOMPARE(points[0], (CPoint{110, 70}));
        QCOMPARE(points[1], (CPoint{210, 140}));
        QCOMPARE(points[2], (CPoint{8, 8}));  // the text inset is no position

        // Hovering while scrolled hits in sheet coordinates too.
        pHost->bDrawing = false;
        view->OnModify();
        List().Add(MakeLevel("A", {500, 300}, {600, 400}));
        view->horizontalScrollBar()->setValue(450);
        view->verticalScrollBar()->setValue(250);
        Move(QPoint(60, 60));
        QCOMPARE(List().GetAt(1)->m_bHighlight, 1);
    }

    void choosingAToolMarksTheDocumentModified() {
        QCOMPARE(view->Mode(), int(MODE_MODIFY));  // after the initial update
        QCOMPARE(view->Tool(), 0u);
        QVERIFY(!doc->IsModified());
        view->OnChooseTool(ID_TOOL_LINE);
        QVERIFY(doc->IsModified());
        QCOMPARE(view->Mode(), int(MODE_DRAW));
        QVERIFY(view->Pending() != nullptr);  // made for the start event
    }

    void choosingAnotherToolDropsAHalfPlacedObject() {
        view->OnChooseTool(ID_TOOL_LINE);
        Place({QPoint(10, 10)});
        view->OnChooseTool(ID_TOOL_LINE);
        Place({QPoint(50, 60), QPoint(70, 80)});
        QCOMPARE(List().GetCount(), size_t{1});
        QCOMPARE(List().GetAt(0)->GetPoint(0), (CPoint{50, 60}));
        QCOMPARE(List().GetAt(0)->GetPoint(1), (CPoint{70, 80}));
    }

    void eventsInIdleModeDoNothing() {
        List().Add(MakeLevel("A", {10, 10}, {100, 100}));
        view->OnToggleDrawingMode();  // drawing on -> off: modify
        view->OnToggleDrawingMode();  // off -> on: idle
        QCOMPARE(view->Mode(), int(MODE_IDLE));
        Move(QPoint(50, 50));
        Press(QPoint(50, 50));
        QCOMPARE(List().GetAt(0)->m_bHighlight, 0);
        QVERIFY(dialogs.shown.empty());
    }

    void hoverHighlightsAndRedrawsOnlyWhatChanged() {
        pHost->bDrawing = false;
        std::vector<CountingLevel*> levels;
        for (int i = 0; i < 3; ++i) {
            auto level = std::make_unique<CountingLevel>();
            level->m_strName = "L";
            level->GetPoint(0) = {10 + 120 * i, 10};
            level->GetPoint(1) = {110 + 120 * i, 100};
            levels.push_back(level.get());
            List().Add(std::move(level));
        }
        view->RepaintView();
        for (CountingLevel* level : levels) level->nDraws = 0;
        const QImage before = view->ClientImage().copy();

        Move(QPoint(150, 50));
        QCOMPARE(levels[1]->m_bHighlight, 1);
        QCOMPARE(levels[0]->nDraws, 0);
        QCOMPARE(levels[1]->nDraws, 1);
        QCOMPARE(levels[2]->nDraws, 0);
        QVERIFY(view->ClientImage() != before);  // the name turned blue

        Move(QPoint(160, 60));  // still over the same level: nothing redrawn
        QCOMPARE(levels[1]->nDraws, 1);

        Move(QPoint(300, 250));
        QCOMPARE(levels[1]->m_bHighlight, 0);
        QCOMPARE(levels[1]->nDraws, 2);
        QCOMPARE(levels[0]->nDraws + levels[2]->nDraws, 0);
        QCOMPARE(view->ClientImage(), before);
    }

    void pressEditsTheTopmostObjectWithTheMenusDrawingFlag() {
        pHost->bDrawing = false;  // the main menu is shown
        List().Add(MakeLevel("A", {10, 10}, {150, 150}));
        List().Add(MakeLevel("B", {100, 100}, {250, 250}));
        Press(QPoint(120, 120));
        QCOMPARE(dialogs.shown.size(), size_t{1});
        QCOMPARE(dialogs.shown[0].name.strText, std::string("B"));
        QVERIFY(dialogs.shown[0].name.bReadOnly);  // Edit(FALSE): only the value
        QCOMPARE(List().GetAt(0)->m_bHighlight, 1);
        QCOMPARE(List().GetAt(1)->m_bHighlight, 1);
        QVERIFY(!doc->IsModified());

        view->OnToggleDrawingMode();  // switches to the drawing menu, idle
        QCOMPARE(pHost->switched.back(), int(IDR_DRAWMENU));
        view->OnModify();
        Press(QPoint(120, 120));
        QCOMPARE(dialogs.shown.size(), size_t{2});
        QVERIFY(!dialogs.shown[1].name.bReadOnly);  // Edit(TRUE)
        Press(QPoint(300, 280));  // on nothing: no dialog
        QCOMPARE(dialogs.shown.size(), size_t{2});
    }

    void anEditThatChangesSomethingMarksTheDocument() {
        pHost->bDrawing = true;
        view->OnModify();
        List().Add(MakeLevel("A", {10, 10}, {150, 150}));
        dialogs.Type(&CElementDialogState::name, "Stock").Ok();
        Press(QPoint(20, 20));
        QVERIFY(doc->IsModified());
        QCOMPARE(static_cast<CVLevel*>(List().GetAt(0))->m_strName, std::string("Stock"));
    }

    // Outside drawing mode a right click does nothing; in it, it leaves the
    // tool and pops up the tools menu.
    void rightClickLeavesTheToolOnlyInDrawingMode() {
        view->OnChooseTool(ID_TOOL_LINE);
        Place({QPoint(10, 10)});
        pHost->bDrawing = false;
        QTest::mouseClick(Port(), Qt::RightButton, {}, QPoint(40, 40));
        QVERIFY(!pHost->menu.isVisible());
        QCOMPARE(view->Tool(), unsigned(ID_TOOL_LINE));
        QVERIFY(view->Pending() != nullptr);

        pHost->bDrawing = true;
        QTest::mousePress(Port(), Qt::RightButton, {}, QPoint(40, 40));
        QVERIFY(pHost->menu.isVisible());
        QTest::mouseRelease(Port(), Qt::RightButton, {}, QPoint(40, 40));
        QCOMPARE(pHost->menu.pos(), Port()->mapToGlobal(QPoint(40, 40)));
        QCOMPARE(view->Tool(), 0u);
        QCOMPARE(view->Mode(), int(MODE_IDLE));
        QVERIFY(view->Pending() == nullptr);
        pHost->menu.hide();
        // The two-click state went back to the first point.
        view->OnChooseTool(ID_TOOL_LINE);
        Place({QPoint(60, 60), QPoint(90, 70)});
        QCOMPARE(List().GetAt(0)->GetPoint(0), (CPoint{60, 60}));
    }

    void zoomOutAndInHalveAndDoubleOddSheets() {
        view->OnZoomIn();  // a new model is at full scale already
        QCOMPARE(doc->m_nWidth, 640);
        QCOMPARE(doc->m_nHeight, 480);
        QCOMPARE(doc->m_bFullScale, 1);
        doc->m_nWidth = 641;
        doc->m_nHeight = 481;
        List().Add(MakeLevel("A", {-5, 11}, {101, 201}));
        view->OnZoomOut();
        QCOMPARE(doc->m_nWidth, 320);
        QCOMPARE(doc->m_nHeight, 240);
        QCOMPARE(doc->m_bFullScale, 0);
        QCOMPARE(List().GetAt(0)->GetPoint(0), (CPoint{-2, 5}));
        view->OnZoomOut();  // already at half scale
        QCOMPARE(doc->m_nWidth, 320);
        view->OnZoomIn();
        QCOMPARE(doc->m_nWidth, 640);
        QCOMPARE(doc->m_nHeight, 480);
        QCOMPARE(doc->m_bFullScale, 1);
        QCOMPARE(List().GetAt(0)->GetPoint(1), (CPoint{100, 200}));
        QVERIFY(!doc->IsModified());
        QCOMPARE(view->horizontalScrollBar()->maximum(), 640 - Port()->width());
        QCOMPARE(view->horizontalScrollBar()->pageStep(), 64);
        QCOMPARE(view->horizontalScrollBar()->singleStep(), 6);
    }

    // A sheet at the int32 limit, scrolled to its far corner, shows that
    // corner: its frame and an object that runs into it.
    void aHugeSheetZoomedInShowsItsFarCorner() {
        doc->m_nWidth = 2000000000;
        doc->m_nHeight = -2000000000;
        doc->m_bFullScale = 0;
        auto line = std::make_unique<CVLine>();
        line->GetPoint(1) = {1100000000, 1100000000};  // saturates to the corner at 45 degrees
        List().Add(std::move(line));
        view->OnZoomIn();
        QCOMPARE(doc->m_nWidth, INT32_MAX);
        QCOMPARE(doc->m_nHeight, INT32_MIN);
        doc->m_nHeight = INT32_MAX;
        view->OnInitialUpdate();
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
        const int right = Port()->width() - 1;
        const int bottom = Port()->height() - 1;
        QCOMPARE(view->ScrollPosition(), (CPoint{INT32_MAX - right - 1, INT32_MAX - bottom - 1}));
        const QImage& image = view->ClientImage();
        QCOMPARE(image.pixelColor(right, bottom / 2), QColor(Qt::black));  // the frame
        QCOMPARE(image.pixelColor(right - 1, 5), QColor(Qt::white));
        QCOMPARE(image.pixelColor(right - 20, bottom - 20), QColor(Qt::black));  // the line
        QCOMPARE(image.pixelColor(right - 20, bottom - 30), QColor(Qt::white));
        view->OnZoomOut();  // restores the process-wide label cell
    }

    void aRubberBandDrawnTwiceRestoresThePicture() {
        List().Add(MakeLevel("Under", {20, 20}, {200, 150}));
        view->OnChooseTool(ID_TOOL_LEVEL);
        const QImage clean = view->ClientImage().copy();
        Move(QPoint(50, 40));
        Press(QPoint(50, 40));
        Move(QPoint(180, 120));
        Move(QPoint(150, 100));
        QVERIFY(view->ClientImage() != clean);
        // Erasing the last band by hand must give back the clean picture.
        CVLevel band;
        band.GetPoint(0) = {50, 40};
        band.GetPoint(1) = {150, 100};
        view->DrawOnClient([&](CDrawContext& dc) {
            dc.SetROP2(R2_NOTXORPEN);
            band.Draw(dc, nullptr);
        });
        QCOMPARE(view->ClientImage(), clean);
    }

    void theSheetIsFramedOnePixelOutsideFilledWhiteAndClips() {
        doc->m_nWidth = 200;
        doc->m_nHeight = 100;
        view->OnInitialUpdate();
        const QImage& image = view->ClientImage();
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
        QCOMPARE(image.pixelColor(199, 99), QColor(Qt::white));
        QCOMPARE(image.pixelColor(200, 50), QColor(Qt::black));
        QCOMPARE(image.pixelColor(50, 100), QColor(Qt::black));
        QVERIFY(image.pixelColor(201, 50) != QColor(Qt::black));

        auto line = std::make_unique<CVLine>();  // objects are clipped to the sheet
        line->GetPoint(0) = {10, 50};
        line->GetPoint(1) = {300, 50};
        List().Add(std::move(line));
        view->RepaintView();
        QCOMPARE(view->ClientImage().pixelColor(150, 50), QColor(Qt::black));
        QVERIFY(view->ClientImage().pixelColor(250, 50) != QColor(Qt::black));
    }

    void printingPaintsTheSheetThroughTheSameRoutine() {
        List().Add(MakeLevel("A", {10, 10}, {150, 150}));
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("sheet.pdf"));
        view->PrintTo(&printer);
        QFile pdf(dir.filePath("sheet.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF"));
    }

};

QTEST_MAIN(VarnelViewTest)
#include "VarnelViewTest.moc"
