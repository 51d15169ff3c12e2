// The window base class: frame and placement arithmetic, the command guard,
// the mouse record and the message names.
#include <gtest/gtest.h>

#include <vector>

#include "app/window.h"
#include "platform/event_push.h"
#include "platform/message_numbers.h"
#include "platform/messages.h"
#include "platform/window.h"
#include "platform/window_geometry.h"

namespace {

const int kCaption = plat::GetSystemMetrics(SM_CYCAPTION);
const int kDlgX = plat::GetSystemMetrics(SM_CXDLGFRAME);
const int kDlgY = plat::GetSystemMetrics(SM_CYDLGFRAME);
const int kFrameX = plat::GetSystemMetrics(SM_CXFRAME);
const int kFrameY = plat::GetSystemMetrics(SM_CYFRAME);
const int kMenu = plat::GetSystemMetrics(SM_CYMENU);

}  // namespace

TEST(WindowFrame, ComputeFrameAddsEachStyleBitsThickness) {
  const struct {
    const char* name;
    uint32_t style;
    int menu;
    int left, top, right, bottom;
  } cases[] = {
      {"no frame", 0, 0, 0, 0, 0, 0},
      {"popup only", WS_POPUP, 0, 0, 0, 0, 0},
      {"caption", WS_CAPTION, 0, 0, kCaption, 0, 0},
      {"border alone", WS_BORDER, 0, 0, 0, 0, 0},
      {"dialog frame", WS_DLGFRAME, 0, kDlgX, kDlgY, kDlgX, kDlgY},
      {"thick frame", WS_THICKFRAME, 0, kFrameX, kFrameY, kFrameX, kFrameY},
      {"caption and thick frame", WS_CAPTION | WS_THICKFRAME, 0, kFrameX, kCaption + kFrameY, kFrameX, kFrameY},
      {"thick frame wins over dialog frame", WS_DLGFRAME | WS_THICKFRAME, 0, kFrameX, kFrameY, kFrameX, kFrameY},
      {"menu", 0, 1, 0, kMenu, 0, 0},
      {"main window", 0x80CB0000, 0, 0, kCaption, 0, 0},
  };
  for (const auto& c : cases) {
    cWindow w;
    w.SetGeometry(640, 480, 100, 100, 640, 480, c.style, c.menu, 0, 0, 0, 0);
    EXPECT_EQ(w.m_nFrameLeft, c.left) << c.name;
    EXPECT_EQ(w.m_nFrameTop, c.top) << c.name;
    EXPECT_EQ(w.m_nFrameRight, c.right) << c.name;
    EXPECT_EQ(w.m_nFrameBottom, c.bottom) << c.name;
    EXPECT_EQ(w.m_rcOuter, (plat::Rect{0, 0, 640 + c.left + c.right, 480 + c.top + c.bottom})) << c.name;
  }
}

TEST(WindowFrame, BarsTakeTheirRoomFromTheView) {
  const int bar = plat::GetSystemMetrics(SM_CYHSCROLL);
  cWindow w;
  // Two tool-bar rows, status bar kind 1, both scroll bars.
  w.SetGeometry(200, 100, 50, 40, 300, 200, 0, 0, 2, 1, 0, 3);
  EXPECT_EQ(w.m_nViewY, 56);
  EXPECT_EQ(w.m_rcClient, (plat::Rect{0, 0, 200 + bar, 100 + bar + 20 + 56}));
  EXPECT_EQ(w.m_nViewW, 200);
  EXPECT_EQ(w.m_nViewH, 100);
  plat::MinMaxInfo info;
  w.GetMinMaxInfo(&info);
  EXPECT_EQ(info.minTrackSize, (plat::Point{50 + bar, 40 + bar + 20 + 56}));
  EXPECT_EQ(info.maxTrackSize, (plat::Point{300 + bar, 200 + bar + 20 + 56}));
}

class WindowSystemTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(plat::StartWindowSystem()); }
  void TearDown() override { plat::StopWindowSystem(); }
};

TEST_F(WindowSystemTest, PlaceKeepsTheWindowInsideTheWorkArea) {
  const plat::Rect work = plat::GetWorkArea();
  const int w = 100 + 2 * kDlgX, h = 50 + 2 * kDlgY;
  const struct {
    const char* name;
    int reqX, reqY;
    int x, y;  // -1000: not moved
  } cases[] = {
      {"no request", -1000, -1000, -1000, -1000},
      {"no x", -1000, 20, -1000, -1000},
      {"no y", 20, -1000, -1000, -1000},
      {"inside", 20, 30, 20, 30},
      {"negative", -5, -1, 0, 0},
      {"one short of the right edge", work.right - w - 1, 10, work.right - w - 1, 10},
      {"at the right edge", work.right - w, 10, work.right - w, 10},
      {"past the right edge", work.right + 40, 10, work.right - w, 10},
      {"at the bottom edge", 10, work.bottom - h, 10, work.bottom - h},
      {"past the bottom edge", 10, work.bottom + 3, 10, work.bottom - h},
  };
  for (const auto& c : cases) {
    cWindow win;
    win.SetGeometry(100, 50, 100, 100, 640, 480, WS_DLGFRAME, 0, 0, 0, 0, 0);
    win.m_nPosX = win.m_nPosY = -1000;
    win.m_nReqX = c.reqX;
    win.m_nReqY = c.reqY;
    win.Place();
    EXPECT_EQ(win.m_nPosX, c.x) << c.name;
    EXPECT_EQ(win.m_nPosY, c.y) << c.name;
    if (c.x != -1000) {
      EXPECT_EQ(win.m_nReqX, c.x) << c.name << ": the clamped place is kept";
      EXPECT_EQ(win.m_nReqY, c.y) << c.name;
    }
  }
}

