// The whole road of a download: the real engine library from the program
// folder of the build, the real store, the real extractor and a local server.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "Fakes.h"
#include "TinyFlv.h"
#include "engine/EngineLibrary.h"
#include "flv/ExtractorImage.h"
#include "text/Text.h"

namespace taskstest {
namespace {

namespace fs = std::filesystem;

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7919 + i / 251) & 0xFF);
  return bytes;
}

TEST(TasksWithTheRealEngine, TasksRunFinishAndAnFlvEndsAsAnMp3) {
  testsupport::TestServer server;
  const std::string track = Pattern(3 * 1024 * 1024 + 17);
  std::string audio;
  const std::string clip = TinyFlv(200, &audio);
  server.Serve("/track.mp3", testsupport::Response{.body = track});
  server.Serve("/clip.flv", testsupport::Response{.body = clip});

  std::string error;
  const auto library = engine::EngineLibrary::Load(TEST_PROGRAM_DIR, &error);
  ASSERT_TRUE(library) << error;

  testsupport::TempDir dir;  // the program folder
  ASSERT_TRUE(flv::WriteExtractor(dir.File("flvtomp3")));
  fs::create_directories(dir.File("data"));
  const std::string storePath = store::StorePath(dir.Path());
  ASSERT_TRUE(store::CreateEmptyStore(storePath, store::kStorePassword, &error)) << error;
  store::DownloadStore store;
  ASSERT_TRUE(store.OpenStore(storePath, store::kStorePassword));

  engine::TaskParamRecord param;
  engine::TaskInfoRecord info;
  tasks::TaskHandleList handles;
  FakeList downloads, completed;
  FakeStatusBar statusBar;
  FakeTimer timer;
  FakeEvents events;
  FakeSettings settings;
  const std::string saveDirectory = dir.Path() + "/" + text::Gbk("DJ舞曲") + "/";
  settings.directory = saveDirectory;
  tasks::TaskContext ctx{*library,  handles,   param, info,   store,    downloads,
                         completed, statusBar, timer, events, settings, dir.Path()};
  tasks::ProgressMonitor monitor(ctx);

  library->Init();
  tasks::CreateDownloadTask(ctx, server.Url("/track.mp3"), "track.mp3", saveDirectory, "site-d");
  tasks::CreateDownloadTask(ctx, server.Url("/clip.flv"), "clip.flv", saveDirectory, "site-e");
  EXPECT_EQ(timer.period, 1000);
  EXPECT_EQ(store.RecordCount(store::Table::Downloads), 2);

  const bool finished = testsupport::WaitFor(
      [&] {
        monitor.Tick();
        return completed.RowCount() == 2;
      },
      std::chrono::seconds(60));
  library->UnInit();
  ASSERT_TRUE(finished) << "rows left: " << downloads.RowCount()
                        << (downloads.rows.empty() ? "" : " " + downloads.rows[0].failure);

  const std::string folder = text::GbkToUtf8(saveDirectory);
  EXPECT_EQ(testsupport::ReadFileBytes(folder + "track.mp3"), track);
  EXPECT_EQ(testsupport::ReadFileBytes(folder + "clip.mp3"), audio);
  EXPECT_FALSE(fs::exists(folder + "clip.flv"));

  std::vector<std::string> names;
  for (const FakeList::Row& row : completed.rows) {
    EXPECT_EQ(row.image, 4);
    EXPECT_EQ(row.columns[3], saveDirectory);
    names.push_back(row.columns[0] + " " + row.columns[2]);
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"clip.flv site-e", "track.mp3 site-d"}));
  EXPECT_TRUE(downloads.rows.empty());
  EXPECT_EQ(handles.Size(), 0u);
  EXPECT_EQ(store.RecordCount(store::Table::Downloads), 0);
  EXPECT_EQ(store.RecordCount(store::Table::Completed), 2);
  EXPECT_EQ(statusBar.parts.count(0), 1u);
}

}  // namespace
}  // namespace taskstest
