#pragma once
// Input over a block of memory that the caller keeps alive (tests and the fuzz target).

#include <algorithm>
#include <cstring>
#include <string_view>

#include "flv/Input.h"

namespace flv {

class MemoryInput : public Input {
 public:
  explicit MemoryInput(std::string_view bytes) : bytes_(bytes) {}

  int64_t Read(char* dst, int64_t size) override {
    const auto n = static_cast<std::size_t>(std::min<int64_t>(size, Left()));
    if (n > 0) std::memcpy(dst, bytes_.data() + pos_, n);
    pos_ += n;
    return static_cast<int64_t>(n);
  }
  int64_t Skip(int64_t count) override {
    const int64_t n = std::min(count, Left());
    pos_ += static_cast<std::size_t>(n);
    return n;
  }

 private:
  int64_t Left() const { return static_cast<int64_t>(bytes_.size() - pos_); }

  std::string_view bytes_;
  std::size_t pos_ = 0;
};

}  // namespace flv
