// Picture instances: their time, and where and how their image is drawn while
// the view scrolls.
#include "display_objects_env.h"
#include "game/picture_instance.h"

namespace {

using testsupport::RecordingRenderer;

class PictureInstance : public DisplayObjects {};

TEST_F(PictureInstance, LivesForItsDisplayModeAndTime) {
  DDSURFACEDATA image;
  image.nWidth = 64;
  image.nHeight = 32;
  RecordingRenderer recorder;
  for (const LifeCase& c : kLifeCases) {
    cPictureInstance p;
    p.Init(1, 0, 0, 64, 32, 0, 1, 100, c.displayMode, c.frames, c.stopsGame, 0, 0);
    for (int i = 0; i < c.frozenFirst; ++i) ASSERT_EQ(p.Draw(&BackBuffer, &image, 1), 0) << c.what;
    int calls = -1;
    for (int n = 1; n <= 200 && calls < 0; ++n)
      if (p.Draw(&BackBuffer, &image, c.frozen)) calls = n;
    EXPECT_EQ(calls, c.calls) << c.what;
    if (calls > 0) {
      EXPECT_EQ(p.m_nFrames, -1) << c.what;
    }
  }
}

struct PicturePlaceCase {
  const char* what;
  int screenFixed, scale;
  std::string before, after;  // drawn at the first view and after it scrolled
};

TEST_F(PictureInstance, ScreenFixedPicturesKeepTheirPlaceAndWorldPicturesScroll) {
  // At (300.9, 200.2), 64 × 32 from a 128 × 64 image; the view moves from
  // (100.5, 50.7) to (130.2, 60).
  const PicturePlaceCase cases[] = {
      {"world, plain", 0, 100, "DDBlt Back 200 150 64 32 P0 0 0 1", "DDBlt Back 170 140 64 32 P0 0 0 1"},
      {"screen-fixed, plain", 1, 100, "DDBlt Back 200 150 64 32 P0 0 0 1", "DDBlt Back 200 150 64 32 P0 0 0 1"},
      {"world at 50 %", 0, 50, "DDBltStretch Back 200 150 64 32 P0 0 0 128 64 1",
       "DDBltStretch Back 170 140 64 32 P0 0 0 128 64 1"},
      {"screen-fixed at 50 %", 1, 50, "DDBltStretch Back 200 150 64 32 P0 0 0 128 64 1",
       "DDBltStretch Back 200 150 64 32 P0 0 0 128 64 1"},
  };
  Off_Picture.resize(1);
  Off_Picture.back().nWidth = 128;
  Off_Picture.back().nHeight = 64;
  for (const PicturePlaceCase& c : cases) {
    Scroll(100.5, 50.7);
    cPictureInstance p;
    p.Init(3, 300.9, 200.2, 64, 32, c.screenFixed, 0, c.scale, 1, 0, 0, 1, 8);
    EXPECT_EQ(p.m_bScaled, c.scale != 100 ? 1 : 0) << c.what;
    RecordingRenderer recorder;
    p.Draw(&BackBuffer, &Off_Picture.back(), 0);
    Scroll(130.2, 60);
    p.Draw(&BackBuffer, &Off_Picture.back(), 0);
    EXPECT_EQ(recorder.Calls(), (std::vector<std::string>{c.before, c.after})) << c.what;
  }
  // Without its image nothing is drawn.
  cPictureInstance p;
  p.Init(3, 0, 0, 64, 32, 0, 0, 100, 1, 0, 0, 0, 0);
  RecordingRenderer recorder;
  EXPECT_EQ(p.Draw(&BackBuffer, nullptr, 0), 0);
  EXPECT_TRUE(recorder.Calls().empty());
}

}  // namespace
