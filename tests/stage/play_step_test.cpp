// The play frame on harness stages: the calls of its logic steps in their
// order, lifetimes, objects erased during a pass, the ways a frame ends
// (each death, clears, the close request, the button lock), time limit and
// play time, and what a dead hero's frames still move. The contact, attack
// and pick-up rules are the stage's own, played by placed objects.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "base/timers.h"
#include "game/characters.h"
#include "game/gone_objects.h"
#include "media/input.h"
#include "platform/input.h"
#include "platform/virtual_keys.h"
#include "records/command_types.h"
#include "records/command_vocab.h"
#include "records/map_cell.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/recording_renderer.h"
#include "support/flow_builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {


class PlayStep : public ::testing::Test {
 protected:
  void SetUp() override { EveryNth(0, 60); }
  void TearDown() override { EveryNth(0, 60); }

  // The map, the view on its first cell, play with no time limit.
  void Build(const std::vector<std::string>& rows, int speed = 1) {
    Stage.SetSpeedLevel(speed);
    MapBuilder(rows).BuildForPlay(scene);
  }
  cHero& AddHero(Cell at, const cEdFlow* flow = nullptr) {
    CharaDef def;
    def.PlayerOperated();
    if (flow) def.Flow(*flow);
    return world.AddHero(def, at);
  }
  // One frame; the calls it made as "step:call" (the ALWAYS triggers as
  // "T<id>"; the rules by the triggers they fire: "Block<id>" for a touched
  // block character, "Body<id>" for a body contact, "Item<id>" for a touched
  // item; the deaths), then "Draw" when the frame drew.
  std::vector<std::string> Frame() {
    world.events.Clear();
    renderer.Take();
    scene.Play();
    std::vector<std::string> calls;
    static const std::vector<std::pair<std::string, std::string>> rules = {
        {"0 ", "T"}, {std::to_string(FLOWTRIGGER_HIT_BLOCK_CHARA) + " ", "Block"},
        {std::to_string(FLOWTRIGGER_HIT_CHARA) + " ", "Body"}, {std::to_string(FLOWTRIGGER_HIT_ITEM) + " ", "Item"}};
    for (const GameEvent& e : world.events.All()) {
      std::string call;
      if (e.kind == EventKind::Trigger)
        for (const auto& [prefix, name] : rules)
          if (e.text.rfind(prefix, 0) == 0) call = name + e.text.substr(prefix.size());
      if (e.kind == EventKind::Log &&
          (e.text.rfind("Dead", 0) == 0 ||
           e.text.rfind("Player[P1]", 0) == 0))
        call = e.text;
      // The clear is heard: its sound 14.
      if (e.kind == EventKind::Sound && e.text == "14") call = "OnStageClear";
      if (!call.empty()) calls.push_back(std::to_string(e.step) + ":" + call);
    }
    if (!renderer.Take().empty()) calls.push_back("Draw");
    return calls;
  }
  std::vector<std::string> Sounds() { return world.events.Texts(EventKind::Sound); }
  bool Drawn(const std::vector<std::string>& calls) {
    for (const std::string& c : calls)
      if (c == "Draw") return true;
    return false;
  }

  cSceneStage scene;
  GameWorld world{scene};
  RecordingRenderer renderer;
};

std::string T(const cCharaBase& c) { return "T" + std::to_string(c.m_nId); }

}  // namespace

TEST_F(PlayStep, EachLogicStepRunsItsPartsInTheirOrderAndTheFrameDrawsOnce) {
  Build({"..........", "..........", "##########"}, 2);
  cHero& hero = AddHero({1, 1});
  // A walker of another group on the hero (a body contact), an item under
  // it (a pick-up), a platform standing in the feet of both (solid contacts).
  cChara& walker = world.AddChara(CharaDef().Group(2), {1, 1});
  cChara& block = world.AddChara(CharaDef().BlockChara().Fly(FLYMODE_THROUGH), {1, 2});
  block.m_rcHit.dTop = hero.m_rcHit.dBottom - 2;
  block.ClampY(2);
  cItem item;
  item.Init(scene.m_nItemSerial++, cEdItem(), 0);
  item.m_Def.m_nPickupMode = PICKUPMODE_ALWAYS;
  item.PlaceAtCell(1, 1);
  ItemList.push_back(item);
  const std::string h = std::to_string(hero.m_nId), w = std::to_string(walker.m_nId);
  const std::vector<std::string> first = {T(block), T(hero), "Block" + h, T(walker), "Block" + w,
                                          "Body" + h, "Body" + w, "Item" + h};
  std::vector<std::string> expected;
  for (const std::string& call : first) expected.push_back("1:" + call);
  // Riding from then on, the hero fires the contact trigger every step.
  for (const std::string& call : first) expected.push_back("2:" + call);
  expected.push_back("Draw");
  EXPECT_EQ(Frame(), expected);
  EXPECT_EQ(scene.m_nStepCount, 2);
  EXPECT_EQ(scene.m_nFrameCount, 1);
  EXPECT_EQ(hero.m_bRiding, 1);
  EXPECT_EQ(hero.m_nCarrierId, block.m_nId);
}

