#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <random>

#include "StoreTestUtil.h"
#include "store/DownloadStore.h"
#include "store/Sqlite.h"
#include "text/Text.h"

namespace {

using store::DownloadStore;
using store::Table;
using storetest::F;

void ExpectClosedAndInert(DownloadStore& s) {
  EXPECT_FALSE(s.IsOpen());
  EXPECT_EQ(s.RecordCount(Table::Downloads), 0);
  EXPECT_FALSE(s.AddRecord(Table::Settings));
  EXPECT_FALSE(s.GoToRecord(Table::Downloads, 0));
  EXPECT_EQ(s.ReadText(Table::Downloads, F().url), "");
  std::int64_t value = 0;
  EXPECT_FALSE(s.ReadInteger(Table::Settings, F().autoStart, value));
  EXPECT_EQ(value, 0);
  EXPECT_FALSE(s.DeleteAll(Table::Completed));
  s.RenumberDownloads();
}

void FillStore(const std::string& path, int records) {
  DownloadStore s;
  ASSERT_TRUE(s.OpenStore(path, store::kStorePassword));
  for (int i = 0; i < records; ++i) {
    ASSERT_TRUE(
        storetest::AddTask(s, {"http://a.example/" + std::to_string(i), "n.mp3", "/", "a"}));
  }
}

TEST(StoreOpenFailure, MissingFileIsNotCreated) {
  testsupport::TempDir dir;
  for (const std::string& path : {dir.File("Data.mdb"), store::StorePath(dir.Path())}) {
    DownloadStore s;
    EXPECT_FALSE(s.OpenStore(path, store::kStorePassword)) << path;
    ExpectClosedAndInert(s);
  }
  EXPECT_TRUE(storetest::Listing(dir.Path()).empty());
}

TEST(StoreOpenFailure, UnopenableFileStaysByteIdenticalAndTheStoreClosed) {
  struct Case {
    const char* name;
    std::function<void(const std::string& path)> make;
    std::string password;
  };
  const auto validStore = [](const std::string& path) {
    std::string error;
    ASSERT_TRUE(store::CreateEmptyStore(path, store::kStorePassword, &error)) << error;
    FillStore(path, 3);
  };
  const Case cases[] = {
      {"wrong password", validStore, "qalturviM"},
      {"empty password", validStore, ""},
      {"random bytes",
       [](const std::string& path) {
         std::mt19937 rng(7);
         std::string bytes(8192, '\0');
         for (char& b : bytes) b = static_cast<char>(rng());
         testsupport::WriteFileBytes(path, bytes);
       },
       store::kStorePassword},
      {"cut to half",
       [&](const std::string& path) {
         validStore(path);
         FillStore(path, 300);
         std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
       },
       store::kStorePassword},
      {"empty file", [](const std::string& path) { testsupport::WriteFileBytes(path, ""); },
       store::kStorePassword},
      {"encrypted, without the tables",
       [](const std::string& path) {
         sqlite3* db = nullptr;
         ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
         sqlite3_key(db, store::kStorePassword, 9);
         EXPECT_TRUE(store::Exec(db, "CREATE TABLE other (x)"));
         sqlite3_close(db);
       },
       store::kStorePassword},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::TempDir dir;
    const std::string path = dir.File("Data.mdb");
    c.make(path);
    const std::string before = testsupport::ReadFileBytes(path);
    {
      DownloadStore s;
      EXPECT_FALSE(s.OpenStore(path, c.password));
      ExpectClosedAndInert(s);
    }
    EXPECT_EQ(testsupport::ReadFileBytes(path), before);
    EXPECT_EQ(storetest::Listing(dir.Path()), std::vector<std::string>{"Data.mdb"});
  }
}

TEST(StoreFile, HoldsNoPlainTextAndOpensOnlyWithTheKey) {
  storetest::StoreFile file;
  const std::string marker = "PlainMarker-7f3a";
  const std::string chinese = "不该看见的舞曲名";
  {
    DownloadStore s;
    ASSERT_TRUE(s.OpenStore(file.path, store::kStorePassword));
    ASSERT_TRUE(storetest::AddTask(
        s, {"http://a.example/" + marker, text::Gbk(chinese) + ".mp3", "/music/", "site-a"}));
  }
  const std::string bytes = testsupport::ReadFileBytes(file.path);
  for (const std::string& plain : {marker, chinese, text::Gbk(chinese),
                                   std::string("SQLite format 3"), std::string("CREATE TABLE")}) {
    EXPECT_EQ(bytes.find(plain), std::string::npos) << plain;
  }
  DownloadStore s;
  EXPECT_FALSE(s.OpenStore(file.path, ""));
  EXPECT_TRUE(s.OpenStore(file.path, store::kStorePassword));
  EXPECT_EQ(s.RecordCount(Table::Downloads), 1);
}

TEST(StoreFile, CreationRefusesAnExistingFileAndAnEmptyPassword) {
  testsupport::TempDir dir;
  const std::string path = dir.File("Data.mdb");
  std::string error;
  EXPECT_FALSE(store::CreateEmptyStore(path, "", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(storetest::Listing(dir.Path()).empty());

  testsupport::WriteFileBytes(path, "user data");
  error.clear();
  EXPECT_FALSE(store::CreateEmptyStore(path, store::kStorePassword, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(testsupport::ReadFileBytes(path), "user data");
  EXPECT_EQ(storetest::Listing(dir.Path()), std::vector<std::string>{"Data.mdb"});

  std::filesystem::remove(path);
  ASSERT_TRUE(store::CreateEmptyStore(path, store::kStorePassword, &error)) << error;
  EXPECT_EQ(storetest::Listing(dir.Path()), std::vector<std::string>{"Data.mdb"});
  DownloadStore s;
  ASSERT_TRUE(s.OpenStore(path, store::kStorePassword));
  for (Table t : {Table::Downloads, Table::Settings, Table::Completed}) {
    EXPECT_EQ(s.RecordCount(t), 0);
    EXPECT_TRUE(s.AddRecord(t));
  }
}

}  // namespace
