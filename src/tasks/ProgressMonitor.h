#pragma once
// The timer's handler: once a second it polls every task, refreshes its row of
// the download list, keeps "下载记录" in step with the file name the engine
// really uses, shows the total speed in the status bar, and lets at most one
// task leave per tick (a finished one to the completed list and "完成下载",
// FLV downloads converted first; one reported deleted without trace). A failed
// task stays and its row shows the failure until it runs again.
//
// UI thread only. After each task the tick lets pending events run, so a
// command or a task creation may run in the middle of a tick: creations append
// behind the positions this tick polls, and a timer event delivered then finds
// the tick running and returns at once.

#include <cstdint>

#include "tasks/TaskContext.h"

namespace tasks {

class ProgressMonitor {
 public:
  explicit ProgressMonitor(TaskContext& ctx) : ctx_(ctx) {}
  ProgressMonitor(const ProgressMonitor&) = delete;
  ProgressMonitor& operator=(const ProgressMonitor&) = delete;

  void Tick();
  // True while a tick runs (also while it lets events run).
  bool Running() const { return running_; }

 private:
  // What the loop does after refreshing a row.
  enum class Next { Continue, Leave };

  // Refreshes row p from the filled info record and acts on its state; adds the
  // task's whole KB/s to total.
  Next Refresh(std::size_t p, std::int64_t& total);
  void ShowFailure(std::size_t p, std::int32_t failCode);
  void Finish(std::size_t p, const std::string& source);

  TaskContext& ctx_;
  bool running_ = false;
};

// Removes entry position of the handle list, row position of the download list
// and record position of "下载记录" (then renumbers), in this order. The engine
// task itself stays. A position at or past the end changes nothing. UI thread only.
void RemoveTaskAt(TaskContext& ctx, int position);

}  // namespace tasks
