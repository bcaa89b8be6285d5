// Number conversions, also under a Russian process locale, and the 1251
// codec.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "base/Cp1251.h"
#include "base/Numbers.h"
#include "base/OptionReader.h"
#include "base/WholeText.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int32_t kMin = INT32_MIN, kMax = INT32_MAX;

TEST(Numbers, DecimalConversionReadsDecimalNotationOnlyAndOverflowsToInfinity) {
    const std::pair<const char*, double> cases[] = {
        {"1.05", 1.05}, {"  -2.5e+2xyz", -250}, {"1E5", 100000}, {"+7", 7}, {".5", 0.5}, {"12.", 12}, {"1e", 1},
        {"0x10", 0}, {"inf", 0}, {"nan", 0}, {"-", 0}, {".", 0}, {"", 0}, {"1,5", 1},
        {"1e+400", kInf}, {"-1e+400", -kInf}, {"1e-400", 0},
    };
    for (auto [text, value] : cases) EXPECT_EQ(DecimalToDouble(text), value) << text;
    EXPECT_EQ(DecimalToDouble(std::string(400, '9')), kInf);
}

TEST(Numbers, FormatGWritesLikePercentGAndRoundTripTextReadsBack) {
    EXPECT_EQ(FormatG(1.0 / 3), "0.333333");  // the rest through the graphs' labels and ticks
    for (double v : {0.1, 1.0 / 3, -1e-300, 6.02214076e23, 5e-324})
        EXPECT_EQ(DecimalToDouble(FormatRoundTrip(v)), v) << FormatRoundTrip(v);
    EXPECT_EQ(FormatRoundTrip(2) + FormatRoundTrip(kInf) + FormatRoundTrip(-kInf) + FormatRoundTrip(std::nan("")),
              "2inf-infnan");
}

TEST(Numbers, SaturatingConversionsNeverLeaveInt32) {
    const std::pair<double, int32_t> cases[] = {  // ordinary values as the corpus's colours
        {std::nan(""), 0}, {kInf, kMax}, {-kInf, kMin}, {2147483647.9, kMax}, {-2147483648.9, kMin},
    };
    for (auto [value, expected] : cases) EXPECT_EQ(SaturatingTrunc(value), expected) << value;
    EXPECT_EQ((std::vector<int32_t>{SaturatingAdd(kMax, 1), SaturatingAdd(kMin, -1), SaturatingAdd(2, 3),
                                    SaturatingMul(65536, 65536), SaturatingMul(-65536, 65536), SaturatingMul(-7, 3)}),
              (std::vector<int32_t>{kMax, kMin, 5, kMax, kMin, -21}));
}

// The conversions must not follow the process locale's decimal comma.
TEST(Numbers, ConversionsKeepTheDecimalPointUnderARussianLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "ru_RU.UTF-8")) GTEST_SKIP() << "ru_RU.UTF-8 locale not installed";
    EXPECT_EQ(std::string(std::localeconv()->decimal_point), ",");  // or the test proves nothing
    EXPECT_EQ(DecimalToDouble("1.05"), 1.05);
    EXPECT_EQ(DecimalToDouble("1e+400"), kInf);
    EXPECT_EQ(FormatG(1.05) + " " + FormatRoundTrip(0.1), "1.05 0.1");
    std::setlocale(LC_ALL, previous.c_str());
}

// Every byte survives a round trip through its character; text 1251 cannot
// hold, or that is no UTF-8, is reported with "?" in its place.
TEST(Cp1251, CodesEveryByteAndReportsWhatItCannot) {
    EXPECT_EQ(Cp1251ToUtf8("\xd0\xee\xf1\xf2 \xc0\xff\xa8\xb8\x88\xb9\x96\n"), "Рост АяЁё€№–\n");
    std::string all, back;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    ASSERT_TRUE(Utf8ToCp1251(Cp1251ToUtf8(all), back));
    EXPECT_EQ(back, all);
    const std::pair<const char*, const char*> bad[] = {
        {"\xe4\xb8\xad", "?"}, {"a\xff" "b", "a?b"}, {"\xd0", ""}, {"\xc0\xaf", ""},  // CJK, truncated, overlong
    };
    for (auto [text, lossy] : bad) {
        EXPECT_FALSE(Utf8ToCp1251(text, back)) << text;
        EXPECT_EQ(*lossy ? back : "", lossy);
    }
    EXPECT_EQ(Utf8ToCp1251Lossy("\xd0\xaf\xf0\x9f\x98\x80"), "\xdf?");
}

}  // namespace

TEST(WholeText, TakesOnlyATextThatIsWhollyTheNumber) {
    using S = EDecimalSeparator;
    EXPECT_EQ(ReadWholeCount("12"), 12u);
    for (const char* bad : {"", "12 ", "-1", "1e3", "18446744073709551616"}) EXPECT_FALSE(ReadWholeCount(bad)) << bad;
    EXPECT_EQ(ReadWholeFinite("-1.5e2"), -150.0);
    EXPECT_EQ(ReadWholeFinite("+2"), 2.0);
    EXPECT_FALSE(ReadWholeFinite("1,5"));
    EXPECT_EQ(ReadWholeFinite("0.05", S::PointOrComma), 0.05);
    for (const char* bad : {"", "abc", "12abc", " 1", "1e999", "inf", "nan", "0x10", "1,000,5", "1,5.2", "+-1", ","})
        EXPECT_FALSE(ReadWholeFinite(bad, S::PointOrComma)) << bad;
}

TEST(OptionReader, TakesBothSpellingsKeepsWordsAndNamesTheFirstMistake) {
    uint64_t steps = 0;
    bool bFlag = false;
    std::string out;
    const std::vector<COptionRule> rules = {CountOption("--steps", steps), FlagOption("--flag", bFlag),
                                            TextOption("-o", out)};
    const COptionResult read = ReadOptions({"a", "--steps=7", "-", "-o", "x=y", "--flag", "b"}, rules);
    EXPECT_EQ(read.strError, "");
    EXPECT_EQ(read.positionals, (std::vector<std::string>{"a", "-", "b"}));
    EXPECT_EQ(steps, 7u);
    EXPECT_TRUE(bFlag);
    EXPECT_EQ(out, "x=y");
    EXPECT_EQ(ReadOptions({"--steps", "8"}, rules).strError, "");
    EXPECT_EQ(steps, 8u);
    const std::pair<std::vector<std::string>, const char*> mistakes[] = {
        {{"--verbose=1"}, "unknown option '--verbose'"}, {{"--steps"}, "--steps needs a value"},
        {{"--steps=ten"}, "--steps needs a whole number, not 'ten'"}, {{"--flag=1"}, "--flag takes no value"},
        {{"--steps", "-1", "--verbose"}, "--steps needs a whole number, not '-1'"},
    };
    for (const auto& [args, message] : mistakes) EXPECT_EQ(ReadOptions(args, rules).strError, message);
}
