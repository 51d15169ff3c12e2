#include "frontend/scene_world_map.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "base/boxes.h"
#include "base/report_log.h"
#include "base/window_messages.h"
#include "game/game.h"
#include "media/input.h"
#include "media/sound_effect.h"
#include "media/surface_table.h"
#include "media/system_menu.h"
#include "media/system_surfaces.h"
#include "records/save_data.h"
#include "records/ranking.h"
#include "records/save_slots.h"
#include "records/stage.h"
#include "records/stage_load.h"
#include "records/system.h"

MENUANCHOR WorldConfirmAnchor = {0, 260, 0, 0};
MENUANCHOR WorldRankingAnchor = {367, 64, 0, 0};

CELLPOS cSceneWorldMap::s_LastView = {-1, -1};
int32_t cSceneWorldMap::s_nWalkerCount = 0;

namespace {

// "ステージファイル %s が読み込めません！"
const char kStageLoadFailed[] =
    "\x83\x58\x83\x65\x81\x5B\x83\x57\x83\x74\x83\x40\x83\x43\x83\x8B %s \x82\xAA\x93\xC7\x82\xDD\x8D\x9E\x82\xDF"
    "\x82\xDC\x82\xB9\x82\xF1\x81\x49";
// "%s の読み込みに失敗！"
const char kPictureMissing[] = "%s \x82\xCC\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x82\xC9\x8E\xB8\x94\x73\x81\x49";
// "%s の保存に失敗！"
const char kAutoSaveFailed[] = "%s \x82\xCC\x95\xDB\x91\xB6\x82\xC9\x8E\xB8\x94\x73\x81\x49";

// The map's last column and row (0 for a map without cells).
int LastCol() { return std::max(WorldMap.m_nWidth - 1, 0); }
int LastRow() { return std::max(WorldMap.m_nHeight - 1, 0); }

bool StageCleared(int stage) {
  const cVector<int32_t>& flags = PlayData.m_vStageClear;
  return stage >= 0 && stage < flags.Size() && flags[stage] != 0;
}

// Common variable `index` compared with `value` by `op`; an index outside
// the variables or an unknown operator fails.
bool VariableTestPasses(int index, int32_t value, int op) {
  const cVector<int32_t>& vars = PlayData.m_vCommonVar;
  if (index < 0 || index >= vars.Size()) return false;
  const int64_t v = vars[index];
  const int64_t c = value;
  switch (op) {
    case 0: return v == c;
    case 1: return v != c;
    case 2: return v >= c;
    case 3: return v <= c;
    case 4: return v > c;
    case 5: return v < c;
    case 6: return c == 0 || std::llabs(v) % c == 0;
    case 7: return c != 0 && std::llabs(v) % c != 0;
    default: return false;
  }
}

bool RouteOpen(const cEdWorldRoute& route) {
  if (route.m_nNeedStage > 0 && !StageCleared(route.m_nNeedStage)) return false;
  if (route.m_nVarNo != 0 && !VariableTestPasses(route.m_nVarNo, route.m_nVarValue, route.m_nVarCmp)) return false;
  return PlayData.m_nBestTotal >= route.m_nNeedTotal;
}

bool StoryRankingOn() {
  const cVector<cEdRankingMode>& modes = SystemData.m_vRankingModes;
  return PLAYKIND_STORY < modes.Size() && modes[PLAYKIND_STORY].m_bRanking;
}

}  // namespace

cSceneWorldMap::cSceneWorldMap()
    : cFrontScene({&cSceneWorldMap::Walk, &cSceneWorldMap::ConfirmStage}, 15,
                  SCENEFRAME{SCENE_WORLDMAP,
                             BGMKIND_MAP,
                             {SURFACE_WORLDBACK, kChipImage, kEventImage, kAccessoryImage, kWindowImage, kMapSurface},
                             6,
                             nullptr}) {}

void cSceneWorldMap::ResetStatics() {
  s_LastView = {-1, -1};
  s_nWalkerCount = 0;
}

void cSceneWorldMap::Init() {
  SurfaceDefs[SURFACE_WORLDBACK].szFileName = WorldMap.m_strFile;
  cFrontScene::Init();
  // The picture is optional to the loader; a map that asks for it and does
  // not get it shows its fill colour, and the report log says why.
  const DDSURFACEDATA& back = SurfaceTable[SURFACE_WORLDBACK];
  if (WorldMap.m_bShowImage && !back.lpDT && !(back.lpDDS && back.lpDDS->lpSurface))
    ReportPrintf(kPictureMissing, WorldMap.m_strFile.c_str());
}

