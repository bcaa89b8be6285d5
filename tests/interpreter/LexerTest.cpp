// The character-level readers: lines and their terminators, words and the
// delimiter set, the number scanner against the conversion, quoted texts.
#include <gtest/gtest.h>

#include "interpreter/InterpreterError.h"
#include "interpreter/Lexer.h"

namespace {

std::string QuotedError(const char* text) {
    const char* cursor = text;
    try {
        ReadQuoted(cursor);
    } catch (const CInterpreterError& e) {
        return e.Message();
    }
    return "";
}

TEST(Lexer, ReadLineEndsAtCarriageReturnWithOptionalLineFeedKeepingBlanks) {
    const char* text = "a\r\nb\rc\nd";
    const char* cursor = text;
    EXPECT_EQ(ReadLine(cursor), "a");
    EXPECT_EQ(ReadLine(cursor), "b");
    EXPECT_EQ(ReadLine(cursor), "c\nd");
    EXPECT_EQ(*cursor, '\0');
    EXPECT_EQ(ReadLine(cursor), "");
    EXPECT_EQ(*cursor, '\0');
    // Leading spaces stay; empty lines come back empty.
    cursor = "  x\r\n\r\n\r\r\n";
    EXPECT_EQ(ReadLine(cursor), "  x");
    EXPECT_EQ(ReadLine(cursor), "");
    EXPECT_EQ(ReadLine(cursor), "");
    EXPECT_EQ(ReadLine(cursor), "");
    EXPECT_EQ(*cursor, '\0');
}

TEST(Lexer, ReadWordStopsOnDelimitersWithoutConsumingThem) {
    const char* cursor = "  set x=1";
    EXPECT_EQ(ReadWord(cursor), "set");
    EXPECT_EQ(ReadWord(cursor), "x");
    EXPECT_EQ(*cursor, '=');
    EXPECT_EQ(ReadWord(cursor), "");
    EXPECT_EQ(*cursor, '=');
    for (const char* delimiters : {"+", "-", "/", "*", "=", "(", ")"}) {
        std::string text = std::string("ab") + delimiters + "c";
        const char* p = text.c_str();
        EXPECT_EQ(ReadWord(p), "ab") << delimiters;
    }
    // Comparisons, tabs and quotes belong to words.
    cursor = "x<5";
    EXPECT_EQ(ReadWord(cursor), "x<5");
    cursor = "t\tx y";
    EXPECT_EQ(ReadWord(cursor), "t\tx");
    cursor = "a,b;'c\"\xe0\xff rest";
    EXPECT_EQ(ReadWord(cursor), "a,b;'c\"\xe0\xff");
}

TEST(Lexer, BlanksAreSkippedAndTrailingOnesIgnored) {
    const char* cursor = "   =5";
    EXPECT_EQ(ReadChar(cursor), '=');
    EXPECT_EQ(*cursor, '5');
    cursor = "   ";
    EXPECT_EQ(ReadChar(cursor), '\0');
    EXPECT_EQ(*cursor, '\0');

    EXPECT_FALSE(HasMoreText(""));
    EXPECT_FALSE(HasMoreText("    "));
    EXPECT_TRUE(HasMoreText("  x"));
    EXPECT_TRUE(HasMoreText("\t"));
    EXPECT_EQ(SkipSpaces("  \tx"), 2u);
}

TEST(Lexer, NumberLengthFollowsTheScannerRule) {
    const std::pair<const char*, size_t> cases[] = {
        {"-12.5e-3", 8}, {"1.2.3", 0}, {"e+3", 0}, {"-", 1}, {"+5", 0}, {"7abc", 1}, {"1e5", 1},
        {"1e+5e+2", 0}, {"12.", 3}, {".5", 2}, {"1.e+3", 5}, {"1e+5.3", 6}, {".", 1}, {"3-2", 1},
        {"2E+3", 1}, {"0x10", 1}, {"", 0}, {"-e+1", 4},
    };
    for (auto [text, length] : cases) EXPECT_EQ(NumberLength(text), length) << text;
}

TEST(Lexer, ConsumedLengthAndValueMayDisagree) {
    double value = 0;
    const char* cursor = "1e5";
    ASSERT_TRUE(ReadNumber(cursor, value));
    EXPECT_EQ(value, 100000);
    EXPECT_STREQ(cursor, "e5");
    cursor = "2E+3";
    ASSERT_TRUE(ReadNumber(cursor, value));
    EXPECT_EQ(value, 2000);
    EXPECT_STREQ(cursor, "E+3");
    cursor = "0x10";
    ASSERT_TRUE(ReadNumber(cursor, value));
    EXPECT_EQ(value, 0);
    cursor = "-";
    ASSERT_TRUE(ReadNumber(cursor, value));
    EXPECT_EQ(value, 0);
}

TEST(Lexer, ReadNumberMovesPastSpacesEvenWhenItFails) {
    double value = 0;
    const char* cursor = "  abc";
    EXPECT_FALSE(ReadNumber(cursor, value));
    EXPECT_STREQ(cursor, "abc");
    cursor = " 42 ";
    ASSERT_TRUE(ReadNumber(cursor, value));
    EXPECT_EQ(value, 42);
    EXPECT_STREQ(cursor, " ");
    // ReadNumberAt counts the spaces even without a number.
    value = 1;
    EXPECT_EQ(ReadNumberAt("  3.5,", value), 5u);
    EXPECT_EQ(value, 3.5);
    EXPECT_EQ(ReadNumberAt("   x", value), 3u);
    EXPECT_EQ(value, 0);
}

TEST(Lexer, ReadQuotedTakesEverythingBetweenTheQuotes) {
    const char* cursor = " \"a b(x)\" rest";
    EXPECT_EQ(ReadQuoted(cursor), "a b(x)");
    EXPECT_STREQ(cursor, " rest");
    cursor = "\"\"";
    EXPECT_EQ(ReadQuoted(cursor), "");
    EXPECT_EQ(QuotedError("abc"), "Interpretation error:\nOpen \" not found.");
    EXPECT_EQ(QuotedError("   "), "Interpretation error:\nOpen \" not found.");
    EXPECT_EQ(QuotedError("\"abc"), "Interpretation error:\nClose \" not found.");
}

}  // namespace
