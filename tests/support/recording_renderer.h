#pragma once
// The drawing of play, recorded: while a RecordingRenderer lives it is
// PlayDrawing, draws nothing and keeps each call as one line with its
// arguments, surfaces by name: "Back" (BackBuffer), "T<i>" (SurfaceTable
// entry i), "S<i>" (Off_StageBmp entry i), "W<i>" (Off_Sword entry i),
// "E<i>" (Off_Effect entry i), "M<i>" (Off_Msg entry i), "P<i>" (Off_Picture
// entry i), "null", "?" (another surface); fonts as "F<i>" (SysFont[i]) or "F?".
//   "DDBlt Back 10 20 16 16 T42 0 16 1"
//   "DDBltStretch Back 10 20 16 16 T3 32 64 32 32 1"
//   "DDFillRect Back 10 20 16 24 208", "DDDrawFrame Back 10 20 16 24 1 208"
//   "DrawBox F1 Back 10 20 50 18"
//   "DrawText F1 Back 16 32 0 Ranking" (the text's bytes as they are, after bPlain)
// Blend values follow a blit as "<colour in hex> <op>"; the colour state
// calls read "DDSetDrawColor ff00ff00", "DDSetColorOp 7", "DDResetDrawColor";
// a palette or blend table is named "BasePalette" or "BlendTable" ("?" when
// another); a wave's amplitude is printed with %g.
//   "DDBltBlend Back 10 20 32 32 T5 0 0 1 ff808080 7"
//   "DDBltTint Back 10 20 32 32 T23 0 0 1 BasePalette BlendTable 31 2"
// Fades name their palettes ("CurPalette", "BasePalette", "?") and print
// the step with %g; a number gives its value after the digit sheet:
//   "DDFadeIn CurPalette 0 255 0 0 0 10 BasePalette 0"
//   "DDDrawNumber Back 384 224 32 32 T51 0 128 1 3 1 0", "DDFillSurface Back 16"
// A drawing of play that gets a new layer call in cPlayDrawing records it
// here the same way.
#include <string>
#include <vector>

#include "game/play_drawing.h"

namespace testsupport {

class RecordingRenderer : public cPlayDrawing {
 public:
  RecordingRenderer();
  ~RecordingRenderer() override;
  RecordingRenderer(const RecordingRenderer&) = delete;
  RecordingRenderer& operator=(const RecordingRenderer&) = delete;

