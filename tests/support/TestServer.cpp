#include "support/TestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/evp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

std::string TrimSpaces(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return std::string(s);
}

const char* Reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 206:
      return "Partial Content";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 404:
      return "Not Found";
    case 416:
      return "Range Not Satisfiable";
    case 500:
      return "Internal Server Error";
    case 503:
      return "Service Unavailable";
    default:
      return "Status";
  }
}

// Parses "bytes=a-b", "bytes=a-" or "bytes=-n" against a body of size n.
bool ParseRange(const std::string& value, std::size_t size, std::size_t& from, std::size_t& to) {
  const std::string v = TrimSpaces(value);
  if (v.rfind("bytes=", 0) != 0) return false;
  const std::string ranges = v.substr(6);
  if (ranges.find(',') != std::string::npos) return false;
  const auto dash = ranges.find('-');
  if (dash == std::string::npos) return false;
  const std::string a = ranges.substr(0, dash), b = ranges.substr(dash + 1);
  if (a.empty()) {
    if (b.empty()) return false;
    const std::size_t n = std::stoull(b);
    from = n >= size ? 0 : size - n;
    to = size - 1;
  } else {
    from = std::stoull(a);
    to = b.empty() ? size - 1 : std::min<std::size_t>(std::stoull(b), size - 1);
  }
  return from < size && from <= to;
}

}  // namespace

std::optional<std::string> Request::Header(std::string_view name) const {
  const std::string want = Lower(name);
  for (const auto& line : headerLines) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) continue;
    if (Lower(std::string_view(line).substr(0, colon)) == want) {
      return TrimSpaces(std::string_view(line).substr(colon + 1));
    }
  }
  return std::nullopt;
}

std::string Request::Head() const {
  std::string out = requestLine + "\r\n";
  for (const auto& line : headerLines) out += line + "\r\n";
  return out + "\r\n";
}

TestServer::TestServer() {
  listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) throw std::runtime_error("socket");
  int one = 1;
  ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(listenFd_, 128) != 0) {
    ::close(listenFd_);
    throw std::runtime_error("bind/listen");
  }
  socklen_t len = sizeof addr;
  ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  acceptThread_ = std::thread([this] { AcceptLoop(); });
}

TestServer::~TestServer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    for (int fd : openFds_) ::shutdown(fd, SHUT_RDWR);
  }
  stopCv_.notify_all();
  acceptThread_.join();
  for (auto& t : connectionThreads_) t.join();
  ::close(listenFd_);
}

std::string TestServer::Host() const { return "127.0.0.1:" + std::to_string(port_); }

std::string TestServer::Url(std::string_view path) const {
  return "http://" + Host() + std::string(path);
}

void TestServer::Serve(const std::string& target, Response response) {
  std::lock_guard lock(mutex_);
  canned_[target] = std::move(response);
}

void TestServer::Serve(const std::string& target, std::string body, std::string contentType) {
  Response r;
  r.body = std::move(body);
  r.contentType = std::move(contentType);
  Serve(target, std::move(r));
}

void TestServer::Redirect(const std::string& target, const std::string& location, int status) {
  Response r;
  r.status = status;
  r.headers.emplace_back("Location", location);
  Serve(target, std::move(r));
}

void TestServer::SetHandler(Handler handler) {
  std::lock_guard lock(mutex_);
  handler_ = std::move(handler);
}

std::vector<Request> TestServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::size_t TestServer::RequestCount() const {
  std::lock_guard lock(mutex_);
  return requests_.size();
}

std::size_t TestServer::CountFor(std::string_view target) const {
  std::lock_guard lock(mutex_);
  return static_cast<std::size_t>(std::count_if(
      requests_.begin(), requests_.end(), [&](const Request& r) { return r.target == target; }));
}

void TestServer::ClearRequests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
}

bool TestServer::WaitOrStop(std::chrono::milliseconds d) {
  std::unique_lock lock(mutex_);
  return !stopCv_.wait_for(lock, d, [this] { return stopping_.load(); });
}

void TestServer::AcceptLoop() {
  while (!stopping_) {
    pollfd p{listenFd_, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    std::lock_guard lock(mutex_);
    if (stopping_) {
      ::close(fd);
      break;
    }
    openFds_.push_back(fd);
    connectionThreads_.emplace_back([this, fd] { ServeConnection(fd); });
  }
}

void TestServer::ServeConnection(int fd) {
  std::string buffer;
  char chunk[16384];
  bool open = true;
  while (open && !stopping_) {
    // Read one request head.
    std::size_t headEnd;
    while ((headEnd = buffer.find("\r\n\r\n")) == std::string::npos) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 50) == 0) {
        if (stopping_) break;
        continue;
      }
      const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
      if (n <= 0) {
        open = false;
        break;
      }
      buffer.append(chunk, static_cast<std::size_t>(n));
    }
    if (!open || stopping_ || headEnd == std::string::npos) break;
    Request req;
    std::istringstream head(buffer.substr(0, headEnd + 2));
    std::string line;
    bool first = true;
    while (std::getline(head, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (first) {
        req.requestLine = line;
        first = false;
      } else if (!line.empty()) {
        req.headerLines.push_back(line);
      }
    }
    buffer.erase(0, headEnd + 4);
    const auto sp1 = req.requestLine.find(' ');
    const auto sp2 = req.requestLine.rfind(' ');
    req.method = req.requestLine.substr(0, sp1);
    if (sp1 != std::string::npos && sp2 > sp1)
      req.target = req.requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
    std::size_t contentLength = 0;
    if (auto cl = req.Header("Content-Length")) contentLength = std::stoull(*cl);
    while (buffer.size() < contentLength) {
      const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
      if (n <= 0) {
        open = false;
        break;
      }
      buffer.append(chunk, static_cast<std::size_t>(n));
    }
    if (!open) break;
    req.body = buffer.substr(0, contentLength);
    buffer.erase(0, contentLength);
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(req);
    }
    open = Answer(fd, req);
    if (auto c = req.Header("Connection"); c && Lower(*c) == "close") open = false;
  }
  std::lock_guard lock(mutex_);
  openFds_.erase(std::remove(openFds_.begin(), openFds_.end(), fd), openFds_.end());
  ::close(fd);
}

