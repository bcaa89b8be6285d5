// The 1251 codec: Cyrillic and the irregular upper half, the byte without a
// character, and what happens to text 1251 cannot hold.
#include <gtest/gtest.h>

#include "base/Cp1251.h"

namespace {

TEST(Cp1251, EveryByteSurvivesARoundTripThroughItsCharacter) {
    EXPECT_EQ(Cp1251ToUtf8("\xd0\xee\xf1\xf2 \xc0\xff\xa8\xb8\x88\xb9\x96\n"), "Рост АяЁё€№–\n");
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
