#pragma once
// The program: its program-wide objects (handle list, the two engine records,
// the store), the two windows and what their events do — StartUp, ShutDown,
// the menus, the clearing, and the batch window's runs on the resolve worker.
//
// Construct, StartUp and destroy on the UI thread; every method is for the UI
// thread. A run's worker reaches the windows only through UiRunHost.

#include <QObject>
#include <array>
#include <atomic>
#include <list>
#include <memory>
#include <string>
#include <thread>

#include "engine/EngineApi.h"
#include "engine/TaskInfoRecord.h"
#include "engine/TaskParamRecord.h"
#include "resolve/SiteTable.h"
#include "store/DownloadStore.h"
#include "tasks/ProgressMonitor.h"
#include "tasks/TaskContext.h"
#include "tasks/TaskHandleList.h"
#include "ui/BatchWindow.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"
#include "ui/QtEventPump.h"

namespace ui {

class Program : public QObject {
  Q_OBJECT

 public:
  // programFolder: UTF-8, no trailing "/"; the engine and dialogs outlive the program.
  Program(engine::EngineApi& engine, Dialogs& dialogs, std::string programFolder,
          resolve::SiteTable sites);
  // Stops a run still going (as ShutDown does), then frees everything.
  ~Program() override;

  // Loads the batch window hidden, writes the extractor, restores from the
  // store when its file exists, and initialises the engine last.
  void StartUp();
  // Stops a run (aborting its request), shuts the engine down, removes the
  // extractor and ends the event loop with code 0. Runs once.
  void ShutDown();

  // The handlers bound to the windows' events.
  void ShowBatchWindow();
  void StartRun();
  void ShowTaskMenu();
  void ShowLogMenu();
  void ClearCompleted();

  MainWindow& Main() { return *main_; }
  BatchWindow& Batch() { return *batch_; }
  tasks::TaskContext& Context() { return *context_; }
  store::DownloadStore& Store() { return store_; }
  // True while a resolve worker has not finished.
  bool RunActive() const;
  std::string ExtractorPath() const;

 private:
  struct Worker {
    std::thread thread;
    std::atomic<bool> done{false};
  };

  void Bind();
  void JoinFinishedWorkers();
  void StopWorkers();

  engine::EngineApi& engine_;
  Dialogs& dialogs_;
  const std::string programFolder_;
  const resolve::SiteTable sites_;

  tasks::TaskHandleList handles_;
  engine::TaskParamRecord param_;
  engine::TaskInfoRecord info_;
  store::DownloadStore store_;
  QtEventPump events_;

  std::unique_ptr<MainWindow> main_;
  std::unique_ptr<BatchWindow> batch_;
  std::unique_ptr<tasks::TaskContext> context_;
  std::unique_ptr<tasks::ProgressMonitor> monitor_;

  std::shared_ptr<std::atomic<bool>> closing_ = std::make_shared<std::atomic<bool>>(false);
  std::list<std::unique_ptr<Worker>> workers_;
  bool shutDown_ = false;
};

}  // namespace ui
