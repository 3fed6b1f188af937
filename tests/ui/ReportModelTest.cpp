// The list model's change announcements: writes that change nothing stay
// silent, several writes to a row make one signal, most rows at once make one
// for the table, and a removal announces what was pending under the old rows.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "ui/ReportModel.h"

namespace uitest {
namespace {

std::vector<std::pair<int, int>> Ranges(const QSignalSpy& spy) {
  std::vector<std::pair<int, int>> out;
  for (const QList<QVariant>& args : spy) {
    out.emplace_back(args[0].toModelIndex().row(), args[1].toModelIndex().row());
  }
  return out;
}

TEST(ReportModelTest, ChangesAreAnnouncedPerRowOrForTheWholeTable) {
  ui::ReportModel model(ui::DownloadColumns());
  for (int i = 0; i < 10; ++i) model.AppendRow("row" + std::to_string(i));
  QSignalSpy spy(&model, &QAbstractItemModel::dataChanged);

  model.SetText(3, 0, "row3");  // unchanged
  model.SetStateImage(3, -1);   // unchanged
  model.FlushChanges();
  EXPECT_EQ(spy.count(), 0);

  model.SetText(3, 1, "2KB/s");
  model.SetText(3, 2, "45.67%");
  model.SetStateImage(3, 0);
  model.SetFailure(7, "x");
  model.FlushChanges();
  EXPECT_EQ(Ranges(spy), (std::vector<std::pair<int, int>>{{3, 3}, {7, 7}}));
  EXPECT_EQ(model.Text(3, 2), "45.67%");
  EXPECT_EQ(model.StateImage(3), 0);

  spy.clear();
  for (int i = 0; i < 6; ++i) model.SetText(i, 1, "1KB/s");
  model.FlushChanges();
  EXPECT_EQ(Ranges(spy), (std::vector<std::pair<int, int>>{{0, 9}}));

  spy.clear();
  model.SetText(8, 1, "9KB/s");
  model.RemoveRow(2);
  EXPECT_EQ(Ranges(spy), (std::vector<std::pair<int, int>>{{8, 8}}));
  EXPECT_EQ(model.Text(7, 1), "9KB/s");
  EXPECT_EQ(model.rowCount(), 9);
}

TEST(ReportModelTest, OutOfRangePositionsAreIgnored) {
  ui::ReportModel model(ui::CompletedColumns());
  model.AppendRow("a");
  model.SetText(1, 0, "x");
  model.SetText(0, 4, "x");
  model.SetStateImage(-1, 4);
  model.RemoveRow(5);
  EXPECT_EQ(model.Text(0, 4), "");
  EXPECT_EQ(model.Text(3, 0), "");
  EXPECT_EQ(model.StateImage(2), -1);
  EXPECT_EQ(model.rowCount(), 1);
}

}  // namespace
}  // namespace uitest
