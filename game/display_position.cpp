#include "game/display_position.h"

#include <cstdint>

#include "game/characters.h"
#include "game/stage_data.h"

namespace {

// Centred on an object's graphic: its centre in view pixels plus the view
// position, less half the image.
void CentreOn(double& x, double& y, int w, int h, const cGameObject& o, double sx, double sy, int dx, int dy) {
  x = static_cast<double>(int64_t{o.m_rcScreen.nLeft} + o.m_nGfxWidth / 2) + sx - w / 2 + dx;
  y = static_cast<double>(int64_t{o.m_rcScreen.nTop} + o.m_nGfxHeight / 2) + sy - h / 2 + dy;
}

}  // namespace

void GetDisplayPosition(double& x, double& y, int w, int h, const cCharaBase& chara, int mode, int cx, int cy,
                        int dx, int dy) {
  const cSceneStageData& stage = StageData();
  const double sx = stage.m_ScrollX.m_dPos;
  const double sy = stage.m_ScrollY.m_dPos;
  x = 0;
  y = 0;
  switch (mode) {
    case DISPLAYPOS_SCREEN_CENTRE:
      x = sx + 320 - w / 2 + dx;
      y = sy + 240 - h / 2 + dy;
      break;
    case DISPLAYPOS_CHARA_CENTRE:
      CentreOn(x, y, w, h, chara, sx, sy, dx, dy);
      break;
    case DISPLAYPOS_HERO_CENTRE:
      if (!Player.empty()) CentreOn(x, y, w, h, Player[0], sx, sy, dx, dy);
      break;
    case DISPLAYPOS_SCREEN_CELL:
      x = sx + static_cast<double>(int64_t{cx} * 32) + dx;
      y = sy + static_cast<double>(int64_t{cy} * 32) + dy;
      break;
    case DISPLAYPOS_STAGE_CELL:
      x = static_cast<double>((int64_t{cx} + stage.m_ScrollX.m_nBorder) * 32 + dx);
      y = static_cast<double>((int64_t{cy} + stage.m_ScrollY.m_nBorder) * 32 + dy);
      break;
    default:
      break;
  }
}
