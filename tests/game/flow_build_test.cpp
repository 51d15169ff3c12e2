// Building flow instances: durations and speeds per clone number and logic
// steps (saturated), the command-animation schedule and its start, flows
// inserted and appended at run time with their key latch, and the pointers
// into the definition copy after insertion, removal and copy.
#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "game/characters.h"
#include "game/stage_data.h"
#include "records/database.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/flow_builders.h"
#include "support/flow_recorder.h"
#include "support/game_world.h"
#include "support/scripted_input.h"

using namespace testsupport;

namespace {

// Every instance, key condition and command instance names the record of
// its own position in the character's definition copy.
void ExpectBound(const cCharaBase& c) {
  ASSERT_EQ(c.m_vFlows.Size(), c.m_Def.m_vFlows.Size());
  for (int i = 0; i < c.m_vFlows.Size(); ++i) {
    const cFlowInstance& flow = c.m_vFlows[i];
    const cEdFlow& record = c.m_Def.m_vFlows[i];
    EXPECT_EQ(flow.m_nIndex, i);
    EXPECT_EQ(flow.m_pFlow, &record) << i;
    ASSERT_EQ(flow.m_vKeyConds.Size(), record.m_vKeyConditions.Size());
    for (int j = 0; j < flow.m_vKeyConds.Size(); ++j) EXPECT_EQ(flow.m_vKeyConds[j], &record.m_vKeyConditions[j]);
    ASSERT_EQ(flow.m_vCommands.Size(), record.m_vCommands.Size());
    for (int j = 0; j < flow.m_vCommands.Size(); ++j)
      EXPECT_EQ(flow.m_vCommands[j].m_pCommand, &record.m_vCommands[j]);
  }
}

// The flows' IDs in order, as letters ("-" for none).
std::string Ids(const cCharaBase& c) {
  std::string ids;
  for (const cFlowInstance& flow : c.m_vFlows) ids += flow.m_pFlow->m_nId ? char('A' + flow.m_pFlow->m_nId - 1) : '-';
  return ids;
}

cEdAnimeFrame Frame(int cell, int tenths, int lock) {
  cEdAnimeFrame f;
  f.m_nCell = cell;
  f.m_nTime = tenths;
  f.m_bLock = lock;
  return f;
}

// Anime.dat entry 1: 12 frames before its action frame (two of 1/10 s),
// the action frame 2/10 s, one more; entry 2: the first frame is the action.
void AddAnimes() {
  cEdAnime one;
  one.m_vFrame = {Frame(10, 1, 0), Frame(11, 1, 0), Frame(12, 2, 1), Frame(13, 1, 0)};
  cEdAnime two;
  two.m_vFrame = {Frame(20, 1, 1)};
  Database.m_vAnime.resize(1);
  Database.m_vAnime.push_back(one);
  Database.m_vAnime.push_back(two);
  BuildDatabaseRunTables();
}

}  // namespace

TEST(FlowBuild, DurationAndSpeedFromUseTimeGrowthCloneNumberAndSteps) {
  struct Case {
    int level, useTime, growth, clone, speed, speedGrowth, maxSpeed;
    int32_t duration;
    double dSpeed, dMaxSpeed;
  } cases[] = {
      // (growth × N + use time) × S × 6; speed (growth × N + speed) × 0.1 / S.
      {1, 0, 0, 0, 3, 0, 0, 0, 0.30000000000000004, 0},
      {1, 1, 0, 0, 0, 0, 0, 6, 0, 0},
      {3, 1, 0, 0, 11, 0, 6, 18, 0.3666666666666667, 0.20000000000000004},
      {2, 2, 3, 2, -12, 0, 0, 96, -0.6000000000000001, 0},
      {3, 0, 0, 3, 1, 2, 0, 0, 0.23333333333333336, 0},
      {10, 0, 0, 0, 11, 0, 0, 0, 0.11000000000000001, 0},
      {1, 5, -1, 7, 0, 0, 0, -12, 0, 0},
      {10, 32767, 32767, 32767, 0, 0, 0, INT_MAX, 0, 0},  // 1073741824 × 60 saturates
      {10, -32768, -32768, 32767, 0, 0, 0, INT_MIN, 0, 0},
  };
  for (const Case& c : cases) {
    GameWorld world(c.level);
    MapBuilder({"...."}).Build();
    CommandDef command(ACTCMDTYPE_WAIT);
    command.UseTime(c.useTime).Growth(c.growth).Speed(c.speed, c.speedGrowth).DirCode(DIRCODE_UP_RIGHT);
    if (c.maxSpeed) command.MaxSpeed(c.maxSpeed);
    cChara& chara = world.AddChara(CharaDef().Flow(FlowDef().Command(command)), {1, 0},
                                   static_cast<int16_t>(c.clone));
    const cCommandInstance& instance = chara.m_vFlows.At(0).m_vCommands.At(0);
    EXPECT_EQ(instance.m_nDuration, c.duration) << c.level << " " << c.useTime << " " << c.growth << " " << c.clone;
    EXPECT_EQ(instance.m_dSpeed, c.dSpeed) << c.speed;
    EXPECT_EQ(instance.m_dMaxSpeed, c.dMaxSpeed) << c.maxSpeed;
    EXPECT_EQ(instance.m_nDirCode, DIRCODE_UP_RIGHT);
    EXPECT_EQ(instance.m_nTimer, 0);
  }
}

