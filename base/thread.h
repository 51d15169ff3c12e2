#pragma once
// The thread wrapper and the program's four threads. One frame loop runs at a
// time: the game thread's, or a pause or ranking loop that the game thread
// starts and waits for. A thread ends on WM_QUIT from cThread::Exit.
#include <atomic>
#include <cstdint>

#include "platform/thread.h"

class cThread {
 public:
  using Proc = unsigned (*)(void* arg);

  ~cThread();  // Exit

  // Starts proc(arg) on a new thread whose message queue exists at once, so a
  // thread message posted right after this cannot be lost. False when the
  // thread cannot be created, when this object still runs one, or when the
  // calling thread is itself being ended; callers take that as a loop that
  // ended at once.
  bool Start(Proc proc, void* arg);

  // Blocks (a safe wait) until the thread has ended; true then, or at once
  // when none runs. When the waiting thread is itself asked to end meanwhile,
  // it passes that on to the one it waits for. A thread cannot outwait
  // itself: called from the thread itself it returns false at once.
  bool Wait();

  // Holds the thread at its next safe point, or confirms it is held in one;
  // counted. True when idle or held; false (reported) when it did not get to
  // a safe point in time; it stops at the next one all the same.
  bool Suspend();
  // Undoes one Suspend. True.
  bool Resume();

  // Ends the thread: opens its gate, posts WM_QUIT, cancels it and joins it.
  // A thread that does not end within about 200 ms is reported and still
  // waited for; it is never killed. Nothing when idle.
  void Exit();

  // The thread exists (started and not yet waited for). Any thread may ask.
  bool HasThread() const { return m_hThread.Running(); }

  std::atomic<uint32_t> m_dwThreadId{0};  // target of thread messages; 0 when idle
  plat::Thread m_hThread;
};

extern cThread thGame;     // GameLoop; started by WinMain, ended by WM_CLOSE
extern cThread thPause;    // the stage's waits; started and waited for by the game thread
extern cThread thRanking;  // the ranking view; the same way
extern cThread thLoad;     // the stage-file read of LoadStage

// Suspend / Resume of thGame, thPause, thRanking, thLoad in this order, around
// the modal name-entry dialog. True when every one succeeded.
bool SuspendThreads();
bool ResumeThreads();
