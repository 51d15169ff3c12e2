#include "frontend/scene_title.h"

#include <algorithm>

#include "base/boxes.h"
#include "base/dbcs_text.h"
#include "base/window_messages.h"
#include "frontend/replay_request.h"
#include "frontend/save_slot_list.h"
#include "game/game.h"
#include "game/play_drawing.h"
#include "media/dd_blit.h"
#include "media/font.h"
#include "media/input.h"
#include "media/palette_scheme.h"
#include "media/sound_effect.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "records/new_run.h"
#include "records/save_data.h"
#include "records/save_slots.h"
#include "records/system.h"

namespace {

constexpr int kWindowImage = 45;
constexpr int kTitleImage = 47;
constexpr int kGameModeImage = 48;
constexpr int kAccessoryImage = 49;

constexpr int kRowH = 32;       // a menu row, and the graphic menu's strip per entry id
constexpr int kLabelX = 32;     // the labels and strips stand right of the hand
constexpr int kSlotRowH = 16;   // a row of the save-slot list
constexpr int kSlotRowsShown = 10;

constexpr uint16_t kDecide = 1;  // button 1
constexpr uint16_t kCancel = 2;  // button 2

DDSURFACEDATA& GameModeImage() { return SurfaceTable[kGameModeImage]; }

}  // namespace

cSceneTitle::cSceneTitle()
    : cFrontScene({&cSceneTitle::Menu, &cSceneTitle::Continue}, 3,
                  SCENEFRAME{SCENE_TITLE, BGMKIND_TITLE, {kTitleImage, kGameModeImage, kAccessoryImage, kWindowImage},
                             4, &SystemData.m_vTitleMenu}) {}

void cSceneTitle::InitScene() {
  // The cursor starts on the mode chosen last time, when it is shown.
  CURSORPOS* cur = MenuCursor.Cur();
  cur->nRow = Game.m_nPlayCommand;
  for (int i = 0; i < m_nItems; ++i)
    if (m_nItemIds[i] == Game.m_nPlayCommand) cur->nRow = i;
  TitleMenuAnchor.nX = SystemData.m_bGraphicTitleMenu ? 288 - GameModeImage().nWidth / 2 : 192;
  TitleMenuAnchor.nY = 240;
  BuildMenuSurface();
}

bool cSceneTitle::BuildMenuSurface() {
  DDReleaseSurfaceVector(Off_Scene);
  Off_Scene.clear();
  Off_SceneDef.clear();
  int width = 0;
  if (SystemData.m_bGraphicTitleMenu) {
    width = GameModeImage().nWidth + kLabelX;
  } else {
    int chars = 0;
    for (int i = 0; i < m_nItems; ++i)
      chars = std::max(chars, CountChars(SystemData.m_vTitleMenu.At(m_nItemIds[i]).m_strText.c_str()));
    width = 32 * chars + 34;
  }
  const int height = kRowH * m_nItems + 2;
  if (!DDAddSurface(Off_Scene, Off_SceneDef, width, height, 1, 0, DTMEMORYTYPE_VIDEO_RT, nullptr)) {
    PostCloseMessage(hWndMain.load());
    return false;
  }
  DrawMenuSurface();
  return true;
}

void cSceneTitle::DrawMenuSurface() {
  if (Off_Scene.empty()) return;
  DDSURFACEDATA* surface = &Off_Scene[0];
  surface->bLost = 0;
  DDFillSurface(surface, 0);
  if (SystemData.m_bGraphicTitleMenu) {
    DDSURFACEDATA& strips = GameModeImage();
    for (int i = 0; i < m_nItems; ++i)
      DDBlt(surface, kLabelX, kRowH * i, strips.nWidth, kRowH, &strips, 0, kRowH * m_nItemIds[i], 0);
    return;
  }
  SysFont[2].DrawBox(surface, 1, 1, surface->nWidth - 2, surface->nHeight - 2);
  for (int i = 0; i < m_nItems; ++i)
    SysFont[2].DrawText(surface, kLabelX, kRowH * i, SystemData.m_vTitleMenu.At(m_nItemIds[i]).m_strText.c_str(), 0);
}

void cSceneTitle::DrawScreen() {
  PlayDrawing->DDBlt(&BackBuffer, 0, 0, 640, 480, &SurfaceTable[kTitleImage], 0, 0, 0);
  if (!Off_Scene.empty()) {
    DDSURFACEDATA& menu = Off_Scene[0];
    if (menu.bLost) DrawMenuSurface();
    PlayDrawing->DDBlt(&BackBuffer, TitleMenuAnchor.nX, TitleMenuAnchor.nY, menu.nWidth, menu.nHeight, &menu, 0, 0,
                       1);
  }
  AnimateColors();
}

