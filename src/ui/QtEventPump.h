#pragma once
// "Process pending events" for the task monitor: one pass over Qt's queue.
// UI thread only.

#include <QCoreApplication>

#include "tasks/EventPump.h"

namespace ui {

class QtEventPump : public tasks::EventPump {
 public:
  void ProcessPendingEvents() override { QCoreApplication::processEvents(); }
};

}  // namespace ui
