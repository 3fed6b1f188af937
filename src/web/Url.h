#pragma once
// Splitting a request address into the host, port and path that a connection
// takes. Plain text search, not a URL parser: addresses with "http://",
// "https://" or no scheme are accepted and odd ones split the way the search
// falls. Pure functions; any thread.

#include <string>
#include <string_view>

namespace web {

// The host in lower case; with keepPort a ":port" that follows it stays.
std::string UrlHost(std::string_view url, bool keepPort = false);
// The port the address names, else 443 for "https" and 80 for everything else;
// 0 when the text after the last ":" of the host does not start with a digit.
int UrlPort(std::string_view url);
// Path, query and fragment in the address's own letter case; "/" when none.
std::string UrlPath(std::string_view url);

}  // namespace web
