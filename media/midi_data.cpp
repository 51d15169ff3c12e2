#include "media/midi_data.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/report_log.h"
#include "platform/host_path.h"

namespace {

// "Midi %s Create ファイルが開けません"
constexpr const char* kCannotOpen = "Midi %s Create \x83t\x83@\x83" "C\x83\x8B\x82\xAA\x8AJ\x82\xAF\x82\xDC\x82\xB9\x82\xF1";
// "Midi %s Create ファイルが64MBを超える"
constexpr const char* kTooLarge = "Midi %s Create \x83t\x83@\x83" "C\x83\x8B\x82\xAA" "64MB\x82\xF0\x92\xB4\x82\xA6\x82\xE9";
// "Midi %s Init 標準MIDIでない(4)"
constexpr const char* kNotSmf4 = "Midi %s Init \x95W\x8F\x80MIDI\x82\xC5\x82\xC8\x82\xA2(4)";
// "Midi %s Init 標準MIDIでない(6)"
constexpr const char* kNotSmf6 = "Midi %s Init \x95W\x8F\x80MIDI\x82\xC5\x82\xC8\x82\xA2(6)";
// "Midi %s Init 対応フォーマットが2でない"
constexpr const char* kFormat2 =
    "Midi %s Init \x91\xCE\x89\x9E\x83t\x83H\x81[\x83}\x83" "b\x83g\x82\xAA" "2\x82\xC5\x82\xC8\x82\xA2";
// "Midi %s Init 対応フォーマットが0または1でない"
constexpr const char* kFormatOther =
    "Midi %s Init \x91\xCE\x89\x9E\x83t\x83H\x81[\x83}\x83" "b\x83g\x82\xAA"
    "0\x82\xDC\x82\xBD\x82\xCD" "1\x82\xC5\x82\xC8\x82\xA2";
// "Midi %s Init ファイルが途中で切れている"
constexpr const char* kCut =
    "Midi %s Init \x83t\x83@\x83" "C\x83\x8B\x82\xAA\x93r\x92\x86\x82\xC5\x90\xD8\x82\xEA\x82\xC4\x82\xA2\x82\xE9";
// "Midi %s Init 可変長数値が4バイトを超える"
constexpr const char* kVarLenTooLong =
    "Midi %s Init \x89\xC2\x95\xCF\x92\xB7\x90\x94\x92l\x82\xAA" "4\x83o\x83" "C\x83g\x82\xF0\x92\xB4\x82\xA6\x82\xE9";
// "Midi %s Init ランニングステータスがない"
constexpr const char* kNoRunningStatus =
    "Midi %s Init \x83\x89\x83\x93\x83j\x83\x93\x83O\x83X\x83" "e\x81[\x83^\x83X\x82\xAA\x82\xC8\x82\xA2";
// "Midi %s Init トラックがない"
constexpr const char* kNoTrack = "Midi %s Init \x83g\x83\x89\x83" "b\x83N\x82\xAA\x82\xC8\x82\xA2";
// "Midi %s Init デルタタイムが大きすぎる"
constexpr const char* kDeltaTooLarge =
    "Midi %s Init \x83" "f\x83\x8B\x83^\x83^\x83" "C\x83\x80\x82\xAA\x91\xE5\x82\xAB\x82\xB7\x82\xAC\x82\xE9";

constexpr uint32_t kVarLenMax = 0x0FFFFFFF;

// The end of the song, put after the last event of the last track.
const uint8_t kEndOfTrack[2] = {0x2F, 0x00};

uint32_t ReadBe16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 8 | p[1]; }
uint32_t ReadBe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
         static_cast<uint32_t>(p[2]) << 8 | p[3];
}

// A number that ReadVarLen refused because the bytes ended inside it (not
// because it ran over four bytes).
bool VarLenCut(const uint8_t* p, size_t available) {
  if (available >= 4) return false;
  for (size_t i = 0; i < available; ++i)
    if (!(p[i] & 0x80)) return false;
  return true;
}

}  // namespace

