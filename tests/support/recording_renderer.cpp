#include "support/recording_renderer.h"

#include "media/font.h"
#include <cstdio>

#include "media/dd_pixels.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"

namespace testsupport {

RecordingRenderer::RecordingRenderer() : m_previous(PlayDrawing) { PlayDrawing = this; }

RecordingRenderer::~RecordingRenderer() { PlayDrawing = m_previous; }

std::string RecordingRenderer::SurfaceName(const DDSURFACEDATA* surface) {
  if (!surface) return "null";
  if (surface == &BackBuffer) return "Back";
  for (int i = 0; i < SURFACE_TABLE_SIZE; ++i)
    if (surface == &SurfaceTable[i]) return "T" + std::to_string(i);
  for (int i = 0; i < Off_StageBmp.Size(); ++i)
    if (surface == &Off_StageBmp[i]) return "S" + std::to_string(i);
  for (int i = 0; i < Off_Sword.Size(); ++i)
    if (surface == &Off_Sword[i]) return "W" + std::to_string(i);
  for (int i = 0; i < Off_Effect.Size(); ++i)
    if (surface == &Off_Effect[i]) return "E" + std::to_string(i);
  int i = 0;
  for (const DDSURFACEDATA& sd : Off_Msg) {
    if (surface == &sd) return "M" + std::to_string(i);
    ++i;
  }
  i = 0;
  for (const DDSURFACEDATA& sd : Off_Picture) {
    if (surface == &sd) return "P" + std::to_string(i);
    ++i;
  }
  return "?";
}

void RecordingRenderer::Record(const std::string& name, const DDSURFACEDATA* dst, const std::vector<int>& before,
                               const DDSURFACEDATA* src, const std::vector<int>& after, const std::string& tail) {
  std::string line = name + " " + SurfaceName(dst);
  for (int v : before) line += " " + std::to_string(v);
  line += " " + SurfaceName(src);
  for (int v : after) line += " " + std::to_string(v);
  m_calls.push_back(line + tail);
}

namespace {

std::string Hex(uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "%x", v);
  return text;
}

std::string Blend(const int blend[2]) {
  return " " + Hex(static_cast<uint32_t>(blend[0])) + " " + std::to_string(blend[1]);
}

std::string TableName(const void* table, const void* known, const char* name) {
  return !table ? "null" : table == known ? name : "?";
}

}  // namespace

void RecordingRenderer::DDBltBlend(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                                   int sy, int flags, const int blend[2]) {
  Record("DDBltBlend", dst, {x, y, w, h}, src, {sx, sy, flags}, Blend(blend));
}

void RecordingRenderer::DDBltStretchBlend(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src,
                                          int sx, int sy, int sw, int sh, int flags, const int blend[2]) {
  Record("DDBltStretchBlend", dst, {x, y, w, h}, src, {sx, sy, sw, sh, flags}, Blend(blend));
}

void RecordingRenderer::DDSetDrawColor(uint32_t argb) { m_calls.push_back("DDSetDrawColor " + Hex(argb)); }

void RecordingRenderer::DDResetDrawColor() { m_calls.push_back("DDResetDrawColor"); }

void RecordingRenderer::DDSetColorOp(int op) { m_calls.push_back("DDSetColorOp " + std::to_string(op)); }

void RecordingRenderer::DDResetColorOp() { m_calls.push_back("DDResetColorOp"); }

void RecordingRenderer::DDBltBurst(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                                   int sy, int d, int flags) {
  Record("DDBltBurst", dst, {x, y, w, h}, src, {sx, sy, d, flags});
}

int RecordingRenderer::DDBltSplit(DDSURFACEDATA* dst, int x, int y, int w, int h, int n, int d, DDSURFACEDATA* src,
                                  int sx, int sy, int flags, int bVertical) {
  Record("DDBltSplit", dst, {x, y, w, h, n, d}, src, {sx, sy, flags, bVertical});
  return 1;
}

