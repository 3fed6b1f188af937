#include "tasks/RestoreFromStore.h"

#include <cstdint>

#include "tasks/CreationSteps.h"
#include "tasks/StoreFields.h"
#include "text/Text.h"

namespace tasks {
namespace {

void RestoreSettings(TaskContext& ctx) {
  constexpr store::Table kSettings = store::Table::Settings;
  if (ctx.store.RecordCount(kSettings) <= 0) {
    return;
  }
  const StoreFields& f = Fields();
  ctx.store.GoToRecord(kSettings, 0);
  const std::string speed = ctx.store.ReadText(kSettings, f.speed);
  const std::string directory = ctx.store.ReadText(kSettings, f.downloadPath);
  std::int64_t autoStart = 0;
  ctx.store.ReadInteger(kSettings, f.autoStart, autoStart);
  ctx.settings.SetAutoStart(autoStart > 0);
  ctx.settings.SetSpeedText(speed);
  ctx.settings.SetSaveDirectory(directory);
  ctx.engine.SetSpeedLimit(text::LeadingInteger(speed));
}

void RestoreUnfinishedTasks(TaskContext& ctx) {
  constexpr store::Table kDownloads = store::Table::Downloads;
  const StoreFields& f = Fields();
  const std::int64_t n = ctx.store.RecordCount(kDownloads);
  for (std::int64_t p = 0; p < n; ++p) {
    ctx.store.GoToRecord(kDownloads, p);
    const std::string url = ctx.store.ReadText(kDownloads, f.mediaUrl);
    const std::string name = ctx.store.ReadText(kDownloads, f.downloadName);
    const std::string directory = ctx.store.ReadText(kDownloads, f.downloadPath);
    CreateAndAppendTask(ctx, url, name, directory);
    const std::uint32_t handle = ctx.handles.At(ctx.handles.Size() - 1);
    ctx.engine.StartTask(handle);
    if (!ctx.settings.AutoStart()) {
      ctx.engine.StopTask(handle);
    }
    ctx.info.Setup();
    ctx.downloads.AppendRow(name);
    StartTimerIfStopped(ctx.timer);
  }
}

void RestoreCompleted(TaskContext& ctx) {
  constexpr store::Table kCompleted = store::Table::Completed;
  const StoreFields& f = Fields();
  const std::int64_t m = ctx.store.RecordCount(kCompleted);
  for (std::int64_t q = 0; q < m; ++q) {
    ctx.store.GoToRecord(kCompleted, q);
    const std::string name = ctx.store.ReadText(kCompleted, f.fileName);
    const std::string time = ctx.store.ReadText(kCompleted, f.completedTime);
    const std::string source = ctx.store.ReadText(kCompleted, f.source);
    const std::string directory = ctx.store.ReadText(kCompleted, f.completedDirectory);
    const int row = ctx.completed.AppendRow("");
    ctx.completed.SetText(row, 0, name);
    ctx.completed.SetText(row, 1, time);
    ctx.completed.SetText(row, 2, source);
    ctx.completed.SetText(row, 3, directory);
    ctx.completed.SetStateImage(row, 4);
  }
}

}  // namespace

void RestoreFromStore(TaskContext& ctx) {
  RestoreSettings(ctx);
  RestoreUnfinishedTasks(ctx);
  RestoreCompleted(ctx);
}

}  // namespace tasks
