#pragma once
// The resolve run's host for the windows: called on the resolve worker, it
// carries every read and write of a control, every task creation and the
// speed limit to the UI thread, in the run's order, and waits for each.
// Cancelled() turns true when the program is closing; from then on nothing
// reaches the windows.

#include <QObject>
#include <functional>
#include <string>

#include "engine/EngineApi.h"
#include "resolve/ResolveRun.h"
#include "tasks/SettingsView.h"
#include "ui/UiThreadCall.h"

namespace ui {

class BatchWindow;

class UiRunHost : public resolve::RunHost {
 public:
  // On the UI thread: CreateDownloadTask(mediaUrl, fileName, saveDirectory, sourceTag).
  using CreateTask = std::function<void(const std::string&, const std::string&, const std::string&,
                                        const std::string&)>;

  // context: a UI-thread object that outlives the run. The references are
  // used on the UI thread only.
  UiRunHost(QObject* context, CancelFlag cancel, BatchWindow& window, tasks::SettingsView& settings,
            engine::EngineApi& engine, CreateTask createTask);

  std::string ReadInputText() override;
  void SetCaption(const std::string& gbk) override;
  std::string ReadSaveDirectory() override;
  void CreateDownloadTask(const std::string& mediaUrl, const std::string& fileName,
                          const std::string& saveDirectory, const std::string& sourceTag) override;
  void HideWindow() override;
  void ClearInputAndCaption() override;
  void EnableControls() override;
  std::string ReadSpeedText() override;
  void SetSpeedLimit(std::int32_t kbps) override;
  bool Cancelled() override;

 private:
  template <class Work>
  auto OnUi(Work work) {
    return CallOnUiThread(context_, cancel_, std::move(work));
  }

  QObject* context_;
  CancelFlag cancel_;
  BatchWindow& window_;
  tasks::SettingsView& settings_;
  engine::EngineApi& engine_;
  CreateTask createTask_;
};

}  // namespace ui
