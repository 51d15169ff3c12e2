// The hero's flow step (start speeds, per-step flags, the idle animation,
// the jump reset, the queued flow changes) and what items do to it (their
// command lists with the pending arrange operations, the pick-up pop-up,
// the touch list).
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/item_commands.h"
#include "game/item_effect.h"
#include "game/stage_data.h"
#include "records/command_vocab.h"
#include "records/system.h"
#include "support/builders.h"
#include "support/flow_builders.h"
#include "support/flow_recorder.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

MapBuilder RunRoom() { return MapBuilder(std::vector<std::string>(15, std::string(20, '.'))); }

// Three idle patterns the hero can change between.
void GiveIdlePatterns(cHero& hero, int current) {
  cVector<ANIMEPATTERN> patterns(3);
  for (int i = 0; i < 3; ++i) {
    ANIMESTEP step;
    step.nFrame = i;
    step.nTime = 10;
    patterns[i].push_back(step);
  }
  hero.m_Anime.SetPatterns(std::move(patterns));
  hero.m_Anime.SetPattern(current, 1);
}

}  // namespace

TEST(HeroRun, StartSpeedsFollowTheScrollOptionTheSyncAndFlying) {
  struct Case {
    int scrollInMoves, sync, fly, atLimitX;
    double vx, vy;
  };
  // Auto-scroll 0.5 across and −0.25 down; the hero came in with (9, 9).
  const Case cases[] = {
      {1, 0, FLYMODE_STOPPED, 0, 0.5, -0.25}, {1, 0, FLYMODE_STOPPED, 1, 0, -0.25}, {1, 1, FLYMODE_WALK, 0, 0, 9},
      {0, 1, FLYMODE_STOPPED, 0, 0.5, -0.25}, {0, 1, FLYMODE_WALK, 0, 0.5, 9},       {0, 1, FLYMODE_WALK, 1, 0, 9},
      {0, 0, FLYMODE_STOPPED, 0, 0, 0},       {0, 0, FLYMODE_WALK, 0, 0, 9},
  };
  for (const Case& c : cases) {
    GameWorld world;
    RunRoom().Build();
    SystemData.m_bCompat214 = c.scrollInMoves;
    CharaDef def = CharaDef().PlayerOperated().Fly(c.fly);
    if (c.sync) def.ScrollSync();
    cHero& hero = world.AddHero(def, {5, 5});
    world.Scene().m_ScrollX.m_dAutoSpeed = 0.5;
    world.Scene().m_ScrollX.m_bAtLimit = c.atLimitX;
    world.Scene().m_ScrollY.m_dAutoSpeed = -0.25;
    hero.m_dVx = hero.m_dVy = 9;
    EXPECT_EQ(hero.Run(0), 0);
    EXPECT_EQ(hero.m_dVx, c.vx) << c.scrollInMoves << c.sync << c.fly << c.atLimitX;
    EXPECT_EQ(hero.m_dVy, c.vy) << c.scrollInMoves << c.sync << c.fly << c.atLimitX;
  }
}

