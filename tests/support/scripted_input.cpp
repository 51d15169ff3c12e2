#include "support/scripted_input.h"

#include "media/input.h"

namespace testsupport {

ScriptedInput& ScriptedInput::Hold(uint16_t dir, uint16_t buttons, int frames) {
  for (int i = 0; i < frames; ++i) m_frames.push_back(Frame{dir, buttons});
  return *this;
}

bool ScriptedInput::Feed() { return Feed(Input.At(0)); }

bool ScriptedInput::Feed(cInput& input) {
  const bool scripted = m_next < m_frames.size();
  const Frame frame = scripted ? m_frames[m_next++] : Frame{0, 0};
  input.m_wDir = frame.dir;
  input.m_wButton = frame.buttons;
  input.m_nDirNumber = DirBitsToNumber(frame.dir);
  input.RecordHistory();
  input.UpdateRunHistories();
  return scripted;
}

}  // namespace testsupport