bool TestServer::SendAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool TestServer::SendBody(int fd, std::string_view body, const Response& r) {
  const std::size_t limit = std::min(body.size(), r.cutAfter);
  std::string_view part = body.substr(0, limit);
  const auto started = std::chrono::steady_clock::now();
  std::size_t sent = 0;
  const std::size_t step =
      r.bytesPerSecond ? std::max<std::size_t>(r.bytesPerSecond / 20, 1) : 65536;
  while (sent < part.size()) {
    if (stopping_) return false;
    if (r.bytesPerSecond) {
      const auto due = started + std::chrono::microseconds(sent * 1000000 / r.bytesPerSecond);
      const auto now = std::chrono::steady_clock::now();
      if (due > now &&
          !WaitOrStop(std::chrono::duration_cast<std::chrono::milliseconds>(due - now) +
                      std::chrono::milliseconds(1))) {
        return false;
      }
    }
    const std::size_t n = std::min(step, part.size() - sent);
    std::string_view piece = part.substr(sent, n);
    if (r.chunked) {
      char size[32];
      std::snprintf(size, sizeof size, "%zx\r\n", n);
      if (!SendAll(fd, size) || !SendAll(fd, piece) || !SendAll(fd, "\r\n")) return false;
    } else if (!SendAll(fd, piece)) {
      return false;
    }
    bodyBytesSent_ += n;
    sent += n;
  }
  if (limit < body.size()) {
    if (r.stallAfterCut.count() > 0) WaitOrStop(r.stallAfterCut);
    return false;  // the connection is closed: the body was cut
  }
  if (r.chunked && !SendAll(fd, "0\r\n\r\n")) return false;
  return !r.noLength;
}

bool TestServer::Answer(int fd, const Request& req) {
  std::optional<Response> chosen;
  Handler handler;
  {
    std::lock_guard lock(mutex_);
    handler = handler_;
  }
  if (handler) chosen = handler(req);
  if (!chosen) {
    std::lock_guard lock(mutex_);
    const auto it = canned_.find(req.target);
    if (it != canned_.end()) chosen = it->second;
  }
  Response r;
  if (chosen) {
    r = std::move(*chosen);
  } else {
    r.status = 404;
    r.body = "not found";
    r.contentType = "text/plain";
  }
  if (r.stallBeforeReply.count() > 0 && !WaitOrStop(r.stallBeforeReply)) return false;

  int status = r.status;
  std::string_view body = r.body;
  std::string contentRange;
  if (status == 200 && r.honourRanges) {
    if (auto range = req.Header("Range")) {
      std::size_t from = 0, to = 0;
      if (ParseRange(*range, r.body.size(), from, to)) {
        status = 206;
        body = body.substr(from, to - from + 1);
        contentRange = "bytes " + std::to_string(from) + "-" + std::to_string(to) + "/" +
                       std::to_string(r.body.size());
      } else {
        status = 416;
        body = {};
        contentRange = "bytes */" + std::to_string(r.body.size());
      }
    }
  }
  std::string head = "HTTP/1.1 " + std::to_string(status) + " " + Reason(status) + "\r\n";
  head += "Content-Type: " + r.contentType + "\r\n";
  for (const auto& [name, value] : r.headers) head += name + ": " + value + "\r\n";
  if (r.honourRanges && r.status == 200) head += "Accept-Ranges: bytes\r\n";
  if (!contentRange.empty()) head += "Content-Range: " + contentRange + "\r\n";
  if (r.chunked) {
    head += "Transfer-Encoding: chunked\r\n";
  } else if (r.noLength) {
    head += "Connection: close\r\n";
  } else {
    head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  }
  head += "\r\n";
  if (!SendAll(fd, head)) return false;
  if (req.method == "HEAD") return !r.noLength;
  return SendBody(fd, body, r);
}

std::string ReadFixture(std::string_view relativePath) {
  return ReadFileBytes(std::string(VELMIRA_FIXTURE_DIR) + "/" + std::string(relativePath));
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velmira-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

bool WaitFor(const std::function<bool()>& pred, std::chrono::milliseconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!pred()) {
    if (std::chrono::steady_clock::now() > until) return pred();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string Sha256Hex(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int len = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &len, EVP_sha256(), nullptr);
  static const char* hex = "0123456789abcdef";
  std::string out;
  for (unsigned i = 0; i < len; ++i) {
    out.push_back(hex[digest[i] >> 4]);
    out.push_back(hex[digest[i] & 15]);
  }
  return out;
}

}  // namespace testsupport
