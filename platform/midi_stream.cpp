#include "platform/midi_stream.h"

#include <cstring>

#include "platform/messages.h"
#include "platform/midi_internal.h"
#include "platform/midi_out.h"

namespace plat {

namespace {

constexpr uint32_t kFirstTempo = 500000;  // microseconds per quarter note
constexpr uint32_t kRecordHead = 12;      // delta, stream id, event word

uint32_t ReadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The size of the record at `offset`, or 0 when the buffer holds no whole
// record there.
uint32_t RecordSize(const MidiHeader* header, uint32_t offset) {
  uint32_t recorded = header->nRecorded;
  if (offset > recorded || recorded - offset < kRecordHead) return 0;
  uint32_t word = ReadLe32(header->lpData + offset + 8);
  uint32_t size = kRecordHead;
  if (word & MEVT_F_LONG) size += (MidiEventParms(word) + 3) & ~3u;
  return recorded - offset < size ? 0 : size;
}

// SMPTE frames a second as a fraction; 29 stands for 29.97 (drop frame).
bool SmpteRate(int fps, uint64_t* num, uint64_t* den) {
  switch (fps) {
    case 24: case 25: case 30: *num = static_cast<uint64_t>(fps); *den = 1; return true;
    case 29: *num = 30000; *den = 1001; return true;
    default: return false;
  }
}

bool ValidDivision(uint32_t division) {
  if (division == 0 || division > 0xFFFF) return false;
  if (!(division & 0x8000)) return true;
  uint64_t num, den;
  int fps = -static_cast<int8_t>(division >> 8);
  return SmpteRate(fps, &num, &den) && (division & 0xFF) != 0;
}

}  // namespace

namespace detail {

void MidiStreamState::SetClock() {
  if (division & 0x8000) {
    // frames per tick = rate / (fps * ticks per frame)
    uint64_t num = 1, fpsDen = 1;
    SmpteRate(-static_cast<int8_t>(division >> 8), &num, &fpsDen);
    mul = static_cast<uint64_t>(kMidiRate) * fpsDen;
    den = num * (division & 0xFF);
  } else {
    // frames per tick = tempo µs * rate / (1e6 * ticks per quarter note)
    mul = static_cast<uint64_t>(tempo) * static_cast<uint64_t>(kMidiRate);
    den = 1000000ull * division;
  }
}

uint64_t MidiStreamState::TicksToFrames(uint32_t ticks) {
  unsigned __int128 total = static_cast<unsigned __int128>(ticks) * mul + rem;
  rem = static_cast<uint64_t>(total % den);
  return static_cast<uint64_t>(total / den);
}

void MidiStreamState::Rewind() {
  playing = false;
  time = 0;
  lastDue = 0;
  rem = 0;
  tempo = kFirstTempo;
  headOffset = 0;
  headTimed = false;
  SetClock();
}

void MidiStreamState::ReturnBuffers() {
  for (MidiHeader* header : queue)
    header->nFlags = (header->nFlags.load() & ~MHDR_INQUEUE) | MHDR_DONE;
  queue.clear();
  headOffset = 0;
  headTimed = false;
}

void MidiStreamState::ReleaseNotes(bool pedals) {
  MidiSynth* synth = CurrentMidiSynth();
  if (!synth) return;
  for (uint8_t channel = 0; channel < 16; ++channel) {
    const uint8_t sustainOff[3] = {static_cast<uint8_t>(0xB0 | channel), 0x40, 0x00};
    const uint8_t allNotesOff[3] = {static_cast<uint8_t>(0xB0 | channel), 0x7B, 0x00};
    if (pedals) synth->Send(sustainOff, 3);
    synth->Send(allNotesOff, 3);
  }
}

bool MidiStreamState::NextDue(uint64_t* frames) {
  if (!playing) return false;
  // Buffers with no whole record left are done without a callback.
  while (!queue.empty() && RecordSize(queue.front(), headOffset) == 0) {
    MidiHeader* header = queue.front();
    queue.pop_front();
    header->nFlags = (header->nFlags.load() & ~MHDR_INQUEUE) | MHDR_DONE;
    headOffset = 0;
    headTimed = false;
  }
  if (queue.empty()) return false;
  if (!headTimed) {
    uint32_t delta = ReadLe32(queue.front()->lpData + headOffset);
    headDue = lastDue + TicksToFrames(delta);
    headTimed = true;
  }
  *frames = headDue > time ? headDue - time : 0;
  return true;
}

void MidiStreamState::DispatchDue() {
  uint64_t wait;
  while (NextDue(&wait) && wait == 0) {
    MidiHeader* header = queue.front();
    uint32_t offset = headOffset;
    uint32_t size = RecordSize(header, offset);
    uint32_t word = ReadLe32(header->lpData + offset + 8);
    lastDue = headDue;
    headTimed = false;

    MidiSynth* synth = CurrentMidiSynth();
    if (word & MEVT_F_LONG) {
      if (synth) synth->Send(header->lpData + offset + kRecordHead, MidiEventParms(word));
    } else if (MidiEventType(word) == MEVT_SHORTMSG) {
      uint8_t bytes[3] = {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8),
                          static_cast<uint8_t>(word >> 16)};
      // Status FF would be a system reset: the end of a song is not one.
      size_t count = (bytes[0] >= 0xC0 && bytes[0] <= 0xDF) ? 2 : 3;
      if (synth && bytes[0] >= 0x80 && bytes[0] != 0xFF) synth->Send(bytes, count);
    } else if (MidiEventType(word) == MEVT_TEMPO) {
      tempo = MidiEventParms(word);
      SetClock();
    }

    headOffset = offset + size;
    if (RecordSize(header, headOffset) == 0) {
      queue.pop_front();
      headOffset = 0;
      header->nFlags = (header->nFlags.load() & ~MHDR_INQUEUE) | MHDR_DONE;
    }
    if (word & MEVT_F_CALLBACK) {
      header->nOffset = offset;
      callbacks.fetch_add(1);
      PostToThread(owner, MM_MOM_POSITIONCB, run, reinterpret_cast<intptr_t>(header));
    }
  }
}

}  // namespace detail

