#include "ui/UiRunHost.h"

#include "ui/BatchWindow.h"

namespace ui {

UiRunHost::UiRunHost(QObject* context, CancelFlag cancel, BatchWindow& window,
                     tasks::SettingsView& settings, engine::EngineApi& engine,
                     CreateTask createTask)
    : context_(context),
      cancel_(std::move(cancel)),
      window_(window),
      settings_(settings),
      engine_(engine),
      createTask_(std::move(createTask)) {}

std::string UiRunHost::ReadInputText() {
  return OnUi([this] { return window_.InputText(); });
}

void UiRunHost::SetCaption(const std::string& gbk) {
  OnUi([this, gbk] { window_.SetCaption(gbk); });
}

std::string UiRunHost::ReadSaveDirectory() {
  return OnUi([this] { return settings_.SaveDirectory(); });
}

void UiRunHost::CreateDownloadTask(const std::string& mediaUrl, const std::string& fileName,
                                   const std::string& saveDirectory, const std::string& sourceTag) {
  OnUi([=, this] { createTask_(mediaUrl, fileName, saveDirectory, sourceTag); });
}

void UiRunHost::HideWindow() {
  OnUi([this] { window_.hide(); });
}

void UiRunHost::ClearInputAndCaption() {
  OnUi([this] { window_.ClearInputAndCaption(); });
}

void UiRunHost::EnableControls() {
  OnUi([this] { window_.EnableControls(); });
}

std::string UiRunHost::ReadSpeedText() {
  return OnUi([this] { return settings_.SpeedText(); });
}

// The engine is thread-safe, but the limit goes through the UI thread as well,
// so it keeps its place among the settings panel's own calls.
void UiRunHost::SetSpeedLimit(std::int32_t kbps) {
  OnUi([this, kbps] { engine_.SetSpeedLimit(kbps); });
}

bool UiRunHost::Cancelled() { return cancel_->load(); }

}  // namespace ui
