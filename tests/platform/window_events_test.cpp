// What the window system tells an app window, as the messages it gets:
// moves, sizes, minimising and maximising, uncovering and keys, and the size
// limits it asks the window for. Headless, with the events pushed as the
// window manager would send them.
#include <gtest/gtest.h>

#include <vector>

#include "platform/event_push.h"
#include "platform/message_numbers.h"
#include "platform/messages.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"
#include "platform/window_geometry.h"

namespace {

struct Seen {
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
  friend bool operator==(const Seen&, const Seen&) = default;
};

std::ostream& operator<<(std::ostream& os, const Seen& s) {
  return os << "{" << s.message << ", " << s.wParam << ", " << std::hex << s.lParam << std::dec << "}";
}

intptr_t Pair(int low, int high) {
  return static_cast<intptr_t>((static_cast<uint32_t>(low) & 0xFFFF) | ((static_cast<uint32_t>(high) & 0xFFFF) << 16));
}

class WindowEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plat::StartWindowSystem());
    plat::WindowLayout layout;
    layout.x = 100;
    layout.y = 100;
    m_window = plat::CreateAppWindow(layout, [this](plat::WindowHandle, uint32_t msg, uintptr_t w, intptr_t l) {
      if (msg == WM_GETMINMAXINFO) {
        ++m_limitQuestions;
        if (m_setLimits) {
          auto* info = reinterpret_cast<plat::MinMaxInfo*>(l);
          info->minTrackSize = {300, 200};
          info->maxTrackSize = {800, 600};
        }
        return intptr_t{0};
      }
      if (msg != WM_CREATE) m_seen.push_back({msg, w, l});
      return intptr_t{0};
    });
    ASSERT_TRUE(m_window);
    m_id = plat::AppWindowSdlId(m_window);
    ASSERT_NE(m_id, 0u);
  }
  void TearDown() override {
    plat::DestroyAppWindow(m_window);
    plat::StopWindowSystem();
  }
  // The messages the pushed events became.
  std::vector<Seen> Take() {
    for (int round = 0; round < 3; ++round) {
      plat::Message msg;
      while (plat::Peek(msg)) plat::Dispatch(msg);
      plat::WaitForMessage(1);
    }
    std::vector<Seen> out;
    for (const Seen& s : m_seen)
      if (s.message != WM_ACTIVATEAPP) out.push_back(s);
    m_seen.clear();
    return out;
  }

  plat::WindowHandle m_window;
  uint32_t m_id = 0;
  std::vector<Seen> m_seen;
  int m_limitQuestions = 0;
  bool m_setLimits = false;
};

}  // namespace

TEST_F(WindowEvents, MovesSizesAndUncoveringBecomeMessages) {
  using K = plat::WindowEventKind;
  struct Case {
    const char* what;
    K kind;
    int a, b;
    Seen message;
    bool minimized, maximized;
  } cases[] = {
      {"moved", K::Moved, 150, 60, {WM_MOVE, 0, Pair(150, 60)}, false, false},
      {"moved off the left", K::Moved, -20, -5, {WM_MOVE, 0, Pair(-20, -5)}, false, false},
      {"resized", K::Resized, 800, 600, {WM_SIZE, SIZE_RESTORED, Pair(800, 600)}, false, false},
      {"minimised", K::Minimized, 0, 0, {WM_SIZE, SIZE_MINIMIZED, 0}, true, false},
      {"restored", K::Restored, 0, 0, {WM_SIZE, SIZE_RESTORED, Pair(640, 480)}, false, false},
      {"maximised", K::Maximized, 0, 0, {WM_SIZE, SIZE_MAXIMIZED, Pair(640, 480)}, false, true},
      {"resized while maximised", K::Resized, 700, 500, {WM_SIZE, SIZE_MAXIMIZED, Pair(700, 500)}, false, true},
      {"minimised from maximised", K::Minimized, 0, 0, {WM_SIZE, SIZE_MINIMIZED, 0}, true, true},
      {"uncovered", K::Exposed, 0, 0, {WM_PAINT, 0, 0}, true, true},
      {"restored again", K::Restored, 0, 0, {WM_SIZE, SIZE_RESTORED, Pair(640, 480)}, false, false},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(plat::PushWindowEvent(m_id, c.kind, c.a, c.b));
    EXPECT_EQ(Take(), std::vector<Seen>{c.message}) << c.what;
    EXPECT_EQ(plat::IsWindowMinimized(m_window), c.minimized) << c.what;
    EXPECT_EQ(plat::IsWindowMaximized(m_window), c.maximized) << c.what;
  }
  EXPECT_FALSE(plat::IsWindowMinimized(plat::WindowHandle{999999}));
}

