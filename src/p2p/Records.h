#pragma once
// Building and reading the two packed records from C++, for callers of the C interface
// written in this project's own tools and tests (the program has its own record classes).

#include <cstdint>
#include <string>
#include <vector>

namespace p2p {

// A TaskParamRecord with the three texts (UTF-8) and IsResume set, every other byte 0.
std::vector<unsigned char> MakeTaskParam(const std::string& url, const std::string& fileName,
                                         const std::string& saveDir, bool resume = true);

struct TaskInfo {
  std::int32_t stat = 0;
  std::int32_t failCode = 0;
  std::string fileName;
  std::int64_t totalSize = 0;
  std::int64_t totalDownload = 0;
  float percent = 0;
  std::int32_t speed = 0;
};

TaskInfo ReadTaskInfo(const unsigned char* record);

}  // namespace p2p
