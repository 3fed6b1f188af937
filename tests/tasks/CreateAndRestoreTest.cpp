#include <gtest/gtest.h>

#include "Fakes.h"
#include "text/Text.h"

namespace taskstest {
namespace {

using Strings = std::vector<std::string>;
constexpr store::Table kDownloads = store::Table::Downloads;

std::string ReadDownload(TaskWorld& w, std::int64_t p, const char* utf8Field) {
  w.store.GoToRecord(kDownloads, p);
  return w.store.ReadText(kDownloads, text::Gbk(utf8Field));
}

TEST(CreateDownloadTask, AppendsEntryRowAndRecordInOrderAndStartsTheTimer) {
  TaskWorld w;
  w.settings.autoStart = false;  // concerns restored tasks only
  const std::string title = text::Gbk("舞曲.mp3");
  tasks::CreateDownloadTask(w.ctx, "http://m.example/1", title, w.saveDirectory, "site-a");
  EXPECT_EQ(w.timer.period, 1000);
  tasks::CreateDownloadTask(w.ctx, "http://m.example/2", "b.flv", w.saveDirectory, "");
  tasks::CreateDownloadTask(w.ctx, "http://m.example/3", "c.mp4", w.saveDirectory, "site-c");
  EXPECT_EQ(w.timer.period, 1000);

  EXPECT_EQ(w.log, (Strings{"create 1", "start 1", "create 2", "start 2", "create 3", "start 3"}));
  ASSERT_EQ(w.handles.Size(), 3u);
  for (std::uint32_t i = 0; i < 3; ++i) EXPECT_EQ(w.handles.At(i), i + 1);
  ASSERT_EQ(w.engine.created.size(), 3u);
  const CreatedTask& first = w.engine.created[0];
  EXPECT_EQ(first.url, "http://m.example/1");
  EXPECT_EQ(first.fileName, title);
  EXPECT_EQ(first.saveDirectory, w.saveDirectory);
  EXPECT_TRUE(first.disableAutoRename);
  EXPECT_TRUE(first.isResume);
  EXPECT_FALSE(first.isOnlyOriginal);

  ASSERT_EQ(w.downloads.rows.size(), 3u);
  EXPECT_EQ(w.downloads.rows[0].columns, (Strings{title, "", "", "", "", ""}));
  EXPECT_EQ(w.RecordNames(), (Strings{title, "b.flv", "c.mp4"}));
  EXPECT_EQ(w.RecordNumbers(), (std::vector<std::int64_t>{1, 2, 3}));
  EXPECT_EQ(ReadDownload(w, 0, "文件完整地址"), "http://m.example/1");
  EXPECT_EQ(ReadDownload(w, 0, "下载路径"), w.saveDirectory);
  EXPECT_EQ(ReadDownload(w, 0, "歌曲来源"), "site-a");
  EXPECT_EQ(ReadDownload(w, 1, "歌曲来源"), "");
}

TEST(CreateDownloadTask, WithTheStoreClosedTheTaskStillRuns) {
  TaskWorld w(false);
  w.Add("a.mp3", {.stat = 4});
  EXPECT_EQ(w.log, (Strings{"create 1", "start 1"}));
  w.monitor.Tick();
  ASSERT_EQ(w.completed.rows.size(), 1u);
  EXPECT_EQ(w.completed.rows[0].columns[0], "a.mp3");
  EXPECT_EQ(w.completed.rows[0].columns[2], "");
  EXPECT_EQ(w.completed.rows[0].columns[3], "");
  EXPECT_TRUE(w.downloads.rows.empty());
}

struct StoredDownload {
  std::string url, name, directory;
};

void FillStore(TaskWorld& w, std::int64_t autoStart, const std::vector<StoredDownload>& downloads) {
  store::DownloadStore& s = w.store;
  const auto settings = store::Table::Settings;
  ASSERT_TRUE(s.AddRecord(settings));
  s.WriteText(settings, text::Gbk("下载速度"), "120abc");
  s.WriteText(settings, text::Gbk("下载路径"), text::Gbk("/音乐/DJ舞曲/"));
  s.WriteNumber(settings, text::Gbk("自动下载"), autoStart);
  s.MoveNext(settings);
  for (const StoredDownload& d : downloads) {
    ASSERT_TRUE(s.AddRecord(kDownloads));
    s.WriteText(kDownloads, text::Gbk("文件完整地址"), d.url);
    s.WriteText(kDownloads, text::Gbk("下载文件名"), d.name);
    s.WriteText(kDownloads, text::Gbk("下载路径"), d.directory);
    s.RenumberDownloads();
  }
  const auto completed = store::Table::Completed;
  for (const char* name : {"x.mp3", "y.mp3"}) {
    ASSERT_TRUE(s.AddRecord(completed));
    s.WriteText(completed, text::Gbk("文件名"), name);
    s.WriteText(completed, text::Gbk("完成时间"), text::Gbk("2026年1月2日3时"));
    s.WriteText(completed, text::Gbk("歌曲来源"), "site-x");
    s.WriteText(completed, text::Gbk("下载目录"), "/d/");
    s.MoveNext(completed);
  }
}

TEST(RestoreFromStore, SettingsTasksInRecordOrderAndTheCompletedList) {
  const struct {
    std::int64_t autoStart;
    Strings engineCalls;
  } cases[] = {
      {1, {"limit 120", "create 1", "start 1", "create 2", "start 2", "create 3", "start 3"}},
      {0,
       {"limit 120", "create 1", "start 1", "stop 1", "create 2", "start 2", "stop 2", "create 3",
        "start 3", "stop 3"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.autoStart);
    TaskWorld w;
    const std::vector<StoredDownload> stored{
        {"http://m.example/1", "a.mp3", "/one/"},
        {"http://m.example/2", text::Gbk("舞曲.flv"), "/two/"},
        {"http://m.example/3", "c.mp3", "/three/"},
    };
    FillStore(w, c.autoStart, stored);
    w.settings.autoStart = c.autoStart == 0;  // the restore decides

    tasks::RestoreFromStore(w.ctx);

    EXPECT_EQ(w.settings.autoStart, c.autoStart > 0);
    EXPECT_EQ(w.settings.speed, "120abc");
    EXPECT_EQ(w.settings.directory, text::Gbk("/音乐/DJ舞曲/"));
    EXPECT_EQ(w.log, c.engineCalls);
    EXPECT_EQ(w.timer.period, 1000);
    ASSERT_EQ(w.engine.created.size(), 3u);
    for (std::size_t i = 0; i < stored.size(); ++i) {
      EXPECT_EQ(w.engine.created[i].url, stored[i].url);
      EXPECT_EQ(w.engine.created[i].fileName, stored[i].name);
      EXPECT_EQ(w.engine.created[i].saveDirectory, stored[i].directory);
      EXPECT_EQ(w.downloads.rows[i].columns[0], stored[i].name);
    }
    EXPECT_EQ(w.RecordNumbers(), (std::vector<std::int64_t>{1, 2, 3})) << "nothing written";
    w.ExpectAligned();

    ASSERT_EQ(w.completed.rows.size(), 2u);
    const FakeList::Row& y = w.completed.rows[1];
    EXPECT_EQ(Strings(y.columns.begin(), y.columns.begin() + 4),
              (Strings{"y.mp3", text::Gbk("2026年1月2日3时"), "site-x", "/d/"}));
    EXPECT_EQ(y.image, 4);
  }
}

TEST(RestoreFromStore, AnEmptyStoreLeavesTheDesignValues) {
  TaskWorld w;
  w.settings.directory = "/design/";
  tasks::RestoreFromStore(w.ctx);
  EXPECT_EQ(w.settings.speed, "9999");
  EXPECT_EQ(w.settings.directory, "/design/");
  EXPECT_TRUE(w.log.empty());
  EXPECT_EQ(w.timer.period, 0);
}

}  // namespace
}  // namespace taskstest
