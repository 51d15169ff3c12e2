#pragma once
// A small stage for the tests of shots, swords and the emitter: an empty map
// of 30 × 15 cells (or the rows given) with the view at the map's first
// cell, so that a character on cell (cx, cy) has the view rectangle (32 cx,
// 32 cy)..(32 cx + 31, 32 cy + 31) and the world position 320 dots further
// on each axis; a command of the type under test; and helpers that build
// shots the way the emitter does.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/shot.h"
#include "game/stage_data.h"
#include "records/command.h"
#include "records/shot.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/game_world.h"

namespace shottest {

using namespace testsupport;

inline std::vector<std::string> EmptyRows(int w = 30, int h = 15) {
  return std::vector<std::string>(h, std::string(w, '.'));
}

// A command of one type with its instance, as a flow holds them.
struct Command {
  explicit Command(int type) {
    record.m_nType = static_cast<int8_t>(type);
    instance.m_pCommand = &record;
  }
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;
  cEdCommand record;
  cCommandInstance instance;
};

// A shot record firing one object, with the defaults of a new record.
inline cEdShot OneShot() {
  cEdShot def;
  def.m_nCount = 1;
  return def;
}

// A stage at speed level `level` with the view on the map's first cell.
class ShotStage {
 public:
  explicit ShotStage(int level = 1, const std::vector<std::string>& rows = EmptyRows()) : world(level) {
    MapBuilder(rows).Build();
    world.Scene().m_ScrollX.m_dPos = 320;
    world.Scene().m_ScrollY.m_dPos = 320;
  }
  cSceneStageData& Scene() { return world.Scene(); }

  // A character on cell (cx, cy), present, its screen rectangle taken.
  cChara& Chara(int cx, int cy, const cEdChara& def = CharaDef()) {
    cChara& c = world.AddChara(def, {cx, cy});
    world.UpdatePresence();
    return c;
  }
  cHero& Hero(int cx, int cy, const cEdChara& def = CharaDef().PlayerOperated().Group(0)) {
    cHero& h = world.AddHero(def, {cx, cy});
    // Its far edges, which the hero's own confinement will keep.
    h.cGameObject::ClampX(2);
    h.cGameObject::ClampY(2);
    // The hero's set-up carries the view with it; these stages keep theirs.
    world.Scene().m_ScrollX.m_dPos = 320;
    world.Scene().m_ScrollY.m_dPos = 320;
    world.UpdatePresence();
    return h;
  }

  // A shot built from a copy of `def` and filed as the emitter does it,
  // with the next serial.
  cShot& Fire(cCharaBase& owner, cEdShot def, const SHOTSPAWN& sp, int type = SHOTMAKER_SHOT) {
    cShot built;
    built.Init(Scene().m_nShotSerial++, owner, type, def, sp);
    cShot& added = Scene().AddShot(built);
    return added;
  }

  // One logic step of every shot, in the play step's order (without the
  // off-screen rule); removed shots leave the list.
  void StepShots() {
    for (auto it = Scene().m_Shots.begin(); it != Scene().m_Shots.end();) {
      cShot& s = *it;
      if (s.StepTrajectory()) {
        it = Scene().EraseShot(it);
        continue;
      }
      s.ApplyGravity();
      s.StepVertical();
      s.StepHorizontal();
      if (s.HitsBlock()) {
        it = Scene().EraseShot(it);
        continue;
      }
      ++it;
    }
  }

  GameWorld world;
};

// The spawn record of one shot at world (x, y) with velocity (vx, vy) dots per frame.
inline SHOTSPAWN SpawnAt(int x, int y, double vx, double vy, double speed = 0) {
  SHOTSPAWN sp;
  sp.nX = x;
  sp.nY = y;
  sp.dVx = vx;
  sp.dVy = vy;
  sp.dSpeed = speed;
  sp.nWidth = sp.nHeight = 16;
  return sp;
}

// A double as its C hex form, for traces and messages.
inline std::string Hex(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%a", v);
  return text;
}

}  // namespace shottest
