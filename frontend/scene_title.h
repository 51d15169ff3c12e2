#pragma once
// The title screen (scene 0): the title picture and the title menu of
// System.dat's seven entries. The chosen entry becomes the game mode and the
// play kind: a new story, a story continued from a save slot, the challenge
// mode, free play of a stage file, a replay, the options or the end.
#include <cstdint>

#include "frontend/scene_frame.h"

class cSceneTitle : public cFrontScene<cSceneTitle> {
 public:
  cSceneTitle();

  // Phase 1: the title menu.
  int Menu();
  // Phase 2: the save-slot list of a continued story.
  int Continue();

  // The frame's calls (see cFrontScene).
  void InitScene();
  void DrawScreen();
  void RedrawSurfaces() { DrawMenuSurface(); }

  // The menu's colour-keyed surface in Off_Scene, sized for the graphic or
  // the text menu, and drawn; a failure closes the program.
  bool BuildMenuSurface();
  // Graphic menu: each row's 32-dot strip of GameMode.bmp by entry id; text
  // menu: a framed box with the labels in the third system font.
  void DrawMenuSurface();
  // The stage-file dialog through the main window; true when a stage was
  // loaded. A wait ended by the program closing counts as cancelled.
  bool RequestStageFile();

  int32_t m_nListTop = 0;   // the slot list's first shown slot
  int32_t m_nListRows = 0;  // its shown rows

 private:
  void Choose(int mode);
  void SetPlayKind(int kind);
};
