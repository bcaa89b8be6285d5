// The statement loop: what each statement does, the exact message of every
// failure with its line number, marks and jumps (also beyond 64 KiB), and
// the step bound and poll that stop a run.
#include <gtest/gtest.h>

#include <cmath>

#include "RunHelpers.h"

namespace {

TEST(Executor, BlankCommentAndDelimiterLinesDoNothingOthersAreUnknown) {
    CInterpreter interp;
    EXPECT_EQ(RunError(interp, Program({"", "   ", "' a comment", "'(text)", "(x)", "= 5", "+"})), "");
    EXPECT_EQ(interp.m_symbols.GetCount(), 0u);
    EXPECT_EQ(RunError(""), "");
    // A comment needs the apostrophe as a word of its own.
    EXPECT_EQ(RunError("'comment"), "Interpretation error:\nUnknown command ''comment' (col: 1).");
    EXPECT_EQ(RunError(Program({"", "Var x"})), "Interpretation error:\nUnknown command 'Var' (col: 2).");
}

TEST(Executor, VarDeclaresZeroIgnoresTheRestAndMayNotRedefine) {
    CInterpreter interp;
    EXPECT_EQ(RunError(interp, "var t = 5"), "");
    EXPECT_EQ(NumberOf(interp, "t"), 0);
    EXPECT_EQ(interp.m_symbols.Find("t")->nKind, SK_NUMBER);
    // Redefinition of a symbol of any kind fails.
    interp.m_symbols.Set("x", NumberRec(1));
    EXPECT_EQ(RunError(interp, "var x"), "Interpretation error:\nVariable x redefinition.");
    EXPECT_EQ(RunError(Program({"graphic g", "var g"})), "Interpretation error:\nVariable g redefinition.");
    EXPECT_EQ(RunError(Program({"var a", "var a"})), "Interpretation error:\nVariable a redefinition.");
}

TEST(Executor, SetEvaluatesIntoTheSymbolCopy) {
    CInterpreter interp;
    EXPECT_EQ(RunError(interp, Program({"var x", "set x=x+1", "set x = x * 10 - 4"})), "");
    EXPECT_EQ(NumberOf(interp, "x"), 6);
}

TEST(Executor, SetFailures) {
    CInterpreter interp;
    std::vector<double> values{1};
    interp.m_symbols.Set("y", TableRec(0, 0, 1, &values));
    EXPECT_EQ(RunError(interp, "set y = 1"), "Interpretation error:\nVariable y undefined.");
    EXPECT_EQ(RunError("set z = 1"), "Interpretation error:\nVariable z undefined.");
    EXPECT_EQ(RunError(Program({"var x", "set x 1"})), "Interpretation error:\nBad 'set' command (2).");
    EXPECT_EQ(RunError(Program({"var x", "", "set x = 1 +"})), "Interpretation error:\nBad 'set' command (3).");
}

TEST(Executor, IfComparesANumberOrSymbolOperand) {
    CInterpreter interp;
    interp.m_symbols.Set("x", NumberRec(-1));
    interp.m_symbols.Set("r", NumberRec(0));
    const std::string program = Program({"if x = -1", "set r = r + 1", "if 5 > x", "set r = r + 10",
                                         "if x > 5", "set r = r + 100", "if x < x", "set r = r + 1000",
                                         "if 5>x", "set r = r + 10000"});
    EXPECT_EQ(RunError(interp, program), "");
    EXPECT_EQ(NumberOf(interp, "r"), 10011);
}

TEST(Executor, IfFailures) {
    CInterpreter interp;
    interp.m_symbols.Set("x", NumberRec(1));
    EXPECT_EQ(RunError(interp, Program({"", "if x<5"})), "Interpretation error:\nBad 'if' command attributes (2).");
    EXPECT_EQ(RunError(interp, "if x ! 5"), "Interpretation error:\nBad comparision symbol in 'if' statement (1).");
    EXPECT_EQ(RunError(interp, "if -x < 5"), "Interpretation error:\nBad 'if' command attributes (1).");
    EXPECT_EQ(RunError(interp, "if x"), "Interpretation error:\nBad 'if' command attributes (1).");
    EXPECT_EQ(RunError(interp, "if x < 5 then"), "Interpretation error:\nBad 'if' command attributes (1).");
}

TEST(Executor, FailedIfSkipsExactlyOneLineWhateverItHolds) {
    CInterpreter interp;
    interp.m_symbols.Set("x", NumberRec(1));
    // The skipped mark line still labels; the skipped blank line still counts.
    EXPECT_EQ(RunError(interp, Program({"if x > 5", "mark m", "if x > 5", "", "bogus"})),
              "Interpretation error:\nUnknown command 'bogus' (col: 5).");
    EXPECT_EQ(RunError(interp, Program({"if x > 5", "bogus"})), "");
}

TEST(Executor, EveryComparisonWithNaNFails) {
    CInterpreter interp;
    interp.m_symbols.Set("n", NumberRec(std::nan("")));
    interp.m_symbols.Set("r", NumberRec(0));
    const std::string program = Program({"if n < 1", "set r = r + 1", "if n = n", "set r = r + 1",
                                         "if n > 1", "set r = r + 1", "if 1 < n", "set r = r + 1"});
    EXPECT_EQ(RunError(interp, program), "");
    EXPECT_EQ(NumberOf(interp, "r"), 0);
}

// Forward to a mark on the last line ends the run; backward makes a loop.
TEST(Executor, GotoJumpsForwardAndBackward) {
    CInterpreter interp;
    const std::string forward = Program({"var x", "goto end", "set x = 1", "mark end"});
    EXPECT_EQ(RunError(interp, forward), "");
    EXPECT_EQ(NumberOf(interp, "x"), 0);
    const MarkPos* pMark = interp.m_marks.Find("end");
    ASSERT_NE(pMark, nullptr);
    EXPECT_EQ(pMark->nLine, 4);
    EXPECT_EQ(pMark->nOffset, forward.size());

    CInterpreter loop;
    EXPECT_EQ(RunError(loop, Program({"var t", "mark next", "set t = t + 1", "if t < 50", "goto next"})), "");
    EXPECT_EQ(NumberOf(loop, "t"), 50);
}

TEST(Executor, LineNumbersAfterAJumpCountFromTheMark) {
    const std::string program = Program({"var x", "goto m", "", "", "", "", "mark m", "bogus"});
    EXPECT_EQ(RunError(program), "Interpretation error:\nUnknown command 'bogus' (col: 8).");
}

// Every error raised on a program line carries that line as data, also
// those whose text has no number, and the line after a jump or a skip.
TEST(Executor, ErrorsCarryTheirLine) {
    const std::pair<std::string, int64_t> cases[] = {
        {Program({"var x", "goto m", "", "mark m", "bogus"}), 5},
        {Program({"var x", "if 1 > 2", "skipped", "set y = 1"}), 4},
        {Program({"var x", "graphic g text=abc"}), 2},
        {Program({"mark a", "", "mark a"}), 3},
        {Program({"var x", "var x"}), 2},
    };
    for (const auto& [program, line] : cases) {
        CInterpreter interp;
        try {
            interp.Run(program);
            ADD_FAILURE() << program;
        } catch (const CInterpreterError& e) {
            EXPECT_EQ(e.Line(), line) << program;
        }
    }
}

TEST(Executor, GotoFailures) {
    EXPECT_EQ(RunError(Program({"mark a", "goto b"})), "Interpretation error:\nBad mark name in goto command(2).");
    EXPECT_EQ(RunError(Program({"mark a", "goto a now"})), "Interpretation error:\nBad 'goto' command attributes (2).");
    // A bare goto reaches the mark with the empty name.
    EXPECT_EQ(RunError(Program({"goto", "bogus", "mark"})), "");
}

TEST(Executor, MarkScanFailsBeforeAnyStatementRuns) {
    EXPECT_EQ(RunError(Program({"bogus", "mark a", "mark a"})), "Interpretation error:\nMark a redefinition.");
    EXPECT_EQ(RunError(Program({"bogus", "mark a b"})), "Interpretation error:\nBad 'mark' command attributes (2).");
}

TEST(Executor, MarksBeyondSixteenBitsJumpCorrectly) {
    // 70,000 lines and more than 64 KiB before the mark.
    std::vector<std::string> lines{"var n", "goto far"};
    for (int i = 0; i < 70000; ++i) lines.push_back("' padding");
    lines.push_back("mark far");
    lines.push_back("set n = n + 1");
    lines.push_back("if n < 3");
    lines.push_back("goto far");
    lines.push_back("bogus");
    CInterpreter interp;
    EXPECT_EQ(RunError(interp, Program(lines)), "Interpretation error:\nUnknown command 'bogus' (col: 70007).");
    EXPECT_EQ(NumberOf(interp, "n"), 3);
    EXPECT_EQ(interp.m_marks.Find("far")->nLine, 70003);
}

TEST(Executor, StepBoundStopsAnEndlessLoop) {
    CInterpreter interp;
    RunControl control;
    control.nMaxSteps = 1000;
    EXPECT_EQ(interp.Run(Program({"mark a", "goto a"}), control), RunOutcome::StepLimit);
    CInterpreter exact;
    control.nMaxSteps = 3;
    EXPECT_EQ(exact.Run(Program({"var a", "var b", "var c"}), control), RunOutcome::Ok);
    control.nMaxSteps = 2;
    CInterpreter over;
    EXPECT_EQ(over.Run(Program({"var a", "var b", "var c"}), control), RunOutcome::StepLimit);
}

TEST(Executor, PollCanCancelAndSeesTheStepCount) {
    CInterpreter interp;
    RunControl control;
    std::vector<uint64_t> seen;
    control.pfnPoll = [&](uint64_t nSteps) {
        seen.push_back(nSteps);
        return seen.size() < 3;
    };
    EXPECT_EQ(interp.Run(Program({"mark a", "goto a"}), control), RunOutcome::Cancelled);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], RunControl::kPollInterval);
    EXPECT_EQ(seen[2], 3 * RunControl::kPollInterval);
}

// A loop over a very long line does much work per statement: Cancel must
// still be asked soon, not after thousands of such statements.
TEST(Executor, LongLinesBringThePollSooner) {
    std::string sum = "set x = 1";
    for (int i = 0; i < 200000; ++i) sum += "+1";
    CInterpreter interp;
    RunControl control;
    uint64_t stepsAtPoll = 0;
    control.pfnPoll = [&](uint64_t nSteps) {
        stepsAtPoll = nSteps;
        return false;
    };
    EXPECT_EQ(interp.Run(Program({"var x", "mark a", sum, "goto a"}), control), RunOutcome::Cancelled);
    EXPECT_GT(stepsAtPoll, 0u);
    EXPECT_LT(stepsAtPoll, 100u);
}

}  // namespace
