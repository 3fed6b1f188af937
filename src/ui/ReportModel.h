#pragma once
// The rows of one report-style list: per row one code page 936 text per
// column, a state image and an optional failure text. UI thread only.
//
// Writes are cheap with many rows: a write that changes nothing is dropped,
// and changed rows are announced together after a short delay (one
// dataChanged per changed row, or one for the whole table when most rows
// changed) instead of once per cell. Rows are inserted and removed at once.

#include <QAbstractTableModel>
#include <QTimer>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/ReportColumns.h"

namespace ui {

class ReportModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  ReportModel(std::vector<ReportColumn> columns, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Positions outside the rows are ignored (reads give empty text / -1).
  int AppendRow(const std::string& firstColumn);
  const std::string& Text(int row, int column) const;
  void SetText(int row, int column, const std::string& text);
  int StateImage(int row) const;
  void SetStateImage(int row, int image);
  const std::string& Failure(int row) const;
  void SetFailure(int row, const std::string& message);
  void RemoveRow(int row);
  void RemoveAllRows();

  // Announces pending changes now (the delay timer does it otherwise).
  void FlushChanges();

 private:
  struct Row {
    std::vector<std::string> texts;
    std::string failure;
    std::int8_t image = -1;
    bool dirty = false;
  };

  bool Valid(int row) const { return row >= 0 && row < static_cast<int>(rows_.size()); }
  void MarkDirty(int row);

  std::vector<ReportColumn> columns_;
  std::vector<Row> rows_;
  std::vector<int> dirtyRows_;
  QTimer flushTimer_;
};

}  // namespace ui