void cSceneWorldMap::InitScene() {
  PlayData.SumMapTallies();
  // A damaged map or a slot of another map may put the walker outside it.
  CURSORPOS* cur = MenuCursor.Cur();
  cur->nCol = PlayData.m_nMapX = std::clamp(PlayData.m_nMapX, 0, LastCol());
  cur->nRow = PlayData.m_nMapY = std::clamp(PlayData.m_nMapY, 0, LastRow());
  cur->nX = kWalkerX;
  cur->nY = kWalkerY;
  SetViewOrigin();
  m_nDir = PlayData.m_nWalkDir;
  FindNodeUnderWalker();
  m_PrevPos = *cur;
  m_SelPos = CURSORPOS{};
  CreateRankingSurface();
  if (IsStageEntrance()) SelectRoute();
  // Back from a stage: the story keeps itself in its slot. Without a slot
  // there is nowhere to write.
  if (PlayData.m_bAutoSave && Game.m_nPrevScene == SCENE_STAGE && PlayData.m_nSlot >= 0 &&
      !PlayData.SaveSlot(PlayData.m_nSlot)) {
    std::string file;
    MakeSlotFileName(file, PlayData.m_nSlot);
    ErrorBoxPrintf(kAutoSaveFailed, file.c_str());
  }
  RenderMap();
}

void cSceneWorldMap::FadeIn() {
  if (nBpp == 8) DrawRanking();
  DrawScreen(!PlayData.m_bBackFromRetry);
  if (!SceneFadeIn()) return;
  if (IsStageEntrance()) {
    if (PlayData.m_bBackFromRetry) {
      PlayData.m_bBackFromRetry = 0;
      if (!IsRouteCleared(m_lpRoute)) {
        CURSORPOS* cur = MenuCursor.Cur();
        cur->nCol = std::clamp(PlayData.m_nPrevCellX, 0, LastCol());
        cur->nRow = std::clamp(PlayData.m_nPrevCellY, 0, LastRow());
        SetViewOrigin();
        FindNodeUnderWalker();
        RenderMap();
      }
    } else if (Game.m_nPrevScene != SCENE_MAPMENU && !IsRouteCleared(m_lpRoute) && !IsRoutePassable(m_lpRoute)) {
      // The program is closing after a failed entry; the load is not tried again.
      if (m_bEntryFailed) return;
      if (LoadStage(m_lpRoute->m_strStageFile.c_str(), 1, &StageCopy)) {
        PrepareStage();
        PlayData.m_nPrevCellX = MenuCursor.Cur()->nCol;
        PlayData.m_nPrevCellY = MenuCursor.Cur()->nRow;
        Leave(SCENE_STAGE);
        return;
      }
      m_bEntryFailed = 1;
      ErrorBoxPrintf(kStageLoadFailed, m_lpRoute->m_strStageFile.c_str());
      PostCloseMessage(hWndMain.load());
      return;
    }
  }
  m_nPhase = 1;
}

void cSceneWorldMap::FadeOut() {
  DrawScreen(true);
  cFrontScene::FadeOut();
}

int cSceneWorldMap::Walk() {
  const cInput& input = Input.At(0);
  MoveCursor(input.m_wDir);
  DS_PlayCursorSound(input.m_wDir, 3, 0);
  FindNodeUnderWalker();
  CURSORPOS* cur = MenuCursor.Cur();
  if (IsStageEntrance()) {
    if (cur->nCol != m_SelPos.nCol || cur->nRow != m_SelPos.nRow) {
      SelectRoute();
      m_SelPos = *cur;
    }
    bool ask = !IsRoutePassable(m_lpRoute);
    if (!ask && (input.m_wButton & kDecide)) ask = !IsRouteCleared(m_lpRoute) || m_lpRoute->m_bReentry;
    if (ask) {
      PlayData.m_nMapX = cur->nCol;
      PlayData.m_nMapY = cur->nRow;
      MenuCursor.Push(0);
      m_nSubState = 0;
      m_nPhase = 2;
      return 1;
    }
    HandleRankingButtons(input.m_wButton);
  }
  if (input.m_wButton & kCancel) {
    PlaySe(4);
    PlayData.m_nMapX = cur->nCol;
    PlayData.m_nMapY = cur->nRow;
    m_nSubState = 0;
    Leave(SCENE_MAPMENU);
    return 1;
  }
  DrawScreen(true);
  return 1;
}

