// Number conversions: the decimal reading rule, "%g" and round-trip text,
// saturating conversions, and independence from a Russian process locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "base/Numbers.h"
#include "base/TextReaders.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Numbers, DecimalConversionReadsDecimalNotationOnly) {
    EXPECT_EQ(DecimalToDouble("1.05"), 1.05);
    EXPECT_EQ(DecimalToDouble("  -2.5e+2xyz"), -250);
    EXPECT_EQ(DecimalToDouble("1E5"), 100000);
    EXPECT_EQ(DecimalToDouble("+7"), 7);
    EXPECT_EQ(DecimalToDouble(".5"), 0.5);
    EXPECT_EQ(DecimalToDouble("12."), 12);
    EXPECT_EQ(DecimalToDouble("1e"), 1);
    EXPECT_EQ(DecimalToDouble("0x10"), 0);
    EXPECT_EQ(DecimalToDouble("inf"), 0);
    EXPECT_EQ(DecimalToDouble("nan"), 0);
    EXPECT_EQ(DecimalToDouble("-"), 0);
    EXPECT_EQ(DecimalToDouble("."), 0);
    EXPECT_EQ(DecimalToDouble(""), 0);
    EXPECT_EQ(DecimalToDouble("1,5"), 1);
}

TEST(Numbers, DecimalConversionOverflowsToInfinity) {
    EXPECT_EQ(DecimalToDouble("1e+400"), kInf);
    EXPECT_EQ(DecimalToDouble("-1e+400"), -kInf);
    EXPECT_EQ(DecimalToDouble("1e-400"), 0);
    EXPECT_EQ(DecimalToDouble(std::string(400, '9')), kInf);
}

TEST(Numbers, FormatGWritesLikePercentG) {
    EXPECT_EQ(FormatG(0), "0");
    EXPECT_EQ(FormatG(1.5), "1.5");
    EXPECT_EQ(FormatG(100000), "100000");
    EXPECT_EQ(FormatG(1000000), "1e+06");
    EXPECT_EQ(FormatG(0.0001), "0.0001");
    EXPECT_EQ(FormatG(0.00001), "1e-05");
    EXPECT_EQ(FormatG(1.0 / 3), "0.333333");
    EXPECT_EQ(FormatG(-2.5), "-2.5");
}

TEST(Numbers, RoundTripTextReadsBackExactly) {
    for (double v : {0.1, 1.0 / 3, -1e-300, 6.02214076e23, 5e-324}) {
        const std::string text = FormatRoundTrip(v);
        EXPECT_EQ(DecimalToDouble(text), v) << text;
    }
    EXPECT_EQ(FormatRoundTrip(2), "2");
    EXPECT_EQ(FormatRoundTrip(kInf), "inf");
    EXPECT_EQ(FormatRoundTrip(-kInf), "-inf");
    EXPECT_EQ(FormatRoundTrip(std::nan("")), "nan");
}

TEST(Numbers, SaturatingTruncNeverLeavesInt32) {
    EXPECT_EQ(SaturatingTrunc(12.9), 12);
    EXPECT_EQ(SaturatingTrunc(-1.5), -1);
    EXPECT_EQ(SaturatingTrunc(std::nan("")), 0);
    EXPECT_EQ(SaturatingTrunc(kInf), 2147483647);
    EXPECT_EQ(SaturatingTrunc(-kInf), -2147483647 - 1);
    EXPECT_EQ(SaturatingTrunc(3e9), 2147483647);
    EXPECT_EQ(SaturatingTrunc(-3e9), -2147483647 - 1);
    EXPECT_EQ(SaturatingTrunc(2147483647.9), 2147483647);
    EXPECT_EQ(SaturatingTrunc(-2147483648.9), -2147483647 - 1);
}

TEST(Numbers, SaturatingArithmetic) {
    EXPECT_EQ(SaturatingAdd(2147483647, 1), 2147483647);
    EXPECT_EQ(SaturatingAdd(-2147483647 - 1, -1), -2147483647 - 1);
    EXPECT_EQ(SaturatingAdd(2, 3), 5);
    EXPECT_EQ(SaturatingMul(65536, 65536), 2147483647);
    EXPECT_EQ(SaturatingMul(-65536, 65536), -2147483647 - 1);
    EXPECT_EQ(SaturatingMul(-7, 3), -21);
}

// Restores the locale the test found.
class RussianLocale : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = std::setlocale(LC_ALL, nullptr);
        if (!std::setlocale(LC_ALL, "ru_RU.UTF-8")) GTEST_SKIP() << "ru_RU.UTF-8 locale not installed";
    }
    void TearDown() override { std::setlocale(LC_ALL, m_previous.c_str()); }
    std::string m_previous;
};

TEST_F(RussianLocale, ConversionsKeepTheDecimalPoint) {
    // The locale really uses a comma, or the test proves nothing.
    EXPECT_EQ(std::string(std::localeconv()->decimal_point), ",");
    EXPECT_EQ(DecimalToDouble("1.05"), 1.05);
    EXPECT_EQ(DecimalToDouble("1e+400"), kInf);
    EXPECT_EQ(FormatG(1.05), "1.05");
    EXPECT_EQ(FormatRoundTrip(0.1), "0.1");
    double value = 0;
    EXPECT_EQ(ReadNumberAt(" 2.5", value), 4u);
    EXPECT_EQ(value, 2.5);
}

}  // namespace
