#include "store/TableCursor.h"

#include <string>

#include "text/Text.h"

namespace store {
namespace {

bool IsAscii(std::string_view s) {
  for (unsigned char c : s) {
    if (c >= 0x80) return false;
  }
  return true;
}

// ASCII is the same in both encodings; addresses and source tags mostly are.
std::string ToGbk(std::string_view utf8) {
  return IsAscii(utf8) ? std::string(utf8) : text::Utf8ToGbk(utf8);
}
std::string ToUtf8(std::string_view gbk) {
  return IsAscii(gbk) ? std::string(gbk) : text::GbkToUtf8(gbk);
}

}  // namespace

TableCursor::TableCursor(sqlite3* db, const TableDef& table) : db_(db), table_(table) {}

bool TableCursor::Load() {
  const std::string table = QuoteName(table_.name);
  std::string names;
  std::string params;
  for (const FieldDef& f : table_.fields) {
    const std::string field = QuoteName(f.name);
    Column c{text::Gbk(f.name), f.kind,
             Prepare(db_, "UPDATE " + table + " SET " + field + " = ?2 WHERE id = ?1")};
    if (!c.update) return false;
    columns_.push_back(std::move(c));
    names += ", " + field;
    params += (params.empty() ? "?" : ", ?") + std::to_string(columns_.size());
  }
  insert_ =
      Prepare(db_, "INSERT INTO " + table + " (" + names.substr(2) + ") VALUES (" + params + ")");
  delete_ = Prepare(db_, "DELETE FROM " + table + " WHERE id = ?1");
  deleteAll_ = Prepare(db_, "DELETE FROM " + table);
  Statement all = Prepare(db_, "SELECT id" + names + " FROM " + table + " ORDER BY id");
  if (!insert_ || !delete_ || !deleteAll_ || !all) return false;

  sqlite3_stmt* s = all.get();
  int rc;
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    ids_.push_back(sqlite3_column_int64(s, 0));
    Row row(columns_.size());
    for (int i = 0; i < std::ssize(columns_); ++i) {
      const int type = sqlite3_column_type(s, i + 1);
      if (type == SQLITE_INTEGER) {
        row[i] = static_cast<std::int64_t>(sqlite3_column_int64(s, i + 1));
      } else if (type != SQLITE_NULL) {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(s, i + 1));
        row[i] = ToGbk(std::string_view(bytes, sqlite3_column_bytes(s, i + 1)));
      }
    }
    rows_.push_back(std::move(row));
  }
  position_ = 0;
  return rc == SQLITE_DONE;
}

std::int64_t TableCursor::Count() const { return std::ssize(ids_) + (HasAdded() ? 1 : 0); }

int TableCursor::FieldIndex(std::string_view gbkField) const {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i].gbkName == gbkField) return static_cast<int>(i);
  }
  return -1;
}

bool TableCursor::GoTo(std::int64_t position) {
  if (!SaveAdded()) return false;
  onDeleted_ = false;
  const bool inside = position >= 0 && position < std::ssize(ids_);
  position_ = inside ? position : std::ssize(ids_);
  return inside;
}

bool TableCursor::MoveFirst() { return GoTo(0); }

bool TableCursor::MoveNext() {
  if (!SaveAdded()) return false;
  if (onDeleted_) {
    onDeleted_ = false;  // the records behind the deleted one moved up by one
  } else if (position_ < std::ssize(ids_)) {
    ++position_;
  }
  return position_ < std::ssize(ids_);
}

const TableCursor::Row* TableCursor::Current() const {
  if (HasAdded()) return &*added_;
  return HasSaved() ? &rows_[position_] : nullptr;
}

std::string TableCursor::ReadText(std::string_view gbkField) const {
  const int field = FieldIndex(gbkField);
  const Row* row = field < 0 ? nullptr : Current();
  if (row == nullptr) return {};
  const Cell& cell = (*row)[field];
  if (const auto* t = std::get_if<std::string>(&cell)) return *t;
  if (const auto* n = std::get_if<std::int64_t>(&cell)) return std::to_string(*n);
  return {};
}

bool TableCursor::ReadInteger(std::string_view gbkField, std::int64_t& value) const {
  const int field = FieldIndex(gbkField);
  if (field < 0 || columns_[field].kind != FieldKind::Number) return false;
  const Row* row = Current();
  const auto* n = row ? std::get_if<std::int64_t>(&(*row)[field]) : nullptr;
  if (n == nullptr) return false;
  value = *n;
  return true;
}

bool TableCursor::WriteText(std::string_view gbkField, std::string_view gbkValue) {
  const int field = FieldIndex(gbkField);
  if (field < 0 || columns_[field].kind != FieldKind::Text) return false;
  const std::string utf8 = ToUtf8(gbkValue);
  // Kept as the file will give it back (bytes that are not GBK become "?").
  return WriteCell(field, ToGbk(utf8), utf8);
}

bool TableCursor::WriteNumber(std::string_view gbkField, std::int64_t value) {
  const int field = FieldIndex(gbkField);
  if (field < 0 || columns_[field].kind != FieldKind::Number) return false;
  return WriteCell(field, value, {});
}

