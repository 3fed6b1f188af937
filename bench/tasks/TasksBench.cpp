// UI-thread cost of the task code with many tasks: creating them (engine call,
// row, store record) and one monitor tick (a query, two store reads and the row
// writes per task). The engine answers every query at once and the views are
// plain vectors, so the figures are the task code plus the real store.
//
// "create/task -st" is the same creation with the store closed: the task
// code's own share, without the store's one transaction per record.
//
// tasks_bench [folder [tasks ticks]]: the store file goes to a temporary folder
// under folder (default /tmp) and is removed afterwards. Without tasks it runs
// 1,000, 2,000, 5,000 and 10,000 tasks with 15 timed ticks each.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/EngineApi.h"
#include "engine/TaskInfoRecord.h"
#include "engine/TaskParamRecord.h"
#include "store/DownloadStore.h"
#include "tasks/Tasks.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Every task downloads at 100 KB/s, half done, under the name it was given.
// Like the engine it writes the record's bytes at their fixed offsets.
class AnsweringEngine : public engine::EngineApi {
 public:
  AnsweringEngine() {
    Put(kStat, std::int32_t{3});
    Put(kTotalSize, std::int64_t{4 * 1048576});
    Put(kTotalDownload, std::int64_t{2 * 1048576});
    Put(kPercent, 0.5f);
    Put(kSpeed, std::int32_t{102400});
  }
  void Init() override {}
  void UnInit() override {}
  void SetSpeedLimit(std::int32_t) override {}
  std::uint32_t CreateTask(const void*) override {
    names_.push_back(u"track" + Utf16Digits(names_.size()) + u".mp3");
    return static_cast<std::uint32_t>(names_.size());
  }
  void StartTask(std::uint32_t) override {}
  void StopTask(std::uint32_t) override {}
  void DeleteTask(std::uint32_t) override {}
  std::int32_t QueryTaskInfoEx(std::uint32_t handle, void* block) override {
    auto* bytes = static_cast<unsigned char*>(block);
    std::memcpy(bytes, image_, sizeof image_);
    const std::u16string& name = names_[handle - 1];
    for (std::size_t i = 0; i < name.size(); ++i) {
      bytes[kFileName + 2 * i] = static_cast<unsigned char>(name[i] & 0xFF);
      bytes[kFileName + 2 * i + 1] = static_cast<unsigned char>(name[i] >> 8);
    }
    return 1;
  }
  std::int32_t DelTempFile(const void*) override { return 1; }

 private:
  static constexpr std::size_t kStat = 0, kFileName = 8, kTotalSize = 1048, kTotalDownload = 1056,
                               kPercent = 1064, kSpeed = 1152, kSize = 1429;

  static std::u16string Utf16Digits(std::size_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
  }
  template <typename T>
  void Put(std::size_t offset, T value) {
    std::memcpy(image_ + offset, &value, sizeof value);
  }

  unsigned char image_[kSize] = {};
  std::vector<std::u16string> names_;
};

class VectorList : public tasks::ListView {
 public:
  int RowCount() const override { return static_cast<int>(rows_.size()); }
  int AppendRow(const std::string& first) override {
    rows_.push_back(Row{});
    rows_.back().columns[0] = first;
    return RowCount() - 1;
  }
  std::string Text(int row, int column) const override { return rows_[row].columns[column]; }
  void SetText(int row, int column, const std::string& text) override {
    rows_[row].columns[column] = text;
  }
  void SetStateImage(int row, int image) override { rows_[row].image = image; }
  void RemoveRow(int row) override { rows_.erase(rows_.begin() + row); }
  void RemoveAllRows() override { rows_.clear(); }
  int SelectedRow() const override { return -1; }
  void SetFailure(int, const std::string&) override {}

 private:
  struct Row {
    std::string columns[6];
    int image = -1;
  };
  std::vector<Row> rows_;
};