TEST(FlowBuild, CommandAnimationsAreScheduledToReachTheirActionFrameWhenTheCommandStarts) {
  GameWorld world(2);  // S = 2: a tenth of a second is 12 steps
  MapBuilder({"...."}).Build();
  AddAnimes();
  // Cut at the flow's start: the first command lasts 12 steps, the
  // animation needs 12 frames = 24 steps, so its first 6 frames go.
  const cEdFlow cut = FlowDef().Command(CommandDef().UseTime(1)).Command(CommandDef().UseTime(3).Anime(1));
  const cEdFlow inside = FlowDef()
                             .Command(CommandDef().UseTime(2))                   // steps 0..23
                             .Command(CommandDef().UseTime(1).NoWait().Anime(1))  // starts at 24
                             .Command(CommandDef().UseTime(1).Anime(1))           // 24..35
                             .Command(CommandDef().UseTime(0).Anime(1))           // 36 (lasts 0)
                             .Command(CommandDef(ACTCMDTYPE_SWORD).UseTime(1).Anime(2))  // 36..47
                             .Command(CommandDef(ACTCMDTYPE_JUMP).Anime(1));     // 48
  cChara& chara = world.AddChara(CharaDef().Flow(cut).Flow(inside), {1, 0});

  auto show = [](const cFlowInstance& flow) {
    std::vector<std::vector<int>> rows;
    for (const FLOWANIMEENTRY& e : flow.m_vAnimeSchedule) rows.push_back({e.nStart, e.nAnime, e.nSkip, e.nLength, e.bHold});
    return rows;
  };
  EXPECT_EQ(show(chara.m_vFlows[0]), (std::vector<std::vector<int>>{{0, 1, 6, 6, 1}}));
  EXPECT_EQ(chara.m_vFlows[0].m_vAnimeSchedule[0].nHold, 18);
  EXPECT_EQ(show(chara.m_vFlows[1]), (std::vector<std::vector<int>>{
                                         {0, 1, 0, 12, 1},
                                         {0, 1, 0, 12, 1},
                                         {12, 1, 0, 12, 1},
                                         {36, 2, 0, 0, 0},  // a sword holds no frame
                                         {24, 1, 0, 12, 0},  // nor does a jump
                                     }));
  EXPECT_EQ(chara.m_vFlows[1].m_vAnimeSchedule[2].nHold, 0);

  // Started: the cut animation joins at once, 6 frames in (on frame 11 of
  // 6 ticks each), its action frame held 18 − 1 frames longer.
  FlowRecorder rec;
  world.Scene().m_lpCurChara = &chara;
  chara.m_vFlows[0].Start();
  chara.m_vFlows[1].Start();
  chara.RunFlows(0);
  ASSERT_EQ(chara.m_lAnimes.Size(), 3);
  const ATTACHEDANIME& first = chara.m_lAnimes.back();  // newest first
  EXPECT_EQ(first.nKey, chara.m_vFlows[0].m_nSerial);
  EXPECT_EQ(first.bScheduled, 1);
  EXPECT_EQ(first.nLength, 6);
  EXPECT_EQ(first.nHold, 18);
  EXPECT_EQ(first.bPaused, 0);
  EXPECT_EQ(first.m_Anime.GetFrame(), 11);
  EXPECT_EQ(first.m_Anime.m_nTick, 0);
  EXPECT_EQ(first.m_Anime.m_vPatterns.At(0).At(2).nTime, 12 + 17);
  EXPECT_EQ(first.m_Anime.m_vPatterns.At(0).At(3).nTime, 6);
  // The one of step 12 starts on the thirteenth pass.
  for (int pass = 2; pass <= 12; ++pass) chara.RunFlows(0);
  EXPECT_EQ(chara.m_lAnimes.Size(), 3);
  chara.RunFlows(0);
  EXPECT_EQ(chara.m_lAnimes.Size(), 4);
  EXPECT_EQ(chara.m_lAnimes.front().nKey, chara.m_vFlows[1].m_nSerial);
  EXPECT_EQ(chara.m_lAnimes.front().nHold, 0);
  EXPECT_EQ(chara.m_lAnimes.front().m_Anime.GetFrame(), 10);
}

