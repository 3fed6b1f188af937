#include "store/DownloadStore.h"

#include <sys/stat.h>

#include "store/Sqlite.h"
#include "store/StoreSchema.h"
#include "store/TableCursor.h"

namespace store {
namespace {

// The first statement is where a wrong key shows (SQLITE_NOTADB); the rest
// refuses a file of another schema or a damaged one before anything is written.
bool FileIsUsable(sqlite3* db) {
  if (!Exec(db, "SELECT count(*) FROM sqlite_master")) return false;
  Statement version = Prepare(db, "PRAGMA user_version");
  if (!version || sqlite3_step(version.get()) != SQLITE_ROW ||
      sqlite3_column_int64(version.get(), 0) != kSchemaVersion) {
    return false;
  }
  Statement check = Prepare(db, "PRAGMA quick_check");
  if (!check || sqlite3_step(check.get()) != SQLITE_ROW) return false;
  const auto* result = reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0));
  return result != nullptr && std::string_view(result) == "ok";
}

}  // namespace

DownloadStore::DownloadStore() = default;

DownloadStore::~DownloadStore() { Close(); }

void DownloadStore::Close() {
  for (auto& cursor : cursors_) {
    if (cursor && !cursor->SaveAdded()) LogSqliteError(db_, "record lost at close");
    cursor.reset();  // finalizes its statements before the connection goes
  }
  if (db_ != nullptr) sqlite3_close(db_);
  db_ = nullptr;
}

bool DownloadStore::OpenStore(const std::string& path, const std::string& password) {
  Close();
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  // No SQLITE_OPEN_CREATE: a file that vanished in between is not made anew.
  // The program is the file's only user while it runs: it holds the lock
  // (exclusive locking mode) from the first read on, so the copy of the tables
  // in memory stays true and no commit has to take the lock again.
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) !=
          SQLITE_OK ||
      !IsCipherEngine(db_) ||
      sqlite3_key(db_, password.data(), static_cast<int>(password.size())) != SQLITE_OK ||
      sqlite3_busy_timeout(db_, 1000) != SQLITE_OK ||
      !Exec(db_, "PRAGMA locking_mode = EXCLUSIVE") || !FileIsUsable(db_)) {
    sqlite3_close(db_);
    db_ = nullptr;
    return false;
  }
  const Table tables[] = {Table::Downloads, Table::Settings, Table::Completed};
  for (Table t : tables) {
    auto cursor = std::make_unique<TableCursor>(db_, DefOf(t));
    if (!cursor->Load()) {
      Close();
      return false;
    }
    cursors_[static_cast<std::size_t>(t)] = std::move(cursor);
  }
  return true;
}

bool DownloadStore::IsOpen() const { return db_ != nullptr; }

TableCursor* DownloadStore::Cursor(Table t) { return cursors_[static_cast<std::size_t>(t)].get(); }

std::int64_t DownloadStore::RecordCount(Table t) {
  TableCursor* c = Cursor(t);
  return c ? c->Count() : 0;
}

bool DownloadStore::GoToRecord(Table t, std::int64_t position) {
  TableCursor* c = Cursor(t);
  return c && c->GoTo(position);
}

std::string DownloadStore::ReadText(Table t, std::string_view field) {
  TableCursor* c = Cursor(t);
  return c ? c->ReadText(field) : std::string();
}

bool DownloadStore::ReadInteger(Table t, std::string_view field, std::int64_t& value) {
  TableCursor* c = Cursor(t);
  return c && c->ReadInteger(field, value);
}

bool DownloadStore::WriteText(Table t, std::string_view field, std::string_view value) {
  TableCursor* c = Cursor(t);
  return c && c->WriteText(field, value);
}

bool DownloadStore::WriteNumber(Table t, std::string_view field, std::int64_t value) {
  TableCursor* c = Cursor(t);
  return c && c->WriteNumber(field, value);
}

bool DownloadStore::AddRecord(Table t) {
  TableCursor* c = Cursor(t);
  return c && c->Add();
}

bool DownloadStore::MoveFirst(Table t) {
  TableCursor* c = Cursor(t);
  return c && c->MoveFirst();
}

bool DownloadStore::MoveNext(Table t) {
  TableCursor* c = Cursor(t);
  return c && c->MoveNext();
}

bool DownloadStore::DeleteCurrent(Table t) {
  TableCursor* c = Cursor(t);
  return c && c->DeleteCurrent();
}

bool DownloadStore::DeleteAll(Table t) {
  TableCursor* c = Cursor(t);
  return c && c->DeleteAll();
}

void DownloadStore::RenumberDownloads() {
  if (TableCursor* c = Cursor(Table::Downloads)) c->Renumber();
}

std::string StorePath(const std::string& programFolder) {
  std::string folder = programFolder;
  while (!folder.empty() && folder.back() == '/') folder.pop_back();
  return folder + "/data/Data.mdb";
}

}  // namespace store
