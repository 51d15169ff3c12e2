#include "platform/thread.h"

#include <chrono>
#include <system_error>

#include "platform/thread_context.h"

namespace plat {

using detail::Context;

Thread::~Thread() {
  if (!Running()) return;
  ResumeAll();
  Cancel();
  Join();
}

std::shared_ptr<Context> Thread::ContextNow() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_context;
}

bool Thread::Start(std::function<unsigned()> body) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_thread.joinable()) return false;
  if (IsCancelled()) return false;
  auto context = detail::NewContext();
  auto end = std::make_shared<End>();
  try {
    m_thread = std::thread([context, end, body = std::move(body)] {
      detail::AdoptContext(context);
      body();
      detail::CloseContext(*context);
      detail::AdoptContext(nullptr);
      std::lock_guard<std::mutex> endLock(end->mutex);
      end->ended = true;
      end->cv.notify_all();
    });
  } catch (const std::system_error&) {
    detail::CloseContext(*context);
    return false;
  }
  m_context = context;
  m_end = end;
  return true;
}

uint32_t Thread::Id() const {
  auto context = ContextNow();
  return context ? context->id : 0;
}

bool Thread::Running() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_thread.joinable();
}

bool Thread::Join(uint32_t timeoutMs) {
  std::shared_ptr<End> end;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_thread.joinable()) return true;
    end = m_end;
  }
  // The waiting thread counts as held at a safe point meanwhile.
  Context* self = detail::CurrentContextIfAny();
  if (self && self == ContextNow().get()) return false;  // a thread cannot outwait itself
  if (self) {
    std::lock_guard<std::mutex> lock(self->mutex);
    detail::ParkLocked(*self);
  }
  bool ended;
  {
    std::unique_lock<std::mutex> lock(end->mutex);
    auto isEnded = [&] { return end->ended; };
    if (timeoutMs == kInfinite) {
      end->cv.wait(lock, isEnded);
    } else {
      end->cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), isEnded);
    }
    ended = end->ended;
  }
  if (self) {
    std::unique_lock<std::mutex> lock(self->mutex);
    detail::UnparkLocked(*self, lock);
  }
  if (!ended) return false;
  std::lock_guard<std::mutex> lock(m_mutex);
  // Another waiter may have joined it first, or even started the next one.
  if (m_thread.joinable() && m_end == end) {
    m_thread.join();
    m_context.reset();
    m_end.reset();
  }
  return true;
}

bool Thread::Suspend(uint32_t parkTimeoutMs) {
  auto context = ContextNow();
  if (!context) return true;
  std::unique_lock<std::mutex> lock(context->mutex);
  ++context->suspendCount;
  return context->cv.wait_for(lock, std::chrono::milliseconds(parkTimeoutMs),
                              [&] { return context->parked || context->closed; });
}

void Thread::Resume() {
  auto context = ContextNow();
  if (!context) return;
  std::lock_guard<std::mutex> lock(context->mutex);
  if (context->suspendCount > 0) --context->suspendCount;
  context->cv.notify_all();
}

void Thread::ResumeAll() {
  auto context = ContextNow();
  if (!context) return;
  std::lock_guard<std::mutex> lock(context->mutex);
  context->suspendCount = 0;
  context->cv.notify_all();
}

void Thread::Cancel() {
  auto context = ContextNow();
  if (!context) return;
  std::lock_guard<std::mutex> lock(context->mutex);
  context->cancelled.store(true);
  detail::NotifyLocked(*context);
}

bool IsCancelled() {
  Context* context = detail::CurrentContextIfAny();
  return context && context->cancelled.load();
}

void SafePoint() { detail::PassGate(); }

}  // namespace plat