void RecordingRenderer::DDBltWave(DDSURFACEDATA* dst, int x, int y, int w, int h, int waves, double amplitude,
                                  int phase, int strip, DDSURFACEDATA* src, int sx, int sy, int flags,
                                  int bVertical) {
  char amp[32];
  std::snprintf(amp, sizeof amp, "%g", amplitude);
  std::string line = "DDBltWave " + SurfaceName(dst);
  for (int v : {x, y, w, h, waves}) line += " " + std::to_string(v);
  line += std::string(" ") + amp;
  for (int v : {phase, strip}) line += " " + std::to_string(v);
  line += " " + SurfaceName(src);
  for (int v : {sx, sy, flags, bVertical}) line += " " + std::to_string(v);
  m_calls.push_back(line);
}

int RecordingRenderer::DDBltDepthRotate(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* front,
                                        int fx, int fy, DDSURFACEDATA* back, int bx, int by, int sw, int sh,
                                        int flags, int phase, int axis) {
  std::string line = "DDBltDepthRotate " + SurfaceName(dst);
  for (int v : {x, y, w, h}) line += " " + std::to_string(v);
  line += " " + SurfaceName(front) + " " + std::to_string(fx) + " " + std::to_string(fy) + " " + SurfaceName(back);
  for (int v : {bx, by, sw, sh, flags, phase, axis}) line += " " + std::to_string(v);
  m_calls.push_back(line);
  return 0;
}

bool RecordingRenderer::DDBltRotate(DDSURFACEDATA* dst, int x, int y, int w, int h, int pivotX, int pivotY,
                                    int angle, DDSURFACEDATA* src, int sx, int sy, int flags) {
  Record("DDBltRotate", dst, {x, y, w, h, pivotX, pivotY, angle}, src, {sx, sy, flags});
  return true;
}

int RecordingRenderer::DDBltCircle(DDSURFACEDATA* dst, int cx, int cy, int halfW, int halfH, int radius, int step,
                                   DDSURFACEDATA* src, int scx, int scy, int flags) {
  Record("DDBltCircle", dst, {cx, cy, halfW, halfH, radius, step}, src, {scx, scy, flags});
  return 1;
}

bool RecordingRenderer::DDBltLens(DDSURFACEDATA* dst, int cx, int cy, int radius, int height, DDSURFACEDATA* src,
                                  int scx, int scy, int flags, int bClear) {
  Record("DDBltLens", dst, {cx, cy, radius, height}, src, {scx, scy, flags, bClear});
  return true;
}

bool RecordingRenderer::DDBltHalf(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                                  int sy, int flags, const uint8_t* blendTable) {
  Record("DDBltHalf", dst, {x, y, w, h}, src, {sx, sy, flags}, " " + TableName(blendTable, BlendTable, "BlendTable"));
  return true;
}

bool RecordingRenderer::DDBltTint(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                                  int sy, int flags, const PALETTEENTRY* palette, const uint8_t* blendTable,
                                  uint8_t palNum, int level) {
  Record("DDBltTint", dst, {x, y, w, h}, src, {sx, sy, flags},
         " " + TableName(palette, BasePalette, "BasePalette") + " " + TableName(blendTable, BlendTable, "BlendTable") +
             " " + std::to_string(palNum) + " " + std::to_string(level));
  return true;
}

bool RecordingRenderer::DDBltMosaic(DDSURFACEDATA* dst, int x, int y, int w, int h, int block, DDSURFACEDATA* src,
                                    int sx, int sy, int flags) {
  Record("DDBltMosaic", dst, {x, y, w, h, block}, src, {sx, sy, flags});
  return true;
}

bool RecordingRenderer::DDBltBlur(DDSURFACEDATA* dst, int x, int y, int w, int h, int rx, int ry,
                                  DDSURFACEDATA* src, int sx, int sy, int flags) {
  Record("DDBltBlur", dst, {x, y, w, h, rx, ry}, src, {sx, sy, flags});
  return true;
}

