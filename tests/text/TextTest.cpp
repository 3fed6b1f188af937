#include <gtest/gtest.h>

#include "text/Text.h"

namespace {

using text::Gbk;

TEST(Find, StepsOverDoubleByteCharacters) {
  // "\xB0\x61" is one double-byte character whose trail byte is "a": a search
  // for "a" must not match inside it.
  const std::string s =
      "\xB0"
      "a"
      "xa";
  EXPECT_EQ(text::Find(s, "a"), 4);
  EXPECT_EQ(text::Find(s, "a", 3), 4);
  EXPECT_EQ(text::Find(s, "q"), -1);
  EXPECT_EQ(text::Find(s, "x", -5), 3);
  EXPECT_EQ(text::Find("ABC", "b", 1, true), 2);
  EXPECT_EQ(text::Find("ABC", "b"), -1);
  // Only A-Z fold: a double-byte letter stays as it is.
  EXPECT_EQ(text::Find(Gbk("Ａ"), Gbk("ａ"), 1, true), -1);
}

TEST(TextBetween, Cases) {
  struct Case {
    std::string text, start, end, want;
  };
  const Case cases[] = {
      {"a<b>c<b>d", "<b>", "<b>", "c"},
      {"xyz", "y", "q", ""},
      {"xyz", "q", "z", ""},
      {"end first>start<", "start<", "end", ""},
      {"ab", "a", "b", ""},
      {"var url = \"http://h/x.mp3\";", Gbk("var url = #引号"), Gbk("#引号;"), "http://h/x.mp3"},
      // The end marker is searched only after the whole start marker.
      {"[[x[", "[[", "[", "x"},
      // A marker that appears inside a double-byte character does not match there.
      {"\xB0"
       "<"
       "<v>",
       "<", ">", "v"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text::TextBetween(c.text, c.start, c.end), c.want) << c.text;
  }
  EXPECT_EQ(text::TextBetween("a1a2", "a", "", 2), "");
  EXPECT_EQ(text::TextBetween("A<x>", "a<", ">", 1, true), "x");
}

TEST(Split, Rules) {
  using V = std::vector<std::string>;
  EXPECT_EQ(text::Split("", "\r\n"), V{});
  EXPECT_EQ(text::Split("a\r\n", "\r\n"), V{"a"});
  EXPECT_EQ(text::Split("a\r\n\r\nb", "\r\n"), (V{"a", "", "b"}));
  EXPECT_EQ(text::Split("\r\n", "\r\n"), V{""});
  EXPECT_EQ(text::Split("a\nb\rc", "\r\n"), V{"a\nb\rc"});
  EXPECT_EQ(text::Split("a|b|", "|"), (V{"a", "b"}));
}

TEST(Trim, AsciiAndIdeographicSpacesOnly) {
  const std::string ideo = "\xA1\xA1";
  EXPECT_EQ(text::Trim("  a b  "), "a b");
  EXPECT_EQ(text::Trim(ideo + " x" + ideo), "x");
  EXPECT_EQ(text::Trim("\ta\n"), "\ta\n");
  EXPECT_EQ(text::Trim("   "), "");
  // "\xB0\xA1" is a character; its trail byte and a following A1 are no space.
  EXPECT_EQ(text::Trim("\xB0\xA1\xA1"), "\xB0\xA1\xA1");
  EXPECT_EQ(text::RemoveSpaces("a b" + ideo + "c"), "abc");
}

TEST(Case, OnlyAsciiLettersAndNotTrailBytes) {
  EXPECT_EQ(text::LowerAscii("HTTP://A.B/"), "http://a.b/");
  // The trail byte 0x41 ("A") of a double-byte character stays.
  EXPECT_EQ(text::LowerAscii("\x81"
                             "A"
                             "A"),
            "\x81"
            "A"
            "a");
  EXPECT_EQ(text::UpperAscii("ab\x81"
                             "a"),
            "AB\x81"
            "a");
}

TEST(LeadingNumber, Cases) {
  struct Case {
    std::string text;
    double want;
  };
  const Case cases[] = {{"9999", 9999},    {" 150 ", 150}, {"abc", 0},   {"", 0},    {"12abc", 12},
                        {"-3.75x", -3.75}, {"+7", 7},      {"1.5", 1.5}, {".5", 0.5}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(text::LeadingNumber(c.text), c.want) << c.text;
  EXPECT_EQ(text::LeadingInteger("399.9"), 399);
  EXPECT_EQ(text::LeadingInteger("-2.5"), -2);
  EXPECT_EQ(text::LeadingInteger("99999999999"), 2147483647);
  const std::string fullWidth = Gbk("４５０");
  EXPECT_EQ(text::LeadingInteger(fullWidth), 0);
  EXPECT_EQ(text::LeadingInteger(fullWidth, true), 450);
}

TEST(Crc32, StandardCheckValue) {
  EXPECT_EQ(text::Crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(text::Crc32(""), 0u);
}

}  // namespace
