// Attacks, defeats and pick-ups on small built stages: which logic steps of
// a frame shots hit on (through the play step), shots against characters,
// bodies against bodies, shots against shots, the defeat check and the
// hero's pick-ups, each by its table of cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/gone_objects.h"
#include "records/command_types.h"
#include "records/command_vocab.h"
#include "records/item.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/flow_builders.h"
#include "support/game_world.h"
#include "support/recording_renderer.h"

using namespace testsupport;

namespace {

class Attacks : public ::testing::Test {
 protected:
  void SetUp() override { Build(1); }
  void Build(int steps) {
    CharaList.clear();
    ItemList.clear();
    scene.m_Shots.clear();
    for (auto& group : scene.m_CharaGroups) group.clear();
    for (auto& group : scene.m_ShotGroups) group.clear();
    Stage.SetSpeedLevel(steps);
    MapBuilder(std::vector<std::string>(12, std::string(20, '.'))).BuildForPlay(scene);
    scene.m_nStepInFrame = 1;
    Stage.m_bHitOnScreen = 0;
    Stage.m_nHitChecks = 0;
    scene.m_vHitSteps = MakeHitSteps(Stage.StepsPerFrame(), 0);
    hero = &world.AddHero(CharaDef().PlayerOperated(), {0, 0});
    hero->m_bPresent = 1;
  }
  cChara& Add(const cEdChara& def, Cell at = {5, 5}) {
    cChara& c = world.AddChara(def, at);
    c.m_bPresent = 1;
    return c;
  }
  // A still shot of `group` over `target`.
  cShot& ShotAt(const cCharaBase& target, int group, cEdShot def) {
    def.m_bUserSide = 0;
    def.m_nSide = static_cast<int8_t>(group);
    SHOTSPAWN sp;
    sp.nX = static_cast<int32_t>(target.m_rcHit.dLeft);
    sp.nY = static_cast<int32_t>(target.m_rcHit.dTop);
    cShot built;
    built.Init(scene.m_nShotSerial++, *hero, SHOTMAKER_SHOT, def, sp);
    return scene.AddShot(built);
  }
  static cEdShot Power(int power) {
    cEdShot def;
    def.m_nPower = power;
    return def;
  }
  std::vector<std::string> Sounds() { return world.events.Texts(EventKind::Sound); }
  int Fired(int trigger, const cCharaBase& c) {
    const std::string text = std::to_string(trigger) + " " + std::to_string(c.m_nId);
    const std::vector<std::string> all = world.events.Texts(EventKind::Trigger);
    return static_cast<int>(std::count(all.begin(), all.end(), text));
  }
  // An item whose command list clears the stage.
  static cEdItem ClearingItem() {
    cEdItem item;
    item.m_nGraphic = 1;
    cEdCommand command;
    command.m_bItemCommand = 1;
    command.m_nType = ITEMCMDTYPE_STAGE_CLEAR;
    command.m_vParams.assign(static_cast<size_t>(std::max(CommandParamCount(1, ITEMCMDTYPE_STAGE_CLEAR), 1)), 0);
    item.m_vCommands.push_back(command);
    return item;
  }

  cSceneStage scene;
  GameWorld world{scene};
  RecordingRenderer renderer;
  cHero* hero = nullptr;
};

}  // namespace

TEST_F(Attacks, ShotsHitOnTheLogicStepsTheHitCheckLevelChoosesAndBodiesOnEvery) {
  struct Case {
    int steps, level;
    std::vector<int> shotSteps;
  } cases[] = {
      {1, 0, {1}}, {3, 0, {1, 2, 3}}, {3, 1, {1}}, {3, 2, {1, 2}}, {10, 2, {1, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.steps) + " steps, level " + std::to_string(c.level));
    Build(c.steps);
    Stage.m_nHitChecks = c.level;
    scene.m_vHitSteps = MakeHitSteps(c.steps, c.level);
    // A harmless still shot and a harmless body on a walker of group 2.
    cChara& enemy = Add(CharaDef().Group(2), {0, 0});
    ShotAt(enemy, 1, cEdShot());
    world.events.Clear();
    scene.Play();
    std::vector<int> shotSteps;
    int bodySteps = 0;
    for (const GameEvent& e : world.events.All()) {
      if (e.kind != EventKind::Trigger) continue;
      if (e.text == std::to_string(FLOWTRIGGER_HIT_SHOT) + " " + std::to_string(enemy.m_nId)) shotSteps.push_back(e.step);
      if (e.text == std::to_string(FLOWTRIGGER_HIT_CHARA) + " " + std::to_string(enemy.m_nId)) ++bodySteps;
    }
    EXPECT_EQ(shotSteps, c.shotSteps);
    EXPECT_EQ(bodySteps, c.steps);
  }
}

