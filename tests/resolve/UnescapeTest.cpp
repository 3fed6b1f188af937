#include <gtest/gtest.h>

#include "resolve/Unescape.h"
#include "text/Text.h"

namespace {

using text::Gbk;

struct TextCase {
  std::string in;
  std::string out;
};

TEST(UnescapeTest, ScriptLiteralRoute) {
  const TextCase cases[] = {
      {"\\u4e2d", Gbk("中")},
      {"it\\'s", "it's"},
      {Gbk("a’b"), "a'b"},
      {"x{$}y", "x\r\ny"},
      {"a\r\nb", "a\r\nb"},
      {"\rabc", "abc"},
      {"\\x41\\101\\7\\18\\n\\t\\/\\q\\\\\\\"",
       "AA\a\x01"
       "8\n\t/q\\\""},
      {"\\xZ1\\u12", "xZ1%u12"},
      {"%u4e2d%41%zz 100%", Gbk("中A") + "%zz 100%"},
      {"\\/2020\\/06\\/g.m4a", "/2020/06/g.m4a"},
      {"ab\\0cd", "ab"},                   // a text ends at a zero character
      {"\\u00e9\\u0100", Gbk("é") + "?"},  // what code page 936 lacks becomes "?"
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(resolve::UnescapeText(c.in), c.out);
  }
}

TEST(UnescapeTest, InvalidLiteralFallsBackToPercentDecode) {
  const TextCase cases[] = {
      // A lone line feed: ordinary text copied, %u4e2d and the \u escape (already
      // %u by then) decoded, other backslash escapes left, %u00e9 copied.
      {"a\nb%u4e2d\\u4e2d\\t%u00e9", "a\nb" + Gbk("中中") + "\\t%u00e9"},
      {"lone\rcr", "lone\rcr"},
      {"ends with \\", "ends with \\"},
      {"line\\\nbreak", "line\\\nbreak"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(resolve::UnescapeText(c.in), c.out);
  }
}

TEST(UnescapeTest, PercentDecodeReadsUDigitsAsDecimalFirst) {
  const TextCase cases[] = {
      {"100%", "100%"},     {"%41%42", "AB"}, {"%u4e2d", Gbk("中")}, {"%u00e9", "%u00e9"},
      {"%uabcd", "%uabcd"}, {"50%2", "50%2"}, {"a%4", "a%4"},        {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(resolve::PercentDecode(c.in), c.out);
  }
}

TEST(UnescapeTest, HexValue) {
  const std::pair<const char*, std::int64_t> cases[] = {
      {"4e2d", 20013}, {"", 0}, {"FF", 255}, {"g", -2}, {"1g", 14}, {"FFFFFFFFFFFFFFFF", -1},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(resolve::HexValue(in), out) << in;
}

}  // namespace
