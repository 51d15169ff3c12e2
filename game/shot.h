#pragma once
// Shots and swords: the live attack objects of a running stage. A shot is
// fired by the emitter (game/shot_emitter.h) and then flies on its own along
// one of ten paths until its life, its distance, a block or the stage ends
// it; a sword is pinned to the character that swings it and shows the frames
// of its sword type. Every one lives in the stage's m_Shots and in the shot
// group list of its group (cSceneStageData).
//
// Units: world dots as doubles; velocities in dots per logic step; the
// record's speeds in tenths of a dot per frame, distances in half blocks
// (16 dots), times in tenths of a second (6 frames). S is the stage's logic
// steps per frame as a double (Stage.m_dSteps), N the same as an int.
// Everything here runs on the game thread; Draw also on the pause loop's
// thread while the game thread waits.
#include <cstdint>

#include "base/container.h"
#include "game/game_object.h"
#include "records/shot.h"

struct DDSURFACEDATA;

enum SHOTKIND { SHOTKIND_SWORD = 0, SHOTKIND_SHOT = 1 };

// The command types that make shots: the maker's type decides the kind.
constexpr int SHOTMAKER_SHOT = 11;
constexpr int SHOTMAKER_SWORD = 12;

// What the emitter fills for every object it places and cShot::Init reads.
struct SHOTSPAWN {
  int16_t sIndex = 0;     // volley index: the shot's clone number
  double dSpeed = 0;      // dots per frame
  int32_t nAngle = 0;     // degrees, of the volley
  int32_t nDistance = 0;  // half blocks
  int32_t nLife = 0;      // tenths of a second
  double dVx = 0;         // dots per frame
  double dVy = 0;
  int32_t nX = 0;  // top-left of the hit box, world dots
  int32_t nY = 0;
  int32_t nStartX = 0;  // start point of the formation
  int32_t nStartY = 0;
  int32_t nStepX = 0;  // between two shots of a row
  int32_t nStepY = 0;
  int32_t nColStepX = 0;  // between two columns (lightning)
  int32_t nColStepY = 0;
  int32_t nWidth = 0;  // one object: 16 × scale; summons 32 × the definition's scale
  int32_t nHeight = 0;
  int32_t nOffsetX = 0;  // of the volley
  int32_t nOffsetY = 0;
  int32_t nDirCode = 0;  // absolute direction code 2..11
};

class cShot : public cGameObject {
 public:
  int32_t m_nOwnerId = OBJECT_NONE;  // the character that fired or swings it
  int32_t m_nKind = SHOTKIND_SHOT;
  int32_t m_nDistSteps = 0;  // logic steps left to the distance limit
  int32_t m_nLifeSteps = 0;  // logic steps left to the life limit
  int32_t m_nStep = 0;       // shot: steps since its path started; sword: ticks on the frame
  int32_t m_nFrame = 0;      // sword: its frame
  double m_dAccel = 0;
  double m_dPathSpeed = 0;  // aiming, homing and fall paths, dots per step
  double m_dBaseVx = 0;     // dots per step
  double m_dBaseVy = 0;
  int32_t m_bAccel = 0;
  int32_t m_nTurnStep = 0;     // the path aims, starts homing or falls at this step
  int32_t m_nHomeEndStep = 0;  // homing stops at this step
  int32_t m_bPathDone = 0;
  double m_dWavePhase = 0;
  double m_dWaveSin = 0;  // unit vector across the flight
  double m_dWaveCos = 0;
  HITBOX m_Box;  // attack box: what touches characters
  // Ids of the characters it has hit already (the attack rules keep it);
  // ids, so that an erased character leaves nothing behind.
  cList<int32_t> m_HitList;
  cEdShot m_ShotDef;  // its own copy of its parameters
  // The target of the aim-target and home-target paths, by id (OBJECT_NONE
  // for every other shot); registered in that character's m_vShots.
  int32_t m_nTargetId = OBJECT_NONE;

  // The game-object part, every counter 0, a new shot record.
  cShot();
  cShot(const cShot& other);
  cShot& operator=(const cShot& other);
  // Leaves its target's m_vShots.
  ~cShot() override;

  // Virtual slots of cGameObject.
  void ScaleHitBox(int nScale) override;
  // Keeps the hit box's vertical centre (with the base's horizontal one).
  void OnScaleChanged(int nNew, int nOld) override;
  void HitBoxX() override;
  void HitBoxY() override;

  // Set-up by the emitter (type 11, also for its trial shot) and the sword
  // command (type 12): id a serial of the stage, def the maker's record (a
  // scale of 0 becomes 1 there), sp the spawn record.
  void Init(int id, cCharaBase& owner, int type, cEdShot& def, const SHOTSPAWN& sp);
  // m_dAccel as a vector along (dx, dy), dots per step per step.
  void GetSpeedVector(double& ax, double& ay, double dx, double dy) const;

  // Once per logic step: scroll part, path, acceleration, life, facing,
  // distance. 1 asks the stage to remove it.
  int StepTrajectory();
  // A sword's step, pinned to its owner. 1 when it ends.
  int StepSword();
  // The moves of a logic step, after ApplyGravity; always 0.
  int StepHorizontal();
  int StepVertical();
  // Into the active area: 3 when clamped, else 0; then the edges, the
  // attack box and the cells.
  int ClampX();
  // 1 when the shot touches a map cell that blocks its group.
  int HitsBlock() const;

  // Once per drawn frame at its m_rcScreen (UpdateScreenRect first); a
  // frozen play (bFrozen 1) holds its animation.
  void Draw(DDSURFACEDATA* surface, int bFrozen);

  // The paths (shot_paths.cpp); step 3 of StepTrajectory runs the one of
  // m_ShotDef.m_nPath.
  void PathAimHero();
  void PathAimNearest();
  void PathAimTarget();
  void PathHomeHero();
  void PathHomeNearest();
  void PathHomeTarget();
  void PathWave();
  void PathFall();

 private:
  void CopyMembers(const cShot& other);
  // The path speed and the turn (and homing end) steps, on a path's first step.
  void StartPath(int bHoming);
  void AimAt(const cCharaBase* object);
  void Steer(const cCharaBase* object);
  // Homing: 1 while it steers on this step; at its end the path is done.
  int HomingStep();
  void CountPathStep();
};

using SHOTPATHROUTINE = void (cShot::*)();
// Indexed by SHOTPATH; null for the straight path.
extern const SHOTPATHROUTINE ShotPathRoutines[SHOTPATH_COUNT];
