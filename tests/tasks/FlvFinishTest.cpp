#include <gtest/gtest.h>

#include <filesystem>

#include "Fakes.h"
#include "TinyFlv.h"
#include "flv/ExtractorImage.h"
#include "text/Text.h"

namespace taskstest {
namespace {

namespace fs = std::filesystem;

// The program folder gets the real extractor; the save folder has a space in it.
TEST(FlvFinish, ConvertsOnlyFlvNamesAndKeepsTheFlvWhenNoAudioCameOut) {
  const struct {
    const char* name;
    int frames;  // 0: an FLV without audio
    bool mp3Expected;
  } cases[] = {
      {"a.flv", 3, true},
      {"silent.flv", 0, false},
      {"c.FLV", 3, false},
  };
  TaskWorld w;
  ASSERT_TRUE(flv::WriteExtractor(w.dir.File("flvtomp3")));
  w.saveDirectory = w.dir.Path() + "/my music/";
  fs::create_directories(w.saveDirectory);
  std::vector<std::string> audio(std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    testsupport::WriteFileBytes(w.saveDirectory + cases[i].name,
                                TinyFlv(cases[i].frames, &audio[i]));
    w.Add(cases[i].name, {.stat = 4});
  }
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    w.monitor.Tick();
    const std::string flvPath = w.saveDirectory + cases[i].name;
    const std::string mp3Path = fs::path(flvPath).replace_extension(".mp3").string();
    ASSERT_EQ(w.completed.rows.size(), i + 1);
    EXPECT_EQ(w.completed.rows[i].columns[0], cases[i].name);
    EXPECT_EQ(fs::exists(mp3Path), cases[i].mp3Expected);
    EXPECT_EQ(fs::exists(flvPath), !cases[i].mp3Expected);
    if (cases[i].mp3Expected) {
      EXPECT_EQ(testsupport::ReadFileBytes(mp3Path), audio[i]);
    }
  }
  EXPECT_TRUE(w.downloads.rows.empty());
}

// The engine saves into a folder typed without its closing "/" all the same;
// the conversion must look for the FLV inside that folder too.
TEST(FlvFinish, FolderWithoutClosingSlashStillConverts) {
  TaskWorld w;
  ASSERT_TRUE(flv::WriteExtractor(w.dir.File("flvtomp3")));
  const std::string folder = w.dir.Path() + "/music";
  fs::create_directories(folder);
  w.saveDirectory = folder;
  std::string audio;
  testsupport::WriteFileBytes(folder + "/a.flv", TinyFlv(3, &audio));
  w.Add("a.flv", {.stat = 4});
  w.monitor.Tick();
  EXPECT_EQ(testsupport::ReadFileBytes(folder + "/a.mp3"), audio);
  EXPECT_FALSE(fs::exists(folder + "/a.flv"));
}

}  // namespace
}  // namespace taskstest