TEST(FlowBuild, AnimationsAfterNegativeUseTimesCountTheWaitBackFromTheirCommand) {
  // S = 2: use time n lasts 12 n steps; animation 1 needs 24 steps. What
  // counts is whether the commands just before it wait long enough, however
  // far back: 36 steps after −24 do, −24 after 36 do not (12 left: 6 frames cut).
  GameWorld world(2);
  MapBuilder({"...."}).Build();
  AddAnimes();
  const cEdFlow longEnough =
      FlowDef().Command(CommandDef().UseTime(-2)).Command(CommandDef().UseTime(3)).Command(CommandDef().Anime(1));
  const cEdFlow tooShort =
      FlowDef().Command(CommandDef().UseTime(3)).Command(CommandDef().UseTime(-2)).Command(CommandDef().Anime(1));
  cChara& chara = world.AddChara(CharaDef().Flow(longEnough).Flow(tooShort), {1, 0});
  const FLOWANIMEENTRY& placed = chara.m_vFlows[0].m_vAnimeSchedule.At(0);
  EXPECT_EQ(std::make_tuple(placed.nStart, placed.nSkip, placed.nLength), std::make_tuple(12 - 24, 0, 12));
  const FLOWANIMEENTRY& cut = chara.m_vFlows[1].m_vAnimeSchedule.At(0);
  EXPECT_EQ(std::make_tuple(cut.nStart, cut.nSkip, cut.nLength), std::make_tuple(0, 6, 6));
}

TEST(FlowBuild, SkippingIntoALoopingAnimationTakesItsCycle) {
  GameWorld world;
  cAnimePlayer player;
  ANIMEPATTERN pattern;
  pattern.push_back({7, 2, 0});
  pattern.push_back({8, 1, 0});
  pattern.push_back({ANIMECODE_LOOP, 0, 0});
  cVector<ANIMEPATTERN> patterns;
  patterns.push_back(pattern);
  player.SetPatterns(patterns);
  // Three ticks a cycle: 2^31 − 1 ticks leave 1 (2147483647 = 3 × 715827882 + 1).
  player.Skip(INT_MAX);
  EXPECT_EQ(player.GetFrame(), 7);
  EXPECT_EQ(player.m_nTick, 1);
  player.Skip(1);
  EXPECT_EQ(player.GetFrame(), 8);
  player.Skip(1);
  EXPECT_EQ(player.GetFrame(), 7);
}

