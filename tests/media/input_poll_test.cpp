// Polling scripted keys and joysticks through the fixed keys and through a
// KeyConfig assignment: direction bits, keypad number and button bits.
#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>

#include "media/input.h"
#include "media/key_config.h"
#include "platform/input.h"

namespace {

constexpr uint32_t kMid = 32768;

class InputPoll : public ::testing::Test {
 protected:
  void SetUp() override {
    m_saved = KeyConfig;
    DefaultKeyConfig(KeyConfig);
    m_input.SetJoyButtonMasks();
  }
  void TearDown() override { KeyConfig = m_saved; }

  // Sets the devices to exactly these keys and joystick 0 (none: unplugged).
  void Hold(std::initializer_list<int> keys, std::optional<plat::JoyState> joy0 = std::nullopt) {
    m_devices.ReleaseAll();
    for (int vk : keys) m_devices.Press(vk);
    if (joy0)
      m_devices.Plug(0, *joy0);
    else
      m_devices.Unplug(0);
  }

  plat::ScriptedInput m_devices;
  cInput m_input;
  KEYCONFIG m_saved;
};

struct Expect {
  uint16_t dir;
  int32_t number;
  uint16_t buttons;
};

#define EXPECT_INPUT(in, e, what)                 \
  do {                                            \
    EXPECT_EQ((in).m_wDir, (e).dir) << (what);    \
    EXPECT_EQ((in).m_nDirNumber, (e).number) << (what); \
    EXPECT_EQ((in).m_wButton, (e).buttons) << (what);   \
  } while (0)

}  // namespace

TEST_F(InputPoll, FixedKeysWithoutAJoystick) {
  struct Case {
    const char* what;
    std::initializer_list<int> keys;
    Expect expect;
  };
  const Case cases[] = {
      {"nothing", {}, {0, 5, 0}},
      {"left", {VK_LEFT}, {1, 4, 0}},
      {"right", {VK_RIGHT}, {2, 6, 0}},
      {"up", {VK_UP}, {4, 2, 0}},
      {"down", {VK_DOWN}, {8, 8, 0}},
      {"left up", {VK_LEFT, VK_UP}, {5, 1, 0}},
      {"right down", {VK_RIGHT, VK_DOWN}, {10, 9, 0}},
      {"left and right together", {VK_LEFT, VK_RIGHT}, {3, 5, 0}},
      {"all four", {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}, {15, 5, 0}},
      {"Z is button 1, F button 8", {'Z', 'F'}, {0, 5, 0x81}},
      {"X C V A S D", {'X', 'C', 'V', 'A', 'S', 'D'}, {0, 5, 0x7E}},
      {"other keys count for nothing", {'Q', VK_RETURN, VK_SPACE}, {0, 5, 0}},
  };
  for (const Case& c : cases) {
    Hold(c.keys);
    EXPECT_EQ(m_input.PollDefault(0, 3, 60), 1) << c.what;
    EXPECT_INPUT(m_input, c.expect, c.what);
  }
}

TEST_F(InputPoll, FixedKeysWithAJoystick) {
  struct Case {
    const char* what;
    std::initializer_list<int> keys;
    plat::JoyState joy;
    Expect expect;
  };
  const Case cases[] = {
      {"centre", {}, {kMid, kMid, 0}, {0, 5, 0}},
      {"X 10000 is left", {}, {10000, kMid, 0}, {1, 4, 0}},
      {"X 10001 is neutral", {}, {10001, kMid, 0}, {0, 5, 0}},
      {"X 55534 is neutral", {}, {55534, kMid, 0}, {0, 5, 0}},
      {"X 55535 is right", {}, {55535, kMid, 0}, {2, 6, 0}},
      {"Y 0 is up", {}, {kMid, 0, 0}, {4, 2, 0}},
      {"Y 65535 is down", {}, {kMid, 65535, 0}, {8, 8, 0}},
      {"down left", {}, {0, 65535, 0}, {9, 7, 0}},
      {"buttons 1 and 8", {}, {kMid, kMid, 0x81}, {0, 5, 0x81}},
      {"button 9 drives no game button", {}, {kMid, kMid, 0x100}, {0, 5, 0}},
      {"a joystick direction hides the arrows", {VK_RIGHT, VK_DOWN}, {0, kMid, 0}, {1, 4, 0}},
      {"a centred joystick lets the arrows count", {VK_RIGHT}, {kMid, kMid, 0}, {2, 6, 0}},
      {"a joystick button hides the keyboard's", {'X', 'C'}, {kMid, kMid, 1}, {0, 5, 1}},
      {"no joystick button: the keyboard's count", {'X'}, {kMid, kMid, 0}, {0, 5, 2}},
      {"direction from the stick, buttons from the keys", {'Z'}, {kMid, 0, 0}, {4, 2, 1}},
  };
  for (const Case& c : cases) {
    Hold(c.keys, c.joy);
    EXPECT_EQ(m_input.PollDefault(0, 3, 60), 1) << c.what;
    EXPECT_INPUT(m_input, c.expect, c.what);
  }
}

