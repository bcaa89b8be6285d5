// A running program allocates nothing per executed statement: over a loop
// of a hundred thousand statements (arithmetic, a table, a switch, a plot,
// a test and a jump) the only requests are the compilation of its lines and
// the growth of the sample array.
#include <gtest/gtest.h>

#include "AllocationProbe.h"
#include "diagram/EntityList.h"
#include "diagram/TableElements.h"
#include "interpreter/Interpreter.h"

namespace {

std::unique_ptr<EntityList> TableAndSwitch() {
    auto list = std::make_unique<EntityList>();
    auto table = std::make_unique<CVTableData>();
    table->m_strName = "T";
    table->m_dTo = 10.0;
    table->m_dStep = 2.5;
    table->m_data = {1.0, 2.0, 4.0, 8.0, 16.0};
    auto sw = std::make_unique<CVSwitch>();
    sw->m_strText = "W";
    sw->m_dValue = 1.0;
    sw->m_dValue2 = 0.5;
    sw->m_dThreshold = 5.0;
    list->Add(std::move(table));
    list->Add(std::move(sw));
    return list;
}

// Heap requests made by a run of the loop, which executes 6 statements
// per step.
size_t AllocationsOfRun(int steps) {
    const std::string program = "var i\r\nvar x\r\nvar y\r\ngraphic g\r\nmark m\r\n"
                                "set x = x * 1.01 + T(y) / 3 - (i + 1) * W(y)\r\n"
                                "set y = i / 1000\r\nplot g i x\r\nset i = i + 1\r\n"
                                "if i < " + std::to_string(steps) + "\r\ngoto m";
    const auto diagram = TableAndSwitch();
    CInterpreter interp;
    interp.ImportDrawingVariables(diagram.get());
    AllocationProbe probe;
    EXPECT_EQ(interp.Run(program), RunOutcome::Ok);
    EXPECT_EQ(interp.StepCount(), 5u + 6u * static_cast<uint64_t>(steps) - 1u);
    return probe.Count();
}

TEST(RunAllocation, NothingPerStatementOnlySampleGrowth) {
    const size_t shortRun = AllocationsOfRun(2000);
    const size_t longRun = AllocationsOfRun(20000);  // 120,000 statements
    EXPECT_LT(longRun, 100u);
    // Ten times the samples: a few more doublings of their array.
    EXPECT_LE(longRun - shortRun, 5u) << shortRun << " then " << longRun;
}

}  // namespace