TEST(HeroRun, EachStepClearsItsFlagsIdlesWhenStillAndEndsAJumpThatDidNotRun) {
  struct Case {
    int fly, moved;
    double inertiaX;
    int pattern;  // after Run, from pattern 1
  };
  const Case cases[] = {{FLYMODE_WALK, 0, 0, 0},
                        {FLYMODE_STOPPED, 0, 0, 2},
                        {FLYMODE_WALK, 0, 0.5, 1},
                        {FLYMODE_WALK, 1, 0, 1}};
  for (const Case& c : cases) {
    GameWorld world;
    RunRoom().Build();
    FlowRecorder recorder;
    // Its one flow stands in for a move command when the case moves.
    recorder.OnRun(ACTCMDTYPE_WAIT, [&](cCharaBase& ch, cCommandInstance&) { ch.m_bMoved = c.moved; });
    cHero& hero = world.AddHero(
        CharaDef().PlayerOperated().Fly(c.fly).Flow(FlowDef().Command(CommandDef(ACTCMDTYPE_WAIT).UseTime(1))),
        {5, 5});
    GiveIdlePatterns(hero, 1);
    hero.m_bMoveDisabled = 1;
    hero.m_bFrictionX = hero.m_bFrictionY = 0;
    hero.m_bMoved = 1;
    hero.m_nCrushGrace = 2;
    hero.m_nJumpHold = 4;
    hero.m_bJumpReady = 0;
    hero.m_bJumpLock = 1;
    hero.m_dInertiaX = c.inertiaX;
    hero.m_dStopDecel = 0;
    world.Scene().m_bDefeatCheck = 1;
    hero.FireTrigger(FLOWTRIGGER_ALWAYS);
    hero.Run(0);
    EXPECT_EQ(recorder.Count(ACTCMDTYPE_WAIT), 1);
    EXPECT_EQ(hero.m_Anime.m_nPattern, c.pattern) << c.fly << c.moved << c.inertiaX;
    EXPECT_EQ(hero.m_bMoveDisabled, 0);
    EXPECT_EQ(hero.m_bFrictionX + hero.m_bFrictionY, 2);
    EXPECT_EQ(hero.m_nCrushGrace, 1);
    EXPECT_EQ(hero.m_nJumpHold, 0) << "no jump ran in this step";
    EXPECT_EQ(hero.m_bJumpReady, 1);
    EXPECT_EQ(hero.m_bJumpLock, 0);
    EXPECT_EQ(world.Scene().m_bDefeatCheck, 0);
  }
}

TEST(HeroRun, AHeroWithoutHitPointsEndsItsStep) {
  GameWorld world;
  RunRoom().Build();
  cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {5, 5});
  hero.m_nHp = 0;
  EXPECT_EQ(hero.Run(0), 1);
  hero.m_nHp = 3;
  EXPECT_EQ(hero.Run(0), 0);
}

TEST(HeroRun, QueuedFlowChangesAreMadeInOrderAfterTheFlowsAndTheQueueEmpties) {
  GameWorld world;
  RunRoom().Build();
  cHero& hero = world.AddHero(CharaDef().PlayerOperated().Flow(FlowDef(FLOWTRIGGER_NONE).Id(3)), {5, 5});
  auto change = [](int op, int id, int carriedId) {
    cEdCommand command = CommandDef(ITEMCMDTYPE_FLOW_CHANGE).Param(0, op).Param(1, id);
    command.m_bItemCommand = 1;
    if (carriedId) command.m_vFlows.push_back(FlowDef(FLOWTRIGGER_NONE).Id(carriedId));
    return command;
  };
  // Made in another order, the flow of ID 4 would stay or 6 would go.
  hero.m_vQueuedFlowChanges.push_back(change(FLOWCHANGE_ADD, 0, 4));
  hero.m_vQueuedFlowChanges.push_back(change(FLOWCHANGE_DELETE, 4, 0));
  hero.m_vQueuedFlowChanges.push_back(change(FLOWCHANGE_ADD, 0, 6));
  hero.Run(0);
  std::vector<int> ids;
  for (const cEdFlow& flow : hero.m_Def.m_vFlows) ids.push_back(flow.m_nId);
  EXPECT_EQ(ids, (std::vector<int>{3, 6}));
  EXPECT_EQ(hero.m_vFlows.Size(), 2);
  EXPECT_TRUE(hero.m_vQueuedFlowChanges.empty());
}

namespace {

// Item executors that note each run ("<type>") and do what the test says.
class ItemScript {
 public:
  ItemScript() {
    s_active = this;
    for (int t = 0; t < ITEMCMDTYPE_COUNT; ++t) {
      m_saved[t] = ItemExecutorTable[t];
      ItemExecutorTable[t] = &ItemScript::Call;
    }
  }
  ~ItemScript() {
    for (int t = 0; t < ITEMCMDTYPE_COUNT; ++t) ItemExecutorTable[t] = m_saved[t];
    s_active = nullptr;
  }
  ItemScript(const ItemScript&) = delete;
  ItemScript& operator=(const ItemScript&) = delete;

  std::map<int, std::function<int(cHero&, cEdCommand&)>> does;
  std::vector<std::string> ran;