MidiStream::MidiStream() : m_state(std::make_unique<detail::MidiStreamState>()) {}

MidiStream::~MidiStream() { Close(); }

uint32_t MidiStream::Open(uint32_t ownerThreadId) {
  std::lock_guard<std::mutex> lock(detail::MidiDeviceLock());
  detail::MidiStreamState& s = *m_state;
  if (s.open) return MMSYSERR_ALLOCATED;
  if (ownerThreadId == 0) return MMSYSERR_INVALPARAM;
  s.open = true;
  s.owner = ownerThreadId;
  s.division = 96;
  s.run = s.run + 1 ? s.run + 1 : 1;
  s.ReturnBuffers();
  s.Rewind();
  detail::AttachMidiStream(&s);
  return MMSYSERR_NOERROR;
}

uint32_t MidiStream::Close() {
  std::lock_guard<std::mutex> lock(detail::MidiDeviceLock());
  detail::MidiStreamState& s = *m_state;
  if (!s.open) return MMSYSERR_INVALHANDLE;
  s.ReturnBuffers();
  s.playing = false;
  s.open = false;
  detail::DetachMidiStream(&s);
  return MMSYSERR_NOERROR;
}

bool MidiStream::IsOpen() const {
  std::lock_guard<std::mutex> lock(detail::MidiDeviceLock());
  return m_state->open;
}

uint32_t MidiStream::SetTimeDivision(uint32_t division) {
  std::lock_guard<std::mutex> lock(detail::MidiDeviceLock());
  detail::MidiStreamState& s = *m_state;
  if (!s.open) return MMSYSERR_INVALHANDLE;
  if (!ValidDivision(division)) return MMSYSERR_INVALPARAM;
  s.division = division;
  s.rem = 0;
  s.SetClock();
  return MMSYSERR_NOERROR;
}

