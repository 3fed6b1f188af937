#pragma once
// The texts the progress monitor shows. GBK results; pure, any thread.

#include <cstdint>
#include <string>

#include "tasks/DateTime.h"

namespace tasks {

// Whole KB/s (1024 bytes, fraction dropped) followed by "KB/s": 2048 -> "2KB/s".
std::string SpeedText(std::int32_t bytesPerSecond);
// Rounded to two decimals with halves away from zero, always two digits after
// the point: 3.2 -> "3.20", 0.125 -> "0.13", -0.125 -> "-0.13".
std::string TwoDecimals(double value);
// fraction * 100 as TwoDecimals followed by "%": 0.4567 -> "45.67%".
std::string PercentText(double fraction);
// bytes / 1048576 as TwoDecimals followed by "MB": 1572864 -> "1.50MB".
std::string MegabyteText(std::int64_t bytes);
// "2026年1月2日" followed by "3时4分5秒", "3时4分", "3时" or nothing: the
// time part stops at the last unit that is not zero.
std::string DateTimeText(const DateTime& t);
// Total speed for the status bar: "12 KB/s" (with a space, unlike the column).
std::string TotalSpeedText(std::int64_t kilobytesPerSecond);

}  // namespace tasks
