#include "engine/EngineLibrary.h"

#include <dlfcn.h>

#include <utility>

namespace engine {
namespace {

void SetError(std::string* error, std::string message) {
  if (error != nullptr) {
    *error = std::move(message);
  }
}

std::string LastDlError() {
  const char* message = dlerror();
  return message == nullptr ? std::string("unknown error") : std::string(message);
}

// dlsym gives an object pointer; the exports are functions of the given type.
template <typename Fn>
bool Resolve(void* library, const char* name, Fn* out, std::string* error) {
  dlerror();
  void* symbol = dlsym(library, name);
  if (symbol == nullptr) {
    SetError(error, std::string("engine library lacks the export ") + name + ": " + LastDlError());
    return false;
  }
  *out = reinterpret_cast<Fn>(symbol);
  return true;
}

}  // namespace

std::unique_ptr<EngineLibrary> EngineLibrary::Load(const std::string& folder, std::string* error) {
  if (folder.empty()) {
    SetError(error, "no folder to load the engine library from");
    return nullptr;
  }
  // A path with a slash: dlopen loads exactly this file and searches nowhere else.
  const std::string path = folder + "/" + kFileName;
  // RTLD_NODELETE: the engine's thread lives until the process ends, so its
  // code must stay mapped after dlclose.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (handle == nullptr) {
    SetError(error, "cannot load " + path + ": " + LastDlError());
    return nullptr;
  }
  std::unique_ptr<EngineLibrary> library(new EngineLibrary(handle));
  const bool resolved = Resolve(handle, "XL_Init", &library->init_, error) &&
                        Resolve(handle, "XL_UnInit", &library->unInit_, error) &&
                        Resolve(handle, "XL_SetSpeedLimit", &library->setSpeedLimit_, error) &&
                        Resolve(handle, "XL_CreateTask", &library->createTask_, error) &&
                        Resolve(handle, "XL_StartTask", &library->startTask_, error) &&
                        Resolve(handle, "XL_StopTask", &library->stopTask_, error) &&
                        Resolve(handle, "XL_DeleteTask", &library->deleteTask_, error) &&
                        Resolve(handle, "XL_QueryTaskInfoEx", &library->queryTaskInfoEx_, error) &&
                        Resolve(handle, "XL_DelTempFile", &library->delTempFile_, error);
  if (!resolved) {
    return nullptr;  // the destructor unloads the library
  }
  return library;
}

EngineLibrary::~EngineLibrary() { dlclose(handle_); }

void EngineLibrary::Init() { init_(); }
void EngineLibrary::UnInit() { unInit_(); }
void EngineLibrary::SetSpeedLimit(std::int32_t kbps) { setSpeedLimit_(kbps); }
std::uint32_t EngineLibrary::CreateTask(const void* taskParam) { return createTask_(taskParam); }
void EngineLibrary::StartTask(std::uint32_t handle) { startTask_(handle); }
void EngineLibrary::StopTask(std::uint32_t handle) { stopTask_(handle); }
void EngineLibrary::DeleteTask(std::uint32_t handle) { deleteTask_(handle); }
std::int32_t EngineLibrary::QueryTaskInfoEx(std::uint32_t handle, void* taskInfo) {
  return queryTaskInfoEx_(handle, taskInfo);
}
std::int32_t EngineLibrary::DelTempFile(const void* taskParam) { return delTempFile_(taskParam); }

}  // namespace engine
