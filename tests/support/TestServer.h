#pragma once
// An HTTP/1.1 server for tests: 127.0.0.1 on a port it picks, one thread per
// connection, keep-alive. It records every request byte-exact (request line and
// header lines in the order received) and answers from a table of canned
// responses or from a handler. It stops and joins its threads in the destructor.
// Thread-safe: tests configure it from their thread while it serves.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace testsupport {

struct Request {
  std::string requestLine;               // "GET /path?q HTTP/1.1"
  std::vector<std::string> headerLines;  // without their CRLF, as received
  std::string method;
  std::string target;  // path with query, as on the request line
  std::string body;
  // The value of the first header with this name (case-insensitive), trimmed.
  std::optional<std::string> Header(std::string_view name) const;
  // Request line and header lines joined by CRLF, ending with the blank line.
  std::string Head() const;
};

struct Response {
  static constexpr std::size_t kNoCut = std::numeric_limits<std::size_t>::max();

  int status = 200;
  std::vector<std::pair<std::string, std::string>> headers;  // sent in this order
  std::string body;
  std::string contentType = "application/octet-stream";
  bool honourRanges = true;       // answer "Range: bytes=a-b" with 206 and advertise it
  bool chunked = false;           // chunked transfer coding instead of Content-Length
  bool noLength = false;          // neither length nor chunks: the body ends at close
  std::size_t cutAfter = kNoCut;  // close the connection after this many body bytes
  std::chrono::milliseconds stallBeforeReply{0};  // accept, read, then stay silent
  std::chrono::milliseconds stallAfterCut{0};     // after cutAfter bytes: stay silent, then close
  std::size_t bytesPerSecond = 0;                 // throttle the body; 0 means unthrottled
};

class TestServer {
 public:
  using Handler = std::function<std::optional<Response>(const Request&)>;

  TestServer();
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  uint16_t Port() const { return port_; }
  std::string Host() const;                      // "127.0.0.1:PORT"
  std::string Url(std::string_view path) const;  // "http://127.0.0.1:PORT" + path

  // Canned answers by exact target (path and query). Unknown targets get 404.
  void Serve(const std::string& target, Response response);
  void Serve(const std::string& target, std::string body, std::string contentType = "text/html");
  void Redirect(const std::string& target, const std::string& location, int status = 302);
  // Asked first for every request; nullopt falls back to the canned answers.
  void SetHandler(Handler handler);

  std::vector<Request> Requests() const;
  std::size_t RequestCount() const;
  std::size_t CountFor(std::string_view target) const;
  void ClearRequests();
  // Total body bytes written to clients so far.
  std::uint64_t BodyBytesSent() const { return bodyBytesSent_.load(); }

 private:
  void AcceptLoop();
  void ServeConnection(int fd);
  bool Answer(int fd, const Request& request);
  bool SendAll(int fd, std::string_view data);
  bool SendBody(int fd, std::string_view body, const Response& response);
  // Waits up to d or until the server stops; false when stopping.
  bool WaitOrStop(std::chrono::milliseconds d);

  int listenFd_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<std::uint64_t> bodyBytesSent_{0};
  mutable std::mutex mutex_;
  std::condition_variable stopCv_;
  std::map<std::string, Response> canned_;
  Handler handler_;
  std::vector<Request> requests_;
  std::vector<int> openFds_;
  std::thread acceptThread_;
  std::vector<std::thread> connectionThreads_;
};

// The bytes of tests/fixtures/<relativePath>, exactly as stored.
std::string ReadFixture(std::string_view relativePath);

// A folder under the system's temporary folder, removed with its contents at destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }

 private:
  std::string path_;
};

// Polls pred every few milliseconds until it holds or the time runs out.
bool WaitFor(const std::function<bool()>& pred,
             std::chrono::milliseconds limit = std::chrono::seconds(10));

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::string_view bytes);
std::string Sha256Hex(std::string_view bytes);

}  // namespace testsupport
