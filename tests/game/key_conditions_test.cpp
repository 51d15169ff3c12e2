// Key conditions on scripted input: one run against its bounds, one
// condition in its three modes and mirrored by the facing, the cursor
// walking the run histories, sequences with and without tolerance, the edge
// and continuous gates of a trigger, the keys as they are now and the held
// direction.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/key_conditions.h"
#include "game/stage_data.h"
#include "support/builders.h"
#include "support/flow_builders.h"
#include "support/flow_recorder.h"
#include "support/game_world.h"
#include "support/scripted_input.h"

using namespace testsupport;

namespace {

const uint16_t B1 = 1, B2 = 2;

int MatchNow(const cEdKeyCondition& condition, int64_t* span = nullptr) {
  int64_t s = -1;
  const int result = cCharaBase::MatchKeyCondition(condition, KEYCURSOR::Start(Input.At(0)), s);
  if (span) *span = s;
  return result;
}

int Sequence(std::vector<cEdKeyCondition> conditions, int tolerance) {
  cVector<cEdKeyCondition*> list;
  for (cEdKeyCondition& c : conditions) list.push_back(&c);
  return cCharaBase::MatchKeySequence(list, tolerance);
}

void Feed(ScriptedInput& keys) {
  while (keys.Remaining() > 0) keys.Feed();
}

}  // namespace

TEST(KeyConditions, OneRunAgainstItsLengthBoundsOrAnyLength) {
  struct Case {
    int on, frames, min, max, any, state;
    int pass;
  } cases[] = {
      {1, 4, 5, 10, 0, 1, 0},  {1, 5, 5, 10, 0, 1, 1},  {1, 10, 5, 10, 0, 1, 1}, {1, 11, 5, 10, 0, 1, 0},
      {0, 7, 5, 10, 0, 1, 0},  // held asks for an on run
      {1, 1, 5, 10, 1, 1, 1},  {1, 40000, 5, 10, 1, 1, 1}, {1, 0, 0, 10, 1, 1, 0},  // any length: at least a frame
      {1, -2, -5, 10, 1, 1, 0},
      {0, 3, 5, 10, 0, 2, 1},  {0, 0, 5, 10, 0, 2, 0},  {1, 3, 5, 10, 0, 2, 0},  // released: an off run
      {1, 7, 5, 10, 1, 3, 0},  {0, 7, 5, 10, 1, 0, 0},  // other states never pass
  };
  for (const Case& c : cases) {
    KeyDef key;
    key.Frames(c.min, c.max);
    if (c.any) key.AnyLength();
    EXPECT_EQ(cCharaBase::TestKeyRun(INPUTRUN{c.on, c.frames}, c.frames, key, c.state), c.pass)
        << c.on << " " << c.frames << " [" << c.min << "," << c.max << "] any " << c.any << " state " << c.state;
  }
}

