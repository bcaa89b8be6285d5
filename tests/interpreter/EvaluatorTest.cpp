// The expression evaluator: precedence, grouping, the places where a minus
// sign belongs to a literal, malformed expressions, and operands that are
// tables and switches with their errors and value rules.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "RunHelpers.h"

namespace {

class EvaluatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        interp.m_symbols.Set("x", NumberRec(4));
        interp.m_symbols.Set("s", SwitchRec(1, 2, 5));
        interp.m_symbols.Set("t", TableRec(0, 10, 5, &tableValues));
        interp.m_symbols.Set("u", TableRec(0, 10, 4, &unevenValues));
        interp.m_symbols.Set("empty", TableRec(0, 10, 0, nullptr));
        SymbolRec graphic;
        graphic.nKind = SK_GRAPHIC;
        interp.m_symbols.Set("g", graphic);
    }

    // Evaluates the whole text; NaN stands for a failed evaluation.
    double Eval(const char* text) {
        const char* cursor = text;
        double value = 0.0;
        if (!interp.Evaluate(cursor, value)) return std::numeric_limits<double>::quiet_NaN();
        EXPECT_EQ(*cursor, '\0') << text;
        return value;
    }
    bool Fails(const char* text) { return std::isnan(Eval(text)); }
    std::string ErrorOf(const char* text) {
        try {
            Eval(text);
        } catch (const CInterpreterError& e) {
            return e.Message();
        }
        return "";
    }

    std::vector<double> tableValues{1, 2, 3};
    std::vector<double> unevenValues{10, 20, 30};
    CInterpreter interp;
};

TEST_F(EvaluatorTest, MultiplicationBindsTighterAndEqualPrecedenceGroupsLeft) {
    EXPECT_EQ(Eval("2+3*4"), 14);
    EXPECT_EQ(Eval("(2+3)*4"), 20);
    EXPECT_EQ(Eval("8-3-2"), 3);
    EXPECT_EQ(Eval("8/4/2"), 1);
    EXPECT_EQ(Eval("x*x-x/2"), 14);
}

TEST_F(EvaluatorTest, MinusWhereAnOperandIsExpectedBelongsToTheLiteral) {
    EXPECT_EQ(Eval("2*-3"), -6);
    EXPECT_EQ(Eval("2--3"), 5);
    EXPECT_EQ(Eval("2 - 3"), -1);
    EXPECT_EQ(Eval("2-3"), -1);
    EXPECT_EQ(Eval("-1.5e+1"), -15);
    // There is no unary minus for names or groups.
    EXPECT_TRUE(Fails("-x"));
    EXPECT_TRUE(Fails("-(2)"));
}

TEST_F(EvaluatorTest, UnmatchedClosingParenthesesAreDropped) {
    EXPECT_EQ(Eval("2+3)"), 5);
    EXPECT_EQ(Eval("(2))"), 2);
    EXPECT_TRUE(Fails("(2+3"));
}

TEST_F(EvaluatorTest, MalformedExpressionsFailWithoutRaising) {
    EXPECT_TRUE(Fails("2 3"));
    EXPECT_TRUE(Fails("x = 1"));
    EXPECT_TRUE(Fails("x +"));
    EXPECT_TRUE(Fails("+5"));
    EXPECT_TRUE(Fails(""));
    EXPECT_TRUE(Fails("   "));
    EXPECT_TRUE(Fails("nosuchname"));
    EXPECT_TRUE(Fails("x + nosuchname"));
    EXPECT_TRUE(Fails("x < 5"));
    EXPECT_TRUE(Fails("g"));
}

TEST_F(EvaluatorTest, DivisionByZeroFlowsOnAsInfinityOrNaN) {
    EXPECT_EQ(Eval("1/0"), std::numeric_limits<double>::infinity());
    const char* text = "0/0";
    double value = 0;
    ASSERT_TRUE(interp.Evaluate(text, value));
    EXPECT_TRUE(std::isnan(value));
}

TEST_F(EvaluatorTest, BlanksMayStandAroundTableParentheses) {
    interp.m_symbols.Set("a", NumberRec(2.5));
    EXPECT_EQ(Eval("t ( a ) + 1"), 2.5);
    EXPECT_EQ(Eval("s(x)*10"), 10);
}

