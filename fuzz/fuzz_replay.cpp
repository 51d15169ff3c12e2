// A replay file of any bytes: the load reads it whole and refuses it, with
// nothing changed, or takes it; a replay it takes plays its streams to their
// end, each frame's words from the recorded values, for as many frames as
// the shorter stream's runs give.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "records/replay_input.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

// Frames a stream plays: each run at least one.
uint64_t StreamFrames(const cVector<uint32_t>& runs) {
  uint64_t frames = 0;
  for (uint32_t run : runs) frames += run ? run : 1;
  return frames;
}

bool Holds(const cVector<uint16_t>& values, uint16_t word) {
  for (uint16_t v : values)
    if (v == word) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ScratchFolder();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  cReplayInput replay;
  cEdStage stage, copy;
  cSaveData progress;
  cDataWriter before;
  stage.Save(before);
  progress.Save(before);
  if (replay.LoadBytes(bytes, stage, copy, progress)) {
    cDataWriter after;
    stage.Save(after);
    progress.Save(after);
    if (after.Bytes() != before.Bytes() || !replay.m_vDirValues.empty()) __builtin_trap();
    return 0;
  }
  if (stage.FindHero() < 0 || replay.m_vDirValues.empty() || replay.m_vButtonValues.empty() ||
      replay.m_vDirValues.size() != replay.m_vDirRuns.size() ||
      replay.m_vButtonValues.size() != replay.m_vButtonRuns.size())
    __builtin_trap();
  const uint64_t dirFrames = StreamFrames(replay.m_vDirRuns);
  const uint64_t buttonFrames = StreamFrames(replay.m_vButtonRuns);
  const uint64_t frames = dirFrames < buttonFrames ? dirFrames : buttonFrames;
  // Runs of billions of frames are valid input; playing them is not the point.
  if (frames > 2000000) return 0;
  uint64_t played = 0;
  uint16_t dir = 0, buttons = 0;
  while (replay.PlayFrame(dir, buttons) == 0) {
    if (!Holds(replay.m_vDirValues, dir) || !Holds(replay.m_vButtonValues, buttons)) __builtin_trap();
    if (++played > frames) __builtin_trap();
  }
  if (played != frames) __builtin_trap();
  return 0;
}
