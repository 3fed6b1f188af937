// The nine C entry points. Each one converts the packed records and forwards to the engine;
// no exception leaves through them.

#include <cstring>

#include "Engine.h"
#include "RecordLayout.h"
#include "Utf16.h"
#include "p2p/p2p.h"

namespace {

using namespace p2p;

void PutLe(unsigned char* at, std::uint64_t value, std::size_t bytes) {
  for (std::size_t i = 0; i < bytes; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

TaskParams ReadParams(const void* record) {
  const auto* p = static_cast<const unsigned char*>(record);
  TaskParams params;
  params.url = Utf16FieldToUtf8(p + layout::kParamUrl, layout::kParamUrlWidth);
  params.fileName = Utf16FieldToUtf8(p + layout::kParamFilename, layout::kParamFilenameWidth);
  params.saveDir = Utf16FieldToUtf8(p + layout::kParamSavePath, layout::kParamSavePathWidth);
  params.resume = p[layout::kParamIsResume] != 0;
  return params;
}

void WriteInfo(const Snapshot& s, void* record) {
  auto* p = static_cast<unsigned char*>(record);
  std::memset(p, 0, layout::kInfoSize);
  PutLe(p + layout::kInfoStat, static_cast<std::uint32_t>(s.stat), 4);
  PutLe(p + layout::kInfoFailCode, static_cast<std::uint32_t>(s.failCode), 4);
  Utf8ToUtf16Field(s.name, p + layout::kInfoFilename, layout::kInfoFilenameWidth);
  PutLe(p + layout::kInfoTotalSize, static_cast<std::uint64_t>(s.total), 8);
  PutLe(p + layout::kInfoTotalDownload, static_cast<std::uint64_t>(s.done), 8);
  float percent = 0;
  if (s.stat == P2P_STATE_FINISHED) {
    percent = 1.0f;
  } else if (s.total > 0) {
    percent = static_cast<float>(static_cast<double>(s.done) / static_cast<double>(s.total));
  }
  std::uint32_t bits = 0;
  std::memcpy(&bits, &percent, 4);
  PutLe(p + layout::kInfoPercent, bits, 4);
  PutLe(p + layout::kInfoSpeed, static_cast<std::uint32_t>(s.speed), 4);
}

}  // namespace

extern "C" {

P2P_EXPORT void XL_Init(void) {
  try {
    Engine::Instance().Init();
  } catch (...) {
  }
}

P2P_EXPORT void XL_UnInit(void) {
  try {
    Engine::Instance().UnInit();
  } catch (...) {
  }
}

P2P_EXPORT void XL_SetSpeedLimit(int32_t kbps) {
  try {
    Engine::Instance().SetSpeedLimit(kbps);
  } catch (...) {
  }
}

P2P_EXPORT uint32_t XL_CreateTask(const void* taskParam) {
  if (taskParam == nullptr) return 0;
  try {
    return Engine::Instance().CreateTask(ReadParams(taskParam));
  } catch (...) {
    return 0;
  }
}

P2P_EXPORT void XL_StartTask(uint32_t task) {
  try {
    Engine::Instance().StartTask(task);
  } catch (...) {
  }
}

P2P_EXPORT void XL_StopTask(uint32_t task) {
  try {
    Engine::Instance().StopTask(task);
  } catch (...) {
  }
}

P2P_EXPORT void XL_DeleteTask(uint32_t task) {
  try {
    Engine::Instance().DeleteTask(task);
  } catch (...) {
  }
}

P2P_EXPORT int32_t XL_QueryTaskInfoEx(uint32_t task, void* taskInfo) {
  if (taskInfo == nullptr) return 0;
  try {
    Snapshot s;
    if (!Engine::Instance().Query(task, s)) return 0;
    WriteInfo(s, taskInfo);
    return 1;
  } catch (...) {
    return 0;
  }
}

P2P_EXPORT int32_t XL_DelTempFile(const void* taskParam) {
  if (taskParam == nullptr) return 0;
  try {
    const TaskParams params = ReadParams(taskParam);
    return Engine::Instance().DeleteTempFiles(params.saveDir, params.fileName) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
