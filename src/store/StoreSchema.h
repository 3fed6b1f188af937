#pragma once
// The three tables of the store file and their fields, in UTF-8 as the file
// holds them. These names are the only identifiers that ever reach SQL text.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "store/DownloadStore.h"

namespace store {

// PRAGMA user_version of a file with this schema.
inline constexpr std::int64_t kSchemaVersion = 1;

enum class FieldKind { Text, Number };

struct FieldDef {
  std::string_view name;  // UTF-8
  FieldKind kind;
};

struct TableDef {
  std::string_view name;  // UTF-8
  std::span<const FieldDef> fields;
  // Index in fields of the 1-based position field ("编号"), or -1.
  int positionField;
};

const TableDef& DefOf(Table t);

// CREATE TABLE statements for all three tables, each with an integer primary
// key "id" whose order is the insertion order.
std::string CreateTablesSql();

}  // namespace store