int cSceneTitle::Menu() {
  const cInput& input = Input.At(0);
  MenuCursor.MoveGrid(input.m_wDir, TitleMenuAnchor.nX, TitleMenuAnchor.nY, 0, kRowH, 1, m_nItems);
  DS_PlayCursorSound(input.m_wDir, 2, 0);
  if (!(input.m_wButton & kDecide)) {
    DrawScreen();
    DrawMenuSprite(MENUSPRITE_HAND, MenuCursor.Cur()->nX, MenuCursor.Cur()->nY);
    return 1;
  }
  PlaySe(1);
  const int mode = m_nItemIds.At(MenuCursor.Cur()->nRow);
  Game.m_nPlayCommand = mode;
  Choose(mode);
  return 1;
}

void cSceneTitle::Choose(int mode) {
  switch (mode) {
    case GAMEMODE_NEWSTORY:
      SetPlayKind(PLAYKIND_STORY);
      NewStory();
      Leave(SCENE_WORLDMAP);
      break;
    case GAMEMODE_CONTINUE:
      SetPlayKind(PLAYKIND_STORY);
      MenuCursor.Push(0);
      m_nPhase = 2;
      m_nSubState = 0;
      break;
    case GAMEMODE_CHALLENGE:
      SetPlayKind(PLAYKIND_CHALLENGE);
      if (!PlayData.LoadChallenge()) {
        PlayData.Reset();
        PlayData.m_vChallenge.resize(std::max(SystemData.m_nChallengeStages, 0));
      }
      Leave(SCENE_STAGESELECT);
      break;
    case GAMEMODE_FREE:
      SetPlayKind(PLAYKIND_FREE);
      if (RequestStageFile()) Leave(SCENE_STAGE);
      break;
    case GAMEMODE_REPLAY:
      SetPlayKind(PLAYKIND_REPLAY);
      if (RequestReplayFile()) Leave(SCENE_STAGE);
      break;
    case GAMEMODE_OPTION:
      Leave(SCENE_OPTION);
      break;
    case GAMEMODE_EXIT:
      PostCloseMessage(hWndMain.load());
      break;
    default:
      break;
  }
}

void cSceneTitle::SetPlayKind(int kind) {
  Game.m_nPlayKind = kind;
  const cVector<cEdRankingMode>& modes = SystemData.m_vRankingModes;
  Game.m_bRanking = kind < modes.Size() ? modes[kind].m_bRanking : 0;
}

bool cSceneTitle::RequestStageFile() {
  return SendRequest(WM_GAME_OPENSTAGE, 0, 0, FileDlgDone) && FileDlgResult.load() != 0;
}

int cSceneTitle::Continue() {
  if (m_nSubState == 0) {
    *MenuCursor.Cur() = CURSORPOS{};
    m_nListTop = 0;
    m_nSubState = 1;
    ScanSaveSlots(SlotSummary);
  }
  const int count = SlotSummary.Size();
  m_nListRows = std::min(count, kSlotRowsShown);
  const cInput& input = Input.At(0);
  MenuCursor.MoveList(input.m_wDir, 1, m_nListTop, TitleSlotAnchor.nY, kSlotRowH, TitleSlotAnchor.nX, m_nListRows,
                      count, 1);
  DS_PlayCursorSound(input.m_wDir, 3, 0);
  if (input.m_wButton & kDecide) {
    const int slot = MenuCursor.Cur()->nRow;
    if (slot < 0 || slot >= count || !SlotSummary[slot].m_bUsed) {
      PlaySe(3);
      return 1;
    }
    // A slot damaged since the scan is refused and shown unused from now on.
    if (!PlayData.LoadSlot(slot)) {
      PlaySe(3);
      SlotSummary[slot].m_bUsed = 0;
      return 1;
    }
    PlaySe(1);
    Leave(SCENE_WORLDMAP);
    return 1;
  }
  if (input.m_wButton & kCancel) {
    PlaySe(2);
    MenuCursor.Pop(1);
    m_nPhase = 1;
    m_nSubState = 0;
    return 1;
  }
  PlayDrawing->DDBlt(&BackBuffer, 0, 0, 640, 480, &SurfaceTable[kTitleImage], 0, 0, 0);
  AnimateColors();
  DrawSaveSlotList(&BackBuffer, TitleSlotAnchor.nX, TitleSlotAnchor.nY, SlotSummary, m_nListTop, m_nListRows);
  DrawMenuSprite(MENUSPRITE_ARROW, MenuCursor.Cur()->nX, MenuCursor.Cur()->nY);
  return 1;
}
