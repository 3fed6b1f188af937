#pragma once
// "时钟1": a timer whose period 0 means stopped, as the task code sees it.
// UI thread only.

#include <QTimer>

#include "tasks/Timer.h"

namespace ui {

class MonitorTimer : public QTimer, public tasks::Timer {
  Q_OBJECT

 public:
  explicit MonitorTimer(QObject* parent);

  int Period() const override;
  void SetPeriod(int ms) override;
};

}  // namespace ui
