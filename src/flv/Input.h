#pragma once
// A forward-only source of bytes for the demuxer: a file or a block of memory.

#include <cstdint>

namespace flv {

class Input {
 public:
  virtual ~Input() = default;
  // Reads up to size bytes into dst. Returns the count, 0 at the end, -1 on a read error.
  virtual int64_t Read(char* dst, int64_t size) = 0;
  // Moves forward by count bytes. Returns how many were skipped (fewer at the end), -1 on error.
  virtual int64_t Skip(int64_t count) = 0;
};

}  // namespace flv
