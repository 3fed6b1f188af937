// The engine through its C interface, against the in-process test server.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>

#include "RecordLayout.h"
#include "Records.h"
#include "p2p/p2p.h"
#include "support/TestServer.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Response;
using testsupport::TempDir;
using testsupport::TestServer;
using testsupport::WaitFor;
using namespace std::chrono_literals;

constexpr std::size_t kMiB = 1 << 20;

// The engine thread runs for the whole test program, as it does in the program.
class EngineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { XL_Init(); }
  void TearDown() override { XL_UnInit(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

std::string RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::string s(n, '\0');
  for (std::size_t i = 0; i + 8 <= n; i += 8) {
    const std::uint64_t v = rng();
    std::memcpy(&s[i], &v, 8);
  }
  return s;
}

std::uint32_t Create(const std::string& url, const std::string& name, const std::string& dir,
                     bool resume = true) {
  const auto param = p2p::MakeTaskParam(url, name, dir, resume);
  return XL_CreateTask(param.data());
}

p2p::TaskInfo Info(std::uint32_t id) {
  std::vector<unsigned char> record(p2p::layout::kInfoSize, 0xEE);
  EXPECT_NE(XL_QueryTaskInfoEx(id, record.data()), 0) << "task " << id;
  return p2p::ReadTaskInfo(record.data());
}

bool WaitState(std::uint32_t id, int stat, std::chrono::milliseconds limit = 20s) {
  return WaitFor([&] { return Info(id).stat == stat; }, limit);
}

std::set<std::string> Listing(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

Response File(const std::string& body) {
  Response r;
  r.body = body;
  return r;
}

// ---- Completion -------------------------------------------------------------------------

struct CompletionCase {
  const char* label;
  bool ranges;
  bool chunked;
  bool noLength;
  bool redirect;
  bool expectSeveralRequests;
};

class Completion : public ::testing::TestWithParam<CompletionCase> {};

TEST_P(Completion, FileArrivesByteExactUnderItsName) {
  const CompletionCase& c = GetParam();
  TestServer server;
  TempDir tmp;
  const std::string body = RandomBytes(9 * kMiB + 123, 7);
  Response r = File(body);
  r.honourRanges = c.ranges;
  r.chunked = c.chunked;
  r.noLength = c.noLength;
  server.Serve("/track.mp3", r);
  if (c.redirect) server.Redirect("/go", "/track.mp3");
  // A missing folder, given with a trailing slash, is created.
  const std::string dir = tmp.Path() + "/new/sub/";
  const std::string name = "舞曲 Track.mp3";
  const std::uint32_t id = Create(server.Url(c.redirect ? "/go" : "/track.mp3"), name, dir);
  ASSERT_NE(id, 0u);
  EXPECT_EQ(Info(id).stat, P2P_STATE_STOPPED);
  XL_StartTask(id);
  ASSERT_TRUE(WaitState(id, P2P_STATE_FINISHED)) << "fail_code " << Info(id).failCode;

  const p2p::TaskInfo info = Info(id);
  EXPECT_EQ(info.fileName, name);
  EXPECT_EQ(info.totalSize, static_cast<std::int64_t>(body.size()));
  EXPECT_EQ(info.totalDownload, static_cast<std::int64_t>(body.size()));
  EXPECT_FLOAT_EQ(info.percent, 1.0f);
  EXPECT_EQ(testsupport::Sha256Hex(testsupport::ReadFileBytes(dir + name)),
            testsupport::Sha256Hex(body));
  EXPECT_EQ(Listing(dir), std::set<std::string>{name});  // no .part or control file left
  const std::size_t fileRequests = server.CountFor("/track.mp3");
  if (c.expectSeveralRequests) {
    EXPECT_GT(fileRequests, 1u);
  } else {
    EXPECT_EQ(fileRequests, 1u);
  }
  XL_DeleteTask(id);
}

INSTANTIATE_TEST_SUITE_P(
    Engine, Completion,
    ::testing::Values(CompletionCase{"segmented", true, false, false, false, true},
                      CompletionCase{"noRanges", false, false, false, false, false},
                      CompletionCase{"chunked", false, true, false, false, false},
                      CompletionCase{"endsAtClose", false, false, true, false, false},
                      CompletionCase{"redirected", true, false, false, true, true}),
    [](const auto& p) { return std::string(p.param.label); });

TEST(Engine, EmptyFileCompletes) {
  TestServer server;
  TempDir tmp;
  server.Serve("/empty", File(""));
  const std::uint32_t id = Create(server.Url("/empty"), "empty.bin", tmp.Path());
  XL_StartTask(id);
  ASSERT_TRUE(WaitState(id, P2P_STATE_FINISHED)) << "fail_code " << Info(id).failCode;
  EXPECT_EQ(testsupport::ReadFileBytes(tmp.File("empty.bin")), "");
}

// ---- Failures and retries ---------------------------------------------------------------

TEST(Engine, ErrorStatusStopsWithFailCodeAndCanBeStartedAgain) {
  TestServer server;
  TempDir tmp;
  const std::uint32_t id = Create(server.Url("/later.mp3"), "later.mp3", tmp.Path());
  XL_StartTask(id);
  ASSERT_TRUE(WaitFor([&] { return Info(id).failCode != 0; }));
  EXPECT_EQ(Info(id).stat, P2P_STATE_STOPPED);
  EXPECT_EQ(Info(id).failCode, P2P_FAIL_HTTP_STATUS);
  EXPECT_FALSE(fs::exists(tmp.File("later.mp3")));

  const std::string body = RandomBytes(kMiB, 3);
  server.Serve("/later.mp3", File(body));
  XL_StartTask(id);
  ASSERT_TRUE(WaitState(id, P2P_STATE_FINISHED));
  EXPECT_EQ(Info(id).failCode, 0);
  EXPECT_EQ(testsupport::ReadFileBytes(tmp.File("later.mp3")), body);
}

TEST(Engine, UnusableAddressGivesATaskThatFails) {
  EXPECT_EQ(XL_CreateTask(nullptr), 0u);
  TempDir tmp;
  for (const char* url : {"", "not a url", "ftp://127.0.0.1/x.mp3", "file:///etc/passwd"}) {
    const std::uint32_t id = Create(url, "x.mp3", tmp.Path());
    ASSERT_NE(id, 0u) << url;
    XL_StartTask(id);
    ASSERT_TRUE(WaitFor([&] { return Info(id).failCode != 0; })) << url;
    EXPECT_EQ(Info(id).stat, P2P_STATE_STOPPED) << url;
    EXPECT_EQ(Info(id).failCode, P2P_FAIL_BAD_ADDRESS) << url;
    XL_DeleteTask(id);
    EXPECT_EQ(Info(id).stat, P2P_STATE_DELETED);
  }
  EXPECT_TRUE(Listing(tmp.Path()).empty());
}

TEST(Engine, QueryOfUnknownHandleFails) {
  std::vector<unsigned char> record(p2p::layout::kInfoSize);
  EXPECT_EQ(XL_QueryTaskInfoEx(0, record.data()), 0);
  EXPECT_EQ(XL_QueryTaskInfoEx(0xFFFFFFF0u, record.data()), 0);
}

TEST(Engine, QueryWritesNothingBeyondTheRecord) {
  TempDir tmp;
  const std::uint32_t id = Create("http://127.0.0.1:1/x", "x", tmp.Path());
  std::vector<unsigned char> record(p2p::layout::kInfoSize + 64, 0xEE);
  ASSERT_NE(XL_QueryTaskInfoEx(id, record.data()), 0);
  for (std::size_t i = p2p::layout::kInfoSize; i < record.size(); ++i) EXPECT_EQ(record[i], 0xEE);
  EXPECT_EQ(record[p2p::layout::kInfoSpeed + 4], 0);  // unused fields are zero
}

struct TransientCase {
  const char* label;
  Response first;  // the answer to the first request; every later one is served normally
};

class Transient : public ::testing::TestWithParam<TransientCase> {};

TEST_P(Transient, IsRetriedAndCompletesFromTheBytesOnDisk) {
  TestServer server;
  TempDir tmp;
  const std::string body = RandomBytes(3 * kMiB, 11);
  std::atomic<int> calls{0};
  server.SetHandler([&](const testsupport::Request& req) -> std::optional<Response> {
    if (req.target != "/f.bin") return std::nullopt;
    Response r = ++calls == 1 ? GetParam().first : File(body);
    if (r.body.empty() && r.status == 200) r.body = body;
    return r;
  });
  const std::uint32_t id = Create(server.Url("/f.bin"), "f.bin", tmp.Path());
  XL_StartTask(id);
  ASSERT_TRUE(WaitState(id, P2P_STATE_FINISHED)) << "fail_code " << Info(id).failCode;
  EXPECT_EQ(testsupport::Sha256Hex(testsupport::ReadFileBytes(tmp.File("f.bin"))),
            testsupport::Sha256Hex(body));
  EXPECT_GE(calls.load(), 2);
  // A cut after 1 MiB continues from there: well under two whole files in all.
  EXPECT_LT(server.BodyBytesSent(), body.size() + 2 * kMiB);
}

Response CutAfterOneMiB() {
  Response r;
  r.cutAfter = kMiB;
  return r;
}

Response ServiceUnavailable() {
  Response r;
  r.status = 503;
  r.body = "busy";
  return r;
}

INSTANTIATE_TEST_SUITE_P(Engine, Transient,
                         ::testing::Values(TransientCase{"cutConnection", CutAfterOneMiB()},
                                           TransientCase{"status503", ServiceUnavailable()}),
                         [](const auto& p) { return std::string(p.param.label); });

// ---- Stop, start, delete ----------------------------------------------------------------

TEST(Engine, StopThenStartContinuesWithoutFetchingAgain) {
  TestServer server;
  TempDir tmp;
  const std::string body = RandomBytes(4 * kMiB, 5);
  Response r = File(body);
  r.bytesPerSecond = 512 * 1024;
  server.Serve("/slow.bin", r);
  const std::uint32_t id = Create(server.Url("/slow.bin"), "slow.bin", tmp.Path());
  XL_StartTask(id);
  ASSERT_TRUE(WaitFor([&] { return Info(id).totalDownload >= static_cast<std::int64_t>(kMiB); }));
  XL_StopTask(id);
  EXPECT_EQ(Info(id).stat, P2P_STATE_STOPPED);
  EXPECT_EQ(Info(id).failCode, 0);
  const std::int64_t atStop = Info(id).totalDownload;
  EXPECT_TRUE(fs::exists(tmp.File("slow.bin.part")));

  server.Serve("/slow.bin", File(body));  // now fast
  XL_StartTask(id);
  EXPECT_GE(Info(id).totalDownload, atStop - static_cast<std::int64_t>(kMiB) / 4);
  ASSERT_TRUE(WaitState(id, P2P_STATE_FINISHED));
  EXPECT_EQ(testsupport::Sha256Hex(testsupport::ReadFileBytes(tmp.File("slow.bin"))),
            testsupport::Sha256Hex(body));
  // Fetching the first megabyte again would send at least body + 1 MiB.
  EXPECT_LT(server.BodyBytesSent(), body.size() + kMiB / 2);
}

TEST(Engine, ChangedFileOnTheServerStartsFromZero) {
  TestServer server;
  TempDir tmp;
  const std::string oldBody = RandomBytes(4 * kMiB, 21);
  const std::string newBody = RandomBytes(4 * kMiB, 22);
  Response r = File(oldBody);
  r.bytesPerSecond = 512 * 1024;
  r.headers = {{"ETag", "\"old\""}};
  server.Serve("/v.bin", r);
  const std::uint32_t id = Create(server.Url("/v.bin"), "v.bin", tmp.Path());
  XL_StartTask(id);
  ASSERT_TRUE(WaitFor([&] { return Info(id).totalDownload >= static_cast<std::int64_t>(kMiB); }));
  XL_StopTask(id);

  Response changed = File(newBody);
  changed.headers = {{"ETag", "\"new\""}};
  server.Serve("/v.bin", changed);
  XL_StartTask(id);
  ASSERT_TRUE(WaitState(id, P2P_STATE_FINISHED));
  EXPECT_EQ(testsupport::Sha256Hex(testsupport::ReadFileBytes(tmp.File("v.bin"))),
            testsupport::Sha256Hex(newBody));
}

TEST(Engine, DeleteGivesStateOneAndDelTempFileRemovesOnlyItsFiles) {
  TestServer server;
  TempDir tmp;
  Response r = File(RandomBytes(4 * kMiB, 9));
  r.bytesPerSecond = 256 * 1024;
  server.Serve("/d.mp3", r);
  testsupport::WriteFileBytes(tmp.File("d.mp3.txt"), "mine");
  testsupport::WriteFileBytes(tmp.File("other.mp3.part"), "someone else's");
  const std::uint32_t id = Create(server.Url("/d.mp3"), "d.mp3", tmp.Path());
  XL_StartTask(id);
  ASSERT_TRUE(WaitFor([&] { return Info(id).totalDownload > 0; }));
  const auto param = p2p::MakeTaskParam("", "d.mp3", tmp.Path());
  EXPECT_EQ(XL_DelTempFile(param.data()), 0);  // the live task keeps its files
  EXPECT_TRUE(fs::exists(tmp.File("d.mp3.part")));

  XL_StopTask(id);
  XL_DeleteTask(id);
  EXPECT_EQ(Info(id).stat, P2P_STATE_DELETED);
  XL_StartTask(id);  // no effect on a deleted task
  EXPECT_EQ(Info(id).stat, P2P_STATE_DELETED);
  EXPECT_TRUE(fs::exists(tmp.File("d.mp3.part")));
  EXPECT_TRUE(fs::exists(tmp.File("d.mp3.part.ctl")));

  EXPECT_NE(XL_DelTempFile(param.data()), 0);
  EXPECT_EQ(Listing(tmp.Path()), (std::set<std::string>{"d.mp3.txt", "other.mp3.part"}));
}

// ---- Names ------------------------------------------------------------------------------

TEST(Engine, HostileNamesStayInsideTheSaveFolder) {
  TestServer server;
  TempDir tmp;
  server.Serve("/h", File("payload"));
  const std::string save = tmp.Path() + "/save";
  const char* names[] = {"../escape.mp3",
                         "/etc/evil.mp3",
                         "..\\..\\win.mp3",
                         "..",
                         ".",
                         "sub/../../x.mp3",
                         "a\x01\x1f\x7f b.mp3",
                         ""};
  std::set<std::string> reported;
  for (const char* name : names) {
    const std::uint32_t id = Create(server.Url("/h"), name, save);
    XL_StartTask(id);
    ASSERT_TRUE(WaitState(id, P2P_STATE_FINISHED)) << name;
    const std::string used = Info(id).fileName;
    EXPECT_EQ(used.find('/'), std::string::npos) << name;
    EXPECT_NE(used, "..");
    EXPECT_NE(used, ".");
    for (const char c : used) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << name;
    EXPECT_EQ(testsupport::ReadFileBytes(save + "/" + used), "payload") << name;
    reported.insert(used);
  }
  EXPECT_EQ(Listing(save), reported);
  EXPECT_EQ(Listing(tmp.Path()), std::set<std::string>{"save"});
}

TEST(Engine, ExistingFilesSurviveAndAnotherNameIsReported) {
  TestServer server;
  TempDir tmp;
  server.Serve("/x", File("new data"));
  testsupport::WriteFileBytes(tmp.File("x.mp3"), "keep me");
  testsupport::WriteFileBytes(tmp.File("y.mp3.part"), "not the engine's");
  const std::uint32_t x = Create(server.Url("/x"), "x.mp3", tmp.Path());
  const std::uint32_t y = Create(server.Url("/x"), "y.mp3", tmp.Path());
  const std::uint32_t y2 = Create(server.Url("/x"), "y.mp3", tmp.Path());  // same name twice
  for (std::uint32_t id : {x, y, y2}) XL_StartTask(id);
  for (std::uint32_t id : {x, y, y2}) ASSERT_TRUE(WaitState(id, P2P_STATE_FINISHED));
  EXPECT_EQ(Info(x).fileName, "x (1).mp3");
  EXPECT_EQ(testsupport::ReadFileBytes(tmp.File("x.mp3")), "keep me");
  EXPECT_EQ(testsupport::ReadFileBytes(tmp.File("x (1).mp3")), "new data");
  EXPECT_EQ(testsupport::ReadFileBytes(tmp.File("y.mp3.part")), "not the engine's");
  const std::set<std::string> ys{Info(y).fileName, Info(y2).fileName};
  EXPECT_EQ(ys, (std::set<std::string>{"y (1).mp3", "y (2).mp3"}));
}

TEST(Engine, LongNamesAreShortenedAtACharacterKeepingTheExtension) {
  TestServer server;
  TempDir tmp;
  server.Serve("/l", File("long"));
  std::string cjk;
  for (int i = 0; i < 255; ++i) cjk += "舞";
  const std::string names[] = {std::string(255, 'a') + ".mp3", cjk + ".mp3"};
  for (const std::string& name : names) {
    const std::uint32_t id = Create(server.Url("/l"), name, tmp.Path());
    XL_StartTask(id);
    ASSERT_TRUE(WaitState(id, P2P_STATE_FINISHED)) << "fail_code " << Info(id).failCode;
    const std::string used = Info(id).fileName;
    EXPECT_LE(used.size(), 242u);
    EXPECT_EQ(used.substr(used.size() - 4), ".mp3");
    EXPECT_EQ(name.compare(0, used.size() - 4, used, 0, used.size() - 4), 0);  // a prefix
    EXPECT_EQ(testsupport::ReadFileBytes(tmp.File(used)), "long");
  }
}

// ---- Lifecycle, crash, disk errors ------------------------------------------------------

TEST(Engine, TasksWaitForInitAndUnInitKeepsProgress) {
  TestServer server;
  TempDir tmp;
  const std::string body = RandomBytes(4 * kMiB, 13);
  Response r = File(body);
  r.bytesPerSecond = 512 * 1024;
  server.Serve("/u.bin", r);
  XL_UnInit();
  const std::uint32_t id = Create(server.Url("/u.bin"), "u.bin", tmp.Path());
  XL_StartTask(id);
  EXPECT_EQ(Info(id).stat, P2P_STATE_DOWNLOADING);  // waiting for the engine thread
  XL_Init();
  ASSERT_TRUE(WaitFor([&] { return Info(id).totalDownload >= static_cast<std::int64_t>(kMiB); }));
  XL_UnInit();
  EXPECT_EQ(Info(id).stat, P2P_STATE_DOWNLOADING);
  server.Serve("/u.bin", File(body));
  XL_Init();
  ASSERT_TRUE(WaitState(id, P2P_STATE_FINISHED));
  EXPECT_EQ(testsupport::Sha256Hex(testsupport::ReadFileBytes(tmp.File("u.bin"))),
            testsupport::Sha256Hex(body));
  EXPECT_LT(server.BodyBytesSent(), body.size() + kMiB / 2);
}

pid_t Spawn(const std::vector<std::string>& args, int* out = nullptr) {
  int pipeFds[2] = {-1, -1};
  if (out != nullptr && ::pipe(pipeFds) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (out != nullptr) {
      ::dup2(pipeFds[1], 1);
      ::close(pipeFds[0]);
      ::close(pipeFds[1]);
    }
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  if (out != nullptr) {
    ::close(pipeFds[1]);
    *out = pipeFds[0];
  }
  return pid;
}

TEST(Engine, KilledProcessResumesFromItsControlFile) {
  TestServer server;
  TempDir tmp;
  const std::string body = RandomBytes(4 * kMiB, 17);
  Response r = File(body);
  r.bytesPerSecond = 256 * 1024;
  server.Serve("/k.bin", r);
  const pid_t child = Spawn({P2P_TEST_HELPER, "run", server.Url("/k.bin"), tmp.Path(), "k.bin"});
  ASSERT_GT(child, 0);
  const bool reached = WaitFor([&] { return server.BodyBytesSent() >= body.size() * 4 / 10; });
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(reached);
  ASSERT_TRUE(WIFSIGNALED(status));
  ASSERT_FALSE(fs::exists(tmp.File("k.bin")));
  const std::uint64_t sentBefore = server.BodyBytesSent();

  server.Serve("/k.bin", File(body));
  // Restored as the program does with automatic start off: created, started and stopped at
  // once, before XL_Init. It already shows what is on disk.
  XL_UnInit();
  const std::uint32_t id = Create(server.Url("/k.bin"), "k.bin", tmp.Path(), /*resume=*/true);
  XL_StartTask(id);
  XL_StopTask(id);
  const p2p::TaskInfo restored = Info(id);
  EXPECT_EQ(restored.stat, P2P_STATE_STOPPED);
  EXPECT_EQ(restored.totalSize, static_cast<std::int64_t>(body.size()));
  EXPECT_GT(restored.totalDownload, 0);
  EXPECT_LE(restored.totalDownload, static_cast<std::int64_t>(sentBefore));
  XL_Init();
  XL_StartTask(id);
  ASSERT_TRUE(WaitState(id, P2P_STATE_FINISHED));
  EXPECT_EQ(Info(id).fileName, "k.bin");
  EXPECT_EQ(testsupport::Sha256Hex(testsupport::ReadFileBytes(tmp.File("k.bin"))),
            testsupport::Sha256Hex(body));
  // Starting over would fetch the whole file again; a resume fetches what was missing and
  // at most a small part of what had arrived.
  const std::uint64_t sentAfter = server.BodyBytesSent() - sentBefore;
  EXPECT_LT(sentAfter, body.size() - sentBefore / 2);
}

TEST(Engine, WriteErrorStopsTheTaskWithAFailCode) {
  TestServer server;
  TempDir tmp;
  server.Serve("/big.bin", File(RandomBytes(2 * kMiB, 19)));
  int out = -1;
  const pid_t child = Spawn(
      {P2P_TEST_HELPER, "fsize", std::to_string(kMiB), server.Url("/big.bin"), tmp.Path(), "b"},
      &out);
  ASSERT_GT(child, 0);
  std::string text;
  char buf[256];
  for (ssize_t n; (n = ::read(out, buf, sizeof buf)) > 0;) text.append(buf, n);
  ::close(out);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_EQ(text, "stat=2 fail=" + std::to_string(P2P_FAIL_WRITE) + "\n");
  EXPECT_FALSE(fs::exists(tmp.File("b")));
}

}  // namespace
