#pragma once
// A standard MIDI file (format 0 or 1), checked and converted into one
// format-0 track whose every event carries its own status byte: the image
// the MIDI player streams.
//
// Image layout (big-endian): "MThd", length 6, format 0, one track, the
// source's division; "MTrk", the track length (image size - 22); from byte
// 22 the events: variable-length delta, status, then C0-DF: 1 data byte; F0
// and F7: variable length and data; FF: type, variable length, data; any
// other: 2 data bytes. The last event is FF 2F 00.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Files larger than this are refused unread.
constexpr size_t kMidiFileLimit = 64u << 20;
// Bytes before the first event of an image.
constexpr uint32_t kMidiImageHead = 22;

// One event of a track: its absolute tick, its status and the bytes that
// follow the status in the file.
struct MIDITRACKEVENT {
  uint64_t nTick;
  uint8_t nStatus;
  const uint8_t* lpData;
  uint32_t nLength;
};
using MidiTrack = std::vector<MIDITRACKEVENT>;

class cMidiData {
 public:
  cMidiData() = default;
  virtual ~cMidiData() = default;
  cMidiData(const cMidiData&) = delete;
  cMidiData& operator=(const cMidiData&) = delete;

  // Reads and converts the file at `path` (the system's path); on any failure
  // a report line names the file and m_lpImage stays null.
  void Load(const std::string& path);

  // The image of a whole file's bytes, or null after a report line.
  std::unique_ptr<std::vector<uint8_t>> Check(const uint8_t* bytes, size_t size);

  // The conversion steps of Check, after the header has been checked.
  std::unique_ptr<std::vector<uint8_t>> ConvertToFormat0(const uint8_t* bytes, size_t size);
  // Reads the tracks (the count at bytes 10-11, the first chunk at 14) into
  // per-track event lists; the end of the song (the highest end tick) is one
  // FF 2F 00 appended to the last track. False after a report line. The
  // events point into `bytes`.
  bool SplitTracks(const uint8_t* bytes, size_t size, std::vector<MidiTrack>& tracks);
  // All events in tick order; equal ticks keep the order of their tracks.
  static void MergeTracks(const std::vector<MidiTrack>& tracks, MidiTrack& merged);
  // The image of merged events; false after a report line when a delta
  // does not fit in a variable-length number.
  bool BuildFormat0(uint16_t division, const MidiTrack& merged, std::vector<uint8_t>& image);

  // Reads a variable-length number (7 bits a byte, most significant first,
  // top bit = more) from at most `available` bytes. Returns the bytes used
  // (1..4), or 0 when a fourth byte still has the top bit or the bytes end
  // inside the number.
  static int ReadVarLen(const uint8_t* p, size_t available, uint32_t* value);
  // Appends `value` as 1 to 4 bytes; returns the count, 0 (nothing written)
  // above 0x0FFFFFFF.
  static int WriteVarLen(std::vector<uint8_t>& out, uint32_t value);

  std::unique_ptr<std::vector<uint8_t>> m_lpImage;  // null when the file failed
  std::string m_strName;                            // the path, for the log lines
};
