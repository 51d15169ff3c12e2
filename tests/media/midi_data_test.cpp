// Standard MIDI files: variable-length numbers, the conversion into one
// format-0 track, and the files that are refused with their report lines.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/report_log.h"
#include "media/midi_data.h"
#include "support/test_support.h"

using testsupport::Sjis;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes Be32(uint32_t v) {
  return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
          static_cast<uint8_t>(v)};
}

// "MThd" with its length 6, the format, the track count and the division.
Bytes Header(uint16_t format, uint16_t tracks, uint16_t division) {
  return Cat({{'M', 'T', 'h', 'd'}, Be32(6),
              {static_cast<uint8_t>(format >> 8), static_cast<uint8_t>(format), static_cast<uint8_t>(tracks >> 8),
               static_cast<uint8_t>(tracks), static_cast<uint8_t>(division >> 8), static_cast<uint8_t>(division)}});
}

Bytes Track(const Bytes& events) { return Cat({{'M', 'T', 'r', 'k'}, Be32(static_cast<uint32_t>(events.size())), events}); }

// The image the converter writes: the 22-byte head, then the events.
Bytes Image(uint16_t division, const Bytes& events) {
  return Cat({Header(0, 1, division), Track(events)});
}

class MidiFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    m_data.m_strName = "bgm\\song.mid";
  }
  std::string Report() const { return m_dir.ReadFile("Report_Game.txt"); }
  // The image of a file, or an empty vector when it was refused.
  Bytes Convert(const Bytes& file) {
    std::unique_ptr<std::vector<uint8_t>> image = m_data.Check(file.data(), file.size());
    return image ? *image : Bytes{};
  }

  testsupport::ScopedWorkDir m_dir;
  cMidiData m_data;
};

}  // namespace

TEST(MidiVarLen, ReadsOneToFourBytesAndRefusesLongerOrCutNumbers) {
  struct Case {
    Bytes bytes;
    int used;
    uint32_t value;
  };
  const Case cases[] = {
      {{0x00}, 1, 0},
      {{0x7F, 0x55}, 1, 0x7F},
      {{0x81, 0x00}, 2, 0x80},
      {{0xFF, 0x7F}, 2, 0x3FFF},
      {{0x81, 0x80, 0x00}, 3, 0x4000},
      {{0xFF, 0xFF, 0x7F}, 3, 0x1FFFFF},
      {{0x81, 0x80, 0x80, 0x00}, 4, 0x200000},
      {{0xFF, 0xFF, 0xFF, 0x7F}, 4, 0x0FFFFFFF},
      {{0x80, 0x80, 0x80, 0x80, 0x00}, 0, 0},  // a fifth byte
      {{0x81, 0x80}, 0, 0},                    // cut by the end
      {{}, 0, 0},
  };
  for (const Case& c : cases) {
    uint32_t value = 0xDEAD;
    int used = cMidiData::ReadVarLen(c.bytes.data(), c.bytes.size(), &value);
    EXPECT_EQ(used, c.used) << ::testing::PrintToString(c.bytes);
    if (c.used) {
      EXPECT_EQ(value, c.value) << ::testing::PrintToString(c.bytes);
    }
  }
}

