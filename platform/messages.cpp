#include "platform/messages.h"

#include <chrono>
#include <unordered_map>

#include "platform/thread_context.h"
#include "platform/window_props.h"

namespace plat {
namespace detail {
namespace {

struct WindowEntry {
  std::weak_ptr<Context> owner;
  std::shared_ptr<const WindowProc> proc;
};

// Never destroyed: threads and static destructors may still look things up
// while the process ends.
struct Registry {
  std::mutex mutex;
  uint32_t nextThreadId = 1;
  uint32_t nextWindowId = 1;
  std::unordered_map<uint32_t, std::weak_ptr<Context>> threads;
  std::unordered_map<uint32_t, WindowEntry> windows;
};

Registry& Reg() {
  static Registry* registry = new Registry;
  return *registry;
}

std::shared_ptr<Context> MakeRegistered() {
  auto context = std::make_shared<Context>();
  Registry& reg = Reg();
  std::lock_guard<std::mutex> lock(reg.mutex);
  context->id = reg.nextThreadId++;
  reg.threads[context->id] = context;
  return context;
}

// Closes the context of a thread that made its own on first use, when that
// thread ends.
struct Holder {
  std::shared_ptr<Context> context;
  ~Holder() {
    if (context) CloseContext(*context);
  }
};
thread_local Holder t_holder;

bool FindWindow(WindowHandle window, WindowEntry& out) {
  Registry& reg = Reg();
  std::lock_guard<std::mutex> lock(reg.mutex);
  auto it = reg.windows.find(window.id);
  if (it == reg.windows.end()) return false;
  out = it->second;
  return true;
}

// Wakes the sender of a finished or failed send.
void Complete(SentRecord& record, SentRecord::State state, intptr_t result) {
  Context& sender = *record.sender;
  std::lock_guard<std::mutex> lock(sender.mutex);
  record.state = state;
  record.result = result;
  NotifyLocked(sender);
}

intptr_t RunProc(const Message& msg) {
  WindowEntry entry;
  if (!FindWindow(msg.window, entry)) return 0;
  return (*entry.proc)(msg.window, msg.message, msg.wParam, msg.lParam);
}

// Runs every message sent to the calling thread, oldest first.
void ServeSent(Context& self) {
  for (;;) {
    std::shared_ptr<SentRecord> record;
    {
      std::lock_guard<std::mutex> lock(self.mutex);
      if (self.sent.empty()) return;
      record = std::move(self.sent.front());
      self.sent.pop_front();
      self.servedSinceWait = true;
    }
    intptr_t result = 0;
    if (record->call)
      record->call();
    else
      result = RunProc(record->msg);
    Complete(*record, SentRecord::State::Done, result);
  }
}

bool Withdraw(Context& owner, const std::shared_ptr<SentRecord>& record) {
  std::lock_guard<std::mutex> lock(owner.mutex);
  for (auto it = owner.sent.begin(); it != owner.sent.end(); ++it) {
    if (*it == record) {
      owner.sent.erase(it);
      return true;
    }
  }
  return false;
}

// Hands the record to its owner and waits, as a safe wait, until it ran.
bool SendAndWait(const std::shared_ptr<Context>& self, const std::shared_ptr<Context>& owner,
                 const std::shared_ptr<SentRecord>& record) {
  if (self->cancelled.load()) return false;
  record->sender = self;
  {
    std::lock_guard<std::mutex> lock(owner->mutex);
    if (owner->closed) return false;
    owner->sent.push_back(record);
    NotifyLocked(*owner);
  }
  std::unique_lock<std::mutex> lock(self->mutex);
  ParkLocked(*self);
  bool cancelSeen = false;
  while (record->state == SentRecord::State::Waiting) {
    if (!self->sent.empty()) {
      // Another thread waits for this one: serve it, or both would wait forever.
      UnparkLocked(*self, lock);
      lock.unlock();
      ServeSent(*self);
      lock.lock();
      ParkLocked(*self);
      continue;
    }
    if (self->cancelled.load() && !cancelSeen) {
      cancelSeen = true;
      lock.unlock();
      bool withdrawn = Withdraw(*owner, record);
      lock.lock();
      // A message that already runs is left to finish on its own; the record
      // is shared, so its late result harms nothing. A call is waited for.
      if (withdrawn || record->abandonable) break;
      continue;
    }
    self->cv.wait(lock);
  }
  bool done = record->state == SentRecord::State::Done;
  UnparkLocked(*self, lock);
  return done;
}

}  // namespace

std::shared_ptr<Context> CurrentContext() {
  if (!t_holder.context) t_holder.context = MakeRegistered();
  return t_holder.context;
}

Context* CurrentContextIfAny() { return t_holder.context.get(); }

std::shared_ptr<Context> NewContext() { return MakeRegistered(); }

void AdoptContext(const std::shared_ptr<Context>& context) { t_holder.context = context; }

void CloseContext(Context& context) {
  std::deque<std::shared_ptr<SentRecord>> pending;
  {
    std::lock_guard<std::mutex> lock(context.mutex);
    if (context.closed) return;
    context.closed = true;
    pending.swap(context.sent);
    context.posted.clear();
  }
  for (auto& record : pending) Complete(*record, SentRecord::State::Failed, 0);
  Registry& reg = Reg();
  std::lock_guard<std::mutex> lock(reg.mutex);
  reg.threads.erase(context.id);
  for (auto it = reg.windows.begin(); it != reg.windows.end();) {
    auto owner = it->second.owner.lock();
    if (!owner || owner.get() == &context)
      it = reg.windows.erase(it);
    else
      ++it;
  }
}

std::shared_ptr<Context> FindContext(uint32_t id) {
  Registry& reg = Reg();
  std::lock_guard<std::mutex> lock(reg.mutex);
  auto it = reg.threads.find(id);
  return it == reg.threads.end() ? nullptr : it->second.lock();
}

void NotifyLocked(Context& context) {
  context.cv.notify_all();
  if (context.source && !context.wakePending.exchange(true)) context.source->wake();
}

void ParkLocked(Context& context) {
  context.parked = true;
  context.cv.notify_all();
}

void UnparkLocked(Context& context, std::unique_lock<std::mutex>& lock) {
  while (context.suspendCount > 0 && !context.cancelled.load()) context.cv.wait(lock);
  context.parked = false;
}

void PassGate() {
  Context* context = CurrentContextIfAny();
  if (!context) return;
  std::unique_lock<std::mutex> lock(context->mutex);
  if (context->suspendCount == 0 || context->cancelled.load()) return;
  ParkLocked(*context);
  UnparkLocked(*context, lock);
}

void SetEventSource(std::shared_ptr<EventSource> source) {
  auto context = CurrentContext();
  std::lock_guard<std::mutex> lock(context->mutex);
  context->source = std::move(source);
  context->wakePending.store(false);
}

}  // namespace detail

using namespace detail;

uint32_t CurrentThreadId() { return CurrentContext()->id; }

WindowHandle CreateMessageWindow(WindowProc proc) {
  auto owner = CurrentContext();
  Registry& reg = Reg();
  std::lock_guard<std::mutex> lock(reg.mutex);
  WindowHandle window{reg.nextWindowId++};
  reg.windows[window.id] = {owner, std::make_shared<const WindowProc>(std::move(proc))};
  return window;
}

void DestroyMessageWindow(WindowHandle window) {
  {
    Registry& reg = Reg();
    std::lock_guard<std::mutex> lock(reg.mutex);
    reg.windows.erase(window.id);
  }
  RemoveAllProps(window);
}

WindowProc SetWindowProc(WindowHandle window, WindowProc proc) {
  Registry& reg = Reg();
  std::lock_guard<std::mutex> lock(reg.mutex);
  auto it = reg.windows.find(window.id);
  if (it == reg.windows.end()) return WindowProc();
  WindowProc old = *it->second.proc;
  it->second.proc = std::make_shared<const WindowProc>(std::move(proc));
  return old;
}

bool IsWindow(WindowHandle window) {
  WindowEntry entry;
  return FindWindow(window, entry);
}

namespace {

bool PostTo(const std::shared_ptr<Context>& target, const Message& msg) {
  if (!target) return false;
  std::lock_guard<std::mutex> lock(target->mutex);
  if (target->closed) return false;
  target->posted.push_back(msg);
  NotifyLocked(*target);
  return true;
}

}  // namespace

bool Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  WindowEntry entry;
  if (!FindWindow(window, entry)) return false;
  return PostTo(entry.owner.lock(), {window, message, wParam, lParam});
}

