// Editing elements through the parameter dialog: what each class shows,
// which boxes it lets the user change, what it takes back and what it
// reports; and the symbol records GetName fills.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "base/Numbers.h"
#include "diagram/ElementParamDlg.h"
#include "diagram/TableElements.h"
#include "tests/support/FakeDialogHost.h"

namespace {

using S = CElementDialogState;

// Captions as the dialog stores them (code page 1251).
const std::string kFrom = "\xCE\xF2:";                    // От:
const std::string kTo = "\xC4\xEE:";                      // До:
const std::string kStep = "\xD8\xE0\xE3:";                // Шаг:
const std::string kFirst = "1-\xE5 \xE7\xED\xE0\xF7.:";   // 1-е знач.:
const std::string kSecond = "2-\xE5 \xE7\xED\xE0\xF7.:";  // 2-е знач.:
const std::string kSwitch = "\xCF\xE5\xF0\xE5\xEA\xEB.:"; // Перекл.:
const std::string kIncorrectData = "Incorrect data.";
const std::string kIncorrectRange =
    "Incorrect range(\xE8\xEB\xE8 \xEC\xF3\xF1\xEE\xF0 \xEF\xEE\xF1\xEB\xE5 \xE4\xE0\xED\xED\xFB\xF5).";

// Editable: read-only text boxes and disabled boxes are not.
bool Editable(const CDialogBox& box) { return box.bEnabled && !box.bReadOnly; }

std::string EditableMask(const S& s) {
    std::string mask;
    for (const CDialogBox* b : {&s.name, &s.description, &s.values, &s.first, &s.second, &s.third})
        mask += Editable(*b) ? 'x' : '-';
    return mask;
}

std::unique_ptr<CVTableData> Table(double from, double to, double step) {
    auto t = std::make_unique<CVTableData>();
    t->m_dFrom = from;
    t->m_dTo = to;
    t->m_dStep = step;
    return t;
}

}  // namespace

// ---- the dialog itself ----

TEST(ParamDialog, ShowsNumbersInFullAndPlainCaptions) {
    CElementParamDlg dlg;
    dlg.m_dFrom = 0.05;
    dlg.m_dTo = 1234567.89;
    dlg.m_dStep = 0.1 + 0.2;
    const S s = dlg.InitialState();
    EXPECT_EQ(s.first.strText, "0.05");
    EXPECT_EQ(s.second.strText, "1234567.89");
    EXPECT_EQ(s.third.strText, "0.30000000000000004");
    EXPECT_EQ(s.strFirstCaption, kFrom);
    EXPECT_EQ(s.strSecondCaption, kTo);
    EXPECT_EQ(s.strThirdCaption, kStep);
    EXPECT_EQ(EditableMask(s), "------");
    EXPECT_TRUE(s.name.bEnabled);  // read-only, still shown and selectable
    EXPECT_TRUE(s.name.bReadOnly);
    EXPECT_FALSE(s.values.bEnabled);
}

TEST(ParamDialog, OkReadsEveryBoxAndOrsTheirModifiedStates) {
    CElementParamDlg dlg;
    dlg.m_nFlags = PF_NAME | PF_STEP;
    FakeDialogHost host;
    host.Type(&S::third, "2.5e3xyz").Ok();
    EXPECT_EQ(dlg.DoModal(host), IDOK);
    EXPECT_EQ(dlg.m_bModified, 1);
    EXPECT_EQ(dlg.m_dStep, 2500.0);
    EXPECT_EQ(dlg.m_dFrom, 0.0);

    // Retyping the same text still counts as a change.
    FakeDialogHost same;
    same.Type(&S::name, "").Ok();
    EXPECT_EQ(dlg.DoModal(same), IDOK);
    EXPECT_EQ(dlg.m_bModified, 1);

    FakeDialogHost untouched;
    untouched.Ok();
    EXPECT_EQ(dlg.DoModal(untouched), IDOK);
    EXPECT_EQ(dlg.m_bModified, 0);
}

// ---- per class ----

TEST(EditText, DrawingModeEditsTheTextOtherwiseShowsIt) {
    CVText text;
    FakeDialogHost host;
    host.Type(&S::name, "Hello").Ok();
    EXPECT_EQ(text.Edit(true, host), EDIT_CHANGED);
    EXPECT_EQ(text.m_strText, "Hello");
    EXPECT_EQ(EditableMask(host.shown[0]), "x-----");
    EXPECT_EQ(host.shown[0].name.strText, "Linor(ver 1.0)");

    FakeDialogHost viewer;
    viewer.Type(&S::name, "Other").Ok();
    EXPECT_EQ(text.Edit(false, viewer), EDIT_UNCHANGED);
    EXPECT_EQ(EditableMask(viewer.shown[0]), "------");
    EXPECT_EQ(text.m_strText, "Hello");
}

