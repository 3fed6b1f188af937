#include "Connection.h"

#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "Task.h"

namespace p2p {
namespace {

constexpr std::size_t kBufferBytes = 1 << 20;
// Reads at least this large skip the buffer: one pwrite, no copy.
constexpr std::size_t kDirectWriteBytes = 128 << 10;

bool HasPrefix(const char* line, std::size_t size, const char* name, std::size_t& valueStart) {
  const std::size_t n = std::strlen(name);
  if (size < n || strncasecmp(line, name, n) != 0) return false;
  valueStart = n;
  while (valueStart < size && (line[valueStart] == ' ' || line[valueStart] == '\t')) ++valueStart;
  return true;
}

std::string Value(const char* line, std::size_t size, std::size_t start) {
  std::size_t end = size;
  while (end > start && (line[end - 1] == '\r' || line[end - 1] == '\n' || line[end - 1] == ' ')) {
    --end;
  }
  return std::string(line + start, end - start);
}

}  // namespace

std::int64_t Task::Done() const {
  std::int64_t done = 0;
  for (const Segment& s : segs) done += s.pos - s.start;
  return done;
}

bool Task::AllWritten() const {
  if (!known || total < 0) return false;
  return std::all_of(segs.begin(), segs.end(), [](const Segment& s) { return s.Complete(); });
}

Connection::Connection(Task& t, int seg, bool isProbe, std::int64_t start, std::int64_t end)
    : task(t), segment(seg), probe(isProbe), requestStart(start), requestEnd(end) {}

Connection::~Connection() {
  if (easy != nullptr) curl_easy_cleanup(easy);
  curl_slist_free_all(headers_);
}

bool Connection::Setup(void* owner, curl_write_callback write, curl_write_callback header,
                       long bufferSize) {
  easy = curl_easy_init();
  if (easy == nullptr) return false;
  if (!task.noRangeHeader) {
    range_ = std::to_string(requestStart) + "-";
    if (requestEnd != kUnknownEnd) range_ += std::to_string(requestEnd - 1);
  }
  // Once the file is known, a changed file must not be mixed with the old bytes: the server
  // then sends the whole new file, which restarts the download.
  if (task.known && !range_.empty()) {
    if (!task.etag.empty() && task.etag.rfind("W/", 0) != 0) {
      headers_ = curl_slist_append(headers_, ("If-Range: " + task.etag).c_str());
    } else if (!task.lastModified.empty()) {
      headers_ = curl_slist_append(headers_, ("If-Range: " + task.lastModified).c_str());
    }
  }
  CURLcode rc = CURLE_OK;
  auto set = [&rc](CURLcode r) {
    if (rc == CURLE_OK) rc = r;
  };
  set(curl_easy_setopt(easy, CURLOPT_URL, task.url.c_str()));
  set(curl_easy_setopt(easy, CURLOPT_PRIVATE, this));
  set(curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L));
  set(curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https"));
  set(curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https"));
  set(curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L));
  set(curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L));
  set(curl_easy_setopt(easy, CURLOPT_USERAGENT, "velmira-p2p/1.0"));
  set(curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, 15L));
  // A connection that delivers nothing for 30 s is dead; a paused one is not checked.
  set(curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L));
  set(curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, 30L));
  set(curl_easy_setopt(easy, CURLOPT_TCP_KEEPALIVE, 1L));
  set(curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, bufferSize));
  set(curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, write));
  set(curl_easy_setopt(easy, CURLOPT_WRITEDATA, owner));
  set(curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, header));
  set(curl_easy_setopt(easy, CURLOPT_HEADERDATA, owner));
  if (!range_.empty()) set(curl_easy_setopt(easy, CURLOPT_RANGE, range_.c_str()));
  if (headers_ != nullptr) set(curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers_));
  return rc == CURLE_OK;
}

void Connection::OnHeaderLine(const char* line, std::size_t size) {
  std::size_t v = 0;
  if (size >= 5 && std::strncmp(line, "HTTP/", 5) == 0) {
    // A new response (after a redirect or a 100): forget the previous one's headers.
    contentRange.clear();
    etag.clear();
    lastModified.clear();
  } else if (HasPrefix(line, size, "content-range:", v)) {
    contentRange = Value(line, size, v);
  } else if (HasPrefix(line, size, "etag:", v)) {
    etag = Value(line, size, v);
  } else if (HasPrefix(line, size, "last-modified:", v)) {
    lastModified = Value(line, size, v);
  }
}

bool Connection::WriteAt(const char* data, std::size_t size, std::int64_t offset) {
  const std::int64_t endOffset = offset + static_cast<std::int64_t>(size);
  while (size > 0) {
    const ssize_t n = ::pwrite(task.fd, data, size, offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
    offset += n;
  }
  Segment& seg = task.segs[static_cast<std::size_t>(segment)];
  seg.written = std::max(seg.written, std::min(endOffset, seg.end));
  task.dirty = true;
  return true;
}

bool Connection::Append(const char* data, std::size_t size, std::int64_t offset) {
  if (bufferLen_ > 0 && (bufferOffset_ + static_cast<std::int64_t>(bufferLen_) != offset ||
                         bufferLen_ + size > kBufferBytes)) {
    if (!Flush()) return false;
  }
  if (bufferLen_ == 0 && size >= kDirectWriteBytes) return WriteAt(data, size, offset);
  if (!buffer_) buffer_ = std::make_unique<char[]>(kBufferBytes);
  if (bufferLen_ == 0) bufferOffset_ = offset;
  std::memcpy(buffer_.get() + bufferLen_, data, size);
  bufferLen_ += size;
  if (bufferLen_ == kBufferBytes) return Flush();
  return true;
}

bool Connection::Flush() {
  if (bufferLen_ == 0) return true;
  const std::size_t len = bufferLen_;
  bufferLen_ = 0;
  return WriteAt(buffer_.get(), len, bufferOffset_);
}

}  // namespace p2p
