#pragma once
// The options screen (scene 5, from the title): the player's palette
// scheme, music switch, sound-effect volume, ranking registration mode and
// ranking name (OptionData). Palette and volume act while they are edited;
// leaving saves Option.dat and starts or ends the music manager when the
// music switch changed.
#include <cstdint>

#include "frontend/scene_frame.h"

// The rows' meanings, by entry id of System.dat's option list.
constexpr int OPTION_PALETTE = 0;
constexpr int OPTION_MUSIC = 1;
constexpr int OPTION_VOLUME = 2;
constexpr int OPTION_RANKING_MODE = 3;
constexpr int OPTION_NAME = 4;
constexpr int OPTION_BACK = 5;

class cSceneOption : public cFrontScene<cSceneOption> {
 public:
  cSceneOption();

  // Phase 1: step 1 moves over the rows, step 2 edits the chosen value.
  int Menu();

  // The frame's calls (see cFrontScene).
  void InitScene();
  void DrawScreen();
  void RedrawSurfaces() { DrawMenuSurface(); }
  void OnFadedOut();

  // Leaving: the music manager ended when the music was switched off, or
  // started afresh with the program's music slots when it was switched on;
  // either way the next screen starts its music. Nothing when the switch
  // matches the manager.
  void ApplyBgmSetting();
  // The 640 x 480 screen surface in Off_Scene, drawn; a failure closes the
  // program.
  bool CreateMenuSurface();
  // The box, the caption and every visible row with its value.
  void DrawMenuSurface();

  // The value being edited (step 2): its row's id, its value when the edit
  // began, where it lives in OptionData and its range.
  int32_t m_nEditId = -1;
  int32_t m_nEditOld = 0;
  int32_t* m_pEditValue = nullptr;
  int32_t m_nEditMin = 0;
  int32_t m_nEditMax = 0;

 private:
  void MoveOverRows();
  void EditValue();
  // Puts a value that acts at once into effect (palette, volume).
  void ApplyValue();
};
