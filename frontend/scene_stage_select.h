#pragma once
// The stage select (scene 3, the challenge mode's hub): the challenge stages
// 1..N, each the first area of a numbered stage file, with their cleared
// marks and best scores and, on request, the selected stage's ranking. The
// list grows as stages are cleared unless System.dat opens them all; the
// chosen stage is loaded and played (scene 4), and the list reopens where
// it was left (Game keeps its row and top).
#include <cstdint>
#include <string>

#include "frontend/scene_frame.h"

// Where the ranking of the selected stage stands on the screen.
extern MENUANCHOR StageSelectAnchor;

// Challenge stage n's file name as the numbered loader takes it
// ("data\stg4\cNN-1.stg4").
std::string ChallengeStageName(int n);

class cSceneStageSelect : public cFrontScene<cSceneStageSelect> {
 public:
  cSceneStageSelect();

  // Phase 1: the list; decide loads and plays the stage under the cursor.
  int Select();

  // The frame's calls (see cFrontScene).
  void InitScene();
  void DrawScreen();
  void RedrawSurfaces() { DrawScreenSurface(); }

  // The rows that can be chosen (all of System.dat's challenge stages when
  // it opens them all, else the unlocked ones) and those shown from the
  // list top (at most 10, never below 0).
  void UpdateListSize();
  // Stage n (1-based) becomes the progress record's stage path, and its
  // ranking is loaded when rankings are on.
  void SelectStage(int n);
  // The 640 x 480 screen surface in Off_Scene, drawn; a failure closes the
  // program.
  bool CreateScreenSurface();
  // The box, caption, total, heading, rows and the ranking when shown.
  void DrawScreenSurface();

  int32_t m_nListTop = 0;  // first shown stage index (0-based)
  int32_t m_nCount = 0;    // stages that can be chosen
  int32_t m_nRows = 0;     // rows shown

 private:
  void Decide();
  // Button 3 shows or hides the ranking, button 4 moves its category.
  void RankingKeys(uint16_t buttons);
};
