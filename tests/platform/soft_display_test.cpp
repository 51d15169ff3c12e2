// The software display: copies (plain, keyed, stretched), fills, the
// video-memory budget, surface loss, flips and the failure hooks.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/presenter.h"
#include "platform/soft_display.h"
#include "support/test_support.h"

namespace {

using plat::DDSurface;
using plat::Rect;

class SoftDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::ClearDisplayFailures();
    plat::SetVideoMemoryBudget(uint64_t{256} << 20);
    plat::ResetPresenter();
  }
  void TearDown() override {
    plat::ClearDisplayFailures();
    plat::SetVideoMemoryBudget(uint64_t{256} << 20);
  }

  // A full-screen display at the given depth.
  std::unique_ptr<plat::DDObject> Display(int bpp) {
    std::unique_ptr<plat::DDObject> dd;
    EXPECT_EQ(plat::DDObject::Create(dd), plat::DD_OK);
    EXPECT_EQ(dd->SetCooperativeLevel(plat::WindowHandle{}, true), plat::DD_OK);
    EXPECT_EQ(dd->SetDisplayMode(640, 480, bpp, 0), plat::DD_OK);
    return dd;
  }

  static std::shared_ptr<DDSurface> Surface(plat::DDObject& dd, int w, int h, bool system = false) {
    std::shared_ptr<DDSurface> s;
    EXPECT_EQ(dd.CreateSurface(w, h, system, s), plat::DD_OK);
    return s;
  }

  static void Set(DDSurface& s, int x, int y, uint32_t v) {
    plat::LockedPixels px;
    ASSERT_EQ(s.Lock(px), plat::DD_OK);
    uint8_t* row = px.bits + y * px.pitch;
    if (px.bpp == 8) row[x] = static_cast<uint8_t>(v);
    if (px.bpp == 16) reinterpret_cast<uint16_t*>(row)[x] = static_cast<uint16_t>(v);
    if (px.bpp == 32) reinterpret_cast<uint32_t*>(row)[x] = v;
    s.Unlock();
  }

  static uint32_t Get(DDSurface& s, int x, int y) {
    plat::LockedPixels px;
    EXPECT_EQ(s.Lock(px), plat::DD_OK);
    if (!px.bits) return 0xDEAD;
    const uint8_t* row = px.bits + y * px.pitch;
    uint32_t v = px.bpp == 8 ? row[x] : px.bpp == 16 ? reinterpret_cast<const uint16_t*>(row)[x]
                                                     : reinterpret_cast<const uint32_t*>(row)[x];
    s.Unlock();
    return v;
  }

  static std::vector<uint32_t> Row(DDSurface& s, int y) {
    std::vector<uint32_t> out;
    for (int x = 0; x < s.Width(); ++x) out.push_back(Get(s, x, y));
    return out;
  }
};

TEST_F(SoftDisplay, KeyedCopiesLeaveTheKeyOutAndCompareTheLow24BitsAt32) {
  struct Case {
    int bpp;
    uint32_t key;
    uint32_t pixels[3];
    uint32_t expect[3];  // over a target of 7s
  };
  const Case cases[] = {
      {8, 5, {5, 6, 0}, {7, 6, 0}},
      {16, 0xF81F, {0xF81F, 0x0001, 0xF81E}, {7, 0x0001, 0xF81E}},
      {32, 0x00123456, {0xFF123456, 0x00123457, 0x00000000}, {7, 0x00123457, 0}},
  };
  for (const Case& c : cases) {
    auto dd = Display(c.bpp);
    auto src = Surface(*dd, 3, 1);
    auto dst = Surface(*dd, 3, 1);
    for (int x = 0; x < 3; ++x) {
      Set(*src, x, 0, c.pixels[x]);
      Set(*dst, x, 0, 7);
    }
    src->SetColorKey(c.key);
    EXPECT_EQ(dst->BltFast(0, 0, *src, Rect{0, 0, 3, 1}, true), plat::DD_OK);
    EXPECT_EQ(Row(*dst, 0), std::vector<uint32_t>(c.expect, c.expect + 3)) << c.bpp;
    EXPECT_EQ(dst->BltFast(0, 0, *src, Rect{0, 0, 3, 1}, false), plat::DD_OK);
    EXPECT_EQ(Row(*dst, 0), std::vector<uint32_t>(c.pixels, c.pixels + 3)) << c.bpp;
  }
}

