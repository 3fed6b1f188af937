#include "ControlFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace p2p {
namespace {

constexpr char kMagic[] = "velmira-part 1";
constexpr std::size_t kMaxControlBytes = 1 << 20;

bool WriteAll(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool SaveControlFile(const std::string& path, const ControlState& state) {
  std::string text = kMagic;
  text += "\nsize " + std::to_string(state.total);
  text += "\netag " + state.etag;
  text += "\nmodified " + state.lastModified;
  for (const SegmentRange& s : state.segments) {
    text += "\nseg " + std::to_string(s.start) + " " + std::to_string(s.written) + " " +
            std::to_string(s.end);
  }
  text += "\nend\n";
  const std::string tmp = path + ".tmp";
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool ok = WriteAll(fd, text);
  if (::close(fd) != 0 || !ok || ::rename(tmp.c_str(), path.c_str()) != 0) {
    ::unlink(tmp.c_str());
    return false;
  }
  return true;
}

bool CoversWholeFile(ControlState& st) {
  if (st.total < 0) return false;
  // Work stealing appends segments out of order.
  std::sort(st.segments.begin(), st.segments.end(),
            [](const SegmentRange& a, const SegmentRange& b) { return a.start < b.start; });
  std::int64_t at = 0;
  for (const SegmentRange& s : st.segments) {
    if (s.start != at || s.end <= s.start || s.end > st.total) return false;
    at = s.end;
  }
  return at == st.total;
}

std::optional<ControlState> LoadControlFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string text;
  char buf[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || text.size() > kMaxControlBytes) break;
    text.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);

  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kMagic) return std::nullopt;
  ControlState state;
  bool ended = false;
  while (std::getline(in, line)) {
    if (line == "end") {
      ended = true;
      break;
    }
    if (line.rfind("size ", 0) == 0) {
      if (std::sscanf(line.c_str() + 5, "%" SCNd64, &state.total) != 1) return std::nullopt;
    } else if (line.rfind("etag ", 0) == 0) {
      state.etag = line.substr(5);
    } else if (line.rfind("modified ", 0) == 0) {
      state.lastModified = line.substr(9);
    } else if (line.rfind("seg ", 0) == 0) {
      SegmentRange s;
      if (std::sscanf(line.c_str() + 4, "%" SCNd64 " %" SCNd64 " %" SCNd64, &s.start, &s.written,
                      &s.end) != 3 ||
          s.start < 0 || s.written < 0 || s.start + s.written > s.end) {
        return std::nullopt;
      }
      state.segments.push_back(s);
    } else {
      return std::nullopt;
    }
  }
  if (!ended) return std::nullopt;
  return state;
}

}  // namespace p2p
