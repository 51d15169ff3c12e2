// What a hit does (HP, result, gauge, hit effect, knock-back, triggers in
// order), the invincibility countdowns, and what a defeat and an erasure
// leave behind: nothing that names the character.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "base/crt_random.h"
#include "base/number_text.h"
#include "game/characters.h"
#include "game/effect_instance.h"
#include "game/item_commands.h"
#include "game/object_list.h"
#include "game/shot.h"
#include "game/stage_data.h"
#include "records/database.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/flow_builders.h"
#include "support/flow_recorder.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

MapBuilder DamageRoom() { return MapBuilder(std::vector<std::string>(15, std::string(20, '.'))); }

std::string Id(const cCharaBase& c) { return std::to_string(c.m_nId); }

}  // namespace

TEST(CharaDamage, ABodyHitTakesPowerLessDefenceOrHealsAndFiresItsTriggers) {
  struct Case {
    const char* name;
    int32_t power, defence;
    int invincible, maxHp, hp;
    int imp;
    int hpAfter, result, gaugeTimer;
    std::vector<int> triggers;
  };
  const Case cases[] = {
      {"power below defence", 30, 45, 0, 100, 20, 0, 20, 0, 0, {FLOWTRIGGER_DAMAGED}},
      {"power less defence", 30, 10, 0, 100, 50, 0, 30, 0, 120, {FLOWTRIGGER_DAMAGED}},
      {"the largest damage", 999999, 0, 0, 999999, 999999, 0, 0, 1, 0, {FLOWTRIGGER_DAMAGED}},
      {"more than the largest is cut", 1500000, 100, 0, 999999, 999999, 0, 0, 1, 0, {FLOWTRIGGER_DAMAGED}},
      {"the largest power against any defence", INT_MAX, 0, 0, 999999, 999999, 0, 0, 1, 0, {FLOWTRIGGER_DAMAGED}},
      {"exactly the HP left", 5, 0, 0, 10, 5, 0, 0, 1, 0, {FLOWTRIGGER_DAMAGED}},
      {"one less than the HP left", 4, 0, 0, 10, 5, 0, 1, 0, 120, {FLOWTRIGGER_DAMAGED}},
      {"a negative power heals", -10, 50, 0, 100, 50, 0, 60, 0, 120, {FLOWTRIGGER_DAMAGED}},
      {"healing up to the maximum only", -10, 0, 0, 100, 95, 0, 100, 0, 120, {FLOWTRIGGER_DAMAGED}},
      {"healing while invincible", -10, 0, 1, 100, 50, 0, 60, 0, 120, {FLOWTRIGGER_DAMAGED}},
      {"the smallest power heals without overflow", INT_MIN, 0, 0, 100, 50, 0, 100, 0, 120,
       {FLOWTRIGGER_DAMAGED}},
      {"no loss while invincible", 30, 0, 2, 100, 50, 0, 50, 0, 0, {FLOWTRIGGER_DAMAGED}},
      {"impact only", 0, 0, 0, 100, 50, 3, 50, 0, 0, {FLOWTRIGGER_IMPACT}},
      {"power and impact", 10, 0, 0, 100, 50, 3, 40, 0, 120, {FLOWTRIGGER_DAMAGED, FLOWTRIGGER_IMPACT}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world;
    DamageRoom().Build();
    cEdChara attackerDef = CharaDef().Impact(c.imp);
    attackerDef.m_nPower = c.power;
    cChara& attacker = world.AddChara(attackerDef, {4, 5});
    cEdChara def = CharaDef().Hp(c.maxHp).Invincible(c.invincible);
    def.m_nDefence = c.defence;
    cChara& target = world.AddChara(def, {5, 5});
    target.m_nHp = c.hp;
    world.events.Clear();
    EXPECT_EQ(target.TakeBodyHit(attacker), c.result);
    EXPECT_EQ(target.m_nHp, c.hpAfter);
    EXPECT_EQ(target.m_HpGauge.nTimer, c.gaugeTimer);
    std::vector<std::string> triggers;
    for (int t : c.triggers) triggers.push_back(std::to_string(t) + " " + Id(target));
    EXPECT_EQ(world.events.Texts(EventKind::Trigger), triggers);
    EXPECT_EQ(target.m_bKnockback, c.imp != 0 ? 1 : 0) << "only an impact pushes";
    EXPECT_TRUE(world.Scene().m_Effects.empty()) << "no hit effect without one";
  }
}

TEST(CharaDamage, TheAttackersHitEffectShowsWithItsScaleAndItsImpactPushes) {
  GameWorld world;
  DamageRoom().Build();
  // Effect 6: 10 × 8 frames that grow with the attacker.
  Database.m_vEffect.resize(7);
  Database.m_vEffect[6].m_nWidth = 10;
  Database.m_vEffect[6].m_nHeight = 8;
  Database.m_vEffect[6].m_bScaleWithOwner = 1;
  BuildEffectPatterns(EffectStepTable);
  cEdChara attackerDef = CharaDef().Impact(4).Scale(2);
  attackerDef.m_nPower = 1;
  attackerDef.m_nHitEffect = 6;
  cChara& attacker = world.AddChara(attackerDef, {4, 5});
  attacker.m_dVx = 3;
  cChara& target = world.AddChara(CharaDef().Hp(10), {5, 5});
  // The contact boxes meet in (120, 110)-(131, 131).
  target.m_Contact.rc = {100, 100, 131, 131};
  attacker.m_Contact.rc = {120, 110, 151, 141};
  target.m_ShotContact.rc = {0, 0, 9, 9};
  crt::srand(5);
  target.TakeBodyHit(attacker);
  // Centred there at twice the frame size, jittered by up to 8 dots.
  crt::srand(5);
  const int jx = RandomRange(-8, 8), jy = RandomRange(-8, 8);
  ASSERT_EQ(world.Scene().m_Effects.size(), 1u);
  const cEffectInstance& shown = world.Scene().m_Effects.front();
  EXPECT_EQ(std::make_tuple(shown.m_sEffect, shown.m_dX, shown.m_dY, shown.m_nWidth, shown.m_nHeight, shown.m_bScaled),
            std::make_tuple(int16_t{6}, 116.0 + jx, 113.0 + jy, 20, 16, 1));
  // Strength 4 to the right at S = 1: (√513 − 1) / 2.
  EXPECT_EQ(target.m_dKnockX, 10.824751652906125);
  EXPECT_EQ(target.m_dKnockY, 0);
}

TEST(CharaInvincibility, CountdownsLastTheStagesFramesTimesTheStepsGeneralAndPerAttacker) {
  struct Case {
    int level, controller;
    int general, guard;  // frames, for the character's kind
  };
  const Case cases[] = {{1, 0, 10, 30}, {3, 0, 10, 30}, {1, 1, 0, 30}, {3, 1, 5, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.level) + " " + std::to_string(c.controller));
    GameWorld world(c.level);
    DamageRoom().Build();
    // The other kind's times must not count.
    Stage.m_nHeroInvincibleTime = c.controller == 0 ? c.general : 99;
    Stage.m_nHeroGuardTime = c.controller == 0 ? c.guard : 99;
    Stage.m_nCharaInvincibleTime = c.controller == 1 ? c.general : 99;
    Stage.m_nCharaGuardTime = c.controller == 1 ? c.guard : 99;
    cChara& chara = world.AddChara(c.controller ? CharaDef().Computer() : CharaDef().PlayerOperated(), {5, 5});
    chara.StartInvincibilityFrom(7);
    const int general = c.general * c.level;
    const int guard = c.guard * c.level;
    for (int step = 0; step < 100; ++step) {
      EXPECT_EQ(chara.IsInvincible(), step < general ? 1 : 0) << step;
      EXPECT_EQ(chara.IsInvincibleTo(7), step < general || step < guard ? 1 : 0) << step;
      EXPECT_EQ(chara.IsInvincibleTo(8), step < general ? 1 : 0) << step;
      chara.TickInvincibility();
    }
    EXPECT_TRUE(chara.m_lInvincibleFrom.empty());
    EXPECT_EQ(chara.m_nInvincible, 0);
  }
}

