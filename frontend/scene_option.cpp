#include "frontend/scene_option.h"

#include <algorithm>
#include <string>

#include "base/boxes.h"
#include "base/dbcs_text.h"
#include "base/number_text.h"
#include "base/report_log.h"
#include "base/window_messages.h"
#include "game/game.h"
#include "game/play_drawing.h"
#include "media/bgm.h"
#include "media/font.h"
#include "media/input.h"
#include "media/palette_scheme.h"
#include "media/sound_effect.h"
#include "media/system_surfaces.h"
#include "records/path_table.h"
#include "records/system.h"
#include "records/user_settings.h"

namespace {

constexpr int kOptionPath = 43;  // user_data\Option.dat
constexpr int kAccessoryImage = 49;
constexpr int kWindowImage = 45;
constexpr int kTitleOptionEntry = 5;  // the title menu's label of this screen is its caption

// Rows: the arrow at (48, 96 + 16 row), labels at x 64, values at x 208;
// while a value is edited its arrow stands at x 192.
constexpr int kRowX = 48, kRowY = 96, kRowH = 16;
constexpr int kLabelX = 64, kValueX = 208, kEditArrowX = 192;

// The edited values' ranges, by id.
constexpr int32_t kMaxValue[OPTION_RANKING_MODE + 1] = {23, 1, 10, 3};

// "%s の保存に失敗！"
const char kSaveFailed[] = "%s \x82\xCC\x95\xDB\x91\xB6\x82\xC9\x8E\xB8\x94\x73\x81\x49";

constexpr uint16_t kDecide = 1;  // button 1
constexpr uint16_t kCancel = 2;  // button 2

int32_t* OptionValue(int id) {
  switch (id) {
    case OPTION_PALETTE: return &OptionData.m_nPalette;
    case OPTION_MUSIC: return &OptionData.m_bBgm;
    case OPTION_VOLUME: return &OptionData.m_nSeVolume;
    case OPTION_RANKING_MODE: return &OptionData.m_nRankingMode;
    default: return nullptr;
  }
}

// The text shown beside a row.
std::string ValueText(int id) {
  std::string text;
  switch (id) {
    case OPTION_PALETTE: IntToText(text, OptionData.m_nPalette, 1, false, false); break;
    case OPTION_MUSIC: text = OptionData.m_bBgm ? "ON" : "OFF"; break;
    case OPTION_VOLUME: IntToText(text, OptionData.m_nSeVolume, 1, false, false); break;
    case OPTION_RANKING_MODE: {
      // A mode from an edited file still names one of the labels.
      const cVector<std::string>& labels = SystemData.m_vRankingEntryModes;
      if (!labels.empty()) text = labels[std::clamp(OptionData.m_nRankingMode, 0, labels.Size() - 1)];
      break;
    }
    case OPTION_NAME: text = OptionData.m_strRankingName; break;
    default: break;
  }
  return text;
}

}  // namespace

cSceneOption::cSceneOption()
    : cFrontScene({&cSceneOption::Menu}, 3,
                  SCENEFRAME{SCENE_OPTION, BGMKIND_OPTION, {kAccessoryImage, kWindowImage}, 2,
                             &SystemData.m_vOptionMenu}) {}

void cSceneOption::InitScene() { CreateMenuSurface(); }

bool cSceneOption::CreateMenuSurface() {
  if (!MakeFullScreenSurface()) return false;
  DrawMenuSurface();
  return true;
}

void cSceneOption::DrawMenuSurface() {
  DDSURFACEDATA* surface = BeginFullScreenSurface(kTitleOptionEntry);
  if (!surface) return;
  for (int i = 0; i < m_nItems; ++i) {
    const int id = m_nItemIds[i];
    const int y = kRowY + kRowH * i;
    SysFont[1].DrawText(surface, kLabelX, y, SystemData.m_vOptionMenu.At(id).m_strText.c_str(), 0);
    const std::string value = ValueText(id);
    if (!value.empty()) SysFont[1].DrawText(surface, kValueX, y, value.c_str(), 0);
  }
}

void cSceneOption::DrawScreen() {
  if (Off_Scene.empty()) return;
  if (Off_Scene[0].bLost) DrawMenuSurface();
  PlayDrawing->DDBlt(&BackBuffer, 0, 0, 640, 480, &Off_Scene[0], 0, 0, 0);
  AnimateColors();
}

