// The shot, sword and summon commands in running flows: a volley or summon
// on the command's first step and every tenth of a second after it (6 × S
// logic steps), a sword once per run, and the command's sound left out off
// screen when it plays on screen only.
#include <gtest/gtest.h>

#include "command_test_env.h"
#include "game/shot.h"
#include "records/database.h"
#include "records/stage.h"

using namespace cmdtest;

namespace {

// Type `type` with use time `tenths` and sound 4, then a long wait, so the
// flow runs once in the frames a test plays.
cEdFlow ShotFlow(int type, int tenths, int onScreenOnly = 1) {
  CommandDef command = Action(type).UseTime(tenths);
  command.Def().m_spShot = OneShotRecord();
  command.Def().m_spShot->m_nPath = 1;  // the sword type
  command.Def().m_nSe = 4;
  command.Def().m_bSeOnScreenOnly = static_cast<uint8_t>(onScreenOnly);
  return FlowDef().Command(command).Command(Action(ACTCMDTYPE_WAIT).UseTime(100));
}

void GiveSwordType() {
  Database.m_vSwordType.resize(2);
  Database.m_vSwordType[1].m_vFrame.resize(1);
  Database.m_vSwordType[1].m_vFrame[0].m_nWidth = 24;
  Database.m_vSwordType[1].m_vFrame[0].m_nHeight = 8;
  Database.m_vSwordType[1].m_vFrame[0].m_nTime = 100;
}

// The objects the command made: shots and swords in the stage's list, or
// the summons the stage was asked to spawn.
int Made(GameWorld& world, int type) {
  switch (type) {
    case ACTCMDTYPE_SUMMON_BLOCK:
      return static_cast<int>(LogLines(world, "PutBlock").size());
    case ACTCMDTYPE_SUMMON_CHARA:
      return static_cast<int>(LogLines(world, "SpawnChara").size());
    case ACTCMDTYPE_SUMMON_ITEM:
      return static_cast<int>(LogLines(world, "SpawnItem").size());
    default:
      return world.Scene().m_Shots.Size();
  }
}

}  // namespace

TEST(ShotCommands, VolleysAndSummonsRepeatEveryTenthWhileTheSwordSwingsOnce) {
  const std::vector<std::string> thrice = {"1.1 20", "7.1 20", "13.1 20"};
  const std::vector<std::string> once = {"1.1 20"};
  struct Case {
    int type, tenths, level;
    std::vector<std::string> sounds;
  } cases[] = {
      {ACTCMDTYPE_SHOT, 3, 1, thrice},
      {ACTCMDTYPE_SHOT, 3, 3, thrice},  // 6 × S steps apart, not 6
      {ACTCMDTYPE_SHOT, 1, 3, once},
      {ACTCMDTYPE_SHOT, 0, 1, once},
      {ACTCMDTYPE_SWORD, 3, 1, once},
      {ACTCMDTYPE_SWORD, 3, 3, once},
      {ACTCMDTYPE_SUMMON_BLOCK, 3, 3, thrice},
      {ACTCMDTYPE_SUMMON_CHARA, 2, 1, {"1.1 20", "7.1 20"}},
      {ACTCMDTYPE_SUMMON_ITEM, 3, 3, thrice},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("type " + std::to_string(c.type) + " use time " + std::to_string(c.tenths) + " S " +
                 std::to_string(c.level));
    GameWorld world(c.level);
    BuildRoom();
    GiveSwordType();
    cChara& chara = world.AddChara(CharaDef().Flow(ShotFlow(c.type, c.tenths)), {5, 5});
    Settle(world);
    world.events.Clear();
    PlayFlowFrames(world, 16, {&chara});
    EXPECT_EQ(SoundsAt(world), c.sounds);
    EXPECT_EQ(Made(world, c.type), static_cast<int>(c.sounds.size()));
    if (c.type == ACTCMDTYPE_SWORD) {
      const cShot& sword = world.Scene().m_Shots.front();
      EXPECT_EQ(sword.m_nKind, SHOTKIND_SWORD);
      EXPECT_EQ(sword.m_nOwnerId, chara.m_nId);
      EXPECT_EQ(sword.m_nTargetId, OBJECT_NONE);
      EXPECT_EQ(world.Scene().m_nShotSerial, 1);
    }
  }
}

TEST(ShotCommands, AnOnScreenSoundIsLeftOutOffScreenButTheVolleyStillGoes) {
  struct Case {
    int cell, onScreenOnly;
    size_t sounds;
  } cases[] = {{5, 1, 1}, {30, 1, 0}, {30, 0, 1}};
  for (const Case& c : cases) {
    GameWorld world;
    BuildRoom();
    cChara& chara = world.AddChara(CharaDef().Flow(ShotFlow(ACTCMDTYPE_SHOT, 0, c.onScreenOnly)), {c.cell, 5});
    Settle(world);
    world.events.Clear();
    PlayFlowFrames(world, 1, {&chara});
    EXPECT_EQ(SoundsAt(world).size(), c.sounds) << c.cell << " " << c.onScreenOnly;
    EXPECT_EQ(world.Scene().m_Shots.Size(), 1);
  }
}

TEST(ShotCommands, ASwordOfABadTypeIsReportedAtTheSwing) {
  GameWorld world;
  BuildRoom();
  Database.m_vSwordType.resize(1);  // type 1 is not there
  cChara& chara = world.AddChara(CharaDef().Flow(ShotFlow(ACTCMDTYPE_SWORD, 0)), {5, 5});
  Settle(world);
  world.events.AllowCloseRequests(true);
  PlayFlowFrames(world, 1, {&chara});
  EXPECT_FALSE(world.events.Texts(EventKind::Close).empty());
}
