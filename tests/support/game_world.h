#pragma once
// A running stage for tests of play, rebuilt from nothing for each test:
//
//   GameWorld world(3);                      // speed level 3, gravity 0.4
//   MapBuilder map({"H....e", "######"});
//   map.Build();
//   cHero& hero = world.AddHero(CharaDef().PlayerOperated(), map.Find('H'));
//   cChara& enemy = world.AddChara(CharaDef(), map.Find('e'));
//   world.RunFrame([&](int step) { enemy.ApplyGravity(); enemy.StepY(2); });
//   EXPECT_EQ(world.events.Texts(EventKind::Trigger), ...);
//
// While it lives, the working directory is a fresh folder; every global the
// objects read is as a new project and an empty stage leave it (System.dat
// and the database at their defaults with the run tables and the arrange
// table built, Stage at the speed level and gravity given, the common
// palette, the surface table's character sheets 640 × 480 without back-end
// surfaces, MapCell, the object lists, Input, PlayData fresh); CurStage is the
// world's own stage data with its 255 stage variables at 0; the random
// generator is seeded; and `events` records what the run tells the world,
// failing the test on a box it did not expect or a close request.
// Everything is put back empty when it ends.
#include <cstdint>
#include <functional>

#include "game/characters.h"
#include "game/stage_data.h"
#include "support/event_log.h"
#include "support/map_builder.h"
#include "support/test_support.h"

namespace testsupport {

class GameWorld {
  // First made, last gone: the logs and every file of the run live there.
  ScopedWorkDir m_dir;

 public:
  explicit GameWorld(int speedLevel = 1, double gravity = 0.4, unsigned seed = 1);
  // The same with the test's own stage data (a PausingStage, ...) as the
  // running stage; it must outlive the world.
  explicit GameWorld(cSceneStageData& scene, int speedLevel = 1, double gravity = 0.4, unsigned seed = 1);
  ~GameWorld();
  GameWorld(const GameWorld&) = delete;
  GameWorld& operator=(const GameWorld&) = delete;

  cSceneStageData& Scene() { return m_scene; }

  // The hero (Player element 0), set up (cHero::SetUp) with the id from the
  // character serial and put on map cell `at` as the stage set-up places it,
  // its flows built (idle); its start position is where it stands.
  cHero& AddHero(const cEdChara& def, Cell at);
  // A stage character built on the stack (cChara::SetUp, with the drop item
  // when one is given), placed on cell `at` and copied into CharaList and its
  // group list, as the stage does.
  cChara& AddChara(const cEdChara& def, Cell at, int16_t cloneNo = 0, const cItem* dropItem = nullptr);

  // The presence pass, reduced: every character present, its screen
  // rectangle taken and its on-screen flag set from the view.
  void UpdatePresence();

  // One frame: the frame counter, then `step` for each of the stage's S
  // logic steps (step number 0..S − 1) with the step counters set.
  void RunFrame(const std::function<void(int step)>& step);

  EventLog events;

 private:
  cSceneStageData m_ownScene;
  cSceneStageData& m_scene;
  cSceneStageData* m_previousStage = nullptr;
  int m_savedBpp = 0;
  int m_savedStretch = 0;
};

// The same for a character already in place (hero or stage character).
void SetUpTestChara(cCharaBase& chara, const cEdChara& def, int id, Cell at, int16_t cloneNo, bool hero);

}  // namespace testsupport