 private:
  static int Call(cHero& hero, cEdCommand& command) {
    s_active->ran.push_back(std::to_string(command.m_nType));
    auto it = s_active->does.find(command.m_nType);
    return it == s_active->does.end() ? 0 : it->second(hero, command);
  }
  static inline ItemScript* s_active = nullptr;
  ITEMEXECUTOR m_saved[ITEMCMDTYPE_COUNT];
};

cEdCommand ItemCommand(int type) {
  cEdCommand command = CommandDef(type);
  command.m_bItemCommand = 1;
  command.m_vParams.resize(10, 0);
  return command;
}

}  // namespace

TEST(HeroItems, ACommandListRunsInOrderUntilTheHeroFallsOrTheStageClears) {
  enum { MSG = ITEMCMDTYPE_MESSAGE, CLEAR = ITEMCMDTYPE_STAGE_CLEAR, HURT = ITEMCMDTYPE_STATUS_OP };
  struct Case {
    const char* name;
    std::vector<int> types;
    int hp;
    int result;
    std::vector<std::string> ran;
  };
  const Case cases[] = {
      {"all run", {MSG, MSG}, 10, 0, {"4", "4"}},
      {"a clear ends the list", {MSG, CLEAR, MSG}, 10, 1, {"4", "2"}},
      {"HP brought to 0 ends it", {HURT, MSG}, 10, 2, {"7"}},
      {"HP brought to 0 wins over a clear", {MSG, HURT, CLEAR}, 10, 2, {"4", "7"}},
      {"a hero already down runs one", {MSG, MSG}, 0, 2, {"4"}},
      {"an empty list", {}, 10, 0, {}},
      {"an empty list, the hero down", {}, 0, 2, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world;
    RunRoom().Build();
    cHero& hero = world.AddHero(CharaDef().PlayerOperated().Hp(10), {5, 5});
    hero.m_nHp = c.hp;
    ItemScript script;
    script.does[CLEAR] = [](cHero&, cEdCommand&) { return 1; };
    script.does[HURT] = [](cHero& h, cEdCommand&) {
      h.m_nHp = 0;
      return 0;
    };
    cVector<cEdCommand> commands;
    for (int t : c.types) commands.push_back(ItemCommand(t));
    world.Scene().m_bItemMessage = 1;
    EXPECT_EQ(hero.RunItemCommands(commands), c.result);
    EXPECT_EQ(script.ran, c.ran);
    EXPECT_EQ(world.Scene().m_bItemMessage, 0) << "the first message of a list opens anew";
  }
}

TEST(HeroItems, PendingArrangesChangeTheNextCommandOnlyAndAreUsedUpByIt) {
  GameWorld world;
  RunRoom().Build();
  cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {5, 5});
  hero.m_vVars[3] = 5;
  // Target group (p1 of a set-target command) = character variable 3.
  const ARRANGEOP op = {ACTCMDTYPE_SET_TARGET, 0, CALCOP_SET, VARKIND_CHARA, 3};
  ItemScript script;
  std::vector<int> seen;
  script.does[ITEMCMDTYPE_SET_TARGET] = [&](cHero& h, cEdCommand& c) {
    seen.push_back(c.m_vParams[1]);
    seen.push_back(static_cast<int>(h.m_lPendingArranges.size()));
    return 0;
  };
  script.does[ITEMCMDTYPE_ARRANGE] = [&](cHero& h, cEdCommand&) {
    h.m_lPendingArranges.push_back(op);
    return 0;
  };
  cVector<cEdCommand> commands;
  commands.push_back(ItemCommand(ITEMCMDTYPE_ARRANGE));
  commands.push_back(ItemCommand(ITEMCMDTYPE_SET_TARGET));
  commands.push_back(ItemCommand(ITEMCMDTYPE_SET_TARGET));
  hero.m_lPendingArranges.push_back(op);  // left over: the arrange command keeps it
  EXPECT_EQ(hero.RunItemCommands(commands), 0);
  EXPECT_EQ(seen, (std::vector<int>{5, 0, 0, 0}));
  EXPECT_EQ(commands[1].m_vParams[1], 5) << "the arrange is written into the command";

  // A pending operation that names another type is used up all the same.
  hero.m_lPendingArranges.push_back({ACTCMDTYPE_MESSAGE, 0, CALCOP_SET, VARKIND_CHARA, 3});
  commands.erase(commands.begin());
  commands[0].m_vParams[1] = 1;
  seen.clear();
  hero.RunItemCommands(commands);
  EXPECT_EQ(seen, (std::vector<int>{1, 0, 0, 0}));
}

