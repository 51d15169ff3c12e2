// A seeded soak of the contact, attack and summon rules: a generated stage
// with moving block characters and riders, characters of all eight groups
// (and one outside them) that shoot, summon characters, items and blocks,
// and items whose commands vanish characters and shots, played for
// thousands of frames through the stage scene under the sanitizers. Between
// frames every group list must name only live objects of the stage.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "game/characters.h"
#include "records/command_types.h"
#include "records/command_vocab.h"
#include "records/item.h"
#include "records/save_data.h"
#include "records/shot.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/flow_builders.h"
#include "support/stage_runner.h"

using namespace testsupport;

namespace {

class Generator {
 public:
  explicit Generator(unsigned seed) : m_rng(seed) {}
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
  bool Chance(int percent) { return Int(0, 99) < percent; }

  // A command making objects of `type` with a fresh record.
  cEdCommand Maker(int type) {
    CommandDef command(type);
    command.UseTime(Int(1, 8));
    CreateEdShot(command.Def().m_spShot);
    cEdShot& def = *command.Def().m_spShot;
    def.m_nCount = static_cast<int8_t>(Int(1, 3));
    def.m_nAngle = static_cast<int16_t>(Int(0, 359));
    def.m_nSpeed = static_cast<int16_t>(Int(0, 60));
    def.m_bLifeLimit = 1;
    def.m_nLife = static_cast<int16_t>(Int(5, 30));
    def.m_bRangeLimit = 1;
    def.m_nRange = static_cast<int16_t>(Int(5, 40));  // summons: their lifetime
    def.m_bClash = static_cast<int8_t>(Chance(50));
    def.m_nVanish = static_cast<int8_t>(Int(1, 9));
    def.m_nPower = Int(0, 3);
    def.m_nImpact = static_cast<int8_t>(Int(-3, 3));
    def.m_bPierce = static_cast<int8_t>(Chance(30));
    def.m_bPierceBlockChara = static_cast<int8_t>(Chance(30));
    def.m_bUserSide = static_cast<int8_t>(Chance(70));
    def.m_nSide = static_cast<int8_t>(Int(0, 7));
    def.m_nOffsetX = static_cast<int16_t>(Int(-40, 40));
    def.m_nOffsetY = static_cast<int16_t>(Int(-40, 40));
    def.m_nSummonPalette = 1;
    def.m_nSummonMode = static_cast<int8_t>(Int(0, 2));
    def.m_bSummonOffHero = static_cast<int8_t>(Chance(50));
    def.m_bSummonOffChara = static_cast<int8_t>(Chance(50));
    def.m_nSummonSide = static_cast<int8_t>(Int(0, 2));
    if (Chance(20)) {
      def.m_nItemKind = 2;
      def.m_nItemIndex = 0;
    }
    return command;
  }

  cEdFlow Flow(int nTypes) {
    FlowDef flow(FLOWTRIGGER_ALWAYS);
    // Half of them shoot.
    static const int kTypes[] = {ACTCMDTYPE_SHOT,         ACTCMDTYPE_SHOT,        ACTCMDTYPE_SHOT,
                                 ACTCMDTYPE_SUMMON_CHARA, ACTCMDTYPE_SUMMON_ITEM, ACTCMDTYPE_SUMMON_BLOCK};
    const int type = kTypes[Int(0, nTypes - 1)];
    cEdCommand maker = Maker(type);
    if (type != ACTCMDTYPE_SHOT) maker.m_spShot->m_nSummonIndex = static_cast<int16_t>(Int(0, 2));
    flow.Command(maker);
    flow.Command(CommandDef(ACTCMDTYPE_WAIT).UseTime(Int(5, 20)));
    return flow;
  }

  // An item whose commands vanish the characters or the shots of a group.
  cEdItem VanishingItem() {
    cEdItem item;
    item.m_nGraphic = 1;
    item.m_nPickupMode = static_cast<int8_t>(Int(0, 1));
    item.m_bPickupPopup = 0;
    CommandDef vanish(ACTCMDTYPE_VANISH);
    cEdCommand command = vanish;
    command.m_bItemCommand = 1;
    command.m_nType = ITEMCMDTYPE_VANISH;
    command.m_vParams.assign(static_cast<size_t>(std::max(CommandParamCount(1, ITEMCMDTYPE_VANISH), 3)), 0);
    command.m_vParams[0] = Int(0, 1);
    command.m_vParams[1] = Int(0, 7);
    command.m_vParams[2] = 1;
    item.m_vCommands.push_back(command);
    return item;
  }

 private:
  std::mt19937 m_rng;
};

// Every member of a group list is a live object of the stage.
void ExpectGroupsSound(const cSceneStage& scene) {
  for (const cList<cCharaBase*>& group : scene.m_CharaGroups)
    for (const cCharaBase* member : group) {
      bool found = !Player.empty() && member == &Player[0];
      for (const cChara& c : CharaList) found = found || member == &c;
      ASSERT_TRUE(found) << "a character group names an object that is not in the stage";
      ASSERT_FALSE(member->m_bGone);
    }
  for (const cList<cShot*>& group : scene.m_ShotGroups)
    for (const cShot* member : group) {
      bool found = false;
      for (const cShot& s : scene.m_Shots) found = found || member == &s;
      ASSERT_TRUE(found) << "a shot group names a shot that is not in the stage";
    }
}

}  // namespace