TEST(CharaInvincibility, HugeTimesSaturateAndEachAttackerCountsApart) {
  GameWorld world(3);
  DamageRoom().Build();
  Stage.m_nCharaInvincibleTime = INT_MAX;
  cChara& chara = world.AddChara(CharaDef(), {5, 5});
  chara.StartInvincibility();
  EXPECT_EQ(chara.m_nInvincible, INT_MAX);

  Stage.m_nCharaInvincibleTime = 0;
  Stage.m_nCharaGuardTime = 2;
  chara.m_nInvincible = 0;
  chara.StartInvincibilityFrom(1);
  chara.TickInvincibility();
  chara.StartInvincibilityFrom(2);
  for (int step = 0; step < 5; ++step) chara.TickInvincibility();
  EXPECT_EQ(chara.IsInvincibleTo(1), 0);
  EXPECT_EQ(chara.IsInvincibleTo(2), 1) << "6 steps from its own start";
  chara.TickInvincibility();
  EXPECT_EQ(chara.IsInvincibleTo(2), 0);
}

namespace {

// A stage of a hero and three characters: A and B target C, C targets the
// hero, C is in its group's list, shots 40 and 41 aim at C and shot 42 at A;
// C's list also names 42, as if that shot had turned to A since.
struct Targets {
  GameWorld world;
  cHero* hero;
  cChara *a, *b, *c;

