#include "Engine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>

#include "Connection.h"
#include "ControlFile.h"
#include "FileName.h"
#include "p2p/p2p.h"

namespace p2p {
namespace {

using namespace std::chrono_literals;

constexpr std::size_t kMaxActiveTasks = 8;
constexpr int kMaxConnectionsPerTask = 4;
constexpr int kMaxConnections = 32;
constexpr std::int64_t kMinSegment = 2 << 20;  // smallest piece of the first split
// The first request asks for this much: its answer tells the size and whether ranges work,
// and the connection stays reusable.
constexpr std::int64_t kProbeBytes = 8 << 20;
constexpr std::int64_t kMinSteal = 512 << 10;  // both halves of a stolen range at least this
// A connection asks for its segment in requests of at most this size, one after another on
// the same kept-alive connection. Work stealing takes only bytes nobody has asked for yet, so
// no request is ever cut short and nothing is fetched twice.
constexpr std::int64_t kRequestBytes = 16 << 20;
constexpr int kMaxRetries = 6;
constexpr auto kFirstBackoff = 250ms;
constexpr auto kMaxBackoff = 8s;
constexpr auto kPublishEvery = 100ms;
constexpr auto kSaveEvery = 200ms;
// ...or after this much new data, so a crash at full speed loses little.
constexpr std::int64_t kSaveEveryBytes = 8 << 20;
constexpr auto kSampleEvery = 250ms;
constexpr auto kSpeedWindow = 2s;
constexpr int kMaxWaitMs = 100;
constexpr long kBufferSize = 512 << 10;

std::size_t WriteCallback(char* data, std::size_t, std::size_t size, void* owner) {
  return Engine::Instance().OnBody(*static_cast<Connection*>(owner), data, size);
}

std::size_t HeaderCallback(char* data, std::size_t, std::size_t size, void* owner) {
  static_cast<Connection*>(owner)->OnHeaderLine(data, size);
  return size;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

bool MakeDirs(const std::string& dir) {
  for (std::size_t pos = 1; pos <= dir.size(); ++pos) {
    if (pos != dir.size() && dir[pos] != '/') continue;
    const std::string prefix = dir.substr(0, pos);
    if (::mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string CleanDir(const std::string& dir) {
  std::string d = dir;
  while (d.size() > 1 && d.back() == '/') d.pop_back();
  return d;
}

std::string Join(const std::string& dir, const std::string& name) {
  return dir == "/" ? "/" + name : dir + "/" + name;
}

bool ValidUrl(const std::string& url) {
  CURLU* u = curl_url();
  if (u == nullptr) return false;
  char* scheme = nullptr;
  bool ok = curl_url_set(u, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
            curl_url_get(u, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK;
  if (ok) {
    const std::string s = scheme;
    ok = s == "http" || s == "https";
  }
  curl_free(scheme);
  curl_url_cleanup(u);
  return ok;
}

// "bytes a-b/total"; total -1 for "*".
bool ParseContentRange(const std::string& v, std::int64_t& first, std::int64_t& last,
                       std::int64_t& total) {
  if (std::sscanf(v.c_str(), "bytes %" SCNd64 "-%" SCNd64 "/%" SCNd64, &first, &last, &total) ==
      3) {
    return first >= 0 && last >= first && total > last;
  }
  char star = 0;
  if (std::sscanf(v.c_str(), "bytes %" SCNd64 "-%" SCNd64 "/%c", &first, &last, &star) == 3 &&
      star == '*') {
    total = -1;
    return first >= 0 && last >= first;
  }
  return false;
}

std::int32_t ClassifyPermanent(CURLcode rc, bool& transient) {
  transient = false;
  switch (rc) {
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
      return P2P_FAIL_BAD_ADDRESS;
    case CURLE_TOO_MANY_REDIRECTS:
      return P2P_FAIL_REDIRECTS;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
      return P2P_FAIL_TLS;
    case CURLE_WRITE_ERROR:
      return P2P_FAIL_WRITE;
    case CURLE_SSL_CONNECT_ERROR:
      transient = true;
      return P2P_FAIL_TLS;
    case CURLE_PARTIAL_FILE:
      transient = true;
      return P2P_FAIL_SHORT_BODY;
    case CURLE_RANGE_ERROR:
      transient = true;
      return P2P_FAIL_BAD_RESPONSE;
    default:
      transient = true;
      return P2P_FAIL_NETWORK;
  }
}

}  // namespace

Engine& Engine::Instance() {
  // Never destroyed: the engine thread may still run while the process exits.
  static Engine* engine = new Engine();
  return *engine;
}

Engine::Engine() { curl_global_init(CURL_GLOBAL_DEFAULT); }

// ---- Calls from any thread -------------------------------------------------------------

void Engine::Init() {
  std::lock_guard life(lifecycleMutex_);
  {
    std::lock_guard lock(mutex_);
    if (running_) return;
  }
  CURLM* multi = curl_multi_init();
  if (multi == nullptr) return;
  {
    std::lock_guard lock(mutex_);
    multi_ = multi;
    quit_ = false;
    running_ = true;
  }
  thread_ = std::thread(&Engine::Loop, this);
}

void Engine::UnInit() {
  std::lock_guard life(lifecycleMutex_);
  {
    std::lock_guard lock(mutex_);
    if (!running_) return;
    quit_ = true;
    curl_multi_wakeup(multi_);
  }
  thread_.join();
  CURLM* multi = nullptr;
  {
    std::lock_guard lock(mutex_);
    for (Command& cmd : commands_) Apply(cmd);
    commands_.clear();
    processed_ = submitted_;
    running_ = false;
    std::swap(multi, multi_);
  }
  done_.notify_all();
  curl_multi_cleanup(multi);
}

void Engine::SetSpeedLimit(std::int32_t kbps) {
  limitBytes_ = kbps > 0 ? static_cast<std::int64_t>(kbps) * 1024 : 0;
  std::lock_guard lock(mutex_);
  if (running_) curl_multi_wakeup(multi_);
}

std::uint32_t Engine::CreateTask(TaskParams params) {
  auto task = std::make_unique<Task>();
  task->url = std::move(params.url);
  task->givenName = std::move(params.fileName);
  task->saveDir = std::move(params.saveDir);
  task->resume = params.resume;
  task->snap.name = SafeFileName(task->givenName);
  // A task brought back for resuming shows what is already on disk before it
  // runs, so a restored, stopped download does not read as 0 bytes.
  if (task->resume) {
    const std::string dir = CleanDir(task->saveDir);
    const std::string control = Join(dir, task->snap.name) + ".part.ctl";
    if (auto st = LoadControlFile(control); !dir.empty() && st && CoversWholeFile(*st)) {
      task->snap.total = st->total;
      for (const SegmentRange& r : st->segments) task->snap.done += r.written;
    }
  }
  std::lock_guard lock(mutex_);
  if (nextId_ == 0) nextId_ = 1;
  task->id = nextId_++;
  const std::uint32_t id = task->id;
  tasks_[id] = std::move(task);
  return id;
}

Task* Engine::FindLocked(std::uint32_t id) {
  auto it = tasks_.find(id);
  return it == tasks_.end() ? nullptr : it->second.get();
}

void Engine::StartTask(std::uint32_t id) { Submit({CommandKind::kStart, id}); }
void Engine::StopTask(std::uint32_t id) { Submit({CommandKind::kStop, id}); }
void Engine::DeleteTask(std::uint32_t id) { Submit({CommandKind::kDelete, id}); }

bool Engine::DeleteTempFiles(const std::string& dir, const std::string& fileName) {
  bool result = false;
  Submit({CommandKind::kDeleteTemp, 0, nullptr, dir, fileName, &result});
  return result;
}

bool Engine::Query(std::uint32_t id, Snapshot& out) {
  std::lock_guard lock(mutex_);
  Task* t = FindLocked(id);
  if (t == nullptr) return false;
  out = t->snap;
  return true;
}

void Engine::Submit(Command cmd) {
  std::unique_lock lock(mutex_);
  if (cmd.kind != CommandKind::kDeleteTemp) {
    cmd.task = FindLocked(cmd.id);
    if (cmd.task == nullptr) return;
  }
  if (!running_) {
    Apply(cmd);
    return;
  }
  cmd.seq = ++submitted_;
  const std::uint64_t seq = cmd.seq;
  commands_.push_back(std::move(cmd));
  curl_multi_wakeup(multi_);
  done_.wait(lock, [&] { return processed_ >= seq; });
}

void Engine::Apply(Command& cmd) {
  if (cmd.kind == CommandKind::kDeleteTemp) {
    *cmd.result = RemoveTempFilesLocked(cmd.dir, cmd.name);
    return;
  }
  Task& t = *cmd.task;
  const auto leave = [&] {
    if (t.phase == Phase::kQueued) {
      pending_.erase(std::remove(pending_.begin(), pending_.end(), &t), pending_.end());
    } else if (t.phase == Phase::kActive) {
      Deactivate(t);
      active_.erase(std::remove(active_.begin(), active_.end(), &t), active_.end());
    }
  };
  switch (cmd.kind) {
    case CommandKind::kStart:
      if (t.phase != Phase::kIdle) return;
      t.phase = Phase::kQueued;
      t.failCode = 0;
      pending_.push_back(&t);
      t.snap.stat = P2P_STATE_DOWNLOADING;
      t.snap.failCode = 0;
      return;
    case CommandKind::kStop:
      if (t.phase != Phase::kQueued && t.phase != Phase::kActive) return;
      leave();
      t.phase = Phase::kIdle;
      t.snap.stat = P2P_STATE_STOPPED;
      t.snap.speed = 0;
      // A task stopped before it ever ran keeps the progress read from its control file.
      if (t.loadedControl) t.snap.done = t.Done();
      return;
    case CommandKind::kDelete:
      if (t.phase == Phase::kDeleted) return;
      leave();
      if (t.phase != Phase::kFinished && !t.finalPath.empty()) reserved_.erase(t.finalPath);
      t.phase = Phase::kDeleted;
      t.segs.clear();
      t.segs.shrink_to_fit();
      t.snap.stat = P2P_STATE_DELETED;
      t.snap.speed = 0;
      return;
    case CommandKind::kDeleteTemp:
      return;
  }
}

bool Engine::RemoveTempFilesLocked(const std::string& dir, const std::string& fileName) {
  if (dir.empty()) return false;
  const std::string base = Join(CleanDir(dir), SafeFileName(fileName));
  if (reserved_.count(base) != 0) return false;  // a live task owns these files
  const std::string part = base + ".part";
  const std::string control = part + ".ctl";
  ::unlink(part.c_str());
  ::unlink(control.c_str());
  ::unlink((control + ".tmp").c_str());
  return !Exists(part) && !Exists(control);
}

// ---- The engine thread -----------------------------------------------------------------

void Engine::Loop() {
  for (;;) {
    bool quit = false;
    {
      std::lock_guard lock(mutex_);
      for (Command& cmd : commands_) Apply(cmd);
      commands_.clear();
      processed_ = submitted_;
      quit = quit_;
    }
    done_.notify_all();
    if (quit) break;

    auto now = Clock::now();
    const std::int64_t limit = limitBytes_.load();
    if (limit != appliedLimit_) {
      bucket_.SetRate(limit, now);
      appliedLimit_ = limit;
    }
    ActivatePending();
    for (Task* t : std::vector<Task*>(active_)) FillConnections(*t, now);

    bucket_.Refill(now);
    Unpause();
    int waitMs = kMaxWaitMs;
    if (!paused_.empty()) waitMs = std::min(waitMs, bucket_.MillisecondsUntilTokens());
    for (Task* t : active_) {
      if (t->retryAt > now) {
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(t->retryAt - now).count();
        waitMs = std::min<int>(waitMs, static_cast<int>(ms));
      }
    }
    curl_multi_poll(multi_, nullptr, 0, std::max(waitMs, 1), nullptr);
    int running = 0;
    curl_multi_perform(multi_, &running);

    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi_, &left)) {
      if (msg->msg != CURLMSG_DONE) continue;
      Connection* conn = nullptr;
      curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, &conn);
      if (conn != nullptr) OnDone(*conn, msg->data.result);
    }
    // Connections whose range goes past their (shortened) segment: the rest is not needed.
    while (!retire_.empty()) OnDone(*retire_.back(), CURLE_OK);

    now = Clock::now();
    for (Task* t : std::vector<Task*>(active_)) {
      if (t->phase != Phase::kActive) continue;
      if (t->AllWritten()) {
        Finish(*t);
        continue;
      }
      const bool due =
          now - t->lastSave >= kSaveEvery || t->received - t->savedAt >= kSaveEveryBytes;
      if (t->dirty && due && !FlushAndSave(*t)) continue;
      Publish(*t, now, false);
    }
  }

  // Shutting down: save every active task's progress; they continue after the next Init.
  for (auto it = active_.rbegin(); it != active_.rend(); ++it) {
    Deactivate(**it);
    (*it)->phase = Phase::kQueued;
    pending_.push_front(*it);
  }
  std::lock_guard lock(mutex_);
  for (Task* t : active_) {
    t->snap.speed = 0;
    t->snap.done = t->Done();
  }
  active_.clear();
}

void Engine::ActivatePending() {
  while (active_.size() < kMaxActiveTasks && !pending_.empty()) {
    Task* t = pending_.front();
    pending_.pop_front();
    if (Activate(*t)) active_.push_back(t);
  }
}

void Engine::ChooseName(Task& t) {
  const std::string dir = CleanDir(t.saveDir);
  if (dir.empty() || !MakeDirs(dir)) return;
  const std::string safe = SafeFileName(t.givenName);
  for (int n = 0; n < 10000; ++n) {
    const std::string name = AlternativeName(safe, n);
    const std::string path = Join(dir, name);
    if (reserved_.count(path) != 0 || Exists(path)) continue;
    const std::string part = path + ".part";
    // A .part file without our control file beside it belongs to someone else.
    if (Exists(part) && !LoadControlFile(part + ".ctl")) continue;
    t.finalName = name;
    t.finalPath = path;
    t.partPath = part;
    t.controlPath = part + ".ctl";
    reserved_.insert(path);
    return;
  }
}

bool Engine::Activate(Task& t) {
  const auto now = Clock::now();
  if (!ValidUrl(t.url)) {
    Fail(t, P2P_FAIL_BAD_ADDRESS);
    return false;
  }
  if (t.finalName.empty()) {
    ChooseName(t);
    if (t.finalName.empty()) {
      Fail(t, CleanDir(t.saveDir).empty() || !MakeDirs(CleanDir(t.saveDir))
                  ? P2P_FAIL_SAVE_FOLDER
                  : P2P_FAIL_NO_FREE_NAME);
      return false;
    }
  }
  if (!t.loadedControl) {
    t.loadedControl = true;
    if (t.resume) {
      if (auto st = LoadControlFile(t.controlPath); st && CoversWholeFile(*st)) {
        t.total = st->total;
        t.etag = st->etag;
        t.lastModified = st->lastModified;
        t.segs.clear();
        for (const SegmentRange& r : st->segments) {
          t.segs.push_back({r.start, r.start + r.written, r.start + r.written, r.end, nullptr});
        }
        t.known = true;
        t.ranges = true;
      }
    }
  }
  t.validate = t.known;
  if (!MakeDirs(CleanDir(t.saveDir))) {
    Fail(t, P2P_FAIL_SAVE_FOLDER);
    return false;
  }
  // The control file marks the .part file as ours, so it is written first.
  if (!t.known && !SaveControlFile(t.controlPath, ControlState{})) {
    Fail(t, P2P_FAIL_SAVE_FOLDER);
    return false;
  }
  t.fd = ::open(t.partPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (t.fd < 0 || (!t.known && ::ftruncate(t.fd, 0) != 0)) {
    Fail(t, P2P_FAIL_SAVE_FOLDER);
    return false;
  }
  t.phase = Phase::kActive;
  t.failures = 0;
  t.retryAt = now;
  t.dirty = false;
  t.lastSave = now;
  t.samples.clear();
  Publish(t, now, true);
  return true;
}

void Engine::Deactivate(Task& t) {
  while (!t.conns.empty()) DetachConnection(*t.conns.back());
  if (t.fd >= 0) {
    SaveControl(t);
    ::close(t.fd);
    t.fd = -1;
  }
  t.samples.clear();
}

void Engine::FillConnections(Task& t, Clock::time_point now) {
  if (t.phase != Phase::kActive || now < t.retryAt) return;
  if (!t.known) {
    if (t.conns.empty()) StartConnection(t, -1, true);
    return;
  }
  if (t.validate) {
    // One request first confirms that the file on the server is still the same.
    if (!t.conns.empty()) return;
    for (std::size_t i = 0; i < t.segs.size(); ++i) {
      if (!t.segs[i].Complete()) {
        StartConnection(t, static_cast<int>(i), true);
        return;
      }
    }
    return;
  }
  const int most = t.ranges ? kMaxConnectionsPerTask : 1;
  while (static_cast<int>(t.conns.size()) < most && connections_ < kMaxConnections &&
         t.phase == Phase::kActive) {
    bool started = false;
    for (std::size_t i = 0; i < t.segs.size(); ++i) {
      if (t.segs[i].conn == nullptr && !t.segs[i].Complete()) {
        started = StartConnection(t, static_cast<int>(i), false);
        break;
      }
    }
    if (!started && !(t.ranges && StealWork(t))) break;
  }
}

bool Engine::StartConnection(Task& t, int segment, bool probe) {
  std::int64_t start = 0;
  std::int64_t end = kProbeBytes;
  if (segment >= 0) {
    const Segment& s = t.segs[static_cast<std::size_t>(segment)];
    start = s.pos;
    end = s.end == kUnknownEnd ? kUnknownEnd : std::min(s.end, s.pos + kRequestBytes);
  }
  auto conn = std::make_unique<Connection>(t, segment, probe, start, end);
  long bufferSize = kBufferSize;
  if (bucket_.Limited()) {
    // Reads no larger than a small part of a second's allowance keep the rate even.
    bufferSize =
        static_cast<long>(std::clamp<std::int64_t>(bucket_.Rate() / 32, 4096, kBufferSize));
  }
  if (!conn->Setup(conn.get(), WriteCallback, HeaderCallback, bufferSize) ||
      curl_multi_add_handle(multi_, conn->easy) != CURLM_OK) {
    Fail(t, P2P_FAIL_BAD_ADDRESS);
    return false;
  }
  if (segment >= 0) t.segs[static_cast<std::size_t>(segment)].conn = conn.get();
  ++connections_;
  t.conns.push_back(std::move(conn));
  return true;
}

// Work stealing: split the largest range that no request covers yet and give its back half
// to a new connection.
bool Engine::StealWork(Task& t) {
  int best = -1;
  std::int64_t bestFree = 0;
  std::int64_t bestFrom = 0;
  for (std::size_t i = 0; i < t.segs.size(); ++i) {
    const Segment& s = t.segs[i];
    if (s.conn == nullptr || s.end == kUnknownEnd) continue;
    const std::int64_t from = std::max(s.pos, s.conn->requestEnd);
    if (s.end - from > bestFree) {
      bestFree = s.end - from;
      bestFrom = from;
      best = static_cast<int>(i);
    }
  }
  if (best < 0 || bestFree < 2 * kMinSteal) return false;
  Segment& victim = t.segs[static_cast<std::size_t>(best)];
  const std::int64_t mid = bestFrom + bestFree / 2;
  const Segment back{mid, mid, mid, victim.end, nullptr};
  victim.end = mid;
  t.segs.push_back(back);
  return StartConnection(t, static_cast<int>(t.segs.size() - 1), false);
}

std::size_t Engine::OnBody(Connection& conn, const char* data, std::size_t size) {
  if (conn.failure || conn.restartFresh || conn.retryWithoutRange) return 0;
  if (!conn.checked && !CheckResponse(conn)) return 0;
  if (conn.segment < 0) return 0;
  if (!bucket_.HasTokens()) {
    if (!conn.paused) {
      conn.paused = true;
      paused_.push_back(&conn);
    }
    return CURL_WRITEFUNC_PAUSE;
  }
  Task& t = conn.task;
  Segment& s = t.segs[static_cast<std::size_t>(conn.segment)];
  const std::size_t take = static_cast<std::size_t>(
      std::min<std::int64_t>(static_cast<std::int64_t>(size), s.end - s.pos));
  if (take > 0) {
    if (!conn.Append(data, take, s.pos)) {
      conn.failure = Failure{false, P2P_FAIL_WRITE};
      return 0;
    }
    s.pos += static_cast<std::int64_t>(take);
    t.received += static_cast<std::int64_t>(take);
    t.dirty = true;
    t.failures = 0;
    bucket_.Take(static_cast<std::int64_t>(take));
  }
  if (s.pos >= s.end && !conn.reachedEnd) {
    conn.reachedEnd = true;
    if (conn.requestEnd > s.end) retire_.push_back(&conn);
  }
  return take;
}

bool Engine::CheckResponse(Connection& conn) {
  conn.checked = true;
  Task& t = conn.task;
  long code = 0;
  curl_easy_getinfo(conn.easy, CURLINFO_RESPONSE_CODE, &code);
  if (code == 416 && conn.probe) {
    if (!t.known && !t.noRangeHeader) {
      conn.retryWithoutRange = true;  // "bytes=0-" of an empty file
      return false;
    }
    if (t.known) {
      conn.restartFresh = true;  // the file shrank
      return false;
    }
  }
  if (code >= 500 || code == 408 || code == 429) {
    conn.failure = Failure{true, P2P_FAIL_SERVER_ERROR};
    return false;
  }
  if (code < 200 || code >= 300) {
    conn.failure = Failure{false, P2P_FAIL_HTTP_STATUS};
    return false;
  }
  if (code == 206) {
    std::int64_t first = 0, last = 0, total = 0;
    if (!ParseContentRange(conn.contentRange, first, last, total) || first != conn.requestStart) {
      conn.failure = Failure{true, P2P_FAIL_BAD_RESPONSE};
      return false;
    }
    if (!t.known) {
      BuildSegments(t, total >= 0 ? total : last + 1, total >= 0, last + 1);
      t.etag = conn.etag;
      t.lastModified = conn.lastModified;
      conn.segment = 0;
      t.segs[0].conn = &conn;
      SaveControl(t);
      return true;
    }
    const bool changed = total != t.total ||
                         (!t.etag.empty() && !conn.etag.empty() && conn.etag != t.etag) ||
                         (!t.lastModified.empty() && !conn.lastModified.empty() &&
                          conn.lastModified != t.lastModified);
    if (changed) {
      conn.restartFresh = true;
      return false;
    }
    t.validate = false;
    return true;
  }
  // A whole body from byte 0: a server without ranges, or a changed file (If-Range).
  if (t.known) {
    if (!conn.probe) {
      conn.restartFresh = true;
      return false;
    }
    ResetFresh(t);
  }
  curl_off_t length = -1;
  curl_easy_getinfo(conn.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  BuildSegments(t, length, false, length);
  t.etag = conn.etag;
  t.lastModified = conn.lastModified;
  conn.segment = 0;
  conn.requestStart = 0;
  conn.requestEnd = kUnknownEnd;
  t.segs[0].conn = &conn;
  SaveControl(t);
  return true;
}

void Engine::BuildSegments(Task& t, std::int64_t total, bool ranges, std::int64_t firstEnd) {
  t.segs.clear();
  t.known = true;
  t.validate = false;
  t.total = total;
  t.ranges = ranges && total > 0;
  if (total < 0) {
    t.segs.push_back({0, 0, 0, kUnknownEnd, nullptr});
    return;
  }
  if (!t.ranges || firstEnd >= total || firstEnd <= 0) {
    t.segs.push_back({0, 0, 0, total, nullptr});
    return;
  }
  // The first answer covers [0, firstEnd); the rest is split for the other connections.
  t.segs.push_back({0, 0, 0, firstEnd, nullptr});
  const std::int64_t rest = total - firstEnd;
  const std::int64_t pieces =
      std::clamp<std::int64_t>(rest / kMinSegment, 1, kMaxConnectionsPerTask - 1);
  for (std::int64_t i = 0; i < pieces; ++i) {
    const std::int64_t a = firstEnd + rest * i / pieces;
    const std::int64_t b = firstEnd + rest * (i + 1) / pieces;
    t.segs.push_back({a, a, a, b, nullptr});
  }
}

// Forgets what is on disk; the caller has detached every connection but the one asking.
void Engine::ResetFresh(Task& t) {
  t.known = false;
  t.validate = false;
  t.ranges = false;
  t.total = -1;
  t.etag.clear();
  t.lastModified.clear();
  t.segs.clear();
  // Should this fail, Finish still cuts the file to its size.
  [[maybe_unused]] const int rc = t.fd >= 0 ? ::ftruncate(t.fd, 0) : 0;
}

bool Engine::DetachConnection(Connection& conn) {
  Task& t = conn.task;
  curl_multi_remove_handle(multi_, conn.easy);
  const bool flushed = conn.Flush();
  if (conn.segment >= 0 && static_cast<std::size_t>(conn.segment) < t.segs.size()) {
    Segment& s = t.segs[static_cast<std::size_t>(conn.segment)];
    s.conn = nullptr;
    s.pos = s.written;  // what was not written must be fetched again
  }
  paused_.erase(std::remove(paused_.begin(), paused_.end(), &conn), paused_.end());
  retire_.erase(std::remove(retire_.begin(), retire_.end(), &conn), retire_.end());
  --connections_;
  t.conns.erase(
      std::remove_if(t.conns.begin(), t.conns.end(),
                     [&](const std::unique_ptr<Connection>& c) { return c.get() == &conn; }),
      t.conns.end());
  return flushed;
}

void Engine::OnDone(Connection& conn, CURLcode result) {
  Task& t = conn.task;
  if (!conn.checked && result == CURLE_OK) CheckResponse(conn);  // an empty body
  const bool reachedEnd = conn.reachedEnd;
  const std::optional<Failure> failure = conn.failure;
  const bool restartFresh = conn.restartFresh;
  const bool withoutRange = conn.retryWithoutRange;
  const int segment = conn.segment;
  const bool checked = conn.checked;
  const std::int64_t requestEnd = conn.requestEnd;
  const auto now = Clock::now();

  if (!DetachConnection(conn)) {
    Fail(t, P2P_FAIL_WRITE);
    return;
  }
  if (failure) {
    if (failure->transient) {
      TransientFailure(t, failure->code, now);
    } else {
      Fail(t, failure->code);
    }
    return;
  }
  if (withoutRange) {
    t.noRangeHeader = true;
    return;
  }
  if (restartFresh) {
    while (!t.conns.empty()) DetachConnection(*t.conns.back());
    ResetFresh(t);
    if (++t.failures > kMaxRetries) Fail(t, P2P_FAIL_BAD_RESPONSE);
    return;
  }
  if (result == CURLE_OK || (reachedEnd && result == CURLE_WRITE_ERROR)) {
    if (!checked || segment < 0) {
      TransientFailure(t, P2P_FAIL_BAD_RESPONSE, now);
      return;
    }
    Segment& s = t.segs[static_cast<std::size_t>(segment)];
    if (s.end == kUnknownEnd) {
      // A body without a length ends when the server closes the connection.
      s.end = s.written;
      t.total = s.written;
      return;
    }
    // Less than asked for is a short body; the rest of the segment gets its next request.
    if (s.written < std::min(s.end, requestEnd)) TransientFailure(t, P2P_FAIL_SHORT_BODY, now);
    return;
  }
  bool transient = false;
  const std::int32_t code = ClassifyPermanent(result, transient);
  if (transient) {
    TransientFailure(t, code, now);
  } else {
    Fail(t, code);
  }
}

void Engine::TransientFailure(Task& t, std::int32_t code, Clock::time_point now) {
  if (t.phase != Phase::kActive) return;
  if (++t.failures > kMaxRetries) {
    Fail(t, code);
    return;
  }
  auto backoff = kFirstBackoff * (1 << std::min(t.failures - 1, 10));
  t.retryAt = now + std::min<Clock::duration>(backoff, kMaxBackoff);
  if (t.known && !t.ranges) {
    // Without ranges the only way to continue is from the start.
    while (!t.conns.empty()) DetachConnection(*t.conns.back());
    ResetFresh(t);
  }
}

void Engine::Fail(Task& t, std::int32_t code) {
  Deactivate(t);
  active_.erase(std::remove(active_.begin(), active_.end(), &t), active_.end());
  t.phase = Phase::kIdle;
  t.failCode = code;
  std::lock_guard lock(mutex_);
  t.snap.stat = P2P_STATE_STOPPED;
  t.snap.failCode = code;
  t.snap.speed = 0;
  t.snap.done = t.Done();
  if (!t.finalName.empty()) t.snap.name = t.finalName;
}

void Engine::Finish(Task& t) {
  bool flushed = true;
  while (!t.conns.empty()) flushed = DetachConnection(*t.conns.back()) && flushed;
  if (!flushed || !t.AllWritten() || ::ftruncate(t.fd, t.total) != 0 || ::fsync(t.fd) != 0) {
    Fail(t, P2P_FAIL_WRITE);
    return;
  }
  ::close(t.fd);
  t.fd = -1;
  // Never replace a file that appeared under the final name meanwhile.
  const std::string dir = CleanDir(t.saveDir);
  const std::string safe = SafeFileName(t.givenName);
  std::string name;
  std::string path;
  bool moved = false;
  for (int n = 0; n < 10000 && !moved; ++n) {
    name = n == 0 ? t.finalName : AlternativeName(safe, n);
    path = n == 0 ? t.finalPath : Join(dir, name);
    if (n > 0 && reserved_.count(path) != 0) continue;
    if (::renameat2(AT_FDCWD, t.partPath.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
      moved = true;
    } else if (errno == EINVAL || errno == ENOSYS) {
      // File systems without RENAME_NOREPLACE: a hard link refuses to replace as well.
      moved = ::link(t.partPath.c_str(), path.c_str()) == 0 && ::unlink(t.partPath.c_str()) == 0;
      if (!moved && errno != EEXIST) break;
    } else if (errno != EEXIST) {
      break;
    }
  }
  if (!moved) {
    Fail(t, P2P_FAIL_WRITE);
    return;
  }
  ::unlink(t.controlPath.c_str());
  reserved_.erase(t.finalPath);
  t.finalName = name;
  t.finalPath = path;
  t.phase = Phase::kFinished;
  active_.erase(std::remove(active_.begin(), active_.end(), &t), active_.end());
  std::lock_guard lock(mutex_);
  t.snap.stat = P2P_STATE_FINISHED;
  t.snap.failCode = 0;
  t.snap.name = name;
  t.snap.total = t.total;
  t.snap.done = t.total;
  t.snap.speed = 0;
}

bool Engine::FlushAndSave(Task& t) {
  for (const auto& conn : t.conns) {
    if (!conn->Flush()) {
      Fail(t, P2P_FAIL_WRITE);
      return false;
    }
  }
  SaveControl(t);
  return true;
}

void Engine::SaveControl(Task& t) {
  ControlState st;
  if (t.known && t.total >= 0 && t.ranges) {
    st.total = t.total;
    st.etag = t.etag;
    st.lastModified = t.lastModified;
    for (const Segment& s : t.segs) st.segments.push_back({s.start, s.written - s.start, s.end});
  }
  // A failed save keeps the older file, which only makes a resume fetch a little more.
  SaveControlFile(t.controlPath, st);
  t.savedAt = t.received;
  t.dirty = false;
  t.lastSave = Clock::now();
}

void Engine::Publish(Task& t, Clock::time_point now, bool force) {
  if (t.samples.empty() || now - t.samples.back().first >= kSampleEvery) {
    t.samples.emplace_back(now, t.received);
    while (t.samples.size() > 2 && now - t.samples.front().first > kSpeedWindow) {
      t.samples.pop_front();
    }
  }
  if (!force && now - t.lastPublish < kPublishEvery) return;
  t.lastPublish = now;
  std::int32_t speed = 0;
  const auto& [since, bytes] = t.samples.front();
  const double seconds = std::chrono::duration<double>(now - since).count();
  if (seconds >= 0.2)
    speed = static_cast<std::int32_t>(static_cast<double>(t.received - bytes) / seconds);
  const std::int64_t done = t.Done();
  std::lock_guard lock(mutex_);
  t.snap.stat = P2P_STATE_DOWNLOADING;
  t.snap.name = t.finalName.empty() ? t.snap.name : t.finalName;
  t.snap.total = std::max<std::int64_t>(t.total, 0);
  t.snap.done = done;
  t.snap.speed = speed;
}

void Engine::Unpause() {
  if (paused_.empty() || !bucket_.HasTokens()) return;
  std::vector<Connection*> waiting;
  waiting.swap(paused_);
  for (Connection* c : waiting) {
    c->paused = false;
    curl_easy_pause(c->easy, CURLPAUSE_CONT);
  }
}

}  // namespace p2p