TEST(KeyConditions, TheThreeModesAndAConditionWithoutKeys) {
  GameWorld world;
  ScriptedInput keys;
  keys.Hold(INPUT_RIGHT, 0, 5).Hold(INPUT_RIGHT, B1, 3);  // right for 8 frames, button 1 for the last 3
  Feed(keys);
  const KeyDef rightAndB1 = KeyDef().Press(KEYSLOT_RIGHT).AnyLength().Press(KEYSLOT_BUTTON1);
  const KeyDef rightAndB2 = KeyDef().Press(KEYSLOT_RIGHT).AnyLength().Press(KEYSLOT_BUTTON1 + 1);
  struct Case {
    KeyDef key;
    int mode;
    int match;
    int64_t span;
  } cases[] = {
      {rightAndB1, KEYMODE_ALL, 1, 3},  // the shortest run
      {rightAndB2, KEYMODE_ALL, 0, 8},
      {rightAndB1, KEYMODE_ANY, 1, 8},  // the longest
      {rightAndB2, KEYMODE_ANY, 1, 8},
      {rightAndB1, KEYMODE_ONE, 0, 3},  // two hold
      {rightAndB2, KEYMODE_ONE, 1, 8},
      {KeyDef(), KEYMODE_ALL, 1, 0},
      {KeyDef(), KEYMODE_ANY, 0, 0},
      {KeyDef(), KEYMODE_ONE, 0, 0},
      {rightAndB2, 7, 1, 8},  // any other mode holds
      {KeyDef().Press(KEYSLOT_RIGHT).Release(KEYSLOT_LEFT).AnyLength(), KEYMODE_ALL, 1, 8},
      {KeyDef().State(KEYSLOT_RIGHT, 3), KEYMODE_ANY, 0, 0},
  };
  for (Case c : cases) {
    c.key.Mode(c.mode);
    c.key.Def().m_nMinFrames = 1;
    c.key.Def().m_nMaxFrames = 3;  // bounds only for those without any length
    int64_t span = -1;
    EXPECT_EQ(MatchNow(c.key, &span), c.match) << "mode " << c.mode;
    EXPECT_EQ(span, c.span) << "mode " << c.mode;
  }
  // Fewer than 19 states: the missing ones are ignored.
  KeyDef shortList = KeyDef().Press(KEYSLOT_BUTTON1).AnyLength();
  shortList.Def().m_vKeys.resize(KEYSLOT_BUTTON1 + 1);
  EXPECT_EQ(MatchNow(shortList), 1);
  shortList.Def().m_vKeys.resize(5);
  EXPECT_EQ(MatchNow(shortList), 1);  // nothing listed: mode 0 holds
}

TEST(KeyConditions, RelativeToFacingAConditionForRightMatchesLeftWhileFacingLeft) {
  GameWorld world;
  MapBuilder({"...."}).Build();
  cChara& leftward = world.AddChara(CharaDef().Facing(0), {1, 0});
  cChara& rightward = world.AddChara(CharaDef().Facing(1), {2, 0});
  ScriptedInput keys;
  keys.Hold(INPUT_LEFT | INPUT_DOWN, 0, 2);
  Feed(keys);
  const KeyDef downRight = KeyDef().Press(KEYSLOT_DOWN_RIGHT).AnyLength().FacingRelative();
  struct Case {
    cCharaBase* current;
    int match;
  } cases[] = {{&leftward, 1}, {&rightward, 0}, {nullptr, 0}};
  for (const Case& c : cases) {
    world.Scene().m_lpCurChara = c.current;
    EXPECT_EQ(MatchNow(downRight), c.match);
    KeyDef fixed = downRight;
    fixed.Def().m_bFacingRelative = 0;
    EXPECT_EQ(MatchNow(fixed), 0);
  }
}

TEST(KeyConditions, TheCursorWalksBackAndForthAcrossRuns) {
  GameWorld world;
  cInput input;
  input.ResetRunHistories();
  // History 2 (right): runs of 3, 4, 5 frames, newest first; 1 frame each after.
  for (int k = 0; k < INPUT_RUN_COUNT; ++k) input.m_vDirRuns[2][k] = INPUTRUN{k % 2 == 0, k < 3 ? 3 + k : 1};
  struct Case {
    int k;
    int64_t r, d;
    int wantK;
    int64_t wantR;
  } cases[] = {
      {0, 3, -2, 0, 1},
      {0, 3, -3, 1, 4},    // on the boundary: the end of the older run
      {0, 3, -5, 1, 2},
      {0, 3, -7, 2, 5},
      {0, 3, 0, 0, 3},
      {1, 2, 1, 1, 3},
      {1, 2, 3, 0, 1},     // forward into the newer run
      {2, 1, 9, 0, 1},
      {0, 3, 2, 0, 5},     // past the present moment
      {30, 1, -1, 31, 1},
      {31, 1, -1, 31, 0},  // no older run to go to
      {31, 1, -3, 31, -2}, // past the oldest: a moment where nothing passes
      {31, -2, 3, 31, 1},
  };
  for (const Case& c : cases) {
    KEYCURSOR cursor = KEYCURSOR::Start(input);
    cursor.k[2] = c.k;
    cursor.r[2] = c.r;
    cCharaBase::ShiftKeyCursor(cursor, c.d);
    EXPECT_EQ(cursor.k[2], c.wantK) << c.k << " " << c.r << " by " << c.d;
    EXPECT_EQ(cursor.r[2], c.wantR) << c.k << " " << c.r << " by " << c.d;
  }
}

