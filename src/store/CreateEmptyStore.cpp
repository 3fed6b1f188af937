#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "store/DownloadStore.h"
#include "store/Sqlite.h"
#include "store/StoreSchema.h"

namespace store {
namespace {

bool Fail(std::string* error, std::string message) {
  if (error) *error = std::move(message);
  return false;
}

std::string Errno(const std::string& what) { return what + ": " + std::strerror(errno); }

// Builds the schema in the (empty) file at path.
bool BuildSchema(const std::string& path, const std::string& password, std::string* error) {
  sqlite3* db = nullptr;
  bool ok = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
            IsCipherEngine(db) &&
            sqlite3_key(db, password.data(), static_cast<int>(password.size())) == SQLITE_OK;
  if (ok) {
    const std::string sql = "BEGIN;\n" + CreateTablesSql() +
                            "PRAGMA user_version = " + std::to_string(kSchemaVersion) +
                            ";\nCOMMIT;";
    ok = Exec(db, sql.c_str());
  }
  if (!ok) Fail(error, std::string("cannot build the tables: ") + sqlite3_errmsg(db));
  sqlite3_close(db);
  return ok;
}

}  // namespace

bool CreateEmptyStore(const std::string& path, const std::string& password, std::string* error) {
  if (password.empty()) return Fail(error, "an empty password would leave the file unencrypted");
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0) return Fail(error, path + " exists; it is left as it is");

  // Build under a temporary name beside it and link it into place: the store
  // appears complete or not at all, and a file created meanwhile is not replaced.
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return Fail(error, Errno("cannot create " + temp));
  ::close(fd);
  bool ok = BuildSchema(temp, password, error);
  if (ok && ::link(temp.c_str(), path.c_str()) != 0) {
    ok = Fail(error, errno == EEXIST ? path + " exists; it is left as it is"
                                     : Errno("cannot create " + path));
  }
  ::unlink(temp.c_str());
  ::unlink((temp + "-journal").c_str());
  if (ok) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
  }
  return ok;
}

}  // namespace store
