#pragma once
// The player's hands for play tests: a script of input words per frame,
// fed into the first input record the way a play frame takes live input
// (the direction and button words, the direction number, the history ring
// and the run histories that key conditions read).
//
//   ScriptedInput keys;
//   keys.Hold(INPUT_RIGHT, 0, 10).Hold(INPUT_RIGHT, 1, 3).Idle(5);
//   while (keys.Feed()) world.Frame(...);
#include <cstddef>
#include <cstdint>
#include <vector>

class cInput;

namespace testsupport {

class ScriptedInput {
 public:
  // Appends `frames` frames holding direction bits `dir` (INPUT_LEFT ...) and
  // button bits `buttons` (bit n − 1 for button n).
  ScriptedInput& Hold(uint16_t dir, uint16_t buttons, int frames = 1);
  ScriptedInput& Idle(int frames) { return Hold(0, 0, frames); }

  // Puts the next frame into Input[0]; once the script is over nothing is
  // held. False when there was no frame left.
  bool Feed();
  // The same into another input record (a wait's own copy of the input).
  bool Feed(cInput& input);
  int Remaining() const { return static_cast<int>(m_frames.size() - m_next); }

 private:
  struct Frame {
    uint16_t dir;
    uint16_t buttons;
  };
  std::vector<Frame> m_frames;
  size_t m_next = 0;
};

}  // namespace testsupport
