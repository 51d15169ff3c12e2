#include "game/picture_instance.h"

#include "base/checked_convert.h"
#include "game/play_drawing.h"
#include "game/stage_data.h"

void cPictureInstance::Init(int picture, double x, double y, int width, int height, int screenFixed, int layer,
                            int scale, int displayMode, int frames, int stopsGame, int useId, int id) {
  m_nPicture = picture;
  m_dX = x;
  m_dY = y;
  m_nWidth = width;
  m_nHeight = height;
  m_bScreenFixed = screenFixed;
  m_nLayer = layer;
  m_nDisplayMode = displayMode;
  m_nFrames = frames;
  m_bStopsGame = stopsGame;
  m_bUseId = useId;
  m_nPictureId = id;
  m_bScaled = scale != 100 ? 1 : 0;
  if (screenFixed) {
    const cSceneStageData& stage = StageData();
    m_nScreenX = SaturateToInt(int64_t{ToIntChecked(x)} - ToIntChecked(stage.m_ScrollX.m_dPos));
    m_nScreenY = SaturateToInt(int64_t{ToIntChecked(y)} - ToIntChecked(stage.m_ScrollY.m_dPos));
  }
}

int cPictureInstance::Draw(DDSURFACEDATA* surface, DDSURFACEDATA* image, int bFrozen) {
  if (m_nDisplayMode == 2 && (m_bStopsGame || !bFrozen)) {
    m_nFrames = m_nFrames > 0 ? m_nFrames - 1 : -1;
    if (m_nFrames < 0) return 1;
  }
  int x = m_nScreenX, y = m_nScreenY;
  if (!m_bScreenFixed) {
    const cSceneStageData& stage = StageData();
    x = SaturateToInt(int64_t{ToIntChecked(m_dX)} - ToIntChecked(stage.m_ScrollX.m_dPos));
    y = SaturateToInt(int64_t{ToIntChecked(m_dY)} - ToIntChecked(stage.m_ScrollY.m_dPos));
  }
  if (!image) return 0;
  if (m_bScaled)
    PlayDrawing->DDBltStretch(surface, x, y, m_nWidth, m_nHeight, image, 0, 0, image->nWidth, image->nHeight, 1);
  else
    PlayDrawing->DDBlt(surface, x, y, m_nWidth, m_nHeight, image, 0, 0, 1);
  return 0;
}