TEST_F(EvaluatorTest, TableAndSwitchArgumentsMustBeSymbolOperands) {
    EXPECT_EQ(ErrorOf("t(2)"), "Interpretation error:\nMissing parameter in table variable 't'.");
    EXPECT_EQ(ErrorOf("t(g)"), "Interpretation error:\nMissing parameter in table variable 't'.");
    EXPECT_EQ(ErrorOf("t + 1"), "Interpretation error:\nMissing parameter in table variable 't'.");
    EXPECT_EQ(ErrorOf("t(x"), "Interpretation error:\nMissing parameter in table variable 't'.");
    EXPECT_EQ(ErrorOf("s + 1"), "Interpretation error:\nMissing parameter in switch variable 's'.");
    EXPECT_EQ(ErrorOf("s(1)"), "Interpretation error:\nMissing parameter in switch variable 's'.");
    EXPECT_EQ(ErrorOf("empty(x)"), "Interpretation error:\nTable 'empty' not initialized.");
}

TEST_F(EvaluatorTest, NestedCallsTakeTheInnerValueAsArgument) {
    // s(x) is 1 below the threshold 5, t(1) interpolates to 1.2.
    EXPECT_DOUBLE_EQ(Eval("t(s(x))"), 1.2);
    // The inner table's gap gives no value, so the outer call misses it.
    interp.m_symbols.Set("nine", NumberRec(9));
    EXPECT_EQ(ErrorOf("s(u(nine))"), "Interpretation error:\nMissing parameter in switch variable 's'.");
    EXPECT_TRUE(Fails("u(nine)"));  // on its own the gap fails the expression
}

TEST_F(EvaluatorTest, DeepNestingIsReadWithoutRecursion) {
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "s(";
    text += "x";
    text += std::string(200000, ')');
    EXPECT_EQ(Eval(text.c_str()), 1);
}

TEST(TableValue, InterpolatesAndHoldsBothEnds) {
    const std::vector<double> values{1, 2, 3};
    const SymbolRec rec = TableRec(0, 10, 5, &values);
    const std::pair<double, double> cases[] = {{-1, 1}, {0, 1}, {2.5, 1.5}, {5, 2}, {7.5, 2.5}, {10, 3}, {12, 3}};
    for (auto [x, expected] : cases) {
        double value = 0;
        ASSERT_TRUE(TableValue(rec, x, value)) << x;
        EXPECT_DOUBLE_EQ(value, expected) << x;
    }
    double value = 0;
    ASSERT_TRUE(TableValue(rec, std::nan(""), value));
    EXPECT_EQ(value, 1);
}

TEST(TableValue, UnevenRangeLeavesAGapBeforeItsEnd) {
    const std::vector<double> values{10, 20, 30};
    const SymbolRec rec = TableRec(0, 10, 4, &values);
    double value = 0;
    EXPECT_TRUE(TableValue(rec, 6, value));
    EXPECT_DOUBLE_EQ(value, 25);
    EXPECT_FALSE(TableValue(rec, 8, value));
    EXPECT_FALSE(TableValue(rec, 9, value));
    ASSERT_TRUE(TableValue(rec, 10, value));
    EXPECT_EQ(value, 30);
    ASSERT_TRUE(TableValue(rec, 100, value));
    EXPECT_EQ(value, 30);
}

TEST(TableValue, SinglePointRangeGivesItsValueEverywhere) {
    const std::vector<double> values{7};
    const SymbolRec rec = TableRec(3, 3, 1, &values);
    for (double x : {-100.0, 3.0, 100.0}) {
        double value = 0;
        ASSERT_TRUE(TableValue(rec, x, value));
        EXPECT_EQ(value, 7);
    }
}

TEST(SwitchValue, SwitchesAtTheThresholdAndKeepsTheFirstValueForNaN) {
    const SymbolRec rec = SwitchRec(1, 2, 5);
    EXPECT_EQ(SwitchValue(rec, 4.9), 1);
    EXPECT_EQ(SwitchValue(rec, 5), 2);
    EXPECT_EQ(SwitchValue(rec, 1e300), 2);
    EXPECT_EQ(SwitchValue(rec, std::nan("")), 1);
}

}  // namespace