TEST(MidiVarLen, WritesTheShortestFormUpToTwentyEightBits) {
  struct Case {
    uint32_t value;
    Bytes bytes;
  };
  const Case cases[] = {
      {0, {0x00}},
      {0x7F, {0x7F}},
      {0x80, {0x81, 0x00}},
      {0x3FFF, {0xFF, 0x7F}},
      {0x4000, {0x81, 0x80, 0x00}},
      {0x1FFFFF, {0xFF, 0xFF, 0x7F}},
      {0x200000, {0x81, 0x80, 0x80, 0x00}},
      {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
      {0x10000000, {}},  // too large: nothing
      {0xFFFFFFFF, {}},
  };
  for (const Case& c : cases) {
    Bytes out = {0xAA};
    EXPECT_EQ(cMidiData::WriteVarLen(out, c.value), static_cast<int>(c.bytes.size())) << c.value;
    EXPECT_EQ(out, Cat({{0xAA}, c.bytes})) << c.value;
  }
}

TEST_F(MidiFiles, FormatZeroGetsAStatusByteOnEveryEvent) {
  Bytes file = Cat({Header(0, 1, 0x60), Track({
                                             0x00, 0x90, 0x3C, 0x64,  //
                                             0x00, 0x40, 0x64,        // running 90
                                             0x60, 0x80, 0x3C, 0x00,  //
                                             0x00, 0x40, 0x00,        // running 80
                                             0x00, 0xC0, 0x05,        //
                                             0x10, 0x07,              // running C0: one data byte
                                             0x00, 0xFF, 0x2F, 0x00,
                                         })});
  EXPECT_EQ(Convert(file), Image(0x60, {
                                           0x00, 0x90, 0x3C, 0x64,  //
                                           0x00, 0x90, 0x40, 0x64,  //
                                           0x60, 0x80, 0x3C, 0x00,  //
                                           0x00, 0x80, 0x40, 0x00,  //
                                           0x00, 0xC0, 0x05,        //
                                           0x10, 0xC0, 0x07,        //
                                           0x00, 0xFF, 0x2F, 0x00,
                                       }));
  EXPECT_EQ(Report(), "");
}

TEST_F(MidiFiles, FormatOneMergesTracksByTickInTrackOrderEndingAtTheLatestEnd) {
  Bytes conductor = {
      0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,        // tempo 500000 at 0
      0x83, 0x60, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,  // tempo 1000000 at 480
      0x00, 0xFF, 0x2F, 0x00,                          // ends at 480
  };
  Bytes first = {
      0x00, 0x90, 0x3C, 0x40,        //
      0x83, 0x60, 0x80, 0x3C, 0x00,  // at 480
      0x83, 0x60, 0xFF, 0x2F, 0x00,  // ends at 960: the song's end
  };
  Bytes second = {
      0x00, 0x91, 0x40, 0x40,        //
      0x83, 0x60, 0x81, 0x40, 0x00,  // at 480
      0x00, 0xFF, 0x2F, 0x00,        // ends at 480
  };
  Bytes file = Cat({Header(1, 3, 480), Track(conductor), Track(first), Track(second)});
  EXPECT_EQ(Convert(file), Image(480, {
                                          0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,        //
                                          0x00, 0x90, 0x3C, 0x40,                          //
                                          0x00, 0x91, 0x40, 0x40,                          //
                                          0x83, 0x60, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,  //
                                          0x00, 0x80, 0x3C, 0x00,                          //
                                          0x00, 0x81, 0x40, 0x00,                          //
                                          0x83, 0x60, 0xFF, 0x2F, 0x00,
                                      }));
}

TEST_F(MidiFiles, SysexAndMetaEventsPassAsTheyStandAndKeepTheRunningStatus) {
  Bytes events = {
      0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7,  // GM on
      0x00, 0x90, 0x3C, 0x40,                          //
      0x00, 0xFF, 0x03, 0x04, 'S', 'o', 'n', 'g',      // name
      0x10, 0xF7, 0x02, 0xF3, 0x01,                    // escape
      0x10, 0x3C, 0x00,                                // still running 90
      0x00, 0xFF, 0x2F, 0x00,
  };
  EXPECT_EQ(Convert(Cat({Header(0, 1, 96), Track(events)})),
            Image(96, {
                          0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7,  //
                          0x00, 0x90, 0x3C, 0x40,                          //
                          0x00, 0xFF, 0x03, 0x04, 'S', 'o', 'n', 'g',      //
                          0x10, 0xF7, 0x02, 0xF3, 0x01,                    //
                          0x10, 0x90, 0x3C, 0x00,                          //
                          0x00, 0xFF, 0x2F, 0x00,
                      }));
}

TEST_F(MidiFiles, ATrackThatReachesTheFileEndWithoutItsEndEndsThere) {
  // The chunk length says more than there is; it is not used.
  Bytes file = Cat({Header(0, 1, 96), {'M', 'T', 'r', 'k'}, Be32(100), {0x00, 0x90, 0x3C, 0x40, 0x60, 0x80, 0x3C, 0x00}});
  EXPECT_EQ(Convert(file), Image(96, {0x00, 0x90, 0x3C, 0x40, 0x60, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}));
  EXPECT_EQ(Report(), "");
}

TEST_F(MidiFiles, RefusedFilesNameTheirFaultInTheReport) {
  const Bytes end = {0x00, 0xFF, 0x2F, 0x00};
  struct Case {
    const char* what;
    Bytes file;
    const char* line;  // after "Midi bgm\song.mid "
  };
  const Case cases[] = {
      {"not MThd", Cat({{'R', 'I', 'F', 'F'}, Be32(6), {0, 0, 0, 1, 0, 96}, Track(end)}), "Init 標準MIDIでない(4)"},
      {"three bytes", {'M', 'T', 'h'}, "Init 標準MIDIでない(4)"},
      {"header length 7", Cat({{'M', 'T', 'h', 'd'}, Be32(7), {0, 0, 0, 1, 0, 96, 0}, Track(end)}),
       "Init 標準MIDIでない(6)"},
      {"format 2", Cat({Header(2, 1, 96), Track(end)}), "Init 対応フォーマットが2でない"},
      {"format 3", Cat({Header(3, 1, 96), Track(end)}), "Init 対応フォーマットが0または1でない"},
      {"no MTrk", Cat({Header(0, 1, 96), {'M', 'T', 'r', 'x'}, Be32(4), end}), "Init 標準MIDIでない(4)"},
      // Mended: every read stays inside the file.
      {"header cut", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}, "Init ファイルが途中で切れている"},
      {"event cut", Cat({Header(0, 1, 96), Track({0x00, 0x90, 0x3C})}), "Init ファイルが途中で切れている"},
      {"delta without event", Cat({Header(0, 1, 96), Track({0x00, 0x90, 0x3C, 0x40, 0x10})}),
       "Init ファイルが途中で切れている"},
      {"delta cut", Cat({Header(0, 1, 96), Track({0x00, 0x90, 0x3C, 0x40, 0x81})}), "Init ファイルが途中で切れている"},
      {"meta data cut", Cat({Header(0, 1, 96), Track({0x00, 0xFF, 0x03, 0x05, 'a', 'b'})}),
       "Init ファイルが途中で切れている"},
      {"sysex length cut", Cat({Header(0, 1, 96), Track({0x00, 0xF0, 0x85})}), "Init ファイルが途中で切れている"},
      {"second track missing", Cat({Header(1, 2, 96), Track(end)}), "Init ファイルが途中で切れている"},
      {"five-byte delta", Cat({Header(0, 1, 96), Track({0x81, 0x81, 0x81, 0x81, 0x00, 0x90, 0x3C, 0x40})}),
       "Init 可変長数値が4バイトを超える"},
      {"five-byte sysex length", Cat({Header(0, 1, 96), Track({0x00, 0xF0, 0x80, 0x80, 0x80, 0x80, 0x01, 0xF7})}),
       "Init 可変長数値が4バイトを超える"},
      {"data byte first", Cat({Header(0, 1, 96), Track({0x00, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00})}),
       "Init ランニングステータスがない"},
      {"data byte after sysex only", Cat({Header(0, 1, 96), Track({0x00, 0xF0, 0x01, 0xF7, 0x00, 0x3C, 0x40})}),
       "Init ランニングステータスがない"},
      {"no track", Cat({Header(1, 0, 96), Track(end)}), "Init トラックがない"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    EXPECT_EQ(Convert(c.file), Bytes{}) << c.what;
    EXPECT_EQ(Report(), "Midi bgm\\song.mid " + Sjis(c.line) + "\r\n") << c.what;
  }
}

TEST_F(MidiFiles, ADeltaThatNoVariableLengthNumberHoldsIsRefused) {
  static const uint8_t on[2] = {0x3C, 0x40};
  MidiTrack merged = {{0, 0x90, on, 2}, {0x10000000, 0x90, on, 2}};
  Bytes image;
  EXPECT_FALSE(m_data.BuildFormat0(96, merged, image));
  EXPECT_EQ(Report(), "Midi bgm\\song.mid " + Sjis("Init デルタタイムが大きすぎる") + "\r\n");

  merged[1].nTick = 0x0FFFFFFF;
  ASSERT_TRUE(m_data.BuildFormat0(96, merged, image));
  EXPECT_EQ(image, Image(96, {0x00, 0x90, 0x3C, 0x40, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 0x3C, 0x40}));
}

TEST_F(MidiFiles, LoadConvertsAFileAndReportsOneThatCannotBeRead) {
  Bytes file = Cat({Header(0, 1, 96), Track({0x00, 0x90, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00})});
  m_dir.WriteFile("bgm/Song.mid", std::string(file.begin(), file.end()));
  cMidiData data;
  data.Load("bgm\\song.mid");  // the case of a project's path does not matter
  ASSERT_NE(data.m_lpImage, nullptr);
  EXPECT_EQ(*data.m_lpImage, Image(96, {0x00, 0x90, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00}));
  EXPECT_EQ(data.m_strName, "bgm\\song.mid");

  data.Load("bgm\\missing.mid");
  EXPECT_EQ(data.m_lpImage, nullptr);
  EXPECT_EQ(Report(), "Midi bgm\\missing.mid " + Sjis("Create ファイルが開けません") + "\r\n");
}

TEST_F(MidiFiles, AFileOverSixtyFourMebibytesIsRefusedUnread) {
  // A sparse file: the size is all that is looked at.
  m_dir.WriteFile("big.mid", "MThd");
  ASSERT_EQ(truncate((m_dir.Path() + "/big.mid").c_str(), static_cast<off_t>(kMidiFileLimit) + 1), 0);
  cMidiData data;
  data.Load("big.mid");
  EXPECT_EQ(data.m_lpImage, nullptr);
  EXPECT_EQ(Report(), "Midi big.mid " + Sjis("Create ファイルが64MBを超える") + "\r\n");
}
