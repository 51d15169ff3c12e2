// The MIDI stream against the mix's clock: the frame each event lands on,
// pause, stop and their callbacks, pulled by hand into a recording
// synthesiser.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <vector>

#include "platform/messages.h"
#include "platform/midi_out.h"
#include "platform/midi_stream.h"
#include "platform/mixer.h"

namespace plat {
void PrintTo(const RecordingSynth::Message& m, std::ostream* os) {
  *os << "{" << m.frame << ",";
  for (uint8_t b : m.bytes) *os << " " << std::hex << int(b) << std::dec;
  *os << "}";
}
}  // namespace plat

namespace {

using Bytes = std::vector<uint8_t>;
using Msg = plat::RecordingSynth::Message;

constexpr uint32_t CB = MEVT_F_CALLBACK;
constexpr uint32_t kEnd = CB | 0x2FFF;

uint32_t Short(uint8_t status, uint8_t d1, uint8_t d2 = 0) {
  return status | static_cast<uint32_t>(d1) << 8 | static_cast<uint32_t>(d2) << 16;
}
uint32_t Tempo(uint32_t microseconds) { return static_cast<uint32_t>(MEVT_TEMPO) << 24 | microseconds; }

struct Event {
  uint32_t delta;
  uint32_t word;
  Bytes tail = {};  // a long event's bytes, padded
};

// A stream buffer holding records written out here.
struct Buffer {
  explicit Buffer(const std::vector<Event>& events) {
    for (const Event& e : events) {
      for (uint32_t v : {e.delta, 0u, e.word})
        for (int i = 0; i < 4; ++i) data.push_back(static_cast<uint8_t>(v >> (8 * i)));
      data.insert(data.end(), e.tail.begin(), e.tail.end());
    }
    data.resize(data.size() + 16);  // room the records do not use
    header.lpData = data.data();
    header.nLength = static_cast<uint32_t>(data.size());
    header.nRecorded = static_cast<uint32_t>(data.size() - 16);
  }
  Bytes data;
  plat::MidiHeader header;
};

// The sixteen "all notes off" messages (with "sustain off" before each when
// the pedals go too) at one frame.
std::vector<Msg> NotesOff(uint64_t frame, bool pedals) {
  std::vector<Msg> out;
  for (uint8_t c = 0; c < 16; ++c) {
    if (pedals) out.push_back({frame, {static_cast<uint8_t>(0xB0 | c), 0x40, 0x00}});
    out.push_back({frame, {static_cast<uint8_t>(0xB0 | c), 0x7B, 0x00}});
  }
  return out;
}

std::vector<Msg> Cat(std::initializer_list<std::vector<Msg>> parts) {
  std::vector<Msg> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

class MidiStreamClock : public ::testing::Test {
 protected:
  void SetUp() override {
    m_synth = std::make_shared<plat::RecordingSynth>();
    plat::SetMidiSynth(m_synth);
  }
  void TearDown() override {
    m_stream.reset();
    plat::SetMidiSynth(nullptr);
    Callbacks();  // none left for other tests of this thread
  }

  // A stream owned by this thread, with the division, its buffers queued.
  void Open(uint32_t division, std::deque<Buffer>& buffers) {
    m_stream = std::make_unique<plat::MidiStream>();
    ASSERT_EQ(m_stream->Open(plat::CurrentThreadId()), MMSYSERR_NOERROR);
    ASSERT_EQ(m_stream->SetTimeDivision(division), MMSYSERR_NOERROR);
    for (Buffer& b : buffers) Queue(b);
  }
  void Queue(Buffer& b) {
    ASSERT_EQ(m_stream->Prepare(&b.header), MMSYSERR_NOERROR);
    ASSERT_EQ(m_stream->Out(&b.header), MMSYSERR_NOERROR);
  }

  void Pull(size_t frames) {
    std::vector<float> out(frames * 2, 1.0f);
    plat::RenderMidi(out.data(), frames);
  }

  // The callbacks posted to this thread so far.
  std::vector<plat::Message> Callbacks() {
    std::vector<plat::Message> out;
    plat::Message msg;
    while (plat::Peek(msg))
      if (msg.message == MM_MOM_POSITIONCB) out.push_back(msg);
    return out;
  }

  std::shared_ptr<plat::RecordingSynth> m_synth;
  std::unique_ptr<plat::MidiStream> m_stream;
};

}  // namespace

TEST_F(MidiStreamClock, QuarterNoteTicksFollowTheTempoWithTheRemainderCarried) {
  // 96 ticks a quarter note at 500000 µs: 229.6875 frames a tick.
  std::deque<Buffer> buffers;
  buffers.emplace_back(std::vector<Event>{
      {0, Short(0x90, 60, 100)},
      {96, Short(0x90, 62, 100)},  // 22050
      {1, Short(0x90, 64, 100)},   // 97 ticks: 22279.6875
      {1, Short(0x90, 65, 100)},   // 98 ticks: 22509.375
      {0, Tempo(250000)},
      {96, Short(0x80, 60, 0)},    // + 11025: 33534.375
      {0, kEnd},
  });
  Open(96, buffers);
  ASSERT_EQ(m_stream->Restart(), MMSYSERR_NOERROR);
  Pull(40000);
  EXPECT_EQ(m_synth->Messages(), (std::vector<Msg>{
                                     {0, {0x90, 60, 100}},
                                     {22050, {0x90, 62, 100}},
                                     {22279, {0x90, 64, 100}},
                                     {22509, {0x90, 65, 100}},
                                     {33534, {0x80, 60, 0}},
                                 }));
}

TEST_F(MidiStreamClock, SmpteTicksCountFramesPerSecondAndIgnoreTheTempo) {
  struct Case {
    uint32_t division;
    uint32_t first, second;  // deltas
    uint64_t at1, at2;       // frames
  };
  const Case cases[] = {
      {0xE728, 10, 1, 441, 485},         // 25 × 40 ticks a second: 44.1 frames a tick
      {0xE250, 2400, 1200, 44100, 66150},  // 30 × 80
      {0xE801, 24, 12, 44100, 66150},     // 24 × 1
      {0xE350, 2400, 2, 44144, 44180},    // 29.97 × 80: 2400 ticks = 1.001 s
  };
  for (const Case& c : cases) {
    m_synth->Clear();
    uint64_t start = m_synth->FramesRendered();
    std::deque<Buffer> buffers;
    buffers.emplace_back(std::vector<Event>{
        {0, Tempo(100000)},
        {c.first, Short(0x90, 60, 1)},
        {c.second, Short(0x80, 60, 0)},
    });
    Open(c.division, buffers);
    m_stream->Restart();
    Pull(70000);
    EXPECT_EQ(m_synth->Messages(),
              (std::vector<Msg>{{start + c.at1, {0x90, 60, 1}}, {start + c.at2, {0x80, 60, 0}}}))
        << std::hex << c.division;
    m_stream.reset();
  }
}

TEST_F(MidiStreamClock, PullsOfAnySizePlayEveryEventAtTheSameFrame) {
  auto run = [](const std::vector<size_t>& pulls) {
    auto synth = std::make_shared<plat::RecordingSynth>();
    plat::SetMidiSynth(synth);
    std::vector<Event> events;
    for (uint32_t i = 0; i < 200; ++i) events.push_back({(i * 37) % 11, Short(0x90, static_cast<uint8_t>(i % 128), 64)});
    events.push_back({5, Tempo(123457)});
    for (uint32_t i = 0; i < 200; ++i) events.push_back({(i * 13) % 7, Short(0x80, static_cast<uint8_t>(i % 128), 0)});
    Buffer buffer(events);
    plat::MidiStream stream;
    stream.Open(plat::CurrentThreadId());
    stream.SetTimeDivision(480);
    stream.Prepare(&buffer.header);
    stream.Out(&buffer.header);
    stream.Restart();
    std::vector<float> out;
    for (size_t n : pulls) {
      out.assign(n * 2, 0.0f);
      plat::RenderMidi(out.data(), n);
    }
    return synth->Messages();
  };
  std::vector<Msg> one = run({100000});
  ASSERT_EQ(one.size(), 400u);
  EXPECT_GT(one.back().frame, 20000u);
  EXPECT_EQ(run({1, 7, 13, 999, 4096, 0, 333, 94551}), one);
  EXPECT_EQ(run(std::vector<size_t>(1000, 100)), one);
}

TEST_F(MidiStreamClock, PauseHoldsTheClockAndReleasesTheNotes) {
  std::deque<Buffer> buffers;
  buffers.emplace_back(std::vector<Event>{{0, Short(0x90, 60, 100)}, {96, Short(0x80, 60, 0)}});
  Open(96, buffers);
  m_stream->Restart();
  Pull(1000);
  ASSERT_EQ(m_stream->Pause(), MMSYSERR_NOERROR);
  Pull(5000);
  m_stream->Restart();
  Pull(30000);
  EXPECT_EQ(m_synth->Messages(),
            Cat({{{0, {0x90, 60, 100}}}, NotesOff(1000, false), {{22050 + 5000, {0x80, 60, 0}}}}));
}

TEST_F(MidiStreamClock, ABufferIsDoneBeforeTheCallbackOfItsLastEventAndTheEndIsNoReset) {
  std::deque<Buffer> buffers;
  buffers.emplace_back(std::vector<Event>{
      {0, Short(0x90, 60, 100)},
      {0, MEVT_F_LONG | 6, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7, 0, 0}},
      {10, CB | Short(0x80, 60, 0)},
  });
  buffers.emplace_back(std::vector<Event>{{10, kEnd}});
  Open(96, buffers);
  uint32_t run = m_stream->RunNumber();
  m_stream->Restart();
  Pull(3000);
  std::vector<plat::Message> calls = Callbacks();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].lParam, reinterpret_cast<intptr_t>(&buffers[0].header));
  EXPECT_EQ(calls[0].wParam, run);
  EXPECT_EQ(buffers[0].header.nFlags.load(), MHDR_PREPARED | MHDR_DONE);
  EXPECT_EQ(buffers[0].header.nOffset, 32u);
  EXPECT_EQ(buffers[1].header.nFlags.load(), MHDR_PREPARED | MHDR_INQUEUE);

  Pull(3000);
  calls = Callbacks();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].lParam, reinterpret_cast<intptr_t>(&buffers[1].header));
  EXPECT_EQ(buffers[1].header.nFlags.load(), MHDR_PREPARED | MHDR_DONE);
  EXPECT_EQ(buffers[1].header.nOffset, 0u);
  EXPECT_EQ(m_stream->CallbacksPosted(), 2u);
  // 10 ticks: 2296.875 frames; the end's FF 2F 00 reaches nobody.
  EXPECT_EQ(m_synth->Messages(), (std::vector<Msg>{
                                     {0, {0x90, 60, 100}},
                                     {0, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}},
                                     {2296, {0x80, 60, 0}},
                                 }));
}

