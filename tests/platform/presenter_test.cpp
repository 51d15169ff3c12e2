// The presenter: frames handed over and converted at once, a newer frame
// replacing one not shown yet, and where a frame lands in its window.
#include <gtest/gtest.h>

#include <thread>

#include "platform/presenter.h"

namespace {

struct Captured {
  std::vector<std::vector<uint32_t>> frames;
  int width = 0, height = 0;
};

class Presenter : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::ResetPresenter();
    plat::SetFrameCapture([this](const uint32_t* p, int w, int h) {
      m_captured.frames.emplace_back(p, p + static_cast<size_t>(w) * h);
      m_captured.width = w;
      m_captured.height = h;
    });
  }
  void TearDown() override {
    plat::SetFrameCapture(nullptr);
    plat::ResetPresenter();
  }
  Captured m_captured;
};

plat::FrameView View32(const std::vector<uint32_t>& pixels, int w, int h) {
  plat::FrameView f;
  f.bits = reinterpret_cast<const uint8_t*>(pixels.data());
  f.pitch = w * 4;
  f.width = w;
  f.height = h;
  f.bpp = 32;
  return f;
}

}  // namespace

TEST_F(Presenter, ANewerFrameReplacesOneNotShownYet) {
  const std::vector<uint32_t> a(4, 0x111111), b(4, 0x222222), c(4, 0x333333);
  // Handed over from another thread, as the game thread does.
  std::thread([&] {
    plat::PresentFrame(View32(a, 2, 2));
    plat::PresentFrame(View32(b, 2, 2));
  }).join();
  EXPECT_TRUE(plat::PresenterPump());
  EXPECT_FALSE(plat::PresenterPump());  // nothing new
  plat::PresentFrame(View32(c, 2, 2));
  EXPECT_TRUE(plat::PresenterPump());
  ASSERT_EQ(m_captured.frames.size(), 2u);
  EXPECT_EQ(m_captured.frames[0], b);
  EXPECT_EQ(m_captured.frames[1], c);
  const plat::PresenterStats stats = plat::GetPresenterStats();
  EXPECT_EQ(stats.handed, 3u);
  EXPECT_EQ(stats.replaced, 1u);
  EXPECT_EQ(stats.shown, 2u);
}

TEST_F(Presenter, FramesAreConvertedWhenHandedOverWithThePaletteOfThatMoment) {
  // 8 bits: the palette in force at the hand-over counts, not a later one.
  plat::PalEntry palette[256] = {};
  palette[1] = plat::PalEntry{0x10, 0x20, 0x30, 0};
  const uint8_t indexed[4] = {1, 0, 0, 1};  // pitch 2
  plat::FrameView f8;
  f8.bits = indexed;
  f8.pitch = 2;
  f8.width = 1;
  f8.height = 2;
  f8.bpp = 8;
  f8.palette = palette;
  plat::PresentFrame(f8);
  palette[1] = plat::PalEntry{0xFF, 0xFF, 0xFF, 0};
  plat::PresenterPump();
  // 16 bits (RGB565) widen by repeating bits; 32 bits drop the top byte.
  const uint16_t wide[3] = {0xF800, 0x07E0, 0x0841};
  plat::FrameView f16;
  f16.bits = reinterpret_cast<const uint8_t*>(wide);
  f16.pitch = 6;
  f16.width = 3;
  f16.height = 1;
  f16.bpp = 16;
  plat::PresentFrame(f16);
  plat::PresenterPump();
  const std::vector<uint32_t> deep = {0xFF123456};
  plat::PresentFrame(View32(deep, 1, 1));
  plat::PresenterPump();
  ASSERT_EQ(m_captured.frames.size(), 3u);
  EXPECT_EQ(m_captured.frames[0], (std::vector<uint32_t>{0x102030, 0x000000}));
  EXPECT_EQ(m_captured.frames[1], (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x080808}));
  EXPECT_EQ(m_captured.frames[2], (std::vector<uint32_t>{0x123456}));
}

TEST(PresenterLetterbox, TheFrameIsAsLargeAsFitsWithItsAspectKeptAndCentred) {
  struct Case {
    int windowW, windowH;
    plat::PresentRect rect;
  };
  const Case cases[] = {
      {640, 480, {0, 0, 640, 480}},     {1280, 960, {0, 0, 1280, 960}},  {1280, 720, {160, 0, 960, 720}},
      {1920, 1080, {240, 0, 1440, 1080}}, {800, 800, {0, 100, 800, 600}}, {300, 200, {17, 0, 266, 200}},
      {641, 480, {0, 0, 640, 480}},     {0, 480, {0, 0, 0, 0}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(plat::LetterboxRect(c.windowW, c.windowH, 640, 480), c.rect) << c.windowW << "x" << c.windowH;
}
