#include "engine/QueryTask.h"

namespace engine {

bool QueryTask(EngineApi& engine, TaskInfoRecord& info, std::uint32_t handle) {
  void* block = info.Address();
  if (block == nullptr) {
    return false;
  }
  return engine.QueryTaskInfoEx(handle, block) != 0;
}

}  // namespace engine
