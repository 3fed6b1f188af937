#pragma once
// The user's commands on the tasks behind the download list's rows: the items
// of the "操作" menu and the double click. Each learns a task's state from one
// engine query and acts on it; none removes a row, an entry or a record (the
// monitor does that when the engine reports the task deleted). Engine results
// are not examined. UI thread only.

#include <cstdint>
#include <string>

#include "tasks/TaskContext.h"

namespace tasks {

// Every row's image to 1 first, then stops the tasks that are downloading.
void PauseAllTasks(TaskContext& ctx);
// Every row's image to 0 first, then starts the tasks that are stopped
// (failed ones included: they try again).
void StartAllTasks(TaskContext& ctx);
// The selected row's task: downloading -> image 1 and stopped, stopped ->
// image 0 and started, any other state left alone.
void ToggleSelectedTask(TaskContext& ctx);
// Deletes the selected row's task in the engine (stopping it first unless it is
// stopped) and removes its temporary files from the save path box's folder as
// it reads now.
void DeleteSelectedTask(TaskContext& ctx);
// Asks the engine to remove the partial and control files of fileName in
// saveDirectory (both GBK); the engine's result.
std::int32_t DeleteTempFile(TaskContext& ctx, const std::string& saveDirectory,
                            const std::string& fileName);

}  // namespace tasks
