// p2pget: downloads URLs through libp2p.so, the way the program drives the engine.
//
//   p2pget URL... -o DIR [--limit KBPS] [--kill-at FRACTION] [--no-resume]
//          [--samples] [--duration SECONDS]
//   p2pget --create N -o DIR     (creates N tasks without starting them, prints peak memory)
//
// It prints one line per second with --samples ("sample <second> <bytes in that second>"),
// and at the end "bytes=<total> seconds=<wall>". --kill-at kills the process with SIGKILL
// once that fraction of all bytes has arrived. Exit code 0 when every task finished.

#include <sys/resource.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "RecordLayout.h"
#include "Records.h"
#include "p2p/p2p.h"

namespace {

std::string NameOf(const std::string& url) {
  std::string path = url.substr(0, url.find_first_of("?#"));
  const std::size_t slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return name.empty() ? "index.html" : name;
}

int Usage() {
  std::fprintf(stderr,
               "usage: p2pget URL... -o DIR [--limit KBPS] [--kill-at FRACTION] [--no-resume]\n"
               "              [--samples] [--duration SECONDS]\n"
               "       p2pget --create N -o DIR\n");
  return 2;
}

long PeakRssKiB() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return ru.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> urls;
  std::string dir;
  int limit = 0;
  double killAt = -1;
  bool resume = true;
  bool samples = false;
  double duration = 0;
  long create = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    const char* v = nullptr;
    if (a == "-o" && (v = next())) {
      dir = v;
    } else if (a == "--limit" && (v = next())) {
      limit = std::atoi(v);
    } else if (a == "--kill-at" && (v = next())) {
      killAt = std::atof(v);
    } else if (a == "--duration" && (v = next())) {
      duration = std::atof(v);
    } else if (a == "--create" && (v = next())) {
      create = std::atol(v);
    } else if (a == "--no-resume") {
      resume = false;
    } else if (a == "--samples") {
      samples = true;
    } else if (!a.empty() && a[0] != '-') {
      urls.push_back(a);
    } else {
      return Usage();
    }
  }
  if (dir.empty() || (urls.empty() && create == 0)) return Usage();

  if (create > 0) {
    const long before = PeakRssKiB();
    for (long n = 0; n < create; ++n) {
      const std::string url = "http://127.0.0.1:9/file-" + std::to_string(n) + ".mp3";
      const auto param = p2p::MakeTaskParam(url, NameOf(url), dir, true);
      if (XL_CreateTask(param.data()) == 0) return 1;
    }
    XL_Init();
    XL_UnInit();
    std::printf("tasks=%ld peak_rss_kib=%ld before_kib=%ld\n", create, PeakRssKiB(), before);
    return 0;
  }

  XL_SetSpeedLimit(limit);
  std::vector<std::uint32_t> tasks;
  for (const std::string& url : urls) {
    const auto param = p2p::MakeTaskParam(url, NameOf(url), dir, resume);
    const std::uint32_t id = XL_CreateTask(param.data());
    XL_StartTask(id);
    tasks.push_back(id);
  }
  const auto start = std::chrono::steady_clock::now();
  XL_Init();

  std::vector<unsigned char> info(p2p::layout::kInfoSize);
  std::int64_t lastSecondBytes = 0;
  int second = 0;
  std::int64_t total = 0;
  bool allDone = false;
  bool failed = false;
  for (;;) {
    std::int64_t done = 0;
    std::int64_t size = 0;
    bool sizesKnown = true;
    allDone = true;
    failed = false;
    for (std::uint32_t id : tasks) {
      if (XL_QueryTaskInfoEx(id, info.data()) == 0) continue;
      const p2p::TaskInfo t = p2p::ReadTaskInfo(info.data());
      done += t.totalDownload;
      size += t.totalSize;
      sizesKnown = sizesKnown && t.totalSize > 0;
      if (t.stat != P2P_STATE_FINISHED) allDone = false;
      if (t.stat == P2P_STATE_STOPPED && t.failCode != 0) {
        failed = true;
        std::fprintf(stderr, "task %u (%s) failed: code %d\n", id, t.fileName.c_str(), t.failCode);
      }
    }
    total = done;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (samples && elapsed >= second + 1) {
      ++second;
      std::printf("sample %d %lld\n", second, static_cast<long long>(done - lastSecondBytes));
      std::fflush(stdout);
      lastSecondBytes = done;
    }
    if (killAt >= 0 && sizesKnown && size > 0 && static_cast<double>(done) >= killAt * size) {
      std::printf("killed at %lld of %lld\n", static_cast<long long>(done),
                  static_cast<long long>(size));
      std::fflush(stdout);
      std::raise(SIGKILL);
    }
    if (allDone || failed || (duration > 0 && elapsed >= duration)) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(samples ? 5 : 20));
  }
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  XL_UnInit();
  std::printf("bytes=%lld seconds=%.3f\n", static_cast<long long>(total), elapsed);
  return allDone ? 0 : 1;
}
