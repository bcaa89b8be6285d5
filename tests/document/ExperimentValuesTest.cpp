// The values an experiment varies: which of the diagram's numbers are
// listed and under what names, writing chosen ones back as one change that
// undoes to the byte, and a slider's range and the values along it.
#include <gtest/gtest.h>

#include <cmath>

#include "document/ExperimentValues.h"
#include "support/ModelSamples.h"

namespace {

// One element of every class with a value, a table, an element with an
// empty name, and a second element named like the first.
std::unique_ptr<CVarnelDoc> ValuesModel() {
    auto doc = std::make_unique<CVarnelDoc>();
    doc->OnNewDocument();
    auto add = [&](std::unique_ptr<CVEntity> entity) { doc->m_pEntityList->Add(std::move(entity)); };
    auto level = std::make_unique<CVLevel>();
    level->m_strName = "X";
    level->m_strDescription = "stock";
    level->m_dValue = 6.0;
    add(std::move(level));
    auto rate = std::make_unique<CVRate>();
    rate->m_strName = "Bx";
    add(std::move(rate));
    auto table = std::make_unique<CVTableData>();
    table->m_strName = "T";
    add(std::move(table));
    auto variable = std::make_unique<CVVariable>();
    variable->m_strName = "";
    add(std::move(variable));
    auto expert = std::make_unique<CVExpert>();
    expert->m_strText = "e";
    expert->m_dValue = 0.5;
    add(std::move(expert));
    auto sw = std::make_unique<CVSwitch>();
    sw->m_strText = "q";
    sw->m_dValue = 1.0;
    sw->m_dValue2 = 2.0;
    sw->m_dThreshold = 25.0;
    add(std::move(sw));
    auto twin = std::make_unique<CVVariable>();
    twin->m_strName = "X";
    add(std::move(twin));
    add(std::make_unique<CVLine>());
    return doc;
}

}  // namespace

TEST(ExperimentValues, ListsEveryRunValueOnceUnderItsOverrideName) {
    auto doc = ValuesModel();
    std::vector<std::string> names;
    std::vector<double> values;
    for (const CElementValue& v : ListElementValues(*doc->m_pEntityList)) {
        names.push_back(v.OverrideName());
        values.push_back(v.dValue);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"X", "Bx", "e", "q", "q.value2", "q.threshold"}));
    EXPECT_EQ(values, (std::vector<double>{6.0, 0.0, 0.5, 1.0, 2.0, 25.0}));
    EXPECT_EQ(ListElementValues(*doc->m_pEntityList)[0].strDescription, "stock");
    EXPECT_EQ(ListElementValues(*doc->m_pEntityList)[1].kind, EElementKind::Rate);
}

TEST(ExperimentValues, WritesChosenValuesAsOneChangeThatUndoesToTheByte) {
    auto doc = ValuesModel();
    const std::vector<uint8_t> before = doc->Store();
    EXPECT_EQ(SetElementValues(*doc, {{"X", 6.0}, {"nobody", 1.0}}), nullptr);  // nothing differs
    EXPECT_EQ(doc->Store(), before);

    auto change = SetElementValues(*doc, {{"X", 7.5}, {"q.threshold", 10.0}, {"q", -1.0}, {"nobody", 1.0}});
    ASSERT_NE(change, nullptr);
    auto* pSwitch = static_cast<CVSwitch*>(doc->m_pEntityList->GetAt(5));
    EXPECT_EQ(static_cast<CVLevel*>(doc->m_pEntityList->GetAt(0))->m_dValue, 7.5);
    EXPECT_EQ(pSwitch->m_dValue, -1.0);
    EXPECT_EQ(pSwitch->m_dValue2, 2.0);
    EXPECT_EQ(pSwitch->m_dThreshold, 10.0);
    EXPECT_EQ(static_cast<CVVariable*>(doc->m_pEntityList->GetAt(6))->m_dValue, 0.0);  // the twin is not "X"
    const std::vector<uint8_t> after = doc->Store();
    change->Revert(*doc);
    EXPECT_EQ(doc->Store(), before);
    change->Apply(*doc);
    EXPECT_EQ(doc->Store(), after);
}

TEST(ExperimentValues, RangeAroundAValueAndShortValuesAlongIt) {
    EXPECT_EQ(CValueRange::Around(0.4).dFrom, 0.0);
    EXPECT_EQ(CValueRange::Around(0.4).dTo, 0.8);
    EXPECT_EQ(CValueRange::Around(-3.0).dFrom, -6.0);
    EXPECT_EQ(CValueRange::Around(-3.0).dTo, 0.0);
    EXPECT_EQ(CValueRange::Around(0.0).dFrom, -1.0);
    EXPECT_EQ(CValueRange::Around(0.0).dTo, 1.0);
    EXPECT_EQ(CValueRange::Around(1e308).dTo, 1e308);

    const CValueRange range{0.1, 0.7};
    EXPECT_EQ(range.ValueAt(0, 1000), 0.1);
    EXPECT_EQ(range.ValueAt(1000, 1000), 0.7);
    EXPECT_EQ(range.ValueAt(333, 1000), 0.2998);  // not 0.29979999999999996
    EXPECT_EQ(range.ValueAt(-5, 1000), 0.1);
    EXPECT_EQ(range.PositionOf(0.2998, 1000), 333);
    EXPECT_EQ(range.PositionOf(5.0, 1000), 1000);
    EXPECT_EQ(range.PositionOf(std::nan(""), 1000), 0);
    EXPECT_EQ((CValueRange{0.0, 200000.0}).ValueAt(1, 1000), 200.0);
}
