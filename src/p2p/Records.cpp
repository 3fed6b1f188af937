#include "Records.h"

#include <cstring>

#include "RecordLayout.h"
#include "Utf16.h"

namespace p2p {
namespace {

std::uint64_t GetLe(const unsigned char* at, std::size_t bytes) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < bytes; ++i) v |= static_cast<std::uint64_t>(at[i]) << (8 * i);
  return v;
}

}  // namespace

std::vector<unsigned char> MakeTaskParam(const std::string& url, const std::string& fileName,
                                         const std::string& saveDir, bool resume) {
  std::vector<unsigned char> r(layout::kParamSize, 0);
  Utf8ToUtf16Field(url, r.data() + layout::kParamUrl, layout::kParamUrlWidth);
  Utf8ToUtf16Field(fileName, r.data() + layout::kParamFilename, layout::kParamFilenameWidth);
  Utf8ToUtf16Field(saveDir, r.data() + layout::kParamSavePath, layout::kParamSavePathWidth);
  r[layout::kParamIsResume] = resume ? 1 : 0;
  return r;
}

TaskInfo ReadTaskInfo(const unsigned char* r) {
  TaskInfo info;
  info.stat = static_cast<std::int32_t>(GetLe(r + layout::kInfoStat, 4));
  info.failCode = static_cast<std::int32_t>(GetLe(r + layout::kInfoFailCode, 4));
  info.fileName = Utf16FieldToUtf8(r + layout::kInfoFilename, layout::kInfoFilenameWidth);
  info.totalSize = static_cast<std::int64_t>(GetLe(r + layout::kInfoTotalSize, 8));
  info.totalDownload = static_cast<std::int64_t>(GetLe(r + layout::kInfoTotalDownload, 8));
  const auto bits = static_cast<std::uint32_t>(GetLe(r + layout::kInfoPercent, 4));
  std::memcpy(&info.percent, &bits, 4);
  info.speed = static_cast<std::int32_t>(GetLe(r + layout::kInfoSpeed, 4));
  return info;
}

}  // namespace p2p
