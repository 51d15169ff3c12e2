// The HP and SP gauges above a character: the frame, the value bar (its row
// for a low value), the gained or lost part, from a tall or a short
// Accessory.bmp; the difference shrinking and gone for the last 60 frames.
#include <gtest/gtest.h>

#include "chara_draw_env.h"
#include "media/dd_surface.h"
#include "media/surface_table.h"
#include "support/recording_renderer.h"

using namespace charadraw;
using testsupport::RecordingRenderer;

class CharaGauge : public CharaDrawTest {
 protected:
  CharaGauge() {
    for (int item : {2, 3}) {
      SystemData.m_vStatusItems[item].m_nLowLevel = 30;  // 30 % or less is low
      SystemData.m_vStatusItems[item].m_bLowPercent = 1;
    }
  }
  static void SheetHeight(int h) { SurfaceTable[49].nHeight = h; }
};

TEST_F(CharaGauge, BarsOfAGainOrALossFromATallOrAShortSheet) {
  struct Case {
    const char* name;
    int sheetHeight, kind, max, start, delta;
    std::vector<std::string> bars;
  };
  // The character's corner (100, 200), 32 wide: gauges from x 91; HP at
  // y 197, SP at y 193. Tall sheet rows from 208 two apart; short from 128
  // sixteen apart; SP from x 64 of the sheet.
  const Case cases[] = {
      {"HP loss, tall", 224, 0, 100, 100, -20,
       {"DDBlt Back 91 197 50 2 T49 0 208 1", "DDBlt Back 91 197 40 2 T49 0 210 1",
        "DDBlt Back 131 197 10 2 T49 0 214 1"}},
      {"HP loss to a low value", 224, 0, 100, 100, -80,
       {"DDBlt Back 91 197 50 2 T49 0 208 1", "DDBlt Back 91 197 10 2 T49 0 212 1",
        "DDBlt Back 101 197 40 2 T49 0 214 1"}},
      {"HP gain, short", 208, 0, 10, 4, 4,
       {"DDBlt Back 91 197 50 2 T49 0 128 1", "DDBlt Back 91 197 40 2 T49 0 144 1",
        "DDBlt Back 111 197 20 2 T49 0 192 1"}},
      {"SP gain, short", 160, 1, 50, 10, 15,
       {"DDBlt Back 91 193 50 2 T49 64 128 1", "DDBlt Back 91 193 25 2 T49 64 144 1",
        "DDBlt Back 101 193 15 2 T49 64 192 1"}},
      {"SP loss, tall", 209, 1, 50, 50, -45,
       {"DDBlt Back 91 193 50 2 T49 64 208 1", "DDBlt Back 91 193 5 2 T49 64 212 1",
        "DDBlt Back 96 193 45 2 T49 64 214 1"}},
  };
  for (const Case& c : cases) {
    SheetHeight(c.sheetHeight);
    cChara& chara = AddChara();
    if (c.kind == 0) {
      chara.m_Def.m_nMaxHp = c.max;
      chara.m_nHp = c.start;
      chara.ChangeHp(c.delta, 1, 1);
    } else {
      chara.m_Def.m_nMaxSp = c.max;
      chara.m_nSp = c.start;
      chara.ChangeSp(c.delta, 1);
    }
    RecordingRenderer recorder;
    c.kind == 0 ? chara.DrawHpGauge(&BackBuffer) : chara.DrawSpGauge(&BackBuffer);
    EXPECT_EQ(recorder.Take(), c.bars) << c.name;
  }
}

TEST_F(CharaGauge, TheDifferenceShrinksAndIsGoneForTheLastSixtyFrames) {
  SheetHeight(224);
  cChara& chara = AddChara();
  chara.m_Def.m_nMaxHp = 100;
  chara.m_nHp = 100;
  chara.ChangeHp(-20, 1, 1);  // 120 frames; lost part 10 dots, 1/6 less a frame
  ASSERT_EQ(chara.m_HpGauge.nTimer, 120);
  RecordingRenderer recorder;
  // The width of the change bar on each frame (negative: the lost part).
  std::vector<int> widths;
  for (int frame = 1; frame <= 121; ++frame) {
    chara.DrawHpGauge(&BackBuffer);
    const std::vector<std::string> calls = recorder.Take();
    if (calls.empty()) {
      widths.push_back(999);
      continue;
    }
    ASSERT_EQ(calls.size(), 3u) << frame;
    const bool lost = calls[2].find(" 214 1") != std::string::npos;
    int x, y, w;
    ASSERT_EQ(std::sscanf(calls[2].c_str(), "DDBlt Back %d %d %d", &x, &y, &w), 3);
    widths.push_back(lost ? -w : w);
  }
  EXPECT_EQ(widths[0], -10);
  EXPECT_EQ(widths[1], -9);   // 9.83
  EXPECT_EQ(widths[6], -9);   // 9.000...04
  EXPECT_EQ(widths[30], -5);  // 5.000...02
  EXPECT_EQ(widths[59], 0);
  for (int frame = 62; frame <= 120; ++frame) EXPECT_EQ(widths[frame - 1], 0) << frame;
  EXPECT_EQ(widths[120], 999) << "the timer has run out";
  EXPECT_EQ(chara.m_HpGauge.nTimer, 0);
}

TEST_F(CharaGauge, NothingWithoutTimeLeftOrOnceDefeated) {
  SheetHeight(224);
  cChara& chara = AddChara();
  chara.m_Def.m_nMaxSp = 10;
  chara.ChangeSp(5, 1);
  chara.m_bDefeated = 1;
  RecordingRenderer recorder;
  chara.DrawSpGauge(&BackBuffer);
  EXPECT_TRUE(recorder.Take().empty());
  EXPECT_EQ(chara.m_SpGauge.nTimer, 120) << "a defeated character's gauge does not count down";
  chara.m_bDefeated = 0;
  chara.m_SpGauge.nTimer = -3;
  chara.DrawSpGauge(&BackBuffer);
  EXPECT_TRUE(recorder.Take().empty());
}