TEST(EditLevel, ValueIsAlwaysEditableNameAndDescriptionOnlyInDrawingMode) {
    CVLevel level;
    level.m_dValue = 0.1 + 0.2;
    FakeDialogHost host;
    host.Type(&S::values, "2.5e3").Type(&S::description, "stock").Ok();
    EXPECT_EQ(level.Edit(true, host), EDIT_CHANGED);
    EXPECT_EQ(EditableMask(host.shown[0]), "xxx---");
    EXPECT_EQ(host.shown[0].values.strText, "0.30000000000000004");
    EXPECT_EQ(level.m_dValue, 2500.0);
    EXPECT_EQ(level.m_strDescription, "stock");

    FakeDialogHost modify;
    modify.Ok();
    level.m_dValue = 0.1 + 0.2;
    EXPECT_EQ(level.Edit(false, modify), EDIT_UNCHANGED);
    EXPECT_EQ(EditableMask(modify.shown[0]), "--x---");
    EXPECT_EQ(level.m_dValue, 0.1 + 0.2);  // its text held every digit

    FakeDialogHost cancel;
    cancel.Type(&S::name, "Stock").Cancel();
    EXPECT_EQ(level.Edit(true, cancel), EDIT_UNCHANGED);
    EXPECT_EQ(level.m_strName, "Level");
}

TEST(EditRate, ValueBoxIsNeverEnabledAndTheValueComesBackWhole) {
    CVRate rate;
    rate.m_dValue = 1.23456789;
    FakeDialogHost host;
    host.Type(&S::values, "7").Ok();
    EXPECT_EQ(rate.Edit(true, host), EDIT_UNCHANGED);
    EXPECT_EQ(host.refusedTyping, 1);
    EXPECT_EQ(EditableMask(host.shown[0]), "xx----");
    EXPECT_EQ(rate.m_dValue, 1.23456789);

    CVVariable var;
    FakeDialogHost viewer;
    viewer.Ok();
    EXPECT_EQ(var.Edit(false, viewer), EDIT_UNCHANGED);
    EXPECT_EQ(EditableMask(viewer.shown[0]), "------");
    EXPECT_EQ(viewer.shown[0].name.strText, "Var");
}

TEST(EditExpert, BehavesLikeALevelOverItsText) {
    CVExpert expert;
    FakeDialogHost host;
    host.Type(&S::name, "E1").Type(&S::values, "4").Ok();
    EXPECT_EQ(expert.Edit(true, host), EDIT_CHANGED);
    EXPECT_EQ(expert.m_strText, "E1");
    EXPECT_EQ(expert.m_dValue, 4.0);
    FakeDialogHost modify;
    modify.Ok();
    expert.Edit(false, modify);
    EXPECT_EQ(EditableMask(modify.shown[0]), "--x---");
}

TEST(EditSwitch, ThreeNumbersWithSwitchCaptionsInBothModes) {
    CVSwitch sw;
    sw.m_dValue = 1;
    sw.m_dValue2 = 2;
    sw.m_dThreshold = 10;
    FakeDialogHost host;
    host.Type(&S::third, "12").Ok();
    EXPECT_EQ(sw.Edit(false, host), EDIT_CHANGED);
    const S& s = host.shown[0];
    EXPECT_EQ(EditableMask(s), "---xxx");
    EXPECT_EQ(s.values.strText, "");
    EXPECT_EQ(s.first.strText, "1");
    EXPECT_EQ(s.second.strText, "2");
    EXPECT_EQ(s.third.strText, "10");
    EXPECT_EQ(s.strFirstCaption, kFirst);
    EXPECT_EQ(s.strSecondCaption, kSecond);
    EXPECT_EQ(s.strThirdCaption, kSwitch);
    EXPECT_EQ(sw.m_dThreshold, 12.0);

    FakeDialogHost drawing;
    drawing.Ok();
    EXPECT_EQ(sw.Edit(true, drawing), EDIT_UNCHANGED);
    EXPECT_EQ(EditableMask(drawing.shown[0]), "xx-xxx");
    EXPECT_EQ(drawing.shown[0].strThirdCaption, kSwitch);
}

TEST(EditOthers, SourcesAndPrimitivesHaveNoDialog) {
    FakeDialogHost host;
    CVSources sources;
    CVLine line;
    CVArrow arrow;
    EXPECT_EQ(sources.Edit(true, host), EDIT_NO_DIALOG);
    EXPECT_EQ(line.Edit(true, host), EDIT_NO_DIALOG);
    EXPECT_EQ(arrow.Edit(false, host), EDIT_NO_DIALOG);
    EXPECT_TRUE(host.shown.empty());
}

// ---- table ----

