#pragma once
// The global speed limit: a token bucket refilled continuously at the limit's rate, with a
// small capacity so a pause never turns into a burst. Bytes are taken as they are delivered
// and may drive the level below zero; transfers wait until it is positive again.
// Used by the engine thread only.

#include <chrono>
#include <cstdint>

namespace p2p {

class TokenBucket {
 public:
  using Clock = std::chrono::steady_clock;

  // bytesPerSecond <= 0 removes the limit. A new rate starts from an empty bucket.
  void SetRate(std::int64_t bytesPerSecond, Clock::time_point now);
  std::int64_t Rate() const { return rate_; }
  bool Limited() const { return rate_ > 0; }

  void Refill(Clock::time_point now);
  bool HasTokens() const { return !Limited() || level_ > 0; }
  void Take(std::int64_t bytes) {
    if (Limited()) level_ -= static_cast<double>(bytes);
  }
  // Milliseconds until the level is positive again (0 when it is).
  int MillisecondsUntilTokens() const;

 private:
  std::int64_t rate_ = 0;
  double level_ = 0;
  double capacity_ = 0;
  Clock::time_point last_{};
};

}  // namespace p2p
