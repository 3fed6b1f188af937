// flvtomp3 as a program (files, exit codes, messages), the embedded image of it, and
// ConvertFlv running the written image.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "flv/ConvertFlv.h"
#include "flv/ExtractorImage.h"
#include "flv/FileExtractor.h"
#include "flv/FlvBuilder.h"
#include "support/TestServer.h"

extern char** environ;

namespace {

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;
using namespace flvtest;

const std::string kFrames = Mp3Frame('1') + Mp3Frame('2');
const std::string kMp3Flv =
    FlvBuilder().Video("v").Audio(kMp3, Mp3Frame('1')).Audio(kMp3, Mp3Frame('2')).Bytes();
const std::string kVideoOnlyFlv = FlvBuilder().Video(std::string(100, 'v')).Bytes();

struct ToolRun {
  int exitCode = -1;
  std::string err;
};

// Runs the built tool with args, its standard error caught in a file of dir.
ToolRun RunTool(const TempDir& dir, const std::vector<std::string>& args) {
  const std::string errPath = dir.File("stderr.txt");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  std::vector<std::string> all = {FLVTOMP3_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  ToolRun run;
  if (posix_spawn(&pid, FLVTOMP3_PATH, &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  run.err = ReadFileBytes(errPath);
  unlink(errPath.c_str());
  return run;
}

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    names.insert(e.path().filename().string());
  }
  return names;
}

bool OneLine(const std::string& text) {
  return !text.empty() && text.back() == '\n' && text.find('\n') == text.size() - 1;
}

TEST(ToolTest, WritesTheAudioBesideTheFlv) {
  TempDir dir;
  // Spaces and UTF-8 in folder and file names.
  const std::string folder = dir.File("舞曲 2016");
  std::filesystem::create_directory(folder);
  WriteFileBytes(folder + "/my track.flv", kMp3Flv);
  const ToolRun run = RunTool(dir, {"-a", "-o", folder + "/my track.flv"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadFileBytes(folder + "/my track.mp3"), kFrames);
  EXPECT_EQ(Names(folder), (std::set<std::string>{"my track.flv", "my track.mp3"}));
}

TEST(ToolTest, AnExistingOutputNeedsOverwrite) {
  TempDir dir;
  WriteFileBytes(dir.File("a.flv"), kMp3Flv);
  WriteFileBytes(dir.File("a.mp3"), "older");
  const ToolRun refused = RunTool(dir, {"-a", dir.File("a.flv")});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(OneLine(refused.err)) << refused.err;
  EXPECT_NE(refused.err.find("exists"), std::string::npos) << refused.err;
  EXPECT_EQ(ReadFileBytes(dir.File("a.mp3")), "older");

  const ToolRun replaced = RunTool(dir, {"-a", "-o", dir.File("a.flv")});
  EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
  EXPECT_EQ(ReadFileBytes(dir.File("a.mp3")), kFrames);
  EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"a.flv", "a.mp3"}));
}

TEST(ToolTest, FailuresLeaveNoAudioFile) {
  const struct {
    const char* name;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"not an FLV", "just text", "not an FLV"},
      {"no audio", kVideoOnlyFlv, "no audio"},
      {"Nellymoser", FlvBuilder().Audio(kNellymoser, "nn").Bytes(), "not supported"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    WriteFileBytes(dir.File("in.flv"), c.bytes);
    const ToolRun run = RunTool(dir, {"-a", "-o", dir.File("in.flv")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(OneLine(run.err)) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"in.flv"});
  }
}

TEST(ToolTest, AFailedRunKeepsAnOlderOutput) {
  // The failure comes after the output was opened: the older file must survive.
  TempDir dir;
  WriteFileBytes(dir.File("a.flv"),
                 FlvBuilder().Audio(kMp3, Mp3Frame('1')).Audio(kAac, "x").Bytes());
  WriteFileBytes(dir.File("a.mp3"), "older");
  const ToolRun run = RunTool(dir, {"-a", "-o", dir.File("a.flv")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(ReadFileBytes(dir.File("a.mp3")), "older");
  EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"a.flv", "a.mp3"}));
}

TEST(ToolTest, ACutFileKeepsItsWholeFramesAndWarns) {
  TempDir dir;
  WriteFileBytes(dir.File("cut.flv"), kMp3Flv.substr(0, kMp3Flv.size() - 100));
  const ToolRun run = RunTool(dir, {"-a", dir.File("cut.flv")});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_TRUE(OneLine(run.err)) << run.err;
  EXPECT_NE(run.err.find("warning"), std::string::npos) << run.err;
  EXPECT_EQ(ReadFileBytes(dir.File("cut.mp3")), Mp3Frame('1'));
}