TEST(FlowBuild, InsertedFlowsGoAtTheirPositionOrAtTheEndAndArriveLatchedUnlessContinuous) {
  GameWorld world;
  MapBuilder({"...."}).Build();
  const cEdFlow a = FlowDef().Id(1).Key(KeyDef().Press(KEYSLOT_UP)).Command(CommandDef().UseTime(1));
  const cEdFlow b = FlowDef().Id(2).Command(CommandDef()).Command(CommandDef());
  cChara& chara = world.AddChara(CharaDef().Flow(a).Flow(b), {1, 0});
  EXPECT_EQ(chara.m_vFlows[0].m_bKeyLatched, 0);  // built with the character: not latched
  world.Scene().m_lpCurChara = &chara;
  chara.m_vFlows[1].Start();  // running flows keep their state through the insertion
  chara.RunFlows(0);
  const int serialB = chara.m_vFlows[1].m_nSerial;

  cVector<cEdFlow> added;
  added.push_back(FlowDef().Id(3).Continuous().Key(KeyDef().Press(KEYSLOT_DOWN)).Command(CommandDef()));
  added.push_back(FlowDef().Id(4).Key(KeyDef().Press(KEYSLOT_DOWN)).Command(CommandDef()));
  added.push_back(FlowDef().Id(5).Command(LoopDef(3, 1)).Command(CommandDef()));
  chara.BuildFlows(added, 1, 1);
  EXPECT_EQ(Ids(chara), "ACDEB");
  ExpectBound(chara);
  EXPECT_EQ(chara.m_vFlows[1].m_bKeyLatched, 0);  // continuous
  EXPECT_EQ(chara.m_vFlows[2].m_bKeyLatched, 1);
  EXPECT_EQ(chara.m_vFlows[3].m_bKeyLatched, 1);
  EXPECT_EQ(chara.m_vFlows[3].m_vCommands.Size(), 3);  // its LOOP expanded
  EXPECT_EQ(added[2].m_vCommands.Size(), 3);           // in the given records too
  EXPECT_EQ(chara.m_vFlows[1].m_nSerial, 2);
  EXPECT_EQ(chara.m_vFlows[3].m_nSerial, 4);
  EXPECT_EQ(chara.m_vFlows[4].m_nSerial, serialB);
  EXPECT_EQ(chara.m_vFlows[4].m_bRunning, 1);
  EXPECT_EQ(chara.m_vFlows[4].m_nCurrent, 1);
  EXPECT_EQ(chara.m_vFlows[4].m_vCommands[0].m_bDone, 1);

  const int appended[][2] = {{-1, 5}, {6, 8}, {99, 6}};  // {position, id}: none names a flow
  for (const auto& p : appended) {
    cVector<cEdFlow> one;
    one.push_back(FlowDef().Id(p[1]).Command(CommandDef()));
    chara.BuildFlows(one, 1, p[0]);
  }
  EXPECT_EQ(Ids(chara), "ACDEBEHF");  // ids 5, 8 and 6: every one appended
  ExpectBound(chara);
  chara.BuildFlows(added, 1, 0);
  EXPECT_EQ(Ids(chara), "CDEACDEBEHF");
  ExpectBound(chara);
  // The flow pass dereferences every record (AddressSanitizer checks them).
  for (int i = 0; i < 3; ++i) StepFlows(chara);
}

