#pragma once
// The site notes' texts from the site table: each site's domain tag and an
// example play address. Any thread.

#include <array>

#include "resolve/SiteTable.h"
#include "ui/SiteNotes.h"

namespace ui {

std::array<SiteNote, kSiteCount> SiteNotesOf(const resolve::SiteTable& sites);

}  // namespace ui