TEST(ToolTest, ReadsPastFourGibibytes) {
  // A sparse file: 260 video tags of the largest size (16 MiB) whose data are holes, then the
  // audio.
  TempDir dir;
  const std::string path = dir.File("big.flv");
  const std::string head = FlvBuilder().Bytes();
  const std::string video = FlvBuilder().Video(std::string((1 << 24) - 1, '\0')).Bytes();
  const std::string_view tagHead = std::string_view(video).substr(head.size(), 11);
  const std::string_view trailer = std::string_view(video).substr(video.size() - 4);
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  int64_t at = 0;
  const auto put = [&](std::string_view bytes) {
    ASSERT_EQ(pwrite(fd, bytes.data(), bytes.size(), at), static_cast<ssize_t>(bytes.size()));
    at += static_cast<int64_t>(bytes.size());
  };
  put(head);
  const int64_t tagSize = static_cast<int64_t>(video.size() - head.size());
  for (int i = 0; i < 260; ++i) {
    put(tagHead);
    at += tagSize - 15;
    put(trailer);
  }
  const std::string first = FlvBuilder().Audio(kMp3, Mp3Frame('1')).Bytes();
  const std::string audio = FlvBuilder().Audio(kMp3, Mp3Frame('1')).Audio(kMp3, kFrames).Bytes();
  const int64_t cutTagOffset = at + static_cast<int64_t>(first.size() - head.size());
  put(std::string_view(audio).substr(head.size(), audio.size() - head.size() - 100));
  ASSERT_EQ(close(fd), 0);
  ASSERT_GT(at, int64_t{1} << 32);

  const ToolRun run = RunTool(dir, {"-a", path});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_NE(run.err.find("offset " + std::to_string(cutTagOffset)), std::string::npos) << run.err;
  EXPECT_EQ(ReadFileBytes(dir.File("big.mp3")), Mp3Frame('1') + Mp3Frame('1'));
}

TEST(ToolTest, RefusesToReplaceItsInput) {
  TempDir dir;
  WriteFileBytes(dir.File("a.mp3"), kMp3Flv);  // an FLV under an audio name
  const ToolRun run = RunTool(dir, {"-a", "-o", dir.File("a.mp3")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("replace the input"), std::string::npos) << run.err;
  EXPECT_EQ(ReadFileBytes(dir.File("a.mp3")), kMp3Flv);
}

TEST(ToolTest, BadCommandLines) {
  TempDir dir;
  WriteFileBytes(dir.File("a.flv"), kMp3Flv);
  const std::vector<std::vector<std::string>> cases = {
      {}, {dir.File("a.flv")}, {"-a"}, {"-x", dir.File("a.flv")}, {"-a", "one", "two"}};
  for (const auto& args : cases) {
    const ToolRun run = RunTool(dir, args);
    EXPECT_EQ(run.exitCode, 2) << testing::PrintToString(args);
    EXPECT_TRUE(OneLine(run.err)) << run.err;
  }
  EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"a.flv"});
}

TEST(ExtractorImageTest, WritesTheBuiltToolExecutable) {
  TempDir dir;
  const std::string path = dir.File("flvtomp3");
  WriteFileBytes(path, "an older file");
  ASSERT_TRUE(flv::WriteExtractor(path));
  EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(FLVTOMP3_PATH));
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_NE(st.st_mode & S_IXUSR, 0u);
  EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"flvtomp3"});
  EXPECT_FALSE(flv::WriteExtractor(dir.File("missing/flvtomp3")));
}

class ConvertFlvTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(flv::WriteExtractor(program_.File("flvtomp3"))); }
  TempDir program_;
  TempDir music_;
};

TEST_F(ConvertFlvTest, DeletesTheFlvOnceTheAudioIsThere) {
  const std::string flvPath = music_.File("DJ 舞曲 a.flv");
  WriteFileBytes(flvPath, kMp3Flv);
  EXPECT_TRUE(flv::ConvertFlv(program_.Path(), flvPath));
  EXPECT_EQ(ReadFileBytes(music_.File("DJ 舞曲 a.mp3")), kFrames);
  EXPECT_EQ(Names(music_.Path()), std::set<std::string>{"DJ 舞曲 a.mp3"});
}

TEST_F(ConvertFlvTest, KeepsTheFlvWhenNoAudioCameOut) {
  WriteFileBytes(music_.File("v.flv"), kVideoOnlyFlv);
  EXPECT_FALSE(flv::ConvertFlv(program_.Path(), music_.File("v.flv")));
  EXPECT_EQ(Names(music_.Path()), std::set<std::string>{"v.flv"});

  // An older audio file of that name is no sign of success.
  WriteFileBytes(music_.File("v.mp3"), "older");
  EXPECT_FALSE(flv::ConvertFlv(program_.Path(), music_.File("v.flv")));
  EXPECT_EQ(Names(music_.Path()), (std::set<std::string>{"v.flv", "v.mp3"}));

  // No tool in the program folder.
  WriteFileBytes(music_.File("a.flv"), kMp3Flv);
  TempDir empty;
  EXPECT_FALSE(flv::ConvertFlv(empty.Path(), music_.File("a.flv")));
  EXPECT_EQ(ReadFileBytes(music_.File("a.flv")), kMp3Flv);
}

}  // namespace