TEST_F(PlayStep, LifetimesRunOutStepByStepWhileTheHeroLives) {
  Build({"..........", "..........", "##########"}, 2);
  cHero& hero = AddHero({1, 1});
  world.AddChara(CharaDef(), {4, 1}).m_nLife = 1;  // two steps: gone in the second
  world.AddChara(CharaDef(), {5, 1}).m_nLife = 3;
  cItem item;
  item.Init(1, cEdItem(), 0);
  item.m_nLife = 1;
  ItemList.push_back(item);
  Frame();
  ASSERT_EQ(CharaList.size(), 1u);
  EXPECT_EQ(CharaList.front().m_nLife, 1);
  EXPECT_TRUE(ItemList.empty());
  // A dead hero's steps stop the clocks of the others.
  hero.m_bDefeated = 1;
  Frame();
  Frame();
  ASSERT_EQ(CharaList.size(), 1u);
  EXPECT_EQ(CharaList.front().m_nLife, 1);
}

TEST_F(PlayStep, ACharacterErasedMidPassByAnothersCommandIsSkippedAndLeavesAtTheEnd) {
  Build({"..........", "..........", "##########"});
  AddHero({1, 1});
  // The first character vanishes its target, the second; the defeat check
  // it asks for takes the vanished out of play at once.
  const cEdFlow vanishTarget = FlowDef().Command(CommandDef(ACTCMDTYPE_STATUS_OP2).Param(0, 1).Param(1, 0));
  cChara& first = world.AddChara(CharaDef().Flow(vanishTarget), {4, 1});
  cChara& second = world.AddChara(CharaDef(), {5, 1});
  cChara& third = world.AddChara(CharaDef(), {6, 1});
  first.SetTarget(second);
  const int secondId = second.m_nId;
  const std::vector<std::string> calls = Frame();
  std::vector<std::string> triggers;
  for (const std::string& c : calls)
    if (c.rfind("1:T", 0) == 0) triggers.push_back(c.substr(2));
  EXPECT_EQ(triggers, (std::vector<std::string>{"T" + std::to_string(Player[0].m_nId), T(first), T(third)}));
  EXPECT_EQ(FindCharaById(secondId), nullptr);
  EXPECT_EQ(CharaList.size(), 2u);
  for (const cChara& c : CharaList) EXPECT_NE(c.m_nId, secondId);
  EXPECT_EQ(first.m_nTargetId, OBJECT_NONE) << "nobody names the erased one";
}

// A still block character (it passes through the map) at world dots (x, y).
static cChara& AddStillSolid(GameWorld& world, double x, double y) {
  cChara& c = world.AddChara(CharaDef().BlockChara().Fly(FLYMODE_THROUGH), {0, 0});
  c.m_rcHit.dLeft = x;
  c.m_rcHit.dTop = y;
  c.ClampX(2);
  c.ClampY(2);
  return c;
}

