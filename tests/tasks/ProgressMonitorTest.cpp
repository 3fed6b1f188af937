#include <gtest/gtest.h>

#include "Fakes.h"
#include "text/Text.h"

namespace taskstest {
namespace {

using Strings = std::vector<std::string>;

TEST(ProgressMonitor, ColumnTextsAndTotalSpeed) {
  const struct {
    ScriptedTask script;
    Strings columns;  // 1 to 4
  } cases[] = {
      {{.stat = 3, .speed = 1023}, {"0KB/s", "0.00%", "0.00MB", "0.00MB"}},
      {{.stat = 3, .speed = 1536, .percent = 1, .downloaded = 1572864, .size = 1572864},
       {"1KB/s", "100.00%", "1.50MB", "1.50MB"}},
      {{.stat = 3, .speed = 2048, .percent = 0.4567f, .downloaded = 131072, .size = 10485760},
       {"2KB/s", "45.67%", "0.13MB", "10.00MB"}},
  };
  TaskWorld w;
  for (const auto& c : cases) {
    w.Add("t" + std::to_string(w.handles.Size()) + ".mp3", c.script, "site-d");
  }
  w.monitor.Tick();
  ASSERT_EQ(w.downloads.rows.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& row = w.downloads.rows[i];
    EXPECT_EQ(Strings(row.columns.begin() + 1, row.columns.begin() + 5), cases[i].columns) << i;
    EXPECT_EQ(row.columns[5], "site-d");
    EXPECT_EQ(row.image, 0);
  }
  EXPECT_EQ(w.statusBar.parts[0], "3 KB/s");
  EXPECT_EQ(w.events.calls, 3) << "events run after every task";
}

TEST(ProgressMonitor, EmptyListShowsZeroSpeed) {
  TaskWorld w;
  w.monitor.Tick();
  EXPECT_EQ(w.statusBar.parts[0], "0 KB/s");
  EXPECT_TRUE(w.engine.queried.empty());
}

TEST(ProgressMonitor, FailedQueryLeavesTheRowAsItWas) {
  TaskWorld w;
  const auto h = w.Add("a.mp3", {.stat = 3, .speed = 4096, .percent = 0.5f});
  w.monitor.Tick();
  const FakeList::Row before = w.downloads.rows[0];
  w.Script(h) = {.stat = 2, .fileName = "other.mp3", .speed = 8192, .answers = false};
  w.monitor.Tick();
  EXPECT_EQ(w.downloads.rows[0].columns, before.columns);
  EXPECT_EQ(w.downloads.rows[0].image, 0);
  EXPECT_EQ(w.RecordNames(), Strings{"a.mp3"});
  EXPECT_EQ(w.statusBar.parts[0], "0 KB/s");
  EXPECT_EQ(w.events.calls, 2);
}

TEST(ProgressMonitor, TheEngineNameGoesToTheRowAndTheStore) {
  TaskWorld w;
  w.Add("a.mp3", {.stat = 3});
  const auto h = w.Add(text::Gbk("舞曲.mp3"), {.stat = 3});
  w.Script(h).fileName = text::Gbk("舞曲(1).mp3");
  w.monitor.Tick();
  EXPECT_EQ(w.downloads.rows[1].columns[0], text::Gbk("舞曲(1).mp3"));
  EXPECT_EQ(w.RecordNames(), (Strings{"a.mp3", text::Gbk("舞曲(1).mp3")}));
  EXPECT_EQ(w.RecordNumbers(), (std::vector<std::int64_t>{1, 2}));

  // A record with no name yet must not lose the one the task is restored with.
  w.Script(h).fileName.clear();
  w.monitor.Tick();
  EXPECT_EQ(w.downloads.rows[1].columns[0], text::Gbk("舞曲(1).mp3"));
  EXPECT_EQ(w.RecordNames()[1], text::Gbk("舞曲(1).mp3"));
}

TEST(ProgressMonitor, AFailedTaskStaysAndShowsItsFailureUntilItRunsAgain) {
  TaskWorld w;
  const auto h = w.Add("a.mp3", {.stat = 2, .failCode = 5});
  w.monitor.Tick();
  w.monitor.Tick();
  ASSERT_EQ(w.downloads.rows.size(), 1u);
  EXPECT_EQ(w.downloads.rows[0].image, 1);
  EXPECT_EQ(w.downloads.rows[0].failure, tasks::FailureText(5));
  EXPECT_EQ(w.downloads.failureCalls, 1) << "an unchanged failure is not written again";

  w.Script(h) = {.stat = 3, .fileName = "a.mp3"};
  w.monitor.Tick();
  EXPECT_EQ(w.downloads.rows[0].image, 0);
  EXPECT_EQ(w.downloads.rows[0].failure, "");
  EXPECT_EQ(w.handles.ShownFailure(0), 0);
}

TEST(ProgressMonitor, TwoTasksFinishingInOneSecondLeaveAtTwoTicks) {
  TaskWorld w;
  w.Add("a.mp3", {.stat = 4, .speed = 2048}, "site-a");
  w.Add("b.mp3", {.stat = 4, .speed = 4096}, "site-b");

  w.monitor.Tick();
  EXPECT_EQ(w.statusBar.parts[0], "2 KB/s") << "only the tasks polled up to the one that left";
  ASSERT_EQ(w.completed.rows.size(), 1u);
  const FakeList::Row& done = w.completed.rows[0];
  EXPECT_EQ(Strings(done.columns.begin(), done.columns.begin() + 4),
            (Strings{"a.mp3", tasks::DateTimeText(kNow), "site-a", w.saveDirectory}));
  EXPECT_EQ(done.image, 4);
  EXPECT_EQ(w.RecordNames(), Strings{"b.mp3"});
  EXPECT_EQ(w.RecordNumbers(), std::vector<std::int64_t>{1});
  w.ExpectAligned();

  w.monitor.Tick();
  ASSERT_EQ(w.completed.rows.size(), 2u);
  EXPECT_EQ(w.completed.rows[1].columns[0], "b.mp3");
  EXPECT_TRUE(w.downloads.rows.empty());
  EXPECT_EQ(w.handles.Size(), 0u);
  ASSERT_EQ(w.store.RecordCount(store::Table::Completed), 2);
  EXPECT_EQ(w.ReadCompleted(1, "文件名"), "b.mp3");
  EXPECT_EQ(w.ReadCompleted(1, "完成时间"), tasks::DateTimeText(kNow));
  EXPECT_EQ(w.ReadCompleted(1, "歌曲来源"), "site-b");
  EXPECT_EQ(w.ReadCompleted(1, "下载目录"), w.saveDirectory);
}

TEST(ProgressMonitor, ADropAtPositionOneOfThreeRenumbersTheStore) {
  TaskWorld w;
  const auto a = w.Add("a.mp3", {.stat = 3});
  w.Add("b.mp3", {.stat = 1});
  const auto c = w.Add("c.mp3", {.stat = 3});
  w.monitor.Tick();
  EXPECT_EQ(w.engine.queried, (std::vector<std::uint32_t>{a, 2}));
  EXPECT_EQ(w.RecordNames(), (Strings{"a.mp3", "c.mp3"}));
  EXPECT_EQ(w.RecordNumbers(), (std::vector<std::int64_t>{1, 2}));
  EXPECT_TRUE(w.completed.rows.empty());
  w.ExpectAligned();

  w.engine.queried.clear();
  w.monitor.Tick();
  EXPECT_EQ(w.engine.queried, (std::vector<std::uint32_t>{a, c}));
}

TEST(ProgressMonitor, CommandsDuringATickKeepEverythingAligned) {
  TaskWorld w;
  const auto a = w.Add("a.mp3", {.stat = 3});
  w.Add("b.mp3", {.stat = 4});
  bool nestedSawRunning = false;
  w.events.hook = [&] {
    nestedSawRunning = w.monitor.Running();
    const std::size_t queries = w.engine.queried.size();
    w.monitor.Tick();  // a timer event delivered inside the tick
    EXPECT_EQ(w.engine.queried.size(), queries) << "a nested tick must return at once";
    if (w.handles.Size() == 2) {
      w.Add("d.mp3", {.stat = 3});
      tasks::PauseAllTasks(w.ctx);
    }
  };
  w.monitor.Tick();
  EXPECT_TRUE(nestedSawRunning);
  EXPECT_FALSE(w.monitor.Running());
  EXPECT_EQ(w.engine.queried.size(), 2u + 3u) << "a and b by the tick, three by pause all";
  ASSERT_EQ(w.completed.rows.size(), 1u);
  EXPECT_EQ(w.completed.rows[0].columns[0], "b.mp3");
  w.ExpectAligned();
  EXPECT_EQ(w.RecordNames(), (Strings{"a.mp3", "d.mp3"}));
  EXPECT_EQ(w.RecordNumbers(), (std::vector<std::int64_t>{1, 2}));

  w.events.hook = nullptr;
  w.engine.queried.clear();
  w.monitor.Tick();
  EXPECT_EQ(w.engine.queried, (std::vector<std::uint32_t>{a, w.handles.At(1)}));
}

TEST(ProgressMonitor, RecordsOutOfStepAreLeftAlone) {
  TaskWorld w;
  w.Add("a.mp3", {.stat = 3, .fileName = "a(1).mp3"});
  w.Add("b.mp3", {.stat = 1});
  // A record without a task: positions no longer say which record is whose.
  w.store.AddRecord(store::Table::Downloads);
  w.store.WriteText(store::Table::Downloads, text::Gbk("下载文件名"), "stray.mp3");
  w.store.RenumberDownloads();
  w.monitor.Tick();
  EXPECT_EQ(w.downloads.rows[0].columns[0], "a(1).mp3");
  EXPECT_EQ(w.downloads.rows.size(), 1u);
  EXPECT_EQ(w.RecordNames(), (Strings{"a.mp3", "b.mp3", "stray.mp3"}));
}

}  // namespace
}  // namespace taskstest