int RecordingRenderer::DDBlt(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                             int flags) {
  Record("DDBlt", dst, {x, y, w, h}, src, {sx, sy, flags});
  return 0;
}

int RecordingRenderer::DDBltStretch(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                                    int sy, int sw, int sh, int flags) {
  Record("DDBltStretch", dst, {x, y, w, h}, src, {sx, sy, sw, sh, flags});
  return 0;
}

int RecordingRenderer::DDFillRect(DDSURFACEDATA* dst, int x, int y, int w, int h, int palNum) {
  m_calls.push_back("DDFillRect " + SurfaceName(dst) + " " + std::to_string(x) + " " + std::to_string(y) + " " +
                    std::to_string(w) + " " + std::to_string(h) + " " + std::to_string(palNum));
  return 0;
}

void RecordingRenderer::DDDrawFrame(DDSURFACEDATA* dst, int x, int y, int w, int h, int t, int palNum) {
  m_calls.push_back("DDDrawFrame " + SurfaceName(dst) + " " + std::to_string(x) + " " + std::to_string(y) + " " +
                    std::to_string(w) + " " + std::to_string(h) + " " + std::to_string(t) + " " +
                    std::to_string(palNum));
}

namespace {

std::string FontName(const Font& font) {
  for (int i = 0; i < SYSTEM_FONT_COUNT; ++i)
    if (&font == &SysFont[i]) return "F" + std::to_string(i);
  return "F?";
}

}  // namespace

void RecordingRenderer::DrawBox(Font& font, DDSURFACEDATA* dst, int x, int y, int w, int h) {
  std::string line = "DrawBox " + FontName(font) + " " + SurfaceName(dst);
  for (int v : {x, y, w, h}) line += " " + std::to_string(v);
  m_calls.push_back(line);
}

int RecordingRenderer::DrawText(Font& font, DDSURFACEDATA* dst, int x, int y, const char* text, int bPlain) {
  std::string line = "DrawText " + FontName(font) + " " + SurfaceName(dst);
  for (int v : {x, y, bPlain}) line += " " + std::to_string(v);
  m_calls.push_back(line + " " + (text ? text : "(null)"));
  return 1;
}

void RecordingRenderer::DrawMenuText(DDSURFACEDATA* dst, int x, int y, int first, int count, int bCursorColumn) {
  std::string line = "DrawMenuText " + SurfaceName(dst);
  for (int v : {x, y, first, count, bCursorColumn}) line += " " + std::to_string(v);
  m_calls.push_back(line);
}

std::vector<std::string> RecordingRenderer::Take() {
  std::vector<std::string> taken;
  taken.swap(m_calls);
  return taken;
}

}  // namespace testsupport