TEST(KeyConditions, ASequenceEndsNowWithEachStepWhereTheNextBegan) {
  struct Case {
    const char* name;
    std::vector<std::pair<uint16_t, uint16_t>> frames;  // {direction, buttons} per frame
    bool exactLater;  // the later condition wants exactly 3 frames of button 1
    int tolerance;
    int match;
  } cases[] = {
      // Right, then at once button 1.
      {"adjacent", {{2, 0}, {2, 0}, {0, 1}}, false, 0, 1},
      {"a gap of one", {{2, 0}, {2, 0}, {0, 0}, {0, 1}}, false, 0, 0},
      {"a gap of one, tolerance 1", {{2, 0}, {2, 0}, {0, 0}, {0, 1}}, false, 1, 1},
      {"a gap of three, tolerance 2", {{2, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 1}}, false, 2, 0},
      {"a gap of three, tolerance 3", {{2, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 1}}, false, 3, 1},
      {"negative tolerance counts as none", {{2, 0}, {0, 0}, {0, 1}}, false, -3, 0},
      {"button before right", {{0, 1}, {2, 0}}, false, 3, 0},
      // Right pressed with the first frame of the button run: found one frame
      // forward, where the later condition (exactly 3 frames) does not hold yet.
      {"one frame forward", {{0, 0}, {2, 1}, {0, 1}, {0, 1}}, true, 1, 1},
      {"one frame forward needs tolerance", {{0, 0}, {2, 1}, {0, 1}, {0, 1}}, true, 0, 0},
      {"one frame forward where the later holds", {{0, 0}, {2, 1}, {0, 1}, {0, 1}}, false, 1, 0},
  };
  for (const Case& c : cases) {
    GameWorld world;
    ScriptedInput keys;
    for (auto [dir, buttons] : c.frames) keys.Hold(dir, buttons);
    Feed(keys);
    KeyDef later = KeyDef().Press(KEYSLOT_BUTTON1);
    if (c.exactLater)
      later.Frames(3, 3);
    else
      later.AnyLength();
    EXPECT_EQ(Sequence({KeyDef().Press(KEYSLOT_RIGHT).AnyLength(), later}, c.tolerance), c.match) << c.name;
  }
  GameWorld world;
  EXPECT_EQ(Sequence({}, 3), 0);
  // Three steps: right, down (2 to 3 frames), button 2; the last must hold now.
  ScriptedInput keys;
  keys.Hold(INPUT_RIGHT, 0, 4).Hold(INPUT_DOWN, 0, 2).Hold(0, B2, 1);
  Feed(keys);
  const KeyDef right = KeyDef().Press(KEYSLOT_RIGHT).Frames(4, 4);
  const KeyDef down = KeyDef().Press(KEYSLOT_DOWN).Frames(2, 3);
  EXPECT_EQ(Sequence({right, down, KeyDef().Press(KEYSLOT_BUTTON1 + 1).AnyLength()}, 0), 1);
  EXPECT_EQ(Sequence({right, down, KeyDef().Press(KEYSLOT_BUTTON1).AnyLength()}, 3), 0);
  EXPECT_EQ(Sequence({KeyDef().Press(KEYSLOT_RIGHT).Frames(5, 9), down, KeyDef().Press(KEYSLOT_BUTTON1 + 1).AnyLength()}, 3), 0);
}

