#include "net/text_rules.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace {

using net::findText;
using net::removeAllSpaces;
using net::splitText;
using net::textBetween;
using net::urlEncode;

struct BetweenCase {
  std::string source, left, right, expected;
};

TEST(TextBetween, FollowsTheMarkerRules) {
  const std::string page = "<p>" + "共找到<span>"_gbk + "123" + "</span>条"_gbk + "</p>";
  const BetweenCase cases[] = {
      {page, "共找到<span>"_gbk, "</span>条"_gbk, "123"},
      {page, "missing", "</span>条"_gbk, ""},
      {page, "123", "<p>", ""},                                // right marker does not follow
      {"[a][]", "[a", "]", ""},                                // markers back to back
      {"x=1;x=2;", "x=", ";", "1"},                            // first left marker only
      {"<a href=\"u\">", "href=#引号"_gbk, "#引号"_gbk, "u"},  // quote placeholder
      {"<title>T</title>", "<TITLE>", "</TITLE>", "T"},        // letter case ignored
  };
  for (const BetweenCase& c : cases) {
    EXPECT_EQ(textBetween(c.source, c.left, c.right), c.expected) << c.source << " | " << c.left;
  }
  EXPECT_EQ(textBetween("<title>T</title>", "<TITLE>", "</TITLE>", 1, true), "");
}

TEST(FindText, MatchesOnlyWhereACharacterBegins) {
  // "公司" is B9 AB CB BE: "AB CB" crosses the boundary of its two characters.
  const std::string& company = "公司"_gbk;
  EXPECT_EQ(findText(company, "\xAB\xCB"), -1);
  EXPECT_EQ(findText(company, "\xCB\xBE"), 3);
  // A trail byte equal to "A" does not start a match; the next "A" does.
  EXPECT_EQ(findText("\x81"
                     "AxA",
                     "A"),
            4);
  // Case folding touches A-Z on every byte, trail bytes included.
  EXPECT_EQ(findText("\x81"
                     "A",
                     "\x81"
                     "a",
                     1, true),
            1);
  EXPECT_EQ(findText("\x81"
                     "A",
                     "\x81"
                     "a",
                     1, false),
            -1);
  EXPECT_EQ(findText("abcabc", "abc", 2), 4);
  EXPECT_EQ(findText("abcabc", "abc", -5), 1);
  EXPECT_EQ(findText("abc", "abcd"), -1);
}

TEST(SplitText, PiecesBetweenSeparators) {
  using Pieces = std::vector<std::string>;
  EXPECT_EQ(splitText("a-b--c-", "-"), (Pieces{"a", "b", "", "c"}));
  EXPECT_EQ(splitText("-a", "-"), (Pieces{"", "a"}));
  EXPECT_EQ(splitText("", "-"), Pieces{});
  EXPECT_EQ(splitText("abc", "-"), Pieces{"abc"});
  EXPECT_EQ(splitText("abc", ""), Pieces{"abc"});
  EXPECT_EQ(splitText("aXXbXX", "XX"), (Pieces{"a", "b"}));
  // A separator inside a two-byte character is no separator.
  EXPECT_EQ(splitText("\x81-a-b", "-"), (Pieces{"\x81-a", "b"}));
  EXPECT_EQ(splitText("a" + "商铺"_gbk + "b", "商铺"_gbk), (Pieces{"a", "b"}));
}

TEST(RemoveAllSpaces, RemovesAsciiAndFullWidthSpacesOnly) {
  EXPECT_EQ(removeAllSpaces("甲 乙　丙"_gbk), "甲乙丙"_gbk);
  EXPECT_EQ(removeAllSpaces("a\tb\r\n c"), "a\tb\r\nc");
  // A1 A1 only counts where a character begins: here A1 is a trail byte.
  EXPECT_EQ(removeAllSpaces("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
  EXPECT_EQ(removeAllSpaces("\xA1\xA1\xA1"), "\xA1");
  EXPECT_TRUE(net::isBlank(" 　 "_gbk));
  EXPECT_FALSE(net::isBlank(" - "));
}

TEST(RemoveText, RemovesWholePiecesAtCharacterStarts) {
  EXPECT_EQ(net::removeText("<em>LED</em>灯<em>"_gbk, "<em>"), "LED</em>灯"_gbk);
  EXPECT_EQ(net::removeText("a\r\nb\r\n", "\r\n"), "ab");
  // "\xAB\xCB" stands across the two characters of "公司": not a piece.
  EXPECT_EQ(net::removeText("公司"_gbk, "\xAB\xCB"), "公司"_gbk);
}

TEST(UrlEncode, EncodesBytesByTheKeptSet) {
  EXPECT_EQ(urlEncode("公司"_gbk, true, true), "%E5%85%AC%E5%8F%B8");
  EXPECT_EQ(urlEncode("LED灯"_gbk, true, true), "LED%E7%81%AF");
  EXPECT_EQ(urlEncode("a b-c.d_e/f~*", true, true), "a%20b-c.d%5Fe%2Ff%7E%2A");
  EXPECT_EQ(urlEncode("公司"_gbk, true, false), "%B9%AB%CB%BE");
  EXPECT_EQ(urlEncode("a\n", false, false), "%61%0A");
  EXPECT_EQ(urlEncode("", true, true), "");
}

}  // namespace
