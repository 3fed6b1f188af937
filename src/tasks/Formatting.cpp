#include "tasks/Formatting.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "text/Text.h"

namespace tasks {

std::string SpeedText(std::int32_t bytesPerSecond) {
  return std::to_string(bytesPerSecond / 1024) + "KB/s";
}

namespace {

// "-12.34" from a count of hundredths.
std::string HundredthsText(long long hundredths) {
  const unsigned long long whole = hundredths < 0
                                       ? 0ULL - static_cast<unsigned long long>(hundredths)
                                       : static_cast<unsigned long long>(hundredths);
  std::string out = hundredths < 0 ? "-" : "";
  out += std::to_string(whole / 100);
  out += '.';
  out += static_cast<char>('0' + whole % 100 / 10);
  out += static_cast<char>('0' + whole % 10);
  return out;
}

}  // namespace

std::string TwoDecimals(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 1e15) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", std::isfinite(value) ? value : 0.0);
    return buffer;
  }
  // A hair above half a hundredth, relative to the value, so that a decimal
  // half that binary cannot hold exactly (1.005 is 1.00499999...) still rounds
  // away from zero.
  const double scaled = std::fabs(value) * 100.0;
  const double rounded = std::floor(scaled + 0.5 + 1e-12 * std::max(1.0, scaled));
  const auto hundredths = static_cast<long long>(rounded);
  return HundredthsText(value < 0 ? -hundredths : hundredths);
}

std::string PercentText(double fraction) { return TwoDecimals(fraction * 100.0) + "%"; }

std::string MegabyteText(std::int64_t bytes) {
  // Exact in integers for any size a file can have; halves round up.
  constexpr std::int64_t kMiB = 1048576;
  if (bytes >= 0 && bytes < (std::int64_t{1} << 55)) {
    return HundredthsText((bytes * 200 + kMiB) / (2 * kMiB)) + "MB";
  }
  return TwoDecimals(static_cast<double>(bytes) / static_cast<double>(kMiB)) + "MB";
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
