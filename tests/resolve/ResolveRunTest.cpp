#include <gtest/gtest.h>

#include "resolve/ResolveRun.h"
#include "support/TestServer.h"
#include "text/Text.h"

namespace {

using testsupport::ReadFixture;

// Records every call in order, texts in UTF-8.
class FakeHost : public resolve::RunHost {
 public:
  std::string input;  // code page 936, as the text box hands it over
  std::string speedText;
  int cancelAfterCalls = -1;  // Cancelled() turns true once the log holds this many calls
  std::vector<std::string> log;

  std::string ReadInputText() override {
    log.push_back("read input");
    return input;
  }
  void SetCaption(const std::string& gbk) override {
    log.push_back("caption " + text::GbkToUtf8(gbk));
  }
  std::string ReadSaveDirectory() override {
    log.push_back("read save directory");
    return text::Gbk("/音乐/" + std::to_string(log.size()));
  }
  void CreateDownloadTask(const std::string& mediaUrl, const std::string& fileName,
                          const std::string& saveDirectory, const std::string& sourceTag) override {
    log.push_back("create " + text::GbkToUtf8(mediaUrl) + " ; " + text::GbkToUtf8(fileName) +
                  " ; " + text::GbkToUtf8(saveDirectory) + " ; " + text::GbkToUtf8(sourceTag));
  }
  void HideWindow() override { log.push_back("hide"); }
  void ClearInputAndCaption() override { log.push_back("clear"); }
  void EnableControls() override { log.push_back("enable"); }
  std::string ReadSpeedText() override {
    log.push_back("read speed");
    return text::Gbk(speedText);
  }
  void SetSpeedLimit(std::int32_t kbps) override { log.push_back("speed " + std::to_string(kbps)); }
  bool Cancelled() override {
    return cancelAfterCalls >= 0 && log.size() >= static_cast<std::size_t>(cancelAfterCalls);
  }
};

const std::string kProgress = "caption 正在解析下载地址，请稍候...   ";
const std::string kCreating = "caption 解析完毕，正在创建任务,请稍候...";

class ResolveRunTest : public ::testing::Test {
 protected:
  resolve::SiteTable Sites() const {
    resolve::SiteTable t = resolve::BuiltInSites();
    t.sites[4].scriptHost = server.Host();
    return t;
  }
  testsupport::TestServer server;
};

TEST_F(ResolveRunTest, WholeRunInStepOrder) {
  server.Serve("/d-dj.example/1.html", ReadFixture("resolve/site_d.html"));
  server.Serve("/c-dj.example/d-dj.example/2.html",
               ReadFixture("resolve/site_c.html") + ReadFixture("resolve/site_d.html"));
  FakeHost host;
  host.input = server.Url("/d-dj.example/1.html") + "\r\n" +               // line 1
               "\r\n" +                                                    // 2: empty
               "http://nowhere.example/3.html\r\n" +                       // 3: no tag
               server.Url("/c-dj.example/d-dj.example/2.html") + "\r\n" +  // 4: two tags
               server.Url("/D-DJ.EXAMPLE/5.html") + "\r\n";  // 5: tag in capitals only
  host.speedText = "１２0.5 KB/s";

  resolve::ResolveRun(host, Sites());

  const std::string d = "create http://media.d-dj.example/2017/d4004.mp3 ; 串烧 D.mp3 ; ";
  const std::vector<std::string> expected = {
      "read input",
      kProgress + "0/5",
      kProgress + "1/5",
      kProgress + "4/5",
      kProgress + "4/5",
      kCreating,
      "read save directory",
      d + "/音乐/7 ; d-dj.example",
      "read save directory",
      "create http://media.c-dj.example:8080/2015/c3003.mp3 ; 慢摇 C.mp3 ; /音乐/9 ; c-dj.example",
      "read save directory",
      d + "/音乐/11 ; d-dj.example",
      "hide",
      "clear",
      "enable",
      "read speed",
      "speed 120",
  };
  EXPECT_EQ(host.log, expected);

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].target, "/d-dj.example/1.html");
  EXPECT_EQ(requests[1].target, "/c-dj.example/d-dj.example/2.html");
  EXPECT_EQ(requests[2].target, "/c-dj.example/d-dj.example/2.html");
}