TEST(KeyConditions, EdgeFlowsStartOncePerPressContinuousOnesWhileHeld) {
  // Button 1 held 3 frames, released 2, held 2, released 2.
  struct Case {
    bool continuous;
    int useTime;
    std::vector<std::string> runs;
  } cases[] = {
      {false, 0, {"1.1 f0c0", "6.1 f0c0"}},
      {true, 0, {"1.1 f0c0", "2.1 f0c0", "3.1 f0c0", "6.1 f0c0", "7.1 f0c0"}},
  };
  for (const Case& c : cases) {
    GameWorld world(2);
    MapBuilder({"...."}).Build();
    FlowDef flow;
    flow.Key(KeyDef().Press(KEYSLOT_BUTTON1).AnyLength()).Command(CommandDef().UseTime(c.useTime));
    if (c.continuous) flow.Continuous();
    cChara& chara = world.AddChara(CharaDef().Flow(flow), {1, 0});
    FlowRecorder rec;
    ScriptedInput keys;
    keys.Hold(0, B1, 3).Idle(2).Hold(0, B1, 2).Idle(2);
    PlayFlowFrames(world, 9, {&chara}, &keys);
    EXPECT_EQ(rec.Texts(), c.runs) << (c.continuous ? "continuous" : "edge");
  }
  // Continuous with a longer command: it starts again the frame after it ends while still held.
  GameWorld world;
  MapBuilder({"...."}).Build();
  cChara& chara = world.AddChara(
      CharaDef().Flow(FlowDef().Continuous().Key(KeyDef().Press(KEYSLOT_BUTTON1).AnyLength()).Command(CommandDef().UseTime(1))),
      {1, 0});
  FlowRecorder rec;
  ScriptedInput keys;
  keys.Hold(0, B1, 8);
  PlayFlowFrames(world, 8, {&chara}, &keys);
  EXPECT_EQ(rec.Calls().size(), 8u);
  EXPECT_EQ(chara.m_vFlows[0].m_vCommands[0].m_nTimer, 4);  // started again in frame 7
}

TEST(KeyConditions, TheFlowsToleranceIsASignedByte) {
  // Right, a frame of nothing, button 1: found with a tolerance of 1 or
  // more; a byte of 253 (-3) counts as none.
  struct Case {
    int slack;
    int started;
  } cases[] = {{0, 0}, {1, 1}, {127, 1}, {253, 0}, {128, 0}};
  for (const Case& c : cases) {
    GameWorld world;
    MapBuilder({"...."}).Build();
    cChara& chara = world.AddChara(CharaDef().Flow(FlowDef()
                                                       .Slack(c.slack)
                                                       .Key(KeyDef().Press(KEYSLOT_RIGHT).AnyLength())
                                                       .Key(KeyDef().Press(KEYSLOT_BUTTON1).AnyLength())
                                                       .Command(CommandDef().UseTime(1))),
                                   {1, 0});
    ScriptedInput keys;
    keys.Hold(INPUT_RIGHT, 0, 2).Idle(1).Hold(0, B1, 1);
    PlayFlowFrames(world, 4, {&chara}, &keys);
    EXPECT_EQ(chara.m_vFlows[0].m_bRunning, c.started) << c.slack;
  }
}

TEST(KeyConditions, AFlowArrivingByAFlowChangeWaitsForTheNextPress) {
  GameWorld world;
  MapBuilder({"...."}).Build();
  cChara& chara = world.AddChara(CharaDef(), {1, 0});
  FlowRecorder rec;
  ScriptedInput keys;
  keys.Hold(0, B1, 2).Idle(1).Hold(0, B1, 1);
  PlayFlowFrames(world, 1, {&chara}, &keys);
  cVector<cEdFlow> added;
  added.push_back(FlowDef().Key(KeyDef().Press(KEYSLOT_BUTTON1).AnyLength()).Command(CommandDef()));
  added.push_back(FlowDef().Continuous().Key(KeyDef().Press(KEYSLOT_BUTTON1).AnyLength()).Command(CommandDef()));
  chara.BuildFlows(added, 1, -1);
  PlayFlowFrames(world, 3, {&chara}, &keys);
  // Frame 2: the key still held; only the continuous flow starts. Frame 4: a new press.
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"2.1 f1c0", "4.1 f0c0", "4.1 f1c0"}));
}

