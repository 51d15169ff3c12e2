#pragma once
// The map menu (scene 2, the world map's cancel button): System.dat's four
// entries save the story into one of the 99 slots, switch the automatic
// save after each stage, go back to the map, or back to the title. Only
// the current slot, the auto-save flag and the slot files change here.
#include <cstdint>

#include "frontend/scene_frame.h"

// Entry ids of System.dat's map menu; the id picks the phase (id + 2).
constexpr int MAPMENU_SAVE = 0;
constexpr int MAPMENU_AUTOSAVE = 1;
constexpr int MAPMENU_BACK = 2;
constexpr int MAPMENU_TITLE = 3;

// The screen positions of the map menu (the questions' x is replaced each
// frame by the left edge that centres them on x = 320).
extern MENUANCHOR MapMenuAnchor;
extern MENUANCHOR MapTotalAnchor;
extern MENUANCHOR MapSlotAnchor;
extern MENUANCHOR MapSaveAnchor;
extern MENUANCHOR MapAutoSaveAnchor;
extern MENUANCHOR MapNoSlotAnchor;
extern MENUANCHOR MapToTitleAnchor;

class cSceneMapMenu : public cFrontScene<cSceneMapMenu> {
 public:
  cSceneMapMenu();

  // Phase 0: the menu with the arrow on its first row comes up.
  void FadeIn() override;
  // The last phase: the next scene follows; the cursor is left as it is.
  void FadeOut() override;

  // Phase 1: the menu.
  int Menu();
  // Phase 2: the slot list (step 1) and "save here?" (step 2).
  int SaveSlots();
  // Phase 3: "auto-save on / off" (step 1), or the notice that the story
  // has no slot yet (step 2).
  int AutoSave();
  // Phase 4: back to the map.
  int BackToMap();
  // Phase 5: "back to the title?".
  int ToTitle();

  // The frame's calls (see cFrontScene).
  void DrawScreen();
  // The framed box of the visible entries at (264, 192).
  void DrawMenu();
  // Text 4 and the best-score total, when System.dat shows it and it is
  // above 0.
  void DrawTotal();

  int32_t m_nListTop = 0;   // the slot list's first shown slot
  int32_t m_nListRows = 0;  // its shown rows

 private:
  static constexpr int kWindowImage = 45;  // SurfaceTable entries
  static constexpr int kAccessoryImage = 49;
  static constexpr int kSymbolImage = 50;

  static constexpr int kRowH = 16;
  static constexpr int kLabelDX = 16;  // labels stand right of the arrow
  static constexpr int kSlotRowsShown = 10;
  static constexpr int kFrameColour = 240;

  // System.dat texts.
  static constexpr int kTotalText = 4;      // "トータルスコア"
  static constexpr int kSaveText = 12;      // "セーブする", "やっぱりやめる"
  static constexpr int kAutoSaveText = 14;  // "オートセーブＯＮ", "オートセーブＯＦＦ"
  static constexpr int kNoSlotText = 16;    // "保存先が不明です！一度は「セーブ」して下さい！"
  static constexpr int kToTitleText = 17;   // "タイトルへ戻る", "やっぱりやめる"

  static constexpr uint16_t kDecide = 1;  // buttons
  static constexpr uint16_t kCancel = 2;

  // A nested question closed: its cursor goes, the menu runs again.
  void BackToMenu();
  // The screen cleared for a nested question.
  void ClearScreen();
  void DrawSlotList();
};
