#pragma once
// "状态条1": two parts, the total speed (100 px) and a fixed text. UI thread.

#include <QStatusBar>
#include <string>

#include "tasks/StatusBar.h"

class QLabel;

namespace ui {

class StatusLine : public QStatusBar, public tasks::StatusBar {
  Q_OBJECT

 public:
  explicit StatusLine(QWidget* parent);

  QString PartText(int part) const;
  // tasks::StatusBar; part 0 or 1, the text in code page 936.
  void SetPartText(int part, const std::string& text) override;

 private:
  QLabel* parts_[2];
};

}  // namespace ui
