#include "engine/TaskParamRecord.h"

#include "engine/FieldCodec.h"

namespace engine {
namespace {

constexpr std::int32_t kUrlWidth = 4168;
constexpr std::int32_t kCookiesWidth = 8192;
constexpr std::int32_t kPathWidth = 520;
constexpr std::int32_t kShortTextWidth = 128;
constexpr std::int32_t kReservedWidth = 8192;

std::string ByteBool(bool value) { return std::string(1, value ? '\1' : '\0'); }

}  // namespace

void* TaskParamRecord::Setup(std::string_view taskAddress, std::string_view referrer,
                             std::string_view cookieText, std::string_view fileName,
                             std::string_view saveDirectory, bool isOnlyOriginal,
                             bool disableAutoRename, bool isResume) {
  if (fields_.Create(1, 0xCC, kCapacity) == 0) {
    return nullptr;
  }
  fields_.AddField("nReserved", 4, Int32Bytes(0));
  fields_.AddField("szTaskUrl", kUrlWidth, WideFieldFromGbk(taskAddress, kUrlWidth));
  fields_.AddField("szRefUrl", kUrlWidth, WideFieldFromGbk(referrer, kUrlWidth));
  fields_.AddField("szCookies", kCookiesWidth, WideFieldFromGbk(cookieText, kCookiesWidth));
  fields_.AddField("szFilename", kPathWidth, WideFieldFromGbk(fileName, kPathWidth));
  fields_.AddField("szReserved0", kPathWidth);
  fields_.AddField("szSavePath", kPathWidth, WideFieldFromGbk(saveDirectory, kPathWidth));
  fields_.AddField("hReserved", 4, Int32Bytes(0));
  fields_.AddField("bReserved", 4, ByteBool(false));
  fields_.AddField("szReserved1", kShortTextWidth);
  fields_.AddField("szReserved2", kShortTextWidth);
  fields_.AddField("IsOnlyOriginal", 4, ByteBool(isOnlyOriginal));
  fields_.AddField("nReserved1", 4, std::string(1, '\5'));
  fields_.AddField("DisableAutoRename", 4, ByteBool(disableAutoRename));
  fields_.AddField("IsResume", 4, ByteBool(isResume));
  fields_.AddField("reserved", kReservedWidth);
  return fields_.Address();
}

std::string TaskParamRecord::szTaskUrl() const { return ReadText(fields_, "szTaskUrl"); }
bool TaskParamRecord::szTaskUrl(std::string_view value) {
  return WriteText(fields_, "szTaskUrl", value);
}
std::string TaskParamRecord::szRefUrl() const { return ReadText(fields_, "szRefUrl"); }
bool TaskParamRecord::szRefUrl(std::string_view value) {
  return WriteText(fields_, "szRefUrl", value);
}
std::string TaskParamRecord::szCookies() const { return ReadText(fields_, "szCookies"); }
bool TaskParamRecord::szCookies(std::string_view value) {
  return WriteText(fields_, "szCookies", value);
}
std::string TaskParamRecord::szFilename() const { return ReadText(fields_, "szFilename"); }
bool TaskParamRecord::szFilename(std::string_view value) {
  return WriteText(fields_, "szFilename", value);
}
std::string TaskParamRecord::szSavePath() const { return ReadText(fields_, "szSavePath"); }
bool TaskParamRecord::szSavePath(std::string_view value) {
  return WriteText(fields_, "szSavePath", value);
}
bool TaskParamRecord::IsOnlyOriginal() const { return ReadBool(fields_, "IsOnlyOriginal"); }
bool TaskParamRecord::IsOnlyOriginal(bool value) {
  return WriteByteBool(fields_, "IsOnlyOriginal", value);
}
bool TaskParamRecord::DisableAutoRename() const { return ReadBool(fields_, "DisableAutoRename"); }
bool TaskParamRecord::DisableAutoRename(bool value) {
  return WriteByteBool(fields_, "DisableAutoRename", value);
}
bool TaskParamRecord::IsResume() const { return ReadBool(fields_, "IsResume"); }
bool TaskParamRecord::IsResume(bool value) { return WriteByteBool(fields_, "IsResume", value); }

}  // namespace engine
