// The commands that change how a character or the stage looks and sounds:
// graphic, basic animation set, play animation, background, sound effect
// and music, and the arrange that a flow keeps for its next command.
#include <gtest/gtest.h>

#include <climits>

#include "command_test_env.h"
#include "game/action_commands.h"
#include "game/other_commands.h"
#include "records/arrange.h"
#include "records/command_vocab.h"
#include "records/database.h"
#include "records/save_data.h"
#include "records/stage.h"

using namespace cmdtest;

namespace {

struct LookRoom {
  LookRoom() {
    BuildRoom();
    chara = &world.AddChara(CharaDef(), {5, 5});
    off = &world.AddChara(CharaDef(), {30, 5});
    Settle(world);
    world.events.Clear();
  }
  GameWorld world;
  cChara* chara = nullptr;
  cChara* off = nullptr;  // off screen
};

// Animation set n whose first animation shows cell 100 + n.
void GiveAnimeSets(int count) {
  Database.m_vAnimeSet.resize(static_cast<size_t>(count));
  for (int n = 0; n < count; ++n) {
    cEdAnimeSet& set = Database.m_vAnimeSet[n];
    set.m_vSetAnime.resize(2);
    set.m_vSetAnime[0].m_vFrame.resize(1);
    set.m_vSetAnime[0].m_vFrame[0].m_nCell = 100 + n;
    set.m_vSetAnime[0].m_vFrame[0].m_nTime = 2;
  }
}

}  // namespace

TEST(LookCommands, TheGraphicCommandSetsKindNumberAndOffset) {
  LookRoom r;
  cEdCommand command = Item(ITEMCMDTYPE_CHANGE_GRAPHIC, {2, 37, -4});
  CmdChangeGraphic(*r.chara, command);
  EXPECT_EQ(r.chara->m_Def.m_nGraphicKind, 2);
  EXPECT_EQ(r.chara->m_Def.m_nGraphic, 37);
  EXPECT_EQ(r.chara->m_nGraphic, 37);
  EXPECT_EQ(r.chara->m_Def.m_nGraphicOffset, -4);
}

TEST(LookCommands, TheBasicAnimationSetChangesOnlyToAnotherSet) {
  LookRoom r;
  GiveAnimeSets(3);
  r.chara->SetBasicAnimeSet(0, 1);
  r.chara->m_Anime.Advance();
  cEdCommand same = Item(ITEMCMDTYPE_CHANGE_BASIC_ANIMESET, {0});
  CmdChangeBasicAnimeSet(*r.chara, same);
  EXPECT_EQ(r.chara->m_Anime.m_nTick, 1) << "the same set: the animation runs on";
  cEdCommand other = Item(ITEMCMDTYPE_CHANGE_BASIC_ANIMESET, {2});
  CmdChangeBasicAnimeSet(*r.chara, other);
  EXPECT_EQ(r.chara->m_Def.m_nAnimeSet, 2);
  EXPECT_EQ(r.chara->m_Anime.m_nTick, 0);
  EXPECT_EQ(r.chara->m_Anime.GetFrame(), 102);
  // Frame time × 6 and the closing loop step.
  ASSERT_EQ(r.chara->m_Anime.m_vPatterns[0].Size(), 2);
  EXPECT_EQ(r.chara->m_Anime.m_vPatterns[0][0].nTime, 12);
  EXPECT_EQ(r.chara->m_Anime.m_vPatterns[0][1].nFrame, ANIMECODE_LOOP);
}

TEST(LookCommands, APlayedAnimationGoesInFrontTaggedWithItsFlow) {
  GameWorld world;
  BuildRoom();
  Database.m_vAnime.resize(3);
  Database.m_vAnime[2].m_vFrame.resize(1);
  Database.m_vAnime[2].m_vFrame[0].m_nCell = 55;
  BuildDatabaseRunTables();
  cChara& chara = world.AddChara(
      CharaDef()
          .Flow(FlowDef(FLOWTRIGGER_NONE))
          .Flow(FlowDef().Command(Action(ACTCMDTYPE_PLAY_ANIME, {2})).Command(Action(ACTCMDTYPE_WAIT).UseTime(9))),
      {5, 5});
  Settle(world);
  chara.m_lAnimes.push_front(ATTACHEDANIME());
  PlayFlowFrames(world, 1, {&chara});
  ASSERT_EQ(chara.m_lAnimes.size(), 2u);
  const ATTACHEDANIME& played = chara.m_lAnimes.front();
  EXPECT_EQ(played.nKey, chara.m_vFlows[1].m_nSerial);
  EXPECT_EQ(played.bScheduled, 0);
  EXPECT_EQ(played.nLength, INT32_MAX) << "no limit of its own";
  EXPECT_EQ(played.m_Anime.GetFrame(), 55);
  // Outside flows it belongs to none.
  cEdCommand command = Item(ITEMCMDTYPE_PLAY_ANIME, {2});
  CmdPlayAnime(chara, command);
  EXPECT_EQ(chara.m_lAnimes.front().nKey, -1);
}

