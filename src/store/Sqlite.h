#pragma once
// Thin RAII helpers over the SQLCipher C API. This is the only header that
// includes it; SQLITE_HAS_CODEC makes sqlite3_key visible.

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace store {

struct StatementFinalizer {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// A prepared statement, or null when the SQL does not compile against the file
// (for instance a column is missing).
Statement Prepare(sqlite3* db, std::string_view sql);

// Resets a statement and clears its bindings when the scope ends, so a cached
// statement never holds a read lock or a stale value between operations.
class StatementUse {
 public:
  explicit StatementUse(sqlite3_stmt* s) : s_(s) {}
  ~StatementUse() {
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
  }
  StatementUse(const StatementUse&) = delete;
  StatementUse& operator=(const StatementUse&) = delete;

 private:
  sqlite3_stmt* s_;
};

bool BindText(sqlite3_stmt* s, int index, std::string_view utf8);
// Runs a statement that returns no rows; true on SQLITE_DONE.
bool StepDone(sqlite3_stmt* s);
bool Exec(sqlite3* db, const char* sql);

// One write transaction; rolled back unless Commit succeeds.
class Transaction {
 public:
  explicit Transaction(sqlite3* db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  bool Began() const { return began_; }
  bool Commit();

 private:
  sqlite3* db_;
  bool began_ = false;
  bool done_ = false;
};

// "name" quoted as an SQL identifier. Only ever applied to the fixed table
// and field names of the schema, never to input.
std::string QuoteName(std::string_view name);

// True when the connection runs on SQLCipher. Plain SQLite linked into the same
// process takes over the symbols and would write the file unencrypted.
bool IsCipherEngine(sqlite3* db);

void LogSqliteError(sqlite3* db, std::string_view what);

}  // namespace store
