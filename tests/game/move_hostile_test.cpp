// Move records with zero, negative and extreme values in every field, bad
// bases and codes, short parameter lists and extreme clone numbers: every
// move command builds and runs without a bad index or undefined behaviour
// (the sanitizers watch), and the characters stay at finite positions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "base/crt_random.h"
#include "game/action_commands.h"
#include "game/characters.h"
#include "move_test_env.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;
using namespace movetest;

namespace {

int Pick(std::initializer_list<int> values) {
  const int n = static_cast<int>(values.size());
  return *(values.begin() + crt::rand() % n);
}

int16_t Word() { return static_cast<int16_t>(Pick({0, 1, -1, 3, 360, 1000, INT16_MAX, INT16_MIN, crt::rand() - 16384})); }
int8_t Byte() { return static_cast<int8_t>(Pick({0, 1, 2, 3, 4, 5, 12, 13, -1, INT8_MAX, INT8_MIN})); }

double Factor() {
  const double values[] = {0.0, -1.0, 0.5, 1e308, -1e308, std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::denorm_min()};
  return values[crt::rand() % 9];
}

cEdMove HostileMove() {
  MoveDef m;
  cEdMove& d = m.Def();
  d.m_nSpec = Byte();
  d.m_nDirCode = Byte();
  d.m_nAngle = Word();
  d.m_nAngleStep = Word();
  d.m_bAngleMirror = Byte();
  d.m_bUseTargetX = Byte();
  d.m_bUseTargetY = Byte();
  d.m_nTargetX = Word();
  d.m_nTargetY = Word();
  d.m_nTargetDotX = Word();
  d.m_nTargetDotY = Word();
  d.m_nCoordBase = Byte();
  d.m_bTimeToTarget = Byte();
  d.m_bNoMoveX = Byte();
  d.m_bNoMoveY = Byte();
  d.m_bMirrorTargetX = Byte();
  d.m_bMirrorTargetY = Byte();
  d.m_bReverseOnTurn = Byte();
  d.m_bStopAtTarget = Byte();
  d.m_bKeepFacing = Byte();
  d.m_nTiming = Byte();
  d.m_nSpeed = Word();
  d.m_nSpeedStep = Word();
  d.m_nDistance = Word();
  d.m_nDistanceStep = Word();
  d.m_nDistanceUnit = Byte();
  d.m_nHomingLag = Word();
  d.m_nHomingLagStep = Word();
  d.m_bInertia = Byte();
  d.m_nMaxSpeed = Word();
  d.m_dInertiaFactor = Factor();
  d.m_bKeepAnime = Byte();
  return d;
}

CommandDef HostileCommand() {
  const int type = ACTCMDTYPE_MOVE_STRAIGHT + crt::rand() % 9;
  CommandDef command(type);
  command.UseTime(Pick({0, 1, 2, -1, INT16_MAX, INT16_MIN}));
  command.Growth(Pick({0, 1, -1, INT16_MAX, INT16_MIN}));
  if (crt::rand() % 4) command.Def().m_spMove = std::make_shared<cEdMove>(HostileMove());
  // Parameters: none, short, or extreme.
  command.Def().m_vParams.clear();
  const int count = crt::rand() % 4;
  for (int p = 0; p < count; ++p)
    command.Param(p, Pick({0, 1, 2, 3, 4, 5, -1, 127, 128, -129, INT32_MAX, INT32_MIN}));
  command.Def().m_nSe = static_cast<int16_t>(Pick({0, 1, -1, INT16_MAX}));
  return command;
}

bool Finite(const cCharaBase& c) {
  return std::isfinite(c.m_rcHit.dLeft) && std::isfinite(c.m_rcHit.dTop) && std::isfinite(c.m_dVx) &&
         std::isfinite(c.m_dVy) && std::isfinite(c.m_dInertiaX) && std::isfinite(c.m_dInertiaY);
}

}  // namespace

TEST(HostileMoves, ExtremeMoveRecordsRunCleanAndKeepPositionsFinite) {
  crt::srand(31);
  for (int round = 0; round < 60; ++round) {
    const int level = Pick({1, 3, 10});
    GameWorld world(level, round % 5 == 0 ? 0.0 : 0.4, static_cast<unsigned>(round) + 1);
    world.events.AllowCloseRequests(false);
    MapBuilder({"....................", "....#.....##........", "..........X.........", "####################"})
        .Build();
    world.Scene().m_ScrollX.m_dAutoSpeed = Pick({0, 1, -7});
    if (round % 2) world.AddHero(CharaDef().PlayerOperated().Fly(Pick({0, 1})), {Pick({0, 9, 19}), Pick({0, 2})});
    std::vector<cChara*> charas;
    for (int k = 0; k < 6; ++k) {
      FlowDef flow;
      for (int j = 0; j < 3; ++j) flow.Command(HostileCommand());
      CharaDef def = CharaDef().Fly(Pick({0, 1, 2, 3})).Facing(Pick({0, 1}));
      def.Def().m_bFixDirection = static_cast<int8_t>(Pick({0, 1}));
      def.Flow(flow);
      const int16_t clone = static_cast<int16_t>(Pick({0, 1, 2, INT16_MAX, INT16_MIN}));
      charas.push_back(&world.AddChara(def, {Pick({0, 5, 19}), Pick({0, 1, 2})}, clone));
    }
    world.UpdatePresence();
    for (cChara* c : charas) {
      c->m_nWallTurn = Pick({-1, 0, 1, 7});
      c->m_bTurnPending = Pick({0, 1});
      c->m_nCarrierId = charas.front()->m_nId;
      c->m_dKnockX = Pick({0, 1});
      StartFlow(*c, 0);
    }
    for (int s = 0; s < 50; ++s) {
      for (cChara* c : charas) {
        MoveStep(*c, true);
        ASSERT_TRUE(Finite(*c)) << "round " << round << " step " << s << " chara " << c->m_nId;
        if (c->m_vFlows[0].m_bRunning == 0) StartFlow(*c, 0);
      }
    }
  }
}
