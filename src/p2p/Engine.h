#pragma once
// The download engine behind the C interface. One engine thread, started by Init and joined
// by UnInit, runs a curl multi loop with a bounded wait. Other threads talk to it through a
// locked command queue and read each task's status snapshot under the same lock. While no
// engine thread runs, commands are applied at once by the calling thread.
//
// Every public member may be called from any thread.

#include <curl/curl.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "Task.h"
#include "TokenBucket.h"

namespace p2p {

class Connection;

struct TaskParams {
  std::string url;       // UTF-8
  std::string fileName;  // UTF-8, as given
  std::string saveDir;   // UTF-8, with or without a trailing "/"
  bool resume = true;
};

class Engine {
 public:
  // The process-wide engine; it lives until the process ends.
  static Engine& Instance();

  void Init();
  void UnInit();
  void SetSpeedLimit(std::int32_t kbps);

  std::uint32_t CreateTask(TaskParams params);
  void StartTask(std::uint32_t id);
  void StopTask(std::uint32_t id);
  void DeleteTask(std::uint32_t id);
  // False for an unknown handle.
  bool Query(std::uint32_t id, Snapshot& out);
  // Removes "<name>.part" and its control file in dir unless a live task uses them; true when
  // neither exists afterwards.
  bool DeleteTempFiles(const std::string& dir, const std::string& fileName);

  // Called by curl on the engine thread.
  std::size_t OnBody(Connection& conn, const char* data, std::size_t size);

 private:
  enum class CommandKind { kStart, kStop, kDelete, kDeleteTemp };
  struct Command {
    CommandKind kind;
    std::uint32_t id = 0;
    Task* task = nullptr;
    std::string dir, name;  // kDeleteTemp
    bool* result = nullptr;
    std::uint64_t seq = 0;
  };

  Engine();

  Task* FindLocked(std::uint32_t id);
  // Queues the command, or applies it at once when no engine thread runs, and waits until
  // it has been carried out. Takes the mutex.
  void Submit(Command cmd);
  // Called with the mutex held, by the engine thread or by Submit.
  void Apply(Command& cmd);
  bool RemoveTempFilesLocked(const std::string& dir, const std::string& fileName);

  void Loop();
  void ActivatePending();
  bool Activate(Task& t);
  void Deactivate(Task& t);
  void ChooseName(Task& t);
  void FillConnections(Task& t, Clock::time_point now);
  bool StartConnection(Task& t, int segment, bool probe);
  bool StealWork(Task& t);
  // Removes the connection, writes out its buffer (false on a write error), destroys it.
  bool DetachConnection(Connection& conn);
  void OnDone(Connection& conn, CURLcode result);
  bool CheckResponse(Connection& conn);
  void BuildSegments(Task& t, std::int64_t total, bool ranges, std::int64_t firstEnd);
  void ResetFresh(Task& t);
  void TransientFailure(Task& t, std::int32_t code, Clock::time_point now);
  void Fail(Task& t, std::int32_t code);
  void Finish(Task& t);
  void SaveControl(Task& t);
  // Writes out every buffer of the task, then records the progress; false when it failed.
  bool FlushAndSave(Task& t);
  void Publish(Task& t, Clock::time_point now, bool force);
  void Unpause();

  std::mutex lifecycleMutex_;  // serialises Init and UnInit

  std::mutex mutex_;
  std::condition_variable done_;
  std::map<std::uint32_t, std::unique_ptr<Task>> tasks_;
  std::uint32_t nextId_ = 1;
  std::deque<Command> commands_;
  std::uint64_t submitted_ = 0;
  std::uint64_t processed_ = 0;
  bool running_ = false;
  bool quit_ = false;
  CURLM* multi_ = nullptr;
  std::thread thread_;

  std::atomic<std::int64_t> limitBytes_{0};

  // Engine thread (or the mutex holder while no engine thread runs).
  std::deque<Task*> pending_;
  std::vector<Task*> active_;
  std::set<std::string> reserved_;  // final paths claimed by live tasks
  int connections_ = 0;

  // Engine thread only.
  TokenBucket bucket_;
  std::int64_t appliedLimit_ = 0;
  std::vector<Connection*> paused_;
  std::vector<Connection*> retire_;
};

}  // namespace p2p