TEST(EditTable, ShowsRangeAndValuesWithTableCaptions) {
    auto table = Table(0, 1, 0.5);
    table->m_data = {0.5, 1, 1.5};
    FakeDialogHost host;
    host.Ok();
    EXPECT_EQ(table->Edit(false, host), EDIT_UNCHANGED);
    const S& s = host.shown[0];
    EXPECT_EQ(s.values.strText, "0.5/1/1.5");
    EXPECT_EQ(s.first.strText, "0");
    EXPECT_EQ(s.second.strText, "1");
    EXPECT_EQ(s.third.strText, "0.5");
    EXPECT_EQ(EditableMask(s), "--xxxx");
    EXPECT_EQ(s.strFirstCaption, kFrom);
    EXPECT_EQ(s.strThirdCaption, kStep);
    EXPECT_EQ(table->m_data, (std::vector<double>{0.5, 1, 1.5}));

    FakeDialogHost drawing;
    drawing.Ok();
    table->Edit(true, drawing);
    EXPECT_EQ(EditableMask(drawing.shown[0]), "xxxxxx");
}

TEST(EditTable, NewRangeAndValuesAreTakenBack) {
    auto table = std::make_unique<CVTableData>();
    FakeDialogHost host;
    host.Type(&S::second, "10").Type(&S::third, "5").Type(&S::values, "1/2/3").Ok();
    EXPECT_EQ(table->Edit(true, host), EDIT_CHANGED);
    EXPECT_EQ(table->m_data, (std::vector<double>{1, 2, 3}));
    EXPECT_TRUE(host.messages.empty());
}

TEST(EditTable, ShortListsArePaddedWithZerosSurplusValuesWarnButStand) {
    auto table = Table(0, 10, 5);
    FakeDialogHost shortList;
    shortList.Type(&S::values, "1//3").Ok();
    EXPECT_EQ(table->Edit(true, shortList), EDIT_CHANGED);
    EXPECT_EQ(table->m_data, (std::vector<double>{1, 0, 3}));
    EXPECT_TRUE(shortList.messages.empty());

    FakeDialogHost surplus;
    surplus.Type(&S::values, "1/2/3/4").Ok();
    EXPECT_EQ(table->Edit(true, surplus), EDIT_CHANGED);
    EXPECT_EQ(surplus.messages, std::vector<std::string>{kIncorrectRange});
    EXPECT_EQ(table->m_data, (std::vector<double>{1, 2, 3}));
}

TEST(EditTable, MalformedValuesAreRejectedButNameAndRangeStay) {
    auto table = Table(0, 10, 5);
    FakeDialogHost host;
    host.Type(&S::name, "T2").Type(&S::values, "1;2").Ok();
    EXPECT_EQ(table->Edit(true, host), EDIT_REJECTED);
    EXPECT_EQ(host.messages, std::vector<std::string>{kIncorrectData});
    EXPECT_EQ(table->m_strName, "T2");
    EXPECT_EQ(table->m_data, (std::vector<double>{1, 0, 0}));
    // The caller must still mark the document modified.
    EXPECT_TRUE(table->LastEditLeftChanges());
    EXPECT_TRUE(EditChangedDocument(*table, EDIT_REJECTED));
}