int cSceneOption::Menu() {
  if (m_nSubState == 0) {
    *MenuCursor.Cur() = CURSORPOS{};
    m_nSubState = 1;
  }
  if (m_nSubState == 1)
    MoveOverRows();
  else
    EditValue();
  return 1;
}

void cSceneOption::MoveOverRows() {
  const cInput& input = Input.At(0);
  MenuCursor.MoveGrid(input.m_wDir, kRowX, kRowY, 0, kRowH, 1, m_nItems);
  DS_PlayCursorSound(input.m_wDir, 2, 0);
  if (input.m_wButton & kDecide) {
    PlaySe(1);
    const int id = m_nItemIds.At(MenuCursor.Cur()->nRow);
    if (id >= OPTION_PALETTE && id <= OPTION_RANKING_MODE) {
      m_nEditId = id;
      m_pEditValue = OptionValue(id);
      m_nEditMin = 0;
      m_nEditMax = kMaxValue[id];
      m_nEditOld = *m_pEditValue;
      MenuCursor.Push(0);
      m_nSubState = 2;
    } else if (id == OPTION_NAME) {
      SendRequest(WM_GAME_NAMEENTRY, 0, 0, bNameDone);
      DrawMenuSurface();
    } else if (id == OPTION_BACK) {
      Leave(SCENE_TITLE);
      m_nSubState = 0;
    }
    return;
  }
  if (input.m_wButton & kCancel) {
    PlaySe(2);
    Leave(SCENE_TITLE);
    m_nSubState = 0;
    return;
  }
  DrawScreen();
  DrawMenuSprite(MENUSPRITE_ARROW, MenuCursor.Cur()->nX, MenuCursor.Cur()->nY);
}

void cSceneOption::EditValue() {
  const cInput& input = Input.At(0);
  int32_t& value = *m_pEditValue;
  for (uint16_t key : {INPUT_UP, INPUT_DOWN}) {
    if (!(input.m_wDir & key)) continue;
    value += key == INPUT_UP ? 1 : -1;
    if (value < m_nEditMin) value = m_nEditMax;
    if (value > m_nEditMax) value = m_nEditMin;
    ApplyValue();
    DrawMenuSurface();
  }
  DS_PlayCursorSound(input.m_wDir, 2, 0);
  if (input.m_wButton & kDecide) {
    PlaySe(1);
    MenuCursor.Pop(1);
    m_nSubState = 1;
    return;
  }
  if (input.m_wButton & kCancel) {
    PlaySe(2);
    value = m_nEditOld;
    ApplyValue();
    MenuCursor.Pop(1);
    m_nSubState = 1;
    DrawMenuSurface();
    return;
  }
  DrawScreen();
  const CURSORPOS* outer = MenuCursor.Prev();
  if (!outer) return;
  DrawMenuSprite(MENUSPRITE_TAG, outer->nX, outer->nY);
  DrawMenuSprite(MENUSPRITE_ARROW, kEditArrowX, outer->nY);
}

void cSceneOption::ApplyValue() {
  if (m_nEditId == OPTION_PALETTE) {
    SetPaletteScheme(OptionData.m_nPalette);
  } else if (m_nEditId == OPTION_VOLUME) {
    const int32_t volume = SeVolumeForStep(OptionData.m_nSeVolume);
    for (SEDATA& entry : SeBank) DS_SetVolume(&entry, 0, volume, 0);
  }
}

void cSceneOption::OnFadedOut() {
  ApplyBgmSetting();
  // The values stay in force for this run even when they could not be kept.
  if (!OptionData.SaveToFile(PathTable[kOptionPath])) ReportPrintf(kSaveFailed, PathTable[kOptionPath]);
}

void cSceneOption::ApplyBgmSetting() {
  if (Bgm.m_bInit && !OptionData.m_bBgm) {
    Bgm.UnInit();
  } else if (!Bgm.m_bInit && OptionData.m_bBgm) {
    Bgm.UnInit();
    Bgm.Init(1, BgmOggNames, BgmMidiNames, BGM_SLOT_COUNT);
  } else {
    return;
  }
  Game.m_nBgm = 0;
}
