// A stand-in for the engine library: exports the nine XL_* functions, records
// each call in a log the test reads through FakeEngine_Log, and fills a task
// info block with known values for handle 7.

#include <cstdint>
#include <cstring>
#include <string>

namespace {

std::string& Log() {
  static std::string log;
  return log;
}

void Record(const std::string& call) { Log() += call + ";"; }

std::string Pointer(const void* p) { return std::to_string(reinterpret_cast<std::uintptr_t>(p)); }

}  // namespace

extern "C" {

__attribute__((visibility("default"))) const char* FakeEngine_Log() { return Log().c_str(); }
__attribute__((visibility("default"))) void FakeEngine_ClearLog() { Log().clear(); }

__attribute__((visibility("default"))) void XL_Init() { Record("Init"); }
__attribute__((visibility("default"))) void XL_UnInit() { Record("UnInit"); }
__attribute__((visibility("default"))) void XL_SetSpeedLimit(std::int32_t kbps) {
  Record("SetSpeedLimit " + std::to_string(kbps));
}
__attribute__((visibility("default"))) std::uint32_t XL_CreateTask(const void* taskParam) {
  Record("CreateTask " + Pointer(taskParam));
  return 7;
}
__attribute__((visibility("default"))) void XL_StartTask(std::uint32_t handle) {
  Record("StartTask " + std::to_string(handle));
}
__attribute__((visibility("default"))) void XL_StopTask(std::uint32_t handle) {
  Record("StopTask " + std::to_string(handle));
}
__attribute__((visibility("default"))) void XL_DeleteTask(std::uint32_t handle) {
  Record("DeleteTask " + std::to_string(handle));
}
// Handle 7 is the one task: state 4 and 12345 bytes, at the record's offsets.
__attribute__((visibility("default"))) std::int32_t XL_QueryTaskInfoEx(std::uint32_t handle,
                                                                       void* taskInfo) {
  Record("QueryTaskInfoEx " + std::to_string(handle) + " " + Pointer(taskInfo));
  if (handle != 7 || taskInfo == nullptr) {
    return 0;
  }
  auto* block = static_cast<unsigned char*>(taskInfo);
  const std::int32_t stat = 4;
  const std::int64_t totalSize = 12345;
  std::memcpy(block + 0, &stat, sizeof stat);
  std::memcpy(block + 1048, &totalSize, sizeof totalSize);
  return 1;
}
#ifndef FAKE_ENGINE_WITHOUT_DELTEMPFILE
__attribute__((visibility("default"))) std::int32_t XL_DelTempFile(const void* taskParam) {
  Record("DelTempFile " + Pointer(taskParam));
  return 1;
}
#endif

}  // extern "C"
