#pragma once
// The player's input: this frame's direction and button bits from the
// keyboard and the joysticks, and their recent past for the stage's key
// conditions and the menus. The frame loop polls the first record once a
// frame (cGame::PollInput); the stage records its histories once per play
// frame; the scenes' menus apply the repeat and latch. Every record is used
// by one frame loop at a time (a pause loop works on a copy).
#include <cstdint>

#include "base/container.h"
#include "platform/input.h"

// Direction bits of m_wDir.
constexpr uint16_t INPUT_LEFT = 1;
constexpr uint16_t INPUT_RIGHT = 2;
constexpr uint16_t INPUT_UP = 4;
constexpr uint16_t INPUT_DOWN = 8;
// Button n (1..8) is bit n - 1 of m_wButton.
constexpr uint16_t INPUT_ALL_BUTTONS = 0xFF;

// Sources of cInput::PollDefault.
constexpr int INPUT_POLL_JOYSTICK = 1;
constexpr int INPUT_POLL_KEYBOARD = 2;

// Joystick axis limits: at or below the low one is left / up, at or above
// the high one right / down.
constexpr uint32_t JOY_AXIS_LOW = 10000;
constexpr uint32_t JOY_AXIS_HIGH = 55535;

constexpr int INPUT_RING_SIZE = 32;
constexpr int INPUT_RUN_COUNT = 32;
constexpr int INPUT_DIR_HISTORIES = 10;     // 0 none, 1..8 exact directions, 9 any
constexpr int INPUT_BUTTON_HISTORIES = 9;   // 0 none, 1..8 button n held

// A value and for how many consecutive frames it has been current.
struct INPUTRING {
  uint16_t wValue;
  int32_t nFrames;
};

// One run of a key's state: on or off, and for how many frames.
struct INPUTRUN {
  int32_t bOn;
  int32_t nFrames;
};

// Newest run first; exactly 32 runs once reset.
using INPUTRUNS = cVector<INPUTRUN>;

class cInput {
 public:
  cInput();

  // Joystick button i + 1 drives game button i + 1.
  void SetJoyButtonMasks();

  // The fixed keys (arrows, Z X C V A S D F) and joystick `joyId`, from the
  // sources in `flags`; a joystick that fails is read again after
  // 2 x retry frames. 0 (nothing changed) while KeyConfig assigns the keys.
  int PollDefault(int joyId, int flags, int retry);
  // KeyConfig's assignment over its joysticks; only one key set exists, so
  // `players` counts at most one. 0 (nothing changed) while KeyConfig does
  // not assign the keys.
  int PollAssigned(int players, int retry);
  // A joystick direction code (JOYCODE_*) held on `joy`; other codes false.
  static bool TestJoyDirection(const plat::JoyState& joy, uint16_t code);

  void ClearDirection();  // no direction, keypad 5
  void ClearButtons();

  // Rings of the stage's input (once per play frame): the direction word and
  // the button word, each with how long it has been current.
  void ClearHistory();
  void RecordHistory();
  // The word (which 0 directions, 1 buttons) that was current `framesAgo`
  // frames ago; 0 frames ago is the current one. Reaches back 32 changes.
  uint16_t GetHistory(int which, int framesAgo) const;

  // Run histories for the key conditions of flows: reset when a stage
  // starts, then updated once per play frame.
  void ResetRunHistories();
  void UpdateRunHistories();
  // Pushes this frame's state of one key: on when value & key != 0 (any) or
  // value == key (exact). An empty history first gets its 32 runs.
  static void PushRun(INPUTRUNS& runs, uint16_t value, uint16_t key, int bAny);

  // Menu functions, once per frame before a menu reads the input.
  // Delay and interval in frames (start-up: 18 and 6).
  void SetRepeat(uint32_t delay, uint32_t interval);
  // A held direction acts on its first frame, then on hold frame `delay` and
  // every `interval` frames after; other frames its bits are cleared.
  void ApplyRepeat();
  // One press per hold of the masked buttons (0: all eight): the frame a
  // masked button goes down passes, then masked buttons are cleared until
  // none is held.
  void LatchButtons(uint16_t mask);

  uint16_t m_wDir = 0;         // INPUT_LEFT | INPUT_RIGHT | INPUT_UP | INPUT_DOWN
  uint16_t m_wButton = 0;      // bit n - 1 for button n
  uint16_t m_wDirHistory = 0;  // 4 bits per frame, newest lowest (menu repeat)
  INPUTRING m_aDirRing[INPUT_RING_SIZE];
  INPUTRING m_aButtonRing[INPUT_RING_SIZE];
  int32_t m_nDirRingPos = 0;
  int32_t m_nButtonRingPos = 0;
  cVector<INPUTRUNS> m_vDirRuns;
  cVector<INPUTRUNS> m_vButtonRuns;
  // Keypad-style direction: 5 neutral, 4 left, 6 right, 2 up, 8 down,
  // 1 / 3 up-left / up-right, 7 / 9 down-left / down-right.
  int32_t m_nDirNumber = 5;
  int32_t m_nRepeatCountH = 0;  // frames the horizontal pair stayed unchanged
  int32_t m_nRepeatCountV = 0;
  uint32_t m_nRepeatDelay = 0;
  uint32_t m_nRepeatInterval = 0;
  int32_t m_bLatch = 0;
  uint16_t m_awJoyMask[8] = {};
  // Per joystick id: the last read worked, and the frames until the next
  // read after a failure (one missing joystick does not hold up another).
  int32_t m_bJoyPresent[plat::kMaxJoysticks] = {};
  int32_t m_nJoyRetry[plat::kMaxJoysticks] = {};

 private:
  // Reads joystick `id` when its last read worked or its wait is over:
  // 1 read, 0 failed (the wait starts), -1 not read this frame.
  int ReadJoystick(int id, int retry, plat::JoyState& joy);
};

// The input records: exactly one, the first player.
extern cVector<cInput> Input;

// The keypad number of direction bits: left wins over right, up over down.
int DirBitsToNumber(uint16_t dir);
