#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "engine/FieldCodec.h"
#include "engine/TaskInfoRecord.h"
#include "engine/TaskParamRecord.h"
#include "text/Text.h"

namespace {

using namespace std::literals;
using engine::TaskInfoRecord;
using engine::TaskParamRecord;

std::string Utf16Le(std::u16string_view units) {
  std::string bytes;
  for (char16_t unit : units) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

// The record's block bytes, as the engine sees them.
template <typename Record>
std::string Raw(const Record& record) {
  return std::string(static_cast<const char*>(record.Address()), Record::kCapacity);
}

void Put(std::string& image, std::size_t offset, std::string_view bytes) {
  image.replace(offset, bytes.size(), bytes);
}

std::string Repeat(std::string_view piece, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    out += piece;
  }
  return out;
}

// Writing through an accessor changes exactly the documented bytes.
template <typename Record>
struct AccessorCase {
  const char* field;
  std::size_t offset;
  std::string bytes;
  std::function<bool(Record&)> write;
  std::function<bool(const Record&)> readsBack;
};

template <typename Record>
void CheckAccessor(Record& record, const AccessorCase<Record>& c) {
  SCOPED_TRACE(c.field);
  const std::string before = Raw(record);
  ASSERT_TRUE(c.write(record));
  const std::string after = Raw(record);
  EXPECT_EQ(after.substr(c.offset, c.bytes.size()), c.bytes);
  std::string restored = after;
  Put(restored, c.offset, before.substr(c.offset, c.bytes.size()));
  EXPECT_EQ(restored, before) << "bytes outside the field changed";
  EXPECT_TRUE(c.readsBack(record));
}

TEST(TaskInfoRecord, SetupLaysOutTheFieldsWithStatTwo) {
  TaskInfoRecord info;
  ASSERT_NE(info.Setup(), nullptr);
  EXPECT_EQ(info.UsedSize(), 1429);
  std::string expected(1429, '\0');
  Put(expected, 0, std::string("\2\0\0\0", 4));
  EXPECT_EQ(Raw(info).substr(0, 1429), expected);
  EXPECT_EQ(info.stat(), 2);
  EXPECT_EQ(info.fail_code(), 0);
}

TEST(TaskInfoRecord, AccessorsWriteAtTheirOffsets) {
  using Info = TaskInfoRecord;
  const std::string int32Bytes("\x04\x03\x02\x81", 4);
  const std::int32_t int32 = static_cast<std::int32_t>(0x81020304u);
  const std::string int64Bytes("\x08\x07\x06\x05\x04\x03\x02\x81", 8);
  const std::int64_t int64 = static_cast<std::int64_t>(0x8102030405060708ull);
  const std::string text = text::Gbk("舞a");
  const AccessorCase<Info> cases[] = {
      {"stat", 0, int32Bytes, [&](Info& r) { return r.stat(int32); },
       [&](const Info& r) { return r.stat() == int32; }},
      {"fail_code", 4, int32Bytes, [&](Info& r) { return r.fail_code(int32); },
       [&](const Info& r) { return r.fail_code() == int32; }},
      {"szFilename", 8, Utf16Le(u"舞a\0"s), [&](Info& r) { return r.szFilename(text); },
       [&](const Info& r) { return r.szFilename() == text; }},
      {"nTotalSize", 1048, int64Bytes, [&](Info& r) { return r.nTotalSize(int64); },
       [&](const Info& r) { return r.nTotalSize() == int64; }},
      {"nTotalDownload", 1056, int64Bytes, [&](Info& r) { return r.nTotalDownload(int64); },
       [&](const Info& r) { return r.nTotalDownload() == int64; }},
      {"fPercent", 1064, std::string("\0\0\x40\x3F", 4), [](Info& r) { return r.fPercent(0.75f); },
       [](const Info& r) { return r.fPercent() == 0.75f; }},
      {"nSrcTotal", 1072, int32Bytes, [&](Info& r) { return r.nSrcTotal(int32); },
       [&](const Info& r) { return r.nSrcTotal() == int32; }},
      {"nSrcUsing", 1076, int32Bytes, [&](Info& r) { return r.nSrcUsing(int32); },
       [&](const Info& r) { return r.nSrcUsing() == int32; }},
      {"nDonationP2P", 1104, int64Bytes, [&](Info& r) { return r.nDonationP2P(int64); },
       [&](const Info& r) { return r.nDonationP2P() == int64; }},
      {"nDonationOrgin", 1120, int64Bytes, [&](Info& r) { return r.nDonationOrgin(int64); },
       [&](const Info& r) { return r.nDonationOrgin() == int64; }},
      {"nDonationP2S", 1128, int64Bytes, [&](Info& r) { return r.nDonationP2S(int64); },
       [&](const Info& r) { return r.nDonationP2S() == int64; }},
      {"nSpeed", 1152, int32Bytes, [&](Info& r) { return r.nSpeed(int32); },
       [&](const Info& r) { return r.nSpeed() == int32; }},
      {"nSpeedP2S", 1156, int32Bytes, [&](Info& r) { return r.nSpeedP2S(int32); },
       [&](const Info& r) { return r.nSpeedP2S() == int32; }},
      {"nSpeedP2P", 1160, int32Bytes, [&](Info& r) { return r.nSpeedP2P(int32); },
       [&](const Info& r) { return r.nSpeedP2P() == int32; }},
      // One byte: fHashPercent follows at the odd offset 1165 and stays untouched.
      {"bIsOriginUsable", 1164, "\1", [](Info& r) { return r.bIsOriginUsable(true); },
       [](const Info& r) { return r.bIsOriginUsable(); }},
      {"IsCreatingFile", 1169, int32Bytes, [&](Info& r) { return r.IsCreatingFile(int32); },
       [&](const Info& r) { return r.IsCreatingFile() == int32; }},
  };
  TaskInfoRecord info;
  ASSERT_NE(info.Setup(), nullptr);
  ASSERT_TRUE(info.stat(0));
  for (const auto& c : cases) {
    CheckAccessor(info, c);
  }
}

TEST(TaskParamRecord, SetupLaysOutTheFieldsAtTheirOffsets) {
  TaskParamRecord param;
  ASSERT_NE(param.Setup("http://h/a.mp3", "http://ref/", "k=v", text::Gbk("舞曲.mp3"),
                        text::Gbk("/m/DJ舞曲"), true, false),
            nullptr);
  EXPECT_EQ(param.UsedSize(), 26564);
  std::string expected(26564, '\0');
  Put(expected, 4, Utf16Le(u"http://h/a.mp3\0"s));
  Put(expected, 4172, Utf16Le(u"http://ref/\0"s));
  Put(expected, 8340, Utf16Le(u"k=v\0"s));
  Put(expected, 16532, Utf16Le(u"舞曲.mp3\0"s));
  Put(expected, 17572, Utf16Le(u"/m/DJ舞曲\0"s));
  Put(expected, 18356, "\1");  // IsOnlyOriginal
  Put(expected, 18360, "\5");  // nReserved1
  Put(expected, 18368, "\1");  // IsResume, omitted
  EXPECT_EQ(Raw(param).substr(0, 26564), expected);
}

TEST(TaskParamRecord, IsResumeIsTrueWhenOmitted) {
  struct Case {
    const char* name;
    std::function<void*(TaskParamRecord&)> setup;
    char stored;
  };
  const Case cases[] = {
      {"omitted", [](TaskParamRecord& r) { return r.Setup("u", "", "", "f", "d", false, true); },
       '\1'},
      {"true", [](TaskParamRecord& r) { return r.Setup("u", "", "", "f", "d", false, true, true); },
       '\1'},
      {"false",
       [](TaskParamRecord& r) { return r.Setup("u", "", "", "f", "d", false, true, false); }, '\0'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TaskParamRecord param;
    ASSERT_NE(c.setup(param), nullptr);
    EXPECT_EQ(Raw(param).substr(18368, 4), std::string(1, c.stored) + std::string(3, '\0'));
    EXPECT_EQ(param.IsResume(), c.stored == '\1');
    EXPECT_TRUE(param.DisableAutoRename());
    EXPECT_EQ(Raw(param).substr(18360, 4), std::string("\5\0\0\0", 4));
  }
}

TEST(TaskParamRecord, AccessorsWriteAtTheirOffsets) {
  using Param = TaskParamRecord;
  const std::string text = text::Gbk("舞a");
  const std::string wide = Utf16Le(u"舞a\0"s);
  const AccessorCase<Param> cases[] = {
      {"szTaskUrl", 4, wide, [&](Param& r) { return r.szTaskUrl(text); },
       [&](const Param& r) { return r.szTaskUrl() == text; }},
      {"szRefUrl", 4172, wide, [&](Param& r) { return r.szRefUrl(text); },
       [&](const Param& r) { return r.szRefUrl() == text; }},
      {"szCookies", 8340, wide, [&](Param& r) { return r.szCookies(text); },
       [&](const Param& r) { return r.szCookies() == text; }},
      {"szFilename", 16532, wide, [&](Param& r) { return r.szFilename(text); },
       [&](const Param& r) { return r.szFilename() == text; }},
      {"szSavePath", 17572, wide, [&](Param& r) { return r.szSavePath(text); },
       [&](const Param& r) { return r.szSavePath() == text; }},
      {"IsOnlyOriginal", 18356, "\1", [](Param& r) { return r.IsOnlyOriginal(true); },
       [](const Param& r) { return r.IsOnlyOriginal(); }},
      {"DisableAutoRename", 18364, "\1", [](Param& r) { return r.DisableAutoRename(true); },
       [](const Param& r) { return r.DisableAutoRename(); }},
      {"IsResume", 18368, "\1", [](Param& r) { return r.IsResume(true); },
       [](const Param& r) { return r.IsResume(); }},
  };
  TaskParamRecord param;
  ASSERT_NE(param.Setup("", "", "", "", "", false, false, false), nullptr);
  for (const auto& c : cases) {
    CheckAccessor(param, c);
  }
  ASSERT_TRUE(param.IsResume(false));
  EXPECT_FALSE(param.IsResume());
}

TEST(RecordTexts, LongTextsAreCutAndKeepTheirTerminator) {
  struct Case {
    int characters;
    int kept;
  };
  for (const Case& c : {Case{259, 259}, Case{260, 259}, Case{400, 259}}) {
    SCOPED_TRACE(c.characters);
    TaskInfoRecord info;
    ASSERT_NE(info.Setup(), nullptr);
    ASSERT_TRUE(info.szFilename(Repeat(text::Gbk("舞"), c.characters)));
    EXPECT_EQ(info.szFilename(), Repeat(text::Gbk("舞"), c.kept));
    EXPECT_EQ(Raw(info).substr(8 + 2 * 259, 2), std::string(2, '\0'));
    EXPECT_EQ(Raw(info).substr(528, 4), std::string(4, '\0')) << "wrote past the field";
  }
}

TEST(RecordTexts, CutNeverSplitsASurrogatePair) {
  struct Case {
    std::int64_t width;
    std::u16string stored;
  };
  const std::u16string text = u"ab\U0001F600";
  for (const Case& c : {Case{10, u"ab\U0001F600\0"s}, Case{8, u"ab\0"s}, Case{6, u"ab\0"s},
                        Case{2, std::u16string(1, u'\0')}, Case{1, u""}}) {
    SCOPED_TRACE(c.width);
    EXPECT_EQ(engine::WideFieldBytes(text, c.width), Utf16Le(c.stored));
  }
}

TEST(RecordTexts, ReadingAFieldWithoutTerminatorStopsAtItsEnd) {
  TaskInfoRecord info;
  ASSERT_NE(info.Setup(), nullptr);
  auto* block = static_cast<char*>(info.Address());
  const std::string field = Repeat(std::string("A\0", 2), 260);
  const std::string next = Repeat(std::string("B\0", 2), 260);
  std::memcpy(block + 8, field.data(), field.size());
  std::memcpy(block + 528, next.data(), next.size());
  EXPECT_EQ(info.szFilename(), std::string(260, 'A'));
}

TEST(RecordTexts, NeverSetUpRecordsReadEmpty) {
  TaskInfoRecord info;
  TaskParamRecord param;
  EXPECT_EQ(info.Address(), nullptr);
  EXPECT_EQ(param.Address(), nullptr);
  EXPECT_EQ(info.stat(), 0);
  EXPECT_EQ(info.fail_code(), 0);
  EXPECT_EQ(info.szFilename(), "");
  EXPECT_EQ(info.nTotalSize(), 0);
  EXPECT_EQ(info.nTotalDownload(), 0);
  EXPECT_EQ(info.fPercent(), 0.0f);
  EXPECT_EQ(info.nSrcTotal(), 0);
  EXPECT_EQ(info.nSrcUsing(), 0);
  EXPECT_EQ(info.nDonationP2P(), 0);
  EXPECT_EQ(info.nDonationOrgin(), 0);
  EXPECT_EQ(info.nDonationP2S(), 0);
  EXPECT_EQ(info.nSpeed(), 0);
  EXPECT_EQ(info.nSpeedP2S(), 0);
  EXPECT_EQ(info.nSpeedP2P(), 0);
  EXPECT_FALSE(info.bIsOriginUsable());
  EXPECT_EQ(info.IsCreatingFile(), 0);
  EXPECT_FALSE(info.stat(3));
  EXPECT_FALSE(info.szFilename("x"));
  EXPECT_EQ(param.szTaskUrl(), "");
  EXPECT_EQ(param.szRefUrl(), "");
  EXPECT_EQ(param.szCookies(), "");
  EXPECT_EQ(param.szFilename(), "");
  EXPECT_EQ(param.szSavePath(), "");
  EXPECT_FALSE(param.IsOnlyOriginal());
  EXPECT_FALSE(param.DisableAutoRename());
  EXPECT_FALSE(param.IsResume());
  EXPECT_FALSE(param.IsResume(true));
  EXPECT_FALSE(param.szTaskUrl("x"));
}

}  // namespace
