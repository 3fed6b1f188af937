#pragma once
// Stand-ins for the engine and the windows, and a world of task objects on a
// real store in a temporary folder. The fake engine answers queries with
// scripted values written through the real TaskInfoRecord's accessors, and
// the engine and the download list note what they were told in one log, so
// tests can check the order of images and engine calls.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/EngineApi.h"
#include "engine/TaskInfoRecord.h"
#include "engine/TaskParamRecord.h"
#include "store/DownloadStore.h"
#include "support/TestServer.h"
#include "tasks/Tasks.h"

namespace taskstest {

struct ScriptedTask {
  std::int32_t stat = 2;
  std::int32_t failCode = 0;
  std::string fileName;  // what the engine reports; the created name at first
  std::int32_t speed = 0;
  float percent = 0;
  std::int64_t downloaded = 0;
  std::int64_t size = 0;
  bool answers = true;  // false: the query fails
};

struct CreatedTask {
  std::string url, fileName, saveDirectory;
  bool disableAutoRename, isResume, isOnlyOriginal;
};

class FakeEngine : public engine::EngineApi {
 public:
  FakeEngine(engine::TaskParamRecord& param, engine::TaskInfoRecord& info,
             std::vector<std::string>& log)
      : param_(param), info_(info), log_(log) {}

  void Init() override { log_.push_back("init"); }
  void UnInit() override { log_.push_back("uninit"); }
  void SetSpeedLimit(std::int32_t kbps) override {
    log_.push_back("limit " + std::to_string(kbps));
  }
  std::uint32_t CreateTask(const void* taskParam) override;
  void StartTask(std::uint32_t h) override { log_.push_back("start " + std::to_string(h)); }
  void StopTask(std::uint32_t h) override { log_.push_back("stop " + std::to_string(h)); }
  void DeleteTask(std::uint32_t h) override { log_.push_back("delete " + std::to_string(h)); }
  std::int32_t QueryTaskInfoEx(std::uint32_t h, void* taskInfo) override;
  std::int32_t DelTempFile(const void* taskParam) override;

  std::map<std::uint32_t, ScriptedTask> tasks;
  std::vector<CreatedTask> created;
  std::vector<std::uint32_t> queried;
  std::string delTempRequest;  // the 26564 bytes of the last request

 private:
  engine::TaskParamRecord& param_;
  engine::TaskInfoRecord& info_;
  std::vector<std::string>& log_;
  std::uint32_t next_ = 1;
};

class FakeList : public tasks::ListView {
 public:
  struct Row {
    std::vector<std::string> columns = std::vector<std::string>(6);
    int image = -1;
    std::string failure;
  };
  explicit FakeList(std::vector<std::string>* log = nullptr) : log_(log) {}

  int RowCount() const override { return static_cast<int>(rows.size()); }
  int AppendRow(const std::string& firstColumn) override;
  std::string Text(int row, int column) const override;
  void SetText(int row, int column, const std::string& text) override;
  void SetStateImage(int row, int image) override;
  void RemoveRow(int row) override;
  void RemoveAllRows() override { rows.clear(); }
  int SelectedRow() const override { return selected; }
  void SetFailure(int row, const std::string& message) override;

  std::vector<Row> rows;
  int selected = -1;
  int failureCalls = 0;

 private:
  Row& At(int row);
  std::vector<std::string>* log_;
};

class FakeStatusBar : public tasks::StatusBar {
 public:
  void SetPartText(int part, const std::string& text) override { parts[part] = text; }
  std::map<int, std::string> parts;
};

class FakeTimer : public tasks::Timer {
 public:
  int Period() const override { return period; }
  void SetPeriod(int ms) override { period = ms; }
  int period = 0;
};

class FakeEvents : public tasks::EventPump {
 public:
  void ProcessPendingEvents() override {
    ++calls;
    if (hook) hook();
  }
  std::function<void()> hook;
  int calls = 0;
};

class FakeSettings : public tasks::SettingsView {
 public:
  std::string SpeedText() const override { return speed; }
  void SetSpeedText(const std::string& t) override { speed = t; }
  std::string SaveDirectory() const override { return directory; }
  void SetSaveDirectory(const std::string& d) override { directory = d; }
  bool AutoStart() const override { return autoStart; }
  void SetAutoStart(bool on) override { autoStart = on; }
  std::string speed = "9999";
  std::string directory;
  bool autoStart = true;
};

inline constexpr tasks::DateTime kNow{2026, 1, 2, 3, 4, 5};

// A store file in a temporary folder that is also the program folder.
struct TaskWorld {
  explicit TaskWorld(bool openStore = true);

  // Creates a task as the resolver would and scripts the engine's answers.
  std::uint32_t Add(const std::string& name, ScriptedTask script = {},
                    const std::string& source = "tag");
  ScriptedTask& Script(std::uint32_t handle) { return engine.tasks.at(handle); }

  // "下载文件名" and "编号" of every record of "下载记录".
  std::vector<std::string> RecordNames();
  std::vector<std::int64_t> RecordNumbers();
  std::string ReadCompleted(std::int64_t position, const std::string& utf8Field);
  // The handle list, the rows' first columns and the records agree.
  void ExpectAligned();

  testsupport::TempDir dir;
  std::string saveDirectory;  // GBK, ends with "/"
  std::vector<std::string> log;
  engine::TaskParamRecord param;
  engine::TaskInfoRecord info;
  FakeEngine engine{param, info, log};
  tasks::TaskHandleList handles;
  store::DownloadStore store;
  FakeList downloads{&log};
  FakeList completed;
  FakeStatusBar statusBar;
  FakeTimer timer;
  FakeEvents events;
  FakeSettings settings;
  tasks::TaskContext ctx{
      engine,    handles, param,  info,     store,      downloads,          completed,
      statusBar, timer,   events, settings, dir.Path(), [] { return kNow; }};
  tasks::ProgressMonitor monitor{ctx};
};

}  // namespace taskstest