TEST(KeyConditions, AnEdgeFlowStillHeldKeepsItsLetterFromLaterFlows) {
  GameWorld world;
  MapBuilder({"...."}).Build();
  cChara& chara = world.AddChara(CharaDef()
                                     .Flow(FlowDef().Switch(1).Key(KeyDef().Press(KEYSLOT_BUTTON1).AnyLength()).Command(CommandDef()))
                                     .Flow(FlowDef().Switch(1).Command(CommandDef(ACTCMDTYPE_SHOT))),
                                 {1, 0});
  FlowRecorder rec;
  ScriptedInput keys;
  keys.Hold(0, B1, 3).Idle(2);
  PlayFlowFrames(world, 5, {&chara}, &keys);
  // The keyed flow runs once; while button 1 stays down the other may not take the letter.
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"1.1 f0c0", "4.1 f1c0", "5.1 f1c0"}));
}

TEST(KeyConditions, TheKeysNowIgnoreLengthsAndFacingAndTheHeldDirection) {
  GameWorld world;
  MapBuilder({"...."}).Build();
  cChara& leftward = world.AddChara(CharaDef().Facing(0), {1, 0});
  world.Scene().m_lpCurChara = &leftward;
  ScriptedInput keys;
  keys.Hold(INPUT_RIGHT, B1, 20);
  Feed(keys);
  const cInput& input = Input.At(0);
  struct Case {
    KeyDef key;
    int now;
  } cases[] = {
      {KeyDef().Press(KEYSLOT_RIGHT).Frames(1, 2).FacingRelative(), 1},
      {KeyDef().Press(KEYSLOT_LEFT).FacingRelative(), 0},
      {KeyDef().Press(KEYSLOT_RIGHT).Release(KEYSLOT_BUTTON1 + 1), 1},
      {KeyDef().Press(KEYSLOT_RIGHT).Release(KEYSLOT_BUTTON1), 0},
      {KeyDef().Press(KEYSLOT_RIGHT).Press(KEYSLOT_BUTTON1).Mode(KEYMODE_ANY), 1},
      {KeyDef().Press(KEYSLOT_RIGHT).Press(KEYSLOT_BUTTON1).Mode(KEYMODE_ONE), 0},
      {KeyDef().Press(KEYSLOT_UP).Press(KEYSLOT_BUTTON1).Mode(KEYMODE_ONE), 1},
      {KeyDef().State(KEYSLOT_RIGHT, 5), 0},
      {KeyDef(), 1},
  };
  for (const Case& c : cases) EXPECT_EQ(cCharaBase::CheckKeyNow(input, c.key), c.now);

  struct Dir {
    uint16_t bits;
    int held;
  } dirs[] = {{0, 0},
              {INPUT_LEFT, 1},
              {INPUT_DOWN, 4},
              {INPUT_UP | INPUT_RIGHT, 7},
              {INPUT_DOWN | INPUT_RIGHT, 8},
              {INPUT_LEFT | INPUT_RIGHT, 9}};
  for (const Dir& d : dirs) {
    ScriptedInput one;
    one.Hold(d.bits, 0, 1).Feed();
    EXPECT_EQ(GetHeldDirection(Input.At(0)), d.held) << d.bits;
  }
  EXPECT_EQ(GetHeldDirection(cInput()), 0);  // no histories yet
}

TEST(KeyConditions, APlayerWithoutAnInputRecordReadsPlayerOne) {
  GameWorld world;
  MapBuilder({"...."}).Build();
  CharaDef def = CharaDef().PlayerOperated().Flow(FlowDef().Command(CommandDef()));
  def.Def().m_nPlayer = 3;
  cHero& hero = world.AddHero(def, {1, 0});
  ScriptedInput keys;
  keys.Hold(INPUT_DOWN | INPUT_LEFT, 0, 1).Feed();
  hero.ResetStepTriggers();
  hero.FireTrigger(FLOWTRIGGER_ALWAYS);  // a bad index would ask to close
  EXPECT_EQ(hero.m_vFlows[0].m_bRunning, 1);
  EXPECT_EQ(hero.m_vFlows[0].m_nHeldDir, 6);
}