TEST_F(MidiStreamClock, StopReturnsTheBuffersRewindsAndStartsANewRun) {
  std::deque<Buffer> buffers;
  buffers.emplace_back(std::vector<Event>{{0, Short(0x90, 60, 100)}, {0, Tempo(1000000)}, {96, CB | Short(0x80, 60, 0)}});
  buffers.emplace_back(std::vector<Event>{{96, kEnd}});
  Open(96, buffers);
  uint32_t run = m_stream->RunNumber();
  m_stream->Restart();
  Pull(100);
  ASSERT_EQ(m_stream->Stop(), MMSYSERR_NOERROR);
  EXPECT_NE(m_stream->RunNumber(), run);
  for (Buffer& b : buffers) EXPECT_EQ(b.header.nFlags.load(), MHDR_PREPARED | MHDR_DONE);
  EXPECT_TRUE(Callbacks().empty());

  // Stopped: nothing plays until a restart, which starts from tick 0 at the
  // first tempo again.
  Pull(1000);
  Buffer again({{0, Short(0x90, 62, 100)}, {96, Short(0x80, 62, 0)}});
  Queue(again);
  Pull(1000);
  m_stream->Restart();
  Pull(30000);
  EXPECT_EQ(m_synth->Messages(), Cat({
                                     {{0, {0x90, 60, 100}}},
                                     NotesOff(100, true),
                                     {{2100, {0x90, 62, 100}}, {2100 + 22050, {0x80, 62, 0}}},
                                 }));
}

