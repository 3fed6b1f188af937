#pragma once
// "分组框3" ("舞曲下载说明") on the page "站点说明": one line per site, site A
// at the top, built from the site table. UI thread only.

#include <QGroupBox>
#include <QString>
#include <array>
#include <string>

namespace ui {

class ClickLabel;

inline constexpr int kSiteCount = 8;

struct SiteNote {
  std::string tag;      // the site's domain tag (code page 936)
  std::string example;  // an example play address of the site
};

// One line: the tag in capitals padded to 14 characters, "下载格式  ", the
// format, "  下载地址：播放地址  例：", the example, and for site E (index 4)
// the conversion remark.
QString SiteNoteText(int site, const SiteNote& note);

class SiteNotes : public QGroupBox {
  Q_OBJECT

 public:
  SiteNotes(const std::array<SiteNote, kSiteCount>& notes, QWidget* parent);

  // The label of a site's line (site 0..7).
  ClickLabel* Line(int site) const { return lines_[static_cast<std::size_t>(site)]; }

 private:
  std::array<ClickLabel*, kSiteCount> lines_{};
};

}  // namespace ui
