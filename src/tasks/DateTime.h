#pragma once
// Local date and time for completion times; the clock is a parameter so tests
// can fix it. Any thread.

#include <functional>

namespace tasks {

struct DateTime {
  int year;
  int month;  // 1-12
  int day;
  int hour;
  int minute;
  int second;
};

using Clock = std::function<DateTime()>;

// The system's local time now.
DateTime LocalNow();

}  // namespace tasks
