// The sample's music: a standard MIDI file (format 1, a conductor track and
// two instrument tracks) for the front end and an OGG Vorbis file for the
// stages, so that both music players are heard.
#include <vorbis/vorbisenc.h>

#include <cstring>

#include "tools/sample/sample_files.h"
#include "tools/sample/sample_synth.h"

namespace {

constexpr int kDivision = 480;      // ticks per quarter note
constexpr int kEighth = kDivision / 2;
constexpr int kEighthMs = 250;      // at 120 beats per minute
// The Ogg stream's serial number: fixed so that every run writes the same bytes.
constexpr int kOggSerial = 0x53414D50;

// One melody step: a MIDI note (0 rests) held for a number of eighths.
struct STEP {
  int note;
  int eighths;
};

// The title tune, eight bars in C.
const STEP kTitleMelody[] = {
    {72, 2}, {76, 2}, {79, 2}, {76, 2}, {77, 2}, {81, 2}, {79, 4}, {76, 2}, {74, 2}, {72, 2},
    {74, 2}, {76, 4}, {72, 4}, {69, 2}, {72, 2}, {76, 2}, {72, 2}, {74, 2}, {77, 2}, {76, 4},
    {74, 2}, {71, 2}, {67, 2}, {71, 2}, {72, 8},
};
const int kTitleRoots[8] = {48, 53, 48, 43, 45, 53, 43, 48};  // one chord per bar

// The stage tune, four bars in A minor.
const STEP kStageMelody[] = {
    {69, 1}, {72, 1}, {76, 1}, {72, 1}, {69, 1}, {72, 1}, {76, 1}, {79, 1}, {77, 2}, {76, 2}, {74, 2},
    {72, 2}, {71, 1}, {74, 1}, {77, 1}, {74, 1}, {71, 1}, {74, 1}, {77, 1}, {79, 1}, {76, 4}, {76, 2},
    {0, 2},
};
const int kStageRoots[4] = {45, 41, 43, 40};

void PutBE16(std::string& s, uint32_t v) {
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
  s.push_back(static_cast<char>(v & 0xFF));
}

void PutBE32(std::string& s, uint32_t v) {
  PutBE16(s, v >> 16);
  PutBE16(s, v & 0xFFFF);
}

// A track's events in tick order; every event carries its own status byte.
class cSmfTrack {
 public:
  void Event(uint32_t tick, std::initializer_list<uint8_t> bytes) {
    PutVarLen(tick - m_nTick);
    m_nTick = tick;
    for (uint8_t b : bytes) m_strBytes.push_back(static_cast<char>(b));
  }
  void Meta(uint32_t tick, uint8_t type, const std::string& data) {
    PutVarLen(tick - m_nTick);
    m_nTick = tick;
    m_strBytes.push_back(static_cast<char>(0xFF));
    m_strBytes.push_back(static_cast<char>(type));
    PutVarLen(static_cast<uint32_t>(data.size()));
    m_strBytes += data;
  }
  // The end-of-track event and the chunk around the events.
  std::string Chunk(uint32_t endTick) {
    Meta(endTick, 0x2F, "");
    std::string chunk = "MTrk";
    PutBE32(chunk, static_cast<uint32_t>(m_strBytes.size()));
    return chunk + m_strBytes;
  }

