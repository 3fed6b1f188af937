#pragma once
// The steps that task creation and the restore share. UI thread only.

#include <string>

#include "tasks/TaskContext.h"

namespace tasks {

// Fills the task description (no referrer or cookies, automatic renaming off,
// resume on), creates the engine task and appends its handle.
void CreateAndAppendTask(TaskContext& ctx, const std::string& mediaUrl, const std::string& fileName,
                         const std::string& saveDirectory);
// The timer runs from the first task on.
void StartTimerIfStopped(Timer& timer);

}  // namespace tasks
