#pragma once
// The small file beside "<name>.part" that records what is already on disk: the size and
// validators the server gave, and for each segment how far it has been written. It is
// replaced atomically (write a temporary file, then rename), so a crash leaves either the
// old or the new version. Its first line also marks the .part file as this engine's own.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace p2p {

struct SegmentRange {
  std::int64_t start = 0;
  std::int64_t written = 0;  // bytes from start that are on disk
  std::int64_t end = 0;      // exclusive
};

struct ControlState {
  std::int64_t total = -1;  // -1 while unknown
  std::string etag;
  std::string lastModified;
  std::vector<SegmentRange> segments;
};

// Writes path + ".tmp" and renames it over path. False on any error (the old file stays).
bool SaveControlFile(const std::string& path, const ControlState& state);
// Sorts the segments by offset; true when they cover [0, total) without gaps or overlaps.
bool CoversWholeFile(ControlState& state);
// Nullopt when the file is missing or not a well-formed control file.
std::optional<ControlState> LoadControlFile(const std::string& path);

}  // namespace p2p
