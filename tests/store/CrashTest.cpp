// A writer process killed at a random moment must leave a store that opens and
// holds only whole records, in insertion order, numbered 1..n.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>

#include "StoreTestUtil.h"
#include "store/DownloadStore.h"

namespace {

using store::DownloadStore;
using store::Table;
using storetest::F;

storetest::Task TaskOf(std::int64_t serial) {
  const std::string s = std::to_string(serial);
  return {"http://a.example/" + s, s + ".mp3", "/music/" + s + "/", "site-" + s};
}

void KillSelf(int) { kill(getpid(), SIGKILL); }

// SIGKILL after the given time, wherever the process then is.
void ArmKillTimer(std::chrono::microseconds after) {
  struct sigaction action {};
  action.sa_handler = KillSelf;
  sigaction(SIGALRM, &action, nullptr);
  itimerval timer{};
  timer.it_value.tv_sec = after.count() / 1'000'000;
  timer.it_value.tv_usec = after.count() % 1'000'000;
  setitimer(ITIMER_REAL, &timer, nullptr);
}

// The child: adds tasks and deletes some (at the front among them), as the
// program does, until it is killed some time after its first step.
[[noreturn]] void RunWriter(const std::string& path, std::int64_t firstSerial, unsigned seed,
                            std::chrono::microseconds killAfter) {
  DownloadStore s;
  if (!s.OpenStore(path, store::kStorePassword)) _exit(2);
  std::mt19937 rng(seed);
  for (std::int64_t serial = firstSerial;; ++serial) {
    const std::int64_t count = s.RecordCount(Table::Downloads);
    if (count > 3 && rng() % 3 == 0) {
      s.GoToRecord(Table::Downloads, rng() % 2 == 0 ? 0 : static_cast<std::int64_t>(rng() % count));
      s.DeleteCurrent(Table::Downloads);
      s.RenumberDownloads();
    } else if (!storetest::AddTask(s, TaskOf(serial))) {
      _exit(3);
    }
    if (serial == firstSerial) ArmKillTimer(killAfter);
  }
}

// The number of records, or -1 when the store does not open.
std::int64_t ExpectWholeNumberedRecords(const std::string& path) {
  DownloadStore s;
  if (!s.OpenStore(path, store::kStorePassword)) return -1;
  std::int64_t lastSerial = -1;
  for (std::int64_t i = 0; i < s.RecordCount(Table::Downloads); ++i) {
    EXPECT_TRUE(s.GoToRecord(Table::Downloads, i));
    std::int64_t number = 0;
    EXPECT_TRUE(s.ReadInteger(Table::Downloads, F().number, number));
    EXPECT_EQ(number, i + 1);
    const std::string url = s.ReadText(Table::Downloads, F().url);
    const std::int64_t serial = std::stoll(url.substr(url.rfind('/') + 1));
    EXPECT_GT(serial, lastSerial) << "record " << i;
    lastSerial = serial;
    const storetest::Task expected = TaskOf(serial);
    EXPECT_EQ(url, expected.url);
    EXPECT_EQ(s.ReadText(Table::Downloads, F().fileName), expected.fileName);
    EXPECT_EQ(s.ReadText(Table::Downloads, F().path), expected.path);
    EXPECT_EQ(s.ReadText(Table::Downloads, F().source), expected.source);
  }
  return s.RecordCount(Table::Downloads);
}

TEST(StoreCrash, WriterKilledAtRandomMomentsLeavesWholeRecordsNumberedInOrder) {
  storetest::StoreFile file;
  const unsigned seed = std::random_device()();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed);
  std::int64_t records = 0;
  for (int round = 0; round < 8; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    // Somewhere from the second step on, up to some dozens of steps later.
    const std::chrono::microseconds after(1 + rng() % 200'000);
    const unsigned childSeed = rng();
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      RunWriter(file.path, (round + 1) * 1'000'000, childSeed, after);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
    records = ExpectWholeNumberedRecords(file.path);
    ASSERT_GE(records, 0) << "the store no longer opens";
  }
  EXPECT_GT(records, 0) << "the writers never saved a record";
}

}  // namespace
