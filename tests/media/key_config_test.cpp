// KeyConfig.dat: 12 entries of {int32 device, u16 code, u16 unused}, then
// int32 nKeys, nJoysticks, bAssign; 108 bytes, little-endian, no version.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "media/key_config.h"
#include "platform/virtual_keys.h"
#include "support/test_support.h"

using testsupport::ScopedWorkDir;

namespace {

// Bytes from a hex text; spaces and line breaks are ignored.
std::string Hex(const char* text) {
  std::string out;
  int nibbles = 0, value = 0;
  for (const char* p = text; *p; ++p) {
    int digit;
    if (*p >= '0' && *p <= '9') digit = *p - '0';
    else if (*p >= 'a' && *p <= 'f') digit = *p - 'a' + 10;
    else if (*p >= 'A' && *p <= 'F') digit = *p - 'A' + 10;
    else continue;
    value = value * 16 + digit;
    if (++nibbles == 2) {
      out.push_back(static_cast<char>(value));
      nibbles = value = 0;
    }
  }
  return out;
}

// An assignment written by hand: left 'J' on the keyboard, right and up on
// joystick 0's axes, down joystick 1's button 3, buttons 1..8: 'Q',
// joystick 0 buttons 1, 2 and 3 (mask 7), keyboard Return, then four more
// keyboard keys 'W' 'E' 'R' 'T' and a last one on joystick 5; 12 keys,
// 2 joysticks, assignment on.
const std::string kAssigned = Hex(
    "08000000 4A00 0000"   // left: keyboard 'J'
    "00000000 0002 0000"   // right: joystick 0, X >= 55535
    "00000000 0004 0000"   // up: joystick 0, Y <= 10000
    "01000000 0400 0000"   // down: joystick 1, button 3
    "08000000 5100 0000"   // button 1: 'Q'
    "00000000 0700 0000"   // button 2: joystick 0, buttons 1..3
    "08000000 0D00 0000"   // button 3: Return
    "08000000 5700 0000"   // button 4: 'W'
    "08000000 4500 0000"   // button 5: 'E'
    "08000000 5200 0000"   // button 6: 'R'
    "08000000 5400 0000"   // button 7: 'T'
    "05000000 0100 0000"   // button 8: joystick 5, button 1
    "0C000000"             // nKeys 12
    "02000000"             // nJoysticks 2
    "01000000");           // bAssign 1

KEYCONFIG Marked() {
  KEYCONFIG config;
  DefaultKeyConfig(config);
  config.nKeys = 7;  // a value no file below holds
  return config;
}

std::string WithInt(std::string bytes, size_t offset, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return bytes;
}

}  // namespace

TEST(KeyConfig, DefaultsAreTheArrowsAndZxcvasdfOnTheKeyboard) {
  KEYCONFIG config{};
  DefaultKeyConfig(config);
  const uint16_t codes[12] = {37, 39, 38, 40, 90, 88, 67, 86, 65, 83, 68, 70};
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(config.Key[i].nDevice, 8) << i;
    EXPECT_EQ(config.Key[i].wCode, codes[i]) << i;
  }
  EXPECT_EQ(config.nKeys, 12);
  EXPECT_EQ(config.nJoysticks, 1);
  EXPECT_EQ(config.bAssign, 0);
}

TEST(KeyConfig, ReadsEveryFieldOfAHandWrittenFile) {
  ASSERT_EQ(kAssigned.size(), 108u);
  ScopedWorkDir dir;
  dir.WriteFile("user_data/KeyConfig.dat", kAssigned);
  KEYCONFIG config = Marked();
  ASSERT_EQ(LoadKeyConfig("user_data\\KeyConfig.dat", config), 1);
  const KEYASSIGN expected[12] = {{8, 'J', 0},   {0, 512, 0},   {0, 1024, 0},  {1, 4, 0},
                                  {8, 'Q', 0},   {0, 7, 0},     {8, 0x0D, 0},  {8, 'W', 0},
                                  {8, 'E', 0},   {8, 'R', 0},   {8, 'T', 0},   {5, 1, 0}};
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(config.Key[i].nDevice, expected[i].nDevice) << i;
    EXPECT_EQ(config.Key[i].wCode, expected[i].wCode) << i;
  }
  EXPECT_EQ(config.nKeys, 12);
  EXPECT_EQ(config.nJoysticks, 2);
  EXPECT_EQ(config.bAssign, 1);
}

TEST(KeyConfig, ShortOrOverlongFilesLeaveTheAssignmentAndCountsAreBounded) {
  struct Case {
    const char* what;
    std::string bytes;
    int result;
    int32_t nKeys, nJoysticks;  // when read
  };
  const Case cases[] = {
      {"whole", kAssigned, 1, 12, 2},
      {"one byte short", kAssigned.substr(0, 107), 0, 0, 0},
      {"empty", "", 0, 0, 0},
      {"longer: the first 108 bytes count", kAssigned + "extra", 1, 12, 2},
      {"13 keys: more than the file holds", WithInt(kAssigned, 96, 13), 0, 0, 0},
      {"huge key count", WithInt(kAssigned, 96, 0x7FFFFFFF), 0, 0, 0},
      {"four keys: no buttons", WithInt(kAssigned, 96, 4), 1, 4, 2},
      {"17 joysticks read as 16", WithInt(kAssigned, 100, 17), 1, 12, 16},
      {"negative joystick count reads as none", WithInt(kAssigned, 100, 0xFFFFFFFF), 1, 12, 0},
  };
  for (const Case& c : cases) {
    ScopedWorkDir dir;
    dir.WriteFile("KeyConfig.dat", c.bytes);
    KEYCONFIG config = Marked();
    EXPECT_EQ(LoadKeyConfig("KeyConfig.dat", config), c.result) << c.what;
    if (c.result) {
      EXPECT_EQ(config.nKeys, c.nKeys) << c.what;
      EXPECT_EQ(config.nJoysticks, c.nJoysticks) << c.what;
      EXPECT_EQ(config.Key[0].wCode, 'J') << c.what;
    } else {
      EXPECT_EQ(config.nKeys, 7) << c.what;  // unchanged
      EXPECT_EQ(config.Key[0].wCode, VK_LEFT) << c.what;
    }
  }
}

TEST(KeyConfig, AMissingFileIsNotRead) {
  ScopedWorkDir dir;
  KEYCONFIG config = Marked();
  EXPECT_EQ(LoadKeyConfig("user_data\\KeyConfig.dat", config), 0);
  EXPECT_EQ(config.nKeys, 7);
}
