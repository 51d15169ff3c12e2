// Start-up's part for the input: the menus' repeat, the joystick masks and
// the key assignment of user_data\KeyConfig.dat, or the defaults.
#include <gtest/gtest.h>

#include <string>

#include "app/game.h"
#include "app/init_game.h"
#include "media/input.h"
#include "media/key_config.h"
#include "support/test_support.h"

namespace {

// Every entry on joystick 0 button 1, 12 keys, 3 joysticks, assignment on.
std::string AssignedFile() {
  std::string bytes;
  auto le = [&](uint32_t v, int size) {
    for (int b = 0; b < size; ++b) bytes.push_back(static_cast<char>((v >> (8 * b)) & 0xFF));
  };
  auto i32 = [&](uint32_t v) { le(v, 4); };
  for (int e = 0; e < 12; ++e) {
    i32(0);    // device: joystick 0
    le(1, 2);  // code: button 1
    le(0, 2);
  }
  i32(12);
  i32(3);
  i32(1);
  return bytes;
}

}  // namespace

TEST(StartUpInput, ReadsTheKeyConfigurationOrTakesTheDefaults) {
  struct Case {
    const char* what;
    bool write;
    std::string bytes;
    int32_t bAssign, nJoysticks;
  };
  const Case cases[] = {
      {"assignment", true, AssignedFile(), 1, 3},
      {"no file", false, "", 0, 1},
      {"a short file", true, AssignedFile().substr(0, 100), 0, 1},
  };
  for (const Case& c : cases) {
    testsupport::ScopedWorkDir dir;
    if (c.write) dir.WriteFile("user_data/KeyConfig.dat", c.bytes);
    KeyConfig = KEYCONFIG{};
    KeyConfig.nJoysticks = 77;
    Input.At(0) = cInput();
    ASSERT_TRUE(InitGame("", 1)) << c.what;
    EXPECT_EQ(KeyConfig.bAssign, c.bAssign) << c.what;
    EXPECT_EQ(KeyConfig.nJoysticks, c.nJoysticks) << c.what;
    EXPECT_EQ(Input.At(0).m_nRepeatDelay, 18u);
    EXPECT_EQ(Input.At(0).m_nRepeatInterval, 6u);
    EXPECT_EQ(Input.At(0).m_awJoyMask[7], 0x80);
    EXPECT_EQ(Game.m_nFps, 60);
    EXPECT_EQ(Game.m_pSceneMaker, &AppSceneMaker);
    UnInitGame();
  }
  KeyConfig = KEYCONFIG{};
}
