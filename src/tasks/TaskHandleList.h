#pragma once
// The program's ordered list of engine task handles. Entry i belongs to row i
// of the download list and record i of "下载记录": task creation and the
// restore append to all three, RemoveTaskAt removes from all three, nothing
// else changes them. A handle of 0 (a task the engine refused) is kept like
// any other.
//
// Each entry also remembers the fail code its row shows, so the monitor
// touches the row only when the failure changes; it moves with the entry.
//
// UI thread only.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tasks {

class TaskHandleList {
 public:
  void Append(std::uint32_t handle) { entries_.push_back(Entry{handle, 0}); }
  // position < Size().
  std::uint32_t At(std::size_t position) const { return entries_[position].handle; }
  std::size_t Size() const { return entries_.size(); }
  // position < Size(); later entries move down by one.
  void RemoveAt(std::size_t position) {
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position));
  }

  // The fail code shown on the entry's row, 0 when none. position < Size().
  std::int32_t ShownFailure(std::size_t position) const { return entries_[position].shownFailure; }
  void SetShownFailure(std::size_t position, std::int32_t failCode) {
    entries_[position].shownFailure = failCode;
  }

 private:
  struct Entry {
    std::uint32_t handle;
    std::int32_t shownFailure;
  };
  std::vector<Entry> entries_;
};

}  // namespace tasks
