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

// Values fill in order and missing ones stay zero; blanks around numbers
// are skipped; surplus fields are left over (a trailing slash is not); a
// foreign character fails, keeping what was read; numbers follow the
// program's rule, so "1e5" stops before the "e" and the field fails.
TEST(TableValues, ReadingRule) {
    struct Case {
        const char* text;
        size_t n;
        bool ok;
        bool leftOver;
        V values;
    };
    const Case cases[] = {
        {"1/2/3", 3, true, false, {1, 2, 3}},
        {"1/2", 3, true, false, {1, 2, 0}},
        {"1//3", 3, true, false, {1, 0, 3}},
        {"", 3, true, false, {0, 0, 0}},
        {" 5 / 6 ", 3, true, false, {5, 6, 0}},
        {"1/2/3/4", 3, true, true, {1, 2, 3}},
        {"1/2/", 3, true, false, {1, 2, 0}},
        {"1;2", 3, false, false, {1, 0, 0}},
        {"1/x", 3, false, false, {1, 0, 0}},
        {"1e5/2", 2, false, false, {100000, 0}},
        {"1e+5/2", 2, true, false, {100000, 2}},
        {"+3", 1, false, false, {3}},  // the failing field keeps its conversion
        {"-3/.5", 2, true, false, {-3, 0.5}},
    };
    for (const Case& c : cases) {
        const Reading r = Read(c.text, c.n);
        EXPECT_EQ(r.ok, c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(r.leftOver, c.leftOver) << c.text;
        }
        EXPECT_EQ(r.values, c.values) << c.text;
    }
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