TEST(FlowBuild, RemovalByPositionByIdAndByIdZero) {
  GameWorld world;
  MapBuilder({"...."}).Build();
  auto flow = [](int id, int letter) { return FlowDef().Id(id).Switch(letter).Command(CommandDef().UseTime(1)); };
  cChara& chara = world.AddChara(
      CharaDef().Flow(flow(1, 0)).Flow(flow(2, 4)).Flow(flow(1, 0)).Flow(flow(0, 0)).Flow(flow(3, 0)), {1, 0});
  FlowRecorder rec;
  StepFlows(chara);  // all five start
  ATTACHEDANIME byPlay;  // a play-anime animation, started by no flow
  chara.m_lAnimes.push_back(byPlay);
  for (const cFlowInstance& f : chara.m_vFlows) {
    ATTACHEDANIME tagged;
    tagged.nKey = f.m_nSerial;
    chara.m_lAnimes.push_back(tagged);
  }
  const int serialB = chara.m_vFlows[1].m_nSerial;
  EXPECT_EQ(chara.m_vSwitchTaken[4], 1);

  chara.RemoveFlowAt(1);  // B: stopped, its letter to be freed, its animation gone
  EXPECT_EQ(Ids(chara), "AA-C");
  ExpectBound(chara);
  EXPECT_EQ(chara.m_vSwitchReleased[4], 1);
  EXPECT_EQ(chara.m_bSwitchRelease, 1);
  EXPECT_EQ(chara.m_lAnimes.Size(), 5);
  for (const ATTACHEDANIME& anime : chara.m_lAnimes) EXPECT_NE(anime.nKey, serialB);

  EXPECT_EQ(chara.RemoveFlowsById(1), 0);  // both As; the first was at 0
  EXPECT_EQ(Ids(chara), "-C");
  ExpectBound(chara);
  EXPECT_EQ(chara.m_lAnimes.Size(), 3);
  EXPECT_EQ(chara.RemoveFlowsById(3), 1);
  EXPECT_EQ(chara.RemoveFlowsById(3), -1);
  EXPECT_EQ(chara.RemoveFlowsById(9), -1);
  EXPECT_EQ(Ids(chara), "-");  // a flow without an ID is not removed by one
  StepFlows(chara);

  EXPECT_EQ(chara.RemoveFlowsById(0), 0);
  EXPECT_EQ(chara.m_vFlows.Size(), 0);
  EXPECT_EQ(chara.m_Def.m_vFlows.Size(), 0);
  EXPECT_EQ(chara.m_lAnimes.Size(), 0);  // also the one no flow started

  world.events.AllowCloseRequests(true);  // a bad position is reported
  chara.RemoveFlowAt(0);
  EXPECT_EQ(world.events.Texts(EventKind::Close).size(), 1u);
}

TEST(FlowBuild, ACopiedCharacterRunsItsOwnFlows) {
  GameWorld world;
  MapBuilder({"...."}).Build();
  const cEdFlow f =
      FlowDef().Key(KeyDef().Press(KEYSLOT_NO_DIR).AnyLength()).Command(CommandDef().UseTime(1)).Command(CommandDef());
  cChara& placed = world.AddChara(CharaDef().Flow(f).Flow(f), {1, 0});
  ScriptedInput keys;
  keys.Idle(1).Feed();
  ExpectBound(placed);
  FlowRecorder rec;
  StepFlows(placed);
  cChara copy(placed);
  ExpectBound(copy);
  EXPECT_EQ(copy.m_vFlows[0].m_bRunning, 1);
  EXPECT_EQ(copy.m_vFlows[0].m_vCommands[0].m_nTimer, 5);
  cChara assigned;
  assigned = placed;
  ExpectBound(assigned);
  placed.RemoveFlowsById(0);
  StepFlows(copy);
  StepFlows(assigned);
  EXPECT_EQ(copy.m_vFlows[0].m_vCommands[0].m_nTimer, 4);
}

TEST(FlowBuild, AnAnimationOfTimesNearTheIntLimitSaturatesItsSchedule) {
  GameWorld world(10);
  MapBuilder({"...."}).Build();
  cEdAnime huge;
  huge.m_vFrame = {Frame(30, INT_MAX, 0), Frame(31, 5, 0), Frame(32, 1, 1)};
  Database.m_vAnime.resize(1);
  Database.m_vAnime.push_back(huge);
  BuildDatabaseRunTables();
  cChara& chara = world.AddChara(
      CharaDef().Flow(FlowDef().Command(CommandDef().UseTime(32767).Growth(32767)).Command(CommandDef().Anime(1))),
      {1, 0}, 32767);
  const FLOWANIMEENTRY& e = chara.m_vFlows[0].m_vAnimeSchedule.At(0);
  // C = 6 × (2^31 − 1 + 5) frames saturates to 2147483647, A = 10 C steps;
  // the first command's saturated 2147483647 steps leave 19327352823, so
  // the animation starts with the flow, 1932735282 frames in.
  EXPECT_EQ(e.nStart, 0);
  EXPECT_EQ(e.nSkip, 1932735282);
  EXPECT_EQ(e.nLength, 214748365);
  FlowRecorder rec;
  StepFlows(chara);
  ASSERT_EQ(chara.m_lAnimes.Size(), 1);
  EXPECT_EQ(chara.m_lAnimes.front().m_Anime.GetFrame(), 30);  // its first frame lasts 2^31 − 1 ticks
  EXPECT_EQ(chara.m_lAnimes.front().m_Anime.m_nTick, 1932735282);
}
