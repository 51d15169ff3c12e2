// Items: set-up, placement, scale and drawing.
#include <cstdio>

#include "base/checked_convert.h"
#include "game/characters.h"
#include "game/flow_loops.h"
#include "game/graphic_source.h"
#include "game/play_drawing.h"
#include "game/stage_data.h"
#include "media/surface_table.h"
#include "records/anime_step.h"
#include "records/stage.h"

namespace {

// Every item shows its two cells 15 frames each, for ever.
const int32_t kItemSteps[] = {0, 15, 1, 1, 15, 1, ANIMECODE_LOOP, 0, 1};
const int32_t* const kItemPatterns[] = {kItemSteps, nullptr};

}  // namespace

cItem::cItem() = default;

void cItem::OnScaleChanged(int nNew, int nOld) {
  const int64_t d = static_cast<int64_t>(nNew) - nOld;
  m_rcHit.dTop -= static_cast<double>(d * (static_cast<int64_t>(m_nBaseHitHeight) + m_nBaseOffsetY));
  ClampY(2);
}

void cItem::Init(int id, const cEdItem& def, int bHeld) {
  m_Def = def;
  if (m_Def.m_nScale < 1) m_Def.m_nScale = 1;
  const int w = Stage.m_nItemBoxW;
  const int h = Stage.m_nItemBoxH;
  cGameObject::SetUp(id, 0, 0, 0, m_Def.m_nGraphic, kItemPatterns, 0, 16 - w / 2, 16 - h / 2, w, h, 32, 32, 0,
                     FLYMODE_THROUGH, 0);
  m_bScrollSync = 0;
  m_bHeld = bHeld;
  if (m_bHeld)
    m_bPresent = 1;
  else
    SetScale(m_Def.m_nScale, 1);
  char owner[48];
  std::snprintf(owner, sizeof owner, "item %d", id);
  ExpandLoops(m_Def.m_vCommands, owner);
}

void cItem::PlaceAtCell(int cx, int cy) {
  const cSceneStageData& stage = StageData();
  const int64_t col = static_cast<int64_t>(cx) + stage.m_ScrollX.m_nBorder;
  const int64_t row = static_cast<int64_t>(cy) + stage.m_ScrollY.m_nBorder;
  m_rcHit.dLeft = static_cast<double>(col * 32 + m_nBaseOffsetX) + 0.5;
  m_rcHit.dTop = static_cast<double>(row * 32 + m_nBaseOffsetY);
  AnchorForScale(m_Def.m_nScale, 1);
  ClampX(2);
  ClampY(2);
}

void cItem::Draw(DDSURFACEDATA* surface, int bAdvance) {
  if (m_Def.m_bTransparent) return;
  const int frame = bAdvance ? m_Anime.Advance() : m_Anime.GetFrame();
  GRAPHICSOURCE source;
  SetGraphicSource(source, GRAPHICMODE_ITEM, m_Def.m_nGraphicKind, m_nGraphic, m_Def.m_nGraphicFrame, this, frame);
  const int s = m_Def.m_nScale;
  const int c = source.nCellScale;
  const int x = m_rcScreen.nLeft;
  const int y = m_rcScreen.nTop;
  const bool stretch = source.bCellSize ? s != c : s > 1;
  if (stretch) {
    const int sw = SaturateToInt(static_cast<int64_t>(m_nBaseGfxWidth) * c);
    const int sh = SaturateToInt(static_cast<int64_t>(m_nBaseGfxHeight) * c);
    PlayDrawing->DDBltStretch(surface, x, y, m_nGfxWidth, m_nGfxHeight, source.lpChosenA, source.nSrcX,
                              source.nSrcY, sw, sh, 1);
  } else {
    PlayDrawing->DDBlt(surface, x, y, m_nGfxWidth, m_nGfxHeight, source.lpFirstA, source.nSrcX, source.nSrcY, 1);
  }
  if (m_Def.m_bShowIcon != 1) return;
  const int d = m_Def.m_nIcon;
  const int mx = (d / 15) * 32;
  const int my = (d % 15) * 32;
  if (s > 1)
    PlayDrawing->DDBltStretch(surface, x, y, m_nGfxWidth, m_nGfxHeight, lpMarkSheet, mx, my, m_nBaseGfxWidth,
                              m_nBaseGfxHeight, 1);
  else
    PlayDrawing->DDBlt(surface, x, y, 32, 32, &SurfaceTable[SURFACE_MARKS], mx, my, 1);
}
