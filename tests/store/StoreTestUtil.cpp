#include "StoreTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "text/Text.h"

namespace storetest {

using store::Table;

const Fields& F() {
  static const Fields fields{
      text::Gbk("编号"),     text::Gbk("文件完整地址"), text::Gbk("下载文件名"),
      text::Gbk("下载路径"), text::Gbk("歌曲来源"),     text::Gbk("下载速度"),
      text::Gbk("自动下载"), text::Gbk("文件名"),       text::Gbk("完成时间"),
      text::Gbk("下载目录"),
  };
  return fields;
}

StoreFile::StoreFile() : path(dir.File("Data.mdb")) {
  std::string error;
  EXPECT_TRUE(store::CreateEmptyStore(path, store::kStorePassword, &error)) << error;
}

bool AddTask(store::DownloadStore& s, const Task& task) {
  if (!s.AddRecord(Table::Downloads)) return false;
  s.WriteText(Table::Downloads, F().url, task.url);
  s.WriteText(Table::Downloads, F().fileName, task.fileName);
  s.WriteText(Table::Downloads, F().path, task.path);
  s.WriteText(Table::Downloads, F().source, task.source);
  s.RenumberDownloads();
  return true;
}

void ApplySettings(store::DownloadStore& s, std::string_view speed, std::string_view path,
                   std::int64_t autoStart) {
  s.DeleteAll(Table::Settings);
  if (!s.AddRecord(Table::Settings)) return;
  s.WriteText(Table::Settings, F().speed, speed);
  s.WriteText(Table::Settings, F().path, path);
  s.WriteNumber(Table::Settings, F().autoStart, autoStart);
  s.MoveNext(Table::Settings);
}

std::vector<std::string> Urls(store::DownloadStore& s) {
  std::vector<std::string> urls;
  for (std::int64_t i = 0; i < s.RecordCount(Table::Downloads); ++i) {
    s.GoToRecord(Table::Downloads, i);
    urls.push_back(s.ReadText(Table::Downloads, F().url));
  }
  return urls;
}

std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace storetest