TEST_F(SoftDisplay, StretchTakesSourceColumnLeftPlusTruncatedKTimesSourceWidthOverWidth) {
  auto dd = Display(32);
  auto src = Surface(*dd, 8, 1);
  for (int x = 0; x < 8; ++x) Set(*src, x, 0, 10 * (x + 1));
  struct Case {
    Rect srcRect;
    int width;
    std::vector<uint32_t> row;
  };
  const Case cases[] = {
      {{0, 0, 3, 1}, 7, {10, 10, 10, 20, 20, 30, 30}},
      {{1, 0, 8, 1}, 3, {20, 40, 60}},
      {{5, 0, 7, 1}, 5, {60, 60, 60, 70, 70}},
  };
  for (const Case& c : cases) {
    auto dst = Surface(*dd, c.width, 1);
    EXPECT_EQ(dst->Blt(Rect{0, 0, c.width, 1}, *src, c.srcRect, false), plat::DD_OK);
    EXPECT_EQ(Row(*dst, 0), c.row);
  }
  // Rows the same way: 2 rows to 5.
  auto tall = Surface(*dd, 1, 2);
  Set(*tall, 0, 0, 1);
  Set(*tall, 0, 1, 2);
  auto dst = Surface(*dd, 1, 5);
  EXPECT_EQ(dst->Blt(Rect{0, 0, 1, 5}, *tall, Rect{0, 0, 1, 2}, false), plat::DD_OK);
  std::vector<uint32_t> column;
  for (int y = 0; y < 5; ++y) column.push_back(Get(*dst, 0, y));
  EXPECT_EQ(column, (std::vector<uint32_t>{1, 1, 1, 2, 2}));
}

TEST_F(SoftDisplay, RectanglesOutsideEitherSurfaceAreRefusedAndDrawNothing) {
  auto dd = Display(16);
  auto src = Surface(*dd, 4, 4);
  auto dst = Surface(*dd, 4, 4);
  src->Fill(Rect{0, 0, 4, 4}, 0x1234);
  const struct {
    int x, y;
    Rect r;
  } cases[] = {{-1, 0, {0, 0, 2, 2}}, {3, 0, {0, 0, 2, 2}}, {0, 0, {3, 3, 5, 5}}, {0, 0, {2, 2, 2, 3}}};
  for (const auto& c : cases) {
    EXPECT_EQ(dst->BltFast(c.x, c.y, *src, c.r, false), plat::DDERR_INVALIDRECT);
    EXPECT_EQ(dst->Blt(Rect{c.x, c.y, c.x + 3, c.y + 3}, *src, c.r, false), plat::DDERR_INVALIDRECT);
  }
  EXPECT_EQ(dst->Fill(Rect{-1, 0, 2, 2}, 5), plat::DDERR_INVALIDRECT);
  EXPECT_EQ(Row(*dst, 0), (std::vector<uint32_t>{0, 0, 0, 0}));
}

TEST_F(SoftDisplay, CopiesWithinOneSurfaceReadTheSourceBeforeWritingOverIt) {
  auto dd = Display(8);
  auto s = Surface(*dd, 4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) Set(*s, x, y, 10 * y + x);
  EXPECT_EQ(s->BltFast(1, 1, *s, Rect{0, 0, 3, 3}, false), plat::DD_OK);
  EXPECT_EQ(Row(*s, 1), (std::vector<uint32_t>{10, 0, 1, 2}));
  EXPECT_EQ(Row(*s, 3), (std::vector<uint32_t>{30, 20, 21, 22}));
}

