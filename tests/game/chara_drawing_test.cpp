// A character's drawing around its effect: attached animations and the
// frame they show, the graphic column and its tint, Draw (transparent
// characters, ended effects, the overlay icon, anchors), the counters of the
// wave, blinking and translucent kinds, frozen frames, and the defeat display.
#include <gtest/gtest.h>

#include <climits>

#include "chara_draw_env.h"
#include "game/chara_effects.h"
#include "game/game.h"
#include "media/dd_surface.h"
#include "support/recording_renderer.h"

using namespace charadraw;
using testsupport::RecordingRenderer;

namespace {

// An attached animation of one pattern: each frame for one tick, then the
// end (or a loop).
ATTACHEDANIME Attached(std::vector<int> frames, int scheduled, int length, int paused = 0, bool ends = true) {
  ANIMEPATTERN pattern;
  for (int f : frames) pattern.push_back(ANIMESTEP{f, 1, 0});
  pattern.push_back(ANIMESTEP{ends ? ANIMECODE_END : ANIMECODE_LOOP, 0, 0});
  ATTACHEDANIME a;
  cVector<ANIMEPATTERN> patterns;
  patterns.push_back(pattern);
  a.m_Anime.SetPatterns(std::move(patterns));
  a.bScheduled = scheduled;
  a.nLength = length;
  a.bPaused = paused;
  return a;
}

// The character's own animation: frame `frame`, looping.
void OwnFrame(cCharaBase& c, int frame) {
  cVector<ANIMEPATTERN> patterns;
  patterns.push_back(ANIMEPATTERN{ANIMESTEP{frame, 1000, 0}, ANIMESTEP{ANIMECODE_LOOP, 0, 0}});
  c.m_Anime.SetPatterns(std::move(patterns));
}

}  // namespace

class CharaDrawing : public CharaDrawTest {};

TEST_F(CharaDrawing, TheAttachedAnimationShownIsChosenByKindAndLengthLeft) {
  struct Entry {
    int frame, scheduled, length, paused;
  };
  struct Case {
    const char* name;
    std::vector<Entry> entries;  // newest first
    int shown;                   // 0: the own animation (frame 0)
  };
  const Case cases[] = {
      {"none: the own animation", {}, 0},
      {"a play-anime animation", {{11, 0, 5, 0}}, 11},
      {"the first play-anime one", {{11, 0, 5, 0}, {12, 0, 1, 0}}, 11},
      {"scheduled wins over play-anime", {{11, 0, 1, 0}, {12, 1, 9, 0}}, 12},
      {"least length left among scheduled", {{11, 1, 5, 0}, {12, 1, 3, 0}, {13, 1, 4, 0}}, 12},
      {"paused ones do not count", {{11, 1, 5, 0}, {12, 1, 3, 1}}, 11},
      {"only paused ones: the own animation", {{11, 0, 5, 1}}, 0},
      // Run out: the first one below a run-out choice settles it ...
      {"run out", {{11, 1, -2, 0}, {12, 1, -5, 0}}, 12},
      {"run out after a running one", {{11, 1, 3, 0}, {12, 1, -1, 0}, {13, 1, -4, 0}}, 13},
      // ... after which one nearer to zero takes over, a positive one not.
      {"after settling", {{11, 1, -1, 0}, {12, 1, -4, 0}, {13, 1, -2, 0}, {14, 1, 2, 0}}, 13},
  };
  for (const Case& c : cases) {
    cChara& chara = AddChara();
    for (const Entry& e : c.entries) chara.m_lAnimes.push_back(Attached({e.frame}, e.scheduled, e.length, e.paused));
    EXPECT_EQ(chara.UpdateAttachedAnimes(1), c.shown) << c.name;
  }
}

TEST_F(CharaDrawing, AttachedAnimationsAdvanceCountDownAndGoAtTheirEnd) {
  cChara& chara = AddChara();
  OwnFrame(chara, 7);
  chara.m_lAnimes.push_back(Attached({21, 22}, 1, 2));
  chara.m_lAnimes.push_back(Attached({31}, 0, 9, 1));  // paused: stays on its step
  chara.m_lAnimes.push_back(Attached({41, 42, 43}, 0, 9, 0, false));
  EXPECT_EQ(chara.UpdateAttachedAnimes(0), 22);
  EXPECT_EQ(chara.m_lAnimes.front().nLength, 1);
  EXPECT_EQ(chara.m_lAnimes.back().nLength, 8);
  EXPECT_EQ(chara.UpdateAttachedAnimes(1), 22) << "frozen: nothing moves";
  EXPECT_EQ(chara.m_lAnimes.front().nLength, 1);
  // The scheduled one reaches its end and goes; the play-anime one shows.
  EXPECT_EQ(chara.UpdateAttachedAnimes(0), 43);
  ASSERT_EQ(chara.m_lAnimes.size(), 2u);
  EXPECT_EQ(chara.m_lAnimes.front().m_Anime.GetFrame(), 31);
  EXPECT_EQ(chara.m_lAnimes.front().nLength, 9);
  chara.m_lAnimes.clear();
  EXPECT_EQ(chara.UpdateAttachedAnimes(0), 7);
}