int cMidiData::ReadVarLen(const uint8_t* p, size_t available, uint32_t* value) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) {
    if (static_cast<size_t>(i) >= available) return 0;
    v = v << 7 | (p[i] & 0x7F);
    if (!(p[i] & 0x80)) {
      *value = v;
      return i + 1;
    }
  }
  return 0;
}

int cMidiData::WriteVarLen(std::vector<uint8_t>& out, uint32_t value) {
  if (value > kVarLenMax) return 0;
  int count = 1;
  while (count < 4 && (value >> (7 * count)) != 0) ++count;
  for (int i = count - 1; i >= 0; --i) {
    uint8_t b = static_cast<uint8_t>((value >> (7 * i)) & 0x7F);
    out.push_back(i > 0 ? (b | 0x80) : b);
  }
  return count;
}

void cMidiData::Load(const std::string& path) {
  m_strName = path;
  m_lpImage.reset();
  FILE* f = plat::OpenFile(path, "rb");
  if (!f) {
    ReportPrintfDebug(kCannotOpen, m_strName.c_str());
    return;
  }
  std::vector<uint8_t> bytes;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  long size = ok ? std::ftell(f) : -1;
  if (size > static_cast<long>(kMidiFileLimit)) {
    std::fclose(f);
    ReportPrintfDebug(kTooLarge, m_strName.c_str());
    return;
  }
  if (size >= 0 && std::fseek(f, 0, SEEK_SET) == 0) {
    bytes.resize(static_cast<size_t>(size));
    ok = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
  } else {
    ok = false;
  }
  std::fclose(f);
  if (!ok) {
    ReportPrintfDebug(kCannotOpen, m_strName.c_str());
    return;
  }
  m_lpImage = Check(bytes.data(), bytes.size());
}

std::unique_ptr<std::vector<uint8_t>> cMidiData::Check(const uint8_t* bytes, size_t size) {
  const char* name = m_strName.c_str();
  if (size > kMidiFileLimit) {
    ReportPrintfDebug(kTooLarge, name);
    return nullptr;
  }
  if (size < 4 || std::memcmp(bytes, "MThd", 4) != 0) {
    ReportPrintfDebug(kNotSmf4, name);
    return nullptr;
  }
  if (size < 8) {
    ReportPrintfDebug(kCut, name);
    return nullptr;
  }
  if (ReadBe32(bytes + 4) != 6) {
    ReportPrintfDebug(kNotSmf6, name);
    return nullptr;
  }
  if (size < 10) {
    ReportPrintfDebug(kCut, name);
    return nullptr;
  }
  uint32_t format = ReadBe16(bytes + 8);
  if (format == 2) {
    ReportPrintfDebug(kFormat2, name);
    return nullptr;
  }
  if (format > 2) {
    ReportPrintfDebug(kFormatOther, name);
    return nullptr;
  }
  if (size < 18) {
    ReportPrintfDebug(kCut, name);
    return nullptr;
  }
  if (std::memcmp(bytes + 14, "MTrk", 4) != 0) {
    ReportPrintfDebug(kNotSmf4, name);
    return nullptr;
  }
  return ConvertToFormat0(bytes, size);
}

std::unique_ptr<std::vector<uint8_t>> cMidiData::ConvertToFormat0(const uint8_t* bytes, size_t size) {
  std::vector<MidiTrack> tracks;
  if (!SplitTracks(bytes, size, tracks)) return nullptr;
  MidiTrack merged;
  MergeTracks(tracks, merged);
  tracks.clear();
  auto image = std::make_unique<std::vector<uint8_t>>();
  if (!BuildFormat0(static_cast<uint16_t>(ReadBe16(bytes + 12)), merged, *image)) return nullptr;
  return image;
}

