#pragma once
// The cursor over one table of the store. It keeps the whole table in memory,
// in insertion order: the record ids (so a position is found in O(1)) and the
// fields as the program reads them. The store holds the file's lock while it
// is open, so no one else changes the file and the copy stays true; every
// change goes to the file first and to the copy once it is committed.
// Owned by DownloadStore; same thread rules.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "store/Sqlite.h"
#include "store/StoreSchema.h"

namespace store {

class TableCursor {
 public:
  TableCursor(sqlite3* db, const TableDef& table);
  // Prepares the statements against the file and reads the table; false when
  // the file's table does not have the expected fields.
  bool Load();

  std::int64_t Count() const;
  bool GoTo(std::int64_t position);
  bool MoveFirst();
  bool MoveNext();
  std::string ReadText(std::string_view gbkField) const;
  bool ReadInteger(std::string_view gbkField, std::int64_t& value) const;
  bool WriteText(std::string_view gbkField, std::string_view gbkValue);
  bool WriteNumber(std::string_view gbkField, std::int64_t value);
  bool Add();
  bool DeleteCurrent();
  bool DeleteAll();
  // Saves the added record and sets the position field of record i to i + 1,
  // in one transaction. Only for a table with a position field.
  bool Renumber();
  // Saves the added record, if any; true when nothing is left unsaved.
  bool SaveAdded();

 private:
  // A field's value; texts in code page 936, as a read gives them back.
  using Cell = std::variant<std::monostate, std::int64_t, std::string>;
  using Row = std::vector<Cell>;
  struct Column {
    std::string gbkName;
    FieldKind kind;
    Statement update;  // value by id
  };

  int FieldIndex(std::string_view gbkField) const;
  bool HasSaved() const { return !onDeleted_ && position_ < std::ssize(ids_); }
  bool HasAdded() const { return added_.has_value(); }
  // The added record, the saved one at the position, or null.
  const Row* Current() const;
  bool WriteCell(int field, const Cell& cell, std::string_view utf8);
  // Inserts the added record; its id in newId. Memory is left as it was.
  bool InsertAdded(std::int64_t& newId);
  void KeepInserted(std::int64_t newId);
  // The position number of record i (nothing when it has none).
  std::optional<std::int64_t> NumberOf(std::int64_t i) const;
  bool SetNumber(std::int64_t id, std::int64_t number);

  sqlite3* db_;
  const TableDef& table_;
  std::vector<Column> columns_;
  Statement insert_;
  Statement delete_;
  Statement deleteAll_;

  std::vector<std::int64_t> ids_;  // in insertion order
  std::vector<Row> rows_;          // beside ids_
  // ids_.size() means past the end, or the added record when there is one.
  std::int64_t position_ = 0;
  bool onDeleted_ = false;  // the current record was deleted
  std::optional<Row> added_;
};

}  // namespace store
