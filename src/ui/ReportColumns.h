#pragma once
// The column layout of a report-style list: title, width in pixels, alignment.

#include <Qt>
#include <vector>

namespace ui {

struct ReportColumn {
  const char* title;  // UTF-8 (UiTexts.h)
  int width;
  Qt::Alignment alignment;
};

// "下载列表框": track, speed, progress, downloaded, size, source.
const std::vector<ReportColumn>& DownloadColumns();
// "完成列表框": track, completion time, source, directory.
const std::vector<ReportColumn>& CompletedColumns();

// The column of "下载列表框" whose percentage text gets a progress bar.
inline constexpr int kProgressColumn = 2;

}  // namespace ui