TEST_F(CharaDrawing, GraphicColumnAddsTheSetsOffsetsAndTintsOnlyAnInvincibleCharacterOnThe3DDevice) {
  cEdAnimeSet& set = Database.m_vAnimeSet[0];
  set.m_nInvincibleCell = 4;
  set.m_nBlockCell = 8;
  set.m_nFlyCell = 16;
  struct Case {
    const char* name;
    int fly, block, invincible, tint;
    bool d3d, option;
    int column;
    bool tinted;
  };
  const Case cases[] = {
      {"plain", 0, 0, 0, 3, true, true, 5, false},
      {"flying", 1, 0, 0, 0, false, false, 21, false},
      {"block character", 0, 1, 0, 0, false, false, 13, false},
      {"invincible, software display", 0, 0, 1, 3, false, true, 9, false},
      {"all three", 3, 1, 2, 0, false, false, 33, false},
      {"invincible, 3D", 0, 0, 2, 3, true, true, 9, true},
      {"colour animation off", 0, 0, 1, 3, true, false, 9, false},
      {"tint number 0", 0, 0, 1, 0, true, true, 9, false},
      {"tint number past the table", 0, 0, 1, ANIMCOLOR_COUNT, true, true, 9, false},
      {"negative tint number", 0, 0, 1, -1, true, true, 9, false},
  };
  for (const Case& c : cases) {
    Use(BackEnd{c.d3d, 32});
    SystemData.m_bD3DCharaBlend = c.option ? 1 : 0;
    cChara& chara = AddChara();
    chara.m_Def.m_nGraphicOffset = 5;
    chara.m_Def.m_nFlyMode = static_cast<int8_t>(c.fly);
    chara.m_Def.m_bBlockChara = static_cast<int8_t>(c.block);
    chara.m_Def.m_bInvincible = static_cast<int8_t>(c.invincible);
    chara.m_Def.m_nInvincibleBlink = static_cast<int8_t>(c.tint);
    GRAPHICSOURCE out;
    out.bTint = 1;
    EXPECT_EQ(chara.GetGraphicColumn(out), c.column) << c.name;
    EXPECT_EQ(out.bTint, c.tinted ? 1 : 0) << c.name;
    if (c.tinted) {
      EXPECT_EQ(static_cast<uint32_t>(out.nTintColor), kTintColour);
      EXPECT_EQ(out.nTintOp, static_cast<int>(kTintOp));
    }
  }
  // Offsets at the int32 limit saturate.
  set.m_nFlyCell = INT32_MAX;
  cChara& chara = AddChara();
  chara.m_Def.m_nGraphicOffset = 32767;
  chara.m_Def.m_nFlyMode = 1;
  GRAPHICSOURCE out;
  EXPECT_EQ(chara.GetGraphicColumn(out), INT32_MAX);
}

TEST_F(CharaDrawing, ATransparentCharacterOnlyStepsItsEffect) {
  SetEffects({{1, {1, 0, 12}}});
  cChara& chara = AddChara();
  chara.m_Def.m_bTransparent = 1;
  chara.m_CharaEffect.Start(1, 0, 0);
  RecordingRenderer recorder;
  for (int frame = 1; frame <= 7; ++frame) chara.Draw(&BackBuffer, 0);
  EXPECT_TRUE(recorder.Take().empty());
  EXPECT_EQ(chara.m_CharaEffect.m_sEffect, 0) << "ended on the 7th frame and cleared";
}

TEST_F(CharaDrawing, AnEndedEffectDrawsPlainlyFromTheNextFrame) {
  SetEffects({{1, {1, 0, 12}}});
  cChara& chara = AddChara();
  chara.m_CharaEffect.Start(1, 0, 0);
  RecordingRenderer recorder;
  for (int frame = 1; frame <= 7; ++frame) {
    chara.Draw(&BackBuffer, 0);
    EXPECT_EQ(recorder.Take()[0].rfind("DDBltBurst", 0), 0u) << frame;
  }
  EXPECT_EQ(chara.m_CharaEffect.m_sEffect, 0);
  chara.Draw(&BackBuffer, 0);
  EXPECT_EQ(recorder.Take(), std::vector<std::string>{"DDBlt Back 100 200 32 32 T7 64 32 1"});
}

