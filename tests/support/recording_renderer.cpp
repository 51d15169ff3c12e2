#include "support/recording_renderer.h"

#include "media/font.h"
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
                               const DDSURFACEDATA* src, const std::vector<int>& after) {
  std::string line = name + " " + SurfaceName(dst);
  for (int v : before) line += " " + std::to_string(v);
  line += " " + SurfaceName(src);
  for (int v : after) line += " " + std::to_string(v);
  m_calls.push_back(line);
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

void RecordingRenderer::DrawBox(Font& font, DDSURFACEDATA* dst, int x, int y, int w, int h) {
  std::string line = "DrawBox F?";
  for (int i = 0; i < SYSTEM_FONT_COUNT; ++i)
    if (&font == &SysFont[i]) line = "DrawBox F" + std::to_string(i);
  line += " " + SurfaceName(dst);
  for (int v : {x, y, w, h}) line += " " + std::to_string(v);
  m_calls.push_back(line);
}

std::vector<std::string> RecordingRenderer::Take() {
  std::vector<std::string> taken;
  taken.swap(m_calls);
  return taken;
}

}  // namespace testsupport
