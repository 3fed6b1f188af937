#include <gtest/gtest.h>
#include <iconv.h>

#include "text/Text.h"

namespace {

TEST(Conversion, RoundTripsChineseText) {
  const std::string utf8 = "正在解析下载地址，请稍候...";
  const std::string gbk = text::Utf8ToGbk(utf8);
  EXPECT_EQ(gbk.substr(0, 2), "\xD5\xFD");  // 正
  EXPECT_EQ(text::GbkToUtf8(gbk), utf8);
  EXPECT_EQ(text::Utf16ToGbk(text::GbkToUtf16(gbk)), gbk);
  // Long ASCII runs are copied eight bytes at a time; what follows them must not shift.
  const std::string mixed = "http://media.d-dj.example/路径/舞曲.mp3?a=1234567890中";
  EXPECT_EQ(text::GbkToUtf8(text::Utf8ToGbk(mixed)), mixed);
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
      {"a\xFF"
       "b",
       "a?b"},                  // invalid UTF-8 byte
      {"\xE4\xB8", "?"},        // truncated sequence
      {"\xED\xA0\x80", "???"},  // an encoded surrogate is three invalid bytes
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text::Utf8ToGbk(c.utf8), c.gbk) << c.utf8;
  }
  EXPECT_EQ(text::Utf16ToGbk(u"a\xD800z"), "a?z");
  EXPECT_EQ(text::GbkToUtf8("\xFF"
                            "a"),
            "?a");
  EXPECT_EQ(text::GbkToUtf8("a\x81"), "a?");
}

TEST(Conversion, WideToGbkStopsAtTheFirstZeroUnit) {
  using namespace std::string_literals;
  EXPECT_EQ(text::WideToGbk("\x2d\x4e\0\0\x41\0"s), "\xD6\xD0");  // U+4E2D 中
  EXPECT_EQ(text::WideToGbk("\0\0"s), "");
  EXPECT_EQ(text::WideToGbk("A\0B"s), "A");  // a lone last byte is no unit
}

}  // namespace

// The look-up tables are built from the system converter in rows; every pair
// must decode as the converter decodes it alone.
TEST(Conversion, TablesAgreeWithTheConverterOnEveryPair) {
  iconv_t cd = iconv_open("UTF-16LE", "CP936");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  int checked = 0;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      char16_t unit = 0;
      char* src = pair;
      char* dst = reinterpret_cast<char*>(&unit);
      std::size_t left = 2, room = 2;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      const bool ok = iconv(cd, &src, &left, &dst, &room) != static_cast<std::size_t>(-1) &&
                      left == 0 && room == 0;
      if (!ok) continue;
      const std::u16string got = text::GbkToUtf16(std::string_view(pair, 2));
      ASSERT_EQ(got, std::u16string(1, unit)) << std::hex << lead << " " << trail;
      ++checked;
    }
  }
  iconv_close(cd);
  EXPECT_GT(checked, 20000);  // GBK defines about 21,886 pairs
}
