#pragma once
// One query of a task's state into the shared TaskInfoRecord. UI thread only,
// like the record.

#include <cstdint>

#include "engine/EngineApi.h"
#include "engine/TaskInfoRecord.h"

namespace engine {

// Fetches info.Address() right before the call; true when the engine filled
// the record, so the caller may read its accessors. A record without a block
// (no Setup yet, or a failed one) is never handed to the engine: false.
bool QueryTask(EngineApi& engine, TaskInfoRecord& info, std::uint32_t handle);

}  // namespace engine
