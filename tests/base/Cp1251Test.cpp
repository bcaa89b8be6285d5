// The 1251 codec: Cyrillic and the irregular upper half, the byte without a
// character, and what happens to text 1251 cannot hold.
#include <gtest/gtest.h>

#include "base/Cp1251.h"

namespace {

TEST(Cp1251, CyrillicLettersMapToUtf8) {
    EXPECT_EQ(Cp1251ToUtf8("\xd0\xee\xf1\xf2"), "\xd0\xa0\xd0\xbe\xd1\x81\xd1\x82");  // Рост
    EXPECT_EQ(Cp1251ToUtf8("\xc0\xff"), "\xd0\x90\xd1\x8f");                          // Ая
    EXPECT_EQ(Cp1251ToUtf8("\xa8\xb8"), "\xd0\x81\xd1\x91");                          // Ёё
    EXPECT_EQ(Cp1251ToUtf8("\x88\xb9\x96"), "\xe2\x82\xac\xe2\x84\x96\xe2\x80\x93");  // €№–
    EXPECT_EQ(Cp1251ToUtf8("plain\n"), "plain\n");
}

TEST(Cp1251, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    std::string back;
    ASSERT_TRUE(Utf8ToCp1251(Cp1251ToUtf8(all), back));
    EXPECT_EQ(back, all);
}

TEST(Cp1251, UnrepresentableOrMalformedTextIsReported) {
    std::string out;
    EXPECT_FALSE(Utf8ToCp1251("\xe4\xb8\xad", out));  // a CJK character
    EXPECT_EQ(out, "?");
    EXPECT_FALSE(Utf8ToCp1251("a\xff" "b", out));
    EXPECT_EQ(out, "a?b");
    EXPECT_FALSE(Utf8ToCp1251("\xd0", out));  // truncated sequence
    EXPECT_FALSE(Utf8ToCp1251("\xc0\xaf", out));  // overlong slash
    EXPECT_EQ(Utf8ToCp1251Lossy("\xd0\xaf\xf0\x9f\x98\x80"), "\xdf?");
}

}  // namespace