TEST_F(InputPoll, SourcesCanBeLeftOut) {
  Hold({VK_LEFT, 'Z'}, plat::JoyState{kMid, 65535, 2});
  m_input.PollDefault(0, INPUT_POLL_JOYSTICK, 60);
  EXPECT_INPUT(m_input, (Expect{8, 8, 2}), "joystick only");
  m_input.PollDefault(0, INPUT_POLL_KEYBOARD, 60);
  EXPECT_INPUT(m_input, (Expect{1, 4, 1}), "keyboard only");
}

TEST_F(InputPoll, AMissingJoystickIsTriedAgainAfterTwiceTheRetryFrames) {
  Hold({});
  m_input.PollDefault(0, 3, 60);  // fails: the next read is 120 polls away
  EXPECT_EQ(m_input.m_bJoyPresent[0], 0);
  EXPECT_EQ(m_input.m_nJoyRetry[0], 120);
  Hold({}, plat::JoyState{0, kMid, 0});
  for (int poll = 1; poll <= 120; ++poll) {
    m_input.PollDefault(0, 3, 60);
    ASSERT_EQ(m_input.m_wDir, 0) << "poll " << poll;
  }
  m_input.PollDefault(0, 3, 60);
  EXPECT_EQ(m_input.m_wDir, INPUT_LEFT);
  EXPECT_EQ(m_input.m_bJoyPresent[0], 1);
  // Unplugged while present: noticed at once.
  Hold({VK_RIGHT});
  m_input.PollDefault(0, 3, 60);
  EXPECT_EQ(m_input.m_wDir, INPUT_RIGHT);
  EXPECT_EQ(m_input.m_nJoyRetry[0], 120);
}

TEST_F(InputPoll, EachPollWorksOnlyForItsOwnSetting) {
  Hold({VK_LEFT});
  KeyConfig.bAssign = 1;
  m_input.m_wDir = 0x55;
  EXPECT_EQ(m_input.PollDefault(0, 3, 60), 0);
  EXPECT_EQ(m_input.m_wDir, 0x55);
  KeyConfig.bAssign = 0;
  EXPECT_EQ(m_input.PollAssigned(1, 60), 0);
  EXPECT_EQ(m_input.m_wDir, 0x55);
}

namespace {

// The assignment of the KeyConfig.dat fixture (key_config_test.cpp):
// left 'J'; right joystick 0 X >= 55535; up joystick 0 Y <= 10000; down
// joystick 1 button 3 (mask 4); buttons: 1 'Q', 2 joystick 0 mask 7,
// 3 Return, 4..7 'W' 'E' 'R' 'T', 8 joystick 5 button 1; two joysticks.
KEYCONFIG Assigned() {
  KEYCONFIG c{};
  const KEYASSIGN keys[12] = {{8, 'J', 0}, {0, 512, 0}, {0, 1024, 0}, {1, 4, 0},
                              {8, 'Q', 0}, {0, 7, 0},   {8, VK_RETURN, 0}, {8, 'W', 0},
                              {8, 'E', 0}, {8, 'R', 0}, {8, 'T', 0}, {5, 1, 0}};
  for (int i = 0; i < 12; ++i) c.Key[i] = keys[i];
  c.nKeys = 12;
  c.nJoysticks = 2;
  c.bAssign = 1;
  return c;
}

}  // namespace

