// The statement loop on programs too big to keep as corpus files: marks
// beyond 64 KiB, a hundred thousand marks, lines long enough to bring the
// poll sooner, nesting two hundred thousand calls deep. Each runs compiled
// and line by line; the literal programs live in the corpus.
#include <gtest/gtest.h>

#include "RunHelpers.h"

namespace {

TEST(Executor, MarksBeyondSixteenBitsJumpCorrectly) {
    // 70,000 lines and more than 64 KiB before the mark.
    std::vector<std::string> lines{"var n", "goto far"};
    for (int i = 0; i < 70000; ++i) lines.push_back("' padding");
    lines.push_back("mark far");
    lines.push_back("set n = n + 1");
    lines.push_back("if n < 3");
    lines.push_back("goto far");
    lines.push_back("bogus");
    const auto both = RunBothPaths(Program(lines));
    EXPECT_EQ(both->run.strError, "Interpretation error:\nUnknown command 'bogus' (col: 70007).");
    EXPECT_EQ(NumberOf(both->compiled, "n"), 3);
    EXPECT_EQ(both->compiled.m_marks.Find("far")->nLine, 70003);
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
    RunControl control;
    control.nMaxSteps = 1000000;  // a wrong jump must not loop for ever
    const auto both = RunBothPaths(program + "set x = x + 1", control);
    ASSERT_EQ(both->run.outcome, RunOutcome::Ok) << both->run.strError;
    // To m99998 (x 7), back to m0, down through every mark to m99998 again
    // (x 14), on past m99999 (x 15).
    EXPECT_EQ(NumberOf(both->compiled, "x"), 15);
    EXPECT_EQ(both->compiled.m_marks.GetCount(), static_cast<size_t>(kMarks));
}

// A loop over a very long line does much work per statement: Cancel must
// still be asked soon, not after thousands of such statements.
TEST(Executor, LongLinesBringThePollSooner) {
    std::string sum = "set x = 1";
    for (int i = 0; i < 200000; ++i) sum += "+1";
    RunControl control;
    control.pfnPoll = [](uint64_t) { return false; };
    const auto both = RunBothPaths(Program({"var x", "mark a", sum, "goto a"}), control);
    EXPECT_EQ(both->run.outcome, RunOutcome::Cancelled);
    ASSERT_EQ(both->run.polls.size(), 1u);
    EXPECT_GT(both->run.polls[0], 0u);
    EXPECT_LT(both->run.polls[0], 100u);
}

TEST(Executor, DeepNestingIsReadWithoutRecursion) {
    std::string line = "set r = ";
    for (int i = 0; i < 200000; ++i) line += "s(";
    line += "x";
    line += std::string(200000, ')');
    EntityList diagram;
    diagram.Add(std::make_unique<CNamedStub>("x", NumberRec(4)));
    diagram.Add(std::make_unique<CNamedStub>("s", SwitchRec(1, 2, 5)));
    const auto both = RunBothPaths(Program({"var r", line}), {}, &diagram);
    EXPECT_EQ(NumberOf(both->compiled, "r"), 1);
}

}  // namespace
