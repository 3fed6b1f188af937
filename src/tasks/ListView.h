#pragma once
// A report-style list as task code sees it: rows of texts in columns and a
// state image per row. The windows implement it over their list controls;
// tests use plain fakes. Rows are 0-based. UI thread only.

#include <string>

namespace tasks {

class ListView {
 public:
  virtual ~ListView() = default;
  virtual int RowCount() const = 0;
  // Appends a row whose first column holds firstColumn; returns the new row.
  virtual int AppendRow(const std::string& firstColumn) = 0;
  virtual std::string Text(int row, int column) const = 0;
  virtual void SetText(int row, int column, const std::string& text) = 0;
  // 0 downloading, 1 stopped, 4 finished; 2 and 3 are not used.
  virtual void SetStateImage(int row, int image) = 0;
  virtual void RemoveRow(int row) = 0;
  virtual void RemoveAllRows() = 0;
  // -1 when no row is selected.
  virtual int SelectedRow() const = 0;
  // A failed task: the row shows the message (colour, tooltip) until it is
  // called again with an empty text. The failure moves with its row.
  virtual void SetFailure(int row, const std::string& message) = 0;
};

}  // namespace tasks
