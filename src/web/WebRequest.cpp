#include "web/WebRequest.h"

#include <curl/curl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <vector>

#include "text/Text.h"
#include "web/Cookies.h"
#include "web/Url.h"

namespace web {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kDefaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
// The response head is handed back only when it fits this buffer with its
// terminating zero; otherwise the caller gets the buffer as prepared: spaces.
constexpr std::size_t kHeaderBuffer = 5000;
constexpr int kMaxRedirects = 10;

// Process-wide state. Never destroyed: connections cached in the share call our
// socket callbacks until the process ends.
struct Shared {
  CURLSH* share = nullptr;
  std::array<std::mutex, CURL_LOCK_DATA_LAST> locks;
  std::mutex limitsMutex;
  Limits limits = DefaultLimits();
  std::atomic<bool> aborted{false};
  std::mutex socketsMutex;
  std::set<curl_socket_t> sockets;  // every socket curl holds open, for AbortAll
};

void LockShare(CURL*, curl_lock_data data, curl_lock_access, void* user) {
  static_cast<Shared*>(user)->locks[static_cast<std::size_t>(data)].lock();
}

void UnlockShare(CURL*, curl_lock_data data, void* user) {
  static_cast<Shared*>(user)->locks[static_cast<std::size_t>(data)].unlock();
}

Shared& State() {
  static Shared* const shared = [] {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    auto* s = new Shared;
    s->share = curl_share_init();
    if (s->share) {
      curl_share_setopt(s->share, CURLSHOPT_LOCKFUNC, LockShare);
      curl_share_setopt(s->share, CURLSHOPT_UNLOCKFUNC, UnlockShare);
      curl_share_setopt(s->share, CURLSHOPT_USERDATA, s);
      for (curl_lock_data d : {CURL_LOCK_DATA_COOKIE, CURL_LOCK_DATA_DNS,
                               CURL_LOCK_DATA_SSL_SESSION, CURL_LOCK_DATA_CONNECT}) {
        curl_share_setopt(s->share, CURLSHOPT_SHARE, d);
      }
    }
    return s;
  }();
  return *shared;
}

// One handle per thread for requests under the shared cookie store, made with
// the cookie engine on and cleaned up when the thread ends.
class ReusedHandle {
 public:
  ~ReusedHandle() { curl_easy_cleanup(curl_); }
  CURL* Get() {
    if (!curl_ && (curl_ = curl_easy_init())) curl_easy_setopt(curl_, CURLOPT_COOKIEFILE, "");
    return curl_;
  }

 private:
  CURL* curl_ = nullptr;
};

ReusedHandle& ThreadHandle() {
  thread_local ReusedHandle handle;
  return handle;
}

curl_socket_t OpenSocket(void*, curlsocktype, curl_sockaddr* address) {
  Shared& s = State();
  std::lock_guard lock(s.socketsMutex);
  if (s.aborted) return CURL_SOCKET_BAD;
  // Close-on-exec: the program starts child processes that must not inherit these.
  const curl_socket_t fd =
      ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
  if (fd != CURL_SOCKET_BAD) s.sockets.insert(fd);
  return fd;
}

// Holding the lock while closing keeps AbortAll from shutting down a number
// that has just been reused for another file.
int CloseSocket(void*, curl_socket_t fd) {
  Shared& s = State();
  std::lock_guard lock(s.socketsMutex);
  s.sockets.erase(fd);
  return ::close(fd);
}

// One request/response exchange; a followed redirect is a new hop.
struct Hop {
  std::size_t maxBody = 0;
  long stallMs = 0;
  bool stopAfterHead = false;  // HEAD sent with a body: curl would wait for a body that never comes

  std::string body;
  std::string head;  // this response's head: status line first, CRLF lines, blank line
  long status = 0;
  bool headComplete = false;
  bool headTooLong = false;
  Clock::time_point lastActivity = Clock::now();
  curl_off_t lastDown = 0, lastUp = 0;
};

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
  Hop& hop = *static_cast<Hop*>(user);
  const std::size_t length = size * count;
  hop.lastActivity = Clock::now();
  std::string_view line(data, length);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line.substr(0, 5) == "HTTP/") {
    // A new response: interim 1xx heads are replaced by the one that follows.
    hop.head.clear();
    hop.headComplete = hop.headTooLong = false;
    const std::size_t space = line.find(' ');
    hop.status = space == std::string_view::npos
                     ? 0
                     : static_cast<long>(text::LeadingInteger(line.substr(space + 1)));
  } else if (hop.headComplete) {
    return length;  // trailers after a chunked body are not part of the head
  }
  if (hop.head.size() + line.size() + 2 >= kHeaderBuffer) {
    hop.headTooLong = true;
  } else {
    hop.head.append(line);
    hop.head += "\r\n";
  }
  if (line.empty() && hop.status >= 200) {
    hop.headComplete = true;
    if (hop.stopAfterHead) return 0;  // ends the transfer; the caller knows why
  }
  return length;
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  Hop& hop = *static_cast<Hop*>(user);
  const std::size_t length = size * count;
  hop.lastActivity = Clock::now();
  const std::size_t room = hop.maxBody - hop.body.size();
  if (length > room) {
    hop.body.append(data, room);
    return 0;  // the cap: keep what fits and end the transfer
  }
  hop.body.append(data, length);
  return length;
}