bool cMidiData::SplitTracks(const uint8_t* bytes, size_t size, std::vector<MidiTrack>& tracks) {
  const char* name = m_strName.c_str();
  tracks.clear();
  uint32_t count = ReadBe16(bytes + 10);
  if (count == 0) {
    ReportPrintfDebug(kNoTrack, name);
    return false;
  }
  // Every failure below reports one of these and gives up.
  auto fail = [&](const char* line) {
    ReportPrintfDebug(line, name);
    tracks.clear();
    return false;
  };
  size_t pos = 14;
  uint64_t endTick = 0;
  for (uint32_t t = 0; t < count; ++t) {
    // The chunk head; its length is not used: a track ends at its FF 2F.
    if (size - pos < 8) return fail(kCut);
    pos += 8;
    MidiTrack track;
    uint64_t tick = 0;
    uint8_t running = 0;
    // A track that reaches the end of the file without FF 2F 00 ends there.
    while (pos < size) {
      uint32_t delta = 0;
      int n = ReadVarLen(bytes + pos, size - pos, &delta);
      if (n == 0) return fail(VarLenCut(bytes + pos, size - pos) ? kCut : kVarLenTooLong);
      pos += static_cast<size_t>(n);
      tick += delta;
      if (pos == size) return fail(kCut);
      uint8_t status = bytes[pos];
      if (status & 0x80) {
        ++pos;
        // Only channel messages set the running status.
        if (status < 0xF0) running = status;
      } else {
        if (running == 0) return fail(kNoRunningStatus);
        status = running;
      }
      uint64_t length;
      if (status >= 0xC0 && status <= 0xDF) {
        length = 1;
      } else if (status == 0xF0 || status == 0xF7 || status == 0xFF) {
        size_t head = status == 0xFF ? 1 : 0;  // the meta type
        if (size - pos < head + 1) return fail(kCut);
        uint32_t dataLength = 0;
        n = ReadVarLen(bytes + pos + head, size - pos - head, &dataLength);
        if (n == 0) return fail(VarLenCut(bytes + pos + head, size - pos - head) ? kCut : kVarLenTooLong);
        length = head + static_cast<uint64_t>(n) + dataLength;
      } else {
        length = 2;
      }
      if (size - pos < length) return fail(kCut);
      const uint8_t* data = bytes + pos;
      pos += static_cast<size_t>(length);
      if (status == 0xFF && data[0] == 0x2F) break;
      track.push_back({tick, status, data, static_cast<uint32_t>(length)});
    }
    endTick = std::max(endTick, tick);
    tracks.push_back(std::move(track));
  }
  tracks.back().push_back({endTick, 0xFF, kEndOfTrack, 2});
  return true;
}

void cMidiData::MergeTracks(const std::vector<MidiTrack>& tracks, MidiTrack& merged) {
  merged.clear();
  size_t total = 0;
  for (const MidiTrack& t : tracks) total += t.size();
  merged.reserve(total);
  for (const MidiTrack& t : tracks) merged.insert(merged.end(), t.begin(), t.end());
  // Each track is in tick order already; a stable sort keeps the track
  // order among equal ticks, as taking the lowest track's head first does.
  std::stable_sort(merged.begin(), merged.end(),
                   [](const MIDITRACKEVENT& a, const MIDITRACKEVENT& b) { return a.nTick < b.nTick; });
}

bool cMidiData::BuildFormat0(uint16_t division, const MidiTrack& merged, std::vector<uint8_t>& image) {
  const uint8_t head[kMidiImageHead] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1,
                                        static_cast<uint8_t>(division >> 8), static_cast<uint8_t>(division),
                                        'M', 'T', 'r', 'k', 0, 0, 0, 0};
  image.assign(head, head + kMidiImageHead);
  uint64_t previous = 0;
  for (const MIDITRACKEVENT& e : merged) {
    uint64_t delta = e.nTick - previous;
    if (delta > kVarLenMax) {
      ReportPrintfDebug(kDeltaTooLarge, m_strName.c_str());
      image.clear();
      return false;
    }
    WriteVarLen(image, static_cast<uint32_t>(delta));
    image.push_back(e.nStatus);
    image.insert(image.end(), e.lpData, e.lpData + e.nLength);
    previous = e.nTick;
  }
  uint32_t length = static_cast<uint32_t>(image.size() - kMidiImageHead);
  image[18] = static_cast<uint8_t>(length >> 24);
  image[19] = static_cast<uint8_t>(length >> 16);
  image[20] = static_cast<uint8_t>(length >> 8);
  image[21] = static_cast<uint8_t>(length);
  return true;
}
