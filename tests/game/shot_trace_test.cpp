// The flight of a shot on every path, and of a sword, step by step at two
// logic steps a frame, pinned in tests/fixtures/shots/flight_traces.txt as
// hex doubles: the same in every build (debug, release, sanitizers). After
// an intended change of a flight, write the file anew with
// UPDATE_SHOT_TRACES=1 build/test/tests/test_game --gtest_filter='ShotTrace.*'
#include <gtest/gtest.h>
#include "support/pinned_text.h"

#include <cstdlib>
#include <sstream>

#include "records/database.h"
#include "shot_test_env.h"

using namespace shottest;

namespace {

const char* const kTraceFile = FIXTURES_DIR "/shots/flight_traces.txt";

struct Flight {
  const char* name;
  int path;
  int p0, p1, p2;
  int accel;  // tenths, 0 none
  double vx, vy;
  int distance;  // half blocks, 0 no limit
};

const Flight kFlights[] = {
    {"straight, accelerating, staying at its distance", SHOTPATH_STRAIGHT, 0, 0, 0, 4, 2.5, -1.0, 5},
    {"aim at the hero after 2 hbl", SHOTPATH_AIM_HERO, 2, 0, 0, 0, -1.5, 1.5, 0},
    {"aim at the nearest of group 3 after 1 hbl", SHOTPATH_AIM_NEAREST, 1, 3, 0, 0, 0, -3.0, 0},
    {"aim at the target at once, accelerating", SHOTPATH_AIM_TARGET, 0, 0, 0, 3, 3.0, 0, 0},
    {"home on the hero from 1 to 4 hbl", SHOTPATH_HOME_HERO, 1, 4, 0, 0, 2.0, 2.0, 0},
    {"home on the nearest of group 3", SHOTPATH_HOME_NEAREST, 0, 6, 3, 0, -3.0, 0, 0},
    {"home on the target, accelerating", SHOTPATH_HOME_TARGET, 0, 999, 0, 2, 0, 3.0, 0},
    {"home on the nearest of group 3 (retarget)", SHOTPATH_HOME_NEAREST_RETARGET, 0, 6, 3, 0, -3.0, 0, 0},
    {"wave of 2 hbl at speed 8 from 45", SHOTPATH_WAVE, 2, 8, 45, 0, 3.0, -1.0, 0},
    {"wave up at 90", SHOTPATH_WAVE, 1, 12, 0, 0, -0x1.d1a62633145cp-49, -2.0, 0},
    {"fall after 2 hbl", SHOTPATH_FALL, 2, 0, 0, 0, 2.0, -3.0, 0},
};

std::string Line(const char* name, int step, const cShot& s) {
  std::ostringstream out;
  out << name << " | " << step << " " << Hex(s.m_rcHit.dLeft) << " " << Hex(s.m_rcHit.dTop) << " "
      << Hex(s.m_dVx) << " " << Hex(s.m_dVy) << " " << Hex(s.m_dBaseVx) << " " << Hex(s.m_dBaseVy) << " "
      << s.m_nDirection << "\n";
  return out.str();
}

std::string Traces() {
  std::string text;
  for (const Flight& f : kFlights) {
    ShotStage stage(2);
    stage.Hero(12, 9);
    cChara& owner = stage.Chara(3, 3);
    stage.Chara(14, 2, CharaDef().Group(3));
    stage.Chara(5, 11, CharaDef().Group(3));
    cChara& target = stage.Chara(20, 6, CharaDef().Group(4));
    owner.m_nTargetId = target.m_nId;
    cEdShot def = OneShot();
    def.m_nPath = static_cast<int8_t>(f.path);
    def.m_nPathParam[0] = static_cast<int16_t>(f.p0);
    def.m_nPathParam[1] = static_cast<int16_t>(f.p1);
    def.m_nPathParam[2] = static_cast<int16_t>(f.p2);
    def.m_nSpeed = 30;
    def.m_bAccel = f.accel != 0;
    def.m_nAccel = static_cast<int16_t>(f.accel);
    def.m_bRangeLimit = f.distance != 0;
    def.m_bStraightAtRangeEnd = 1;
    SHOTSPAWN sp = SpawnAt(500, 500, f.vx, f.vy, 3.0);
    sp.nDistance = f.distance;
    cShot& shot = stage.Fire(owner, def, sp);
    for (int step = 0; step < 48 && !stage.Scene().m_Shots.empty(); ++step) {
      stage.StepShots();
      if (!stage.Scene().m_Shots.empty()) text += Line(f.name, step, shot);
    }
  }
  // A sword of two frames in front of its walking owner.
  ShotStage stage(2);
  Database.m_vSwordType.resize(2);
  cEdSwordType& type = Database.m_vSwordType[1];
  type.m_vFrame.resize(2);
  for (int i = 0; i < 2; ++i) {
    type.m_vFrame[i].m_nWidth = 20 + 8 * i;
    type.m_vFrame[i].m_nHeight = 10;
    type.m_vFrame[i].m_nOffsetX = 3 * i - 2;
    type.m_vFrame[i].m_nPlace = i;
    type.m_vFrame[i].m_nTime = 1;
  }
  cChara& owner = stage.Chara(6, 6, CharaDef().Facing(1));
  cEdShot def = OneShot();
  def.m_nPath = 1;
  def.m_nScale = 2;
  cShot& sword = stage.Fire(owner, def, SpawnAt(0, 0, 0, 0), SHOTMAKER_SWORD);
  for (int step = 0; step < 30 && !stage.Scene().m_Shots.empty(); ++step) {
    owner.m_rcHit.dLeft += 0.75;
    stage.StepShots();
    if (!stage.Scene().m_Shots.empty()) text += Line("sword", step, sword);
  }
  return text;
}

}  // namespace

TEST(ShotTrace, EveryPathFliesAsPinned) {
  const std::string traces = Traces();
  if (testsupport::UpdatePinnedText("UPDATE_SHOT_TRACES", kTraceFile, traces)) GTEST_SKIP() << "wrote " << kTraceFile;
  EXPECT_TRUE(testsupport::MatchesPinnedText(kTraceFile, traces));
}
