#include "web/Url.h"

#include <climits>

#include "text/Text.h"

namespace web {

std::string UrlHost(std::string_view url, bool keepPort) {
  std::string copy = text::LowerAscii(url);
  // A trailing "/" gives the host an end marker when the address has no path.
  if (copy.empty() || copy.back() != '/') copy += '/';
  std::string host;
  if (copy.compare(0, 8, "https://") == 0) {
    host = text::TextBetween(copy, "https://", "/");
  } else {
    if (!text::Contains(copy, "http://")) copy.insert(0, "http://");
    host = text::TextBetween(copy, "http://", "/");
  }
  if (!keepPort) {
    const std::int64_t colon = text::Find(host, ":");
    if (colon > 0) host.resize(static_cast<std::size_t>(colon - 1));
  }
  return host;
}

int UrlPort(std::string_view url) {
  const std::string host = UrlHost(url, true);
  const std::size_t colon = host.rfind(':');
  if (colon == std::string::npos) {
    return text::LowerAscii(url.substr(0, 5)) == "https" ? 443 : 80;
  }
  long long port = 0;
  for (std::size_t i = colon + 1; i < host.size() && host[i] >= '0' && host[i] <= '9'; ++i) {
    port = port * 10 + (host[i] - '0');
    if (port > INT_MAX) return INT_MAX;
  }
  return static_cast<int>(port);
}

std::string UrlPath(std::string_view url) {
  const std::string host = UrlHost(url);
  std::int64_t from = text::Find(url, host, 1, true);
  if (from < 1) from = 1;
  const std::int64_t slash = text::Find(url, "/", from);
  if (slash < 1) return "/";
  return std::string(url.substr(static_cast<std::size_t>(slash - 1)));
}

}  // namespace web
