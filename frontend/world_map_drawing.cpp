// The world map's drawing: the map window rendered into its own surface
// when the view moves, and the screen of each frame over it.
#include <algorithm>
#include <string>

#include "base/boxes.h"
#include "base/dbcs_text.h"
#include "base/number_text.h"
#include "base/text_format.h"
#include "base/window_messages.h"
#include "frontend/scene_world_map.h"
#include "game/play_drawing.h"
#include "media/font.h"
#include "media/palette_scheme.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "records/ranking.h"
#include "records/save_data.h"
#include "records/system.h"

namespace {

constexpr int kScoreText = 2;  // "スコア"
// "∞"
const char kInfinite[] = "\x81\x87";

}  // namespace

void cSceneWorldMap::RenderMap() {
  SurfaceTable[kMapSurface].bLost = 0;
  DrawMapBackground();
  DrawMapChips();
  DrawMapNodes();
  s_LastView = {m_nViewX, m_nViewY};
}

void cSceneWorldMap::DrawMapBackground() {
  DDSURFACEDATA* map = &SurfaceTable[kMapSurface];
  PlayDrawing->DDFillSurface(map, WorldMap.m_nBackColor);
  if (!WorldMap.m_bShowImage) return;
  const int x = kCell * m_nViewX;
  const int y = kCell * m_nViewY;
  PlayDrawing->DDBlt(map, std::max(0, -x), std::max(0, -y), 640, 480, &SurfaceTable[SURFACE_WORLDBACK],
                     std::max(0, x), std::max(0, y), 0);
}

void cSceneWorldMap::DrawMapChips() {
  DDSURFACEDATA* map = &SurfaceTable[kMapSurface];
  PlayDrawing->DDBeginBatch(0);
  for (int row = 0; row < kWindowRows; ++row) {
    const int y = m_nViewY + row;
    if (y < 0 || y >= WorldMap.m_nHeight) continue;
    for (int col = 0; col < kWindowCols; ++col) {
      const int x = m_nViewX + col;
      if (x < 0 || x >= WorldMap.m_nWidth) continue;
      // A chip number outside the chip list is drawn empty.
      const cEdWorldChip* chip = ChipAt(x, y);
      if (!chip || chip->m_nGraphic < 0) continue;
      const int c = chip->m_nGraphic;
      PlayDrawing->DDBlt(map, kCell * col, kCell * row, kCell, kCell, &SurfaceTable[kChipImage],
                         kCell * (c % kChipSheetCols), kCell * (c / kChipSheetCols), 1);
    }
  }
  PlayDrawing->DDFlushBatch();
}

void cSceneWorldMap::DrawMapNodes() {
  DDSURFACEDATA* map = &SurfaceTable[kMapSurface];
  PlayDrawing->DDBeginBatch(0);
  for (cEdWorldNode& node : WorldMap.m_vNode) {
    const cEdWorldRoute* route = FindOpenRoute(&node);
    if (!route) continue;
    PlayDrawing->DDBlt(map, kCell * (node.m_nX - m_nViewX), kCell * (node.m_nY - m_nViewY), kCell, kCell,
                       &SurfaceTable[kEventImage], IsRouteCleared(route) ? kCell : 0, kCell * route->m_nIcon, 1);
  }
  PlayDrawing->DDFlushBatch();
}

void cSceneWorldMap::DrawWalker() {
  int sx = 0, sy = 64;  // down, and any direction out of range
  switch (m_nDir) {
    case WALK_UP: sx = 64, sy = 64; break;
    case WALK_LEFT: sx = 64, sy = 96; break;
    case WALK_RIGHT: sx = 0, sy = 96; break;
    default: break;
  }
  ++s_nWalkerCount;
  if (s_nWalkerCount > kWalkerCycle / 2) sx += kCell;
  if (s_nWalkerCount >= kWalkerCycle) s_nWalkerCount = 0;
  PlayDrawing->DDBlt(&BackBuffer, kWalkerX, kWalkerY, kCell, kCell, &SurfaceTable[kAccessoryImage], sx, sy, 1);
}