struct NoStatus : tasks::StatusBar {
  void SetPartText(int, const std::string&) override {}
};
struct PlainTimer : tasks::Timer {
  int Period() const override { return period; }
  void SetPeriod(int ms) override { period = ms; }
  int period = 0;
};
struct NoEvents : tasks::EventPump {
  void ProcessPendingEvents() override {}
};
struct Settings : tasks::SettingsView {
  std::string SpeedText() const override { return "9999"; }
  void SetSpeedText(const std::string&) override {}
  std::string SaveDirectory() const override { return "/music/"; }
  void SetSaveDirectory(const std::string&) override {}
  bool AutoStart() const override { return true; }
  void SetAutoStart(bool) override {}
};

struct Result {
  double createTotalMs;
  double createWithoutStoreMs;  // the same creations with the store closed
  double tickMedianMs;
  double tickMinMs;
};

struct World {
  engine::TaskParamRecord param;
  engine::TaskInfoRecord info;
  AnsweringEngine engine;
  tasks::TaskHandleList handles;
  VectorList downloads, completed;
  NoStatus status;
  PlainTimer timer;
  NoEvents events;
  Settings settings;
};

double CreateAll(tasks::TaskContext& ctx, int tasks) {
  const auto start = Clock::now();
  for (int i = 0; i < tasks; ++i) {
    tasks::CreateDownloadTask(ctx, "http://media.example/" + std::to_string(i),
                              "track" + std::to_string(i) + ".mp3", "/music/", "site-a");
  }
  return Ms(Clock::now() - start);
}

double CreateWithoutStore(const std::filesystem::path& folder, int tasks) {
  World w;
  store::DownloadStore closed;
  tasks::TaskContext ctx{w.engine,    w.handles, w.param, w.info,   closed,     w.downloads,
                         w.completed, w.status,  w.timer, w.events, w.settings, folder.string()};
  return CreateAll(ctx, tasks);
}

Result Run(const std::filesystem::path& folder, int tasks, int ticks) {
  const std::string path = (folder / ("bench-" + std::to_string(tasks) + ".mdb")).string();
  std::string error;
  if (!store::CreateEmptyStore(path, store::kStorePassword, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    std::exit(1);
  }
  store::DownloadStore store;
  store.OpenStore(path, store::kStorePassword);
  World w;
  tasks::TaskContext ctx{w.engine,    w.handles, w.param, w.info,   store,      w.downloads,
                         w.completed, w.status,  w.timer, w.events, w.settings, folder.string()};
  const double createMs = CreateAll(ctx, tasks);

  tasks::ProgressMonitor monitor(ctx);
  monitor.Tick();  // warm the store's page cache
  std::vector<double> times;
  for (int i = 0; i < ticks; ++i) {
    const auto t0 = Clock::now();
    monitor.Tick();
    times.push_back(Ms(Clock::now() - t0));
  }
  std::sort(times.begin(), times.end());
  std::filesystem::remove(path);
  return Result{createMs, CreateWithoutStore(folder, tasks), times[times.size() / 2],
                times.front()};
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path base = argc > 1 ? argv[1] : "/tmp";
  const std::filesystem::path folder = base / ("velmira-tasks-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::printf("%8s %14s %14s %16s %14s %14s %14s\n", "tasks", "create total", "create/task",
              "create/task -st", "tick median", "tick min", "tick/task");
  std::vector<int> sizes{1000, 2000, 5000, 10000};
  int ticks = 15;
  if (argc > 3) {
    sizes = {std::atoi(argv[2])};
    ticks = std::max(1, std::atoi(argv[3]));
  }
  for (const int n : sizes) {
    const Result r = Run(folder, n, ticks);
    std::printf("%8d %11.1f ms %11.1f us %13.2f us %11.2f ms %11.2f ms %11.2f us\n", n,
                r.createTotalMs, 1000.0 * r.createTotalMs / n, 1000.0 * r.createWithoutStoreMs / n,
                r.tickMedianMs, r.tickMinMs, 1000.0 * r.tickMedianMs / n);
    std::fflush(stdout);
  }
  std::filesystem::remove_all(folder);
  return 0;
}