TEST_F(WindowSystemTest, TheMainWindowsGeometryGivesA640By480ClientArea) {
  cWindow main;
  main.SetGeometry(640, 480, 100, 100, 640, 480, 0x80CB0000, 0, 0, 0, 0, 0);
  plat::WindowLayout layout;
  layout.style = 0x80CB0000;
  main.m_hWnd = plat::CreateAppWindow(layout, [](plat::WindowHandle, uint32_t, uintptr_t, intptr_t) -> intptr_t {
    return 0;
  });
  ASSERT_TRUE(main.m_hWnd);
  main.Move(30, 40);
  plat::Rect client, outer;
  ASSERT_TRUE(main.GetClientRect(client));
  EXPECT_EQ(client, (plat::Rect{0, 0, 640, 480}));
  ASSERT_TRUE(plat::GetWindowRect(main.m_hWnd, outer));
  EXPECT_EQ(outer, (plat::Rect{30, 40, 30 + 640, 40 + 480 + kCaption}));
  int x = 0, y = 0;
  main.GetWindowPos(x, y);
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 40);
  plat::DestroyAppWindow(main.m_hWnd);
  plat::Rect none{1, 2, 3, 4};
  main.m_hWnd = plat::WindowHandle{};
  EXPECT_EQ(main.GetClientRect(none), nullptr);
  EXPECT_EQ(none, (plat::Rect{1, 2, 3, 4}));
}

namespace {

// Sends a second command from inside the first one's handler.
class cNestingWindow : public cWindow {
 public:
  void OnCommand(uintptr_t wParam, intptr_t) override {
    m_vCommands.push_back(static_cast<int>(wParam));
    if (wParam == 1) m_nInner = HandleMessage(m_hWnd, WM_COMMAND, 2, 0);
  }
  std::vector<int> m_vCommands;
  intptr_t m_nInner = -1;
};

}  // namespace

TEST_F(WindowSystemTest, ACommandRaisedInsideACommandHandlerReturns0) {
  cNestingWindow w;
  EXPECT_EQ(w.HandleMessage(plat::WindowHandle{}, WM_COMMAND, 1, 0), 1);
  EXPECT_EQ(w.m_nInner, 0);
  EXPECT_EQ(w.m_vCommands, std::vector<int>{1});
  // Once the first has ended, the next command is handled.
  EXPECT_EQ(w.HandleMessage(plat::WindowHandle{}, WM_COMMAND, 3, 0), 1);
  EXPECT_EQ(w.m_vCommands, (std::vector<int>{1, 3}));
}

TEST_F(WindowSystemTest, MouseButtonsReportsOnePressPerPress) {
  auto pump = [] {
    plat::Message msg;
    while (plat::Peek(msg)) plat::Dispatch(msg);
  };
  MOUSESTATE mouse;
  struct Step {
    const char* event;  // "down", "up" or "" (none)
    int held, pressed, released;
  };
  const Step steps[] = {
      {"", 0, 0, 0},   {"down", 1, 1, 0}, {"", 1, 0, 0}, {"", 1, 0, 0}, {"up", 0, 0, 1},
      {"", 0, 0, 0},   {"down", 1, 1, 0}, {"up", 0, 0, 1},
  };
  int i = 0;
  for (const Step& s : steps) {
    if (s.event[0]) plat::PushMouseButton(0, 5, 5, 1, s.event[0] == 'd');
    pump();
    MouseButtons(mouse, 7);
    EXPECT_EQ(mouse.bLeft, s.held) << "step " << i;
    EXPECT_EQ(mouse.bLeftPush, s.pressed) << "step " << i;
    EXPECT_EQ(mouse.bLeftRelease, s.released) << "step " << i;
    EXPECT_EQ(mouse.bRightPush, 0) << "step " << i;
    ++i;
  }
}

TEST(MessageNames, TheFirstNameOfANumberAndDecimalForUnknownOnes) {
  const struct {
    uint32_t message;
    const char* name;
  } cases[] = {
      {0x0000, "WM_NULL"},        {0x0010, "WM_CLOSE"},       {0x001A, "WM_WININICHANGE"},
      {0x0100, "WM_KEYFIRST"},    {0x0101, "WM_KEYUP"},       {0x010F, "WM_IME_COMPOSITION"},
      {0x0111, "WM_COMMAND"},     {0x0200, "WM_MOUSEFIRST"},  {0x0400, "WM_USER"},
      {0x8000, "WM_APP"},         {0x07E8, "2024"},           {0x0401, "1025"},
  };
  for (const auto& c : cases) EXPECT_STREQ(GetMessageName(c.message), c.name) << c.message;
}
