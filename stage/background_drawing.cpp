// The stage's background layers: their auto-scroll drift, and their drawing
// behind or in front of the map, tiled over the screen with parallax.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/checked_convert.h"
#include "game/play_drawing.h"
#include "media/system_surfaces.h"
#include "records/stage.h"
#include "stage/scene_stage.h"

namespace {

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;
constexpr int kBorderDots = 320;  // the map's first cell, on both axes
constexpr int kNoLayerColour = 16;
constexpr int kMaxTiles = 1000;   // bands per layer, tiles per band

// The image of layer k; null for a layer past the image slots or whose
// surface holds no image (no back-end part, or no width or height).
DDSURFACEDATA* LayerImage(int k) {
  if (k < 0 || k >= SURFACE_BACKGROUND_COUNT) return nullptr;
  DDSURFACEDATA* sd = &SurfaceTable[SURFACE_BACKGROUND_FIRST + k];
  if (sd->nWidth <= 0 || sd->nHeight <= 0 || (!sd->lpDDS && !sd->lpDT)) return nullptr;
  return sd;
}

// An offset brought into [0, size) by its remainder.
double WrapOffset(double offset, int size) {
  if (size <= 0 || !std::isfinite(offset)) return 0;
  double r = std::fmod(offset, static_cast<double>(size));
  if (r < 0) r += size;
  return r >= size ? 0 : r;
}

// A start position made a source position inside [0, size).
int WrapStart(int v, int size) {
  const int r = v % size;
  return r < 0 ? r + size : r;
}

// The layer's image over the whole screen, from source point (x mod w, y mod h).
void TileLayer(DDSURFACEDATA* target, DDSURFACEDATA* image, int x, int y, int flags) {
  const int w = image->nWidth, h = image->nHeight;
  PlayDrawing->DDBeginBatch(0);
  int sy = WrapStart(y, h);
  for (int dy = 0, bands = 0; dy < kScreenH && bands < kMaxTiles; ++bands) {
    const int bandH = std::min(h - sy, kScreenH - dy);
    int sx = WrapStart(x, w);
    for (int dx = 0, tiles = 0; dx < kScreenW && tiles < kMaxTiles; ++tiles) {
      const int tileW = std::min(w - sx, kScreenW - dx);
      PlayDrawing->DDBlt(target, dx, dy, tileW, bandH, image, sx, sy, flags);
      dx += tileW;
      sx = 0;
    }
    dy += bandH;
    sy = 0;
  }
  PlayDrawing->DDFlushBatch();
}

}  // namespace

void cSceneStage::ScrollBackground() {
  for (int k = 0; k < Stage.m_vBackground.Size(); ++k) {
    cEdBackground& layer = Stage.m_vBackground[static_cast<size_t>(k)];
    DDSURFACEDATA* image = LayerImage(k);
    if (layer.m_bAutoScrollX) {
      layer.m_dOffsetX -= layer.m_dScrollX;
      layer.m_dOffsetX = WrapOffset(layer.m_dOffsetX, image ? image->nWidth : 0);
    }
    if (layer.m_bAutoScrollY) {
      layer.m_dOffsetY -= layer.m_dScrollY;
      layer.m_dOffsetY = WrapOffset(layer.m_dOffsetY, image ? image->nHeight : 0);
    }
  }
}

void cSceneStage::DrawBackground(DDSURFACEDATA* target, int bFront) {
  bool anyShown = false;
  for (const cEdBackground& layer : Stage.m_vBackground) anyShown = anyShown || layer.m_bVisible;
  if (!bFront && !anyShown) {
    PlayDrawing->DDFillSurface(target, kNoLayerColour);
    return;
  }
  int drawn = 0;
  for (int k = 0; k < Stage.m_vBackground.Size(); ++k) {
    const cEdBackground& layer = Stage.m_vBackground[static_cast<size_t>(k)];
    if ((layer.m_bFront != 0) != (bFront != 0) || !layer.m_bVisible) continue;
    if (layer.m_bFillColor) {
      PlayDrawing->DDFillSurface(target, layer.m_nColor);
      ++drawn;
      continue;
    }
    DDSURFACEDATA* image = LayerImage(k);
    if (!image) continue;
    // The view is rounded across and truncated down, so that a layer and the
    // map do not drift apart by a dot.
    const int x = layer.m_bAutoScrollX
                      ? ToIntChecked(m_ScrollX.m_dPos + layer.m_dOffsetX - kBorderDots)
                      : ToIntChecked((std::floor(m_ScrollX.m_dPos + 0.5) - kBorderDots) * layer.m_dScrollX);
    const int y = layer.m_bAutoScrollY
                      ? ToIntChecked(m_ScrollY.m_dPos + layer.m_dOffsetY - kBorderDots)
                      : ToIntChecked((std::trunc(m_ScrollY.m_dPos) - kBorderDots) * layer.m_dScrollY);
    const int opaque = !bFront && drawn == 0;
    TileLayer(target, image, x, y, opaque ? 0 : 1);
    ++drawn;
  }
  if (!bFront && drawn == 0) PlayDrawing->DDFillSurface(target, kNoLayerColour);
}
