#include "TokenBucket.h"

#include <algorithm>
#include <cmath>

namespace p2p {

void TokenBucket::SetRate(std::int64_t bytesPerSecond, Clock::time_point now) {
  rate_ = std::max<std::int64_t>(bytesPerSecond, 0);
  // 50 ms worth of data, at least one small read, keeps the flow even.
  capacity_ = std::max(static_cast<double>(rate_) / 20.0, 16384.0);
  level_ = 0;
  last_ = now;
}

void TokenBucket::Refill(Clock::time_point now) {
  if (!Limited()) return;
  const double seconds = std::chrono::duration<double>(now - last_).count();
  last_ = now;
  level_ = std::min(capacity_, level_ + seconds * static_cast<double>(rate_));
}

int TokenBucket::MillisecondsUntilTokens() const {
  if (!Limited() || level_ > 0) return 0;
  const double ms = (-level_ + 1.0) * 1000.0 / static_cast<double>(rate_);
  return static_cast<int>(std::clamp(std::ceil(ms), 1.0, 1000.0));
}

}  // namespace p2p
