#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "engine/EngineLibrary.h"
#include "engine/ProgramFolder.h"
#include "engine/QueryTask.h"
#include "engine/TaskInfoRecord.h"
#include "support/TestServer.h"

namespace {

std::string Pointer(const void* p) { return std::to_string(reinterpret_cast<std::uintptr_t>(p)); }

// The fake library's own call log, reached through the handle the binding holds.
class FakeLog {
 public:
  FakeLog() {
    handle_ = dlopen(FAKE_ENGINE_DIR "/libp2p.so", RTLD_NOW | RTLD_NOLOAD);
    if (handle_ != nullptr) {
      log_ = reinterpret_cast<const char* (*)()>(dlsym(handle_, "FakeEngine_Log"));
      clear_ = reinterpret_cast<void (*)()>(dlsym(handle_, "FakeEngine_ClearLog"));
    }
  }
  ~FakeLog() {
    if (handle_ != nullptr) {
      dlclose(handle_);
    }
  }
  bool Loaded() const { return log_ != nullptr && clear_ != nullptr; }
  std::string Text() const { return log_(); }
  void Clear() const { clear_(); }

 private:
  void* handle_ = nullptr;
  const char* (*log_)() = nullptr;
  void (*clear_)() = nullptr;
};

TEST(EngineLibrary, LoadFailsWithAMessage) {
  testsupport::TempDir empty;
  struct Case {
    std::string folder;
    std::string mentions;
  };
  const Case cases[] = {
      {empty.Path(), empty.Path() + "/libp2p.so"},
      {INCOMPLETE_ENGINE_DIR, "XL_DelTempFile"},
      {"", "folder"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    std::string error;
    EXPECT_EQ(engine::EngineLibrary::Load(c.folder, &error), nullptr);
    EXPECT_NE(error.find(c.mentions), std::string::npos) << error;
  }
}

TEST(EngineLibrary, ForwardsAllNineExports) {
  std::string error;
  auto library = engine::EngineLibrary::Load(FAKE_ENGINE_DIR, &error);
  ASSERT_NE(library, nullptr) << error;
  FakeLog log;
  ASSERT_TRUE(log.Loaded());
  log.Clear();
  const char param[16] = {};
  char info[16] = {};
  library->SetSpeedLimit(400);
  EXPECT_EQ(library->CreateTask(param), 7u);
  library->StartTask(7);
  library->Init();
  library->StopTask(7);
  EXPECT_EQ(library->QueryTaskInfoEx(9, info), 0);
  library->DeleteTask(7);
  EXPECT_EQ(library->DelTempFile(param), 1);
  library->UnInit();
  EXPECT_EQ(log.Text(), "SetSpeedLimit 400;CreateTask " + Pointer(param) +
                            ";StartTask 7;Init;StopTask 7;QueryTaskInfoEx 9 " + Pointer(info) +
                            ";DeleteTask 7;DelTempFile " + Pointer(param) + ";UnInit;");
}

TEST(EngineLibrary, QueryTaskFillsTheCurrentRecord) {
  std::string error;
  auto library = engine::EngineLibrary::Load(FAKE_ENGINE_DIR, &error);
  ASSERT_NE(library, nullptr) << error;
  FakeLog log;
  ASSERT_TRUE(log.Loaded());
  log.Clear();

  engine::TaskInfoRecord info;
  EXPECT_FALSE(engine::QueryTask(*library, info, 7)) << "a record without a block";
  EXPECT_EQ(log.Text(), "");

  ASSERT_NE(info.Setup(), nullptr);
  ASSERT_NE(info.Setup(), nullptr);
  ASSERT_TRUE(engine::QueryTask(*library, info, 7));
  EXPECT_EQ(log.Text(), "QueryTaskInfoEx 7 " + Pointer(info.Address()) + ";");
  EXPECT_EQ(info.stat(), 4);
  EXPECT_EQ(info.nTotalSize(), 12345);
  EXPECT_FALSE(engine::QueryTask(*library, info, 8));
}

TEST(ProgramFolder, IsTheFolderOfTheRunningExecutable) {
  const std::string folder = engine::ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '/');
  EXPECT_EQ(std::filesystem::canonical(folder), std::filesystem::canonical(TEST_PROGRAM_DIR));
}

}  // namespace
