#include "frontend/scene_map_menu.h"

#include <algorithm>
#include <string>

#include "base/boxes.h"
#include "base/dbcs_text.h"
#include "base/number_text.h"
#include "base/window_messages.h"
#include "frontend/save_slot_list.h"
#include "game/game.h"
#include "game/play_drawing.h"
#include "media/dd_effects.h"
#include "media/font.h"
#include "media/input.h"
#include "media/palette_scheme.h"
#include "media/sound_effect.h"
#include "media/surface_table.h"
#include "media/system_menu.h"
#include "media/system_surfaces.h"
#include "records/save_data.h"
#include "records/save_slots.h"
#include "records/system.h"

MENUANCHOR MapMenuAnchor = {264, 192, 0, 0};
MENUANCHOR MapTotalAnchor = {16, 260, 0, 0};
MENUANCHOR MapSlotAnchor = {152, 160, 0, 0};
MENUANCHOR MapSaveAnchor = {0, 400, 0, 0};
MENUANCHOR MapAutoSaveAnchor = {0, 224, 0, 0};
MENUANCHOR MapNoSlotAnchor = {0, 232, 0, 0};
MENUANCHOR MapToTitleAnchor = {0, 224, 0, 0};

namespace {

// "%s の保存に失敗！"
const char kSlotSaveFailed[] = "%s \x82\xCC\x95\xDB\x91\xB6\x82\xC9\x8E\xB8\x94\x73\x81\x49";

// Writes the story into `slot`; a failure is shown with the file's name.
bool WriteStorySlot(int slot) {
  if (PlayData.SaveSlot(slot)) return true;
  std::string file;
  MakeSlotFileName(file, slot);
  ErrorBoxPrintf(kSlotSaveFailed, file.c_str());
  return false;
}

}  // namespace

cSceneMapMenu::cSceneMapMenu()
    : cFrontScene({&cSceneMapMenu::Menu, &cSceneMapMenu::SaveSlots, &cSceneMapMenu::AutoSave,
                   &cSceneMapMenu::BackToMap, &cSceneMapMenu::ToTitle},
                  3,
                  SCENEFRAME{SCENE_MAPMENU, BGMKIND_MAP, {kWindowImage, kSymbolImage, kAccessoryImage}, 3,
                             &SystemData.m_vMapMenu}) {}

void cSceneMapMenu::FadeIn() {
  DrawScreen();
  DrawMenuSprite(MENUSPRITE_ARROW, MapMenuAnchor.nX, MapMenuAnchor.nY);
  if (SceneFadeIn()) m_nPhase = 1;
}

void cSceneMapMenu::FadeOut() {
  if (!SceneFadeOut()) return;
  DDFillSurface(&BackBuffer, 16);
  FinishFadeOut(SCENE_MAPMENU);
}

void cSceneMapMenu::DrawScreen() {
  PlayDrawing->DDFillSurface(&BackBuffer, 16);
  DrawMenu();
  DrawTotal();
  AnimateColors();
}

void cSceneMapMenu::DrawMenu() {
  int chars = 0;
  for (int i = 0; i < m_nItems; ++i)
    chars = std::max(chars, CountChars(SystemData.m_vMapMenu.At(m_nItemIds[i]).m_strText.c_str()));
  DDDrawFramedBox(&BackBuffer, MapMenuAnchor.nX, MapMenuAnchor.nY, 16 * (chars + 1), kRowH * m_nItems,
                  &SurfaceTable[kWindowImage], 1, kFrameColour);
  for (int i = 0; i < m_nItems; ++i)
    PlayDrawing->DrawText(SysFont[1], &BackBuffer, MapMenuAnchor.nX + kLabelDX, MapMenuAnchor.nY + kRowH * i,
                          SystemData.m_vMapMenu.At(m_nItemIds[i]).m_strText.c_str(), 0);
}

void cSceneMapMenu::DrawTotal() {
  const int32_t total = PlayData.m_nBestTotal;
  if (!SystemData.m_bMapMenuTotal || total <= 0) return;
  const std::string& caption = SystemData.m_vTexts.At(kTotalText);
  const int w = 16 * (CountChars(caption.c_str()) + CountDigits(total));
  const int x = 320 - w / 2;
  PlayDrawing->DrawBox(SysFont[1], &BackBuffer, x, MapTotalAnchor.nY, w, 16);
  PlayDrawing->DrawTextF(SysFont[1], &BackBuffer, x, MapTotalAnchor.nY, "%s%d", caption.c_str(), total);
}

