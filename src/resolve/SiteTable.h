#pragma once
// The sites' domain tags and hosts: the one place where real sites are set.
// Built-in values are names under the reserved ".example" domain. Plain data;
// any thread.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace resolve {

constexpr int kSiteCount = 8;  // sites A to H, in the order their rules are tried

// Texts in code page 936. Hosts that a site serves on a port other than 80
// include it ("media.c-dj.example:8080").
struct SiteEndpoints {
  std::string tag;          // lowercase domain: selects lines, and is the entry's source tag
  std::string mediaHost;    // sites A, B, C, F, G
  std::string webHost;      // sites G (playlist requests) and H (download pages)
  std::string scriptHost;   // site E's script page
  std::string webHostName;  // site E: written into the media address
  std::string mediaPath;    // site G: path segment in front of the media path
};

struct SiteTable {
  std::array<SiteEndpoints, kSiteCount> sites;
};

SiteTable BuiltInSites();

// 'A' for 0 ... 'H' for 7.
char SiteLetter(int site);

// A play-page address of the site as configured, for the site notes.
std::string ExamplePlayAddress(const SiteTable& table, int site);

// Applies a site file over the table: one endpoint a line,
// "<site letter> <key> <value>", keys tag, media_host, web_host, script_host,
// web_host_name, media_path; "#" starts a comment; the text is UTF-8. Endpoints
// not named keep their values. On an error the table is left unchanged and the
// message (with its line number) is returned.
std::optional<std::string> ApplySiteText(std::string_view utf8Text, SiteTable& table);
std::optional<std::string> LoadSiteFile(const std::string& path, SiteTable& table);

}  // namespace resolve