bool PostToThread(uint32_t threadId, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return PostTo(FindContext(threadId), {WindowHandle{}, message, wParam, lParam});
}

intptr_t Send(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  WindowEntry entry;
  if (!FindWindow(window, entry)) return 0;
  auto owner = entry.owner.lock();
  if (!owner) return 0;
  auto self = CurrentContext();
  if (owner == self) return (*entry.proc)(window, message, wParam, lParam);
  auto record = std::make_shared<SentRecord>();
  record->msg = {window, message, wParam, lParam};
  if (!SendAndWait(self, owner, record)) return 0;
  std::lock_guard<std::mutex> lock(self->mutex);
  return record->result;
}

bool CallOnThread(uint32_t threadId, const std::function<void()>& call) {
  auto owner = FindContext(threadId);
  if (!owner) return false;
  auto self = CurrentContext();
  if (owner == self) {
    call();
    return true;
  }
  auto record = std::make_shared<SentRecord>();
  record->call = call;
  record->abandonable = false;
  return SendAndWait(self, owner, record);
}

void PostQuit(int code) {
  auto self = CurrentContext();
  std::lock_guard<std::mutex> lock(self->mutex);
  self->quit = true;
  self->quitCode = code;
  NotifyLocked(*self);
}

bool Peek(Message& out, bool remove) {
  auto self = CurrentContext();
  PassGate();
  if (self->source) self->source->pump();
  ServeSent(*self);
  std::lock_guard<std::mutex> lock(self->mutex);
  if (self->cancelled.load()) {
    out = Message{WindowHandle{}, WM_QUIT, 0, 0};
    return true;
  }
  if (!self->posted.empty()) {
    out = self->posted.front();
    if (remove) self->posted.pop_front();
    return true;
  }
  if (self->quit) {
    out = Message{WindowHandle{}, WM_QUIT, static_cast<uintptr_t>(self->quitCode), 0};
    if (remove) self->quit = false;
    return true;
  }
  return false;
}

