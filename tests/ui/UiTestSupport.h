#pragma once
// A recording engine, scripted dialogs and the whole program on a temporary
// program folder, for the window tests. UI thread only, like the program.

#include <QCoreApplication>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/EngineApi.h"
#include "engine/TaskInfoRecord.h"
#include "resolve/SiteTable.h"
#include "store/DownloadStore.h"
#include "support/TestServer.h"
#include "ui/Dialogs.h"
#include "ui/Program.h"

namespace uitest {

// Records every call in order ("Init", "SetSpeedLimit 400", "StartTask 1", ...).
// A query succeeds for handles given a state in `states`: it writes that stat
// into the program's info record, as the engine fills it.
class FakeEngine : public engine::EngineApi {
 public:
  std::vector<std::string> calls;
  std::vector<std::int32_t> speedLimits;
  std::map<std::uint32_t, std::int32_t> states;
  engine::TaskInfoRecord* info = nullptr;

  void Init() override { calls.push_back("Init"); }
  void UnInit() override { calls.push_back("UnInit"); }
  void SetSpeedLimit(std::int32_t kbps) override {
    speedLimits.push_back(kbps);
    calls.push_back("SetSpeedLimit " + std::to_string(kbps));
  }
  std::uint32_t CreateTask(const void*) override {
    calls.push_back("CreateTask");
    return nextHandle_++;
  }
  void StartTask(std::uint32_t h) override { calls.push_back("StartTask " + std::to_string(h)); }
  void StopTask(std::uint32_t h) override { calls.push_back("StopTask " + std::to_string(h)); }
  void DeleteTask(std::uint32_t h) override { calls.push_back("DeleteTask " + std::to_string(h)); }
  std::int32_t QueryTaskInfoEx(std::uint32_t h, void* block) override {
    auto it = states.find(h);
    if (info == nullptr || it == states.end() || block != info->Address()) return 0;
    info->stat(it->second);
    return 1;
  }
  std::int32_t DelTempFile(const void*) override {
    calls.push_back("DelTempFile");
    return 1;
  }
  // The calls whose text starts with prefix, in order.
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& c : calls) {
      if (c.rfind(prefix, 0) == 0) out.push_back(c);
    }
    return out;
  }

 private:
  std::uint32_t nextHandle_ = 1;
};

class FakeDialogs : public ui::Dialogs {
 public:
  struct Message {
    QString caption, text;
  };
  std::vector<Message> informed;
  std::vector<Message> asked;
  bool answer = false;
  QString picked;  // what the folder picker returns (empty: cancelled)
  QString pickerTitle;
  std::vector<QString> opened;

  void Inform(const QString& caption, const QString& message) override {
    informed.push_back({caption, message});
  }
  bool Confirm(const QString& caption, const QString& question) override {
    asked.push_back({caption, question});
    return answer;
  }
  QString PickFolder(const QString& title, const QString&) override {
    pickerTitle = title;
    return picked;
  }
  void OpenFolder(const QString& path) override { opened.push_back(path); }
};

// Polls pred while letting the UI thread's events run.
inline bool Pump(const std::function<bool()>& pred) {
  return testsupport::WaitFor([&] {
    QCoreApplication::processEvents();
    return pred();
  });
}

inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }

struct Harness {
  testsupport::TempDir folder;
  FakeEngine engine;
  FakeDialogs dialogs;
  std::unique_ptr<ui::Program> program;

  std::string StoreFile() const { return store::StorePath(folder.Path()); }
  // An empty store where the program looks for it.
  void MakeStore() {
    std::filesystem::create_directories(folder.Path() + "/data");
    std::string error;
    ASSERT_TRUE(store::CreateEmptyStore(StoreFile(), store::kStorePassword, &error)) << error;
  }
  void Start(resolve::SiteTable sites = resolve::BuiltInSites()) {
    program = std::make_unique<ui::Program>(engine, dialogs, folder.Path(), std::move(sites));
    engine.info = &program->Context().info;
    program->StartUp();
  }
  template <class T>
  T* Main(const char* name) {
    return program->Main().findChild<T*>(U(name));
  }
  template <class T>
  T* Batch(const char* name) {
    return program->Batch().findChild<T*>(U(name));
  }
};

}  // namespace uitest