TEST_F(Attacks, AShotMeetsACharacterByItsCase) {
  enum { SHOT, SWORD };
  struct Case {
    const char* what;
    int shotGroup;
    int kind;
    int power;
    int pierce, pierceBlock;
    int invincibleSetting;  // of the target's definition
    int invincibleSteps;    // counting down
    bool blockChara;
    // expected
    int triggers;
    int hp;
    std::vector<std::string> sounds;
    bool shotGone;
    bool listed;  // in the shot's hit list
  } cases[] = {
      {"a plain hit", 1, SHOT, 4, 0, 0, 0, 0, false, 1, 6, {"7"}, true, false},
      {"its own group", 2, SHOT, 4, 0, 0, 0, 0, false, 0, 10, {}, false, false},
      {"shots pass invincible state 2", 1, SHOT, 4, 0, 0, 2, 0, false, 0, 10, {}, false, false},
      {"invincible for a while: touched only", 1, SHOT, 4, 0, 0, 0, 5, false, 1, 10, {}, false, false},
      {"no power, impact or item: touched only", 1, SHOT, 0, 0, 0, 0, 0, false, 1, 10, {}, false, false},
      {"piercing", 1, SHOT, 4, 1, 0, 0, 0, false, 1, 6, {"7"}, false, true},
      {"piercing characters, not block characters", 1, SHOT, 4, 1, 0, 0, 0, true, 1, 6, {"7"}, true, false},
      {"piercing block characters", 1, SHOT, 4, 0, 1, 0, 0, true, 1, 6, {"7"}, false, true},
      {"a sword", 1, SWORD, 4, 0, 0, 0, 0, false, 1, 6, {"7"}, false, true},
      {"a defeat", 1, SHOT, 12, 0, 0, 0, 0, false, 1, 0, {"9"}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Build(1);
    Stage.m_nCharaInvincibleTime = 30;
    CharaDef def = CharaDef().Group(2).Hp(10).Invincible(c.invincibleSetting);
    if (c.blockChara) def.BlockChara().Fly(FLYMODE_THROUGH);
    cChara& target = Add(def);
    target.m_nInvincible = c.invincibleSteps;
    cEdShot shotDef = Power(c.power);
    shotDef.m_bPierce = static_cast<int8_t>(c.pierce);
    shotDef.m_bPierceBlockChara = static_cast<int8_t>(c.pierceBlock);
    cShot& shot = ShotAt(target, c.shotGroup, shotDef);
    if (c.kind == SWORD) shot.m_nKind = SHOTKIND_SWORD;
    const int shotId = shot.m_nId;
    world.events.Clear();
    EXPECT_EQ(scene.ResolveAttacks(CharaList), 0);
    EXPECT_EQ(Fired(FLOWTRIGGER_HIT_SHOT, target), c.triggers);
    EXPECT_EQ(target.m_nHp, c.hp);
    EXPECT_EQ(Sounds(), c.sounds);
    EXPECT_EQ(shot.m_bGone != 0, c.shotGone);
    EXPECT_EQ(std::count(shot.m_HitList.begin(), shot.m_HitList.end(), target.m_nId), c.listed ? 1 : 0);
    if (c.hp == 0) EXPECT_EQ(target.m_bDefeated, 1);
    if (c.sounds == std::vector<std::string>{"7"}) EXPECT_EQ(target.m_nInvincible, 30) << "the stage's time after a hit";
    SweepGoneObjects();
    EXPECT_EQ(scene.FindShotById(shotId) == nullptr, c.shotGone);
    if (c.listed) {
      // Once per character: the next steps pass it by.
      world.events.Clear();
      target.m_nInvincible = 0;
      scene.ResolveAttacks(CharaList);
      EXPECT_EQ(Fired(FLOWTRIGGER_HIT_SHOT, target), 0);
    }
  }
}

TEST_F(Attacks, AShotOfAGroupOutsideTheListsJoinsNoneAndHitsNothing) {
  cChara& target = Add(CharaDef().Group(2).Hp(10));
  cShot& shot = ShotAt(target, 9, Power(4));
  EXPECT_EQ(scene.m_Shots.size(), 1u);
  for (const cList<cShot*>& group : scene.m_ShotGroups) EXPECT_TRUE(group.empty());
  EXPECT_EQ(scene.ResolveAttacks(CharaList), 0);
  EXPECT_EQ(target.m_nHp, 10);
  EXPECT_EQ(shot.m_bGone, 0);
}

TEST_F(Attacks, AGoneShotLeavesItsGroupListAlsoWhenItsGroupChangedSinceFiled) {
  cChara& target = Add(CharaDef().Group(2).Hp(10));
  cShot& a = ShotAt(target, 3, Power(4));
  cShot& b = ShotAt(target, 3, Power(4));
  cShot& c = ShotAt(target, 5, Power(4));
  MarkShotGone(b);
  EXPECT_EQ(scene.m_ShotGroups[3], (cList<cShot*>{&a}));
  c.m_nGroup = 3;  // no longer the list it stands in
  MarkShotGone(c);
  EXPECT_TRUE(scene.m_ShotGroups[5].empty());
  EXPECT_EQ(scene.m_ShotGroups[3], (cList<cShot*>{&a}));
  a.m_nGroup = 9;  // outside the lists: every list is looked through
  MarkShotGone(a);
  for (const cList<cShot*>& group : scene.m_ShotGroups) EXPECT_TRUE(group.empty());
}

TEST_F(Attacks, AShotsItemWorksOnTheHeroAndItsClearEndsThePass) {
  Stage.m_vPaletteItem.push_back(ClearingItem());
  cChara& target = Add(CharaDef().Group(2).Hp(10));
  cEdShot def = Power(1);
  def.m_nItemKind = 2;
  def.m_nItemIndex = static_cast<int16_t>(Stage.m_vPaletteItem.Size() - 1);
  ShotAt(target, 1, def);
  EXPECT_EQ(scene.ResolveAttacks(CharaList), STAGERESULT_CLEAR);
  EXPECT_EQ(target.m_nHp, 9);
}

TEST_F(Attacks, BodiesOfTwoGroupsHurtEachOtherOnceWithOneSound) {
  struct Case {
    const char* what;
    int groupB;
    int powerA, powerB;
    bool blockB;
    int triggers;
    int hpA, hpB;
    std::vector<std::string> sounds;
  } cases[] = {
      {"both ways", 2, 3, 4, false, 1, 6, 7, {"7"}},
      {"one way", 2, 0, 4, false, 1, 6, 10, {"7"}},
      {"no power", 2, 0, 0, false, 1, 10, 10, {}},
      {"the same group", 1, 3, 4, false, 0, 10, 10, {}},
      {"a block character", 2, 3, 4, true, 0, 10, 10, {}},
      {"a defeat", 2, 0, 12, false, 1, 0, 10, {"7", "9"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Build(3);
    CharaDef defA = CharaDef().Group(1).Hp(10);
    defA.Def().m_nPower = c.powerA;
    CharaDef defB = CharaDef().Group(c.groupB).Hp(10);
    defB.Def().m_nPower = c.powerB;
    if (c.blockB) defB.BlockChara().Fly(FLYMODE_THROUGH);
    cChara& a = Add(defA);
    cChara& b = Add(defB);
    world.events.Clear();
    EXPECT_EQ(scene.ResolveAttacks(CharaList), 0);
    EXPECT_EQ(Fired(FLOWTRIGGER_HIT_CHARA, a), c.triggers);
    EXPECT_EQ(Fired(FLOWTRIGGER_HIT_CHARA, b), c.triggers);
    EXPECT_EQ(a.m_nHp, c.hpA);
    EXPECT_EQ(b.m_nHp, c.hpB);
    EXPECT_EQ(Sounds(), c.sounds);
    // Invincible to each other from then on: touching again hurts no more.
    world.events.Clear();
    scene.ResolveAttacks(CharaList);
    EXPECT_EQ(a.m_nHp, c.hpA);
    EXPECT_EQ(b.m_nHp, c.hpB);
    EXPECT_TRUE(Sounds().empty());
  }
}

TEST_F(Attacks, TheHerosDefeatByABodyEndsThePassForThePlayStep) {
  cChara& enemy = Add(CharaDef().Group(2).Hp(10), {0, 0});
  enemy.m_Def.m_nPower = 1000;
  EXPECT_EQ(scene.ResolveAttacks(CharaList), STAGERESULT_DEFEAT);
  EXPECT_EQ(hero->m_bDefeated, 0) << "the play step defeats it";
}

TEST_F(Attacks, OfTwoClashingShotsTheWeakerGoesAndBothWhenEqual) {
  struct Case {
    int clashW, clashV, strengthW, strengthV;
    bool wGone, vGone;
  } cases[] = {
      {1, 1, 5, 5, true, true}, {1, 1, 3, 5, true, false}, {1, 1, 5, 3, false, true},
      {1, 0, 9, 1, true, false}, {0, 1, 1, 9, false, true}, {0, 0, 5, 5, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.clashW) + std::to_string(c.clashV) + " " + std::to_string(c.strengthW) + ":" +
                 std::to_string(c.strengthV));
    Build(1);
    cEdShot w, v;
    w.m_bClash = static_cast<int8_t>(c.clashW);
    w.m_nVanish = static_cast<int8_t>(c.strengthW);
    v.m_bClash = static_cast<int8_t>(c.clashV);
    v.m_nVanish = static_cast<int8_t>(c.strengthV);
    cShot& sw = ShotAt(*hero, 1, w);
    cShot& sv = ShotAt(*hero, 3, v);
    EXPECT_EQ(scene.ResolveAttacks(CharaList), 0);
    EXPECT_EQ(sw.m_bGone != 0, c.wGone);
    EXPECT_EQ(sv.m_bGone != 0, c.vGone);
    for (const cList<cShot*>& group : scene.m_ShotGroups)
      for (const cShot* s : group) EXPECT_FALSE(s->m_bGone) << "a gone shot leaves its group list at once";
    SweepGoneObjects();
    EXPECT_EQ(scene.m_Shots.size(), static_cast<size_t>(2 - c.wGone - c.vGone));
  }
}

TEST_F(Attacks, TheDefeatCheckByCase) {
  struct Case {
    const char* what;
    int showDefeat;
    bool clearingDrop;
    int heroHp;
    bool vanished;
    // expected
    int result;
    std::vector<std::string> sounds;
    bool kept;
    bool cleared;
  } cases[] = {
      {"erased at once", 0, false, 10, false, 0, {}, false, false},
      {"kept for its defeat display", 1, false, 10, false, 0, {"9"}, true, false},
      {"a drop item that clears, erased at once", 0, true, 10, false, 1, {"14"}, false, true},
      {"a drop item that clears, not kept", 1, true, 10, false, 1, {"14"}, false, true},
      {"vanished: gone without a defeat", 1, false, 10, true, 0, {}, false, false},
      {"the hero down first", 0, false, 0, false, 1, {"8"}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Build(1);
    SystemData.m_bDefeatSound = c.showDefeat;
    hero->m_nHp = c.heroHp;
    cItem drop;
    drop.Init(scene.m_nItemSerial++, ClearingItem(), 1);
    cChara& enemy = world.AddChara(CharaDef().Group(2).Hp(5), {5, 5}, 0, c.clearingDrop ? &drop : nullptr);
    cChara& watcher = Add(CharaDef().Group(2), {7, 5});
    watcher.SetTarget(enemy);
    const int id = enemy.m_nId;
    if (c.vanished)
      enemy.m_bVanished = 1;
    else
      enemy.m_nHp = 0;
    scene.m_nPhase = STAGESTATE_PLAY;
    world.events.Clear();
    EXPECT_EQ(scene.CheckDefeats(), c.result);
    EXPECT_EQ(Sounds(), c.sounds);
    EXPECT_EQ(Fired(FLOWTRIGGER_DEATH, enemy), c.vanished || c.heroHp <= 0 ? 0 : 1);
    EXPECT_EQ(scene.m_nPhase, c.cleared ? STAGESTATE_CLEAR : STAGESTATE_PLAY);
    SweepGoneObjects();
    EXPECT_EQ(FindCharaById(id) != nullptr, c.kept);
    if (!c.kept) EXPECT_EQ(watcher.m_nTargetId, OBJECT_NONE) << "nothing names it";
    if (c.kept && c.showDefeat) {
      // Staying for its display, it is not defeated again.
      world.events.Clear();
      EXPECT_EQ(scene.CheckDefeats(), 0);
      EXPECT_TRUE(Sounds().empty());
    }
  }
  SystemData.m_bDefeatSound = 0;
}

TEST_F(Attacks, TheHerosDefeatThatClearsSwitchesToTheClearState) {
  hero->m_Def.m_vFlows.push_back(FlowDef(FLOWTRIGGER_DEATH).Command(CommandDef(ACTCMDTYPE_STAGE_CLEAR)));
  hero->BuildFlows(hero->m_Def.m_vFlows, 0, 0);
  hero->m_nHp = 0;
  EXPECT_EQ(scene.CheckDefeats(), 1);
  EXPECT_EQ(Sounds(), (std::vector<std::string>{"8", "14"})) << "the defeat, then the clear";
  EXPECT_EQ(scene.m_nPhase, STAGESTATE_CLEAR);
}

TEST_F(Attacks, PickUpsByKind) {
  struct Case {
    const char* what;
    int mode;
    bool held;
    int triggers;
    int sounds;
    bool gone;
  } cases[] = {
      {"consumed", PICKUPMODE_ONCE, false, 1, 1, true},
      {"stays and acts once per touch", PICKUPMODE_ALWAYS, false, 1, 1, false},
      {"never picked up", PICKUPMODE_NEVER, false, 0, 0, false},
      {"held by a character", PICKUPMODE_ONCE, true, 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Build(1);
    cEdItem def;
    def.m_nGraphic = 1;
    def.m_nPickupMode = static_cast<int8_t>(c.mode);
    def.m_nPickupSound = 3;
    cItem item;
    item.Init(scene.m_nItemSerial++, def, c.held ? 1 : 0);
    item.PlaceAtCell(0, 0);
    item.m_bPresent = 1;
    ItemList.push_back(item);
    const size_t messages = scene.m_Messages.size();
    world.events.Clear();
    EXPECT_EQ(scene.CheckItemPickup(*hero), 0);
    EXPECT_EQ(Fired(FLOWTRIGGER_HIT_ITEM, *hero), c.triggers);
    EXPECT_EQ(Sounds().size(), static_cast<size_t>(c.sounds));
    if (c.sounds) EXPECT_EQ(Sounds().front(), "19");
    EXPECT_EQ(scene.m_Messages.size(), messages + c.sounds) << "its pop-up";
    EXPECT_EQ(ItemList.front().m_bGone != 0, c.gone);
  }
}

TEST_F(Attacks, AnItemThatStaysActsAgainOnlyAfterTheHeroLeftIt) {
  cEdItem def;
  def.m_nGraphic = 1;
  def.m_nPickupMode = PICKUPMODE_ALWAYS;
  def.m_nPickupSound = 3;
  def.m_bPickupPopup = 0;
  cItem item;
  item.Init(scene.m_nItemSerial++, def, 0);
  item.PlaceAtCell(0, 0);
  item.m_bPresent = 1;
  ItemList.push_back(item);
  const double home = hero->m_rcHit.dLeft;
  std::vector<size_t> sounds;
  for (double x : {home, home, home + 200, home}) {
    world.events.Clear();
    hero->m_rcHit.dLeft = x;
    hero->ClampX(2);
    scene.CheckItemPickup(*hero);
    sounds.push_back(Sounds().size());
  }
  EXPECT_EQ(sounds, (std::vector<size_t>{1, 0, 0, 1}));
}

TEST_F(Attacks, AConsumedItemThatClearsIsGoneBeforeThePassEnds) {
  cEdItem def = ClearingItem();
  cItem item;
  item.Init(scene.m_nItemSerial++, def, 0);
  item.PlaceAtCell(0, 0);
  item.m_bPresent = 1;
  ItemList.push_back(item);
  ItemList.push_back(item);  // a second one, not reached
  EXPECT_EQ(scene.CheckItemPickup(*hero), STAGERESULT_CLEAR);
  EXPECT_EQ(ItemList.front().m_bGone, 1);
  EXPECT_EQ(ItemList.back().m_bGone, 0);
}
