// Set target, status operation 2 and vanish: whom a character targets by
// kind, group and filters with the targeted-by lists agreeing, the states
// it switches on itself, its target or the stage, and which characters and
// shots of a group vanish.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "command_test_env.h"
#include "game/other_commands.h"
#include "game/shot.h"
#include "records/stage.h"

using namespace cmdtest;

namespace {

// The hero H (group 0) on cell (2, 5); the commander X (group 3) on (5, 5);
// in group 1 A on (7, 5), B (character ID 4) on (11, 5) and D (ID 6) off
// screen on (25, 5); in group 2 C on (4, 5).
class Cast {
 public:
  explicit Cast(int level = 1) : world(level) {
    BuildRoom();
    hero = &world.AddHero(CharaDef().PlayerOperated().Group(0), {2, 5});
    x = &world.AddChara(CharaDef().Group(3), {5, 5});
    a = &world.AddChara(CharaDef().Group(1).CharaId(3), {7, 5});
    b = &world.AddChara(CharaDef().Group(1).CharaId(4), {11, 5});
    d = &world.AddChara(CharaDef().Group(1).CharaId(6), {25, 5});
    c = &world.AddChara(CharaDef().Group(2), {4, 5});
    Settle(world);
    names = {{hero->m_nId, 'H'}, {x->m_nId, 'X'}, {a->m_nId, 'A'}, {b->m_nId, 'B'}, {c->m_nId, 'C'}, {d->m_nId, 'D'}};
  }
  char Name(int id) const {
    auto it = names.find(id);
    return it == names.end() ? '-' : it->second;
  }
  std::vector<cCharaBase*> All() const { return {hero, x, a, b, c, d}; }

  GameWorld world;
  cHero* hero = nullptr;
  cChara *x = nullptr, *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr;
  std::map<int, char> names;
};

// p0 kind, p1 group, p2 all groups, p3 mode, p4 exclude itself, p5/p6 skip
// invincibility 1/2, p7 skip block characters, p8 by ID, p9 the ID.
cEdCommand SetTarget(std::initializer_list<int32_t> p) { return Item(ITEMCMDTYPE_SET_TARGET, p); }

}  // namespace

TEST(SetTargetCommand, TheTargetIsFoundByKindGroupAndFiltersAndTheTargetedByListsAgree) {
  struct Case {
    const char* name;
    std::vector<int32_t> p;
    char target;
    bool blockA = false;
  } cases[] = {
      {"the hero", {0}, 'H'},
      {"itself", {1}, 'X'},
      {"the nearest of group 1", {2, 1}, 'A'},
      {"the nearest of group 1 with ID 4", {2, 1, 0, 0, 0, 0, 0, 0, 1, 4}, 'B'},
      {"the nearest of group 1 with an ID nobody has", {2, 1, 0, 0, 0, 0, 0, 0, 1, 9}, '-'},
      {"the nearest of all groups is itself", {2, 0, 1}, 'X'},
      {"the nearest of all groups but itself", {2, 0, 1, 0, 1}, 'C'},
      {"on screen only misses D", {2, 1, 0, FINDMODE_ON_SCREEN, 0, 0, 0, 0, 1, 6}, '-'},
      {"everywhere finds D", {2, 1, 0, FINDMODE_ALL, 0, 0, 0, 0, 1, 6}, 'D'},
      {"block characters skipped", {2, 1, 0, 0, 0, 0, 0, 1}, 'B', true},
      {"the first of group 1", {3, 1}, 'A'},
      {"the first of group 1 with ID 6", {3, 1, 0, 0, 0, 0, 0, 0, 1, 6}, 'D'},
      {"the first of all groups", {3, 5, 1}, 'H'},
      {"an unknown kind", {4}, '-'},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.name);
    Cast cast;
    if (t.blockA) cast.a->m_Def.m_bBlockChara = 1;
    // It targets B at first (not the hero its set-up gave it).
    cast.hero->m_vTargetedBy.Remove(cast.x->m_nId);
    cast.x->m_nTargetId = cast.b->m_nId;
    cast.b->m_vTargetedBy = {cast.x->m_nId};
    cEdCommand command = SetTarget({});
    for (size_t i = 0; i < t.p.size(); ++i) command.m_vParams[static_cast<int>(i)] = t.p[i];
    CmdSetTarget(*cast.x, command);
    CmdSetTarget(*cast.x, command);  // again: listed once all the same
    EXPECT_EQ(cast.Name(cast.x->m_nTargetId), t.target);
    for (const cCharaBase* chara : cast.All()) {
      const int listed = static_cast<int>(
          std::count(chara->m_vTargetedBy.begin(), chara->m_vTargetedBy.end(), cast.x->m_nId));
      EXPECT_EQ(listed, chara->m_nId == cast.x->m_nTargetId ? 1 : 0) << cast.Name(chara->m_nId);
    }
  }
}

