#include "Fakes.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "text/Text.h"

namespace taskstest {

std::uint32_t FakeEngine::CreateTask(const void* taskParam) {
  EXPECT_EQ(taskParam, param_.Address());
  const std::uint32_t h = next_++;
  created.push_back(CreatedTask{param_.szTaskUrl(), param_.szFilename(), param_.szSavePath(),
                                param_.DisableAutoRename(), param_.IsResume(),
                                param_.IsOnlyOriginal()});
  tasks[h].fileName = param_.szFilename();
  log_.push_back("create " + std::to_string(h));
  return h;
}

std::int32_t FakeEngine::QueryTaskInfoEx(std::uint32_t h, void* taskInfo) {
  queried.push_back(h);
  EXPECT_EQ(taskInfo, info_.Address()) << "the record's address must be fetched anew";
  const auto it = tasks.find(h);
  if (it == tasks.end() || !it->second.answers || taskInfo != info_.Address()) {
    return 0;
  }
  const ScriptedTask& t = it->second;
  info_.stat(t.stat);
  info_.fail_code(t.failCode);
  info_.szFilename(t.fileName);
  info_.nSpeed(t.speed);
  info_.fPercent(t.percent);
  info_.nTotalDownload(t.downloaded);
  info_.nTotalSize(t.size);
  return 1;
}

std::int32_t FakeEngine::DelTempFile(const void* taskParam) {
  delTempRequest.assign(static_cast<const char*>(taskParam), 26564);
  log_.push_back("deltemp");
  return 1;
}

FakeList::Row& FakeList::At(int row) {
  EXPECT_GE(row, 0);
  EXPECT_LT(row, RowCount());
  static Row nowhere;
  return row >= 0 && row < RowCount() ? rows[static_cast<std::size_t>(row)] : nowhere;
}

int FakeList::AppendRow(const std::string& firstColumn) {
  rows.emplace_back();
  rows.back().columns[0] = firstColumn;
  return RowCount() - 1;
}

std::string FakeList::Text(int row, int column) const {
  if (row < 0 || row >= RowCount()) {
    ADD_FAILURE() << "no row " << row;
    return {};
  }
  return rows[static_cast<std::size_t>(row)].columns.at(static_cast<std::size_t>(column));
}

void FakeList::SetText(int row, int column, const std::string& text) {
  At(row).columns.at(static_cast<std::size_t>(column)) = text;
}

void FakeList::SetStateImage(int row, int image) {
  At(row).image = image;
  if (log_) log_->push_back("image " + std::to_string(row) + " " + std::to_string(image));
}

void FakeList::RemoveRow(int row) {
  At(row);
  if (row >= 0 && row < RowCount()) rows.erase(rows.begin() + row);
}

void FakeList::SetFailure(int row, const std::string& message) {
  At(row).failure = message;
  ++failureCalls;
}

TaskWorld::TaskWorld(bool openStore) : saveDirectory(dir.Path() + "/save/") {
  const std::string path = dir.File("Data.mdb");
  std::string error;
  if (!store::CreateEmptyStore(path, store::kStorePassword, &error)) {
    ADD_FAILURE() << error;
  }
  if (openStore && !store.OpenStore(path, store::kStorePassword)) {
    ADD_FAILURE() << "cannot open " << path;
  }
  settings.directory = saveDirectory;
  std::filesystem::create_directories(saveDirectory);
}

std::uint32_t TaskWorld::Add(const std::string& name, ScriptedTask script,
                             const std::string& source) {
  tasks::CreateDownloadTask(ctx, "http://media.example/" + name, name, saveDirectory, source);
  const std::uint32_t h = handles.At(handles.Size() - 1);
  if (script.fileName.empty()) script.fileName = name;
  engine.tasks[h] = script;
  return h;
}

std::vector<std::string> TaskWorld::RecordNames() {
  std::vector<std::string> names;
  const std::string field = text::Gbk("下载文件名");
  for (std::int64_t p = 0; p < store.RecordCount(store::Table::Downloads); ++p) {
    store.GoToRecord(store::Table::Downloads, p);
    names.push_back(store.ReadText(store::Table::Downloads, field));
  }
  return names;
}

std::vector<std::int64_t> TaskWorld::RecordNumbers() {
  std::vector<std::int64_t> numbers;
  const std::string field = text::Gbk("编号");
  for (std::int64_t p = 0; p < store.RecordCount(store::Table::Downloads); ++p) {
    store.GoToRecord(store::Table::Downloads, p);
    std::int64_t n = -1;
    store.ReadInteger(store::Table::Downloads, field, n);
    numbers.push_back(n);
  }
  return numbers;
}

std::string TaskWorld::ReadCompleted(std::int64_t position, const std::string& utf8Field) {
  store.GoToRecord(store::Table::Completed, position);
  return store.ReadText(store::Table::Completed, text::Gbk(utf8Field));
}

void TaskWorld::ExpectAligned() {
  ASSERT_EQ(handles.Size(), downloads.rows.size());
  const std::vector<std::string> names = RecordNames();
  ASSERT_EQ(names.size(), handles.Size());
  for (std::size_t i = 0; i < handles.Size(); ++i) {
    EXPECT_EQ(engine.tasks.at(handles.At(i)).fileName, downloads.rows[i].columns[0]) << i;
    EXPECT_EQ(names[i], downloads.rows[i].columns[0]) << i;
  }
}

}  // namespace taskstest
