#pragma once
// Carries a piece of work from a worker thread to the UI thread and waits for
// its result. The work is posted to the context object's thread and runs there
// in posting order; the worker waits in short slices, so when the program is
// closing (cancel set) it stops waiting at once and gets a default value, and
// work that had not run yet is skipped. Call from a worker thread only (on
// the UI thread it would wait for itself).

#include <QMetaObject>
#include <QObject>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <type_traits>
#include <utility>

namespace ui {

using CancelFlag = std::shared_ptr<const std::atomic<bool>>;

template <class Work>
std::invoke_result_t<Work> CallOnUiThread(QObject* context, const CancelFlag& cancel, Work work) {
  using Result = std::invoke_result_t<Work>;
  constexpr auto kSlice = std::chrono::milliseconds(20);
  if (cancel->load()) return Result();
  auto promise = std::make_shared<std::promise<Result>>();
  std::future<Result> future = promise->get_future();
  QMetaObject::invokeMethod(
      context,
      [promise, cancel, work = std::move(work)]() mutable {
        if (cancel->load()) {
          // The worker has stopped waiting; leave the windows alone.
          if constexpr (std::is_void_v<Result>) {
            promise->set_value();
          } else {
            promise->set_value(Result());
          }
          return;
        }
        if constexpr (std::is_void_v<Result>) {
          work();
          promise->set_value();
        } else {
          promise->set_value(work());
        }
      },
      Qt::QueuedConnection);
  while (future.wait_for(kSlice) != std::future_status::ready) {
    if (cancel->load()) return Result();
  }
  return future.get();
}

}  // namespace ui
