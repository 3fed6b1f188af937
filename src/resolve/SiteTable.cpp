#include "resolve/SiteTable.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "text/Text.h"

namespace resolve {
namespace {

struct Key {
  std::string_view name;
  std::string SiteEndpoints::*field;
};

constexpr Key kKeys[] = {
    {"tag", &SiteEndpoints::tag},
    {"media_host", &SiteEndpoints::mediaHost},
    {"web_host", &SiteEndpoints::webHost},
    {"script_host", &SiteEndpoints::scriptHost},
    {"web_host_name", &SiteEndpoints::webHostName},
    {"media_path", &SiteEndpoints::mediaPath},
};

// Path and file of each site's example play page, after "http://www." + tag.
constexpr std::string_view kExamplePaths[kSiteCount] = {
    "/play/10001.html", "/dance/10002.html", "/play/10003.html",    "/song/10004.html",
    "/dj/10005.html",   "/play/10006.html",  "/play/dj_10007.html", "/play/10008.html",
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The next blank-separated word of s, removed from s.
std::string_view NextWord(std::string_view& s) {
  s = TrimBlanks(s);
  std::size_t end = 0;
  while (end < s.size() && !IsBlank(s[end])) ++end;
  const std::string_view word = s.substr(0, end);
  s.remove_prefix(end);
  return word;
}

}  // namespace

SiteTable BuiltInSites() {
  SiteTable t;
  t.sites[0] = {"a-dj.example", "media.a-dj.example", "", "", "", ""};
  t.sites[1] = {"b-dj.example", "media.b-dj.example", "", "", "", ""};
  t.sites[2] = {"c-dj.example", "media.c-dj.example:8080", "", "", "", ""};
  t.sites[3] = {"d-dj.example", "", "", "", "", ""};
  t.sites[4] = {"e-dj.example", "", "", "script.e-dj.example", "www.e-dj.example", ""};
  t.sites[5] = {"f-dj.example", "media.f-dj.example:8081", "", "", "", ""};
  t.sites[6] = {"g-dj.example", "media.g-dj.example", "www.g-dj.example", "", "", "music"};
  t.sites[7] = {"h-dj.example", "", "www.h-dj.example", "", "", ""};
  return t;
}

char SiteLetter(int site) { return static_cast<char>('A' + site); }

std::string ExamplePlayAddress(const SiteTable& table, int site) {
  if (site < 0 || site >= kSiteCount) return {};
  return "http://www." + table.sites[static_cast<std::size_t>(site)].tag +
         std::string(kExamplePaths[site]);
}

std::optional<std::string> ApplySiteText(std::string_view utf8Text, SiteTable& table) {
  SiteTable edited = table;
  int lineNumber = 0;
  std::istringstream in{std::string(utf8Text)};
  for (std::string raw; std::getline(in, raw);) {
    ++lineNumber;
    std::string_view line = raw;
    line = line.substr(0, line.find('#'));
    if (TrimBlanks(line).empty()) continue;
    const std::string where = "line " + std::to_string(lineNumber) + ": ";
    const std::string_view letter = NextWord(line);
    const std::string_view key = NextWord(line);
    const std::string_view value = TrimBlanks(line);
    if (letter.size() != 1 || (letter[0] & ~0x20) < 'A' || (letter[0] & ~0x20) > 'H') {
      return where + "unknown site \"" + std::string(letter) + "\" (sites are A to H)";
    }
    const Key* found = nullptr;
    for (const Key& k : kKeys) {
      if (k.name == key) found = &k;
    }
    if (!found) {
      return where + "unknown key \"" + std::string(key) +
             "\" (keys: tag, media_host, web_host, script_host, web_host_name, media_path)";
    }
    if (found->name == "tag" && value.empty()) {
      return where + "a tag cannot be empty: it would match every line";
    }
    const auto site = static_cast<std::size_t>((letter[0] & ~0x20) - 'A');
    edited.sites[site].*(found->field) = text::Utf8ToGbk(value);
  }
  table = edited;
  return std::nullopt;
}

std::optional<std::string> LoadSiteFile(const std::string& path, SiteTable& table) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot read " + path;
  const std::string contents{std::istreambuf_iterator<char>(in), {}};
  return ApplySiteText(contents, table);
}

}  // namespace resolve