void cSceneWorldMap::DrawScreen(bool overlay) {
  DDSURFACEDATA* map = &SurfaceTable[kMapSurface];
  if (map->bLost) RenderMap();
  PlayDrawing->DDBlt(&BackBuffer, 0, 0, 640, 480, map, 0, 0, 0);
  DrawWalker();

  if (SystemData.m_bShowLivesOnMap) {
    const int32_t lives = PlayData.m_nLives;
    const int digits = lives == LIVES_INFINITE ? 1 : CountDigits(lives);
    const int x = 605 - 16 * digits;
    PlayDrawing->DrawBox(SysFont[1], &BackBuffer, x, 17, 16 * (digits + 1), 20);
    PlayDrawing->DDBlt(&BackBuffer, x, 19, 16, 16, &SurfaceTable[kAccessoryImage], 0, 48, 1);
    if (lives == LIVES_INFINITE)
      PlayDrawing->DrawText(SysFont[1], &BackBuffer, x + 16, 19, kInfinite, 0);
    else
      PlayDrawing->DrawTextF(SysFont[1], &BackBuffer, x + 16, 19, "%d", lives);
  }
  if (!overlay || !m_lpRoute || m_lpRoute->m_nKind != WORLDROUTE_STAGE) return;

  const cVector<cEdRankingMode>& modes = SystemData.m_vRankingModes;
  if (PLAYKIND_STORY < modes.Size() && modes[PLAYKIND_STORY].m_bRanking && PlayData.m_bRankingView &&
      !Off_Scene.empty()) {
    DDSURFACEDATA* ranking = &Off_Scene[0];
    if (ranking->bLost) DrawRanking();
    PlayDrawing->DDBlt(&BackBuffer, WorldRankingAnchor.nX, WorldRankingAnchor.nY, kRankingW, kRankingH, ranking, 0, 0,
                       0);
  }

  const bool best = SystemData.m_bMapStageInfo && m_nStageBest > 0;
  const int y = best ? 184 : 204;
  const std::string& label = m_lpRoute->m_strAux;
  const int chars = CountChars(label.c_str());
  if (chars >= 1) {
    const int x = 304 - 8 * chars;
    PlayDrawing->DrawBox(SysFont[1], &BackBuffer, x, y, 16 * chars, 16);
    PlayDrawing->DrawText(SysFont[1], &BackBuffer, x, y, label.c_str(), 0);
  }
  if (!best) return;
  const std::string& caption = SystemData.m_vTexts.At(kScoreText);
  const int w = 16 * (CountChars(caption.c_str()) + CountDigits(m_nStageBest));
  const int x = 304 - w / 2;
  PlayDrawing->DrawBox(SysFont[1], &BackBuffer, x, y + 20, w, 16);
  PlayDrawing->DrawTextF(SysFont[1], &BackBuffer, x, y + 20, "%s%d", caption.c_str(), m_nStageBest);
}

bool cSceneWorldMap::CreateRankingSurface() {
  DDReleaseSurfaceVector(Off_Scene);
  Off_Scene.clear();
  Off_SceneDef.clear();
  if (!DDAddSurface(Off_Scene, Off_SceneDef, kRankingW, kRankingH, 1, 0, DTMEMORYTYPE_VIDEO_RT, nullptr)) {
    PostCloseMessage(hWndMain.load());
    return false;
  }
  DrawRanking();
  return true;
}

void cSceneWorldMap::DrawRanking() {
  if (Off_Scene.empty()) return;
  DDSURFACEDATA* surface = &Off_Scene[0];
  surface->bLost = 0;
  PlayDrawing->DDFillSurface(surface, 0);
  Ranking.Draw(surface, 0, 0, PlayData.m_nRankingCat, -1);
}