TEST_F(WindowEvents, KeysPressedComeAsVirtualKeyCodesWithTheirFlags) {
  plat::PushKeyEvent(m_id, VK_ESCAPE, true);
  plat::PushKeyEvent(m_id, VK_ESCAPE, false);  // releases send nothing
  plat::PushKeyEvent(m_id, 'A', true, 0, true);
  plat::PushKeyEvent(m_id, VK_F4, true, plat::kModAlt);
  plat::PushKeyEvent(m_id, VK_SHIFT, true);
  EXPECT_EQ(Take(), (std::vector<Seen>{{WM_KEYDOWN, VK_ESCAPE, 1},
                                       {WM_KEYDOWN, 'A', 1 | (1 << 30)},
                                       {WM_KEYDOWN, VK_F4, 1 | (1 << 29)},
                                       {WM_KEYDOWN, VK_SHIFT, 1}}));
  plat::PushKeyEvent(m_id + 1000, VK_ESCAPE, true);  // another window's key
  EXPECT_EQ(Take(), std::vector<Seen>{});
}

TEST_F(WindowEvents, AResizableWindowTakesTheLimitsItGives) {
  const plat::FrameInsets f = plat::FrameForStyle(WS_THICKFRAME);
  const int frameW = f.left + f.right, frameH = f.top + f.bottom;
  m_setLimits = true;
  plat::ShowAppWindow(m_window);
  EXPECT_EQ(m_limitQuestions, 0) << "a fixed frame has no limits to ask for";
  plat::SetWindowStyle(m_window, WS_THICKFRAME);
  EXPECT_EQ(m_limitQuestions, 1) << "asked when the frame becomes resizable";
  plat::SetWindowStyle(m_window, WS_THICKFRAME | WS_VISIBLE);
  EXPECT_EQ(m_limitQuestions, 1);
  plat::ShowAppWindow(m_window);
  EXPECT_EQ(m_limitQuestions, 2) << "and before it shows";

  plat::Rect client;
  plat::SetWindowPos(m_window, 10, 10, 2000, 2000);
  ASSERT_TRUE(plat::GetClientRect(m_window, client));
  EXPECT_EQ(client, (plat::Rect{0, 0, 800 - frameW, 600 - frameH}));
  plat::SetWindowPos(m_window, 10, 10, 50, 50);
  ASSERT_TRUE(plat::GetClientRect(m_window, client));
  EXPECT_EQ(client, (plat::Rect{0, 0, 300 - frameW, 200 - frameH}));
  // Placing the window tells it as a move by the player does (the window
  // system may tell of the new size once more).
  Seen lastMove{}, lastSize{};
  for (const Seen& seen : Take()) {
    if (seen.message == WM_MOVE) lastMove = seen;
    if (seen.message == WM_SIZE) lastSize = seen;
  }
  EXPECT_EQ(lastMove, (Seen{WM_MOVE, 0, Pair(10 + f.left, 10 + f.top)}));
  EXPECT_EQ(lastSize, (Seen{WM_SIZE, SIZE_RESTORED, Pair(300 - frameW, 200 - frameH)}));

  // A window that leaves the record alone has no limits.
  m_setLimits = false;
  plat::SetWindowStyle(m_window, 0);
  plat::SetWindowStyle(m_window, WS_THICKFRAME);
  plat::SetWindowPos(m_window, 10, 10, 1200, 900);
  ASSERT_TRUE(plat::GetClientRect(m_window, client));
  EXPECT_EQ(client, (plat::Rect{0, 0, 1200 - frameW, 900 - frameH}));
}
