#pragma once
// Where an audio writer puts its bytes: a file or a string. Writes are sequential; WriteAt
// patches bytes already written (the WAV sizes, known only at the end).

#include <cstdint>
#include <string_view>

namespace flv {

class Output {
 public:
  virtual ~Output() = default;
  // False on a write error; the output is unusable from then on.
  virtual bool Write(std::string_view bytes) = 0;
  virtual bool WriteAt(int64_t offset, std::string_view bytes) = 0;
  // Bytes written so far.
  virtual int64_t Size() const = 0;
};

}  // namespace flv
