#pragma once
// A small stage for the tests of the hero and the characters: the logic
// step of a character in the stage's order, with a plain floor rule in
// place of the stage's block collision (land on a solid cell under the
// bottom edge, stand while the cell below is solid), and the jump command
// as the movement commands run it (a launch for the height of parameter 2,
// held until the apex).
#include <vector>


#include "base/checked_convert.h"
#include "game/action_commands.h"
#include "game/characters.h"
#include "game/map_cells.h"
#include "game/stage_data.h"
#include "records/stage.h"
#include "support/flow_recorder.h"

namespace actorstest {

// Lands on a solid cell under the bottom edge; stands on the cell below it.
inline void Floor(cCharaBase& c) {
  const int cx = ToIntChecked(c.m_rcHit.dLeft + c.m_nHitWidth / 2) >> 5;
  if (c.m_dVy >= 0 && GetHitAttr(CellAt(cx, ToIntChecked(c.m_rcHit.dBottom) >> 5), c.m_nGroup)) c.LandOnBlock();
  MAPCELL* foot = CellAt(cx, (ToIntChecked(c.m_rcHit.dBottom) + 1) >> 5);
  if (GetHitAttr(foot, c.m_nGroup)) {
    c.m_pFootCell = foot;
    c.m_bAirborne = 0;
  } else {
    c.m_pFootCell = nullptr;
    c.m_bAirborne = 1;
  }
}

// One logic step of a character in the play step's order (flows, moves,
// gravity, the floor); the result of its Run.
inline int StepChara(cCharaBase& c) {
  c.TickInvincibility();
  c.ClearBlockedFlags();
  c.SavePrevHitBox();
  c.FireTrigger(FLOWTRIGGER_ALWAYS);
  const int end = c.Run(0);
  if (end) return end;
  c.MoveX();
  c.ApplyGravity();
  c.MoveY();
  Floor(c);
  c.DecayKnockbackX();
  c.DecayKnockbackY();
  return 0;
}

// The jump command: while it lives, a jump command's instance starts with
// the launch speed for the height of its parameter 2 and lasts until the
// apex, and each of its steps calls the character's Jump.
class JumpCommand {
 public:
  explicit JumpCommand(testsupport::FlowRecorder& recorder) {
    m_saved = ActionTable[ACTCMDTYPE_JUMP].pSetup;
    ActionTable[ACTCMDTYPE_JUMP].pSetup = [](cCharaBase& c, cCommandInstance& i) {
      const int8_t h = static_cast<int8_t>(i.m_pCommand->m_vParams.At(2));
      i.m_dSpeed = c.JumpSpeedForHeight(h);
      i.m_nDuration = c.JumpTimeForHeight(h) * Stage.m_nStepsPerFrame * 6;
    };
    recorder.OnRun(ACTCMDTYPE_JUMP, [this](cCharaBase& c, cCommandInstance& i) {
      const int begun = i.m_bBegun;
      const int jumped = c.m_bJumped;
      c.Jump(i);
      // The hero marks its launch in the instance, a character by jumping.
      if (c.m_nController == 0 ? !begun && i.m_bBegun : !jumped && c.m_bJumped) {
        launches.push_back(c.m_dVy);
        launchers.push_back(c.m_nId);
      }
    });
  }
  ~JumpCommand() { ActionTable[ACTCMDTYPE_JUMP].pSetup = m_saved; }
  JumpCommand(const JumpCommand&) = delete;
  JumpCommand& operator=(const JumpCommand&) = delete;

  std::vector<double> launches;  // the speed right after each launch
  std::vector<int> launchers;    // whose launch it was

 private:
  ACTIONSETUP m_saved;
};

// The first launch speed of character `id`; 0 when it did not launch.
inline double FirstLaunch(const JumpCommand& jump, int id) {
  for (size_t i = 0; i < jump.launches.size(); ++i)
    if (jump.launchers[i] == id) return jump.launches[i];
  return 0;
}

}  // namespace actorstest
