#pragma once
// The start-up restore: the settings into the settings panel and the engine's
// speed limit, every record of "下载记录" as an engine task with a row (in
// record order, so entries, rows and records line up), and the completed list
// from "完成下载". Writes nothing to the store. UI thread only; called once,
// before the engine's Init, when the store is open.

#include "tasks/TaskContext.h"

namespace tasks {

void RestoreFromStore(TaskContext& ctx);

}  // namespace tasks
