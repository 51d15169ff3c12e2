#pragma once
// Threads that are never killed nor stopped at an arbitrary point. A thread is
// suspended by closing its gate, which it passes only at its safe points: the
// sleeps, peeks, waits and sends of plat::. It is ended by cancellation: its
// safe points then stop blocking (a sleep ends, a peek returns WM_QUIT, a send
// returns 0) until its body returns by itself.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/messages.h"

namespace plat {

namespace detail {
struct Context;
}

class Thread {
 public:
  Thread() = default;
  // Cancels and joins a thread still running; never detaches it.
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Starts `body` on a new thread. Its queue exists (Id() is a valid target of
  // PostToThread) when this returns. False when a thread still runs here, when
  // the calling thread is itself cancelled, or when none can be created.
  bool Start(std::function<unsigned()> body);

  // The running thread's message-queue id; 0 while none runs.
  uint32_t Id() const;
  // A thread was started and has not been joined yet.
  bool Running() const;

  // Waits up to timeoutMs for the body to return, then joins it: true once
  // joined (also when none ran). A safe wait of the calling thread. Any
  // number of threads may wait at once.
  bool Join(uint32_t timeoutMs = kInfinite);

  // Closes the gate (counted) and waits up to parkTimeoutMs until the thread
  // is held at a safe point or blocked in one; false when it did not get there
  // in time (it stops at its next safe point all the same).
  bool Suspend(uint32_t parkTimeoutMs);
  // Opens the gate by one step, or completely.
  void Resume();
  void ResumeAll();

  // Asks the thread to end (see above). Sends waiting for it fail once its
  // body has returned.
  void Cancel();

 private:
  struct End {
    std::mutex mutex;
    std::condition_variable cv;
    bool ended = false;
  };
  std::shared_ptr<detail::Context> ContextNow() const;

  mutable std::mutex m_mutex;
  std::thread m_thread;
  std::shared_ptr<detail::Context> m_context;
  std::shared_ptr<End> m_end;
};

// True when the calling thread was cancelled.
bool IsCancelled();

// A safe point of the calling thread without waiting: holds while suspended.
void SafePoint();

}  // namespace plat
