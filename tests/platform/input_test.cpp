// The key table and the joystick snapshots that every thread reads, and the
// window system's events that write the table.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/dialog_box.h"
#include "platform/event_push.h"
#include "platform/input.h"
#include "platform/input_devices.h"
#include "platform/message_numbers.h"
#include "platform/window.h"

TEST(KeyTable, HoldsWhatIsPressedAndNothingOutsideItsCodes) {
  plat::ScriptedInput input;
  input.Press(VK_LEFT);
  input.Press('Z');
  input.Press(-1);
  input.Press(256);
  struct Case {
    int vk;
    bool down;
  };
  const Case cases[] = {{VK_LEFT, true}, {'Z', true}, {VK_RIGHT, false}, {'X', false},
                        {-1, false},     {256, false}, {0xFFFF, false}};
  for (const Case& c : cases) EXPECT_EQ(plat::IsKeyDown(c.vk), c.down) << c.vk;
  input.Release(VK_LEFT);
  EXPECT_FALSE(plat::IsKeyDown(VK_LEFT));
  input.ReleaseAll();
  EXPECT_FALSE(plat::IsKeyDown('Z'));
}

TEST(KeyTable, AScriptStartsAndEndsEmptyAndShutsOutTheDevices) {
  plat::detail::SetKeyFromDevice(VK_UP, true);
  plat::JoyState plugged;
  plat::detail::SetJoystickFromDevice(3, &plugged);
  plat::JoyState joy;
  {
    plat::ScriptedInput input;
    EXPECT_FALSE(plat::IsKeyDown(VK_UP));
    EXPECT_FALSE(plat::ReadJoystick(3, joy));
    plat::detail::SetKeyFromDevice(VK_DOWN, true);
    plat::detail::SetJoystickFromDevice(0, &plugged);
    EXPECT_FALSE(plat::IsKeyDown(VK_DOWN));
    EXPECT_FALSE(plat::ReadJoystick(0, joy));
    input.Press('A');
  }
  EXPECT_FALSE(plat::IsKeyDown('A'));
  plat::detail::SetKeyFromDevice(VK_DOWN, true);
  EXPECT_TRUE(plat::IsKeyDown(VK_DOWN));
  plat::detail::ReleaseKeysFromDevice();
  EXPECT_FALSE(plat::IsKeyDown(VK_DOWN));
}

TEST(JoystickSnapshot, GivesAxesAndButtonsOfPluggedIdsOnly) {
  plat::ScriptedInput input;
  plat::JoyState joy;
  EXPECT_FALSE(plat::ReadJoystick(0, joy));

  input.Plug(0, {0, 65535, 0x80000001u});
  input.Plug(15, {10000, 55535, 4});
  input.Plug(16, {1, 1, 1});   // no such id
  input.Plug(-1, {1, 1, 1});
  input.Plug(2, {70000, 99999, 0});  // axes beyond the range read as its end

  struct Case {
    int id;
    bool present;
    uint32_t x, y, buttons;
  };
  const Case cases[] = {
      {0, true, 0, 65535, 0x80000001u}, {15, true, 10000, 55535, 4}, {2, true, 65535, 65535, 0},
      {1, false, 0, 0, 0},              {16, false, 0, 0, 0},        {-1, false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    plat::JoyState got{7, 7, 7};
    ASSERT_EQ(plat::ReadJoystick(c.id, got), c.present) << c.id;
    if (!c.present) {
      EXPECT_EQ(got.dwXpos, 7u);  // untouched
      continue;
    }
    EXPECT_EQ(got.dwXpos, c.x) << c.id;
    EXPECT_EQ(got.dwYpos, c.y) << c.id;
    EXPECT_EQ(got.dwButtons, c.buttons) << c.id;
  }
  input.Unplug(0);
  EXPECT_FALSE(plat::ReadJoystick(0, joy));
}

// A reader on another thread never sees half of an update.
TEST(JoystickSnapshot, AReaderSeesWholeUpdates) {
  plat::ScriptedInput input;
  input.Plug(1, {0, 0, 0});
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0};
  std::thread reader([&] {
    while (!stop.load()) {
      plat::JoyState joy;
      if (plat::ReadJoystick(1, joy) && (joy.dwXpos != joy.dwYpos || joy.dwButtons != joy.dwXpos)) ++torn;
    }
  });
  for (uint32_t v = 0; v < 20000; ++v) input.Plug(1, {v, v, v});
  stop = true;
  reader.join();
  EXPECT_EQ(torn.load(), 0);
}