 private:
  void PutVarLen(uint32_t v) {
    char buf[4];
    int n = 0;
    buf[n++] = static_cast<char>(v & 0x7F);
    while ((v >>= 7) != 0) buf[n++] = static_cast<char>(0x80 | (v & 0x7F));
    while (n > 0) m_strBytes.push_back(buf[--n]);
  }
  std::string m_strBytes;
  uint32_t m_nTick = 0;
};

std::string MidiBytes() {
  const uint32_t end = 8 * 8 * kEighth;  // eight bars of eight eighths

  cSmfTrack conductor;
  conductor.Meta(0, 0x03, "Sample title");
  conductor.Meta(0, 0x58, std::string("\x04\x02\x18\x08", 4));  // 4/4
  conductor.Meta(0, 0x51, std::string("\x07\xA1\x20", 3));      // 500000 µs per quarter

  cSmfTrack melody;
  melody.Meta(0, 0x03, "Melody");
  melody.Event(0, {0xC0, 80});  // square lead
  uint32_t tick = 0;
  for (const STEP& s : kTitleMelody) {
    const uint32_t len = static_cast<uint32_t>(s.eighths) * kEighth;
    melody.Event(tick, {0x90, static_cast<uint8_t>(s.note), 96});
    melody.Event(tick + len - 20, {0x80, static_cast<uint8_t>(s.note), 64});
    tick += len;
  }

  cSmfTrack bass;
  bass.Meta(0, 0x03, "Bass");
  bass.Event(0, {0xC1, 33});  // finger bass
  tick = 0;
  for (int root : kTitleRoots)
    for (int beat = 0; beat < 4; ++beat) {
      const uint8_t note = static_cast<uint8_t>(root + (beat % 2 ? 7 : 0));
      bass.Event(tick, {0x91, note, 88});
      bass.Event(tick + kDivision - 40, {0x81, note, 64});
      tick += kDivision;
    }

  std::string file = "MThd";
  PutBE32(file, 6);
  PutBE16(file, 1);  // format 1
  PutBE16(file, 3);  // tracks
  PutBE16(file, kDivision);
  file += conductor.Chunk(end);
  file += melody.Chunk(end);
  file += bass.Chunk(end);
  return file;
}

// The stage tune as samples: a triangle melody over a square bass.
std::vector<float> StageSamples() {
  std::vector<SYNTHNOTE> melody, bass;
  for (const STEP& s : kStageMelody) {
    const int ms = s.eighths * kEighthMs;
    if (s.note)
      melody.push_back({NoteHz(s.note), NoteHz(s.note), ms, WAVE_TRIANGLE, 70});
    else
      melody.push_back({0, 0, ms, WAVE_TRIANGLE, 0});
  }
  for (int root : kStageRoots)
    for (int k = 0; k < 8; ++k) {
      const int hz = NoteHz(root + (k % 2 ? 12 : 0));
      bass.push_back({hz, hz, kEighthMs, WAVE_SQUARE, 25});
    }
  std::vector<int32_t> mix;
  AddNotes(mix, melody);
  AddNotes(mix, bass);
  std::vector<float> out(mix.size());
  for (size_t i = 0; i < mix.size(); ++i) out[i] = static_cast<float>(mix[i]) / 32768.0f;
  return out;
}

// Encodes mono samples as Ogg Vorbis at SAMPLE_RATE; empty on failure.
std::string OggBytes(const std::vector<float>& samples) {
  std::string out;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, 1, SAMPLE_RATE, 0.2f) != 0) {
    vorbis_info_clear(&vi);
    return out;
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "TITLE", "Sample stage");
  vorbis_dsp_state vd;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block vb;
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, kOggSerial);

  ogg_page og;
  auto appendPage = [&out, &og] {
    out.append(reinterpret_cast<const char*>(og.header), static_cast<size_t>(og.header_len));
    out.append(reinterpret_cast<const char*>(og.body), static_cast<size_t>(og.body_len));
  };

  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  while (ogg_stream_flush(&os, &og) != 0) appendPage();

  // Blocks of samples in, packets and pages out; a count of 0 ends the stream.
  auto drain = [&] {
    ogg_packet op;
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      while (vorbis_bitrate_flushpacket(&vd, &op) == 1) {
        ogg_stream_packetin(&os, &op);
        while (ogg_stream_pageout(&os, &og) != 0) appendPage();
      }
    }
  };
  constexpr size_t kChunk = 1024;
  for (size_t pos = 0; pos < samples.size(); pos += kChunk) {
    const size_t n = samples.size() - pos < kChunk ? samples.size() - pos : kChunk;
    float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
    std::memcpy(buffer[0], samples.data() + pos, n * sizeof(float));
    vorbis_analysis_wrote(&vd, static_cast<int>(n));
    drain();
  }
  vorbis_analysis_wrote(&vd, 0);
  drain();
  while (ogg_stream_flush(&os, &og) != 0) appendPage();

  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

}  // namespace

std::vector<SAMPLEFILE> SampleMusic() {
  return {{samplefile::kMidi, MidiBytes()}, {samplefile::kOgg, OggBytes(StageSamples())}};
}
