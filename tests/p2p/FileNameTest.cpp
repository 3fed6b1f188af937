#include <gtest/gtest.h>

#include <cstring>

#include "FileName.h"
#include "Utf16.h"

namespace {

TEST(SafeFileName, NeutralisesWhatCouldLeaveTheFolder) {
  const std::pair<const char*, const char*> cases[] = {
      {"song.mp3", "song.mp3"},
      {"../up.mp3", ".._up.mp3"},
      {"a/b\\c.mp3", "a_b_c.mp3"},
      {"..", "_"},
      {".", "_"},
      {"", "download"},
      {"tab\there\x7f.mp3", "tab_here_.mp3"},
      {"\xC2\x85next.mp3", "_next.mp3"},  // C1 control NEL
      {"bad\xFFutf8.mp3", "bad\xEF\xBF\xBDutf8.mp3"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(p2p::SafeFileName(in), out) << in;
}

TEST(SafeFileName, ShortensLongNamesAtACharacterKeepingTheExtension) {
  std::string cjk;
  for (int i = 0; i < 200; ++i) cjk += "舞";  // 3 bytes each
  const std::string name = p2p::SafeFileName(cjk + ".mp3");
  EXPECT_LE(name.size(), p2p::kMaxNameBytes);
  EXPECT_EQ(name.size() % 3, 4 % 3);  // whole characters only
  EXPECT_EQ(name, cjk.substr(0, name.size() - 4) + ".mp3");

  std::string astral;  // four bytes and two UTF-16 units each
  for (int i = 0; i < 200; ++i) astral += "\xF0\x9F\x8E\xB5";
  const std::string a = p2p::SafeFileName(astral);
  EXPECT_EQ(a.size() % 4, 0u);
  EXPECT_LE(p2p::Utf16Length(a), p2p::kMaxNameUnits);
}

TEST(AlternativeName, NumbersBeforeTheExtensionAndStillFits) {
  EXPECT_EQ(p2p::AlternativeName("x.mp3", 1), "x (1).mp3");
  EXPECT_EQ(p2p::AlternativeName("noext", 2), "noext (2)");
  EXPECT_EQ(p2p::AlternativeName(".hidden", 1), ".hidden (1)");
  const std::string longName = p2p::SafeFileName(std::string(300, 'a') + ".mp3");
  const std::string alt = p2p::AlternativeName(longName, 12);
  EXPECT_LE(alt.size(), p2p::kMaxNameBytes);
  EXPECT_EQ(alt.substr(alt.size() - 9), " (12).mp3");
}

TEST(Utf16Field, RoundTripsAndNeverReadsOrWritesPastTheField) {
  unsigned char field[12];
  std::memset(field, 0xEE, sizeof field);
  p2p::Utf8ToUtf16Field("ab\xF0\x9F\x8E\xB5舞xyz", field, 10);  // room for 4 units + 0
  EXPECT_EQ(field[10], 0xEE);
  EXPECT_EQ(p2p::Utf16FieldToUtf8(field, 10), "ab\xF0\x9F\x8E\xB5");

  const unsigned char unterminated[] = {'h', 0, 'i', 0};
  EXPECT_EQ(p2p::Utf16FieldToUtf8(unterminated, sizeof unterminated), "hi");
  const unsigned char lone[] = {0x00, 0xD8, 'x', 0, 0, 0};  // unpaired high surrogate
  EXPECT_EQ(p2p::Utf16FieldToUtf8(lone, sizeof lone), "\xEF\xBF\xBDx");
}

}  // namespace
