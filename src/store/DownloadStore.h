#pragma once
// The task database: three tables in one SQLCipher file, each addressed by
// position like a cursor.
//
// Texts (field names and values) are code page 936 byte strings, as everywhere
// in the program; the file holds UTF-8. Every operation on a closed store does
// nothing (reads give empty text, AddRecord false). Not thread-safe: the
// program uses it on the UI thread only.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;

namespace store {

enum class Table { Downloads, Settings, Completed };  // "下载记录", "设置记录", "完成下载"

class TableCursor;

class DownloadStore {
 public:
  DownloadStore();
  // Saves records still waiting in AddRecord, then closes the file.
  ~DownloadStore();
  DownloadStore(const DownloadStore&) = delete;
  DownloadStore& operator=(const DownloadStore&) = delete;

  // path: a file-system path (UTF-8). A missing or unopenable file (wrong
  // password, damaged, another schema) leaves the store closed and the file
  // byte-identical. Never creates a file.
  bool OpenStore(const std::string& path, const std::string& password);
  bool IsOpen() const;

  // Includes a record added with AddRecord and not saved yet.
  std::int64_t RecordCount(Table t);
  // 0-based; a position outside the table leaves no current record (false).
  bool GoToRecord(Table t, std::int64_t position);
  // Empty text when there is no current record or the field is unknown.
  std::string ReadText(Table t, std::string_view field);
  // Number fields only; value is left unchanged on failure (also when empty).
  bool ReadInteger(Table t, std::string_view field, std::int64_t& value);
  bool WriteText(Table t, std::string_view field, std::string_view value);
  bool WriteNumber(Table t, std::string_view field, std::int64_t value);
  // Appends an empty record and makes it current. It is held in memory and
  // written as one transaction when the position next moves (MoveFirst,
  // MoveNext, GoToRecord, RenumberDownloads, another AddRecord) or the store is
  // destroyed; DeleteCurrent or DeleteAll before that discard it. A move whose
  // save fails does not happen: it returns false and the record stays current.
  bool AddRecord(Table t);
  bool MoveFirst(Table t);
  // True when a record is current afterwards; after DeleteCurrent it moves to
  // the record that followed the deleted one.
  bool MoveNext(Table t);
  // Afterwards there is no current record until the next move. In "下载记录"
  // the same transaction closes the gap in "编号" for the records behind it,
  // so a crash between the delete and the renumbering leaves no gap.
  bool DeleteCurrent(Table t);
  bool DeleteAll(Table t);
  // Saves a just-added record of "下载记录" and gives record i "编号" = i + 1,
  // in one transaction that writes only the numbers that change. Leaves no
  // current record, as the pass ends past the last one.
  void RenumberDownloads();

 private:
  void Close();
  TableCursor* Cursor(Table t);

  sqlite3* db_ = nullptr;
  std::array<std::unique_ptr<TableCursor>, 3> cursors_;
};

// programFolder + "/data/Data.mdb" (a trailing "/" of the folder is dropped).
std::string StorePath(const std::string& programFolder);

inline constexpr const char* kStorePassword = "qalturvim";

// Creates an empty store with the three tables; refuses (false + message) an
// existing file. The parent folder must exist. The file appears complete or
// not at all.
bool CreateEmptyStore(const std::string& path, const std::string& password, std::string* error);

}  // namespace store
