#include "ui/ReportColumns.h"

#include "ui/UiTexts.h"

namespace ui {
namespace {
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
}  // namespace

const std::vector<ReportColumn>& DownloadColumns() {
  static const std::vector<ReportColumn> columns = {
      {texts::kColumnTrack, 350, kLeft},    {texts::kColumnSpeed, 80, kRight},
      {texts::kColumnProgress, 70, kRight}, {texts::kColumnDownloaded, 70, kRight},
      {texts::kColumnFileSize, 70, kRight}, {texts::kColumnTrackSource, 80, kLeft}};
  return columns;
}

const std::vector<ReportColumn>& CompletedColumns() {
  static const std::vector<ReportColumn> columns = {{texts::kColumnTrack, 300, kLeft},
                                                    {texts::kColumnCompletedAt, 180, kLeft},
                                                    {texts::kColumnSongSource, 100, kLeft},
                                                    {texts::kColumnDirectory, 150, kLeft}};
  return columns;
}

}  // namespace ui
