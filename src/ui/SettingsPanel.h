#pragma once
// "分组框1" ("下载设置"): the speed limit, the save folder and the automatic
// start of restored tasks, with "应 用" (ApplySettings) and "浏览"
// (BrowseSaveDirectory). Other code reads and writes the boxes through
// tasks::SettingsView, always as they stand. UI thread only.

#include <QGroupBox>
#include <string>

#include "engine/EngineApi.h"
#include "store/DownloadStore.h"
#include "tasks/SettingsView.h"
#include "ui/Dialogs.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace ui {

class ClickLabel;

class SettingsPanel : public QGroupBox, public tasks::SettingsView {
  Q_OBJECT

 public:
  SettingsPanel(engine::EngineApi& engine, store::DownloadStore& store, Dialogs& dialogs,
                QWidget* parent);

  // Checks the speed limit, hands it to the engine and stores all three
  // settings as the only record of "设置记录".
  void ApplySettings();
  // Lets the user pick the save folder; the result always ends with "/".
  void BrowseSaveDirectory();

  // tasks::SettingsView (texts in code page 936)
  std::string SpeedText() const override;
  void SetSpeedText(const std::string& gbk) override;
  std::string SaveDirectory() const override;
  void SetSaveDirectory(const std::string& gbk) override;
  bool AutoStart() const override;
  void SetAutoStart(bool on) override;

 private:
  engine::EngineApi& engine_;
  store::DownloadStore& store_;
  Dialogs& dialogs_;
  QLineEdit* speedBox_;
  QCheckBox* autoStart_;
  QLineEdit* directoryBox_;
  ClickLabel* browse_;
  QPushButton* apply_;
};

}  // namespace ui