int cSceneMapMenu::Menu() {
  const cInput& input = Input.At(0);
  MenuCursor.MoveGrid(input.m_wDir, MapMenuAnchor.nX, MapMenuAnchor.nY, 0, kRowH, 1, m_nItems);
  DS_PlayCursorSound(input.m_wDir, 2, 0);
  if (input.m_wButton & kDecide) {
    const int id = m_nItemIds.At(MenuCursor.Cur()->nRow);
    // An entry a longer list adds has no screen of its own.
    if (id < MAPMENU_SAVE || id > MAPMENU_TITLE) {
      PlaySe(3);
      return 1;
    }
    PlaySe(1);
    MenuCursor.Push(0);
    m_nSubState = 0;
    m_nPhase = id + 2;
    return 1;
  }
  if (input.m_wButton & kCancel) {
    PlaySe(2);
    m_nSubState = 0;
    m_nPhase = 2 + MAPMENU_BACK;
    return 1;
  }
  DrawScreen();
  DrawMenuSprite(MENUSPRITE_ARROW, MenuCursor.Cur()->nX, MenuCursor.Cur()->nY);
  return 1;
}

void cSceneMapMenu::BackToMenu() {
  MenuCursor.Pop(1);
  m_nSubState = 0;
  m_nPhase = 1;
}

void cSceneMapMenu::ClearScreen() {
  PlayDrawing->DDFillSurface(&BackBuffer, 16);
  AnimateColors();
}

void cSceneMapMenu::DrawSlotList() {
  ClearScreen();
  DrawSaveSlotList(&BackBuffer, MapSlotAnchor.nX, MapSlotAnchor.nY, SlotSummary, m_nListTop, m_nListRows);
}

int cSceneMapMenu::SaveSlots() {
  const cInput& input = Input.At(0);
  if (m_nSubState == 0) {
    CURSORPOS* cur = MenuCursor.Cur();
    *cur = CURSORPOS{};
    cur->nRow = PlayData.m_nSlot;
    m_nListTop = cur->nRow;
    m_nSubState = 1;
    ScanSaveSlots(SlotSummary);
    m_nListRows = std::min(SlotSummary.Size(), kSlotRowsShown);
  }
  if (m_nSubState == 1) {
    MenuCursor.MoveList(input.m_wDir, 1, m_nListTop, MapSlotAnchor.nY, kRowH, MapSlotAnchor.nX, m_nListRows,
                        SlotSummary.Size(), 1);
    DS_PlayCursorSound(input.m_wDir, 3, 0);
    if (input.m_wButton & kDecide) {
      PlaySe(1);
      MenuCursor.Push(0);
      MenuCursor.Cur()->nRow = 1;
      m_nSubState = 2;
      return 1;
    }
    if (input.m_wButton & kCancel) {
      PlaySe(2);
      BackToMenu();
      return 1;
    }
    DrawSlotList();
    DrawMenuSprite(MENUSPRITE_ARROW, MenuCursor.Cur()->nX, MenuCursor.Cur()->nY);
    return 1;
  }
  MapSaveAnchor.nX = GetMenuLeft(320, kSaveText, 2, 1);
  MenuCursor.MoveGrid(input.m_wDir, MapSaveAnchor.nX, MapSaveAnchor.nY, 0, kRowH, 1, 2);
  DS_PlayCursorSound(input.m_wDir, 2, 0);
  const bool decide = input.m_wButton & kDecide;
  if (decide || (input.m_wButton & kCancel)) {
    if (!decide) {
      PlaySe(2);
    } else if (MenuCursor.Cur()->nRow != 0) {
      PlaySe(1);
    } else {
      // The story takes the slot only once its file holds it.
      const int slot = MenuCursor.Prev() ? MenuCursor.Prev()->nRow : -1;
      const int32_t previous = PlayData.m_nSlot;
      PlayData.m_nSlot = slot;
      const bool written = WriteStorySlot(slot);
      if (!written) PlayData.m_nSlot = previous;
      PlaySe(written ? 5 : 3);
    }
    MenuCursor.Pop(1);
    m_nSubState = 1;
    return 1;
  }
  DrawSlotList();
  DrawMenuText(&BackBuffer, MapSaveAnchor.nX, MapSaveAnchor.nY, kSaveText, 2, 1);
  if (const CURSORPOS* list = MenuCursor.Prev()) DrawMenuSprite(MENUSPRITE_TAG, list->nX, list->nY);
  DrawMenuSprite(MENUSPRITE_ARROW, MenuCursor.Cur()->nX, MenuCursor.Cur()->nY);
  return 1;
}

