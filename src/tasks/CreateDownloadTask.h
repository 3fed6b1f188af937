#pragma once
// Turns one download entry into a started engine task, a row at the end of the
// download list and a record at the end of "下载记录". UI thread only: the
// resolve worker hands each creation to the UI thread.

#include <string>

#include "tasks/TaskContext.h"

namespace tasks {

// saveDirectory: the save path box's text (GBK, ends with "/"). A task the
// engine refuses (handle 0) gets its entry, row and record all the same. The
// timer starts with the first task.
void CreateDownloadTask(TaskContext& ctx, const std::string& mediaUrl, const std::string& title,
                        const std::string& saveDirectory, const std::string& sourceTag);

}  // namespace tasks
