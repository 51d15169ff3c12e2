#pragma once
// The MIDI stream the music player writes to: buffers of timed events,
// queued in order and played against the clock of the audio mix, so every
// event lands on an exact frame. The events go to the process's synthesiser
// (platform/midi_out.h).
//
// A buffer holds event records one after another, little-endian: delta time
// in ticks (u32), stream id (u32, 0), event word (u32: type in the high
// byte, parameters in the low 24 bits); a long event is followed by its bytes
// padded with zeros to a multiple of 4. An event flagged MEVT_F_CALLBACK
// posts MM_MOM_POSITIONCB to the stream's owner thread when it plays, with
// wParam = the stream's run number at that moment and lParam = the header,
// whose offset then names that event. The last event of a buffer marks the
// buffer done before its callback is posted.
//
// Every call may come from any thread; each returns MMSYSERR_NOERROR or an
// error code (MidiErrorText gives its text).
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Result codes, with the values the player's code was written against.
constexpr uint32_t MMSYSERR_NOERROR = 0;
constexpr uint32_t MMSYSERR_ERROR = 1;
constexpr uint32_t MMSYSERR_ALLOCATED = 4;
constexpr uint32_t MMSYSERR_INVALHANDLE = 5;
constexpr uint32_t MMSYSERR_NOMEM = 7;
constexpr uint32_t MMSYSERR_INVALPARAM = 11;
constexpr uint32_t MIDIERR_UNPREPARED = 64;
constexpr uint32_t MIDIERR_STILLPLAYING = 65;

// The thread message of an event's callback.
constexpr uint32_t MM_MOM_POSITIONCB = 0x3CA;

// Header flags.
constexpr uint32_t MHDR_DONE = 0x00000001;
constexpr uint32_t MHDR_PREPARED = 0x00000002;
constexpr uint32_t MHDR_INQUEUE = 0x00000004;

// Event words.
constexpr uint32_t MEVT_F_SHORT = 0x00000000;
constexpr uint32_t MEVT_F_LONG = 0x80000000;
constexpr uint32_t MEVT_F_CALLBACK = 0x40000000;
constexpr uint8_t MEVT_SHORTMSG = 0x00;  // parameters: status | data1 << 8 | data2 << 16
constexpr uint8_t MEVT_TEMPO = 0x01;     // parameters: microseconds per quarter note
constexpr uint8_t MEVT_NOP = 0x02;
constexpr uint8_t MEVT_LONGMSG = 0x80;   // parameters: byte count; the bytes follow
// The type byte without the callback flag.
constexpr uint32_t MidiEventType(uint32_t word) { return (word >> 24) & 0xBF; }
constexpr uint32_t MidiEventParms(uint32_t word) { return word & 0x00FFFFFF; }

namespace plat {

// One buffer of event records. The owner fills `lpData` while the header is
// not queued; the stream reads it and sets `nFlags` and `nOffset` while it is.
struct MidiHeader {
  uint8_t* lpData = nullptr;
  uint32_t nLength = 0;    // bytes at lpData
  uint32_t nRecorded = 0;  // bytes of records, from the start
  uintptr_t nUser = 0;     // the owner's
  std::atomic<uint32_t> nFlags{0};
  uint32_t nOffset = 0;    // offset of the event whose callback was posted last
};

namespace detail {
struct MidiStreamState;
}

class MidiStream {
 public:
  MidiStream();
  // Closes the stream (its queued buffers are dropped).
  ~MidiStream();
  MidiStream(const MidiStream&) = delete;
  MidiStream& operator=(const MidiStream&) = delete;

  // Opens paused, at PPQN 96 and 500000 microseconds per quarter note, with
  // callbacks going to the thread `ownerThreadId` (plat::CurrentThreadId of
  // that thread). MMSYSERR_ALLOCATED when already open.
  uint32_t Open(uint32_t ownerThreadId);
  uint32_t Close();
  bool IsOpen() const;

  // The division of a standard MIDI file: bit 15 clear, ticks per quarter
  // note (1..32767); set, SMPTE: the high byte -24, -25, -29 (29.97) or -30
  // frames per second and the low byte ticks per frame (1..255); tempo
  // events are then ignored. Anything else is MMSYSERR_INVALPARAM.
  uint32_t SetTimeDivision(uint32_t division);

  uint32_t Prepare(MidiHeader* header);
  // MIDIERR_STILLPLAYING while the header is queued.
  uint32_t Unprepare(MidiHeader* header);
  // Appends a prepared header to the queue (MIDIERR_UNPREPARED otherwise).
  uint32_t Out(MidiHeader* header);

  // Plays from where the stream stands.
  uint32_t Restart();
  // Holds the clock; sounding notes are released.
  uint32_t Pause();
  // Returns every queued buffer (done, no callback), rewinds to tick 0 at
  // the first tempo, releases notes and the sustain pedals, and pauses.
  uint32_t Stop();
  // As Stop; used before the buffers are unprepared and the stream closed.
  uint32_t Reset();

  // Changes with every Stop and Reset: a callback carrying an older number
  // was posted before it and is out of date. 0 while closed.
  uint32_t RunNumber() const;
  // Callbacks posted since the stream was opened (tests wait for their
  // handling with it).
  uint32_t CallbacksPosted() const;

 private:
  std::unique_ptr<detail::MidiStreamState> m_state;
};

// The text of a result code for the report log.
std::string MidiErrorText(uint32_t code);

}  // namespace plat
