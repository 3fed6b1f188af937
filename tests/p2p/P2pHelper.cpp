// A child process for the engine tests, where a test needs a process it can kill -9 or one
// with a small file size limit.
//
//   p2p_test_helper run URL DIR NAME          downloads until finished, then exits 0
//   p2p_test_helper fsize BYTES URL DIR NAME  the same under RLIMIT_FSIZE; prints
//                                             "stat=S fail=F" once the task has stopped

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "RecordLayout.h"
#include "Records.h"
#include "p2p/p2p.h"

int main(int argc, char** argv) {
  if (argc < 5) return 2;
  const std::string mode = argv[1];
  int arg = 2;
  if (mode == "fsize") {
    if (argc < 6) return 2;
    const rlim_t limit = std::strtoull(argv[arg++], nullptr, 10);
    const rlimit rl{limit, limit};
    std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
    if (setrlimit(RLIMIT_FSIZE, &rl) != 0) return 3;
  } else if (mode != "run") {
    return 2;
  }
  const auto param = p2p::MakeTaskParam(argv[arg], argv[arg + 2], argv[arg + 1], true);
  const std::uint32_t id = XL_CreateTask(param.data());
  XL_StartTask(id);
  XL_Init();
  std::vector<unsigned char> info(p2p::layout::kInfoSize);
  for (;;) {
    if (XL_QueryTaskInfoEx(id, info.data()) == 0) return 4;
    const p2p::TaskInfo t = p2p::ReadTaskInfo(info.data());
    if (t.stat == P2P_STATE_FINISHED || t.stat == P2P_STATE_STOPPED) {
      std::printf("stat=%d fail=%d\n", t.stat, t.failCode);
      XL_UnInit();
      return 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}
