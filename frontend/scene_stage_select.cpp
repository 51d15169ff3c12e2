#include "frontend/scene_stage_select.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/boxes.h"
#include "base/dbcs_text.h"
#include "base/number_text.h"
#include "base/window_messages.h"
#include "game/game.h"
#include "game/play_drawing.h"
#include "media/dd_blit.h"
#include "media/font.h"
#include "media/input.h"
#include "media/palette_scheme.h"
#include "media/sound_effect.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "records/path_table.h"
#include "records/ranking.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/stage_load.h"
#include "records/system.h"

MENUANCHOR StageSelectAnchor = {292, 108, 0, 0};

namespace {

constexpr int kSelectWindowImage = 45;
constexpr int kSelectAccessoryImage = 49;
constexpr int kSelectStagePrefix = 37;  // data\stg4\c
constexpr int kSelectStageExt = 1;          // stg4
constexpr int kTitleChallengeEntry = 2;  // the title menu's label of this screen is its caption
constexpr int kSelectTextWorld = 0, kSelectTextBest = 3, kSelectTextTotal = 4;

constexpr int kSelectRowsShown = 10;
constexpr int kSelectRowX = 32, kSelectRowY = 160, kSelectRowH = 32;
constexpr int kSelectLabelX = 64;

constexpr uint16_t kSelectDecide = 1;       // button 1
constexpr uint16_t kSelectCancel = 2;       // button 2
constexpr uint16_t kSelectRankingView = 4;  // button 3
constexpr uint16_t kSelectRankingNext = 8;  // button 4

// "ステージファイル %s が読み込めません！"
const char kStageCannotLoad[] =
    "\x83\x58\x83\x65\x81\x5B\x83\x57\x83\x74\x83\x40\x83\x43\x83\x8B %s "
    "\x82\xAA\x93\xC7\x82\xDD\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1\x81\x49";

bool SelectRankingOn() { return SystemData.m_vRankingModes.At(PLAYKIND_CHALLENGE).m_bRanking != 0; }

// Record e of the challenge list; a stage past its end shows as never played.
const cChallengeRecord& SelectRecordOf(int e) {
  static const cChallengeRecord none;
  return e >= 0 && e < PlayData.m_vChallenge.Size() ? PlayData.m_vChallenge[e] : none;
}

}  // namespace

std::string ChallengeStageName(int n) {
  char name[64];
  std::snprintf(name, sizeof name, "%s%02d-1.%s", PathTable[kSelectStagePrefix], n, ExtTable[kSelectStageExt]);
  return name;
}

cSceneStageSelect::cSceneStageSelect()
    : cFrontScene({&cSceneStageSelect::Select}, 15,
                  SCENEFRAME{SCENE_STAGESELECT, BGMKIND_STAGESELECT, {kSelectAccessoryImage, kSelectWindowImage}, 2, nullptr}) {}

void cSceneStageSelect::InitScene() {
  // The row and top kept from the last visit; a list that shrank since (or
  // a value from elsewhere) brings them back inside it, the row in view.
  CURSORPOS* cur = MenuCursor.Cur();
  m_nListTop = Game.m_nSelectTop;
  UpdateListSize();
  cur->nRow = std::clamp(Game.m_nSelectCursor, 0, std::max(m_nCount - 1, 0));
  m_nListTop = std::clamp(m_nListTop, std::max(cur->nRow - (kSelectRowsShown - 1), 0),
                          std::min(cur->nRow, std::max(m_nCount - kSelectRowsShown, 0)));
  UpdateListSize();
  cur->nX = kSelectRowX;
  cur->nY = kSelectRowY + kSelectRowH * (cur->nRow - m_nListTop);
  SelectStage(cur->nRow + 1);
  CreateScreenSurface();
}

void cSceneStageSelect::UpdateListSize() {
  const int32_t open = SystemData.m_bAllChallengesOpen ? SystemData.m_nChallengeStages : PlayData.m_nUnlocked;
  m_nCount = std::max(open, 0);
  m_nRows = std::clamp(m_nCount - m_nListTop, 0, kSelectRowsShown);
}

void cSceneStageSelect::SelectStage(int n) {
  PlayData.SetStagePath(ChallengeStageName(n));
  if (Game.m_bRanking) Ranking.LoadFor(Game.m_nPlayKind, PlayData.m_strStagePath);
}

bool cSceneStageSelect::CreateScreenSurface() {
  if (!MakeFullScreenSurface()) return false;
  DrawScreenSurface();
  return true;
}