TEST_F(PlayStep, EachDeathHasItsTextAndEndsTheFrameUndrawn) {
  // Row 1 is the hero's; a deadly wall right of it (column 3), solid walls
  // at columns 7 and 9 and a deadly floor under column 6; the view on the
  // map's top-left.
  struct Case {
    const char* text;
    std::function<void(cSceneStage&, cHero&)> arrange;
    const char* lrudLine;  // written before the death, or null
  } cases[] = {
      {"Dead 1", [](cSceneStage&, cHero& h) { h.m_rcHit.dLeft = CellDot(3) - h.m_nHitWidth + 4; }, nullptr},
      {"Dead 2", [](cSceneStage&, cHero& h) { h.m_rcHit.dTop = CellDot(39) + 8; h.m_dVy = 40; }, nullptr},
      {"Dead 3",
       [](cSceneStage& s, cHero& h) {
         // Far below the view, which scrolls by itself.
         s.m_ScrollY.m_bAutoScroll = 1;
         h.m_rcHit.dTop = CellDot(30);
       },
       nullptr},
      {"Dead 4",
       [](cSceneStage&, cHero& h) {
         h.m_rcHit.dLeft = CellDot(6) + 8;
         h.m_dVy = 3;  // falls into the deadly floor
       },
       nullptr},
      // Rising into the ceiling row 20 near the bottom of a view that
      // scrolls by itself: the ceiling pushes it down out of the view.
      {"Dead 5",
       [](cSceneStage& s, cHero& h) {
         s.m_ScrollY.m_bAutoScroll = 1;
         h.m_rcHit.dTop = CellDot(20) + 2;
         h.m_dVy = -1;
         s.m_ScrollY.m_dPos = CellDot(20) + 2 + h.m_nHitHeight - 1 - 470;
       },
       nullptr},
      // Wholly inside a block character: every corner probe in it.
      {"Dead 6", [this](cSceneStage&, cHero& h) { AddStillSolid(world, h.m_rcHit.dLeft - 8, h.m_rcHit.dTop - 8); }, nullptr},
      // A block character pushes it into the deadly wall or floor: the re-checks kill.
      {"Dead 7",
       [this](cSceneStage&, cHero& h) {
         h.m_rcHit.dLeft = CellDot(3) - h.m_nHitWidth - 1;
         AddStillSolid(world, h.m_rcHit.dLeft + 4 - 31, h.m_rcHit.dTop - 4);
       },
       nullptr},
      {"Dead 8",
       [this](cSceneStage&, cHero& h) {
         h.m_rcHit.dLeft = CellDot(6) + 8;
         // Coming down onto its head.
         cChara& ceiling = AddStillSolid(world, h.m_rcHit.dLeft - 8, h.m_rcHit.dTop + 1 - 31);
         ceiling.m_dInertiaY = 2;
         ceiling.m_dStopDecel = 0;
       },
       nullptr},
      // Pushed into the solid wall of column 7, which pushes it back.
      {"Dead 9",
       [this](cSceneStage&, cHero& h) {
         h.m_rcHit.dLeft = CellDot(7) - h.m_nHitWidth - 1;
         AddStillSolid(world, h.m_rcHit.dLeft + 4 - 31, h.m_rcHit.dTop - 4);
       },
       "Player[P1].LRUD = 1,1,0,0"},
      // Wider than the gap between the walls of columns 7 and 9: blocked on
      // both sides before the contacts run.
      {"Dead SP",
       [](cSceneStage&, cHero& h) {
         h.m_nHitWidth = 40;
         h.m_rcHit.dLeft = CellDot(8) - 4;
       },
       "Player[P1].LRUD = 1,1,0,1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CharaList.clear();
    for (auto& group : scene.m_CharaGroups) group.clear();
    std::vector<std::string> rows = {"..........", "...X...#.#", "######X###"};
    rows.resize(40, "..........");
    rows[20] = "##########";
    Build(rows);
    cHero& hero = AddHero({1, 1});
    c.arrange(scene, hero);
    hero.ClampX(2);
    hero.ClampY(2);
    const DRECT start = hero.m_rcHit;
    const std::vector<std::string> calls = Frame();
    std::vector<std::string> deaths;
    for (const std::string& call : calls)
      if (call.find(":Dead") != std::string::npos || call.find(":Player") != std::string::npos)
        deaths.push_back(call.substr(call.find(':') + 1));
    std::vector<std::string> expected;
    if (c.lrudLine) expected.push_back(c.lrudLine);
    expected.push_back(c.text);
    EXPECT_EQ(deaths, expected);
    EXPECT_FALSE(Drawn(calls));
    EXPECT_EQ(hero.m_bDefeated, 1);
    ASSERT_FALSE(Sounds().empty());
    EXPECT_EQ(Sounds().front(), "8");
    if (c.lrudLine) {
      EXPECT_EQ(hero.m_rcHit.dLeft, start.dLeft) << "the box of the step's start";
      bool contacts = false;
      for (const std::string& call : calls) contacts = contacts || call.find(":Block") != std::string::npos;
      EXPECT_EQ(contacts, std::string(c.text) == "Dead 9") << "a squeeze before the contacts ends the step there";
    }
  }
}

TEST_F(PlayStep, ClearsEndTheFrameUndrawnIntoTheClearState) {
  enum { COMMAND, BLOCK_ITEM, DEATH_FLOW, ATTACK, PICKUP, CRUSHED };
  struct Case {
    const char* what;
    int source;
  } cases[] = {
      {"a command", COMMAND},
      {"the item of the block stood on", BLOCK_ITEM},
      {"the dying hero's death flow", DEATH_FLOW},
      {"an attack that defeats a character whose drop item clears", ATTACK},
      {"a pick-up", PICKUP},
      {"a crushed character's drop item", CRUSHED},
  };
  cEdItem clearing;
  clearing.m_nGraphic = 1;
  cEdCommand command;
  command.m_bItemCommand = 1;
  command.m_nType = ITEMCMDTYPE_STAGE_CLEAR;
  command.m_vParams.assign(static_cast<size_t>(std::max(CommandParamCount(1, ITEMCMDTYPE_STAGE_CLEAR), 1)), 0);
  clearing.m_vCommands.push_back(command);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CharaList.clear();
    ItemList.clear();
    for (auto& group : scene.m_CharaGroups) group.clear();
    Build({"..........", "...#......", "##########"});
    const cEdFlow clear = FlowDef(c.source == DEATH_FLOW ? FLOWTRIGGER_DEATH : FLOWTRIGGER_ALWAYS)
                              .Command(CommandDef(ACTCMDTYPE_STAGE_CLEAR));
    cHero& hero = AddHero({1, 1}, c.source == COMMAND || c.source == DEATH_FLOW ? &clear : nullptr);
    cItem drop;
    drop.Init(scene.m_nItemSerial++, clearing, 1);
    if (c.source == DEATH_FLOW) AddStillSolid(world, hero.m_rcHit.dLeft - 8, hero.m_rcHit.dTop - 8);  // crushed
    if (c.source == ATTACK) {
      hero.m_Def.m_nPower = 5;
      world.AddChara(CharaDef().Group(2).Hp(1), {1, 1}, 0, &drop);
    }
    if (c.source == PICKUP) {
      cItem item;
      item.Init(scene.m_nItemSerial++, clearing, 0);
      item.PlaceAtCell(1, 1);
      ItemList.push_back(item);
    }
    if (c.source == CRUSHED) {
      // A character inside a wall is crushed.
      cChara& crushed = world.AddChara(CharaDef().Fly(FLYMODE_DEADLY_BLOCKS), {3, 1}, 0, &drop);
      crushed.ClampX(2);
    }
    if (c.source == BLOCK_ITEM) {
      Stage.m_vPaletteItem.push_back(clearing);
      MAPCELL& floor = MapCell[static_cast<size_t>((1 + kMapBorder) + ((2 + kMapBorder) << scene.m_ScrollX.m_nShift))];
      floor.Block.m_nItemKind = 2;
      floor.Block.m_nItemIndex = static_cast<int16_t>(Stage.m_vPaletteItem.Size() - 1);
    }
    const std::vector<std::string> calls = Frame();
    EXPECT_FALSE(Drawn(calls));
    std::vector<std::string> clears;
    for (const std::string& call : calls)
      if (call.find("OnStageClear") != std::string::npos) clears.push_back(call);
    EXPECT_EQ(clears, std::vector<std::string>{"1:OnStageClear"}) << "once, whichever rule cleared";
    EXPECT_EQ(scene.m_nPhase, STAGESTATE_CLEAR);
  }
}