TEST(EditTable, ZeroStepOrNegativeCountKeepsNoValuesSilently) {
    auto table = Table(0, 10, 5);
    table->m_data = {1, 2, 3};
    FakeDialogHost host;
    host.Type(&S::third, "0").Type(&S::values, "9/9/9").Ok();
    EXPECT_EQ(table->Edit(true, host), EDIT_REJECTED);
    EXPECT_TRUE(table->m_data.empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(EditChangedDocument(*table, EDIT_REJECTED));

    auto backwards = Table(0, 10, 1);
    FakeDialogHost reversed;
    reversed.Type(&S::first, "10").Type(&S::second, "0").Type(&S::values, "1").Ok();
    EXPECT_EQ(backwards->Edit(true, reversed), EDIT_REJECTED);
    EXPECT_TRUE(backwards->m_data.empty());
    EXPECT_EQ(backwards->ValueCount(), 0);
}

TEST(EditTable, RejectedEditThatChangedNothingLeavesTheDocumentAlone) {
    auto table = std::make_unique<CVTableData>();  // step 0: every OK is rejected
    FakeDialogHost host;
    host.Ok();
    EXPECT_EQ(table->Edit(true, host), EDIT_REJECTED);
    EXPECT_FALSE(EditChangedDocument(*table, EDIT_REJECTED));
    EXPECT_TRUE(EditChangedDocument(*table, EDIT_CHANGED));
    EXPECT_FALSE(EditChangedDocument(*table, EDIT_UNCHANGED));
}

TEST(EditTable, UnreadableStoredValuesSurviveAnUnchangedDialogOnly) {
    // "inf" cannot be read back, so it is kept while its text is untouched;
    // retyped, it is refused and the caller learns that the table changed.
    auto table = Table(0, 1, 1);
    table->m_data = {INFINITY, 2};
    FakeDialogHost host;
    host.Ok();
    EXPECT_EQ(table->Edit(true, host), EDIT_UNCHANGED);
    EXPECT_EQ(host.shown[0].values.strText, "inf/2");
    EXPECT_EQ(table->m_data, (std::vector<double>{INFINITY, 2}));
    EXPECT_TRUE(host.messages.empty());

    FakeDialogHost retyped;
    retyped.Type(&S::values, "inf/3").Ok();
    EXPECT_EQ(table->Edit(true, retyped), EDIT_REJECTED);
    EXPECT_EQ(retyped.messages, std::vector<std::string>{kIncorrectData});
    EXPECT_TRUE(EditChangedDocument(*table, EDIT_REJECTED));
}

TEST(EditTable, RangeTooLargeToHoldIsRefusedKeepingTheOldValues) {
    auto table = Table(0, 1, 1);
    table->m_data = {1, 2};
    FakeDialogHost host;
    host.Type(&S::second, "1e+9").Ok();
    EXPECT_EQ(table->Edit(true, host), EDIT_REJECTED);
    EXPECT_EQ(host.messages, std::vector<std::string>{kIncorrectRange});
    EXPECT_EQ(table->m_dTo, 1.0);
    EXPECT_EQ(table->m_data, (std::vector<double>{1, 2}));
}

TEST(EditTable, CancelChangesNothing) {
    auto table = Table(0, 10, 5);
    table->m_data = {1, 2, 3};
    FakeDialogHost host;
    host.Type(&S::values, "x").Cancel();
    EXPECT_EQ(table->Edit(true, host), EDIT_UNCHANGED);
    EXPECT_EQ(table->m_data, (std::vector<double>{1, 2, 3}));
    EXPECT_FALSE(table->LastEditLeftChanges());
}

// Values "%g" would round, and some it cannot print at all: an unchanged
// dialog gives every one back to the bit, in every kind of box; and the
// finite ones read back exactly even when their text is retyped.
TEST(EditUnchanged, KeepsEveryValueToTheBit) {
    const double values[] = {1234567.89, 0.1 + 0.2, 2.0 / 3.0, -0.0, 123456789012.0, 1e22, 3e-7,
                             5e-324, -1.7976931348623157e308, INFINITY, NAN};
    auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    for (const double v : values) {
        SCOPED_TRACE(NumberText(v));
        CVLevel level;
        level.m_dValue = v;
        CVSwitch sw;
        sw.m_dValue = sw.m_dValue2 = sw.m_dThreshold = v;
        auto table = Table(0, 1, 1);
        table->m_data = {v, v};
        FakeDialogHost host;
        host.Ok().Ok().Ok();
        level.Edit(true, host);
        sw.Edit(true, host);
        table->Edit(true, host);
        EXPECT_TRUE(same(level.m_dValue, v));
        EXPECT_TRUE(same(sw.m_dValue, v) && same(sw.m_dValue2, v) && same(sw.m_dThreshold, v));
        EXPECT_TRUE(same(table->m_data[0], v) && same(table->m_data[1], v));
        if (!std::isfinite(v)) continue;
        EXPECT_TRUE(same(DecimalToDouble(NumberText(v)), v));
        std::vector<double> read(2);
        bool leftOver = true;
        EXPECT_TRUE(ReadTableValues(NumberText(v) + "/" + NumberText(v), read, leftOver));
        EXPECT_TRUE(same(read[0], v) && same(read[1], v) && !leftOver);
    }
}

TEST(TableCount, FollowsTheRangeRule) {
    EXPECT_EQ(Table(0, 10, 5)->ValueCount(), 3);
    EXPECT_EQ(Table(0, 1, 0.3)->ValueCount(), 4);
    EXPECT_EQ(Table(0, 1, 0)->ValueCount(), 0);
    EXPECT_EQ(Table(10, 0, 1)->ValueCount(), 0);
    EXPECT_EQ(Table(0, NAN, 1)->ValueCount(), 0);
}

// ---- GetName ----

// What the named elements put in their records is checked where the
// program reads them (DiagramImportTest).
TEST(GetName, UnnamedObjectsLeaveTheRecordAlone) {
    SymbolRec rec;
    rec.nKind = 99;
    CVLine line;
    CVText text;
    CVSources sources;
    CVEntity entity;
    for (CVEntity* e : std::initializer_list<CVEntity*>{&line, &text, &sources, &entity})
        EXPECT_EQ(e->GetName(&rec), "");
    EXPECT_EQ(rec.nKind, 99);
}
