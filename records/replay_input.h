#pragma once
// The recorded input of one attempt at a stage: the two input words of each
// live play frame (directions, buttons) kept as runs of equal values, each
// word in a stream of its own, and the random seed the attempt started
// with. Replay is the running attempt (or the replay being played back),
// ReplayPrev the attempt before it; the stage set-up moves one to the other
// at every start.
#include <cstdint>
#include <string>

#include "base/container.h"
#include "records/record.h"

class cEdStage;
class cSaveData;

class cReplayInput : public cRecord {
 public:
  cVector<uint16_t> m_vDirValues;     // successive distinct values of input word 0
  cVector<uint16_t> m_vButtonValues;  // of input word 1
  cVector<uint32_t> m_vDirRuns;       // frames each value of m_vDirValues lasted
  cVector<uint32_t> m_vButtonRuns;
  int32_t m_nSeed = 0;  // random seed of the attempt; the only registered field
  // Playback cursors: the current entry of each stream and the frames of it
  // already played.
  int32_t m_nDirIndex = 0;
  int32_t m_nButtonIndex = 0;
  int32_t m_nDirPos = 0;
  int32_t m_nButtonPos = 0;

  // Registered, cleared: seed 0, empty streams, cursors 0.
  cReplayInput();

  void RegisterFields(int version) override;
  // The seed 0, the four streams emptied and the four cursors 0.
  void Clear();
  // The four streams and the seed of `other`; the cursors stay.
  void Assign(const cReplayInput& other);

  // Once per live play frame while the project records replays: the words
  // of the first input record appended to their streams.
  void RecordFrame(uint16_t dir, uint16_t buttons);
  // Once per play frame of a playback: the next words. 1 when either stream
  // is used up (the words untouched), else 0.
  int PlayFrame(uint16_t& dir, uint16_t& buttons);

  // A replay file: this record with the stage (`stage` the running one,
  // `copy` the one as loaded) and the progress at the attempt's start.
  // 1 written, 0 not.
  int SaveFile(const std::string& path, cEdStage& stage, cEdStage& copy, cSaveData& snapshot);
  // Reads a replay file into this record, the two stage records and the
  // progress record. 1 read, 0 when it could not be.
  int LoadFile(const std::string& path, cEdStage& stage, cEdStage& copy, cSaveData& progress);
};

extern cReplayInput Replay;      // the running attempt, or the replay played back
extern cReplayInput ReplayPrev;  // the attempt before it
