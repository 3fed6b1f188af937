#include "ui/SettingsPanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "tasks/StoreFields.h"
#include "text/Text.h"
#include "ui/ClickLabel.h"
#include "ui/Gbk.h"
#include "ui/Platform.h"
#include "ui/UiNames.h"
#include "ui/UiTexts.h"

namespace ui {
namespace {

QLabel* Caption(QWidget* parent, const char* name, const char* text, QRect geometry) {
  auto* label = new QLabel(Tr(text), parent);
  label->setObjectName(Tr(name));
  label->setGeometry(geometry);
  return label;
}

QLineEdit* Box(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* box = new QLineEdit(text, parent);
  box->setObjectName(Tr(name));
  box->setGeometry(geometry);
  box->setTextMargins(0, 0, 0, 0);
  return box;
}

}  // namespace

SettingsPanel::SettingsPanel(engine::EngineApi& engine, store::DownloadStore& store,
                             Dialogs& dialogs, QWidget* parent)
    : QGroupBox(Tr(texts::kSettingsGroup), parent),
      engine_(engine),
      store_(store),
      dialogs_(dialogs) {
  setObjectName(Tr(names::kSettingsGroup));
  Caption(this, names::kSpeedCaption, texts::kSpeedCaption, {8, 20, 52, 19});
  speedBox_ = Box(this, names::kSpeedBox, Tr(texts::kSpeedDesign), {65, 22, 71, 16});
  Caption(this, names::kSpeedUnit, texts::kSpeedUnit, {140, 20, 32, 19});
  autoStart_ = new QCheckBox(Tr(texts::kAutoStart), this);
  autoStart_->setObjectName(Tr(names::kAutoStart));
  autoStart_->setGeometry(178, 17, 132, 24);
  Caption(this, names::kDirectoryCaption, texts::kDirectoryCaption, {314, 20, 52, 19});
  directoryBox_ = Box(this, names::kDirectoryBox, DefaultSaveDirectory(), {373, 20, 153, 18});
  browse_ = new ClickLabel(Tr(texts::kBrowse), this);
  browse_->setObjectName(Tr(names::kBrowse));
  browse_->setGeometry(536, 19, 26, 20);
  browse_->setCursor(Qt::PointingHandCursor);
  apply_ = new QPushButton(Tr(texts::kApply), this);
  apply_->setObjectName(Tr(names::kApply));
  apply_->setGeometry(583, 12, 75, 32);

  connect(apply_, &QPushButton::clicked, this, &SettingsPanel::ApplySettings);
  connect(browse_, &ClickLabel::leftReleased, this, &SettingsPanel::BrowseSaveDirectory);
}

void SettingsPanel::ApplySettings() {
  if (speedBox_->text().isEmpty()) {
    speedBox_->setText(Tr(texts::kSpeedReset));
    dialogs_.Inform(Tr(texts::kInfoCaption), Tr(texts::kSpeedEmpty));
    return;
  }
  if (text::LeadingNumber(SpeedText()) < 100) {
    speedBox_->setText(Tr(texts::kSpeedReset));
    dialogs_.Inform(Tr(texts::kInfoCaption), Tr(texts::kSpeedTooLow));
    return;
  }
  // Only the stored copies are trimmed; the boxes keep what was typed.
  const std::string speed = text::Trim(SpeedText());
  const std::string directory = text::Trim(SaveDirectory());
  engine_.SetSpeedLimit(text::LeadingInteger(speed));
  store_.DeleteAll(store::Table::Settings);
  if (store_.AddRecord(store::Table::Settings)) {
    store_.WriteText(store::Table::Settings, tasks::Fields().speed, speed);
    store_.WriteText(store::Table::Settings, tasks::Fields().downloadPath, directory);
    store_.WriteNumber(store::Table::Settings, tasks::Fields().autoStart,
                       autoStart_->isChecked() ? 1 : 0);
    store_.MoveNext(store::Table::Settings);
  }
}

void SettingsPanel::BrowseSaveDirectory() {
  QString folder = dialogs_.PickFolder(Tr(texts::kPickerTitle), directoryBox_->text());
  if (folder.isEmpty()) return;
  if (!folder.endsWith(QLatin1Char(kPathSeparator))) folder += QLatin1Char(kPathSeparator);
  directoryBox_->setText(folder);
}

std::string SettingsPanel::SpeedText() const { return ToGbk(speedBox_->text()); }
void SettingsPanel::SetSpeedText(const std::string& gbk) { speedBox_->setText(FromGbk(gbk)); }
std::string SettingsPanel::SaveDirectory() const { return ToGbk(directoryBox_->text()); }
void SettingsPanel::SetSaveDirectory(const std::string& gbk) {
  directoryBox_->setText(FromGbk(gbk));
}
bool SettingsPanel::AutoStart() const { return autoStart_->isChecked(); }
void SettingsPanel::SetAutoStart(bool on) { autoStart_->setChecked(on); }

}  // namespace ui
