#include "base/thread.h"

#include "base/report_log.h"
#include "platform/messages.h"

namespace {

// About 1 ms per poll: some 200 ms for a thread to leave its loop.
constexpr int kExitGracePolls = 200;
constexpr uint32_t kSuspendGraceMs = 2000;

}  // namespace

cThread::~cThread() { Exit(); }

bool cThread::Start(Proc proc, void* arg) {
  if (!m_hThread.Start([proc, arg] { return proc(arg); })) return false;
  m_dwThreadId = m_hThread.Id();
  return true;
}

bool cThread::Wait() {
  uint32_t id = m_hThread.Id();
  if (id != 0 && id == plat::CurrentThreadId()) return false;
  while (!m_hThread.Join(1)) {
    if (plat::IsCancelled()) m_hThread.Cancel();
  }
  // Unless another waiter has already started the next one.
  m_dwThreadId.compare_exchange_strong(id, 0);
  return true;
}

bool cThread::Suspend() {
  if (!HasThread()) return true;
  if (m_hThread.Suspend(kSuspendGraceMs)) return true;
  ReportPrintfDebug("cThread::Suspend : thread %u is not at a safe point after %u ms",
                    m_dwThreadId.load(), kSuspendGraceMs);
  return false;
}

bool cThread::Resume() {
  m_hThread.Resume();
  return true;
}

void cThread::Exit() {
  if (!HasThread()) return;
  uint32_t id = m_hThread.Id();
  if (id == plat::CurrentThreadId()) {  // from its own thread: it ends when it returns
    m_hThread.Cancel();
    return;
  }
  m_hThread.ResumeAll();  // a held thread must run to see its end
  DebugLogPuts("Exit A");
  plat::PostToThread(id, WM_QUIT, 0, 0);
  DebugLogPuts("Exit B");
  DebugLogPuts("Exit C");
  m_hThread.Cancel();
  for (int n = 0; !m_hThread.Join(1);) {
    if (++n == kExitGracePolls)
      ReportPrintfDebug("cThread::Exit : thread %u has not ended after %d ms; waiting for it", id, n);
  }
  DebugLogPuts("Exit D");
  m_dwThreadId.compare_exchange_strong(id, 0);  // unless the next one has started meanwhile
  DebugLogPuts("Exit E");
}

bool SuspendThreads() {
  bool ok = true;
  for (cThread* th : {&thGame, &thPause, &thRanking, &thLoad}) ok = th->Suspend() && ok;
  return ok;
}

bool ResumeThreads() {
  bool ok = true;
  for (cThread* th : {&thGame, &thPause, &thRanking, &thLoad}) ok = th->Resume() && ok;
  return ok;
}
