#include "tasks/TaskCommands.h"

#include "engine/DeleteTempFileImage.h"
#include "engine/QueryTask.h"

namespace tasks {
namespace {

// The handle behind a row, when the row has one; the state from the engine.
bool QueryRow(TaskContext& ctx, int row, std::uint32_t& handle, std::int32_t& state) {
  if (row < 0 || static_cast<std::size_t>(row) >= ctx.handles.Size()) {
    return false;
  }
  handle = ctx.handles.At(static_cast<std::size_t>(row));
  if (!engine::QueryTask(ctx.engine, ctx.info, handle)) {
    return false;
  }
  state = ctx.info.stat();
  return true;
}

// All images first, whatever the states; the engine calls in a second pass.
void SetAllThen(TaskContext& ctx, int image, std::int32_t fromState,
                void (engine::EngineApi::*action)(std::uint32_t)) {
  const int n = ctx.downloads.RowCount();
  for (int r = 0; r < n; ++r) {
    ctx.downloads.SetStateImage(r, image);
  }
  const int rows = ctx.downloads.RowCount();
  for (int r = 0; r < rows; ++r) {
    std::uint32_t handle = 0;
    std::int32_t state = 0;
    if (QueryRow(ctx, r, handle, state) && state == fromState) {
      (ctx.engine.*action)(handle);
    }
  }
}

}  // namespace

void PauseAllTasks(TaskContext& ctx) {
  SetAllThen(ctx, 1, engine::kTaskDownloading, &engine::EngineApi::StopTask);
}

void StartAllTasks(TaskContext& ctx) {
  SetAllThen(ctx, 0, engine::kTaskStopped, &engine::EngineApi::StartTask);
}

void ToggleSelectedTask(TaskContext& ctx) {
  const int row = ctx.downloads.SelectedRow();
  std::uint32_t handle = 0;
  std::int32_t state = 0;
  if (!QueryRow(ctx, row, handle, state)) {
    return;
  }
  if (state == engine::kTaskDownloading) {
    ctx.downloads.SetStateImage(row, 1);
    ctx.engine.StopTask(handle);
  } else if (state == engine::kTaskStopped) {
    ctx.downloads.SetStateImage(row, 0);
    ctx.engine.StartTask(handle);
  }
}

void DeleteSelectedTask(TaskContext& ctx) {
  const int row = ctx.downloads.SelectedRow();
  std::uint32_t handle = 0;
  std::int32_t state = 0;
  if (!QueryRow(ctx, row, handle, state)) {
    return;
  }
  if (state != engine::kTaskStopped) {
    ctx.engine.StopTask(handle);
  }
  ctx.engine.DeleteTask(handle);
  // The folder the box shows now, not the one the task was created with.
  DeleteTempFile(ctx, ctx.settings.SaveDirectory(), ctx.downloads.Text(row, 0));
}

std::int32_t DeleteTempFile(TaskContext& ctx, const std::string& saveDirectory,
                            const std::string& fileName) {
  const std::string request = engine::DeleteTempFileImage(saveDirectory, fileName);
  return ctx.engine.DelTempFile(request.data());
}

}  // namespace tasks
