#pragma once
// One HTTP request of a task for one segment: the easy handle, the response headers that
// matter, and a large write buffer that goes to the .part file with pwrite at its offset.
// Used by the engine thread only.

#include <curl/curl.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace p2p {

struct Task;

struct Failure {
  bool transient = false;
  std::int32_t code = 0;
};

class Connection {
 public:
  Connection(Task& task, int segment, bool probe, std::int64_t requestStart,
             std::int64_t requestEnd);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Builds the easy handle; false when curl refuses the options.
  bool Setup(void* owner, curl_write_callback write, curl_write_callback header, long bufferSize);

  // Copies or writes data for file offset `offset` (always the end of what is buffered).
  bool Append(const char* data, std::size_t size, std::int64_t offset);
  // Writes the buffer out; false on a write error (the buffer is then dropped).
  bool Flush();

  void OnHeaderLine(const char* line, std::size_t size);

  Task& task;
  CURL* easy = nullptr;
  int segment;
  bool probe;
  std::int64_t requestStart;
  std::int64_t requestEnd;  // exclusive; kUnknownEnd for an open range

  bool checked = false;     // the status and ranges have been examined
  bool reachedEnd = false;  // the segment is fully received; the rest is not needed
  bool paused = false;
  bool restartFresh = false;  // the file changed or ranges stopped working: start from 0
  bool retryWithoutRange = false;
  std::optional<Failure> failure;

  std::string contentRange;
  std::string etag;
  std::string lastModified;

 private:
  bool WriteAt(const char* data, std::size_t size, std::int64_t offset);

  std::unique_ptr<char[]> buffer_;
  std::size_t bufferLen_ = 0;
  std::int64_t bufferOffset_ = 0;
  std::string range_;
  curl_slist* headers_ = nullptr;
};

}  // namespace p2p