uint32_t MidiStream::Prepare(MidiHeader* header) {
  std::lock_guard<std::mutex> lock(detail::MidiDeviceLock());
  if (!m_state->open) return MMSYSERR_INVALHANDLE;
  if (!header || !header->lpData || header->nLength == 0) return MMSYSERR_INVALPARAM;
  header->nFlags |= MHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

uint32_t MidiStream::Unprepare(MidiHeader* header) {
  std::lock_guard<std::mutex> lock(detail::MidiDeviceLock());
  if (!m_state->open) return MMSYSERR_INVALHANDLE;
  if (!header) return MMSYSERR_INVALPARAM;
  if (header->nFlags & MHDR_INQUEUE) return MIDIERR_STILLPLAYING;
  header->nFlags &= ~MHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

uint32_t MidiStream::Out(MidiHeader* header) {
  std::lock_guard<std::mutex> lock(detail::MidiDeviceLock());
  detail::MidiStreamState& s = *m_state;
  if (!s.open) return MMSYSERR_INVALHANDLE;
  if (!header) return MMSYSERR_INVALPARAM;
  uint32_t flags = header->nFlags;
  if (!(flags & MHDR_PREPARED)) return MIDIERR_UNPREPARED;
  if (flags & MHDR_INQUEUE) return MIDIERR_STILLPLAYING;
  if (header->nRecorded > header->nLength) return MMSYSERR_INVALPARAM;
  header->nFlags = (flags & ~MHDR_DONE) | MHDR_INQUEUE;
  if (s.queue.empty()) {
    s.headOffset = 0;
    s.headTimed = false;
  }
  s.queue.push_back(header);
  return MMSYSERR_NOERROR;
}

uint32_t MidiStream::Restart() {
  std::lock_guard<std::mutex> lock(detail::MidiDeviceLock());
  if (!m_state->open) return MMSYSERR_INVALHANDLE;
  m_state->playing = true;
  return MMSYSERR_NOERROR;
}

uint32_t MidiStream::Pause() {
  std::lock_guard<std::mutex> lock(detail::MidiDeviceLock());
  if (!m_state->open) return MMSYSERR_INVALHANDLE;
  m_state->playing = false;
  m_state->ReleaseNotes(false);
  return MMSYSERR_NOERROR;
}

uint32_t MidiStream::Stop() {
  std::lock_guard<std::mutex> lock(detail::MidiDeviceLock());
  detail::MidiStreamState& s = *m_state;
  if (!s.open) return MMSYSERR_INVALHANDLE;
  s.ReturnBuffers();
  s.Rewind();
  s.run = s.run + 1 ? s.run + 1 : 1;
  s.ReleaseNotes(true);
  return MMSYSERR_NOERROR;
}

uint32_t MidiStream::Reset() { return Stop(); }

uint32_t MidiStream::RunNumber() const {
  std::lock_guard<std::mutex> lock(detail::MidiDeviceLock());
  return m_state->open ? m_state->run : 0;
}

uint32_t MidiStream::CallbacksPosted() const { return m_state->callbacks.load(); }

std::string MidiErrorText(uint32_t code) {
  switch (code) {
    case MMSYSERR_NOERROR: return "No error.";
    case MMSYSERR_ERROR: return "Unspecified error.";
    case MMSYSERR_ALLOCATED: return "The MIDI stream is already open.";
    case MMSYSERR_INVALHANDLE: return "The MIDI stream is not open.";
    case MMSYSERR_NOMEM: return "Not enough memory.";
    case MMSYSERR_INVALPARAM: return "Invalid parameter.";
    case MIDIERR_UNPREPARED: return "The buffer has not been prepared.";
    case MIDIERR_STILLPLAYING: return "The buffer is still in the queue.";
    default: return "MIDI error " + std::to_string(code) + ".";
  }
}

}  // namespace plat
