#include "web/Cookies.h"

#include <algorithm>
#include <vector>

#include "text/Text.h"

namespace web {
namespace {

void DropLast(std::string& s, std::size_t n) { s.resize(s.size() >= n ? s.size() - n : 0); }

}  // namespace

std::string MergeCookies(std::string& cookies, std::string& returnedCookies) {
  cookies = text::RemoveSpaces(cookies);
  returnedCookies = text::RemoveSpaces(returnedCookies);
  const std::vector<std::string> old = text::Split(cookies, ";");
  std::vector<std::string> merged = text::Split(returnedCookies, ";");
  for (const std::string& item : old) {
    const std::string name = CookieName(item);
    const bool known = std::any_of(merged.begin(), merged.end(),
                                   [&](const std::string& m) { return CookieName(m) == name; });
    if (!known) merged.push_back(item);
  }
  std::string result;
  for (const std::string& item : merged) {
    const bool deleted = item.size() >= 8 && item.compare(item.size() - 8, 8, "=deleted") == 0;
    if (!deleted) result += item + "; ";
  }
  DropLast(result, 2);
  cookies = UniqueItems(result, "; ");
  return cookies;
}

std::string CookieName(std::string_view item) {
  const std::size_t eq = item.find('=');
  return text::Trim(eq == std::string_view::npos ? item : item.substr(0, eq));
}

std::string UniqueItems(std::string_view text, std::string_view separator) {
  std::vector<std::string> kept;
  std::string result;
  for (std::string& item : text::Split(text, separator)) {
    if (std::find(kept.begin(), kept.end(), item) != kept.end()) continue;
    result += item;
    result += separator;
    kept.push_back(std::move(item));
  }
  DropLast(result, separator.size());
  return result;
}

}  // namespace web
