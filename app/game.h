#pragma once
// The game thread's loop around the frame driver (game/game.h), and the
// making of the program's scenes.
#include "game/game.h"

// Makes the concrete scenes by number for Game; installed by start-up.
class cAppSceneMaker : public cSceneMaker {
 public:
  cScene* Create(int scene) override;
  void SetStageFps(int fps) override;
  bool ReloadFreeStage(const char* path) override;
};

extern cAppSceneMaker AppSceneMaker;

// The body of thGame: a frame whenever no message waits and the application
// is active; ends on WM_QUIT, or when a frame fails (then it closes the
// program). Returns 1.
unsigned GameLoop(void* unused);
