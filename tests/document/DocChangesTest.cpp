// Undoable changes of the model, judged by the whole file they leave: undo
// gives back the very bytes of before, redo those of after, also across a
// zoom; and a move drags its glued flows and stays on the sheet.
#include <gtest/gtest.h>

#include "diagram/FontCell.h"
#include "document/DocChanges.h"
#include "document/MoveSession.h"
#include "support/ModelSamples.h"
#include "support/PlacedEntity.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A level with a flow arrow ending on its top edge, a line beside it, and
// a program.
std::unique_ptr<CVarnelDoc> FlowModel() {
    auto doc = std::make_unique<CVarnelDoc>();
    doc->OnNewDocument();
    auto level = Placed<CVLevel>({100, 100}, {201, 161});
    level->m_strName = "X";
    doc->m_pEntityList->Add(std::move(level));
    auto arrow = std::make_unique<CVArrow>();
    samples::SetPoints(*arrow, {{151, 21}, {151, 41}, {151, 81}, {151, 100}, {10, 10}});
    doc->m_pEntityList->Add(std::move(arrow));
    doc->m_pEntityList->Add(Placed<CVLine>({300, 300}, {351, 333}));
    doc->m_strProgram = "var x = 1\r\n";
    return doc;
}

CVEntity& At(CVarnelDoc& doc, size_t i) { return *doc.m_pEntityList->GetAt(i); }

struct FontCellGuard {
    int32_t h = g_nFontHeight, w = g_nFontWidth;
    ~FontCellGuard() {
        g_nFontHeight = h;
        g_nFontWidth = w;
    }
};

}  // namespace

TEST(MoveSession, DragsTheGluedFlowStopsAtTheSheetAndUndoesToTheByte) {
    auto doc = FlowModel();
    const Bytes before = doc->Store();
    CMoveSession drag(*doc, At(*doc, 0));
    EXPECT_TRUE(drag.MoveTo({-30, 10}));
    EXPECT_FALSE(drag.MoveTo({-30, 10}));       // nothing new
    EXPECT_TRUE(drag.MoveTo({-150, 1000}));     // off the sheet: held at its edges
    EXPECT_EQ(drag.Offset(), (CPoint{-100, 319}));
    EXPECT_EQ(At(*doc, 0).GetPoint(0), (CPoint{0, 419}));
    EXPECT_EQ(At(*doc, 1).GetPoint(3), (CPoint{51, 419}));
    EXPECT_EQ(At(*doc, 1).GetPoint(0), (CPoint{151, 21}));
    EXPECT_EQ(At(*doc, 2).GetPoint(0), (CPoint{300, 300}));  // not on the level

    std::unique_ptr<CObjectsChange> change = drag.Finish();
    ASSERT_NE(change, nullptr);
    const Bytes after = doc->Store();
    change->Revert(*doc);
    EXPECT_EQ(doc->Store(), before);
    change->Apply(*doc);
    EXPECT_EQ(doc->Store(), after);

    CMoveSession back(*doc, At(*doc, 2));
    back.MoveTo({5, 5});
    back.MoveTo({0, 0});
    EXPECT_EQ(back.Finish(), nullptr);  // ended where it began: nothing to undo
}

TEST(ObjectsChange, StepsOfOneObjectJoinIntoOneUndo) {
    auto doc = FlowModel();
    const Bytes before = doc->Store();
    auto step = [&](CVEntity& object, CPoint delta) {
        CMoveSession s(*doc, object);
        s.MoveTo(delta);
        return s.Finish();
    };
    std::unique_ptr<CObjectsChange> first = step(At(*doc, 2), {1, 0});
    // With the line's end on the level's corner, the level's steps take it along.
    At(*doc, 2).GetPoint(0) = {100, 100};
    std::unique_ptr<CObjectsChange> second = step(At(*doc, 0), {0, 10});
    EXPECT_FALSE(first->Absorb(*second));  // another object
    std::unique_ptr<CObjectsChange> third = step(At(*doc, 0), {10, 0});
    EXPECT_TRUE(second->Absorb(*third));
    second->Revert(*doc);
    EXPECT_EQ(At(*doc, 0).GetPoint(0), (CPoint{100, 100}));
    EXPECT_EQ(At(*doc, 1).GetPoint(3), (CPoint{151, 100}));
    EXPECT_EQ(At(*doc, 2).GetPoint(0), (CPoint{100, 100}));
    first->Revert(*doc);
    EXPECT_EQ(doc->Store(), before);
}

// Removing puts the object back at its place with its id; placing takes
// its id back with it, so the next object gets the same one again.
TEST(ListChanges, KeepPlacesIdsAndTheIdCounter) {
    auto doc = samples::MixedModel(5);
    const Bytes before = doc->Store();
    CVEntity* middle = doc->m_pEntityList->GetAt(2);
    CRemoveChange remove(2);
    remove.Apply(*doc);
    EXPECT_EQ(doc->m_pEntityList->GetCount(), 4u);
    remove.Revert(*doc);
    EXPECT_EQ(doc->m_pEntityList->GetAt(2), middle);
    EXPECT_EQ(doc->Store(), before);

    CPlaceChange place(Placed<CVLine>({1, 2}, {3, 4}));
    place.Apply(*doc);
    EXPECT_EQ(doc->m_pEntityList->GetAt(5)->m_nId, 5);
    const Bytes placed = doc->Store();
    place.Revert(*doc);
    EXPECT_EQ(doc->Store(), before);
    EXPECT_EQ(doc->m_pEntityList->m_nNextId, 5);
    place.Apply(*doc);
    EXPECT_EQ(doc->Store(), placed);
    EXPECT_EQ(doc->m_pEntityList->m_nNextId, 6);
}

// Zoom is no step of the history, so a step replayed at the other scale
// puts back what the zoom would have made of it.
TEST(Changes, ReplayedAfterAZoomLandWhereTheZoomWouldHavePutThem) {
    FontCellGuard guard;
    auto doc = FlowModel();
    auto twin = FlowModel();
    twin->ZoomOut();

    CMoveSession drag(*doc, At(*doc, 0));
    drag.MoveTo({40, 40});
    std::unique_ptr<CObjectsChange> move = drag.Finish();
    CRemoveChange remove(2);
    remove.Apply(*doc);
    CSheetSizeChange sheet(*doc, 1001, 777);
    sheet.Apply(*doc);

    doc->ZoomOut();
    sheet.Revert(*doc);
    remove.Revert(*doc);
    move->Revert(*doc);
    EXPECT_EQ(doc->Store(), twin->Store());

    move->Apply(*doc);
    sheet.Apply(*doc);
    doc->ZoomIn();
    EXPECT_EQ(At(*doc, 0).GetPoint(0), (CPoint{140, 140}));
    EXPECT_EQ(doc->m_nWidth, 1000);  // halved at half scale, then doubled
}

TEST(DocumentMove, KeepsItsListenerAndAnnouncesTheFlag) {
    CVarnelDoc doc;
    doc.OnNewDocument();
    std::vector<bool> heard;
    doc.SetModifiedListener([&heard](bool b) { heard.push_back(b); });
    CVarnelDoc loaded;
    loaded.OnNewDocument();
    loaded.SetModifiedFlag();
    doc = std::move(loaded);
    doc.SetModifiedFlag(false);
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));
}