TEST(SetTargetCommand, AFlowSetsTheNearestOfAGroupAsItsTarget) {
  for (int level : {1, 3}) {
    Cast cast(level);
    cEdCommand set = Action(ACTCMDTYPE_SET_TARGET, {2, 2});
    cast.x->m_Def.m_vFlows.push_back(FlowDef().Command(set).Command(Action(ACTCMDTYPE_WAIT).UseTime(50)));
    cast.x->BuildFlows(cast.x->m_Def.m_vFlows, 0, -1);
    PlayFlowFrames(cast.world, 1, {cast.x});
    EXPECT_EQ(cast.Name(cast.x->m_nTargetId), 'C') << "S " << level;
    EXPECT_EQ(cast.c->m_vTargetedBy.Size(), 1);
  }
}

namespace {

// What a status operation 2 may change, as "name=value".
std::string Read(Cast& cast, const std::string& key) {
  const char who = key[0];
  cCharaBase* o = who == 'H' ? static_cast<cCharaBase*>(cast.hero) : who == 'X' ? cast.x : cast.a;
  const std::string field = key.substr(2);
  int value = 0;
  if (key == "defeatCheck") value = cast.world.Scene().m_bDefeatCheck;
  else if (key == "autoX") value = Stage.m_bAutoScrollX * 10 + cast.world.Scene().m_ScrollX.m_bAutoScroll;
  else if (key == "autoY") value = Stage.m_bAutoScrollY * 10 + cast.world.Scene().m_ScrollY.m_bAutoScroll;
  else if (key == "speedX") value = static_cast<int>(cast.world.Scene().m_ScrollX.m_dAutoSpeed * 100);
  else if (field == "vanished") value = o->m_bVanished;
  else if (field == "hp") value = o->m_nHp;
  else if (field == "transparent") value = o->m_Def.m_bTransparent;
  else if (field == "fixdir") value = o->m_Def.m_bFixDirection;
  else if (field == "fly") value = o->m_Def.m_nFlyMode * 10 + o->m_bNoGravity;
  else if (field == "inv") value = o->m_Def.m_bInvincible;
  else if (field == "scale") value = o->m_Def.m_nScale;
  else if (field == "gfxw") value = o->m_nGfxWidth;
  else if (field == "sync") value = o->m_Def.m_bScrollSync * 10 + o->m_bScrollSync;
  else if (field == "marker") {
    // The hit box marker was rebuilt for the new size.
    for (const BOXMARKER& m : cast.hero->m_vMarkers)
      if (m.nAnchor == BOXANCHOR_HIT) value = m.nWidth == cast.hero->m_nHitWidth;
  }
  return key + "=" + std::to_string(value);
}

}  // namespace

TEST(StatusOperation2, StatesOfItselfItsTargetOrTheStage) {
  // X targets A, or the hero (toHero). Sizes at scale 1 are 32 dots.
  struct Case {
    const char* name;
    int object, state, value;
    bool toHero;
    std::vector<std::string> after;
  } cases[] = {
      {"vanish itself", 0, 0, 1, false, {"X.vanished=1", "X.hp=10", "defeatCheck=0"}},
      {"vanish the target", 1, 0, 1, false, {"A.vanished=1", "defeatCheck=1"}},
      {"vanish the hero: its HP", 1, 0, 1, true, {"H.vanished=0", "H.hp=0", "defeatCheck=1"}},
      {"transparent", 0, 1, 1, false, {"X.transparent=1"}},
      {"facing not fixed", 1, 2, 0, false, {"A.fixdir=0", "X.fixdir=1"}},
      {"fly mode of a computer character", 0, 3, 1, false, {"X.fly=0"}},
      {"fly mode of the hero", 1, 3, 1, true, {"H.fly=11"}},
      {"invincible", 1, 4, 2, false, {"A.inv=2"}},
      {"scale 3", 0, 5, 3, false, {"X.scale=3", "X.gfxw=96"}},
      {"scale 0 is 1", 0, 5, 0, false, {"X.scale=1", "X.gfxw=32"}},
      {"scale past a byte", 0, 5, 300, false, {"X.scale=127", "X.gfxw=4064"}},
      {"the hero's scale and its box markers", 1, 5, 2, true, {"H.scale=2", "H.gfxw=64", "H.marker=1"}},
      {"scroll sync", 0, 6, 1, false, {"X.sync=11"}},
      {"horizontal auto-scroll", 2, 0, 1, false, {"autoX=11", "speedX=200", "autoY=0"}},
      {"vertical auto-scroll off", 2, 1, 0, false, {"autoY=0", "autoX=0"}},
      {"an unknown object", 3, 0, 1, false, {"X.vanished=0", "A.vanished=0"}},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.name);
    Cast cast;
    Stage.m_nAutoScrollSpeedX = 20;
    cast.x->m_nTargetId = t.toHero ? cast.hero->m_nId : cast.a->m_nId;
    cast.hero->m_Def.m_nMaxHp = cast.hero->m_nHp = 10;
    cEdCommand command = Item(ITEMCMDTYPE_STATUS_OP2, {t.object, t.state, t.value});
    CmdStatusOp2(*cast.x, command);
    for (const std::string& expected : t.after) {
      const std::string key = expected.substr(0, expected.find('='));
      EXPECT_EQ(Read(cast, key), expected);
    }
  }
}

