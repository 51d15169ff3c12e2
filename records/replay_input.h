#pragma once
// The recorded input of one attempt at a stage: the two input words of each
// live play frame (directions, buttons) kept as runs of equal values, each
// word in a stream of its own, and the random seed the attempt started
// with. Replay is the running attempt (or the replay being played back),
// ReplayPrev the attempt before it; the stage set-up moves one to the other
// at every start.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/container.h"
#include "records/record.h"

class cEdStage;
class cSaveData;

// The largest replay file that is read.
constexpr size_t REPLAY_FILE_MAX = size_t{256} << 20;

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
  // Not in the record: the bytes of the replay file last loaded into it,
  // from which playback sets the stage up again at every restart.
  std::string m_strFile;

  // Registered, cleared: seed 0, empty streams, cursors 0.
  cReplayInput();

  void RegisterFields(int version) override;
  // The seed 0, the four streams emptied, the four cursors 0 and the
  // loaded file's bytes dropped.
  void Clear();
  // The four streams and the seed of `other`; the cursors stay.
  void Assign(const cReplayInput& other);

  // The segment (the seed), then the four streams, each a u32 count and
  // its words (u16 values, u32 runs). A count that the rest of the file
  // cannot hold ends the read and leaves its list empty. The cursors stay.
  void Load(cDataReader& r) override;
  void Save(cDataWriter& w) override;

  // Once per live play frame while the project records replays: the words
  // of the first input record appended to their streams.
  void RecordFrame(uint16_t dir, uint16_t buttons);
  // Once per play frame of a playback: the next words. 1 when either stream
  // is used up (the words untouched), else 0.
  int PlayFrame(uint16_t& dir, uint16_t& buttons);

  // A replay file: the version word, the stage (`stage` the running one,
  // `copy` the one as loaded, cEdStage::SaveForReplay), this record and
  // the progress at the attempt's start, replaced atomically. 1 written;
  // 0 when it could not be, and then an existing file stays as it was.
  // Main thread (the replay-save request).
  int SaveFile(const std::string& path, cEdStage& stage, cEdStage& copy, cSaveData& snapshot);
  // Reads a replay file whole (REPLAY_FILE_MAX bytes at most) into this
  // record, the stage, the stage copy (its settings, without palettes and
  // placements) and, from a file above version 172, the progress record,
  // and keeps its bytes in m_strFile. 1 read. 0 when it does not open, is
  // too large or is refused by LoadBytes: then an error box names the file
  // and the fault, and nothing changed.
  int LoadFile(const std::string& path, cEdStage& stage, cEdStage& copy, cSaveData& progress);
  // The same from a replay file's bytes, checked whole before anything
  // changes: the version 1 to 734, the stage part whole and ending in its
  // trailer, a hero, every count within the bytes left, as many runs as
  // values in each stream, at least one frame, and a whole progress record
  // above version 172. Null when read (m_strFile is not touched), else the
  // fault, and nothing changed.
  const char* LoadBytes(const std::string& bytes, cEdStage& stage, cEdStage& copy, cSaveData& progress);
  // Playback's restart: the records set again from m_strFile, which was
  // checked when it was loaded. 0 when no file was loaded.
  int Reload(cEdStage& stage, cEdStage& copy, cSaveData& progress);
};

extern cReplayInput Replay;      // the running attempt, or the replay played back
extern cReplayInput ReplayPrev;  // the attempt before it