TEST_F(CharaDrawing, OverlayIconPlainOrStretchedAndAnchoredCharacters) {
  struct Case {
    int scale;
    BackEnd backEnd;
    std::string icon;
  };
  // Icon 17: column 1, row 2 of the mark sheet.
  const Case cases[] = {
      {1, BackEnd{false, 16}, "DDBlt Back 100 200 32 32 T43 32 64 1"},
      {1, BackEnd{true, 32}, "DDBlt Back 100 200 32 32 T43 32 64 1"},
      {2, BackEnd{false, 16}, "DDBltStretch Back 100 200 64 64 T44 32 64 32 32 1"},
      {2, BackEnd{false, 16, false, false, true}, "DDBltStretch Back 100 200 64 64 T43 32 64 32 32 1"},
  };
  for (const Case& c : cases) {
    Use(c.backEnd);
    cChara& chara = AddChara(c.scale);
    chara.m_Def.m_bShowIcon = 1;
    chara.m_Def.m_nIcon = 17;
    RecordingRenderer recorder;
    chara.Draw(&BackBuffer, 0);
    const std::vector<std::string> calls = recorder.Take();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1], c.icon) << c.backEnd.Name() << " " << c.scale;
  }
  // Anchored at view x 300 (and y 40): the rectangle follows, width kept.
  Use(BackEnd{false, 16});
  cChara& chara = AddChara();
  chara.m_bAnchorX = 1;
  chara.m_nAnchorX = 300;
  RecordingRenderer recorder;
  chara.Draw(&BackBuffer, 0);
  EXPECT_EQ(recorder.Take(), std::vector<std::string>{"DDBlt Back 300 200 32 32 T7 64 32 1"});
  EXPECT_EQ(chara.m_rcScreen.nRight, 331);
  chara.m_bAnchorY = 1;
  chara.m_nAnchorY = 40;
  chara.Draw(&BackBuffer, 0);
  EXPECT_EQ(recorder.Take(), std::vector<std::string>{"DDBlt Back 300 40 32 32 T7 64 32 1"});
  EXPECT_EQ(chara.m_rcScreen.nBottom, 71);
}

TEST_F(CharaDrawing, WavePhaseWrapsFrom359ToZeroAlsoWithoutDrawing) {
  SetEffects({{4, {1000, 2, 2, 2, 4}}, {5, {1000, 2, 2, 2, 4}}});
  for (int effect : {1, 2}) {
    cChara& chara = AddChara();
    chara.m_CharaEffect.Start(effect, 0, 0);
    chara.m_CharaEffect.m_nCounter = 358;
    chara.StepCharaEffect(0);
    EXPECT_EQ(chara.m_CharaEffect.m_nCounter, 359);
    chara.StepCharaEffect(0);
    EXPECT_EQ(chara.m_CharaEffect.m_nCounter, 0);
    RecordingRenderer recorder;
    chara.Draw(&BackBuffer, 0);
    EXPECT_NE(recorder.Take()[0].find(" 2 2 0 4 T7 "), std::string::npos) << "drawn at phase 0";
    EXPECT_EQ(chara.m_CharaEffect.m_nCounter, 1);
  }
}

TEST_F(CharaDrawing, BlinkHidesFirstForOneTurnLongerThenAlternates) {
  struct Case {
    int interval;
    const char* shown;  // frames 1.. : '#' drawn, '.' hidden
  };
  // An interval of 0 counts as 1.
  const Case cases[] = {{1, "..#.#.#.#."}, {3, "....###...###"}, {0, "..#.#.#.#."}};
  for (const Case& c : cases) {
    SetEffects({{6, {100, c.interval}}});
    cChara& chara = AddChara();
    chara.m_CharaEffect.Start(1, 0, 0);
    RecordingRenderer recorder;
    std::string seen;
    for (size_t frame = 0; frame < std::string(c.shown).size(); ++frame) {
      chara.Draw(&BackBuffer, 0);
      seen += recorder.Take().empty() ? '.' : '#';
    }
    EXPECT_EQ(seen, c.shown) << c.interval;
  }
}

TEST_F(CharaDrawing, TranslucentAlternatesWithHiddenAndIsNeverOpaque) {
  SetEffects({{14, {100, 2}}});
  cChara& chara = AddChara();
  chara.m_CharaEffect.Start(1, 0, 0);
  RecordingRenderer recorder;
  std::string seen;
  for (int frame = 0; frame < 12; ++frame) {
    chara.Draw(&BackBuffer, 0);
    const std::vector<std::string> calls = recorder.Take();
    ASSERT_LE(calls.size(), 1u);
    if (!calls.empty()) {
      EXPECT_EQ(calls[0].rfind("DDBltHalf", 0), 0u) << calls[0];
    }
    seen += calls.empty() ? '.' : 'h';
  }
  EXPECT_EQ(seen, "hhh..hh..hh.");
}