int OnProgress(void* user, curl_off_t, curl_off_t down, curl_off_t, curl_off_t up) {
  if (State().aborted) return 1;
  Hop& hop = *static_cast<Hop*>(user);
  const auto now = Clock::now();
  if (down != hop.lastDown || up != hop.lastUp) {
    hop.lastDown = down;
    hop.lastUp = up;
    hop.lastActivity = now;
  }
  return now - hop.lastActivity > std::chrono::milliseconds(hop.stallMs) ? 1 : 0;
}

// True when a line of the block names this header, compared as curl does
// (case-insensitive name followed by ":" or ";").
bool NamesHeader(std::string_view line, std::string_view name) {
  if (line.size() <= name.size() || (line[name.size()] != ':' && line[name.size()] != ';')) {
    return false;
  }
  return text::LowerAscii(line.substr(0, name.size())) == text::LowerAscii(name);
}

bool BlockNames(const std::vector<std::string>& lines, std::string_view name) {
  for (const std::string& line : lines) {
    if (NamesHeader(line, name)) return true;
  }
  return false;
}

struct HeaderList {
  curl_slist* list = nullptr;
  HeaderList() = default;
  HeaderList(const HeaderList&) = delete;
  HeaderList& operator=(const HeaderList&) = delete;
  ~HeaderList() { curl_slist_free_all(list); }
  bool Add(const std::string& line) {
    curl_slist* next = curl_slist_append(list, line.c_str());
    if (!next) return false;
    list = next;
    return true;
  }
};

// The wire form of the block: its lines in order, then the agent. Lines that
// cannot be a header line (no name, or a bare CR/LF that would end the head
// early) are left out. A line with an empty value goes as "Name;", curl's way
// of sending "Name:" rather than removing the header. Last come empty entries
// that switch off curl's own Accept, Expect and Content-Type where the block
// has none.
bool BuildHeaders(HeaderList& out, const std::vector<std::string>& lines, std::string_view agent,
                  bool dropCredentials) {
  for (const std::string& line : lines) {
    const std::size_t colon = line.find(':');
    if (colon == 0 || colon == std::string::npos ||
        line.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
      continue;
    }
    if (dropCredentials && (NamesHeader(line, "Cookie") || NamesHeader(line, "Authorization"))) {
      continue;
    }
    const bool emptyValue = line.find_first_not_of(" \t", colon + 1) == std::string::npos;
    if (!out.Add(emptyValue ? line.substr(0, colon) + ";" : line)) return false;
  }
  // The agent goes last, after the block, unless the block carries its own
  // User-Agent line (then that line is the one sent).
  if (!BlockNames(lines, "User-Agent") && !out.Add("User-Agent: " + std::string(agent))) {
    return false;
  }
  for (std::string_view name : {"Accept", "Expect", "Content-Type"}) {
    if (!BlockNames(lines, name) && !out.Add(std::string(name) + ":")) return false;
  }
  return true;
}

// Bytes that would break the request line are escaped; everything else,
// double-byte characters included, goes as the caller wrote it.
std::string RequestTarget(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(path.size());
  for (const char c : path) {
    const auto b = static_cast<unsigned char>(c);
    if (b <= 0x20 || b == 0x7F) {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    } else {
      out += c;
    }
  }
  return out;
}