  int DDBlt(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
            int flags) override;
  int DDBltStretch(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw,
                   int sh, int flags) override;
  int DDFillRect(DDSURFACEDATA* dst, int x, int y, int w, int h, int palNum) override;
  void DDDrawFrame(DDSURFACEDATA* dst, int x, int y, int w, int h, int t, int palNum) override;
  void DrawBox(Font& font, DDSURFACEDATA* dst, int x, int y, int w, int h) override;
  int DrawText(Font& font, DDSURFACEDATA* dst, int x, int y, const char* text, int bPlain) override;
  // "DrawMenuText Back 264 272 19 3 1".
  void DrawMenuText(DDSURFACEDATA* dst, int x, int y, int first, int count, int bCursorColumn) override;
  void DDBltBlend(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags,
                  const int blend[2]) override;
  void DDBltStretchBlend(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                         int sw, int sh, int flags, const int blend[2]) override;
  void DDSetDrawColor(uint32_t argb) override;
  void DDResetDrawColor() override;
  void DDSetColorOp(int op) override;
  void DDResetColorOp() override;
  void DDBltBurst(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int d,
                  int flags) override;
  int DDBltSplit(DDSURFACEDATA* dst, int x, int y, int w, int h, int n, int d, DDSURFACEDATA* src, int sx, int sy,
                 int flags, int bVertical) override;
  void DDBltWave(DDSURFACEDATA* dst, int x, int y, int w, int h, int waves, double amplitude, int phase, int strip,
                 DDSURFACEDATA* src, int sx, int sy, int flags, int bVertical) override;
  int DDBltDepthRotate(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* front, int fx, int fy,
                       DDSURFACEDATA* back, int bx, int by, int sw, int sh, int flags, int phase,
                       int axis) override;
  bool DDBltRotate(DDSURFACEDATA* dst, int x, int y, int w, int h, int pivotX, int pivotY, int angle,
                   DDSURFACEDATA* src, int sx, int sy, int flags) override;
  int DDBltCircle(DDSURFACEDATA* dst, int cx, int cy, int halfW, int halfH, int radius, int step, DDSURFACEDATA* src,
                  int scx, int scy, int flags) override;
  bool DDBltLens(DDSURFACEDATA* dst, int cx, int cy, int radius, int height, DDSURFACEDATA* src, int scx, int scy,
                 int flags, int bClear) override;
  bool DDBltHalf(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags,
                 const uint8_t* blendTable) override;
  bool DDBltTint(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags,
                 const PALETTEENTRY* palette, const uint8_t* blendTable, uint8_t palNum, int level) override;
  bool DDBltMosaic(DDSURFACEDATA* dst, int x, int y, int w, int h, int block, DDSURFACEDATA* src, int sx, int sy,
                   int flags) override;
  bool DDBltBlur(DDSURFACEDATA* dst, int x, int y, int w, int h, int rx, int ry, DDSURFACEDATA* src, int sx, int sy,
                 int flags) override;
  // A fade runs as the layer's does: done on the call after the one that
  // reached its end angle (10 calls at step 10).
  bool DDFadeIn(PALETTEENTRY work[256], int first, int last, uint8_t red, uint8_t green, uint8_t blue, double step,
                const PALETTEENTRY src[256], int bSkip) override;
  bool DDFadeOut(PALETTEENTRY work[256], int first, int last, uint8_t red, uint8_t green, uint8_t blue, double step,
                 const PALETTEENTRY src[256], int bSkip) override;
  void DDDrawNumber(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH, DDSURFACEDATA* digitSheet, int sx, int sy,
                    int flags, int value, int minDigits, int bCentre) override;
  int DDFillSurface(DDSURFACEDATA* dst, int palNum) override;
  // "DDBeginBatch 1", "DDBatchKey T43", "DDFlushBatch", "DDUseVirBackBuffer 1".
  void DDBeginBatch(int bSort) override;
  void DDBatchKey(DDSURFACEDATA* lpSrc) override;
  int DDFlushBatch() override;
  void DDUseVirBackBuffer(int bOn) override;
  // "DDSetAlphaOp 1", "DDResetAlphaOp",
  // "DDBltAlpha Back 0 0 640 480 T67 0 0 0 BlendTable 127" (the level last),
  // "DDChangeColor Back 0 0 640 480 127 255 0 0" (level, red, green, blue),
  // "DDBlendPalette CurPalette 0 255 127 255 0 0 BasePalette",
  // "DDFillSurfaceColor T67 ffff0000", "ShowPalette 0 256".
  void DDSetAlphaOp(int op) override;
  void DDResetAlphaOp() override;
  bool DDBltAlpha(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags,
                  const uint8_t* blendTable, int level) override;
  bool DDChangeColor(DDSURFACEDATA* dst, int x, int y, int w, int h, int nAlpha, uint8_t red, uint8_t green,
                     uint8_t blue) override;
  void DDBlendPalette(PALETTEENTRY out[], int first, int last, int level, uint8_t red, uint8_t green, uint8_t blue,
                      const PALETTEENTRY src[]) override;
  int DDFillSurfaceColor(DDSURFACEDATA* dst, uint32_t colour) override;
  void ShowPalette(int first, int count) override;

  // The calls so far; Take empties the record.
  const std::vector<std::string>& Calls() const { return m_calls; }
  std::vector<std::string> Take();

  static std::string SurfaceName(const DDSURFACEDATA* surface);

 private:
  void Record(const std::string& name, const DDSURFACEDATA* dst, const std::vector<int>& before,
              const DDSURFACEDATA* src, const std::vector<int>& after, const std::string& tail = "");
  bool Fade(const char* name, double& angle, double end, PALETTEENTRY work[256], int first, int last, uint8_t red,
            uint8_t green, uint8_t blue, double step, const PALETTEENTRY src[256], int bSkip);
  std::vector<std::string> m_calls;
  cPlayDrawing* m_previous;
  double m_dFadeInAngle = 0.0;
  double m_dFadeOutAngle = 90.0;
};

}  // namespace testsupport
