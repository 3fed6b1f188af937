#include "ui/ReportModel.h"

#include <QBrush>
#include <QColor>

#include "ui/Gbk.h"
#include "ui/StateIcons.h"

namespace ui {
namespace {
// Long enough to gather a whole monitor tick (which lets events run after
// every task), short enough to look immediate.
constexpr int kFlushDelayMs = 40;
const std::string kEmpty;
}  // namespace

ReportModel::ReportModel(std::vector<ReportColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)) {
  flushTimer_.setSingleShot(true);
  flushTimer_.setInterval(kFlushDelayMs);
  connect(&flushTimer_, &QTimer::timeout, this, &ReportModel::FlushChanges);
}

int ReportModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ReportModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ReportModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !Valid(index.row())) return {};
  const Row& row = rows_[static_cast<std::size_t>(index.row())];
  const auto column = static_cast<std::size_t>(index.column());
  if (column >= columns_.size()) return {};
  switch (role) {
    case Qt::DisplayRole:
      return FromGbk(row.texts[column]);
    case Qt::DecorationRole:
      if (column == 0) return StateIcon(row.image);
      return {};
    case Qt::TextAlignmentRole:
      return static_cast<int>(columns_[column].alignment);
    case Qt::ForegroundRole:
      if (!row.failure.empty()) return QBrush(QColor(0xc0, 0x1c, 0x1c));
      return {};
    case Qt::ToolTipRole:
      if (!row.failure.empty()) return FromGbk(row.failure);
      return {};
    default:
      return {};
  }
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 ||
      section >= static_cast<int>(columns_.size())) {
    return {};
  }
  const ReportColumn& column = columns_[static_cast<std::size_t>(section)];
  if (role == Qt::DisplayRole) return Tr(column.title);
  if (role == Qt::TextAlignmentRole) return static_cast<int>(column.alignment);
  return {};
}

int ReportModel::AppendRow(const std::string& firstColumn) {
  const int row = static_cast<int>(rows_.size());
  beginInsertRows({}, row, row);
  Row r;
  r.texts.resize(columns_.size());
  r.texts[0] = firstColumn;
  rows_.push_back(std::move(r));
  endInsertRows();
  return row;
}

const std::string& ReportModel::Text(int row, int column) const {
  if (!Valid(row) || column < 0 || column >= static_cast<int>(columns_.size())) return kEmpty;
  return rows_[static_cast<std::size_t>(row)].texts[static_cast<std::size_t>(column)];
}

void ReportModel::SetText(int row, int column, const std::string& text) {
  if (!Valid(row) || column < 0 || column >= static_cast<int>(columns_.size())) return;
  std::string& cell = rows_[static_cast<std::size_t>(row)].texts[static_cast<std::size_t>(column)];
  if (cell == text) return;
  cell = text;
  MarkDirty(row);
}

int ReportModel::StateImage(int row) const {
  return Valid(row) ? rows_[static_cast<std::size_t>(row)].image : -1;
}

void ReportModel::SetStateImage(int row, int image) {
  if (!Valid(row)) return;
  Row& r = rows_[static_cast<std::size_t>(row)];
  const auto value = static_cast<std::int8_t>(image >= 0 && image < kStateImageCount ? image : -1);
  if (r.image == value) return;
  r.image = value;
  MarkDirty(row);
}

const std::string& ReportModel::Failure(int row) const {
  return Valid(row) ? rows_[static_cast<std::size_t>(row)].failure : kEmpty;
}

void ReportModel::SetFailure(int row, const std::string& message) {
  if (!Valid(row)) return;
  Row& r = rows_[static_cast<std::size_t>(row)];
  if (r.failure == message) return;
  r.failure = message;
  MarkDirty(row);
}

void ReportModel::RemoveRow(int row) {
  if (!Valid(row)) return;
  // Pending row numbers would shift under the removal: announce them first.
  FlushChanges();
  beginRemoveRows({}, row, row);
  rows_.erase(rows_.begin() + row);
  endRemoveRows();
}

void ReportModel::RemoveAllRows() {
  if (rows_.empty()) return;
  flushTimer_.stop();
  dirtyRows_.clear();
  beginResetModel();
  rows_.clear();
  endResetModel();
}

void ReportModel::MarkDirty(int row) {
  Row& r = rows_[static_cast<std::size_t>(row)];
  if (r.dirty) return;
  r.dirty = true;
  dirtyRows_.push_back(row);
  if (!flushTimer_.isActive()) flushTimer_.start();
}

void ReportModel::FlushChanges() {
  flushTimer_.stop();
  if (dirtyRows_.empty()) return;
  const int lastColumn = static_cast<int>(columns_.size()) - 1;
  // One signal for the whole table when most rows changed: the view repaints
  // what it shows either way, and thousands of signals cost more than that.
  if (dirtyRows_.size() * 2 > rows_.size()) {
    emit dataChanged(index(0, 0), index(static_cast<int>(rows_.size()) - 1, lastColumn));
  } else {
    for (int row : dirtyRows_) emit dataChanged(index(row, 0), index(row, lastColumn));
  }
  for (int row : dirtyRows_) rows_[static_cast<std::size_t>(row)].dirty = false;
  dirtyRows_.clear();
}

}  // namespace ui