namespace testsupport {

namespace {

std::string PaletteName(const PALETTEENTRY* palette) {
  return !palette                   ? "null"
         : palette == CurPalette  ? "CurPalette"
         : palette == BasePalette ? "BasePalette"
                                  : "?";
}

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

}  // namespace

bool RecordingRenderer::Fade(const char* name, double& angle, double end, PALETTEENTRY work[256], int first,
                             int last, uint8_t red, uint8_t green, uint8_t blue, double step,
                             const PALETTEENTRY src[256], int bSkip) {
  m_calls.push_back(std::string(name) + " " + PaletteName(work) + " " + std::to_string(first) + " " +
                    std::to_string(last) + " " + std::to_string(red) + " " + std::to_string(green) + " " +
                    std::to_string(blue) + " " + Number(step) + " " + PaletteName(src) + " " + std::to_string(bSkip));
  const double start = 90.0 - end;
  if (bSkip) angle = end;
  if (angle != end) {
    angle += end > start ? step : -step;
    if ((end > start && angle > end) || (end < start && angle < end)) angle = end;
    return false;
  }
  angle = start;
  return true;
}

bool RecordingRenderer::DDFadeIn(PALETTEENTRY work[256], int first, int last, uint8_t red, uint8_t green,
                                 uint8_t blue, double step, const PALETTEENTRY src[256], int bSkip) {
  return Fade("DDFadeIn", m_dFadeInAngle, 90.0, work, first, last, red, green, blue, step, src, bSkip);
}

bool RecordingRenderer::DDFadeOut(PALETTEENTRY work[256], int first, int last, uint8_t red, uint8_t green,
                                  uint8_t blue, double step, const PALETTEENTRY src[256], int bSkip) {
  return Fade("DDFadeOut", m_dFadeOutAngle, 0.0, work, first, last, red, green, blue, step, src, bSkip);
}

void RecordingRenderer::DDDrawNumber(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH,
                                     DDSURFACEDATA* digitSheet, int sx, int sy, int flags, int value, int minDigits,
                                     int bCentre) {
  Record("DDDrawNumber", dst, {x, y, cellW, cellH}, digitSheet, {sx, sy, flags, value, minDigits, bCentre});
}

int RecordingRenderer::DDFillSurface(DDSURFACEDATA* dst, int palNum) {
  m_calls.push_back("DDFillSurface " + SurfaceName(dst) + " " + std::to_string(palNum));
  return 1;
}

void RecordingRenderer::DDBeginBatch(int bSort) { m_calls.push_back("DDBeginBatch " + std::to_string(bSort)); }

void RecordingRenderer::DDBatchKey(DDSURFACEDATA* lpSrc) { m_calls.push_back("DDBatchKey " + SurfaceName(lpSrc)); }

int RecordingRenderer::DDFlushBatch() {
  m_calls.push_back("DDFlushBatch");
  return 1;
}

void RecordingRenderer::DDUseVirBackBuffer(int bOn) {
  m_calls.push_back("DDUseVirBackBuffer " + std::to_string(bOn));
}

void RecordingRenderer::DDSetAlphaOp(int op) { m_calls.push_back("DDSetAlphaOp " + std::to_string(op)); }

void RecordingRenderer::DDResetAlphaOp() { m_calls.push_back("DDResetAlphaOp"); }

bool RecordingRenderer::DDBltAlpha(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                                   int sy, int flags, const uint8_t* blendTable, int level) {
  Record("DDBltAlpha", dst, {x, y, w, h}, src, {sx, sy, flags},
         " " + TableName(blendTable, BlendTable, "BlendTable") + " " + std::to_string(level));
  return true;
}

bool RecordingRenderer::DDChangeColor(DDSURFACEDATA* dst, int x, int y, int w, int h, int nAlpha, uint8_t red,
                                      uint8_t green, uint8_t blue) {
  std::string line = "DDChangeColor " + SurfaceName(dst);
  for (int v : {x, y, w, h, nAlpha, int{red}, int{green}, int{blue}}) line += " " + std::to_string(v);
  m_calls.push_back(line);
  return true;
}

void RecordingRenderer::DDBlendPalette(PALETTEENTRY out[], int first, int last, int level, uint8_t red,
                                       uint8_t green, uint8_t blue, const PALETTEENTRY src[]) {
  std::string line = "DDBlendPalette " + PaletteName(out);
  for (int v : {first, last, level, int{red}, int{green}, int{blue}}) line += " " + std::to_string(v);
  m_calls.push_back(line + " " + PaletteName(src));
}

int RecordingRenderer::DDFillSurfaceColor(DDSURFACEDATA* dst, uint32_t colour) {
  m_calls.push_back("DDFillSurfaceColor " + SurfaceName(dst) + " " + Hex(colour));
  return 1;
}

void RecordingRenderer::ShowPalette(int first, int count) {
  m_calls.push_back("ShowPalette " + std::to_string(first) + " " + std::to_string(count));
}

}  // namespace testsupport
