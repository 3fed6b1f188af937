#pragma once
// Lets the window handle the events waiting in its queue (menu commands,
// clicks, queued task creations, timer events) and returns. UI thread only.

namespace tasks {

class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void ProcessPendingEvents() = 0;
};

}  // namespace tasks
