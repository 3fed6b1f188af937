// One monitor tick of the whole program with many tasks: the UI-thread time
// of the tick (queries, row updates, store reads, the status bar, events let
// run after each task), then the list's change announcement and the repaint
// of the rows and the status bar, as the user sees a second go by. Also the
// peak memory.
//
//   velmira_ui_tick_bench [rows=10000] [ticks=20]
//
// The engine is a stand-in that answers every query at once with changing
// numbers, so every row's texts change on every tick (the worst case).

#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/EngineApi.h"
#include "engine/TaskInfoRecord.h"
#include "resolve/SiteTable.h"
#include "store/DownloadStore.h"
#include "tasks/ProgressMonitor.h"
#include "tasks/StoreFields.h"
#include "ui/Dialogs.h"
#include "ui/MonitorTimer.h"
#include "ui/Program.h"
#include "ui/ReportList.h"
#include "ui/StatusLine.h"

namespace {

std::string Name(std::uint32_t handle) { return "track " + std::to_string(handle) + ".mp3"; }

class BusyEngine : public engine::EngineApi {
 public:
  engine::TaskInfoRecord* info = nullptr;
  int tick = 0;
  void Init() override {}
  void UnInit() override {}
  void SetSpeedLimit(std::int32_t) override {}
  std::uint32_t CreateTask(const void*) override { return next_++; }
  void StartTask(std::uint32_t) override {}
  void StopTask(std::uint32_t) override {}
  void DeleteTask(std::uint32_t) override {}
  std::int32_t QueryTaskInfoEx(std::uint32_t handle, void*) override {
    const std::int64_t size = 8 << 20;
    const std::int64_t done = std::min<std::int64_t>(size - 1, (tick + 1) * 40960 + handle);
    info->stat(3);
    info->szFilename(Name(handle));
    info->nSpeed(40960 + tick * 7 + static_cast<std::int32_t>(handle % 97));
    info->fPercent(static_cast<float>(done) / static_cast<float>(size));
    info->nTotalDownload(done);
    info->nTotalSize(size);
    return 1;
  }
  std::int32_t DelTempFile(const void*) override { return 0; }

 private:
  std::uint32_t next_ = 1;
};

class SilentDialogs : public ui::Dialogs {
  void Inform(const QString&, const QString&) override {}
  bool Confirm(const QString&, const QString&) override { return false; }
  QString PickFolder(const QString&, const QString&) override { return {}; }
  void OpenFolder(const QString&) override {}
};

double Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int ticks = argc > 2 ? std::atoi(argv[2]) : 20;
  QApplication app(argc, argv);

  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("velmira-ui-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder / "data");
  const std::string storePath = store::StorePath(folder.string());
  std::string error;
  if (!store::CreateEmptyStore(storePath, store::kStorePassword, &error)) {
    std::fprintf(stderr, "store: %s\n", error.c_str());
    return 1;
  }
  {
    store::DownloadStore s;
    s.OpenStore(storePath, store::kStorePassword);
    const auto& f = tasks::Fields();
    for (int i = 1; i <= rows; ++i) {
      s.AddRecord(store::Table::Downloads);
      s.WriteText(store::Table::Downloads, f.mediaUrl, "http://127.0.0.1:9/" + std::to_string(i));
      s.WriteText(store::Table::Downloads, f.downloadName, Name(static_cast<std::uint32_t>(i)));
      s.WriteText(store::Table::Downloads, f.downloadPath, "/tmp/");
      s.WriteText(store::Table::Downloads, f.source, "d-dj.example");
    }
    s.RenumberDownloads();
  }

  BusyEngine engine;
  SilentDialogs dialogs;
  std::vector<double> tickMs, paintMs;
  {
    ui::Program program(engine, dialogs, folder.string(), resolve::BuiltInSites());
    engine.info = &program.Context().info;
    const auto restoreStart = std::chrono::steady_clock::now();
    program.StartUp();
    const double restoreMs = Ms(std::chrono::steady_clock::now() - restoreStart);
    program.Main().Timer().stop();  // ticks are driven here
    program.Main().show();
    QCoreApplication::processEvents();
    tasks::ProgressMonitor monitor(program.Context());
    ui::ReportList& list = program.Main().Downloads();
    for (int t = 0; t < ticks; ++t) {
      engine.tick = t;
      const auto t0 = std::chrono::steady_clock::now();
      monitor.Tick();
      const auto t1 = std::chrono::steady_clock::now();
      list.Model().FlushChanges();
      // What a second changes on screen: the rows and the status bar.
      list.viewport()->repaint();
      program.Main().Status().repaint();
      const auto t2 = std::chrono::steady_clock::now();
      tickMs.push_back(Ms(t1 - t0));
      paintMs.push_back(Ms(t2 - t0));
    }
    std::printf("rows %d (restored in %.0f ms), ticks %d\n", list.RowCount(), restoreMs, ticks);
    program.ShutDown();
  }
  std::filesystem::remove_all(folder);

  auto report = [](const char* what, std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::printf("%-34s median %7.2f ms  min %7.2f  max %7.2f\n", what, v[v.size() / 2], v.front(),
                v.back());
  };
  report("tick (UI thread)", tickMs);
  report("tick + list update + repaint", paintMs);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak memory %.1f MiB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
  return 0;
}
