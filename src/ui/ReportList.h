#pragma once
// A report-style list ("下载列表框", "完成列表框"): a tree view without
// branches over a ReportModel, implementing the task code's list interface.
// UI thread only.

#include <QTreeView>
#include <string>
#include <vector>

#include "tasks/ListView.h"
#include "ui/ReportColumns.h"
#include "ui/ReportModel.h"

namespace ui {

class ReportList : public QTreeView, public tasks::ListView {
  Q_OBJECT

 public:
  ReportList(const QString& name, std::vector<ReportColumn> columns, QWidget* parent);

  ReportModel& Model() { return model_; }
  const ReportModel& Model() const { return model_; }
  void SelectRow(int row);

  // tasks::ListView
  int RowCount() const override;
  int AppendRow(const std::string& firstColumn) override;
  std::string Text(int row, int column) const override;
  void SetText(int row, int column, const std::string& text) override;
  void SetStateImage(int row, int image) override;
  void RemoveRow(int row) override;
  void RemoveAllRows() override;
  int SelectedRow() const override;
  void SetFailure(int row, const std::string& message) override;

 private:
  ReportModel model_;
};

}  // namespace ui
