#include "store/Sqlite.h"

#include <cstdio>

namespace store {

Statement Prepare(sqlite3* db, std::string_view sql) {
  sqlite3_stmt* s = nullptr;
  if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &s, nullptr) != SQLITE_OK) {
    sqlite3_finalize(s);
    return Statement();
  }
  return Statement(s);
}

bool BindText(sqlite3_stmt* s, int index, std::string_view utf8) {
  return sqlite3_bind_text64(s, index, utf8.data(), utf8.size(), SQLITE_TRANSIENT, SQLITE_UTF8) ==
         SQLITE_OK;
}

bool StepDone(sqlite3_stmt* s) { return sqlite3_step(s) == SQLITE_DONE; }

bool Exec(sqlite3* db, const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

Transaction::Transaction(sqlite3* db) : db_(db) {
  began_ = Exec(db_, "BEGIN IMMEDIATE");
  if (!began_) LogSqliteError(db_, "begin");
}

Transaction::~Transaction() {
  if (began_ && !done_) Exec(db_, "ROLLBACK");
}

bool Transaction::Commit() {
  if (!began_ || done_) return false;
  if (!Exec(db_, "COMMIT")) {
    LogSqliteError(db_, "commit");
    return false;  // the destructor rolls back what is left of it
  }
  done_ = true;
  return true;
}

std::string QuoteName(std::string_view name) {
  std::string quoted = "\"";
  quoted += name;
  quoted += '"';
  return quoted;
}

bool IsCipherEngine(sqlite3* db) {
  Statement version = Prepare(db, "PRAGMA cipher_version");
  return version && sqlite3_step(version.get()) == SQLITE_ROW &&
         sqlite3_column_bytes(version.get(), 0) > 0;
}

void LogSqliteError(sqlite3* db, std::string_view what) {
  std::fprintf(stderr, "velmira store: %.*s: %s\n", static_cast<int>(what.size()), what.data(),
               db ? sqlite3_errmsg(db) : "no database");
}

}  // namespace store