bool TableCursor::WriteCell(int field, const Cell& cell, std::string_view utf8) {
  if (HasAdded()) {
    (*added_)[field] = cell;
    return true;
  }
  if (!HasSaved()) return false;
  sqlite3_stmt* s = columns_[field].update.get();
  StatementUse use(s);
  sqlite3_bind_int64(s, 1, ids_[position_]);
  const auto* n = std::get_if<std::int64_t>(&cell);
  const bool bound = n ? sqlite3_bind_int64(s, 2, *n) == SQLITE_OK : BindText(s, 2, utf8);
  if (!bound || !StepDone(s) || sqlite3_changes(db_) != 1) {
    LogSqliteError(db_, "write field");
    return false;
  }
  rows_[position_][field] = cell;
  return true;
}

bool TableCursor::Add() {
  if (!SaveAdded()) return false;
  added_.emplace(columns_.size());
  onDeleted_ = false;
  position_ = std::ssize(ids_);
  return true;
}

bool TableCursor::InsertAdded(std::int64_t& newId) {
  sqlite3_stmt* s = insert_.get();
  StatementUse use(s);
  for (int i = 0; i < std::ssize(*added_); ++i) {
    const Cell& cell = (*added_)[i];
    bool bound = true;
    if (const auto* t = std::get_if<std::string>(&cell)) {
      bound = BindText(s, i + 1, ToUtf8(*t));
    } else if (const auto* n = std::get_if<std::int64_t>(&cell)) {
      bound = sqlite3_bind_int64(s, i + 1, *n) == SQLITE_OK;
    }
    if (!bound) return false;
  }
  if (!StepDone(s)) {
    LogSqliteError(db_, "save added record");
    return false;
  }
  newId = sqlite3_last_insert_rowid(db_);
  return true;
}

void TableCursor::KeepInserted(std::int64_t newId) {
  ids_.push_back(newId);
  rows_.push_back(std::move(*added_));
  added_.reset();
}

bool TableCursor::SaveAdded() {
  if (!HasAdded()) return true;
  std::int64_t newId = 0;
  // One INSERT is one transaction by itself: the record appears whole or not at all.
  if (!InsertAdded(newId)) return false;
  KeepInserted(newId);
  return true;
}

std::optional<std::int64_t> TableCursor::NumberOf(std::int64_t i) const {
  const auto* n = std::get_if<std::int64_t>(&rows_[i][table_.positionField]);
  return n ? std::optional(*n) : std::nullopt;
}

bool TableCursor::SetNumber(std::int64_t id, std::int64_t number) {
  sqlite3_stmt* s = columns_[table_.positionField].update.get();
  StatementUse use(s);
  sqlite3_bind_int64(s, 1, id);
  sqlite3_bind_int64(s, 2, number);
  if (!StepDone(s)) {
    LogSqliteError(db_, "renumber");
    return false;
  }
  return true;
}

bool TableCursor::DeleteCurrent() {
  if (HasAdded()) {
    added_.reset();
    onDeleted_ = true;
    return true;
  }
  if (!HasSaved()) return false;
  const std::int64_t at = position_;
  const bool numbered = table_.positionField >= 0;
  {
    Transaction txn(db_);
    if (!txn.Began()) return false;
    sqlite3_stmt* s = delete_.get();
    StatementUse use(s);
    sqlite3_bind_int64(s, 1, ids_[at]);
    if (!StepDone(s)) {
      LogSqliteError(db_, "delete record");
      return false;
    }
    // Record j moves to position j - 1 and so gets the number j.
    for (std::int64_t j = at + 1; numbered && j < std::ssize(ids_); ++j) {
      if (NumberOf(j) != j && !SetNumber(ids_[j], j)) return false;
    }
    if (!txn.Commit()) return false;
  }
  ids_.erase(ids_.begin() + at);
  rows_.erase(rows_.begin() + at);
  for (std::int64_t j = at; numbered && j < std::ssize(rows_); ++j) {
    rows_[j][table_.positionField] = j + 1;
  }
  onDeleted_ = true;
  return true;
}

bool TableCursor::DeleteAll() {
  sqlite3_stmt* s = deleteAll_.get();
  StatementUse use(s);
  if (!StepDone(s)) {
    LogSqliteError(db_, "delete all");
    return false;
  }
  ids_.clear();
  rows_.clear();
  added_.reset();
  position_ = 0;
  onDeleted_ = false;
  return true;
}

bool TableCursor::Renumber() {
  if (table_.positionField < 0) return false;
  const std::int64_t saved = std::ssize(ids_);
  bool changes = HasAdded();
  for (std::int64_t i = 0; i < saved && !changes; ++i) changes = NumberOf(i) != i + 1;
  if (changes) {
    Transaction txn(db_);
    if (!txn.Began()) return false;
    std::int64_t newId = 0;
    if (HasAdded()) {
      (*added_)[table_.positionField] = saved + 1;
      if (!InsertAdded(newId)) return false;
    }
    for (std::int64_t i = 0; i < saved; ++i) {
      if (NumberOf(i) != i + 1 && !SetNumber(ids_[i], i + 1)) return false;
    }
    if (!txn.Commit()) return false;
    if (HasAdded()) KeepInserted(newId);
    for (std::int64_t i = 0; i < std::ssize(rows_); ++i) rows_[i][table_.positionField] = i + 1;
  }
  position_ = std::ssize(ids_);
  onDeleted_ = false;
  return true;
}

}  // namespace store
