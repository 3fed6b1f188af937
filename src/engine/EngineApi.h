#pragma once
// The nine exports of the download engine as an interface, so that task code
// can run against a fake engine in tests. The engine itself is thread-safe;
// the records passed to it belong to the UI thread (see the records' headers).

#include <cstdint>

namespace engine {

// The task states a query reports in TaskInfoRecord::stat.
inline constexpr std::int32_t kTaskDeleted = 1;
inline constexpr std::int32_t kTaskStopped = 2;
inline constexpr std::int32_t kTaskDownloading = 3;
inline constexpr std::int32_t kTaskFinished = 4;

class EngineApi {
 public:
  virtual ~EngineApi() = default;
  virtual void Init() = 0;
  virtual void UnInit() = 0;
  // KB/s over all tasks; 0 or less means no limit.
  virtual void SetSpeedLimit(std::int32_t kbps) = 0;
  // taskParam: the block of a TaskParamRecord. The handle is stored as returned.
  virtual std::uint32_t CreateTask(const void* taskParam) = 0;
  virtual void StartTask(std::uint32_t handle) = 0;
  virtual void StopTask(std::uint32_t handle) = 0;
  virtual void DeleteTask(std::uint32_t handle) = 0;
  // taskInfo: the block of a TaskInfoRecord; non-zero when the engine filled it.
  virtual std::int32_t QueryTaskInfoEx(std::uint32_t handle, void* taskInfo) = 0;
  // taskParam: a request in the TaskParamRecord layout (DeleteTempFileImage).
  virtual std::int32_t DelTempFile(const void* taskParam) = 0;
};

}  // namespace engine
