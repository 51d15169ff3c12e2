// Stream buffers filled from a song's image: one record per event, the
// callback on the last record of a buffer, and what is left for the next one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/report_log.h"
#include "media/midi.h"
#include "support/test_support.h"

using testsupport::Sjis;

namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// One record: delta, stream id 0, event word (little-endian), then any bytes.
Bytes Rec(uint32_t delta, uint32_t word, const Bytes& tail = {}) {
  Bytes out;
  Append(out, delta);
  Append(out, 0);
  Append(out, word);
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

Bytes Joined(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

constexpr uint32_t CB = MEVT_F_CALLBACK;

class MidiFill : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(ReportOpen("Report_Game.txt"), 1); }

  // A player holding the image of these events (written here as the
  // converter writes them).
  void SetSong(const Bytes& events) {
    Bytes image = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k'};
    uint32_t n = static_cast<uint32_t>(events.size());
    image.insert(image.end(), {static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16),
                               static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n)});
    image.insert(image.end(), events.begin(), events.end());
    m_player.m_strName = "bgm\\song.mid";
    m_player.m_lpImage = std::make_unique<std::vector<uint8_t>>(image);
  }

  // Fills a buffer of `length` bytes from image offset `position`; returns
  // the bytes consumed and keeps the records in `m_records`.
  uint32_t Fill(uint32_t position, uint32_t length) {
    m_buffer.assign(length, 0xEE);
    m_header.lpData = m_buffer.data();
    m_header.nLength = length;
    m_header.nFlags = MHDR_PREPARED | MHDR_DONE;
    m_header.nOffset = 7;
    uint32_t consumed = m_player.FillBuffer(position, &m_header);
    m_records.assign(m_buffer.begin(), m_buffer.begin() + m_header.nRecorded);
    // The rest of the buffer is cleared; the header starts afresh.
    for (uint32_t i = m_header.nRecorded; i < length; ++i) EXPECT_EQ(m_buffer[i], 0) << i;
    EXPECT_EQ(m_header.nFlags.load(), 0u);
    EXPECT_EQ(m_header.nOffset, 0u);
    return consumed;
  }

  std::string Report() const { return m_dir.ReadFile("Report_Game.txt"); }

  testsupport::ScopedWorkDir m_dir;
  cMidi m_player;
  Bytes m_buffer;
  plat::MidiHeader m_header;
  Bytes m_records;
};

}  // namespace

TEST_F(MidiFill, ShortEventsTempoAndTheEndBecomeOneRecordEach) {
  Bytes events = {
      0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // tempo 500000
      0x00, 0xC0, 0x05,                          //
      0x10, 0x90, 0x3C, 0x64,                    //
      0x81, 0x00, 0x80, 0x3C, 0x00,              // delta 128
      0x00, 0xFF, 0x2F, 0x00,
  };
  SetSong(events);
  EXPECT_EQ(Fill(22, 100), events.size());
  EXPECT_EQ(m_records, Joined({
                           Rec(0, 0x0107A120),
                           Rec(0, 0x000005C0),
                           Rec(0x10, 0x00643C90),
                           Rec(0x80, 0x00003C80),
                           Rec(0, CB | 0x2FFF),
                       }));
}

TEST_F(MidiFill, SysexOfFiveDataBytesTakesTwelvePlusEightBytes) {
  Bytes events = {
      0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7,  //
      0x04, 0xF7, 0x02, 0xF3, 0x01,                    // escape: the status goes with the bytes
      0x00, 0xFF, 0x2F, 0x00,
  };
  SetSong(events);
  EXPECT_EQ(Fill(22, 64), events.size());
  EXPECT_EQ(m_records, Joined({
                           Rec(0, MEVT_F_LONG | 6, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7, 0, 0}),
                           Rec(4, MEVT_F_LONG | 3, {0xF7, 0xF3, 0x01, 0}),
                           Rec(0, CB | 0x2FFF),
                       }));
  EXPECT_EQ(m_records.size(), 20u + 16u + 12u);
}

