#include "tasks/CreateDownloadTask.h"

#include "tasks/CreationSteps.h"
#include "tasks/StoreFields.h"

namespace tasks {

void CreateAndAppendTask(TaskContext& ctx, const std::string& mediaUrl, const std::string& fileName,
                         const std::string& saveDirectory) {
  ctx.param.Setup(mediaUrl, "", "", fileName, saveDirectory, false, true, true);
  ctx.handles.Append(ctx.engine.CreateTask(ctx.param.Address()));
}

void StartTimerIfStopped(Timer& timer) {
  if (timer.Period() == 0) {
    timer.SetPeriod(1000);
  }
}

void CreateDownloadTask(TaskContext& ctx, const std::string& mediaUrl, const std::string& title,
                        const std::string& saveDirectory, const std::string& sourceTag) {
  CreateAndAppendTask(ctx, mediaUrl, title, saveDirectory);
  // A new task always starts; the automatic-start box concerns restored ones.
  ctx.engine.StartTask(ctx.handles.At(ctx.handles.Size() - 1));
  ctx.info.Setup();
  ctx.downloads.AppendRow(title);
  StartTimerIfStopped(ctx.timer);

  const StoreFields& f = Fields();
  constexpr store::Table kDownloads = store::Table::Downloads;
  if (ctx.store.AddRecord(kDownloads)) {
    ctx.store.WriteText(kDownloads, f.mediaUrl, mediaUrl);
    ctx.store.WriteText(kDownloads, f.downloadName, title);
    ctx.store.WriteText(kDownloads, f.downloadPath, saveDirectory);
    ctx.store.WriteText(kDownloads, f.source, sourceTag);
    ctx.store.RenumberDownloads();  // also saves the new record
  }
}

}  // namespace tasks
