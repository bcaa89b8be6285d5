// The "graphic" attribute list and the "plot" statement: what each sets,
// and the exact message of every failure.
#include <gtest/gtest.h>

#include "RunHelpers.h"

namespace {

// Runs the program and returns the series named g (null if none).
class PlotCommandsTest : public ::testing::Test {
protected:
    const CVGraphic* Run(const std::vector<std::string>& lines) {
        error = RunError(interp, Program(lines));
        const SymbolRec* pRec = interp.m_symbols.Find("g");
        return pRec && pRec->nKind == SK_GRAPHIC ? pRec->pGraphic : nullptr;
    }
    CInterpreter interp;
    std::string error;
};

TEST_F(PlotCommandsTest, BareGraphicHasTheDefaults) {
    const CVGraphic* g = Run({"graphic g"});
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->m_nColor, 0);
    EXPECT_EQ(g->m_strText, "");
    EXPECT_EQ(g->m_dLoX, 0);
    EXPECT_EQ(g->m_dHiX, 0);
    EXPECT_EQ(g->m_dLoY, 0);
    EXPECT_EQ(g->m_dHiY, 0);
    EXPECT_EQ(g->m_dDivY, 1);
    EXPECT_EQ(g->GetSampleCount(), 0);
}

TEST_F(PlotCommandsTest, AttributesSetTheirFieldsAndTheLastOneCounts) {
    const CVGraphic* g = Run({"graphic g color = 65280 color=255 loX=-10 hiX=1e+2 loY=0.5 hiY=2 divY=1000 "
                              "text=\"\xcd\xe0\xf1\xe5\xeb\xe5\xed\xe8\xe5 (x)\""});
    ASSERT_NE(g, nullptr) << error;
    EXPECT_EQ(g->m_nColor, 255);
    EXPECT_EQ(g->m_dLoX, -10);
    EXPECT_EQ(g->m_dHiX, 100);
    EXPECT_EQ(g->m_dLoY, 0.5);
    EXPECT_EQ(g->m_dHiY, 2);
    EXPECT_EQ(g->m_dDivY, 1000);
    EXPECT_EQ(g->m_strText, "\xcd\xe0\xf1\xe5\xeb\xe5\xed\xe8\xe5 (x)");
    // The colour truncates toward zero and saturates.
    CInterpreter fraction;
    RunError(fraction, "graphic g color=12.9");
    EXPECT_EQ(fraction.m_symbols.Find("g")->pGraphic->m_nColor, 12);
    CInterpreter other;
    RunError(other, "graphic g color=-1.5");
    EXPECT_EQ(other.m_symbols.Find("g")->pGraphic->m_nColor, -1);
    CInterpreter huge;
    RunError(huge, "graphic g color=1e+300");
    EXPECT_EQ(huge.m_symbols.Find("g")->pGraphic->m_nColor, 2147483647);
}

TEST_F(PlotCommandsTest, AttributesNeedNoSeparatorAndEndAtADelimiter) {
    const CVGraphic* g = Run({"graphic g color=255text=\"a\" (main curve) hiX=7"});
    ASSERT_NE(g, nullptr) << error;
    EXPECT_EQ(g->m_nColor, 255);
    EXPECT_EQ(g->m_strText, "a");
    EXPECT_EQ(g->m_dHiX, 0);
    // divY and text without an equals sign are skipped.
    CInterpreter skipped;
    RunError(skipped, "graphic g divY 5 text x");
    ASSERT_NE(skipped.m_symbols.Find("g"), nullptr);
    EXPECT_EQ(skipped.m_symbols.Find("g")->pGraphic->m_dDivY, 1);
    EXPECT_EQ(skipped.m_symbols.Find("g")->pGraphic->m_strText, "");
}

