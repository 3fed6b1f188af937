#pragma once
// Shared helpers of the store tests: a fresh empty store file and the
// sequences of store calls the program makes for a task and for the settings.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/DownloadStore.h"
#include "support/TestServer.h"

namespace storetest {

// GBK field names, as the program passes them.
struct Fields {
  std::string number, url, fileName, path, source;  // 下载记录
  std::string speed, autoStart;                     // 设置记录 (with path)
  std::string doneName, doneTime, doneDirectory;    // 完成下载 (with source)
};
const Fields& F();

// An empty store at <temp>/Data.mdb.
struct StoreFile {
  StoreFile();
  testsupport::TempDir dir;
  std::string path;
};

struct Task {
  std::string url, fileName, path, source;  // GBK
};

// What task creation does: AddRecord, the four texts, RenumberDownloads.
bool AddTask(store::DownloadStore& s, const Task& task);
// What applying the settings does: DeleteAll, AddRecord, three fields, MoveNext.
void ApplySettings(store::DownloadStore& s, std::string_view speed, std::string_view path,
                   std::int64_t autoStart);
// The URL of every record of "下载记录", in order.
std::vector<std::string> Urls(store::DownloadStore& s);
// The names of the files in a folder, sorted.
std::vector<std::string> Listing(const std::string& folder);

}  // namespace storetest
