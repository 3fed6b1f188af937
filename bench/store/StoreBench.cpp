// Store benchmark.
//   store_bench fill <path> <n>  creates a store at path and adds n tasks the way
//                                task creation does (AddRecord, four texts,
//                                RenumberDownloads); run it under
//                                strace -f -c -e trace=fsync,fdatasync for the syncs.
//   store_bench tick <path> [r]  the reads of one monitor tick over every record
//                                (GoToRecord p, two ReadText), beside a naive
//                                "LIMIT 1 OFFSET p" query per record (r rounds of
//                                it, 3 unless given).

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/DownloadStore.h"
#include "store/Sqlite.h"
#include "text/Text.h"

namespace {

using Clock = std::chrono::steady_clock;
using store::Table;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time of this thread: on a shared machine it shows the work apart from
// the waits for a core.
double CpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

int Fill(const std::string& path, std::int64_t n) {
  std::string error;
  if (!store::CreateEmptyStore(path, store::kStorePassword, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  store::DownloadStore s;
  if (!s.OpenStore(path, store::kStorePassword)) return 1;
  const std::string url = text::Gbk("文件完整地址"), name = text::Gbk("下载文件名"),
                    folder = text::Gbk("下载路径"), source = text::Gbk("歌曲来源");
  const std::string title = text::Gbk("夜店 DJ 舞曲串烧 "), dir = text::Gbk("/home/用户/DJ舞曲/");
  const auto start = Clock::now();
  for (std::int64_t i = 0; i < n; ++i) {
    if (!s.AddRecord(Table::Downloads)) return 1;
    s.WriteText(Table::Downloads, url, "http://media.site-d.example/mp3/" + std::to_string(i));
    s.WriteText(Table::Downloads, name, title + std::to_string(i) + ".mp3");
    s.WriteText(Table::Downloads, folder, dir);
    s.WriteText(Table::Downloads, source, "site-d.example");
    s.RenumberDownloads();
  }
  const double ms = MsSince(start);
  std::printf("fill: %lld additions with renumbering in %.0f ms, %.3f ms per addition\n",
              static_cast<long long>(n), ms, ms / static_cast<double>(n));
  return 0;
}

int Tick(const std::string& path, int naiveRounds) {
  store::DownloadStore s;
  const auto openStart = Clock::now();
  if (!s.OpenStore(path, store::kStorePassword)) return 1;
  const double openMs = MsSince(openStart);
  const std::string name = text::Gbk("下载文件名"), source = text::Gbk("歌曲来源");
  const std::int64_t n = s.RecordCount(Table::Downloads);
  std::size_t bytes = 0;  // keeps the reads from being optimised away

  std::vector<double> ticks;
  std::vector<double> tickCpu;
  for (int round = 0; round < 21; ++round) {
    const auto start = Clock::now();
    const double cpuStart = CpuMs();
    for (std::int64_t p = 0; p < n; ++p) {
      s.GoToRecord(Table::Downloads, p);
      bytes += s.ReadText(Table::Downloads, name).size();
      bytes += s.ReadText(Table::Downloads, source).size();
    }
    ticks.push_back(MsSince(start));
    tickCpu.push_back(CpuMs() - cpuStart);
  }

  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
      sqlite3_key(db, store::kStorePassword, 9) != SQLITE_OK) {
    return 1;
  }
  store::Statement naive = store::Prepare(
      db, "SELECT \"下载文件名\", \"歌曲来源\" FROM \"下载记录\" ORDER BY id LIMIT 1 OFFSET ?1");
  if (!naive) return 1;
  std::vector<double> naiveTicks;
  std::vector<double> naiveCpu;
  for (int round = 0; round < naiveRounds; ++round) {
    const auto start = Clock::now();
    const double cpuStart = CpuMs();
    for (std::int64_t p = 0; p < n; ++p) {
      sqlite3_bind_int64(naive.get(), 1, p);
      if (sqlite3_step(naive.get()) == SQLITE_ROW) {
        for (int c = 0; c < 2; ++c) {
          const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(naive.get(), c));
          bytes +=
              text::Utf8ToGbk(std::string_view(t, sqlite3_column_bytes(naive.get(), c))).size();
        }
      }
      sqlite3_reset(naive.get());
    }
    naiveTicks.push_back(MsSince(start));
    naiveCpu.push_back(CpuMs() - cpuStart);
  }
  naive.reset();
  sqlite3_close(db);

  std::printf("open (key derivation, check, reading the tables): %.1f ms\n", openMs);
  std::printf(
      "tick over %lld records (GoToRecord + 2 ReadText each), %zu runs: wall median %.2f ms "
      "(min %.2f), CPU median %.2f ms\n",
      static_cast<long long>(n), ticks.size(), Median(ticks),
      *std::min_element(ticks.begin(), ticks.end()), Median(tickCpu));
  if (!naiveTicks.empty()) {
    std::printf(
        "naive LIMIT 1 OFFSET p per record, %zu runs: wall median %.1f ms (min %.1f), CPU median "
        "%.1f ms; %.0fx the tick's wall median\n",
        naiveTicks.size(), Median(naiveTicks),
        *std::min_element(naiveTicks.begin(), naiveTicks.end()), Median(naiveCpu),
        Median(naiveTicks) / Median(ticks));
  }
  std::printf("(%zu bytes read)\n", bytes);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 2 ? argv[1] : "";
  if (mode == "fill" && argc == 4) return Fill(argv[2], std::atoll(argv[3]));
  if (mode == "tick" && (argc == 3 || argc == 4)) {
    return Tick(argv[2], argc == 4 ? std::atoi(argv[3]) : 3);
  }
  std::fprintf(stderr,
               "usage: store_bench fill <path> <n> | store_bench tick <path> [naive rounds]\n");
  return 2;
}