// The path curl is told for its own bookkeeping (cookie paths); the request line
// carries the target as built above. Query and fragment are left out and every
// byte outside the plain path characters is escaped, so curl's parser takes it.
std::string CookiePath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  static constexpr std::string_view kPlain = "-._~!$&'()*+,;=:@/%";
  path = path.substr(0, path.find_first_of("?#"));
  std::string out;
  for (const char c : path) {
    const auto b = static_cast<unsigned char>(c);
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       kPlain.find(c) != std::string_view::npos;
    if (plain) {
      out += c;
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out.empty() || out[0] != '/' ? "/" + out : out;
}

bool PlausibleHost(std::string_view host) {
  if (host.empty()) return false;
  for (const char c : host) {
    const bool ok =
        (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
    if (!ok) return false;
  }
  return true;
}

std::string AgentOf(std::string_view block) {
  const std::int64_t at = text::Find(block, "User-Agent:", 1, true);
  if (at < 0) return std::string(kDefaultAgent);
  const std::string_view rest = block.substr(static_cast<std::size_t>(at - 1) + 11);
  return text::Trim(rest.substr(0, rest.find("\r\n")));
}

void CompleteBlock(std::string& block, std::string_view url, const std::string* cookies) {
  if (block.empty()) {
    block = "Accept: */*";
  } else if (!text::Contains(block, "Accept:")) {
    block += "\r\nAccept: */*";
  }
  if (!text::Contains(block, "Referer:")) block += "\r\nReferer: " + std::string(url);
  if (!text::Contains(block, "Accept-Language:")) block += "\r\nAccept-Language: zh-cn";
  if (!text::Contains(block, "Content-Type:")) {
    block += "\r\nContent-Type: application/x-www-form-urlencoded";
  }
  if (cookies && !cookies->empty()) block += "\r\nCookie: " + *cookies;
}

std::string CollectCookies(std::string_view headers) {
  std::string collected;
  for (const std::string& line : text::Split(headers, "\r\n")) {
    if (!text::Contains(line, "Set-Cookie")) continue;
    if (text::Contains(line, ";")) {
      collected += text::Trim(text::TextBetween(line, "Set-Cookie:", ";"));
    } else {
      collected += text::Trim(text::ReplaceAll(line, "Set-Cookie:", "", true));
    }
    collected += "; ";
  }
  collected.resize(collected.size() >= 2 ? collected.size() - 2 : 0);
  return collected;
}

enum class Verb { kGet, kPost, kHead };

struct HopPlan {
  std::string url;     // what curl connects to
  std::string target;  // request line target; empty: curl's own from url
  Verb verb = Verb::kGet;
  bool withBody = false;
  bool secure = false;
  bool sameOrigin = true;
};

bool IsRedirect(long status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

Limits DefaultLimits() { return Limits{15000, 30000, std::size_t{16} << 20}; }

void SetLimits(const Limits& limits) {
  Shared& s = State();
  std::lock_guard lock(s.limitsMutex);
  s.limits = limits;
}

void AbortAll() {
  Shared& s = State();
  std::lock_guard lock(s.socketsMutex);
  s.aborted = true;
  for (const curl_socket_t fd : s.sockets) ::shutdown(fd, SHUT_RDWR);
}

std::string WebRequest(std::string_view url, int method, std::string_view postText,
                       std::string* cookies, std::string* returnedCookies,
                       std::string* extraHeaders, std::string* responseHeaders, bool noRedirect,
                       std::string* postBytes, std::string_view proxy) {
  Shared& shared = State();
  if (shared.aborted) return {};
  const Verb verb = method == 1 ? Verb::kPost : method == 2 ? Verb::kHead : Verb::kGet;
  const bool secure = text::LowerAscii(url.substr(0, 5)) == "https";
  std::string block = extraHeaders ? *extraHeaders : std::string();
  const std::string agent = AgentOf(block);

  // Requests under the shared cookie store reuse one handle per thread: a new
  // handle per request costs more than the request itself on a kept-alive
  // connection. A caller with its own cookie text gets a handle of its own,
  // since the cookie engine cannot be switched off on a handle again.
  ReusedHandle& reused = ThreadHandle();
  CURL* curl = cookies ? curl_easy_init() : reused.Get();
  if (!curl) return {};  // no handle: nothing sent, no output touched

  CompleteBlock(block, url, cookies);
  if (extraHeaders) *extraHeaders = block;

  std::string body;
  if (verb != Verb::kGet) {
    if (postBytes && !postBytes->empty()) {
      body = *postBytes;
    } else {
      body = std::string(postText.substr(0, postText.find('\0')));
      if (postBytes) *postBytes = body;
    }
  }

  Limits limits;
  {
    std::lock_guard lock(shared.limitsMutex);
    limits = shared.limits;
  }

  const std::vector<std::string> lines = text::Split(block, "\r\n");
  HeaderList headers, headersElsewhere;
  const bool listsBuilt = BuildHeaders(headers, lines, agent, false) &&
                          BuildHeaders(headersElsewhere, lines, agent, true);

  const std::string host = UrlHost(url);
  const int port = UrlPort(url);
  HopPlan plan;
  plan.secure = secure;
  plan.verb = verb;
  plan.withBody = verb == Verb::kPost || (verb == Verb::kHead && !body.empty());
  const std::string path = UrlPath(url);
  plan.url = std::string(secure ? "https://" : "http://") + host + ":" + std::to_string(port) +
             CookiePath(path);
  plan.target = RequestTarget(path);
  // A plain request through a proxy names the whole address on its request line.
  if (!secure && !proxy.empty()) {
    plan.target = "http://" + host + (port == 80 ? "" : ":" + std::to_string(port)) + plan.target;
  }
  const std::string proxyText(proxy);

  // A failed send is not told apart from an empty answer: hop stays empty.
  Hop hop;
  const bool sendable = listsBuilt && PlausibleHost(host) && port > 0 && port <= 65535;
  for (int redirects = 0; sendable; ++redirects) {
    // The handle is never reset (a reset handle leaks the cookie file list of
    // its previous transfer): every option a hop depends on is set on every hop.
    hop = Hop{};
    hop.maxBody = limits.maxBodyBytes;
    hop.stallMs = limits.stallTimeoutMs;
    hop.stopAfterHead = plan.verb == Verb::kHead && plan.withBody;

    curl_easy_setopt(curl, CURLOPT_SHARE, shared.share);
    curl_easy_setopt(curl, CURLOPT_URL, plan.url.c_str());
    curl_easy_setopt(curl, CURLOPT_REQUEST_TARGET,
                     plan.target.empty() ? nullptr : plan.target.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER,
                     plan.sameOrigin ? headers.list : headersElsewhere.list);
    // Only a CONNECT to a proxy uses this; the request itself carries the agent in its list.
    curl_easy_setopt(curl, CURLOPT_USERAGENT, agent.c_str());
    // An empty proxy also keeps curl from taking one from the environment. The
    // proxy serves plain requests only for plain hops, as "http=" proxy lists do.
    const bool useProxy = !proxyText.empty() && (secure || !plan.secure);
    curl_easy_setopt(curl, CURLOPT_PROXY, useProxy ? proxyText.c_str() : "");
    curl_easy_setopt(curl, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // A page usually arrives in one read with a buffer this size (curl's is 16 KiB).
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 128L * 1024);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, OpenSocket);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, CloseSocket);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &hop);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &hop);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &hop);
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);  // clears what an earlier request set
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, nullptr);
    if (plan.withBody) {
      // POST, and HEAD with a body, go the POST way; curl adds Content-Length,
      // which HTTP needs for a body.
      curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
      curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
      if (plan.verb == Verb::kHead) curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "HEAD");
    } else if (plan.verb == Verb::kHead) {
      curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    }
    curl_easy_perform(curl);  // cut, stalled or capped transfers keep what came

    if (noRedirect || !hop.headComplete || !IsRedirect(hop.status) || redirects == kMaxRedirects ||
        shared.aborted) {
      break;
    }
    char* location = nullptr;
    curl_easy_getinfo(curl, CURLINFO_REDIRECT_URL, &location);
    if (!location) break;
    const std::string next = location;
    const std::string nextLower = text::LowerAscii(next);
    const bool nextSecure = nextLower.compare(0, 8, "https://") == 0;
    // Plain may become secure; secure never falls back to plain.
    if (!nextSecure && (plan.secure || nextLower.compare(0, 7, "http://") != 0)) break;
    if (hop.status <= 303) {
      plan.withBody = false;
      if (plan.verb == Verb::kPost) plan.verb = Verb::kGet;
    }
    plan.sameOrigin = plan.sameOrigin && nextSecure == plan.secure &&
                      UrlHost(next) == UrlHost(plan.url) && UrlPort(next) == UrlPort(plan.url);
    plan.secure = nextSecure;
    plan.url = next;
    plan.target.clear();
  }
  if (cookies) curl_easy_cleanup(curl);

  std::string head(kHeaderBuffer, ' ');
  if (hop.headComplete && !hop.headTooLong) {
    head = hop.head.substr(0, hop.head.find('\0'));
    head = text::ReplaceAll(head, "Set-Cookie", "Set-Cookie", true);
  }
  std::string collected = CollectCookies(head);
  if (cookies) MergeCookies(*cookies, collected);
  if (returnedCookies) *returnedCookies = std::move(collected);
  if (responseHeaders) *responseHeaders = std::move(head);
  return std::move(hop.body);
}

}  // namespace web