TEST_F(PlayStep, ACloseRequestThePauseKeyOrAHeldButtonStopsWhatTheFrameWouldDo) {
  Build({"..........", "..........", "##########"});
  AddHero({1, 1});
  {
    plat::ScriptedInput keys;
    keys.Press(VK_SPACE);
    scene.m_nStep = 5;
    EXPECT_TRUE(Frame().empty());
    EXPECT_EQ(scene.m_nPhase, STAGESTATE_PAUSE);
    EXPECT_EQ(scene.m_nStep, 0);
    EXPECT_EQ(scene.m_nFrameCount, 0);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"4"}));
    keys.ReleaseAll();
  }
  scene.m_nPhase = STAGESTATE_PLAY;
  world.events.AllowCloseRequests(true);
  scene.m_bCloseRequested = 1;
  EXPECT_TRUE(Frame().empty());
  EXPECT_EQ(world.events.Texts(EventKind::Close).size(), 1u);
  EXPECT_EQ(scene.m_nFrameCount, 0);
  scene.m_bCloseRequested = 0;
  // The buttons held from before play count as up until all are released.
  cInput& input = Input.At(0);
  scene.m_bButtonLock = 1;
  input.m_wButton = 1;
  Frame();
  EXPECT_EQ(input.m_wButton, 0);
  input.m_wButton = 0;
  Frame();
  EXPECT_EQ(scene.m_bButtonLock, 0);
  input.m_wButton = 2;
  Frame();
  EXPECT_EQ(input.m_wButton, 2);
}