TEST_F(MidiStreamClock, ALateBufferPlaysAtOnceAndTheSongKeepsItsSchedule) {
  std::deque<Buffer> buffers;
  buffers.emplace_back(std::vector<Event>{{0, CB | Short(0x90, 60, 100)}});
  Open(96, buffers);
  m_stream->Restart();
  Pull(30000);
  Buffer late({{96, Short(0x80, 60, 0)}, {96, Short(0x90, 62, 100)}});
  Queue(late);
  Pull(30000);
  EXPECT_EQ(m_synth->Messages(),
            (std::vector<Msg>{{0, {0x90, 60, 100}}, {30000, {0x80, 60, 0}}, {44100, {0x90, 62, 100}}}));
}

TEST_F(MidiStreamClock, CallsAnswerWithTheirResultCodes) {
  plat::MidiStream stream;
  Buffer b({{0, Short(0x90, 60, 1)}});
  EXPECT_EQ(stream.Restart(), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(stream.Out(&b.header), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(stream.Open(0), MMSYSERR_INVALPARAM);
  ASSERT_EQ(stream.Open(plat::CurrentThreadId()), MMSYSERR_NOERROR);
  EXPECT_EQ(stream.Open(plat::CurrentThreadId()), MMSYSERR_ALLOCATED);

  EXPECT_EQ(stream.Out(&b.header), MIDIERR_UNPREPARED);
  ASSERT_EQ(stream.Prepare(&b.header), MMSYSERR_NOERROR);
  ASSERT_EQ(stream.Out(&b.header), MMSYSERR_NOERROR);
  EXPECT_EQ(stream.Out(&b.header), MIDIERR_STILLPLAYING);
  EXPECT_EQ(stream.Unprepare(&b.header), MIDIERR_STILLPLAYING);
  ASSERT_EQ(stream.Reset(), MMSYSERR_NOERROR);
  EXPECT_EQ(stream.Unprepare(&b.header), MMSYSERR_NOERROR);
  EXPECT_EQ(b.header.nFlags.load(), MHDR_DONE);

  for (uint32_t division : {0u, 0x8000u, 0xE800u, 0xE001u, 0xE701u - 0x100u, 0x10000u})
    EXPECT_EQ(stream.SetTimeDivision(division), MMSYSERR_INVALPARAM) << std::hex << division;
  for (uint32_t division : {1u, 0x7FFFu, 0xE8FFu, 0xE701u, 0xE301u, 0xE201u})
    EXPECT_EQ(stream.SetTimeDivision(division), MMSYSERR_NOERROR) << std::hex << division;

  EXPECT_EQ(stream.Close(), MMSYSERR_NOERROR);
  EXPECT_EQ(stream.Close(), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(stream.RunNumber(), 0u);
  EXPECT_EQ(plat::MidiErrorText(MIDIERR_STILLPLAYING), "The buffer is still in the queue.");
}

namespace {

// Sounds 0.25 on both sides while any note is held: where the mix changes
// shows the frame a message came at.
class LevelSynth : public plat::MidiSynth {
 public:
  void Send(const uint8_t* bytes, size_t count) override {
    if ((bytes[0] & 0xF0) == 0x90 && count == 3 && bytes[2]) ++m_held;
    if ((bytes[0] & 0xF0) == 0x80 && m_held) --m_held;
  }
  void Render(float* out, size_t frames) override {
    for (size_t i = 0; i < 2 * frames; ++i) out[i] = m_held ? 0.25f : 0.0f;
  }

 private:
  int m_held = 0;
};

}  // namespace

TEST_F(MidiStreamClock, TheMixerPullsEveryEventOntoItsExactFrame) {
  plat::Mixer mixer;
  plat::SetMidiMixer(&mixer);
  struct Detach {
    ~Detach() { plat::SetMidiMixer(nullptr); }
  } detach;  // before the mixer goes, whatever happens
  plat::SetMidiSynth(std::make_shared<LevelSynth>());
  std::deque<Buffer> buffers;
  buffers.emplace_back(std::vector<Event>{{96, Short(0x90, 60, 100)}, {1, Short(0x80, 60, 0)}, {95, Short(0x90, 62, 1)}});
  Open(96, buffers);
  m_stream->Restart();

  std::vector<float> mix(2 * 50000);
  size_t done = 0;
  for (size_t n : {1000, 333, 1, 20000, 4096}) {
    mixer.Render(mix.data() + 2 * done, n);
    done += n;
  }
  mixer.Render(mix.data() + 2 * done, 50000 - done);
  // Held from 22050 (96 ticks) to 22279 (97), and again from 44100 (192).
  for (size_t k = 0; k < 50000; ++k) {
    float want = (k >= 22050 && k < 22279) || k >= 44100 ? 0.25f : 0.0f;
    ASSERT_EQ(mix[2 * k], want) << k;
    ASSERT_EQ(mix[2 * k + 1], want) << k;
  }
  plat::SetMidiMixer(nullptr);
  mixer.Render(mix.data(), 100);
  EXPECT_EQ(mix[0], 0.0f);  // out of the mix
}
