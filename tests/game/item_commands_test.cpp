// Item command lists on the hero with the real executors: what runs and
// what the list returns, the arranges of a list, get-item from the
// palettes (nested, its result, other palettes), and the flow change with
// its queue while the hero's own flows run.
#include <gtest/gtest.h>

#include "command_test_env.h"
#include "game/action_commands.h"
#include "game/flow_budget.h"
#include "game/flow_loops.h"
#include "game/item_commands.h"
#include "game/other_commands.h"
#include "records/arrange.h"
#include "records/command_vocab.h"
#include "records/common_palette.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "support/flow_recorder.h"

using namespace cmdtest;

namespace {

struct HeroStage {
  HeroStage() {
    BuildRoom();
    hero = &world.AddHero(CharaDef().PlayerOperated().Hp(10), {5, 5});
    Settle(world);
    world.events.Clear();
  }
  GameWorld world;
  cHero* hero = nullptr;
};

// Status operation: its own HP set to the constant 0.
cEdCommand HpToZero() {
  cEdCommand command = Item(ITEMCMDTYPE_STATUS_OP);
  command.m_vParams[0] = VALUEKIND_STATUS;
  command.m_vParams[3] = SUBJECT_SELF;
  command.m_vParams[4] = STATUS_HP;
  command.m_vParams[5] = CALCOP_SET;
  command.m_vParams[6] = OPERAND_CONST;
  command.m_vParams[7] = 0;
  return command;
}

}  // namespace

