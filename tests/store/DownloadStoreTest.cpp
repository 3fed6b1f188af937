#include <gtest/gtest.h>

#include "StoreTestUtil.h"
#include "store/DownloadStore.h"
#include "store/Sqlite.h"
#include "text/Text.h"

namespace {

using store::DownloadStore;
using store::Table;
using storetest::F;

class DownloadStoreTest : public ::testing::Test {
 protected:
  void Open(DownloadStore& s) { ASSERT_TRUE(s.OpenStore(file.path, store::kStorePassword)); }
  static storetest::Task TaskNamed(const std::string& name) {
    return {"http://a.example/" + name + ".mp3", name + ".mp3", "/music/", "site-a"};
  }
  static std::vector<std::int64_t> Numbers(DownloadStore& s) {
    std::vector<std::int64_t> numbers;
    for (std::int64_t i = 0; i < s.RecordCount(Table::Downloads); ++i) {
      std::int64_t n = -1;
      s.GoToRecord(Table::Downloads, i);
      s.ReadInteger(Table::Downloads, F().number, n);
      numbers.push_back(n);
    }
    return numbers;
  }

  storetest::StoreFile file;
};

TEST_F(DownloadStoreTest, NumbersFollowPositionsAfterAddAndDeleteAtTheFront) {
  {
    DownloadStore s;
    Open(s);
    for (const char* name : {"a", "b", "c"}) ASSERT_TRUE(storetest::AddTask(s, TaskNamed(name)));
    EXPECT_EQ(Numbers(s), (std::vector<std::int64_t>{1, 2, 3}));
    ASSERT_TRUE(s.GoToRecord(Table::Downloads, 0));
    ASSERT_TRUE(s.DeleteCurrent(Table::Downloads));
    s.RenumberDownloads();
  }
  DownloadStore s;
  Open(s);
  EXPECT_EQ(storetest::Urls(s), (std::vector<std::string>{TaskNamed("b").url, TaskNamed("c").url}));
  EXPECT_EQ(Numbers(s), (std::vector<std::int64_t>{1, 2}));
}

TEST_F(DownloadStoreTest, SettingsAppliedAgainKeepOneRecordAndReadBackAsWritten) {
  const std::string path = text::Gbk("/home/用户/DJ舞曲/");
  for (std::int64_t autoStart : {2, 0, -1}) {
    {
      DownloadStore s;
      Open(s);
      storetest::ApplySettings(s, "9999", path, autoStart);
    }
    DownloadStore s;
    Open(s);
    ASSERT_EQ(s.RecordCount(Table::Settings), 1);
    ASSERT_TRUE(s.GoToRecord(Table::Settings, 0));
    EXPECT_EQ(s.ReadText(Table::Settings, F().speed), "9999");
    EXPECT_EQ(s.ReadText(Table::Settings, F().path), path);
    std::int64_t value = 12345;
    EXPECT_TRUE(s.ReadInteger(Table::Settings, F().autoStart, value));
    EXPECT_EQ(value, autoStart);
  }
}

TEST_F(DownloadStoreTest, NoCurrentRecordReadsEmptyAndLeavesTheIntegerAlone) {
  DownloadStore s;
  Open(s);
  EXPECT_FALSE(s.MoveFirst(Table::Downloads));
  EXPECT_EQ(s.ReadText(Table::Downloads, F().url), "");
  for (const char* name : {"a", "b"}) ASSERT_TRUE(storetest::AddTask(s, TaskNamed(name)));
  for (std::int64_t position : {2, 3, -1}) {
    EXPECT_FALSE(s.GoToRecord(Table::Downloads, position)) << position;
    EXPECT_EQ(s.ReadText(Table::Downloads, F().url), "") << position;
    std::int64_t value = 77;
    EXPECT_FALSE(s.ReadInteger(Table::Downloads, F().number, value));
    EXPECT_EQ(value, 77);
    EXPECT_FALSE(s.WriteText(Table::Downloads, F().url, "x"));
  }
  // The pass of RenumberDownloads ends past the last record.
  EXPECT_EQ(s.ReadText(Table::Downloads, F().url), "");
  ASSERT_TRUE(s.GoToRecord(Table::Downloads, 0));
  ASSERT_TRUE(s.DeleteCurrent(Table::Downloads));
  EXPECT_EQ(s.ReadText(Table::Downloads, F().url), "");
  EXPECT_TRUE(s.MoveNext(Table::Downloads));
  EXPECT_EQ(s.ReadText(Table::Downloads, F().url), TaskNamed("b").url);
}

TEST_F(DownloadStoreTest, ReadsSeeEveryChangeOfTheCurrentRecord) {
  DownloadStore s;
  Open(s);
  for (const char* name : {"a", "b"}) ASSERT_TRUE(storetest::AddTask(s, TaskNamed(name)));
  ASSERT_TRUE(s.GoToRecord(Table::Downloads, 1));
  EXPECT_EQ(s.ReadText(Table::Downloads, F().fileName), "b.mp3");
  // The monitor renames a task to the name the engine really used.
  ASSERT_TRUE(s.WriteText(Table::Downloads, F().fileName, "b(1).mp3"));
  EXPECT_EQ(s.ReadText(Table::Downloads, F().fileName), "b(1).mp3");
  // The next record added may take the deleted one's place in the file.
  ASSERT_TRUE(s.DeleteCurrent(Table::Downloads));
  ASSERT_TRUE(storetest::AddTask(s, TaskNamed("c")));
  ASSERT_TRUE(s.GoToRecord(Table::Downloads, 1));
  EXPECT_EQ(s.ReadText(Table::Downloads, F().fileName), "c.mp3");
}

TEST_F(DownloadStoreTest, EachTableKeepsItsOwnPosition) {
  DownloadStore s;
  Open(s);
  for (const char* name : {"a", "b"}) ASSERT_TRUE(storetest::AddTask(s, TaskNamed(name)));
  storetest::ApplySettings(s, "400", "/x/", 1);
  ASSERT_TRUE(s.GoToRecord(Table::Downloads, 1));
  ASSERT_TRUE(s.GoToRecord(Table::Settings, 0));
  EXPECT_EQ(s.ReadText(Table::Downloads, F().url), TaskNamed("b").url);
  EXPECT_EQ(s.ReadText(Table::Settings, F().speed), "400");
}

TEST_F(DownloadStoreTest, AddedRecordIsSavedAtTheEndAndDiscardedWhenDeleted) {
  const std::string name = text::Gbk("完成的舞曲.mp3");
  {
    DownloadStore s;
    Open(s);
    ASSERT_TRUE(s.AddRecord(Table::Completed));
    s.WriteText(Table::Completed, F().doneName, "dropped.mp3");
    EXPECT_EQ(s.RecordCount(Table::Completed), 1);
    EXPECT_EQ(s.ReadText(Table::Completed, F().doneName), "dropped.mp3");
    ASSERT_TRUE(s.DeleteCurrent(Table::Completed));
    EXPECT_EQ(s.RecordCount(Table::Completed), 0);

    ASSERT_TRUE(s.AddRecord(Table::Completed));
    s.WriteText(Table::Completed, F().doneName, name);
    // No move follows: the store saves it when it goes.
  }
  DownloadStore s;
  Open(s);
  ASSERT_EQ(s.RecordCount(Table::Completed), 1);
  ASSERT_TRUE(s.GoToRecord(Table::Completed, 0));
  EXPECT_EQ(s.ReadText(Table::Completed, F().doneName), name);
  EXPECT_EQ(s.ReadText(Table::Completed, F().doneTime), "");
}

TEST_F(DownloadStoreTest, OnlyKnownFieldsOfTheirKindAreWritten) {
  DownloadStore s;
  Open(s);
  ASSERT_TRUE(s.AddRecord(Table::Downloads));
  struct Case {
    std::string field;
    bool asText;
  };
  const Case refused[] = {
      {text::Gbk("不存在"), true},
      {F().doneTime, true},  // a field of another table
      {"id", false},
      {text::Gbk("编号\" = 0; --"), false},
      {F().number, true},  // a number field given text
      {F().url, false},    // a text field given a number
  };
  for (const Case& c : refused) {
    EXPECT_FALSE(c.asText ? s.WriteText(Table::Downloads, c.field, "1")
                          : s.WriteNumber(Table::Downloads, c.field, 1))
        << c.field;
  }
  for (const std::string* field : {&F().number, &F().url}) {
    EXPECT_EQ(s.ReadText(Table::Downloads, *field), "") << *field;
  }
  EXPECT_TRUE(s.WriteNumber(Table::Downloads, F().number, 5));
  EXPECT_EQ(s.ReadText(Table::Downloads, F().number), "5");
}

TEST_F(DownloadStoreTest, TextsAreCodePage936InTheProgramAndUtf8InTheFile) {
  const std::string utf8Name = "夜店 DJ 舞曲 €.mp3";
  {
    DownloadStore s;
    Open(s);
    ASSERT_TRUE(storetest::AddTask(s, {"http://a.example/1", text::Gbk(utf8Name), "/m/", "a"}));
  }
  {
    DownloadStore s;
    Open(s);
    ASSERT_TRUE(s.GoToRecord(Table::Downloads, 0));
    EXPECT_EQ(s.ReadText(Table::Downloads, F().fileName), text::Gbk(utf8Name));
  }
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(file.path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_key(db, store::kStorePassword, 9), SQLITE_OK);
  store::Statement q = store::Prepare(db, "SELECT \"下载文件名\" FROM \"下载记录\"");
  ASSERT_TRUE(q);
  ASSERT_EQ(sqlite3_step(q.get()), SQLITE_ROW);
  EXPECT_EQ(reinterpret_cast<const char*>(sqlite3_column_text(q.get(), 0)), utf8Name);
  q.reset();
  sqlite3_close(db);
}

}  // namespace
