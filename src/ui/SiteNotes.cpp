#include "ui/SiteNotes.h"

#include "text/Text.h"
#include "ui/ClickLabel.h"
#include "ui/Gbk.h"
#include "ui/UiNames.h"
#include "ui/UiTexts.h"

namespace ui {
namespace {
constexpr std::array<int, kSiteCount> kLineY = {18, 40, 62, 84, 106, 128, 152, 177};
constexpr std::array<const char*, kSiteCount> kFormats = {"MP3", "MP4", "MP3", "MP3",
                                                          "FLV", "MP3", "MP3", "MP3"};
constexpr int kConvertedSite = 4;  // site E delivers FLV and converts it
constexpr int kTagWidth = 14;
}  // namespace

QString SiteNoteText(int site, const SiteNote& note) {
  QString line = FromGbk(text::UpperAscii(note.tag)).leftJustified(kTagWidth, QLatin1Char(' '));
  line += Tr(texts::kSiteFormat);
  line += QLatin1String(kFormats[static_cast<std::size_t>(site)]);
  line += Tr(texts::kSiteAddress);
  line += FromGbk(note.example);
  if (site == kConvertedSite) line += Tr(texts::kSiteConverted);
  return line;
}

SiteNotes::SiteNotes(const std::array<SiteNote, kSiteCount>& notes, QWidget* parent)
    : QGroupBox(Tr(texts::kSiteNotesGroup), parent) {
  setObjectName(Tr(names::kSiteNotesGroup));
  for (int site = 0; site < kSiteCount; ++site) {
    const auto i = static_cast<std::size_t>(site);
    auto* line = new ClickLabel(SiteNoteText(site, notes[i]), this);
    line->setObjectName(Tr(names::kSiteNotes[i]));
    line->setGeometry(10, kLineY[i], 720, 16);
    lines_[i] = line;
  }
}

}  // namespace ui
