#include <gtest/gtest.h>

#include "text/Text.h"

namespace {

TEST(Conversion, RoundTripsChineseText) {
  const std::string utf8 = "正在解析下载地址，请稍候...";
  const std::string gbk = text::Utf8ToGbk(utf8);
  EXPECT_EQ(gbk.substr(0, 2), "\xD5\xFD");  // 正
  EXPECT_EQ(text::GbkToUtf8(gbk), utf8);
  EXPECT_EQ(text::Utf16ToGbk(text::GbkToUtf16(gbk)), gbk);
  EXPECT_EQ(text::Gbk("　"), "\xA1\xA1");
  EXPECT_EQ(text::Gbk("’"), "\xA1\xAF");
  EXPECT_EQ(text::Gbk("€"), "\x80");
}

TEST(Conversion, WhatCodePage936CannotHoldBecomesQuestionMark) {
  struct Case {
    std::string utf8, gbk;
  };
  const Case cases[] = {
      {"a\xF0\x9F\x8E\xB5z", "a?z"},  // a character outside the BMP
      {"\xC3\xA9", "\xA8\xA6"},       // é is in code page 936
      {"a\xFF" "b", "a?b"},           // invalid UTF-8 byte
      {"\xE4\xB8", "?"},              // truncated sequence
      {"\xED\xA0\x80", "???"},        // an encoded surrogate is three invalid bytes
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text::Utf8ToGbk(c.utf8), c.gbk) << c.utf8;
  }
  EXPECT_EQ(text::Utf16ToGbk(u"a\xD800z"), "a?z");
  EXPECT_EQ(text::GbkToUtf8("\xFF" "a"), "?a");
  EXPECT_EQ(text::GbkToUtf8("a\x81"), "a?");
}

TEST(Conversion, WideToGbkStopsAtTheFirstZeroUnit) {
  using namespace std::string_literals;
  EXPECT_EQ(text::WideToGbk("\x2d\x4e\0\0\x41\0"s), "\xD6\xD0");  // U+4E2D 中
  EXPECT_EQ(text::WideToGbk("\0\0"s), "");
  EXPECT_EQ(text::WideToGbk("A\0B"s), "A");  // a lone last byte is no unit
}

}  // namespace