void cSceneWorldMap::HandleRankingButtons(uint16_t buttons) {
  if (buttons & kRankingView) {
    if (StoryRankingOn()) {
      PlaySe(6);
      PlayData.m_bRankingView = !PlayData.m_bRankingView;
      DrawRanking();
    } else if (PlayData.m_bRankingView) {
      PlayData.m_bRankingView = 0;
      DrawRanking();
    }
  } else if ((buttons & kRankingCategory) && StoryRankingOn()) {
    if (SystemData.CountRankingCategories(Game.m_nPlayKind) >= 2) {
      PlaySe(6);
      PlayData.CycleRankingCategory(Game.m_nPlayKind, 1);
    }
    DrawRanking();
  }
}

int cSceneWorldMap::ConfirmStage() {
  if (!m_lpRoute) {  // nothing to confirm: back to walking
    Decline();
    return 1;
  }
  if (m_nSubState == 0) {
    PlaySe(1);
    m_bStageLoaded = LoadStage(m_lpRoute->m_strStageFile.c_str(), 1, &StageCopy) ? 1 : 0;
    if (!m_bStageLoaded) ErrorBoxPrintf(kStageLoadFailed, m_lpRoute->m_strStageFile.c_str());
    MenuCursor.Cur()->nRow = 1;
    m_nSubState = 1;
  }
  const cInput& input = Input.At(0);
  WorldConfirmAnchor.nX = GetMenuLeft(304, kConfirmText, 2, 1);
  MenuCursor.MoveGrid(input.m_wDir, WorldConfirmAnchor.nX, WorldConfirmAnchor.nY, 0, 16, 1, 2);
  DS_PlayCursorSound(input.m_wDir, 2, 0);
  if (input.m_wButton & kDecide) {
    PlaySe(1);
    if (MenuCursor.Cur()->nRow == 0 && m_bStageLoaded) {
      PlayData.m_nWalkDir = m_nDir;
      PrepareStage();
      m_nSubState = 0;
      Leave(SCENE_STAGE);
      return 1;
    }
    Decline();
    return 1;
  }
  if (input.m_wButton & kCancel) {
    PlaySe(2);
    Decline();
    return 1;
  }
  HandleRankingButtons(input.m_wButton);
  DrawScreen(true);
  DrawMenuText(&BackBuffer, WorldConfirmAnchor.nX, WorldConfirmAnchor.nY, kConfirmText, 2, 1);
  DrawMenuSprite(MENUSPRITE_ARROW, MenuCursor.Cur()->nX, MenuCursor.Cur()->nY);
  return 1;
}

void cSceneWorldMap::Decline() {
  // The question's own cursor goes whatever the answer, so refusals never
  // pile up entries.
  MenuCursor.Pop(1);
  if (!IsRoutePassable(m_lpRoute)) {
    *MenuCursor.Cur() = m_PrevPos;
    PlayData.m_nMapX = m_PrevPos.nCol;
    PlayData.m_nMapY = m_PrevPos.nRow;
    SetViewOrigin();
    FindNodeUnderWalker();
    if (m_nViewX != s_LastView.x || m_nViewY != s_LastView.y) RenderMap();
  }
  m_nSubState = 0;
  m_nPhase = 1;
}

void cSceneWorldMap::MoveCursor(uint32_t keys) {
  CURSORPOS* cur = MenuCursor.Cur();
  if (keys & kDirections) {
    PlayData.m_nPrevCellX = cur->nCol;
    PlayData.m_nPrevCellY = cur->nRow;
    m_PrevPos = *cur;
  }
  if (keys & INPUT_LEFT) {
    m_nDir = WALK_LEFT;
    cur->nCol = std::max(cur->nCol - 1, 0);
  } else if (keys & INPUT_RIGHT) {
    m_nDir = WALK_RIGHT;
    cur->nCol = std::min(cur->nCol + 1, LastCol());
  } else if (keys & INPUT_UP) {
    m_nDir = WALK_UP;
    cur->nRow = std::max(cur->nRow - 1, 0);
  } else if (keys & INPUT_DOWN) {
    m_nDir = WALK_DOWN;
    cur->nRow = std::min(cur->nRow + 1, LastRow());
  }
  FindNodeUnderWalker();
  const cEdWorldChip* chip = ChipAt(cur->nCol, cur->nRow);
  const bool blocked = !chip || chip->m_bBlocked;
  if ((!m_lpRoute && blocked) || (m_lpRoute && m_lpRoute->m_nKind == WORLDROUTE_WALL)) {
    *cur = m_PrevPos;
  } else {
    SetViewOrigin();
    PlayData.m_nWalkDir = m_nDir;
    if (m_nViewX != s_LastView.x || m_nViewY != s_LastView.y) RenderMap();
  }
  cur->nX = kWalkerX;
  cur->nY = kWalkerY;
}

