#pragma once
// The program-wide objects that task code works on. The program makes one
// context at start; every reference outlives it. UI thread only: everything
// reached through it (windows, handle list, the two records, the store) is
// touched on the UI thread alone, so a task creation asked for by the resolve
// worker must be carried out there.

#include <string>

#include "engine/EngineApi.h"
#include "engine/TaskInfoRecord.h"
#include "engine/TaskParamRecord.h"
#include "store/DownloadStore.h"
#include "tasks/DateTime.h"
#include "tasks/EventPump.h"
#include "tasks/ListView.h"
#include "tasks/SettingsView.h"
#include "tasks/StatusBar.h"
#include "tasks/TaskHandleList.h"
#include "tasks/Timer.h"

namespace tasks {

struct TaskContext {
  engine::EngineApi& engine;
  TaskHandleList& handles;
  engine::TaskParamRecord& param;
  engine::TaskInfoRecord& info;
  store::DownloadStore& store;
  ListView& downloads;   // "下载列表框"
  ListView& completed;   // "完成列表框"
  StatusBar& statusBar;  // "状态条1"
  Timer& timer;          // "时钟1"
  EventPump& events;
  SettingsView& settings;
  std::string programFolder;  // UTF-8 file-system path, no trailing "/"
  Clock clock = LocalNow;
};

}  // namespace tasks