TEST_F(SoftDisplay, VideoMemoryIsABudgetAndSystemMemoryIsNot) {
  plat::SetVideoMemoryBudget(64 * 64 * 4 + 100);
  auto dd = Display(32);
  uint64_t total = 0, free = 0;
  dd->GetVideoMemory(total, free);
  EXPECT_EQ(total, uint64_t{64 * 64 * 4 + 100});
  std::shared_ptr<DDSurface> a, b, c;
  EXPECT_EQ(dd->CreateSurface(64, 64, false, a), plat::DD_OK);
  dd->GetVideoMemory(total, free);
  EXPECT_EQ(free, 100u);
  EXPECT_EQ(dd->CreateSurface(8, 8, false, b), plat::DDERR_OUTOFVIDEOMEMORY);
  EXPECT_EQ(b, nullptr);
  EXPECT_EQ(dd->CreateSurface(64, 64, true, c), plat::DD_OK);
  EXPECT_FALSE(c->InVideoMemory());
  a.reset();
  EXPECT_EQ(dd->CreateSurface(8, 8, false, b), plat::DD_OK);
}

TEST_F(SoftDisplay, LostVideoSurfacesHoldAPatternAndRefuseCopiesUntilRestored) {
  auto dd = Display(8);
  auto video = Surface(*dd, 4, 8);
  auto system = Surface(*dd, 4, 8, true);
  video->Fill(Rect{0, 0, 4, 8}, 9);
  system->Fill(Rect{0, 0, 4, 8}, 9);
  plat::LoseVideoSurfaces();
  EXPECT_EQ(video->IsLost(), plat::DDERR_SURFACELOST);
  EXPECT_EQ(system->IsLost(), plat::DD_OK);
  plat::LockedPixels px;
  EXPECT_EQ(video->Lock(px), plat::DDERR_SURFACELOST);
  EXPECT_EQ(system->BltFast(0, 0, *video, Rect{0, 0, 4, 8}, false), plat::DDERR_SURFACELOST);
  EXPECT_EQ(video->BltFast(0, 0, *system, Rect{0, 0, 4, 8}, false), plat::DDERR_SURFACELOST);
  EXPECT_EQ(video->Fill(Rect{0, 0, 1, 1}, 1), plat::DDERR_SURFACELOST);
  EXPECT_EQ(Get(*system, 0, 0), 9u);
  EXPECT_EQ(video->Restore(), plat::DD_OK);
  EXPECT_EQ(video->IsLost(), plat::DD_OK);
  // Rows 0-3 and 4-7 hold the two stripes of the pattern, not the old picture.
  EXPECT_EQ(Get(*video, 0, 0), 0x1Au);
  EXPECT_EQ(Get(*video, 0, 4), 0xE5u);
  EXPECT_EQ(video->BltFast(0, 0, *system, Rect{0, 0, 4, 8}, false), plat::DD_OK);
}

TEST_F(SoftDisplay, FocusLossLosesSurfacesOnlyInFullScreen) {
  std::unique_ptr<plat::DDObject> dd;
  ASSERT_EQ(plat::DDObject::Create(dd), plat::DD_OK);
  ASSERT_EQ(dd->SetCooperativeLevel(plat::WindowHandle{}, false), plat::DD_OK);
  auto windowed = Surface(*dd, 2, 2);
  plat::detail::OnFocusLost();
  EXPECT_EQ(windowed->IsLost(), plat::DD_OK);
  dd->Release();
  auto full = Display(16);
  auto s = Surface(*full, 2, 2);
  plat::detail::OnFocusLost();
  EXPECT_EQ(s->IsLost(), plat::DDERR_SURFACELOST);
}