  explicit Targets(const cEdChara& cDef = CharaDef()) {
    DamageRoom().Build();
    hero = &world.AddHero(CharaDef().PlayerOperated(), {1, 5});
    a = &world.AddChara(CharaDef(), {3, 5});
    b = &world.AddChara(CharaDef(), {4, 5});
    c = &world.AddChara(cDef, {5, 5});
    for (cChara* x : {a, b}) {
      x->m_nTargetId = c->m_nId;
      c->m_vTargetedBy.push_back(x->m_nId);
    }
    for (int serial : {40, 41, 42}) {
      cShot built;
      built.m_nId = serial;
      built.m_nOwnerId = hero->m_nId;
      built.m_nTargetId = serial == 42 ? a->m_nId : c->m_nId;
      world.Scene().AddShot(built);
      c->m_vShots.push_back(serial);
    }
    a->m_vShots.push_back(42);
  }
  // The target each shot aims at now, in serial order.
  std::vector<int> ShotTargets() {
    std::vector<int> targets;
    for (int serial : {40, 41, 42}) targets.push_back(world.Scene().FindShotById(serial)->m_nTargetId);
    return targets;
  }
  // Nobody names `gone` any more.
  void ExpectForgotten(int gone) {
    for (cHero& h : Player) {
      EXPECT_NE(h.m_nTargetId, gone);
      for (int32_t id : h.m_vTargetedBy) EXPECT_NE(id, gone);
    }
    for (cChara& x : CharaList) {
      if (x.m_nId == gone) continue;
      EXPECT_NE(x.m_nTargetId, gone);
      for (int32_t id : x.m_vTargetedBy) EXPECT_NE(id, gone);
    }
    for (const cShot& shot : world.Scene().m_Shots) EXPECT_NE(shot.m_nTargetId, gone) << shot.m_nId;
  }
};

}  // namespace

TEST(CharaDefeat, RunsItsDeathFlowsOnceForgetsEveryReferenceAndStartsItsDeathEffect) {
  FlowRecorder recorder;
  cEdChara def = CharaDef().Flow(FlowDef(FLOWTRIGGER_DEATH).Command(CommandDef(ACTCMDTYPE_WAIT).UseTime(5)));
  def.m_nDeathEffect = 3;
  def.m_nDeathEffectMode = 2;
  def.m_nScore = 150;
  Targets t(def);
  Database.m_vCharaEffect.resize(4);  // death effect 3 exists
  BuildDatabaseRunTables();
  cChara& c = *t.c;
  c.m_nHp = 0;
  // C is the hero's listed attacker since its set-up.
  ASSERT_EQ(t.hero->m_vTargetedBy.back(), c.m_nId);
  PlayData.m_nStageScore = 200;
  t.world.events.Clear();
  EXPECT_EQ(c.Defeat(), 0);
  EXPECT_EQ(recorder.Count(ACTCMDTYPE_WAIT), 1) << "the death flow ran once";
  EXPECT_EQ(PlayData.m_nStageScore, 350);
  EXPECT_EQ(c.m_bDefeated, 1);
  EXPECT_EQ(t.a->m_nTargetId, OBJECT_NONE);
  EXPECT_EQ(t.b->m_nTargetId, OBJECT_NONE);
  EXPECT_EQ(c.m_nTargetId, OBJECT_NONE);
  EXPECT_TRUE(c.m_vTargetedBy.empty());
  EXPECT_TRUE(c.m_vShots.empty());
  t.ExpectForgotten(c.m_nId);
  const std::string id = Id(c);
  EXPECT_EQ(t.ShotTargets(), (std::vector<int>{OBJECT_NONE, OBJECT_NONE, t.a->m_nId})) << "42 aims at A now";
  EXPECT_EQ(t.world.events.Texts(EventKind::Trigger), std::vector<std::string>{"3 " + id});
  EXPECT_EQ(c.m_CharaEffect.m_sEffect, 3) << "its death effect runs";
  EXPECT_EQ(c.m_CharaEffect.m_nRunMode, 2);
}

TEST(CharaDefeat, TheStageScoreGainsTheCharactersScoreWithin0To999999) {
  struct Case {
    int32_t before, score, after;
  };
  const Case cases[] = {
      {200, 150, 350},        {200, -500, 0},       {999900, 500, 999999},
      {999999, INT_MAX, 999999}, {5, INT_MIN, 0},   {0, 0, 0},
  };
  for (const Case& k : cases) {
    cEdChara def = CharaDef();
    def.m_nScore = k.score;
    Targets t(def);
    PlayData.m_nStageScore = k.before;
    t.c->m_nHp = 0;
    EXPECT_EQ(t.c->Defeat(), 0);
    EXPECT_EQ(PlayData.m_nStageScore, k.after) << k.before << " + " << k.score;
  }
}

