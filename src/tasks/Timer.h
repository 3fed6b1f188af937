#pragma once
// The main window's timer "时钟1": period 0 means it does not fire. UI thread only.

namespace tasks {

class Timer {
 public:
  virtual ~Timer() = default;
  virtual int Period() const = 0;
  virtual void SetPeriod(int ms) = 0;
};

}  // namespace tasks
