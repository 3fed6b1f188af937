#pragma once
// The eight site rules, tried in table order (site A to site H). A rule belongs
// to a line that contains its site's tag anywhere, byte for byte; it fetches
// what it needs, cuts title and media path out between fixed markers and builds
// one entry: media address "|" title + extension "|" tag. Rules block on their
// requests; call them from the resolve worker, never the UI thread.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "resolve/SiteTable.h"

namespace resolve {

struct SiteRule {
  int site;  // index into SiteTable::sites
  // nullopt only for sites A and B when the cut yields fewer than two parts.
  std::optional<std::string> (*resolve)(std::string_view line, const SiteEndpoints& site);
};

std::span<const SiteRule> SiteRules();

// A line belongs to a site when it holds the site's tag (case-sensitive). An
// empty tag matches nothing.
bool Matches(std::string_view line, const SiteEndpoints& site);

}  // namespace resolve