TEST(HeroItems, ATakenItemShowsItsPopupPlaysItsSoundAndRunsItsCommands) {
  struct Case {
    const char* name;
    int graphic, mode, present, popup;
    int result;
    bool popupShown;
    std::vector<std::string> ran;
    std::vector<std::string> sounds;
  };
  const Case cases[] = {
      {"taken", 5, PICKUPMODE_ONCE, 1, 1, 1, true, {"2"}, {"19"}},
      {"without a pop-up", 5, PICKUPMODE_ALWAYS, 1, 0, 1, false, {"2"}, {"19"}},
      {"graphic 0", 0, PICKUPMODE_ONCE, 1, 1, 0, false, {}, {}},
      {"never taken", 5, PICKUPMODE_NEVER, 1, 1, 0, false, {}, {}},
      {"not present", 5, PICKUPMODE_ONCE, 0, 1, 0, false, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world;
    RunRoom().Build();
    ItemScript script;
    script.does[ITEMCMDTYPE_STAGE_CLEAR] = [](cHero&, cEdCommand&) { return 1; };
    cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {5, 5});
    cEdItem def;
    def.m_nGraphic = static_cast<int16_t>(c.graphic);
    def.m_nGraphicKind = 1;
    def.m_nGraphicFrame = 3;
    def.m_nPickupMode = static_cast<int8_t>(c.mode);
    def.m_bPickupPopup = static_cast<int8_t>(c.popup);
    def.m_nPickupSound = 3;
    def.m_vCommands.push_back(ItemCommand(ITEMCMDTYPE_STAGE_CLEAR));
    cItem item;
    item.Init(7, def, 0);
    item.m_bPresent = c.present;
    world.events.Clear();
    EXPECT_EQ(ApplyItemEffect(&item, hero), c.result);
    EXPECT_EQ(script.ran, c.ran);
    EXPECT_EQ(world.events.Texts(EventKind::Sound), c.sounds);
    ASSERT_EQ(world.Scene().m_Messages.size(), c.popupShown ? 1u : 0u);
    if (!c.popupShown) continue;
    // The item's icon rises over the hero for 30 frames while play goes on.
    const cMessageWindow& popup = world.Scene().m_Messages.front();
    EXPECT_EQ(popup.m_nMode, MESSAGEMODE_PICKUP);
    EXPECT_EQ((std::vector<int>{popup.m_nIconKind, popup.m_nIconNumber, popup.m_nIconParam}),
              (std::vector<int>{1, 5, 3}));
    EXPECT_EQ(popup.m_nPlacement, 4);
    EXPECT_EQ(popup.m_bFixed, 1);
    EXPECT_EQ(popup.m_nDisplayMode, MESSAGEDISPLAY_TIME);
    EXPECT_EQ(popup.m_nFrames, 30);
    EXPECT_EQ(popup.m_bStopsGame, 0);
    EXPECT_EQ(popup.m_nAnchorId, hero.m_nId);
    EXPECT_EQ(popup.m_lpSurface, nullptr);
    EXPECT_EQ(popup.m_bKeepOnScreen + popup.m_nOffX + popup.m_nOffY + popup.m_bUseId + popup.m_bSubstitute, 0);
  }
  GameWorld world;
  EXPECT_EQ(ApplyItemEffect(nullptr, world.AddHero(CharaDef().PlayerOperated(), {0, 0})), 0);
}

TEST(HeroItems, TheTouchListHoldsAnItemUntilItIsForgotten) {
  GameWorld world;
  RunRoom().Build();
  cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {5, 5});
  cItem a, b;
  a.Init(1, cEdItem(), 0);
  b.Init(2, cEdItem(), 0);
  EXPECT_EQ(hero.IsNewItemTouch(a), 1);
  hero.m_lTouched.push_back(a.m_nId);
  hero.m_lTouched.push_back(a.m_nId);
  EXPECT_EQ(hero.IsNewItemTouch(a), 0);
  EXPECT_EQ(hero.IsNewItemTouch(b), 1);
  hero.ForgetItemTouch(a);
  EXPECT_EQ(hero.IsNewItemTouch(a), 1) << "every entry of it goes";
  EXPECT_TRUE(hero.m_lTouched.empty());
}
