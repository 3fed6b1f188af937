#pragma once
// Turns SIGINT, SIGTERM and SIGHUP into a call on the UI thread, so a program
// told to stop (Ctrl-C, logout, kill) still shuts the engine down, which saves
// every task's progress, and removes the extractor file.

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace ui {

class TerminationSignals : public QObject {
 public:
  // onSignal runs on the thread that made this object (the UI thread).
  explicit TerminationSignals(std::function<void()> onSignal);
  ~TerminationSignals() override;

 private:
  std::function<void()> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace ui