TEST(ContactsSoak, AGeneratedStagePlaysThousandsOfFramesWithSoundLists) {
  int contacts = 0, shotHits = 0, bodies = 0;
  size_t mostShots = 0, mostCharas = 0;
  for (unsigned seed : {11u, 29u, 47u}) {
    SCOPED_TRACE(seed);
    Generator gen(seed);
    StageRunner run;
    StageSettings().Speed(gen.Int(1, 4));
    std::vector<std::string> rows(14, std::string(30, '.'));
    rows[13] = std::string(30, '#');
    rows[0] = std::string(30, '#');
    for (int i = 0; i < 20; ++i) rows[static_cast<size_t>(gen.Int(4, 12))][static_cast<size_t>(gen.Int(0, 29))] = '#';
    rows[11][2] = 'H';
    for (int i = 0; i < 24; ++i) rows[static_cast<size_t>(gen.Int(2, 11))][static_cast<size_t>(gen.Int(3, 22))] = 'e';
    for (int i = 0; i < 6; ++i) rows[static_cast<size_t>(gen.Int(3, 10))][static_cast<size_t>(gen.Int(3, 22))] = 'b';
    for (int i = 0; i < 8; ++i) rows[static_cast<size_t>(gen.Int(2, 12))][static_cast<size_t>(gen.Int(3, 28))] = 'i';
    MapBuilder map(rows);
    map.Build();

    CharaDef hero = CharaDef().PlayerOperated().Hp(999999);
    hero.Def().m_nPower = 1;
    hero.Flow(gen.Flow(3));
    map.PlaceCharas('H', hero);
    for (const Cell& at : map.FindAll('e')) {
      CharaDef def = CharaDef().Group(gen.Chance(5) ? 9 : gen.Int(0, 7)).Hp(gen.Int(1, 20)).Fly(gen.Int(0, 3));
      def.Def().m_nPower = gen.Int(0, 2);
      def.Flow(gen.Flow(6));
      Stage.m_vPlacedChara.push_back(def);
      Stage.m_vPlacedChara.back().m_nX = static_cast<int16_t>(at.first);
      Stage.m_vPlacedChara.back().m_nY = static_cast<int16_t>(at.second);
    }
    for (const Cell& at : map.FindAll('b')) {
      CharaDef def = CharaDef().BlockChara().Fly(gen.Chance(50) ? FLYMODE_THROUGH : FLYMODE_STOPPED).Group(gen.Int(0, 7));
      Stage.m_vPlacedChara.push_back(def);
      Stage.m_vPlacedChara.back().m_nX = static_cast<int16_t>(at.first);
      Stage.m_vPlacedChara.back().m_nY = static_cast<int16_t>(at.second);
    }
    map.PlaceItems('i', gen.VanishingItem());
    // The summons' palettes.
    for (int i = 0; i < 3; ++i) {
      CharaDef def = CharaDef().Group(gen.Int(0, 8)).Hp(gen.Int(1, 5)).Fly(gen.Int(0, 3));
      if (i == 2) def.BlockChara().Fly(FLYMODE_THROUGH);
      Stage.m_vPaletteChara.push_back(def);
      Stage.m_vPaletteItem.push_back(gen.VanishingItem());
      cEdBlock block = BlockDef().Def();
      block.m_nGraphic = static_cast<int16_t>(i + 1);
      block.m_bProtected = static_cast<int8_t>(i == 1);
      Stage.m_vPaletteBlock.push_back(block);
    }
    run.TakeStage();
    PlayData.m_nStartLives = LIVES_INFINITE;
    // A death restarts the stage at once, without the retry menu's question.
    SystemData.m_bRetryMenuOnMiss = 0;

    // The block characters wander; the hero runs and jumps at random.
    Generator moves(seed + 1);
    int playFrames = 0;
    run.beforeFrame = [&](int frame) {
      if (cSceneStage* scene = run.Scene()) {
        mostShots = std::max(mostShots, scene->m_Shots.size());
        mostCharas = std::max(mostCharas, CharaList.size());
        if (scene->m_nPhase == STAGESTATE_PLAY) ++playFrames;
        if (frame % 20 == 0)
          for (cChara& c : CharaList)
            if (c.m_Def.m_bBlockChara) {
              c.m_dStopDecel = 0;
              c.m_dInertiaX = moves.Int(-20, 20) / 10.0;
              c.m_dInertiaY = c.m_bNoGravity ? moves.Int(-20, 20) / 10.0 : 0;
            }
        ExpectGroupsSound(*scene);
      }
      SystemData.m_bRetryMenuOnMiss = 0;
    };
    for (int i = 0; i < 300; ++i) run.keys.Hold(gen.Int(0, 15), gen.Int(0, 3), gen.Int(1, 20));
    run.Events().AllowCloseRequests(false);
    ASSERT_TRUE(run.EnterPlay());
    run.Frames(2000);
    ASSERT_NE(run.Scene(), nullptr);
    ExpectGroupsSound(*run.Scene());
    for (const std::string& t : run.Events().Texts(EventKind::Trigger)) {
      const int trigger = std::stoi(t);
      contacts += trigger == FLOWTRIGGER_HIT_BLOCK_CHARA;
      shotHits += trigger == FLOWTRIGGER_HIT_SHOT;
      bodies += trigger == FLOWTRIGGER_HIT_CHARA;
    }
    EXPECT_GT(playFrames, 1000);
  }
  // It did what it was meant to: shots flew, summons came, and the rules met them.
  std::printf("at most %zu shots and %zu characters, %d contacts, %d shot hits, %d body contacts\n", mostShots,
              mostCharas, contacts, shotHits, bodies);
  EXPECT_GT(mostShots, 10u);
  EXPECT_GT(mostCharas, 20u);
  EXPECT_GT(contacts, 0);
  EXPECT_GT(shotHits, 0);
  EXPECT_GT(bodies, 0);
}
