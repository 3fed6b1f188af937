#pragma once
// The cursor over one table of the store: the ordered record ids in memory (so
// a position is found in O(1)), the current position, and a record added but
// not yet saved. Owned by DownloadStore; same thread rules.

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
  TableCursor(sqlite3* db, const TableSpec& spec);
  // Prepares the statements against the file and loads the ids; false when the
  // file's table does not have the expected fields.
  bool Load();

  std::int64_t Count() const;
  bool GoTo(std::int64_t position);
  bool MoveFirst();
  bool MoveNext();
  std::string ReadText(std::string_view gbkField);
  bool ReadInteger(std::string_view gbkField, std::int64_t& value);
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
  using Cell = std::variant<std::monostate, std::int64_t, std::string>;  // texts in UTF-8
  struct Column {
    std::string gbkName;
    FieldKind kind;
    Statement update;  // value by id
  };

  int FieldIndex(std::string_view gbkField) const;
  // The fields of the current record: the added one, or the saved one read
  // once per record (a poll reads several fields of each); null when none.
  const std::vector<Cell>* CurrentCells();
  bool HasSaved() const { return !onDeleted_ && position_ < std::ssize(ids_); }
  bool HasAdded() const { return added_.has_value(); }
  // Inserts the added record; its id in newId. Memory is left as it was.
  bool InsertAdded(std::int64_t& newId);
  void KeepInserted(std::int64_t newId);
  bool WriteCell(int field, const Cell& cell);
  bool SetPositionNumber(std::int64_t id, std::int64_t number);

  sqlite3* db_;
  const TableSpec& spec_;
  std::vector<Column> columns_;
  Statement selectRow_;  // every field by id
  Statement insert_;
  Statement delete_;
  Statement deleteAll_;

  std::vector<std::int64_t> ids_;  // in insertion order
  // The position field's value per record (only for a table that has one), so
  // renumbering knows without reading which numbers change.
  std::vector<std::optional<std::int64_t>> numbers_;
  // ids_.size() means past the end, or the added record when there is one.
  std::int64_t position_ = 0;
  bool onDeleted_ = false;  // the current record was deleted
  std::optional<std::vector<Cell>> added_;
  // The saved record last read, by id; any change to the table clears it.
  std::int64_t rowId_ = 0;
  std::vector<Cell> row_;
  bool rowValid_ = false;
};

}  // namespace store