TEST_F(CharaDrawing, FrozenFramesDrawButNeverStepAnyKind) {
  std::vector<FxDef> defs;
  for (int kind = 1; kind < CHARAEFFECT_COUNT; ++kind) defs.push_back({kind, {1, 3, 9, 2, 2}});
  SetEffects(defs);
  for (int kind = 1; kind < CHARAEFFECT_COUNT; ++kind) {
    cChara& chara = AddChara();
    chara.m_CharaEffect.Start(kind, 0, 0);
    // The blinking kinds' counter at their interval: a flip is due.
    for (int i = 0; i < 3; ++i) chara.Draw(&BackBuffer, 0);
    const cCharaEffectState before = chara.m_CharaEffect;
    RecordingRenderer recorder;
    for (int i = 0; i < 20; ++i) chara.Draw(&BackBuffer, 1);
    chara.StepCharaEffect(1);
    const cCharaEffectState& after = chara.m_CharaEffect;
    EXPECT_EQ(after.m_sEffect, before.m_sEffect) << kind;
    EXPECT_EQ(after.m_dValue, before.m_dValue) << kind;
    EXPECT_EQ(after.m_dElapsed, before.m_dElapsed) << kind;
    EXPECT_EQ(after.m_nCounter, before.m_nCounter) << kind;
    EXPECT_EQ(after.m_bShown, before.m_bShown) << kind;
    if (kind != CHARAEFFECT_BLINK || before.m_bShown) {
      EXPECT_FALSE(recorder.Take().empty()) << kind;
    }
  }
}

TEST_F(CharaDrawing, DefeatDisplayEndsWithTheEffectOrAfterASecondForTheHero) {
  // Effect 1 lasts 7 frames; effect 2 has kind none and never ends.
  SetEffects({{1, {1, 0, 12}}, {0, {1}}});
  Game.m_nFps = 60;
  struct Case {
    const char* name;
    int controller;
    int effect;
    const char* frozen;  // per frame: 'f' frozen
    int endFrame;        // the frame with result 1; 0 none in 100
  };
  const Case cases[] = {
      {"computer, no effect", 1, 0, "", 1},
      {"computer, effect", 1, 1, "", 7},
      {"computer, effect, frozen frames", 1, 1, "..ffff", 11},
      {"computer, effect of kind none counts as none", 1, 2, "", 1},
      {"hero, no effect: more frames than the frame rate", 0, 0, "", 61},
      {"hero, frozen frames do not count", 0, 0, "ffffffffff", 71},
      {"hero, effect first, then the second", 0, 1, "", 68},
  };
  for (const Case& c : cases) {
    cChara& chara = AddChara();
    chara.m_nController = c.controller;
    chara.m_bDefeated = 1;
    chara.m_CharaEffect.Start(c.effect, 0, 0);
    int end = 0;
    for (int frame = 1; frame <= 100 && !end; ++frame) {
      const size_t i = static_cast<size_t>(frame - 1);
      const int bFrozen = i < std::string(c.frozen).size() && c.frozen[i] == 'f' ? 1 : 0;
      if (chara.DrawDefeated(&BackBuffer, bFrozen)) end = frame;
    }
    EXPECT_EQ(end, c.endFrame) << c.name;
  }
}

TEST_F(CharaDrawing, AFlowsScheduledAnimationShowsOverPlayAnimeUntilItsFlowIsRemoved) {
  Database.m_vAnime[1].m_vFrame.resize(1);
  Database.m_vAnime[1].m_vFrame[0].m_nCell = 9;
  BuildDatabaseRunTables();
  cChara& chara = AddChara();
  OwnFrame(chara, 7);
  chara.m_lAnimes.push_back(Attached({11}, 0, 5, 0, false));
  cFlowInstance flow;
  flow.m_bRunning = 1;
  flow.m_nSerial = 4;
  flow.m_vAnimeSchedule.push_back(FLOWANIMEENTRY{0, 1, 0, 30, 30, 0});
  chara.m_vFlows.push_back(flow);
  chara.StartScheduledAnimes();
  EXPECT_EQ(chara.UpdateAttachedAnimes(0), 9);
  chara.RemoveFlowAnimes(4);
  EXPECT_EQ(chara.UpdateAttachedAnimes(0), 11);
}