TEST(CharaDefeat, AClearingDropItemOrAClearedStageLeavesTheCharacterAsItIs) {
  struct Case {
    const char* name;
    int dropClears, alreadyCleared;
  };
  const Case cases[] = {{"the drop item clears", 1, 0}, {"the stage was cleared", 0, 1}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    cEdItem itemDef;
    itemDef.m_nGraphic = 4;
    itemDef.m_bPickupPopup = 0;
    cEdCommand clear = CommandDef(k.dropClears ? ITEMCMDTYPE_STAGE_CLEAR : ITEMCMDTYPE_NONE);
    clear.m_bItemCommand = 1;
    itemDef.m_vCommands.push_back(clear);
    Targets t;
    cItem drop;
    drop.Init(0, itemDef, 1);
    t.c->m_DropItem = drop;
    t.world.Scene().m_nCommandResult = k.alreadyCleared ? STAGERESULT_CLEAR : STAGERESULT_NONE;
    t.c->m_nHp = 0;
    t.world.events.Clear();
    EXPECT_EQ(t.c->Defeat(), 1);
    EXPECT_EQ(t.c->m_bDefeated, 0);
    EXPECT_EQ(t.a->m_nTargetId, t.c->m_nId);
    EXPECT_EQ(t.c->m_vTargetedBy.size(), 2u);
    EXPECT_EQ(t.c->m_vShots.size(), 3u);
    EXPECT_EQ(t.ShotTargets(), (std::vector<int>{t.c->m_nId, t.c->m_nId, t.a->m_nId}));
    for (const std::string& line : t.world.events.Texts(EventKind::Log))
      EXPECT_EQ(line.rfind("CharaEffect", 0), std::string::npos) << "no death effect";
  }
}

TEST(CharaDefeat, TheHerosDefeatHasNoDropItem) {
  Targets t;
  EXPECT_EQ(t.hero->GetDropItem(), nullptr);
  t.hero->m_nHp = 0;
  t.world.events.Clear();
  EXPECT_EQ(t.hero->Defeat(), 0);
  EXPECT_EQ(t.hero->m_bDefeated, 1);
  t.ExpectForgotten(t.hero->m_nId);
  EXPECT_EQ(t.c->m_nTargetId, OBJECT_NONE);
}

TEST(CharaErase, AnErasedCharacterLeavesNoReferenceAndNoGroupEntryBehind) {
  struct Case {
    const char* name;
    int group;
  };
  const Case cases[] = {{"in its group's list", 1}, {"a group beyond the lists", 12}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Targets t;
    cChara& c = *t.c;
    // Its entry stays where the stage put it, whatever its group says now.
    c.m_nGroup = k.group;
    const int gone = c.m_nId;
    auto node = CharaList.begin();
    std::advance(node, 2);
    ASSERT_EQ(&*node, &c);
    t.world.events.Clear();
    auto next = EraseChara(node);
    EXPECT_EQ(next, CharaList.end());
    EXPECT_EQ(CharaList.size(), 2u);
    EXPECT_EQ(FindCharaById(gone), nullptr);
    EXPECT_EQ(t.a->m_nTargetId, OBJECT_NONE);
    EXPECT_EQ(t.b->m_nTargetId, OBJECT_NONE);
    t.ExpectForgotten(gone);
    for (const cList<cCharaBase*>& list : t.world.Scene().m_CharaGroups)
      for (const cCharaBase* entry : list) EXPECT_NE(entry, &c);
    EXPECT_EQ(t.world.Scene().m_CharaGroups[1].size(), 3u) << "the hero, A and B stay";
    EXPECT_EQ(t.ShotTargets(), (std::vector<int>{OBJECT_NONE, OBJECT_NONE, t.a->m_nId}));
  }
}

TEST(CharaErase, ACharacterCopiedIntoItsNodeIsTheOneOthersFind) {
  GameWorld world;
  DamageRoom().Build();
  cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {1, 5});
  cChara& placed = world.AddChara(CharaDef().Flow(FlowDef().Command(CommandDef().UseTime(1))), {5, 5});
  EXPECT_EQ(FindCharaById(placed.m_nId), &placed);
  EXPECT_EQ(placed.Target(), &hero);
  EXPECT_EQ(hero.m_vTargetedBy.back(), placed.m_nId);
  EXPECT_EQ(placed.m_vFlows[0].m_pFlow, &placed.m_Def.m_vFlows[0]) << "its flows point into its own definition";
  EXPECT_EQ(placed.m_vFlows[0].m_vCommands[0].m_pCommand, &placed.m_Def.m_vFlows[0].m_vCommands[0]);

  cChara stranger;
  EXPECT_EQ(ObjectList::EraseObject(CharaList, &stranger), CharaList.end()) << "not in the list";
  EXPECT_EQ(ObjectList::EraseObject(CharaList, &placed), CharaList.end());
  EXPECT_TRUE(CharaList.empty());
}