TEST_F(PlayStep, TheTimeLimitKillsInThe60thFrameOfTheLastSecondAndOnlyOnce) {
  for (int fps : {60, 30}) {
    SCOPED_TRACE(fps);
    Build({std::string(60, '.'), std::string(60, '.'), std::string(60, '#')});
    Stage.m_nFps = fps;
    EveryNth(0, 60);
    cHero& hero = AddHero({1, 1});
    cChara& other = world.AddChara(CharaDef(), {5, 1});
    scene.m_bNoTimeLimit = 0;
    scene.m_nTimeLeft = 1;
    for (int f = 1; f < 60; ++f) ASSERT_TRUE(Drawn(Frame())) << f;
    EXPECT_EQ(scene.m_nTimeLeft, 1);
    const std::vector<std::string> last = Frame();
    EXPECT_FALSE(Drawn(last));
    EXPECT_EQ(scene.m_nTimeLeft, 0);
    EXPECT_EQ(hero.m_bDefeated, 1);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"8"}));
    // Dead: presence, timers and scroll go on; nobody runs and time over
    // does not kill again.
    scene.m_ScrollX.m_bAutoScroll = 1;
    scene.m_ScrollX.m_dAutoSpeed = 1;
    const double scroll = scene.m_ScrollX.m_dPos;
    other.m_nInvincible = 100;
    for (int f = 0; f < 60; ++f) {
      for (const std::string& call : Frame()) EXPECT_EQ(call.find(":T"), std::string::npos) << call;
      EXPECT_TRUE(Sounds().empty());
    }
    EXPECT_GT(scene.m_ScrollX.m_dPos, scroll);
    EXPECT_LT(other.m_nInvincible, 100);
  }
}

TEST_F(PlayStep, TimeLimitAndPlayTimeKeepTheirBounds) {
  Build({"..........", "..........", "##########"});
  struct Case {
    int noLimit, left, delta, calls;
    int after, result;
  } cases[] = {
      {1, 5, -1, 120, 5, 0},    // no limit: untouched
      {0, 5, -1, 59, 5, 0},     // 59 frames: not a second yet
      {0, 5, -1, 120, 3, 0},
      {0, 998, 5, 60, 999, 0},  // never above 999
      {0, 1, -3, 60, 0, 1},     // never below 0, and time over
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.left << " " << c.delta << " " << c.calls);
    EveryNth(0, 60);
    scene.m_bNoTimeLimit = c.noLimit;
    scene.m_nTimeLeft = c.left;
    int result = 0;
    for (int i = 0; i < c.calls; ++i) result = scene.TickTimeLimit(c.delta);
    EXPECT_EQ(scene.m_nTimeLeft, c.after);
    EXPECT_EQ(result, c.result);
  }
  // Play time: hundredths from the frames, held at 99:59.99.
  scene.m_nPlayFrames = 0;
  scene.m_nPlayTime = 0;
  for (int i = 0; i < 61; ++i) scene.TickPlayTime();
  EXPECT_EQ(scene.m_nPlayTime, 101);
  scene.m_nPlayFrames = 359998;
  scene.TickPlayTime();
  EXPECT_EQ(scene.m_nPlayTime, 599998);
  scene.TickPlayTime();
  scene.TickPlayTime();
  EXPECT_EQ(scene.m_nPlayTime, 599999);
  const int frames = scene.m_nPlayFrames;
  scene.TickPlayTime();
  EXPECT_EQ(scene.m_nPlayFrames, frames) << "stopped";
}

TEST_F(PlayStep, OffScreenRemovalRunsInTheFirstStepOfAFrameOnly) {
  Build({std::string(60, '.'), std::string(60, '.'), std::string(60, '#')}, 2);
  AddHero({1, 1});
  cChara& leaver = world.AddChara(CharaDef(), {5, 1});
  const int id = leaver.m_nId;
  scene.m_bRemoveCharas = 1;
  cEdOffScreenRule& rule = Stage.m_RuleChara;
  rule.m_bLeft = rule.m_bRight = rule.m_bTop = rule.m_bBottom = 1;
  rule.m_nLeftMargin = rule.m_nRightMargin = rule.m_nTopMargin = rule.m_nBottomMargin = 2;
  // After the first step's removal the character is carried far off the view.
  scene.m_nFrameCount = 1;
  scene.LogicStep(0);
  leaver.m_rcHit.dLeft = CellDot(50);
  leaver.ClampX(2);
  scene.LogicStep(1);
  SweepGoneObjects();
  EXPECT_NE(FindCharaById(id), nullptr) << "the second step removes nothing";
  scene.LogicStep(0);
  SweepGoneObjects();
  EXPECT_EQ(FindCharaById(id), nullptr);
  EXPECT_TRUE(CharaList.empty());
}
