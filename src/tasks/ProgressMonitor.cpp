#include "tasks/ProgressMonitor.h"

#include "engine/QueryTask.h"
#include "flv/ConvertFlv.h"
#include "tasks/FailureText.h"
#include "tasks/Formatting.h"
#include "tasks/StoreFields.h"
#include "text/Text.h"

namespace tasks {
namespace {

constexpr store::Table kDownloads = store::Table::Downloads;
constexpr store::Table kCompleted = store::Table::Completed;

// Clears the flag however the tick ends.
class RunningFlag {
 public:
  explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunningFlag() { flag_ = false; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;

 private:
  bool& flag_;
};

// The file the engine saved: a folder typed without its closing "/" still
// names the folder the engine wrote into, not a prefix of the file name.
std::string SavedFilePath(const std::string& directory, const std::string& name) {
  if (directory.empty() || directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

}  // namespace

void ProgressMonitor::Tick() {
  if (running_) {
    return;
  }
  RunningFlag running(running_);
  std::int64_t total = 0;
  // Tasks created while this tick lets events run are polled from the next one.
  const std::size_t n = ctx_.handles.Size();
  for (std::size_t p = 0; p < n; ++p) {
    if (p >= ctx_.handles.Size() || p >= static_cast<std::size_t>(ctx_.downloads.RowCount())) {
      break;
    }
    if (engine::QueryTask(ctx_.engine, ctx_.info, ctx_.handles.At(p)) &&
        Refresh(p, total) == Next::Leave) {
      break;
    }
    ctx_.events.ProcessPendingEvents();
  }
  ctx_.statusBar.SetPartText(0, TotalSpeedText(total));
}

ProgressMonitor::Next ProgressMonitor::Refresh(std::size_t p, std::int64_t& total) {
  // Everything is read out of the shared record before anything else runs.
  const engine::TaskInfoRecord& info = ctx_.info;
  const std::string fileName = info.szFilename();
  const std::int32_t speed = info.nSpeed();
  const double fraction = info.fPercent();
  const std::int64_t downloaded = info.nTotalDownload();
  const std::int64_t size = info.nTotalSize();
  const std::int32_t state = info.stat();
  const std::int32_t failCode = info.fail_code();

  const int row = static_cast<int>(p);
  // An empty name would wipe the row and the stored name the task is restored with.
  if (!fileName.empty()) {
    ctx_.downloads.SetText(row, 0, fileName);
  }
  std::string source;
  if (DownloadRecordsInStep(ctx_)) {
    const StoreFields& f = Fields();
    ctx_.store.GoToRecord(kDownloads, static_cast<std::int64_t>(p));
    const std::string name = ctx_.store.ReadText(kDownloads, f.downloadName);
    source = ctx_.store.ReadText(kDownloads, f.source);
    // The engine may have chosen another name so as not to overwrite a file.
    if (!fileName.empty() && fileName != name &&
        ctx_.store.GoToRecord(kDownloads, static_cast<std::int64_t>(p))) {
      ctx_.store.WriteText(kDownloads, f.downloadName, fileName);
      ctx_.store.RenumberDownloads();
    }
  }
  if (ctx_.downloads.Text(row, 5) != source) {
    ctx_.downloads.SetText(row, 5, source);
  }
  ctx_.downloads.SetText(row, 1, SpeedText(speed));
  ctx_.downloads.SetText(row, 2, PercentText(fraction));
  ctx_.downloads.SetText(row, 3, MegabyteText(downloaded));
  ctx_.downloads.SetText(row, 4, MegabyteText(size));
  total += speed / 1024;

  switch (state) {
    case engine::kTaskFinished:
      Finish(p, source);
      return Next::Leave;
    case engine::kTaskDownloading:
      ctx_.downloads.SetStateImage(row, 0);
      ShowFailure(p, 0);
      break;
    case engine::kTaskStopped:
      ctx_.downloads.SetStateImage(row, 1);
      ShowFailure(p, failCode);
      break;
    case engine::kTaskDeleted:
      RemoveTaskAt(ctx_, row);
      return Next::Leave;
    default:
      break;
  }
  return Next::Continue;
}

void ProgressMonitor::ShowFailure(std::size_t p, std::int32_t failCode) {
  if (ctx_.handles.ShownFailure(p) == failCode) {
    return;
  }
  ctx_.downloads.SetFailure(static_cast<int>(p), failCode == 0 ? "" : FailureText(failCode));
  ctx_.handles.SetShownFailure(p, failCode);
}

void ProgressMonitor::Finish(std::size_t p, const std::string& source) {
  const int row = static_cast<int>(p);
  std::string name;
  std::string directory;
  if (DownloadRecordsInStep(ctx_)) {
    ctx_.store.GoToRecord(kDownloads, static_cast<std::int64_t>(p));
    name = ctx_.store.ReadText(kDownloads, Fields().downloadName);
    directory = ctx_.store.ReadText(kDownloads, Fields().downloadPath);
  }
  const std::string shownName = ctx_.downloads.Text(row, 0);
  if (text::Contains(shownName, ".flv")) {
    // Blocks until the extractor ends; the FLV stays when no audio came out.
    flv::ConvertFlv(ctx_.programFolder, text::GbkToUtf8(SavedFilePath(directory, name)));
  }

  const std::string when = DateTimeText(ctx_.clock());
  if (ctx_.store.AddRecord(kCompleted)) {
    const StoreFields& f = Fields();
    ctx_.store.WriteText(kCompleted, f.fileName, shownName);
    ctx_.store.WriteText(kCompleted, f.completedTime, when);
    ctx_.store.WriteText(kCompleted, f.source, source);
    ctx_.store.WriteText(kCompleted, f.completedDirectory, directory);
    ctx_.store.MoveNext(kCompleted);  // saves the record
  }
  const int done = ctx_.completed.AppendRow(shownName);
  ctx_.completed.SetText(done, 1, when);
  ctx_.completed.SetStateImage(done, 4);
  ctx_.completed.SetText(done, 2, source);
  ctx_.completed.SetText(done, 3, directory);

  RemoveTaskAt(ctx_, row);
}

void RemoveTaskAt(TaskContext& ctx, int position) {
  if (position < 0 || static_cast<std::size_t>(position) >= ctx.handles.Size()) {
    return;
  }
  const bool recordsInStep = DownloadRecordsInStep(ctx);
  ctx.handles.RemoveAt(static_cast<std::size_t>(position));
  ctx.downloads.RemoveRow(position);
  if (recordsInStep && ctx.store.GoToRecord(kDownloads, position)) {
    ctx.store.DeleteCurrent(kDownloads);
    ctx.store.RenumberDownloads();
  }
}

}  // namespace tasks
