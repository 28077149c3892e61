#include <gtest/gtest.h>

#include "TextCodec.h"

TEST(TextCodec, WindowsCyrillicToUtf8AndBack) {
    // Every byte survives the round trip, the unassigned 0x98 included.
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    bool lossless = false;
    EXPECT_EQ(utf8ToCp1251(cp1251ToUtf8(all), &lossless), all);
    EXPECT_TRUE(lossless);

    EXPECT_EQ(cp1251ToUtf8("\xC0\xFF"), "Ая");
    EXPECT_EQ(cp1251ToUtf8("\xA8\xB8\xB9"), "Ёё№");
    EXPECT_EQ(cp1251ToUtf8("\x80\x88\xB0"), "Ђ€°");  // the real Windows-1251 table, not Latin-1
    EXPECT_EQ(utf8ToCp1251("Пуля 7,62"), "\xCF\xF3\xEB\xFF 7,62");

    // Characters Windows-1251 has no byte for, and broken UTF-8, become '?'.
    EXPECT_EQ(utf8ToCp1251("a\xE4\xB8\xADz", &lossless), "a?z");
    EXPECT_FALSE(lossless);
    EXPECT_EQ(utf8ToCp1251("a\xD0z"), "a?z");
}
