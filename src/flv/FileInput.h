#pragma once
// Input over an open file descriptor, which it does not own. Skips on a regular file seek
// instead of reading, so video tags cost no copy.

#include "flv/Input.h"

namespace flv {

class FileInput : public Input {
 public:
  explicit FileInput(int fd);

  int64_t Read(char* dst, int64_t size) override;
  int64_t Skip(int64_t count) override;

 private:
  int fd_;
  bool seekable_;
  int64_t size_ = 0;      // file size when seekable
  int64_t position_ = 0;  // offset of the next byte to read
};

}  // namespace flv
