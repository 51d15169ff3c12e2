#pragma once
// The frame driver and the game thread's loop. Scenes, input, drawing and the
// present join cGame::Frame as those parts come; for now a frame is paced and
// measured only.
#include <atomic>
#include <cstdint>

class cGame {
 public:
  // One frame, on the thread that runs the current frame loop. 0 when the
  // game cannot go on (the game thread then closes the program), else 1.
  int Frame();
  // Blocks until the next frame may start (LimitRate at m_nFps, 1 ms sleeps).
  void WaitFrame();

  int32_t m_nFps = 0;       // target frames per second: 60 outside stages
  int32_t m_nFadeStep = 0;  // fade speed of the scene fades
};

extern cGame Game;

// Frames per second published once a second, and the work time of the last
// frame in milliseconds. Written by the frame loop, read anywhere.
extern std::atomic<int> nMeasuredFps;
extern std::atomic<int> nFrameWorkMs;

// The body of thGame: a frame whenever no message waits and the application
// is active; ends on WM_QUIT, or when a frame fails (then it closes the
// program). Returns 1.
unsigned GameLoop(void* unused);
