#include "flv/FileOutput.h"

#include <unistd.h>

#include <cerrno>

namespace flv {

FileOutput::FileOutput(int fd, std::size_t bufferSize) : fd_(fd), capacity_(bufferSize) {
  buffer_.reserve(capacity_);
}

bool FileOutput::Write(std::string_view bytes) {
  if (failed_) return false;
  size_ += static_cast<int64_t>(bytes.size());
  if (buffer_.size() + bytes.size() > capacity_) {
    if (!Flush()) return false;
    // A block as big as the buffer gains nothing from a copy.
    if (bytes.size() >= capacity_) return WriteAll(bytes);
  }
  buffer_.append(bytes);
  return true;
}

bool FileOutput::WriteAt(int64_t offset, std::string_view bytes) {
  if (!Flush()) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = pwrite(fd_, bytes.data() + done, bytes.size() - done,
                             static_cast<off_t>(offset + static_cast<int64_t>(done)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failed_ = true;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool FileOutput::Flush() {
  if (failed_) return false;
  const bool ok = WriteAll(buffer_);
  buffer_.clear();
  return ok;
}

bool FileOutput::WriteAll(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failed_ = true;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace flv
