#pragma once
// The MIDI player: one song (a checked image, media/midi_data.h) streamed
// through two buffers of event records into the MIDI stream of the platform
// layer. A callback thread of its own refills a buffer when the stream has
// played it, and at the song's end stops (rewinds) the song and, when it
// loops, plays it again.
//
// The music manager's thread creates, plays, stops and deletes players; the
// callback thread refills, stops and restarts them. A player's lock makes
// their calls take turns.
#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "media/midi_data.h"
#include "platform/midi_stream.h"
#include "platform/thread.h"

class cMidi : public cMidiData {
 public:
  // A player with no song (tests give it an image and call FillBuffer).
  cMidi() = default;
  // Loads the file and, when it converts, opens the stream (Open).
  explicit cMidi(const std::string& path);
  // Stops the stream, ends the callback thread, then resets, unprepares and
  // closes the stream.
  ~cMidi() override;

  // Starts the callback thread, opens the stream with the image's division
  // and queues the first buffer; the song stays stopped.
  void Open();
  // Plays from where the song stands (loop: 1 restarts it at its end).
  // Nothing without an image or while playing; from stopped (not paused)
  // the second buffer is queued as well.
  void Play(int loop);
  // pause 0: stops and rewinds the song and queues its first buffer again.
  // pause 1: pauses a playing song.
  void Stop(int pause);
  // Fills and queues the next buffer, unless the song is read to its end or
  // that buffer is still queued.
  void QueueBuffer();
  // Converts the image's events from `position` on into the header's buffer
  // until the next one does not fit, and returns the image bytes consumed.
  // The buffer's last event carries the callback.
  uint32_t FillBuffer(uint32_t position, plat::MidiHeader* header);

  // 0 stopped, 1 playing, 2 paused.
  int32_t State() const;

  int32_t m_nNextHdr = 0;
  plat::MidiStream m_hStream;
  std::unique_ptr<plat::MidiHeader[]> m_lpHdrs;
  uint8_t m_nHdrs = 0;
  int32_t m_nBufSize = 0;
  int32_t m_nReadPos = 0;
  int32_t m_nState = 0;
  plat::Thread m_hThread;
  int32_t m_bLoop = 0;

  std::unique_ptr<uint8_t[]> m_lpBuffers;  // m_nHdrs blocks of m_nBufSize bytes
  mutable std::recursive_mutex m_mutex;    // taken by every call above
  std::atomic<uint32_t> m_nCallbacksHandled{0};  // by the callback thread, stale ones too
  std::string m_strError;                  // the text of the last failure

 private:
  // The report line "Midi <path> <what> <error text>" for a failed call.
  void LogFailure(const char* what, uint32_t result);
};

// The body of a player's callback thread: handles the stream's callbacks
// until WM_QUIT.
unsigned MidiThreadProc(cMidi* player);

// Bytes of one stream buffer.
constexpr int32_t kMidiBufferSize = 24000;
