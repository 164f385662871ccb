#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace {

using platform::gbkToUtf8;
using platform::utf8ToGbk;

TEST(CodePage, Utf8ToGbkConvertsChineseToTwoByteCharacters) {
  EXPECT_EQ(utf8ToGbk("公司"), "\xB9\xAB\xCB\xBE");
  EXPECT_EQ(utf8ToGbk("LED灯 a"), "LED\xB5\xC6 a");
  EXPECT_EQ(gbkToUtf8("\xB9\xAB\xCB\xBE"), "公司");
}

TEST(CodePage, CharactersWithoutGbkFormBecomeQuestionMarks) {
  // An emoji (a surrogate pair in UTF-16) and a Hangul syllable.
  EXPECT_EQ(utf8ToGbk("a\xF0\x9F\x98\x80"
                      "b"),
            "a?b");
  EXPECT_EQ(utf8ToGbk("\xED\x95\x9C公"), "?\xB9\xAB");
}

TEST(CodePage, InvalidUtf8GivesTextNeverAnError) {
  EXPECT_EQ(utf8ToGbk("a\xFF"
                      "b"),
            "a?b");
  EXPECT_EQ(utf8ToGbk("x\xE5\x85"), "x??");  // truncated at the end
  EXPECT_EQ(utf8ToGbk(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(utf8ToGbk(""), "");
}

TEST(CodePage, WideTextIsLittleEndianWithZeroUnit) {
  EXPECT_EQ(platform::toWide("A\xB9\xAB", platform::kCodePageGbk, true), std::string("A\0\x6C\x51\0\0", 6));
  // useCodePage false reads UTF-8 whatever the code page says.
  EXPECT_EQ(platform::toWide("公", platform::kCodePageGbk, false), std::string("\x6C\x51\0\0", 4));
  EXPECT_EQ(platform::fromWide(std::string("\x6C\x51\0\0Z\0", 6), 0, false), "\xB9\xAB");
}

TEST(CodePage, GbkLiteralIsConvertedOnce) {
  const std::string& first = "公司"_gbk;
  EXPECT_EQ(first, "\xB9\xAB\xCB\xBE");
  EXPECT_EQ(&first, &"公司"_gbk);
}

}  // namespace
