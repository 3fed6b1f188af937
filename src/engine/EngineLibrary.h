#pragma once
// The engine library, loaded at run time by name from a folder (the program's
// folder) and bound to its nine XL_* exports. Calls forward to the library;
// like the library, they may be made from any thread.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/EngineApi.h"

namespace engine {

class EngineLibrary : public EngineApi {
 public:
  static constexpr const char* kFileName = "libp2p.so";

  // Loads "<folder>/libp2p.so" and resolves the nine exports. nullptr, with the
  // reason in *error (when error is given), if the library cannot be loaded or
  // an export is missing.
  static std::unique_ptr<EngineLibrary> Load(const std::string& folder, std::string* error);

  ~EngineLibrary() override;
  EngineLibrary(const EngineLibrary&) = delete;
  EngineLibrary& operator=(const EngineLibrary&) = delete;

  void Init() override;
  void UnInit() override;
  void SetSpeedLimit(std::int32_t kbps) override;
  std::uint32_t CreateTask(const void* taskParam) override;
  void StartTask(std::uint32_t handle) override;
  void StopTask(std::uint32_t handle) override;
  void DeleteTask(std::uint32_t handle) override;
  std::int32_t QueryTaskInfoEx(std::uint32_t handle, void* taskInfo) override;
  std::int32_t DelTempFile(const void* taskParam) override;

 private:
  // The exports' C signatures, declared here: the program depends on the
  // library only at run time.
  using VoidFn = void (*)();
  using SetSpeedLimitFn = void (*)(std::int32_t);
  using CreateTaskFn = std::uint32_t (*)(const void*);
  using HandleFn = void (*)(std::uint32_t);
  using QueryTaskInfoExFn = std::int32_t (*)(std::uint32_t, void*);
  using DelTempFileFn = std::int32_t (*)(const void*);

  explicit EngineLibrary(void* handle) : handle_(handle) {}

  void* handle_;
  VoidFn init_ = nullptr;
  VoidFn unInit_ = nullptr;
  SetSpeedLimitFn setSpeedLimit_ = nullptr;
  CreateTaskFn createTask_ = nullptr;
  HandleFn startTask_ = nullptr;
  HandleFn stopTask_ = nullptr;
  HandleFn deleteTask_ = nullptr;
  QueryTaskInfoExFn queryTaskInfoEx_ = nullptr;
  DelTempFileFn delTempFile_ = nullptr;
};

}  // namespace engine
