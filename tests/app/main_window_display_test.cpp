// The main window's messages about the software display: an uncovered
// window shows the last picture again, and the palette messages (which the
// window system here never sends) put the display's palette back on the
// picture. The main window object is called as its window procedure is.
#include <vector>

#include "app/main_window.h"
#include "app/win_main.h"
#include "media/dd_frame.h"
#include "media/dd_test_env.h"
#include "platform/message_numbers.h"
#include "platform/presenter.h"

namespace {

class MainWindowDisplay : public DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    plat::SetFrameCapture([this](const uint32_t* pixels, int, int) { m_shown.push_back(pixels[0]); });
  }
  void TearDown() override {
    plat::SetFrameCapture(nullptr);
    bWndReady = 0;
    DrawingTest::TearDown();
  }
  intptr_t Message(uint32_t message, uintptr_t wParam = 0) {
    return MainWindow.WindowProc(m_window, message, wParam, 0);
  }
  // The colours of the frames shown since the last look.
  std::vector<uint32_t> Shown() {
    plat::PresenterPump();
    std::vector<uint32_t> out;
    out.swap(m_shown);
    return out;
  }

  plat::WindowHandle m_window{4242};
  std::vector<uint32_t> m_shown;
};

}  // namespace

TEST_F(MainWindowDisplay, AnUncoveredWindowShowsTheLastPictureAgain) {
  ASSERT_TRUE(Start(32));
  DDFillSurface(&BackBuffer, 0);
  FrameDrawing->ShowFrame(0);
  ASSERT_EQ(Shown().size(), 1u);

  bWndReady = 0;
  EXPECT_EQ(Message(WM_PAINT), 0);
  EXPECT_TRUE(Shown().empty()) << "not before start-up succeeded";
  bWndReady = 1;
  EXPECT_EQ(Message(WM_PAINT), 0);
  EXPECT_EQ(Shown().size(), 1u);
  DDRelease();
  EXPECT_EQ(Message(WM_PAINT), 0);
  EXPECT_TRUE(Shown().empty()) << "no software display, nothing to show";
}

TEST_F(MainWindowDisplay, ThePaletteMessagesPutTheDisplaysPaletteBack) {
  ASSERT_TRUE(Start(8));
  plat::PalEntry red[256], blue[256];
  for (int i = 0; i < 256; ++i) {
    red[i] = plat::PalEntry{255, 0, 0, 0};
    blue[i] = plat::PalEntry{0, 0, 255, 0};
  }
  DDPalette->SetEntries(0, 256, red);
  std::shared_ptr<plat::DDPalette> other;
  ASSERT_EQ(lpDD->CreatePalette(blue, other), plat::DD_OK);
  plat::DDSurface* primary = Primary.lpDDS->lpSurface.get();
  struct Case {
    const char* what;
    uint32_t message;
    uintptr_t wParam;
    uint32_t colour;
  } cases[] = {
      {"another program took the palette", WM_QUERYNEWPALETTE, 0, 0xFF0000},
      {"another window changed the palette", WM_PALETTECHANGED, 77, 0xFF0000},
      {"this window changed it itself", WM_PALETTECHANGED, 4242, 0x0000FF},
  };
  for (const Case& c : cases) {
    primary->SetPalette(other);
    EXPECT_EQ(Message(c.message, c.wParam), 0) << c.what;
    FrameDrawing->ShowFrame(0);
    EXPECT_EQ(Shown(), std::vector<uint32_t>{c.colour}) << c.what;
  }
}