bool WaitForMessage(uint32_t timeoutMs) {
  using Clock = std::chrono::steady_clock;
  auto self = CurrentContext();
  const bool forever = timeoutMs == kInfinite;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
  for (;;) {
    if (self->source) self->source->pump();
    std::unique_lock<std::mutex> lock(self->mutex);
    // What ran since the caller last looked may have ended its loop, and
    // nothing else may come to end this wait.
    if (self->servedSinceWait) {
      self->servedSinceWait = false;
      return true;
    }
    if (!self->sent.empty()) {
      lock.unlock();
      PassGate();
      ServeSent(*self);
      lock.lock();
      self->servedSinceWait = false;
      return true;
    }
    if (!self->posted.empty() || self->quit || self->cancelled.load()) return true;
    Clock::time_point now = Clock::now();
    if (!forever && now >= deadline) return false;
    ParkLocked(*self);
    if (self->source) {
      // Cleared under the lock: a post after this point pushes a new wake.
      self->wakePending.store(false);
      auto source = self->source;
      lock.unlock();
      uint32_t ms = forever ? kInfinite
                            : static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                        deadline - now).count() + 1);
      source->wait(ms);
      lock.lock();
    } else if (forever) {
      self->cv.wait(lock);
    } else {
      self->cv.wait_until(lock, deadline);
    }
    UnparkLocked(*self, lock);
  }
}

intptr_t Dispatch(const Message& message) {
  WindowEntry entry;
  if (!message.window || !FindWindow(message.window, entry)) return 0;
  if (entry.owner.lock() != CurrentContext()) return 0;
  return (*entry.proc)(message.window, message.message, message.wParam, message.lParam);
}

}  // namespace plat
