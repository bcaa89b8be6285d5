// Reading the table dialog's '/'-separated values text.
#include <gtest/gtest.h>

#include "diagram/TableElements.h"

namespace {

struct Reading {
    bool ok;
    bool leftOver;
    std::vector<double> values;
};

Reading Read(const std::string& text, size_t n) {
    Reading r{false, false, std::vector<double>(n, 0.0)};
    r.ok = ReadTableValues(text, r.values, r.leftOver);
    return r;
}

using V = std::vector<double>;

}  // namespace

TEST(TableValues, FillsValuesInOrderAndZeroesMissingOnes) {
    auto r = Read("1/2/3", 3);
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(r.leftOver);
    EXPECT_EQ(r.values, (V{1, 2, 3}));
    EXPECT_EQ(Read("1/2", 3).values, (V{1, 2, 0}));
    EXPECT_FALSE(Read("1/2", 3).leftOver);
    EXPECT_EQ(Read("1//3", 3).values, (V{1, 0, 3}));
    EXPECT_EQ(Read("", 3).values, (V{0, 0, 0}));
    EXPECT_TRUE(Read("", 3).ok);
}

TEST(TableValues, SpacesAroundNumbersAreSkipped) {
    auto r = Read(" 5 / 6 ", 3);
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(r.leftOver);
    EXPECT_EQ(r.values, (V{5, 6, 0}));
}

TEST(TableValues, MoreFieldsThanValuesAreLeftOver) {
    auto r = Read("1/2/3/4", 3);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.leftOver);
    EXPECT_EQ(r.values, (V{1, 2, 3}));
}

TEST(TableValues, TrailingSlashIsNotLeftOver) {
    auto r = Read("1/2/", 3);
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(r.leftOver);
    EXPECT_EQ(r.values, (V{1, 2, 0}));
}

TEST(TableValues, ForeignCharacterFailsKeepingWhatWasRead) {
    auto r = Read("1;2", 3);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.values, (V{1, 0, 0}));
    EXPECT_FALSE(Read("1/x", 3).ok);
}

TEST(TableValues, FollowsTheProgramNumberRule) {
    auto bare = Read("1e5/2", 2);
    EXPECT_FALSE(bare.ok);  // an e without a sign is not part of the number
    EXPECT_EQ(bare.values[0], 100000.0);  // the failing field keeps its conversion
    auto signedExp = Read("1e+5/2", 2);
    EXPECT_TRUE(signedExp.ok);
    EXPECT_EQ(signedExp.values, (V{100000, 2}));
    EXPECT_FALSE(Read("+3", 1).ok);
    EXPECT_EQ(Read("-3/.5", 2).values, (V{-3, 0.5}));
    EXPECT_TRUE(Read("-3/.5", 2).ok);
}

TEST(TableValues, ReadingIsIndependentOfTheLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_ALL, "ru_RU.UTF-8") == nullptr) GTEST_SKIP() << "no Russian locale";
    auto r = Read("1.5/2.25", 2);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.values, (V{1.5, 2.25}));
}
