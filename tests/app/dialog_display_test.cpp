// What the dialogs read of the drawing layer, and palette entry 0 of the
// 8-bit software display, which the file dialogs keep black while they are open.
#include "app/dialog_display.h"
#include "media/dd_test_env.h"

namespace {

class DialogDisplayOfTheLayer : public DrawingTest {};

plat::PalEntry Entry0() {
  plat::PalEntry e[1];
  DDPalette->GetEntries(0, 1, e);
  return e[0];
}

}  // namespace

TEST_F(DialogDisplayOfTheLayer, AnswersFromTheRunningBackEnd) {
  cDialogDisplay& display = DialogDisplay();
  EXPECT_EQ(display.IsRunning(), 0);

  struct Case {
    const char* what;
    int direct3D, bpp;
    bool window;
  } cases[] = {
      {"software display, full screen, 8 bits", 0, 8, false},
      {"software display in a window", 0, 32, true},
      {"Direct3D full screen, 16 bits", 1, 16, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(c.direct3D ? Start3D(c.bpp, c.window) : Start(c.bpp, c.window));
    EXPECT_EQ(display.IsRunning(), 1);
    EXPECT_EQ(display.IsDirect3D(), c.direct3D);
    EXPECT_EQ(display.IsWindowMode(), c.window ? 1 : 0);
    EXPECT_EQ(display.ColorBits(), c.bpp);
    DDRelease();
    EXPECT_EQ(display.IsRunning(), 0);
  }
}

TEST_F(DialogDisplayOfTheLayer, PaletteEntry0GoesBlackAndComesBackFromThePaletteInForce) {
  ASSERT_TRUE(Start(8));
  CurPalette[0] = PALETTEENTRY{10, 20, 30, PC_RESERVED};
  cDialogDisplay& display = DialogDisplay();
  display.SetPaletteEntry0(0, 0, 0, 0);
  EXPECT_EQ(Entry0(), (plat::PalEntry{0, 0, 0, 0}));
  display.RestorePaletteEntry0();
  EXPECT_EQ(Entry0(), (plat::PalEntry{10, 20, 30, PC_RESERVED}));
  DDRelease();
  // Without a display palette there is nothing to change.
  display.SetPaletteEntry0(0, 0, 0, 0);
  display.RestorePaletteEntry0();
}