TEST(ItemLists, TheListRunsUntilAClearOrTheHerosFallAndSaysWhich) {
  const cEdCommand message = Item(ITEMCMDTYPE_MESSAGE);
  struct Case {
    const char* name;
    std::vector<cEdCommand> list;
    int hp;
    int result;
    std::vector<std::string> sounds;
  } cases[] = {
      {"every command runs", {ItemSound(1), ItemSound(2)}, 10, 0, {Slot(1), Slot(2)}},
      {"a clear ends it", {ItemSound(1), Item(ITEMCMDTYPE_STAGE_CLEAR), ItemSound(2)}, 10, 1, {Slot(1)}},
      {"HP brought to 0 ends it", {ItemSound(1), HpToZero(), ItemSound(2)}, 10, 2, {Slot(1)}},
      {"a hero down already runs one", {ItemSound(1), ItemSound(2)}, 0, 2, {Slot(1)}},
      {"a LOOP runs nothing", {Item(ITEMCMDTYPE_LOOP, {3, 1}), ItemSound(1)}, 10, 0, {Slot(1)}},
      {"a type byte past the table runs nothing", {Item(30), Item(-3), ItemSound(1)}, 10, 0, {Slot(1)}},
      {"none", {Item(ITEMCMDTYPE_NONE)}, 10, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeroStage h;
    h.hero->m_nHp = c.hp;
    cVector<cEdCommand> list(c.list.begin(), c.list.end());
    EXPECT_EQ(h.hero->RunItemCommands(list), c.result);
    EXPECT_EQ(h.world.events.Texts(EventKind::Sound), c.sounds);
  }
}

TEST(ItemLists, AnArrangeChangesTheNextCommandOnlyAndTakesCommonVariables) {
  HeroStage h;
  Stage.m_vBackground.resize(3);
  PlayData.m_vCommonVar[5] = 3;
  // Background number of the next background command = common variable 5.
  const cEdCommand arrange =
      Item(ITEMCMDTYPE_ARRANGE, {ACTCMDTYPE_CHANGE_BACKGROUND, 0, CALCOP_SET, VARKIND_COMMON, 5});
  cVector<cEdCommand> list;
  list.push_back(arrange);
  list.push_back(Item(ITEMCMDTYPE_CHANGE_BACKGROUND, {1, 1}));  // hides 3 instead of 1
  list.push_back(Item(ITEMCMDTYPE_CHANGE_BACKGROUND, {2, 1}));  // hides 2 as written
  EXPECT_EQ(h.hero->RunItemCommands(list), 0);
  EXPECT_EQ(Stage.m_vBackground[0].m_bVisible, 1);
  EXPECT_EQ(Stage.m_vBackground[1].m_bVisible, 0);
  EXPECT_EQ(Stage.m_vBackground[2].m_bVisible, 0);
  EXPECT_EQ(list[1].m_vParams[0], 3) << "the change is written into the command";
  EXPECT_TRUE(h.hero->m_lPendingArranges.empty());
}

TEST(GetItemCommand, TheHeroRunsAPaletteItemsListAndItsResultBecomesTheStages) {
  struct Case {
    const char* name;
    int palette;
    bool clears;
    int resultBefore, resultAfter;
    std::vector<std::string> sounds;
  } cases[] = {
      {"common palette", 0, false, 0, 0, {Slot(1)}},
      {"stage palette", 1, false, 0, 0, {Slot(2)}},
      {"a clearing item clears", 1, true, 0, 1, {Slot(2)}},
      {"an earlier clear stands", 0, false, 1, 1, {Slot(1)}},
      {"another palette runs nothing", 2, true, 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeroStage h;
    CommonPalette.m_vPaletteItem.resize(3);
    Stage.m_vPaletteItem.resize(3);
    CommonPalette.m_vPaletteItem[2].m_vCommands.push_back(ItemSound(1));
    Stage.m_vPaletteItem[2].m_vCommands.push_back(ItemSound(2));
    if (c.clears) Stage.m_vPaletteItem[2].m_vCommands.push_back(Item(ITEMCMDTYPE_STAGE_CLEAR));
    h.world.Scene().m_nCommandResult = c.resultBefore;
    cEdCommand get = Item(ITEMCMDTYPE_GET_ITEM, {c.palette, 2});
    EXPECT_EQ(ItemCmdGetItem(*h.hero, get), 0) << "the giving list goes on";
    EXPECT_EQ(h.world.Scene().m_nCommandResult, c.resultAfter);
    EXPECT_EQ(h.world.events.Texts(EventKind::Sound), c.sounds);
  }
}

TEST(GetItemCommand, AnItemThatGivesItselfStopsSixteenDeepAndAtItsBudget) {
  HeroStage h;
  CommonPalette.m_vPaletteItem.resize(2);
  cVector<cEdCommand>& list = CommonPalette.m_vPaletteItem[1].m_vCommands;
  list.push_back(Item(ITEMCMDTYPE_GET_ITEM, {0, 1}));
  list.push_back(ItemSound(1));
  cEdCommand get = Item(ITEMCMDTYPE_GET_ITEM, {0, 1});
  CmdGetItem(*h.hero, get);
  EXPECT_EQ(h.world.events.Texts(EventKind::Sound).size(), static_cast<size_t>(GETITEM_MAX_DEPTH));
  EXPECT_EQ(LogLines(h.world, "CmdGetItem").size(), 1u);
  // And from scratch again afterwards.
  h.world.events.Clear();
  CmdGetItem(*h.hero, get);
  EXPECT_EQ(h.world.events.Texts(EventKind::Sound).size(), static_cast<size_t>(GETITEM_MAX_DEPTH));

  // Giving itself twice would run 2^16 lists: one outermost get-item runs
  // a bounded number of them.
  list.insert(list.begin(), Item(ITEMCMDTYPE_GET_ITEM, {0, 1}));
  h.world.events.Clear();
  CmdGetItem(*h.hero, get);
  EXPECT_EQ(h.world.events.Texts(EventKind::Sound).size(), static_cast<size_t>(GETITEM_MAX_RUNS));
  EXPECT_EQ(LogLines(h.world, "CmdGetItem").size(), 1u);
}

TEST(GetItemCommand, AFlowsGetItemRunsThePaletteListWithItsLoopNotExpanded) {
  for (int level : {1, 3}) {
    HeroStage h;
    Stage.SetSpeedLevel(level);
    CommonPalette.m_vPaletteItem.resize(2);
    cVector<cEdCommand>& list = CommonPalette.m_vPaletteItem[1].m_vCommands;
    list.push_back(Item(ITEMCMDTYPE_LOOP, {3, 1}));
    list.push_back(ItemSound(4));
    cChara& giver = h.world.AddChara(
        CharaDef().Flow(FlowDef().Command(Action(ACTCMDTYPE_GET_ITEM, {0, 1})).Command(Action(ACTCMDTYPE_WAIT).UseTime(9))),
        {8, 5});
    Settle(h.world);
    PlayFlowFrames(h.world, 2, {&giver});
    EXPECT_EQ(SoundsAt(h.world), (std::vector<std::string>{"1.1 " + Slot(4)})) << "S " << level;
  }
}

namespace {

cEdFlow Carried(int id) { return FlowDef(FLOWTRIGGER_NONE).Id(id).Command(Action(ACTCMDTYPE_WAIT)); }

}  // namespace

TEST(FlowChange, FlowsAreAddedReplacedOrDeletedInOrder) {
  // The hero has flows of IDs 1, 2, 3, 2.
  struct Case {
    const char* name;
    int op, id;
    std::vector<int> carried;
    std::vector<int> after;
    bool heroCurrent = false;  // its flows are stepping: the change waits in its queue
  } cases[] = {
      {"add", FLOWCHANGE_ADD, 0, {7, 8}, {1, 2, 3, 2, 7, 8}},
      {"replace where the first stood", FLOWCHANGE_REPLACE, 2, {7, 8}, {1, 7, 8, 3}},
      {"replace an ID nobody has: appended", FLOWCHANGE_REPLACE, 5, {7}, {1, 2, 3, 2, 7}},
      {"replace every flow", FLOWCHANGE_REPLACE, 0, {7, 8}, {7, 8}},
      {"delete", FLOWCHANGE_DELETE, 2, {7}, {1, 3}},
      {"delete every flow", FLOWCHANGE_DELETE, 0, {}, {}},
      {"the ID is a byte", FLOWCHANGE_DELETE, 256 + 3, {}, {1, 2, 2}},
      {"an unknown change", 3, 2, {7}, {1, 2, 3, 2}},
      {"while its flows step", FLOWCHANGE_DELETE, 0, {}, {1, 2, 3, 2}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeroStage h;
    for (int id : {1, 2, 3, 2}) h.hero->m_Def.m_vFlows.push_back(Carried(id));
    h.hero->BuildFlows(h.hero->m_Def.m_vFlows, 0, -1);
    h.hero->m_lAnimes.push_front(ATTACHEDANIME());
    h.hero->m_lAnimes.front().nKey = -1;  // no flow's: goes only with every flow
    cEdCommand command = Item(ITEMCMDTYPE_FLOW_CHANGE, {c.op, c.id});
    for (int id : c.carried) command.m_vFlows.push_back(Carried(id));
    if (c.heroCurrent) h.world.Scene().m_lpCurChara = h.hero;
    EXPECT_EQ(ItemCmdFlowChange(*h.hero, command), 0);
    EXPECT_EQ(h.hero->m_vQueuedFlowChanges.Size(), c.heroCurrent ? 1 : 0);
    EXPECT_EQ(FlowIds(*h.hero), c.after);
    ASSERT_EQ(h.hero->m_vFlows.Size(), static_cast<int>(c.after.size()));
    for (int i = 0; i < h.hero->m_vFlows.Size(); ++i) {
      const cFlowInstance& flow = h.hero->m_vFlows[i];
      EXPECT_EQ(flow.m_pFlow, &h.hero->m_Def.m_vFlows[i]) << "instances follow their records";
      EXPECT_EQ(flow.m_nIndex, i);
      EXPECT_EQ(flow.m_bRunning, 0) << "new flows arrive idle";
    }
    const bool everyFlowGoes =
        !c.heroCurrent && c.id == 0 && (c.op == FLOWCHANGE_REPLACE || c.op == FLOWCHANGE_DELETE);
    EXPECT_EQ(h.hero->m_lAnimes.size(), everyFlowGoes ? 0u : 1u);
  }
}

TEST(FlowChange, WhileTheHerosFlowsRunTheChangeWaitsForTheEndOfItsFlowPass) {
  // The hero's flow gives it an item whose list adds an ALWAYS flow with
  // sound 6: queued during the pass, added after it, fired by the next
  // trigger: the next frame at S = 1, the next step at S = 3.
  struct Case {
    int level;
    std::vector<std::string> sounds;
  } cases[] = {{1, {"2.1 " + Slot(6)}}, {3, {"1.2 " + Slot(6)}}};
  for (const Case& c : cases) {
    SCOPED_TRACE("S " + std::to_string(c.level));
    GameWorld world(c.level);
    BuildRoom();
    CommonPalette.m_vPaletteItem.resize(2);
    cEdCommand add = Item(ITEMCMDTYPE_FLOW_CHANGE, {FLOWCHANGE_ADD, 0});
    add.m_vFlows.push_back(FlowDef().Id(9).Command(ActionSound(6)).Command(Action(ACTCMDTYPE_WAIT).UseTime(50)));
    CommonPalette.m_vPaletteItem[1].m_vCommands.push_back(add);
    cHero& hero = world.AddHero(CharaDef().PlayerOperated().Flow(
                                    FlowDef()
                                        .Id(1)
                                        .Command(Action(ACTCMDTYPE_GET_ITEM, {0, 1}).NoWait())
                                        .Command(Action(ACTCMDTYPE_WAIT).UseTime(50))),
                                {5, 5});
    Settle(world);
    // The real get-item and sound; the hero's wait looks at the queue in the pass.
    FlowRecorder recorder;
    recorder.OnRun(ACTCMDTYPE_GET_ITEM, [](cCharaBase& ch, cCommandInstance& i) { ActGetItem(ch, i); });
    recorder.OnRun(ACTCMDTYPE_PLAY_SE, [](cCharaBase& ch, cCommandInstance& i) { ActPlaySe(ch, i); });
    std::string inThePass;
    recorder.OnRun(ACTCMDTYPE_WAIT, [&](cCharaBase&, cCommandInstance&) {
      if (inThePass.empty())
        inThePass = std::to_string(hero.m_vQueuedFlowChanges.Size()) + " queued, " +
                    std::to_string(hero.m_vFlows.Size()) + " flow";
    });
    world.events.Clear();
    PlayFlowFrames(world, 2, {&hero});
    EXPECT_EQ(inThePass, "1 queued, 1 flow");
    EXPECT_EQ(FlowIds(hero), (std::vector<int>{1, 9}));
    EXPECT_TRUE(hero.m_vQueuedFlowChanges.empty());
    EXPECT_EQ(SoundsAt(world), c.sounds);
  }
}

// What one frame's flow changes may make is capped: a carried flow whose
// LOOPs expand past the frame's budget is not built, repeated changes stop
// at it (queued or not), and one debug-log line says so; the next frame
// builds again.
TEST(FlowChange, OneFramesFlowChangesBuildWithinTheirBudget) {
  auto looped = [](int times) {
    cEdCommand add = Item(ITEMCMDTYPE_FLOW_CHANGE, {FLOWCHANGE_ADD, 0});
    add.m_vFlows.push_back(FlowDef().Command(Action(ACTCMDTYPE_LOOP, {times, 1})).Command(Action(ACTCMDTYPE_WAIT)));
    return add;
  };
  const int half = static_cast<int>(FLOWCHANGE_MAX_COMMANDS / 2);
  struct Case {
    const char* name;
    int times, changes;
    bool queued;
    int flows;
  } cases[] = {
      {"a LOOP at its cap", LOOP_MAX_COMMANDS, 1, false, 0},
      {"a LOOP to half the budget, made", half, 4, false, 1},
      {"a LOOP to half the budget, queued", half, 4, true, 1},
      {"small flows", 3, 40, true, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeroStage h;
    cVector<cEdCommand> list;
    for (int i = 0; i < c.changes; ++i) list.push_back(looped(c.times));
    if (c.queued) h.world.Scene().m_lpCurChara = h.hero;
    h.hero->RunItemCommands(list);
    h.world.Scene().m_lpCurChara = nullptr;
    h.hero->ApplyQueuedFlowChanges();
    ASSERT_EQ(h.hero->m_vFlows.Size(), c.flows);
    int64_t built = 0;
    for (const cFlowInstance& f : h.hero->m_vFlows) built += f.m_vCommands.Size();
    EXPECT_LE(built, FLOWCHANGE_MAX_COMMANDS);
    EXPECT_EQ(LogLines(h.world, "CmdFlowChange").size() + LogLines(h.world, "BuildFlows").size(),
              c.flows == c.changes ? 0u : 1u);
    // The next frame has a budget of its own.
    h.world.Scene().m_nFrameCount += 1;
    cVector<cEdCommand> again{looped(c.times == LOOP_MAX_COMMANDS ? half : c.times)};
    h.hero->RunItemCommands(again);
    EXPECT_EQ(h.hero->m_vFlows.Size(), c.flows + 1);
  }
}

TEST(FlowChange, ACharacterHoldsAtMostItsFlowCap) {
  HeroStage h;
  cEdCommand add = Item(ITEMCMDTYPE_FLOW_CHANGE, {FLOWCHANGE_ADD, 0});
  for (int i = 0; i < 300; ++i) add.m_vFlows.push_back(Carried(1));
  for (int frame = 0; frame < 5; ++frame) {
    h.world.Scene().m_nFrameCount = frame;
    ItemCmdFlowChange(*h.hero, add);
  }
  EXPECT_EQ(h.hero->m_vFlows.Size(), CHARA_MAX_FLOWS);
  EXPECT_EQ(h.hero->m_Def.m_vFlows.Size(), CHARA_MAX_FLOWS);
  EXPECT_EQ(LogLines(h.world, "BuildFlows").size(), 2u);  // once in each frame that was cut
}
