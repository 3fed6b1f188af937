#pragma once
// Buffered Output over a file descriptor, which it does not own. Call Flush before closing.

#include <string>

#include "flv/Output.h"

namespace flv {

class FileOutput : public Output {
 public:
  explicit FileOutput(int fd, std::size_t bufferSize = std::size_t{1} << 19);

  bool Write(std::string_view bytes) override;
  bool WriteAt(int64_t offset, std::string_view bytes) override;
  int64_t Size() const override { return size_; }
  bool Flush();

 private:
  bool WriteAll(std::string_view bytes);

  int fd_;
  std::string buffer_;
  std::size_t capacity_;
  int64_t size_ = 0;
  bool failed_ = false;
};

}  // namespace flv
