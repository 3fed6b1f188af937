#include <gtest/gtest.h>

#include <cstdlib>

#include "support/TestServer.h"

namespace {

using testsupport::ReadFileBytes;
using testsupport::ReadFixture;
using testsupport::WriteFileBytes;

int RunTool(const testsupport::TempDir& dir, const std::string& arguments) {
  const std::string command = std::string(VELMIRA_RESOLVE_TOOL) + " " + arguments + " < '" +
                              dir.File("in") + "' > '" + dir.File("out") + "' 2> '" +
                              dir.File("err") + "'";
  return std::system(command.c_str());
}

TEST(ResolveToolTest, ResolvesStandardInputWithASiteFile) {
  testsupport::TestServer server;
  testsupport::TempDir dir;
  server.Serve("/song/1.html", ReadFixture("resolve/site_d.html"));
  server.Serve("/play/2.html", ReadFixture("resolve/site_c.html"));
  WriteFileBytes(dir.File("sites"),
                 "D tag 127.0.0.1  # every local address is site D\n"
                 "C tag 音乐.example\n");
  WriteFileBytes(dir.File("in"), server.Url("/song/1.html") + "\n\nhttp://音乐.example/x\r\n");
  ASSERT_EQ(RunTool(dir, "--sites '" + dir.File("sites") + "'"), 0);
  EXPECT_EQ(ReadFileBytes(dir.File("out")),
            "http://media.d-dj.example/2017/d4004.mp3|串烧 D.mp3|127.0.0.1\n"
            "http://media.c-dj.example:8080/|.mp3|音乐.example\n");
  EXPECT_EQ(ReadFileBytes(dir.File("err")),
            "正在解析下载地址，请稍候...   0/3\n"
            "正在解析下载地址，请稍候...   1/3\n"
            "正在解析下载地址，请稍候...   3/3\n");
}

TEST(ResolveToolTest, RejectsBadArgumentsAndSiteFiles) {
  testsupport::TempDir dir;
  WriteFileBytes(dir.File("in"), "");
  WriteFileBytes(dir.File("sites"), "X tag x\n");
  EXPECT_NE(RunTool(dir, "--sites '" + dir.File("sites") + "'"), 0);
  EXPECT_NE(ReadFileBytes(dir.File("err")).find("line 1: unknown site"), std::string::npos);
  EXPECT_NE(RunTool(dir, "--bogus"), 0);
  EXPECT_NE(RunTool(dir, "--sites '" + dir.File("missing") + "'"), 0);
}

}  // namespace
