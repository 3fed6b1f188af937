// The real program as a process: told to stop by a signal, it still shuts
// down as when its window closes (engine shut down, extractor removed, exit 0).

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "support/TestServer.h"

namespace fs = std::filesystem;

namespace {

TEST(ProgramProcess, StopSignalsShutDownCleanly) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    testsupport::TempDir folder;
    for (const char* file : {"velmira", "libp2p.so"}) {
      fs::copy_file(fs::path(VELMIRA_BIN_DIR) / file, fs::path(folder.Path()) / file);
    }
    const std::string extractor = folder.File("flvtomp3");
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      ::setenv("HOME", folder.Path().c_str(), 1);
      const std::string program = folder.File("velmira");
      ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // The extractor appears during start-up, so the program is running by then.
    ASSERT_TRUE(testsupport::WaitFor([&] { return fs::exists(extractor); })) << signal;
    ASSERT_EQ(::kill(pid, signal), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status)) << "signal " << signal << " ended the program uncleanly";
    EXPECT_EQ(WEXITSTATUS(status), 0) << signal;
    EXPECT_FALSE(fs::exists(extractor)) << signal;
  }
}

}  // namespace
