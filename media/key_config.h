#pragma once
// The key assignment of user_data\KeyConfig.dat: which keyboard keys and
// joystick inputs drive the four directions and the eight buttons. Start-up
// reads it once; the input poll of every frame reads it. This program never
// writes the file.
#include <cstddef>
#include <cstdint>

constexpr int32_t KEYDEVICE_KEYBOARD = 8;  // any other device is a joystick id
constexpr int KEYCONFIG_ENTRIES = 12;      // left, right, up, down, buttons 1..8
constexpr int KEYCONFIG_FILE_SIZE = 108;
constexpr int KEYCONFIG_MAX_JOYSTICKS = 16;

// Joystick codes of the direction entries; any other code is a mask of
// joystick buttons (bit i for button i + 1).
constexpr uint16_t JOYCODE_LEFT = 256;   // X axis <= 10000
constexpr uint16_t JOYCODE_RIGHT = 512;  // X axis >= 55535
constexpr uint16_t JOYCODE_UP = 1024;    // Y axis <= 10000
constexpr uint16_t JOYCODE_DOWN = 2048;  // Y axis >= 55535

struct KEYASSIGN {
  int32_t nDevice;  // KEYDEVICE_KEYBOARD, or a joystick id 0 .. nJoysticks - 1
  uint16_t wCode;   // keyboard: a virtual-key code; joystick: a JOYCODE or a button mask
  uint16_t wUnused;
};

// The file's 108 bytes, little-endian, no version word.
struct KEYCONFIG {
  KEYASSIGN Key[KEYCONFIG_ENTRIES];  // entries 4 .. nKeys - 1 are buttons 1 .. nKeys - 4
  int32_t nKeys;                     // entries in use, at most 12
  int32_t nJoysticks;                // joystick ids 0 .. nJoysticks - 1 are read (at most 16)
  int32_t bAssign;                   // 1: this assignment; 0: the fixed keys
};
static_assert(sizeof(KEYCONFIG) == KEYCONFIG_FILE_SIZE, "KeyConfig.dat is 108 bytes");

extern KEYCONFIG KeyConfig;

// Arrows, then Z X C V A S D F, all on the keyboard; 12 keys, 1 joystick,
// fixed keys (bAssign 0).
void DefaultKeyConfig(KEYCONFIG& config);

// Reads the file (Shift-JIS path) into `config`: 1 when it held a whole
// assignment; 0, with `config` unchanged, when it does not open, is shorter
// than 108 bytes or names more entries than it has (the caller then uses the
// defaults). A joystick count beyond 16 reads as 16, a negative one as 0.
int LoadKeyConfig(const char* path, KEYCONFIG& config);

// The same on the file's bytes.
int ParseKeyConfig(const unsigned char* bytes, size_t size, KEYCONFIG& config);
