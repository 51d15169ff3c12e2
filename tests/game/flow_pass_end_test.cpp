// A flow pass that ends early (the character vanished or lost its HP) still
// applies what its flows queued before: the hero's flow changes, the flows
// marked for deletion and the switch letters released.
#include <gtest/gtest.h>

#include "command_test_env.h"
#include "game/item_commands.h"
#include "records/command_vocab.h"
#include "records/stage.h"

using namespace cmdtest;

TEST(FlowPassEnd, QueuedChangesRemovalsAndReleasesSurviveAnEarlyEnd) {
  struct Case {
    const char* name;
    bool hero;  // the hero loses its HP; a computer character vanishes
  } cases[] = {{"a computer character vanishes", false}, {"the hero loses its HP", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world;
    BuildRoom();
    // Stage item 0 deletes the flows of ID 3 when the hero gets it.
    cEdItem giver;
    giver.m_vCommands.push_back(Item(ITEMCMDTYPE_FLOW_CHANGE, {FLOWCHANGE_DELETE, 3}));
    Stage.m_vPaletteItem.push_back(giver);
    const int giverIndex = Stage.m_vPaletteItem.Size() - 1;
    // Flow 1 (switch letter 1): get the item, delete the flows of ID 2,
    // then take itself out of play (a vanish, or HP 0 for the hero).
    const cEdFlow first = FlowDef()
                              .Id(1)
                              .Switch(1)
                              .Command(Action(ACTCMDTYPE_GET_ITEM, {1, giverIndex}).NoWait())
                              .Command(Action(ACTCMDTYPE_FLOW_OPERATION, {FLOWOP_DELETE, FLOWOPTARGET_BY_ID, 2}).NoWait())
                              .Command(Action(ACTCMDTYPE_STATUS_OP2, {0, 0, 0}));
    const CharaDef def = CharaDef()
                             .Flow(first)
                             .Flow(FlowDef(FLOWTRIGGER_NONE).Id(2))
                             .Flow(FlowDef(FLOWTRIGGER_NONE).Id(3))
                             .Flow(FlowDef(FLOWTRIGGER_NONE).Id(4));
    cHero& hero = world.AddHero(c.hero ? CharaDef(def).PlayerOperated() : CharaDef().PlayerOperated(), {1, 1});
    cCharaBase& chara = c.hero ? static_cast<cCharaBase&>(hero) : world.AddChara(def, {5, 5});
    Settle(world);
    chara.ResetStepTriggers();
    int result = -1;
    world.RunFrame([&](int step) {
      if (step == 0) result = StepFlows(chara);
    });
    EXPECT_EQ(result, 1) << "the pass reports the end";
    // The item's change is the hero's alone: a computer character keeps ID 3.
    EXPECT_EQ(FlowIds(chara), c.hero ? (std::vector<int>{1, 4}) : (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(chara.m_bFlowRemoval, 0);
    EXPECT_EQ(chara.m_bSwitchRelease, 0);
    EXPECT_EQ(chara.m_vSwitchTaken.At(1), 0) << "the letter is free again";
    EXPECT_TRUE(hero.m_vQueuedFlowChanges.empty());
    EXPECT_EQ(world.Scene().m_lpCurChara, nullptr);
  }
}