TEST_F(MidiFill, SkippedMetaEventsLeaveNoRecordButKeepTheirTime) {
  Bytes events = {
      0x00, 0x90, 0x3C, 0x40,                    //
      0x10, 0xFF, 0x01, 0x02, 'h', 'i',          // text: skipped
      0x08, 0xFF, 0x51, 0x02, 0x01, 0x02,        // a tempo too short to read: skipped
      0x20, 0x80, 0x3C, 0x00,                    // due 0x38 after the note
      0x00, 0xFF, 0x2F, 0x00,
  };
  SetSong(events);
  EXPECT_EQ(Fill(22, 100), events.size());
  EXPECT_EQ(m_records, Joined({Rec(0, 0x00403C90), Rec(0x38, 0x00003C80), Rec(0, CB | 0x2FFF)}));
}

TEST_F(MidiFill, AFullBufferPutsTheCallbackOnItsLastRecordAndLeavesTheRest) {
  Bytes events = {
      0x00, 0x90, 0x3C, 0x40,  // 4 bytes each
      0x01, 0x90, 0x3E, 0x40,  //
      0x02, 0x90, 0x40, 0x40,  //
      0x03, 0x80, 0x3C, 0x00,  //
      0x00, 0xFF, 0x2F, 0x00,
  };
  SetSong(events);
  EXPECT_EQ(Fill(22, 36), 12u);
  EXPECT_EQ(m_records, Joined({Rec(0, 0x00403C90), Rec(1, 0x00403E90), Rec(2, CB | 0x00404090)}));
  EXPECT_EQ(Fill(22 + 12, 36), 8u);
  EXPECT_EQ(m_records, Joined({Rec(3, 0x00003C80), Rec(0, CB | 0x2FFF)}));
}

TEST_F(MidiFill, AnEndThatDoesNotFitWaitsForTheNextBuffer) {
  Bytes events = {0x00, 0x90, 0x3C, 0x40, 0x05, 0x80, 0x3C, 0x00, 0x07, 0xFF, 0x2F, 0x00};
  SetSong(events);
  EXPECT_EQ(Fill(22, 30), 8u);
  EXPECT_EQ(m_records, Joined({Rec(0, 0x00403C90), Rec(5, CB | 0x00003C80)}));
  EXPECT_EQ(Fill(30, 30), 4u);
  EXPECT_EQ(m_records, Rec(7, CB | 0x2FFF));
}

TEST_F(MidiFill, AMetaEventBeforeAFullBufferIsReadAgainWithTheNextOne) {
  Bytes events = {
      0x00, 0x90, 0x3C, 0x40,              //
      0x01, 0x80, 0x3C, 0x00,              //
      0x05, 0xFF, 0x06, 0x01, 'A',         // marker: skipped
      0x07, 0x90, 0x3E, 0x40,              // does not fit
      0x00, 0xFF, 0x2F, 0x00,
  };
  SetSong(events);
  EXPECT_EQ(Fill(22, 24), 8u);
  EXPECT_EQ(m_records, Joined({Rec(0, 0x00403C90), Rec(1, CB | 0x00003C80)}));
  EXPECT_EQ(Fill(30, 24), events.size() - 8);
  EXPECT_EQ(m_records, Joined({Rec(12, 0x00403E90), Rec(0, CB | 0x2FFF)}));
}

TEST_F(MidiFill, AnEventLargerThanABufferIsSkippedWithAReportLine) {
  Bytes events = {0x00, 0x90, 0x3C, 0x40, 0x03, 0xF0, 0x10};
  for (int i = 0; i < 15; ++i) events.push_back(static_cast<uint8_t>(i));
  events.push_back(0xF7);
  events.insert(events.end(), {0x04, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00});
  SetSong(events);
  // 12 + 17 bytes padded to 20: more than the buffer's 24.
  EXPECT_EQ(Fill(22, 24), events.size() - 4);
  EXPECT_EQ(m_records, Joined({Rec(0, 0x00403C90), Rec(7, CB | 0x00003C80)}));
  EXPECT_EQ(Report(), "Midi bgm\\song.mid " + Sjis("Buffer バッファより大きいイベントを飛ばした") + "\r\n");
  EXPECT_EQ(Fill(22 + static_cast<uint32_t>(events.size()) - 4, 24), 4u);
  EXPECT_EQ(m_records, Rec(0, CB | 0x2FFF));
}
