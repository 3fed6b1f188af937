#include "ui/ReportList.h"

#include <QHeaderView>

#include "ui/StateIcons.h"

namespace ui {

ReportList::ReportList(const QString& name, std::vector<ReportColumn> columns, QWidget* parent)
    : QTreeView(parent), model_(columns) {
  setObjectName(name);
  setModel(&model_);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  // Every row has the same height: the view then never measures rows it does
  // not show, which keeps a list of thousands of rows fast.
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(kStateImageSize, kStateImageSize));
  setContextMenuPolicy(Qt::CustomContextMenu);
  header()->setStretchLastSection(false);
  header()->setSectionsMovable(false);
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    header()->resizeSection(i, columns[static_cast<std::size_t>(i)].width);
  }
}

void ReportList::SelectRow(int row) {
  if (row < 0 || row >= model_.rowCount()) {
    selectionModel()->clearSelection();
    return;
  }
  setCurrentIndex(model_.index(row, 0));
}

int ReportList::RowCount() const { return model_.rowCount(); }

int ReportList::AppendRow(const std::string& firstColumn) { return model_.AppendRow(firstColumn); }

std::string ReportList::Text(int row, int column) const { return model_.Text(row, column); }

void ReportList::SetText(int row, int column, const std::string& text) {
  model_.SetText(row, column, text);
}

void ReportList::SetStateImage(int row, int image) { model_.SetStateImage(row, image); }

void ReportList::RemoveRow(int row) { model_.RemoveRow(row); }

void ReportList::RemoveAllRows() { model_.RemoveAllRows(); }

int ReportList::SelectedRow() const {
  const QModelIndexList rows = selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

void ReportList::SetFailure(int row, const std::string& message) {
  model_.SetFailure(row, message);
}

}  // namespace ui