TEST_F(SoftDisplay, AFlipExchangesTheChainAndHandsTheNewFrontOver) {
  plat::FakeClock clock(1000);
  for (int backs : {1, 2}) {
    auto dd = Display(8);
    std::shared_ptr<DDSurface> primary, back;
    ASSERT_EQ(dd->CreatePrimary(backs, primary), plat::DD_OK);
    ASSERT_EQ(primary->GetAttachedBackBuffer(back), plat::DD_OK);
    primary->Fill(Rect{0, 0, 640, 480}, 1);  // also hands a frame over
    back->Fill(Rect{0, 0, 640, 480}, 2);
    const uint64_t handed = plat::GetPresenterStats().handed;
    ASSERT_EQ(primary->Flip(), plat::DD_OK);
    EXPECT_EQ(plat::GetPresenterStats().handed, handed + 1);
    EXPECT_EQ(Get(*primary, 0, 0), 2u) << backs;
    // One back buffer gets the old front; with two it gets the second one's (still 0).
    EXPECT_EQ(Get(*back, 0, 0), backs == 1 ? 1u : 0u) << backs;
    if (backs == 2) {
      ASSERT_EQ(primary->Flip(), plat::DD_OK);
      EXPECT_EQ(Get(*primary, 0, 0), 0u);
      EXPECT_EQ(Get(*back, 0, 0), 1u);
    }
  }
}

TEST_F(SoftDisplay, WithoutALiveWindowBlankWaitsRunOnA60HzClock) {
  plat::FakeClock clock(1000);
  auto dd = Display(32);
  dd->WaitForVerticalBlank();
  EXPECT_EQ(clock.Now(), 1017u);  // tick 61 of second 1 begins at 1016.67 ms
  dd->WaitForVerticalBlank();
  EXPECT_EQ(clock.Now(), 1034u);
  clock.Set(1050);
  dd->WaitForVerticalBlank();
  EXPECT_EQ(clock.Now(), 1067u);
}

TEST_F(SoftDisplay, EachCreationStepCanBeMadeToFailOnce) {
  plat::FailDisplayStep(plat::DisplayStep::Create);
  std::unique_ptr<plat::DDObject> dd;
  EXPECT_NE(plat::DDObject::Create(dd), plat::DD_OK);
  EXPECT_EQ(dd, nullptr);
  EXPECT_EQ(plat::DDObject::Create(dd), plat::DD_OK);
  plat::FailDisplayStep(plat::DisplayStep::Surface, 1);  // the second creation fails
  ASSERT_EQ(dd->SetCooperativeLevel(plat::WindowHandle{}, false), plat::DD_OK);
  std::shared_ptr<DDSurface> a, b, c;
  EXPECT_EQ(dd->CreateSurface(2, 2, true, a), plat::DD_OK);
  EXPECT_NE(dd->CreateSurface(2, 2, true, b), plat::DD_OK);
  EXPECT_EQ(dd->CreateSurface(2, 2, true, c), plat::DD_OK);
}

TEST_F(SoftDisplay, ReleaseCountsWhatIsStillHeld) {
  auto dd = Display(32);
  auto kept = Surface(*dd, 2, 2);
  std::shared_ptr<plat::DDPalette> palette;
  ASSERT_EQ(dd->CreatePalette(nullptr, palette), plat::DD_OK);
  palette.reset();
  EXPECT_EQ(dd->Release(), 1);
  // The surface outlives the display and still works.
  EXPECT_EQ(kept->Fill(Rect{0, 0, 2, 2}, 3), plat::DD_OK);
  auto clean = Display(32);
  EXPECT_EQ(clean->Release(), 0);
}

TEST_F(SoftDisplay, ALockedSurfaceRefusesCopiesAndASecondLock) {
  auto dd = Display(16);
  auto a = Surface(*dd, 2, 2);
  auto b = Surface(*dd, 2, 2);
  plat::LockedPixels px;
  ASSERT_EQ(a->Lock(px), plat::DD_OK);
  EXPECT_EQ(px.pitch % 8, 0);
  EXPECT_GE(px.pitch, 4);
  plat::LockedPixels again;
  EXPECT_EQ(a->Lock(again), plat::DDERR_SURFACEBUSY);
  EXPECT_EQ(b->BltFast(0, 0, *a, Rect{0, 0, 2, 2}, false), plat::DDERR_SURFACEBUSY);
  EXPECT_EQ(a->Unlock(), plat::DD_OK);
  EXPECT_EQ(a->Unlock(), plat::DDERR_NOTLOCKED);
  EXPECT_EQ(b->BltFast(0, 0, *a, Rect{0, 0, 2, 2}, false), plat::DD_OK);
}

}  // namespace
