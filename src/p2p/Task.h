#pragma once
// One download task: what the program asked for, what the engine publishes about it, and the
// engine thread's working state (segments and connections).

#include <chrono>
#include <cstdint>
#include <deque>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace p2p {

class Connection;
using Clock = std::chrono::steady_clock;

inline constexpr std::int64_t kUnknownEnd = std::numeric_limits<std::int64_t>::max();

enum class Phase { kIdle, kQueued, kActive, kFinished, kDeleted };

// What a query reports. Guarded by the engine's mutex.
struct Snapshot {
  std::int32_t stat = 2;
  std::int32_t failCode = 0;
  std::string name;  // UTF-8
  std::int64_t total = 0;
  std::int64_t done = 0;
  std::int32_t speed = 0;
};

// A byte range of the file fetched by at most one connection at a time.
struct Segment {
  std::int64_t start = 0;
  std::int64_t pos = 0;      // next byte to receive
  std::int64_t written = 0;  // bytes before this offset are on disk
  std::int64_t end = kUnknownEnd;
  Connection* conn = nullptr;
  bool Complete() const { return written >= end; }
};

struct Task {
  std::uint32_t id = 0;
  std::string url;
  std::string givenName;  // UTF-8, as in the record
  std::string saveDir;
  bool resume = true;

  Snapshot snap;  // guarded by the engine's mutex

  // The fields below belong to the engine thread; while no engine thread runs, to whoever
  // holds the engine's mutex.
  Phase phase = Phase::kIdle;
  std::int32_t failCode = 0;
  bool loadedControl = false;  // the control file was consulted once in this process
  std::string finalName;       // empty until the name is chosen
  std::string finalPath, partPath, controlPath;
  int fd = -1;

  bool known = false;     // segments describe the file (size and layout known)
  bool validate = false;  // the next answer must confirm size and validators
  bool ranges = false;    // the server honours Range
  bool noRangeHeader = false;
  std::int64_t total = -1;
  std::string etag, lastModified;
  std::vector<Segment> segs;
  std::vector<std::unique_ptr<Connection>> conns;

  int failures = 0;  // transient failures since the last progress
  Clock::time_point retryAt{};
  bool dirty = false;
  Clock::time_point lastSave{};
  Clock::time_point lastPublish{};

  std::int64_t received = 0;  // body bytes in this process, for the speed
  std::int64_t savedAt = 0;   // received at the last progress save
  std::deque<std::pair<Clock::time_point, std::int64_t>> samples;

  std::int64_t Done() const;
  bool AllWritten() const;
};

}  // namespace p2p
