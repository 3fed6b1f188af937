#pragma once
// Output into a string (tests and the fuzz target).

#include <string>

#include "flv/Output.h"

namespace flv {

class MemoryOutput : public Output {
 public:
  bool Write(std::string_view bytes) override {
    bytes_.append(bytes);
    return true;
  }
  bool WriteAt(int64_t offset, std::string_view bytes) override {
    if (offset < 0 || static_cast<std::size_t>(offset) + bytes.size() > bytes_.size()) {
      return false;
    }
    bytes_.replace(static_cast<std::size_t>(offset), bytes.size(), bytes);
    return true;
  }
  int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace flv
