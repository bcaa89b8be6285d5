// Programs and diagrams with very many names: the name tables must find,
// overwrite and remove every one of them correctly (their lookups go
// through an index beside the ordered chains), and a mark scan over a
// hundred thousand marks must still jump where the program says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RunHelpers.h"

namespace {

std::string Name(int i) { return "n" + std::to_string(i); }

}  // namespace

TEST(SymbolTable, ManyNamesStayFindableThroughRemovalAndExtraction) {
    constexpr int kNames = 5000;
    CNameTable<int> table;
    for (int i = 0; i < kNames; ++i) table.Set(Name(i), i);
    table.Set(Name(8), 3008);  // overwriting keeps a single entry
    EXPECT_EQ(table.GetCount(), static_cast<size_t>(kNames));

    for (int i = 0; i < kNames; i += 3) EXPECT_TRUE(table.Remove(Name(i)));
    std::vector<int> taken;
    table.ExtractIf([](const std::string&, int v) { return v % 3 == 1; }, [&](int v) { taken.push_back(v); });
    EXPECT_EQ(taken.size(), 1667u);
    EXPECT_EQ(table.GetCount(), 1666u);
    for (int i = 0; i < kNames; ++i) {
        const int* found = table.Find(Name(i));
        if (i % 3 != 2) {
            EXPECT_EQ(found, nullptr) << Name(i);
            continue;
        }
        ASSERT_NE(found, nullptr) << Name(i);
        EXPECT_EQ(*found, i == 8 ? 3008 : i);
    }

    table.Set(Name(0), 42);  // a removed name can come back
    ASSERT_NE(table.Find(Name(0)), nullptr);
    EXPECT_EQ(*table.Find(Name(0)), 42);
    table.RemoveAll();
    EXPECT_EQ(table.GetCount(), 0u);
    EXPECT_EQ(table.Find(Name(0)), nullptr);
    EXPECT_EQ(table.Find(Name(2)), nullptr);
}

// Found by fuzzing: each mark was checked against every earlier one, so a
// program of this size took minutes to start (and could not be stopped).
TEST(Executor, HundredThousandMarksJumpToTheRightOne) {
    constexpr int kMarks = 100000;
    std::string program = "var x\r\ngoto m99998\r\n";
    for (int i = 0; i < kMarks; ++i) {
        program += "mark m" + std::to_string(i) + "\r\n";
        if (i == kMarks - 2) program += "set x = x + 7\r\nif x < 10\r\ngoto m0\r\n";
    }
    CInterpreter interp;
    RunControl control;
    control.nMaxSteps = 1000000;  // a wrong jump must not loop for ever
    RunOutcome outcome = RunOutcome::Error;
    try {
        outcome = interp.Run(program + "set x = x + 1", control);
    } catch (const CInterpreterError& e) {
        FAIL() << e.Message();
    }
    ASSERT_EQ(outcome, RunOutcome::Ok);
    // To m99998 (x 7), back to m0, down through every mark to m99998 again
    // (x 14), on past m99999 (x 15).
    EXPECT_EQ(NumberOf(interp, "x"), 15);
    EXPECT_EQ(interp.m_marks.GetCount(), static_cast<size_t>(kMarks));
}
