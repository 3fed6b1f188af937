#pragma once
// One HTTP(S) request, exact to the byte, over libcurl.
//
// Texts are code page 936 byte strings; the body comes back as raw bytes.
// nullptr stands for an omitted parameter; only `cookies` tells omitted from
// empty (supplied: the process-wide cookie store is not used for the request and
// the response's cookies are merged into the text). The header block that is
// sent is built in `extraHeaders` and written back there.
//
// Threads: any thread may call WebRequest; calls block until the body is read.
// Requests share one process-wide cookie store, DNS cache and connection cache,
// so keep-alive connections are reused from one call to the next.

#include <cstddef>
#include <string>
#include <string_view>

namespace web {

// method: 0 GET, 1 POST, 2 HEAD; anything else is GET.
// proxy: "host:port"; empty means a direct connection.
std::string WebRequest(std::string_view url, int method = 0, std::string_view postText = {},
                       std::string* cookies = nullptr, std::string* returnedCookies = nullptr,
                       std::string* extraHeaders = nullptr, std::string* responseHeaders = nullptr,
                       bool noRedirect = false, std::string* postBytes = nullptr,
                       std::string_view proxy = {});

// Guards against servers that accept and then hang, and against endless pages.
struct Limits {
  long connectTimeoutMs;     // name lookup and TCP/TLS connect
  long stallTimeoutMs;       // no byte sent or received for this long ends the transfer
  std::size_t maxBodyBytes;  // a body is cut here; the bytes up to the cap are returned
};
Limits DefaultLimits();  // 15 s, 30 s, 16 MiB
void SetLimits(const Limits& limits);

// Ends every request in progress and makes later ones return at once with an
// empty body; for program exit. Any thread; cannot be undone.
void AbortAll();

}  // namespace web
