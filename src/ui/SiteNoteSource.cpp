#include "ui/SiteNoteSource.h"

namespace ui {

std::array<SiteNote, kSiteCount> SiteNotesOf(const resolve::SiteTable& sites) {
  std::array<SiteNote, kSiteCount> notes;
  for (int site = 0; site < kSiteCount; ++site) {
    const auto i = static_cast<std::size_t>(site);
    notes[i] = SiteNote{sites.sites[i].tag, resolve::ExamplePlayAddress(sites, site)};
  }
  return notes;
}

}  // namespace ui