void cSceneStageSelect::DrawScreenSurface() {
  DDSURFACEDATA* surface = BeginFullScreenSurface(kTitleChallengeEntry);
  if (!surface) return;
  const std::string& totalText = SystemData.m_vTexts.At(kSelectTextTotal);
  if (SystemData.m_bSelectTotal && PlayData.m_nBestTotal > 0) {
    const int width = 16 * (CountChars(totalText.c_str()) + CountDigits(PlayData.m_nBestTotal));
    SysFont[1].DrawTextF(surface, 320 - width / 2, 88, "%s%d", totalText.c_str(), PlayData.m_nBestTotal);
  }
  if (!PlayData.m_bRankingView && SystemData.m_bSelectScores)
    SysFont[2].DrawTextF(surface, 32, 128, "         %s", SystemData.m_vTexts.At(kSelectTextBest).c_str());
  const std::string& world = SystemData.m_vTexts.At(kSelectTextWorld);
  const int chars = CountChars(world.c_str());
  for (int i = 0; i < m_nRows; ++i) {
    const int y = kSelectRowY + kSelectRowH * i;
    const int e = m_nListTop + i;
    SysFont[2].DrawTextF(surface, kSelectLabelX, y, "%s%d", world.c_str(), e + 1);
    const cChallengeRecord& record = SelectRecordOf(e);
    if (record.m_bCleared) DDBlt(surface, 32 * (chars + 4), y, 32, 32, &SurfaceTable[kSelectAccessoryImage], 96, 0, 1);
    if (SystemData.m_bSelectScores) SysFont[2].DrawTextF(surface, 32 * chars + 192, y, "%d", record.m_nBestScore);
  }
  if (SelectRankingOn() && PlayData.m_bRankingView)
    Ranking.Draw(surface, StageSelectAnchor.nX, StageSelectAnchor.nY, PlayData.m_nRankingCat, -1);
}

void cSceneStageSelect::DrawScreen() {
  if (Off_Scene.empty()) return;
  if (Off_Scene[0].bLost) DrawScreenSurface();
  PlayDrawing->DDBlt(&BackBuffer, 0, 0, 640, 480, &Off_Scene[0], 0, 0, 0);
  AnimateColors();
}

int cSceneStageSelect::Select() {
  const cInput& input = Input.At(0);
  UpdateListSize();
  MenuCursor.MoveList(input.m_wDir, 1, m_nListTop, kSelectRowY, kSelectRowH, kSelectRowX, m_nRows, m_nCount, 1);
  UpdateListSize();
  DS_PlayCursorSound(input.m_wDir, 3, 0);
  if (input.m_wDir & (INPUT_LEFT | INPUT_RIGHT | INPUT_UP | INPUT_DOWN)) {
    SelectStage(MenuCursor.Cur()->nRow + 1);
    DrawScreenSurface();
  }
  if (input.m_wButton & kSelectDecide) {
    Decide();
    return 1;
  }
  if (input.m_wButton & kSelectCancel) {
    PlaySe(2);
    Leave(SCENE_TITLE);
    return 1;
  }
  RankingKeys(input.m_wButton);
  DrawScreen();
  DrawMenuSprite(MENUSPRITE_HAND, MenuCursor.Cur()->nX, MenuCursor.Cur()->nY);
  return 1;
}

void cSceneStageSelect::Decide() {
  // An empty list has nothing to load.
  if (m_nCount <= 0) {
    PlaySe(3);
    return;
  }
  const int row = MenuCursor.Cur()->nRow;
  const std::string name = ChallengeStageName(row + 1);
  if (LoadStage(name.c_str(), 1, &StageCopy) != 1) {
    PlaySe(3);
    ErrorBoxPrintf(kStageCannotLoad, name.c_str());
    return;
  }
  PlaySe(1);
  PlayData.SetStagePath(Stage.m_strPath);
  PlayData.m_nAreaNo = 1;
  PlayData.m_nStageNo = row + 1;
  if (SystemData.m_vInfiniteLives.At(PLAYKIND_CHALLENGE)) {
    PlayData.m_nStartLives = PlayData.m_nLives = LIVES_INFINITE;
  } else {
    PlayData.m_nStartLives = SystemData.m_vStartLives.At(PLAYKIND_CHALLENGE);
    PlayData.m_nLives = PlayData.m_nStartLives - 1;
  }
  PlayData.m_bNumberedStage = 1;
  Game.m_nSelectCursor = row;
  Game.m_nSelectTop = m_nListTop;
  Leave(SCENE_STAGE);
}

void cSceneStageSelect::RankingKeys(uint16_t buttons) {
  if (buttons & kSelectRankingView) {
    if (SelectRankingOn()) {
      PlaySe(6);
      PlayData.m_bRankingView = !PlayData.m_bRankingView;
      DrawScreenSurface();
    } else {
      PlayData.m_bRankingView = 0;
    }
  } else if ((buttons & kSelectRankingNext) && SelectRankingOn()) {
    if (SystemData.CountRankingCategories(Game.m_nPlayKind) >= 2) {
      PlaySe(6);
      PlayData.CycleRankingCategory(Game.m_nPlayKind, +1);
    }
    DrawScreenSurface();
  }
}