TEST(LookCommands, ABackgroundIsShownHiddenOrToggledWhenItsNumberIsOne) {
  struct Case {
    int number, how;
    std::vector<int> visible;  // of the two backgrounds; both start shown, the second hidden
  } cases[] = {
      {1, 1, {0, 0}}, {2, 0, {1, 1}}, {2, 2, {1, 1}}, {1, 2, {0, 0}},
      {0, 1, {1, 0}},  // 0 names none
      {3, 1, {1, 0}},  // count + 1 neither
      {1, 5, {1, 0}},  // nor an unknown change
  };
  for (const Case& c : cases) {
    LookRoom r;
    Stage.m_vBackground.resize(2);
    Stage.m_vBackground[1].m_bVisible = 0;
    cEdCommand command = Item(ITEMCMDTYPE_CHANGE_BACKGROUND, {c.number, c.how});
    CmdChangeBackground(*r.chara, command);
    EXPECT_EQ((std::vector<int>{Stage.m_vBackground[0].m_bVisible, Stage.m_vBackground[1].m_bVisible}), c.visible)
        << c.number << " " << c.how;
  }
}

TEST(LookCommands, SoundsFollowTheOnScreenRuleAndMusicGoesToTheStage) {
  struct Case {
    bool offScreen;
    int onScreenOnly, number;
    std::vector<std::string> sounds;
  } cases[] = {
      {false, 1, 3, {Slot(3)}}, {true, 1, 3, {}}, {true, 0, 3, {Slot(3)}},
      {false, 0, 0, {}},      // sound 0 is none
      {false, 0, 70000, {}},  // nor is one no record can have
  };
  for (const Case& c : cases) {
    LookRoom r;
    cEdCommand command = Item(ITEMCMDTYPE_PLAY_SE, {c.number});
    command.m_bSeOnScreenOnly = static_cast<uint8_t>(c.onScreenOnly);
    CmdPlaySe(c.offScreen ? *r.off : *r.chara, command);
    EXPECT_EQ(r.world.events.Texts(EventKind::Sound), c.sounds) << c.offScreen << c.onScreenOnly << c.number;
  }
  LookRoom r;
  cEdCommand music = Item(ITEMCMDTYPE_PLAY_BGM, {4, 1});
  CmdPlayBgm(*r.chara, music);
  EXPECT_EQ(LogLines(r.world, "RequestStageBgm"), (std::vector<std::string>{"RequestStageBgm 4 1"}));
}

TEST(LookCommands, AFlowsArrangeChangesTheNextCommandItStarts) {
  // Arrange: the background number of the next background command becomes
  // common variable 5 (= 2); that command, meant for 1, toggles 2; the one
  // after it toggles 1 as written.
  for (int level : {1, 3}) {
    GameWorld world(level);
    BuildRoom();
    Stage.m_vBackground.resize(2);
    PlayData.m_vCommonVar[5] = 2;
    const CommandDef toggle1 = Action(ACTCMDTYPE_CHANGE_BACKGROUND, {1, 2});
    cChara& chara = world.AddChara(
        CharaDef().Flow(FlowDef()
                            .Command(Action(ACTCMDTYPE_ARRANGE,
                                            {ACTCMDTYPE_CHANGE_BACKGROUND, 0, CALCOP_SET, VARKIND_COMMON, 5}))
                            .Command(toggle1)
                            .Command(toggle1)
                            .Command(Action(ACTCMDTYPE_WAIT).UseTime(9))),
        {5, 5});
    Settle(world);
    PlayFlowFrames(world, 1, {&chara});
    if (level == 1) PlayFlowFrames(world, 2, {&chara});
    EXPECT_EQ(Stage.m_vBackground[0].m_bVisible, 0) << "S " << level;
    EXPECT_EQ(Stage.m_vBackground[1].m_bVisible, 0) << "S " << level;
    EXPECT_EQ(chara.m_Def.m_vFlows[0].m_vCommands[1].m_vParams[0], 2) << "written into its record";
    EXPECT_TRUE(chara.m_vFlows[0].m_lArranges.empty());
  }
}
