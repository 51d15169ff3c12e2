#pragma once
// What the MIDI streams and the device that pulls them share. Everything
// here is guarded by the device lock.
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>

#include "platform/midi_stream.h"
#include "platform/midi_synth.h"

namespace plat::detail {

// The device lock: stream calls and the pull of the mix take it.
std::mutex& MidiDeviceLock();
// Streams join the device's pull when opened and leave it when closed.
void AttachMidiStream(MidiStreamState* state);
void DetachMidiStream(MidiStreamState* state);
// The synthesiser now in place; null when none.
MidiSynth* CurrentMidiSynth();

struct MidiStreamState {
  bool open = false;
  uint32_t owner = 0;  // thread that gets the callbacks
  bool playing = false;
  uint32_t run = 0;
  std::atomic<uint32_t> callbacks{0};

  std::deque<MidiHeader*> queue;
  uint32_t headOffset = 0;  // next event in queue.front()
  bool headTimed = false;   // headDue holds that event's frame
  uint64_t headDue = 0;

  // Stream time in frames: it runs only while playing. lastDue is the frame
  // the previous event was due at, so a late buffer does not shift the song.
  uint64_t time = 0;
  uint64_t lastDue = 0;

  // Ticks to frames: frames = (ticks * mul + rem) / den, the remainder kept.
  uint32_t division = 96;
  uint32_t tempo = 500000;
  uint64_t mul = 0;
  uint64_t den = 1;
  uint64_t rem = 0;

  void Rewind();
  void SetClock();  // mul and den from division, tempo and the rate
  uint64_t TicksToFrames(uint32_t ticks);
  void ReturnBuffers();
  void ReleaseNotes(bool pedals);

  // Frames from now until the next event is due; false while paused or
  // with no event queued.
  bool NextDue(uint64_t* frames);
  // Plays every event due now.
  void DispatchDue();
};

}  // namespace plat::detail
