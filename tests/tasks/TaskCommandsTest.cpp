#include <gtest/gtest.h>

#include "Fakes.h"
#include "engine/DeleteTempFileImage.h"
#include "text/Text.h"

namespace taskstest {
namespace {

using Strings = std::vector<std::string>;

TEST(TaskCommands, PauseAllAndStartAllSetEveryImageFirst) {
  TaskWorld w;
  w.Add("a.mp3", {.stat = 3});
  w.Add("b.mp3", {.stat = 2});
  w.Add("c.mp3", {.stat = 3, .answers = false});
  w.log.clear();
  tasks::PauseAllTasks(w.ctx);
  EXPECT_EQ(w.log, (Strings{"image 0 1", "image 1 1", "image 2 1", "stop 1"}));
  w.log.clear();
  tasks::StartAllTasks(w.ctx);
  EXPECT_EQ(w.log, (Strings{"image 0 0", "image 1 0", "image 2 0", "start 2"}));
}

TEST(TaskCommands, PauseAllAndStartAllOnAnEmptyList) {
  TaskWorld w;
  tasks::PauseAllTasks(w.ctx);
  tasks::StartAllTasks(w.ctx);
  EXPECT_TRUE(w.log.empty());
  EXPECT_TRUE(w.engine.queried.empty());
}

TEST(TaskCommands, ToggleAndDeleteActOnTheSelectedTaskByState) {
  const struct {
    std::int32_t stat;
    bool answers;
    int selected;
    Strings toggle, remove;
  } cases[] = {
      {3, true, 1, {"image 1 1", "stop 2"}, {"stop 2", "delete 2", "deltemp"}},
      {2, true, 1, {"image 1 0", "start 2"}, {"delete 2", "deltemp"}},
      {4, true, 1, {}, {"stop 2", "delete 2", "deltemp"}},
      {1, true, 1, {}, {"stop 2", "delete 2", "deltemp"}},
      {3, false, 1, {}, {}},
      {3, true, -1, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "stat " << c.stat << " selected " << c.selected);
    TaskWorld w;
    w.Add("a.mp3", {.stat = 3});
    w.Add("b.mp3", {.stat = c.stat, .answers = c.answers});
    w.downloads.selected = c.selected;
    w.log.clear();
    tasks::ToggleSelectedTask(w.ctx);
    EXPECT_EQ(w.log, c.toggle);
    w.log.clear();
    tasks::DeleteSelectedTask(w.ctx);
    EXPECT_EQ(w.log, c.remove);
    EXPECT_EQ(w.downloads.rows.size(), 2u) << "the monitor removes the row later";
    EXPECT_EQ(w.handles.Size(), 2u);
    EXPECT_EQ(w.RecordNames().size(), 2u);
  }
}

TEST(TaskCommands, DeleteRemovesTheTempFilesFromTheFolderTheBoxShowsNow) {
  TaskWorld w;
  w.Add(text::Gbk("舞曲.mp3"), {.stat = 3});
  w.settings.directory = text::Gbk("/其他/");
  w.downloads.selected = 0;
  tasks::DeleteSelectedTask(w.ctx);
  const std::string& request = w.engine.delTempRequest;
  ASSERT_EQ(request.size(), 26564u);
  EXPECT_EQ(request, engine::DeleteTempFileImage(text::Gbk("/其他/"), text::Gbk("舞曲.mp3")));
  // "舞" is U+821E and "/" U+002F, little-endian at the two text fields.
  EXPECT_EQ(request.substr(16532, 2), "\x1E\x82");
  EXPECT_EQ(request.substr(17572, 2), std::string("/\0", 2));
  EXPECT_EQ(request[18360], 5);
  EXPECT_EQ(request[18372], 1);
}

}  // namespace
}  // namespace taskstest
