#include "flv/ConvertFlv.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "flv/AudioPath.h"

extern char** environ;

namespace flv {
namespace {

// The tool's exit codes for "written" and "written up to where the file was cut".
constexpr int kWritten = 0;
constexpr int kWrittenPartly = 3;

// Exit status of the tool, or -1 when it could not run or did not exit normally.
int RunTool(const std::string& tool, const std::string& flvPath) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  // The program's own descriptors (store, sockets) are none of the tool's business.
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
  std::string name = "flvtomp3", a = "-a", o = "-o", end = "--", path = flvPath;
  char* argv[] = {name.data(), a.data(), o.data(), end.data(), path.data(), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    std::fprintf(stderr, "cannot run %s: %s\n", tool.c_str(), std::strerror(spawned));
    return -1;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool NonEmptyFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}

}  // namespace

bool ConvertFlv(const std::string& programFolder, const std::string& flvPath) {
  const int exitCode = RunTool(programFolder + "/flvtomp3", flvPath);
  // An older audio file of the same name proves nothing when the tool failed.
  if (exitCode != kWritten && exitCode != kWrittenPartly) return false;
  for (const Codec codec : {Codec::kMp3, Codec::kAac, Codec::kPcm, Codec::kSpeex}) {
    if (NonEmptyFile(AudioPathFor(flvPath, codec))) {
      unlink(flvPath.c_str());
      return true;
    }
  }
  return false;
}

}  // namespace flv
