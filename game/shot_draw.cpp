// Drawing a shot from the shot sheet and a sword from its sword image.
#include "base/checked_convert.h"
#include "game/graphic_source.h"
#include "game/play_drawing.h"
#include "game/shot.h"
#include "media/dd_layer.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "records/database.h"
#include "records/system_ini.h"

void cShot::Draw(DDSURFACEDATA* surface, int bFrozen) {
  if (m_ShotDef.m_bTransparent) return;
  const int x = m_rcScreen.nLeft, y = m_rcScreen.nTop;
  const int w = m_nGfxWidth, h = m_nGfxHeight;
  const int facing = m_nDirection == 1 ? 1 : 0;
  const int scale = m_ShotDef.m_nScale;

  if (m_nKind == SHOTKIND_SHOT) {
    const int frame = bFrozen ? m_Anime.GetFrame() : m_Anime.Advance();
    // Thirty pictures a column pair, the two animation frames side by side.
    const int sx = SaturateToInt((static_cast<int64_t>(frame) + (m_nGraphic / 30) * 2) * 16);
    const int sy = (m_nGraphic % 30) * 16;
    if (scale <= 1) {
      DDSURFACEDATA* sheet = &SurfaceTable[SwordSurfaceIndex(SURFACE_SHOTS + facing, 0)];
      PlayDrawing->DDBlt(surface, x, y, w, h, sheet, sx, sy, 1);
    } else {
      const int bSecond = lpDTCon || !SystemIni.nDD_VideoStretch ? 1 : 0;
      DDSURFACEDATA* sheet = &SurfaceTable[SwordSurfaceIndex(SURFACE_SHOTS + facing, bSecond)];
      PlayDrawing->DDBltStretch(surface, x, y, w, h, sheet, sx, sy, 16, 16, 1);
    }
    return;
  }

  const cEdSwordType& type = Database.m_vSwordType.At(m_ShotDef.m_nPath);
  if (!type.HasFrame(m_nFrame)) return;
  const cEdSwordFrame& frame = type.FrameAt(m_nFrame);
  const int first = SaturateToInt(static_cast<int64_t>(m_ShotDef.m_nPath) * 4 + facing);
  if (scale <= 1) {
    PlayDrawing->DDBlt(surface, x, y, w, h, &Off_Sword.At(first), frame.m_nSrcX, frame.m_nSrcY, 1);
  } else {
    const int image = SystemIni.nDD_VideoStretch ? first : first + 2;
    PlayDrawing->DDBltStretch(surface, x, y, w, h, &Off_Sword.At(image), frame.m_nSrcX, frame.m_nSrcY,
                              frame.m_nWidth, frame.m_nHeight, 1);
  }
}