// The window system writes the one key table for the game and the dialogs.
class KeyTableEvents : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(plat::StartWindowSystem()); }
  void TearDown() override {
    plat::SetDialogShowHook(nullptr);
    plat::AddDialogResource(kDialog, nullptr);
    plat::StopWindowSystem();
  }
  static void Pump() {
    plat::Message msg;
    while (plat::Peek(msg)) {
    }
  }
  static constexpr int kDialog = 9301;
};

TEST_F(KeyTableEvents, EitherSideHoldsTheSidelessModifier) {
  const struct {
    int vk;
    bool down;
    bool shift, left, right;
  } steps[] = {
      {VK_LSHIFT, true, true, true, false},
      {VK_RSHIFT, true, true, true, true},
      {VK_LSHIFT, false, true, false, true},
      {VK_RSHIFT, false, false, false, false},
      {VK_SHIFT, true, true, true, false},  // made up as the left key
      {VK_SHIFT, false, false, false, false},
  };
  for (const auto& s : steps) {
    ASSERT_TRUE(plat::PushKeyEvent(0, s.vk, s.down));
    Pump();
    EXPECT_EQ(plat::IsKeyDown(VK_SHIFT), s.shift) << s.vk << " " << s.down;
    EXPECT_EQ(plat::IsKeyDown(VK_LSHIFT), s.left) << s.vk << " " << s.down;
    EXPECT_EQ(plat::IsKeyDown(VK_RSHIFT), s.right) << s.vk << " " << s.down;
  }
}

// Enter's press ends the dialog before its release is taken; the release
// still reaches the table, and the mouse buttons are keys of it too.
TEST_F(KeyTableEvents, AKeyReleasedAsADialogEndsIsUpAfterwards) {
  static const plat::DialogItem items[] = {
      {1, plat::ItemKind::DefPushButton, WS_TABSTOP, "OK", 4, 4, 40, 14},
  };
  static const plat::DialogTemplate dialog{WS_POPUP | DS_MODALFRAME, 60, 30, "", 9, "", items, 1};
  plat::AddDialogResource(kDialog, &dialog);
  bool enterWhileOpen = false, buttonWhileOpen = false;
  plat::SetDialogShowHook([&](const plat::DialogShown& shown) {
    plat::PushMouseButton(shown.windowId, 1, 1, 3, true);
    plat::PushKeyEvent(shown.windowId, VK_RETURN, true);
    plat::PushKeyEvent(shown.windowId, VK_RETURN, false);
    plat::PushMouseButton(shown.windowId, 1, 1, 3, false);
  });
  intptr_t result = plat::DialogBoxParam(
      kDialog, plat::WindowHandle{},
      [&](plat::WindowHandle h, uint32_t m, uintptr_t w, intptr_t) -> intptr_t {
        if (m == WM_COMMAND && plat::LoWord(w) == 1) {
          enterWhileOpen = plat::IsKeyDown(VK_RETURN);
          buttonWhileOpen = plat::IsKeyDown(VK_RBUTTON);
          plat::EndDialog(h, 1);
        }
        return 0;
      },
      0);
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(enterWhileOpen);
  EXPECT_TRUE(buttonWhileOpen);
  EXPECT_FALSE(plat::IsKeyDown(VK_RETURN));
  EXPECT_FALSE(plat::IsKeyDown(VK_RBUTTON));
}
