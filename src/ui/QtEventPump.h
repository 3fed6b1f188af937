#pragma once
// "Process pending events" for the task monitor, which asks after every task.
// With thousands of tasks one pass over Qt's queue per task would cost most
// of the tick, so the pump lets events run at most once every few
// milliseconds: a click or a menu command still runs within that time of
// arriving, in the middle of the tick. UI thread only.

#include <QCoreApplication>
#include <QElapsedTimer>

#include "tasks/EventPump.h"

namespace ui {

class QtEventPump : public tasks::EventPump {
 public:
  static constexpr qint64 kIntervalMs = 4;

  void ProcessPendingEvents() override {
    if (last_.isValid() && !last_.hasExpired(kIntervalMs)) return;
    QCoreApplication::processEvents();
    last_.start();
  }

 private:
  QElapsedTimer last_;
};

}  // namespace ui
