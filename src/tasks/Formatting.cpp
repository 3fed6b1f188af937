#include "tasks/Formatting.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "text/Text.h"

namespace tasks {

std::string SpeedText(std::int32_t bytesPerSecond) {
  return std::to_string(bytesPerSecond / 1024) + "KB/s";
}

std::string TwoDecimals(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 1e15) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", std::isfinite(value) ? value : 0.0);
    return buffer;
  }
  // Hundredths taken at 15 significant digits first, so that a decimal half
  // that binary cannot hold exactly (1.005 is 1.00499999...) still rounds up.
  char digits[32];
  std::snprintf(digits, sizeof digits, "%.15g", value * 100.0);
  const long long hundredths = std::llround(std::strtod(digits, nullptr));
  const long long whole = std::llabs(hundredths);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%s%lld.%02lld", hundredths < 0 ? "-" : "", whole / 100,
                whole % 100);
  return buffer;
}

std::string PercentText(double fraction) { return TwoDecimals(fraction * 100.0) + "%"; }

std::string MegabyteText(std::int64_t bytes) {
  return TwoDecimals(static_cast<double>(bytes) / 1048576.0) + "MB";
}

std::string DateTimeText(const DateTime& t) {
  static const std::string kYear = text::Gbk("年");
  static const std::string kMonth = text::Gbk("月");
  static const std::string kDay = text::Gbk("日");
  static const std::string kHour = text::Gbk("时");
  static const std::string kMinute = text::Gbk("分");
  static const std::string kSecond = text::Gbk("秒");
  std::string out = std::to_string(t.year) + kYear + std::to_string(t.month) + kMonth +
                    std::to_string(t.day) + kDay;
  if (t.second != 0) {
    out += std::to_string(t.hour) + kHour + std::to_string(t.minute) + kMinute +
           std::to_string(t.second) + kSecond;
  } else if (t.minute != 0) {
    out += std::to_string(t.hour) + kHour + std::to_string(t.minute) + kMinute;
  } else if (t.hour != 0) {
    out += std::to_string(t.hour) + kHour;
  }
  return out;
}

std::string TotalSpeedText(std::int64_t kilobytesPerSecond) {
  return std::to_string(kilobytesPerSecond) + " KB/s";
}

}  // namespace tasks
