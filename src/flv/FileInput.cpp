#include "flv/FileInput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace flv {

FileInput::FileInput(int fd) : fd_(fd) {
  struct stat st {};
  seekable_ = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (seekable_) {
    size_ = st.st_size;
    const off_t at = lseek(fd, 0, SEEK_CUR);
    position_ = at < 0 ? 0 : at;
  }
}

int64_t FileInput::Read(char* dst, int64_t size) {
  int64_t total = 0;
  while (total < size) {
    const ssize_t n = read(fd_, dst + total, static_cast<std::size_t>(size - total));
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;
    total += n;
  }
  position_ += total;
  return total;
}

int64_t FileInput::Skip(int64_t count) {
  if (seekable_) {
    const int64_t n = std::clamp<int64_t>(size_ - position_, 0, count);
    if (lseek(fd_, static_cast<off_t>(position_ + n), SEEK_SET) < 0) return -1;
    position_ += n;
    return n;
  }
  std::vector<char> scratch(static_cast<std::size_t>(std::min<int64_t>(count, 1 << 16)));
  int64_t skipped = 0;
  while (skipped < count) {
    const int64_t n = Read(scratch.data(), std::min<int64_t>(count - skipped, scratch.size()));
    if (n < 0) return -1;
    if (n == 0) break;
    skipped += n;
  }
  return skipped;
}

}  // namespace flv