TEST(StatusOperation2, NothingHappensToATargetThatIsNotThere) {
  Cast cast;
  cast.x->m_nTargetId = OBJECT_NONE;
  cEdCommand command = Item(ITEMCMDTYPE_STATUS_OP2, {1, 0, 1});
  CmdStatusOp2(*cast.x, command);
  for (const cCharaBase* chara : cast.All()) EXPECT_EQ(chara->m_bVanished, 0);
  EXPECT_EQ(cast.world.Scene().m_bDefeatCheck, 0);
}

TEST(VanishCommand, ThePresentCharactersOrShotsOfAGroupOnScreenOrEverywhereGo) {
  struct Case {
    const char* name;
    int kind, group, range;
    std::string charasGone;  // of H, X, A, B, C, D
    int defeatCheck;
    std::vector<int> shotsLeft;  // ids
  } cases[] = {
      {"group 1 on screen", 0, 1, 0, "A", 1, {0, 1, 2, 3}},
      {"group 1 everywhere", 0, 1, 1, "AD", 1, {0, 1, 2, 3}},
      {"the hero's group", 0, 0, 0, "H", 1, {0, 1, 2, 3}},
      {"its own group only", 0, 3, 0, "X", 0, {0, 1, 2, 3}},
      {"shots of group 2 on screen", 1, 2, 0, "", 0, {1, 2, 3}},
      {"shots of group 2 everywhere", 1, 2, 1, "", 0, {2, 3}},
      {"an unknown kind", 2, 1, 1, "", 0, {0, 1, 2, 3}},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.name);
    Cast cast;
    cast.b->m_bPresent = 0;  // not taking part: never vanishes
    // Shots 0 (on screen) and 1 (off screen) of group 2; 2 of group 2 not
    // present; 3 of group 4.
    for (int i = 0; i < 4; ++i) {
      cShot shot;
      shot.m_nId = i;
      shot.m_nGroup = i == 3 ? 4 : 2;
      shot.m_bPresent = i != 2;
      shot.m_bOnScreen = i == 0;
      cast.world.Scene().AddShot(shot);
    }
    cEdCommand command = Item(ITEMCMDTYPE_VANISH, {t.kind, t.group, t.range});
    CmdVanish(*cast.x, command);
    std::string gone;
    for (const cCharaBase* chara : cast.All())
      if (chara->m_bVanished || chara->m_nHp <= 0) gone += cast.Name(chara->m_nId);
    EXPECT_EQ(gone, t.charasGone);
    EXPECT_EQ(cast.world.Scene().m_bDefeatCheck, t.defeatCheck);
    std::vector<int> left, filed;
    // Vanished shots are gone at once and leave m_Shots when the pass ends.
    for (const cShot& s : cast.world.Scene().m_Shots)
      if (!s.m_bGone) left.push_back(s.m_nId);
    for (const cList<cShot*>& group : cast.world.Scene().m_ShotGroups)
      for (const cShot* s : group) filed.push_back(s->m_nId);
    std::sort(filed.begin(), filed.end());
    EXPECT_EQ(left, t.shotsLeft);
    EXPECT_EQ(filed, t.shotsLeft) << "the group lists keep only the shots that are left";
  }
}