TEST_F(PlotCommandsTest, BadArgumentMessagesNameKeyCommandAndLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"graphic g hiX 5", "Bad hiX arg in command 'graphic' line (2)."},
        {"graphic g hiX=", "Bad hiX arg in command 'graphic' line (2)."},
        {"graphic g loX=x", "Bad loX arg in command 'graphic' line (2)."},
        {"graphic g loY=abc", "Bad loY arg in command 'graphic' line (2)."},
        {"graphic g hiY", "Bad hiY arg in command 'graphic' line (2)."},
        {"graphic g color 5", "Bad color arg in command 'graphic' line (2)."},
        {"graphic g color=", "Bad color arg in command 'graphic' line (2)."},
        {"graphic g divY=", "Bad divY arg in command 'graphic' line (2)."},
        {"graphic g text=abc", "Open \" not found."},
        {"graphic g text=\"abc", "Close \" not found."},
        {"graphic g Color=1", "Unknown attribute 'Color' in command 'graphic' line (2)."},
        {"graphic g color=1e5", "Unknown attribute 'e5' in command 'graphic' line (2)."},
    };
    for (auto [line, message] : cases) {
        CInterpreter fresh;
        EXPECT_EQ(RunError(fresh, Program({"", line})), std::string("Interpretation error:\n") + message) << line;
        EXPECT_EQ(fresh.m_symbols.Find("g"), nullptr) << line;
    }
}

TEST_F(PlotCommandsTest, GraphicNameMustBeNew) {
    interp.m_symbols.Set("x", NumberRec(1));
    Run({"graphic x"});
    EXPECT_EQ(error, "Interpretation error:\nVariable x redefinition.");
    CInterpreter twice;
    EXPECT_EQ(RunError(twice, Program({"graphic g", "graphic g color=5"})),
              "Interpretation error:\nVariable g redefinition.");
    EXPECT_EQ(twice.m_symbols.Find("g")->pGraphic->m_nColor, 0);
}

TEST_F(PlotCommandsTest, PlotAppendsEverySampleInArrivalOrder) {
    const CVGraphic* g = Run({"var i", "var y", "graphic g", "mark m", "set y = 100 - i", "plot g i y rest",
                              "set i = i + 1", "if i < 100", "goto m", "plot g y y"});
    ASSERT_NE(g, nullptr) << error;
    ASSERT_EQ(g->GetSampleCount(), 101);
    EXPECT_EQ(g->GetSample(0), (CSample{0, 100}));
    EXPECT_EQ(g->GetSample(99), (CSample{99, 1}));
    EXPECT_EQ(g->GetSample(100), (CSample{1, 1}));
}

TEST_F(PlotCommandsTest, PlotTakesTableAndSwitchOperands) {
    std::vector<double> values{0, 10};
    interp.m_symbols.Set("t", TableRec(0, 1, 1, &values));
    interp.m_symbols.Set("s", SwitchRec(-1, 1, 0.5));
    interp.m_symbols.Set("h", NumberRec(0.25));
    const CVGraphic* g = Run({"graphic g", "plot g t(h) s(h)", "plot g h s ( t ( h ) )"});
    ASSERT_NE(g, nullptr) << error;
    ASSERT_EQ(g->GetSampleCount(), 2);
    EXPECT_EQ(g->GetSample(0), (CSample{2.5, -1}));
    EXPECT_EQ(g->GetSample(1), (CSample{0.25, 1}));
}

TEST_F(PlotCommandsTest, PlotFailures) {
    interp.m_symbols.Set("t", NumberRec(1));
    interp.m_symbols.Set("x", NumberRec(2));
    Run({"plot g t x", "graphic g"});
    EXPECT_EQ(error, "Interpretation error:\nVariable g undefined.");
    ASSERT_EQ(RunError(interp, "graphic g"), "");
    EXPECT_EQ(RunError(interp, "plot x t x"), "Interpretation error:\nVariable x undefined.");
    EXPECT_EQ(RunError(interp, Program({"", "", "plot g 1 x"})), "Interpretation error:\nBad 'plot' command (3).");
    EXPECT_EQ(RunError(interp, "plot g t"), "Interpretation error:\nBad 'plot' command (1).");
    EXPECT_EQ(RunError(interp, "plot g t t(x)"), "");
}

}  // namespace
