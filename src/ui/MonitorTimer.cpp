#include "ui/MonitorTimer.h"

#include "ui/Gbk.h"
#include "ui/UiNames.h"

namespace ui {

MonitorTimer::MonitorTimer(QObject* parent) : QTimer(parent) { setObjectName(Tr(names::kTimer)); }

int MonitorTimer::Period() const { return isActive() ? interval() : 0; }

void MonitorTimer::SetPeriod(int ms) {
  if (ms <= 0) {
    stop();
  } else {
    start(ms);
  }
}

}  // namespace ui