int cSceneMapMenu::AutoSave() {
  const cInput& input = Input.At(0);
  if (m_nSubState == 0) {
    CURSORPOS* cur = MenuCursor.Cur();
    *cur = CURSORPOS{};
    cur->nRow = PlayData.m_bAutoSave ? 0 : 1;
    m_nSubState = PlayData.m_nSlot < 0 ? 2 : 1;
  }
  if (m_nSubState == 2) {
    MapNoSlotAnchor.nX = GetMenuLeft(320, kNoSlotText, 1, 0);
    if (input.m_wButton & (kDecide | kCancel)) {
      PlaySe(input.m_wButton & kDecide ? 1 : 2);
      BackToMenu();
      return 1;
    }
    ClearScreen();
    DrawMenuText(&BackBuffer, MapNoSlotAnchor.nX, MapNoSlotAnchor.nY, kNoSlotText, 1, 0);
    return 1;
  }
  MapAutoSaveAnchor.nX = GetMenuLeft(320, kAutoSaveText, 2, 1);
  MenuCursor.MoveGrid(input.m_wDir, MapAutoSaveAnchor.nX, MapAutoSaveAnchor.nY, 0, kRowH, 1, 2);
  DS_PlayCursorSound(input.m_wDir, 2, 0);
  if (input.m_wButton & kDecide) {
    PlaySe(1);
    if (MenuCursor.Cur()->nRow == 0) {
      // The flag goes into the file, so a loaded slot keeps saving itself;
      // a slot that cannot be written leaves it off.
      PlayData.m_bAutoSave = 1;
      if (!WriteStorySlot(PlayData.m_nSlot)) PlayData.m_bAutoSave = 0;
    } else {
      PlayData.m_bAutoSave = 0;
    }
    BackToMenu();
    return 1;
  }
  if (input.m_wButton & kCancel) {
    PlaySe(2);
    BackToMenu();
    return 1;
  }
  ClearScreen();
  DrawMenuText(&BackBuffer, MapAutoSaveAnchor.nX, MapAutoSaveAnchor.nY, kAutoSaveText, 2, 1);
  DrawMenuSprite(MENUSPRITE_ARROW, MenuCursor.Cur()->nX, MenuCursor.Cur()->nY);
  return 1;
}

int cSceneMapMenu::BackToMap() {
  m_nSubState = 0;
  Leave(SCENE_WORLDMAP);
  return 1;
}

int cSceneMapMenu::ToTitle() {
  const cInput& input = Input.At(0);
  if (m_nSubState == 0) {
    CURSORPOS* cur = MenuCursor.Cur();
    *cur = CURSORPOS{};
    cur->nRow = 1;
    m_nSubState = 1;
  }
  MapToTitleAnchor.nX = GetMenuLeft(320, kToTitleText, 2, 1);
  MenuCursor.MoveGrid(input.m_wDir, MapToTitleAnchor.nX, MapToTitleAnchor.nY, 0, kRowH, 1, 2);
  DS_PlayCursorSound(input.m_wDir, 2, 0);
  if (input.m_wButton & kDecide) {
    PlaySe(1);
    if (MenuCursor.Cur()->nRow == 0) {
      m_nSubState = 0;
      Leave(SCENE_TITLE);
    } else {
      BackToMenu();
    }
    return 1;
  }
  if (input.m_wButton & kCancel) {
    PlaySe(2);
    BackToMenu();
    return 1;
  }
  ClearScreen();
  DrawMenuText(&BackBuffer, MapToTitleAnchor.nX, MapToTitleAnchor.nY, kToTitleText, 2, 1);
  DrawMenuSprite(MENUSPRITE_ARROW, MenuCursor.Cur()->nX, MenuCursor.Cur()->nY);
  return 1;
}
