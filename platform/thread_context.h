#pragma once
// Inside platform/ only: what each taking-part thread carries: its queue, the
// gate that suspension closes, and its cancellation. One mutex and one
// condition variable per thread; everything that may end one of its waits
// notifies that variable.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "platform/messages.h"

namespace plat::detail {

struct Context;

struct SentRecord {
  Message msg;
  std::function<void()> call;  // runs instead of a window procedure when set
  std::shared_ptr<Context> sender;
  bool abandonable = true;  // false when the sender's stack is reached from it
  // Guarded by the sender's mutex.
  enum class State { Waiting, Done, Failed } state = State::Waiting;
  intptr_t result = 0;
};

// Events of the window system, which the main thread waits on in place of
// its condition variable.
struct EventSource {
  std::function<void()> pump;               // owner thread: events into messages
  std::function<void(uint32_t ms)> wait;    // owner thread: until an event or a wake
  std::function<void()> wake;               // any thread
};

struct Context {
  uint32_t id = 0;
  std::mutex mutex;
  std::condition_variable cv;
  std::deque<Message> posted;
  std::deque<std::shared_ptr<SentRecord>> sent;
  bool quit = false;
  int quitCode = 0;
  bool closed = false;  // the thread has ended: posts and sends fail
  std::atomic<bool> cancelled{false};
  int suspendCount = 0;
  bool parked = false;  // blocked in a safe wait or at the gate
  // Sent messages ran outside WaitForMessage since its last return (owner thread).
  bool servedSinceWait = false;
  std::shared_ptr<EventSource> source;
  std::atomic<bool> wakePending{false};
};

// The calling thread's context, made on first use.
std::shared_ptr<Context> CurrentContext();
// Null when the calling thread never took part.
Context* CurrentContextIfAny();
// A registered context for a thread about to start, and its adoption there.
std::shared_ptr<Context> NewContext();
void AdoptContext(const std::shared_ptr<Context>& context);
// The thread ended: unregisters, fails the sends still waiting for it.
void CloseContext(Context& context);
std::shared_ptr<Context> FindContext(uint32_t id);

// With the context's mutex held: wake its waits (and its event source).
void NotifyLocked(Context& context);
// With the mutex held: the thread is in a safe wait; and leaving it, through
// the gate (blocks while suspended, unless cancelled).
void ParkLocked(Context& context);
void UnparkLocked(Context& context, std::unique_lock<std::mutex>& lock);
// Passes the gate of the calling thread, if it has one.
void PassGate();

// The main thread installs its window-system events (null removes them).
void SetEventSource(std::shared_ptr<EventSource> source);

}  // namespace plat::detail
