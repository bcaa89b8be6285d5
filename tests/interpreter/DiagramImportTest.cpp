// The build-graphs run over real diagram elements: every named element
// class becomes the right kind of symbol, and the run leaves the diagram's
// values as they were.
#include <gtest/gtest.h>

#include "RunHelpers.h"
#include "diagram/Elements.h"
#include "diagram/Primitives.h"
#include "diagram/TableElements.h"
#include "interpreter/BuildGraphs.h"

namespace {

template <typename T>
T& AddTo(EntityList& list) {
    auto p = std::make_unique<T>();
    T& ref = *p;
    list.Add(std::move(p));
    return ref;
}

TEST(DiagramImport, EveryElementClassReachesTheProgram) {
    EntityList list;
    CVLevel& level = AddTo<CVLevel>(list);
    level.m_strName = "L";
    level.m_dValue = 10;
    AddTo<CVRate>(list).m_dValue = 2;             // named "Rate"
    AddTo<CVVariable>(list).m_dValue = 3;         // named "Var"
    CVExpert& expert = AddTo<CVExpert>(list);     // named "Expert"
    expert.m_dValue = 4;
    CVSwitch& sw = AddTo<CVSwitch>(list);         // named "Switch"
    sw.m_dValue = 100;
    sw.m_dValue2 = 200;
    sw.m_dThreshold = 5;
    CVTableData& table = AddTo<CVTableData>(list);
    table.m_strName = "T";
    table.m_dFrom = 0;
    table.m_dTo = 10;
    table.m_dStep = 5;
    table.m_data = {1, 2, 3};
    AddTo<CVText>(list);
    AddTo<CVSources>(list);

    const std::string program = Program({"var y", "graphic g", "set y = L + Rate + Var + Expert",
                                         "set L = T(Var) + Switch(L)", "plot g y L"});
    const BuildGraphsResult result = BuildGraphs(&list, program);
    ASSERT_EQ(result.outcome, RunOutcome::Ok) << result.strError;
    ASSERT_EQ(result.series.size(), 1u);
    // y = 10 + 2 + 3 + 4; L = T(3) + Switch(10) = 1.6 + 200.
    EXPECT_EQ(result.series[0]->GetSample(0).x, 19);
    EXPECT_DOUBLE_EQ(result.series[0]->GetSample(0).y, 201.6);
    EXPECT_EQ(level.m_dValue, 10);
}

TEST(DiagramImport, TableWithoutValuesIsNotInitialized) {
    EntityList list;
    CVTableData& table = AddTo<CVTableData>(list);
    table.m_strName = "T";
    AddTo<CVVariable>(list);
    const BuildGraphsResult result = BuildGraphs(&list, Program({"var y", "set y = T(Var)"}));
    EXPECT_EQ(result.strError, "Interpretation error:\nTable 'T' not initialized.");
}

}  // namespace
