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

  // The calls so far; Take empties the record.
  const std::vector<std::string>& Calls() const { return m_calls; }
  std::vector<std::string> Take();

  static std::string SurfaceName(const DDSURFACEDATA* surface);

 private:
  void Record(const std::string& name, const DDSURFACEDATA* dst, const std::vector<int>& before,
              const DDSURFACEDATA* src, const std::vector<int>& after);
  std::vector<std::string> m_calls;
  cPlayDrawing* m_previous;
};

}  // namespace testsupport