TEST_F(InputPoll, AssignedKeysAndJoysticks) {
  KeyConfig = Assigned();
  struct Case {
    const char* what;
    std::initializer_list<int> keys;
    std::optional<plat::JoyState> joy0, joy1, joy5;
    Expect expect;
  };
  const plat::JoyState centre{kMid, kMid, 0};
  const Case cases[] = {
      {"nothing, no joystick", {}, {}, {}, {}, {0, 5, 0}},
      {"the fixed keys mean nothing now", {VK_LEFT, 'Z'}, centre, centre, {}, {0, 5, 0}},
      {"J is left", {'J'}, {}, {}, {}, {1, 4, 0}},
      {"left wins over right", {'J'}, plat::JoyState{60000, kMid, 0}, {}, {}, {1, 4, 0}},
      {"joystick right", {}, plat::JoyState{60000, kMid, 0}, {}, {}, {2, 6, 0}},
      {"joystick up", {}, plat::JoyState{kMid, 10000, 0}, {}, {}, {4, 2, 0}},
      {"down on joystick 1's button 3", {}, {}, plat::JoyState{kMid, kMid, 4}, {}, {8, 8, 0}},
      {"up wins over down", {}, plat::JoyState{kMid, 0, 0}, plat::JoyState{kMid, kMid, 4}, {},
       {4, 2, 0}},
      {"Q and Return: buttons 1 and 3", {'Q', VK_RETURN}, {}, {}, {}, {0, 5, 5}},
      {"W E R T: buttons 4 to 7", {'W', 'E', 'R', 'T'}, {}, {}, {}, {0, 5, 0x78}},
      {"any of joystick 0's buttons 1-3 is button 2", {}, plat::JoyState{kMid, kMid, 2}, {}, {},
       {0, 5, 2}},
      {"joystick 5 is beyond the two read", {}, {}, {}, plat::JoyState{kMid, kMid, 1}, {0, 5, 0}},
      {"a direction entry also takes buttons of its code", {}, plat::JoyState{kMid, kMid, 512}, {}, {},
       {2, 6, 0}},
  };
  for (const Case& c : cases) {
    cInput input;
    input.SetJoyButtonMasks();
    m_devices.ReleaseAll();
    for (int vk : c.keys) m_devices.Press(vk);
    for (auto [id, joy] : {std::pair{0, c.joy0}, std::pair{1, c.joy1}, std::pair{5, c.joy5}}) {
      if (joy)
        m_devices.Plug(id, *joy);
      else
        m_devices.Unplug(id);
    }
    EXPECT_EQ(input.PollAssigned(1, 60), 1) << c.what;
    EXPECT_INPUT(input, c.expect, c.what);
  }
}

TEST_F(InputPoll, FewerKeysMeanFewerButtons) {
  KeyConfig = Assigned();
  KeyConfig.nKeys = 6;  // buttons 1 and 2 only
  Hold({'Q', VK_RETURN, 'W'}, plat::JoyState{kMid, kMid, 1});
  m_input.PollAssigned(1, 60);
  EXPECT_EQ(m_input.m_wButton, 3);
  KeyConfig.nKeys = 99;  // beyond the entries: read as all twelve
  m_input.PollAssigned(1, 60);
  EXPECT_EQ(m_input.m_wButton, 0x0F);
}

// A configured joystick that is missing does not hold up one that is there.
TEST_F(InputPoll, AMissingSecondJoystickLeavesTheFirstWorking) {
  KeyConfig = Assigned();
  Hold({}, plat::JoyState{kMid, kMid, 1});  // joystick 1 not plugged
  for (int frame = 0; frame < 200; ++frame) {
    m_input.PollAssigned(1, 60);
    ASSERT_EQ(m_input.m_wButton, 2) << "frame " << frame;
  }
  EXPECT_EQ(m_input.m_bJoyPresent[0], 1);
  EXPECT_EQ(m_input.m_bJoyPresent[1], 0);
}

TEST(InputDirections, KeypadNumberOfDirectionBits) {
  const int expected[16] = {5, 4, 6, 4, 2, 1, 3, 1, 8, 7, 9, 7, 2, 1, 3, 1};
  for (uint16_t bits = 0; bits < 16; ++bits) EXPECT_EQ(DirBitsToNumber(bits), expected[bits]) << bits;
}

TEST(InputDirections, JoystickDirectionCodes) {
  struct Case {
    plat::JoyState joy;
    uint16_t code;
    bool held;
  };
  const Case cases[] = {
      {{10000, kMid, 0}, 256, true},   {{10001, kMid, 0}, 256, false}, {{55535, kMid, 0}, 512, true},
      {{55534, kMid, 0}, 512, false},  {{kMid, 10000, 0}, 1024, true}, {{kMid, 10001, 0}, 1024, false},
      {{kMid, 55535, 0}, 2048, true},  {{kMid, 55534, 0}, 2048, false},
      {{0, 0, 0xFFFF}, 1, false},      {{0, 0, 0}, 768, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(cInput::TestJoyDirection(c.joy, c.code), c.held) << c.code << " " << c.joy.dwXpos;
}
