#pragma once
// The shot emitter: the shot command and the three summon commands hand it
// their shot record, and it places every object by one of six formations
// (SHOTFORM) around its owner and spawns it: a shot into the stage's shot
// list, or a character, an item or a block through the stage's spawning.
// One call fires everything at once; it keeps no state between calls.
//
// Angles are degrees; the velocity of angle θ at speed s is (−cos θ × s,
// −sin θ × s): 0° left, 90° up, 180° right, 270° down. Positions are world
// dots, speeds dots per frame. Game thread only, inside a character's flow
// step (the command's executor calls it with the running character).
#include <cstdint>

#include "base/container.h"
#include "game/shot.h"
#include "records/shot_tables.h"

class cCharaBase;
class cCommandInstance;
class cEdShot;

// 1 / √2 as the emitter has always computed it.
extern const double ShotK;
// Degrees to radians with π cut to 14 decimals, as the shot paths, the
// formations and the emitter have always turned their angles.
constexpr double ShotDegToRad = 3.14159265358979 / 180;

// The direction angle of an absolute direction code (2 left 0, 3 right 180,
// 6 up 90, 7 down 270, 8 up-left 45, 9 down-left 315, 10 up-right 135, 11
// down-right 225; any other code 0), as a double and as an int.
double ShotDirAngle(int code);
int ShotDirAngleInt(int code);
// The record's direction code made absolute with the owner's facing (1
// right); code 12 takes the held direction of the running flow.
int AbsoluteShotDirCode(int code, int facing, int heldDir);
// The velocity of angle `degrees` at `speed` into sp.dVx, sp.dVy.
void SetShotVelocity(SHOTSPAWN& sp, double degrees, double speed);

// The shot command: nVolleys + 1 volleys into `shots` (the stage's m_Shots).
void ShootShots(cList<cShot>& shots, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def);
// The summon commands: one formation of the definition named by the record.
void SummonCharas(cCharaBase& owner, cCommandInstance& cmd, cEdShot& def);
void SummonItems(cCharaBase& owner, cCommandInstance& cmd, cEdShot& def);
void SummonBlocks(cCharaBase& owner, cCommandInstance& cmd, cEdShot& def);

// The formations; `list` is null for summons.
using SHOTFORMROUTINE = void (*)(cList<cShot>* list, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def,
                                 SHOTSPAWN& sp);
extern const SHOTFORMROUTINE ShotFormRoutines[SHOTFORM_COUNT];
void FormStraightA(cList<cShot>* list, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def, SHOTSPAWN& sp);
void FormStraightB(cList<cShot>* list, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def, SHOTSPAWN& sp);
void FormSpread(cList<cShot>* list, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def, SHOTSPAWN& sp);
void FormLightning(cList<cShot>* list, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def, SHOTSPAWN& sp);
void FormExplosion(cList<cShot>* list, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def, SHOTSPAWN& sp);
void FormSurround(cList<cShot>* list, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def, SHOTSPAWN& sp);

// The angle from world point (x, y) to the centre of the owner's target,
// allowing for a view that scrolls the target along (then sp.dSpeed becomes
// the speed of the intercept).
int AimAngle(int x, int y, cCharaBase& owner, cEdShot& def, SHOTSPAWN& sp);
// One object from the spawn record, by the command's type (11 shot, 13
// block, 14 character, 15 item).
void SpawnOne(cList<cShot>* list, const SHOTSPAWN& sp, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def);

// Start points: sp.nStartX, nStartY, the row step (nStepX, nStepY), the
// column step and the velocity, from the owner's view rectangle, the size
// of one object (sp.nWidth, sp.nHeight) and sp.nDirCode; each but
// RotatedStart adds the volley's offsets.
void StartStraightA(const cCharaBase& owner, const cEdShot& def, SHOTSPAWN& sp);
void StartStraightAAngled(cCharaBase& owner, cEdShot& def, SHOTSPAWN& sp);
void StartStraightB(const cCharaBase& owner, const cEdShot& def, SHOTSPAWN& sp);
void StartStraightBAngled(cCharaBase& owner, cEdShot& def, SHOTSPAWN& sp);
void StartSpread(const cCharaBase& owner, SHOTSPAWN& sp);
void StartSpreadAngled(cCharaBase& owner, cEdShot& def, SHOTSPAWN& sp);
void StartLightning(const cCharaBase& object, const cEdShot& def, SHOTSPAWN& sp);
void StartLightningAngled(const cCharaBase& object, const cEdShot& def, SHOTSPAWN& sp);
void StartCentre(const cCharaBase& owner, SHOTSPAWN& sp);
void RotatedStart(const cCharaBase& owner, SHOTSPAWN& sp, int angle);