TEST_F(ResolveRunTest, EmptyInputStillEndsTheRun) {
  FakeHost host;
  host.speedText = "fast";
  resolve::ResolveRun(host, Sites());
  const std::vector<std::string> expected = {"read input", kProgress + "0/0", kCreating,
                                             "hide",       "clear",           "enable",
                                             "read speed", "speed 0"};
  EXPECT_EQ(host.log, expected);
  EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(ResolveRunTest, SiteALineWithoutPartsGivesNoEntryAndTheRunGoesOn) {
  server.Serve("/a-dj.example/d-dj.example/1.html", ReadFixture("resolve/site_d.html"));
  FakeHost host;
  host.input = server.Url("/a-dj.example/d-dj.example/1.html");
  const auto entries = resolve::ResolvePhase(host, Sites());
  EXPECT_EQ(entries, std::vector<std::string>{text::Gbk(
                         "http://media.d-dj.example/2017/d4004.mp3|串烧 D.mp3|d-dj.example")});
  const std::vector<std::string> expected = {"read input", kProgress + "0/1", kProgress + "1/1",
                                             kProgress + "1/1"};
  EXPECT_EQ(host.log, expected);
}

TEST_F(ResolveRunTest, SiteEFetchesItsScriptForEveryLine) {
  std::string script = ReadFixture("resolve/site_e_script.js");
  script.replace(script.find("{HOST}"), 6, server.Host());
  server.Serve("/i/c.php", script);
  server.Serve("/e-dj.example/1.html", ReadFixture("resolve/site_e_play.html"));
  server.Serve("/e-dj.example/2.html", ReadFixture("resolve/site_e_play.html"));
  server.Serve("/_sys_vw.vhtml?js=yes", ReadFixture("resolve/site_e_visitor.js"));
  FakeHost host;
  host.input = server.Url("/e-dj.example/1.html") + "\r\n" + server.Url("/e-dj.example/2.html");
  EXPECT_EQ(resolve::ResolvePhase(host, Sites()).size(), 2u);
  std::vector<std::string> targets;
  for (const auto& r : server.Requests()) targets.push_back(r.target);
  const std::vector<std::string> expected = {
      "/i/c.php", "/e-dj.example/1.html", "/_sys_vw.vhtml?js=yes",
      "/i/c.php", "/e-dj.example/2.html", "/_sys_vw.vhtml?js=yes"};
  EXPECT_EQ(targets, expected);
}

TEST_F(ResolveRunTest, CancelledRunStopsAtOnce) {
  server.Serve("/d-dj.example/1.html", ReadFixture("resolve/site_d.html"));
  FakeHost host;
  host.input = server.Url("/d-dj.example/1.html");
  host.cancelAfterCalls = 2;  // after the first caption
  resolve::ResolveRun(host, Sites());
  const std::vector<std::string> expected = {"read input", kProgress + "0/1"};
  EXPECT_EQ(host.log, expected);
  EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(ResolveRunTest, ManyOddLinesDoNotHurt) {
  // A 1 MB line, binary bytes, and many short lines, none with a tag.
  std::string input(1 << 20, 'x');
  input += "\r\n";
  for (int i = 1; i < 256; ++i) input += static_cast<char>(i);
  input += "\r\n";
  for (int i = 0; i < 100000; ++i) input += "line\r\n";
  FakeHost host;
  host.input = input;
  const auto entries = resolve::ResolvePhase(host, Sites());
  EXPECT_TRUE(entries.empty());
  EXPECT_EQ(host.log.back(), kProgress + "0/100002");
}

}  // namespace