void cSceneWorldMap::SetViewOrigin() {
  const CURSORPOS* cur = MenuCursor.Cur();
  m_nViewX = cur->nCol - kWalkerCol;
  m_nViewY = cur->nRow - kWalkerRow;
}

void cSceneWorldMap::FindNodeUnderWalker() {
  const CURSORPOS* cur = MenuCursor.Cur();
  m_lpNode = WorldMap.FindNode(cur->nCol, cur->nRow);
  m_lpRoute = FindOpenRoute(m_lpNode);
}

cEdWorldRoute* cSceneWorldMap::FindOpenRoute(cEdWorldNode* node) {
  if (!node) return nullptr;
  for (cEdWorldRoute& route : node->m_vRoute)
    if (RouteOpen(route)) return &route;
  return nullptr;
}

int cSceneWorldMap::IsRouteCleared(const cEdWorldRoute* route) {
  return route && StageCleared(route->m_nStageNo) ? 1 : 0;
}

int cSceneWorldMap::IsRoutePassable(const cEdWorldRoute* route) {
  if (!route) return 0;
  return route->m_bPassable ? 1 : IsRouteCleared(route);
}

void cSceneWorldMap::SelectRoute() {
  if (!m_lpRoute) return;
  PlayData.SetStagePath(m_lpRoute->m_strStageFile);
  m_nStageBest = PlayData.FindStageTally(PlayData.m_strStagePath.c_str());
  if (!Game.m_bRanking) return;
  Ranking.LoadFor(Game.m_nPlayKind, PlayData.m_strStagePath);
  PlayData.CycleRankingCategory(Game.m_nPlayKind, 0);
  if (!Off_Scene.empty()) DrawRanking();
}

void cSceneWorldMap::PrepareStage() {
  PlayData.SetStagePath(Stage.m_strPath);
  PlayData.m_nStageNo = m_lpRoute ? m_lpRoute->m_nStageNo : 0;
  PlayData.m_nAreaNo = 1;
  const cVector<int32_t>& infinite = SystemData.m_vInfiniteLives;
  const cVector<int32_t>& start = SystemData.m_vStartLives;
  if (SystemData.m_bCarryLives) {
    const bool endless = PLAYKIND_STORY < infinite.Size() && infinite[PLAYKIND_STORY];
    PlayData.m_nStartLives = endless ? LIVES_INFINITE : PlayData.m_nLives + 1;
  } else {
    PlayData.m_nStartLives = PLAYKIND_STORY < start.Size() ? start[PLAYKIND_STORY] : 0;
  }
  // The entrance is kept by its place in the map, for the stage's end.
  int node = -1, route = -1;
  if (m_lpNode && m_lpRoute) {
    node = static_cast<int>(m_lpNode - WorldMap.m_vNode.data());
    route = static_cast<int>(m_lpRoute - m_lpNode->m_vRoute.data());
  }
  PlayData.SetEnteredRoute(node, route);
}

int cSceneWorldMap::CellIndex(int x, int y) {
  x = std::clamp(x, 0, LastCol());
  y = std::clamp(y, 0, LastRow());
  return x + (y << WorldMap.m_nPitch_Shift);
}

const cEdWorldChip* cSceneWorldMap::ChipAt(int x, int y) {
  const int index = CellIndex(x, y);
  if (index < 0 || index >= WorldMap.m_vCell.Size()) return nullptr;
  const int chip = WorldMap.m_vCell[index];
  if (chip < 0 || chip >= WorldMap.m_vChip.Size()) return nullptr;
  return &WorldMap.m_vChip[chip];
}
