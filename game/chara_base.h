#pragma once
// The common base of the hero (cHero) and of every other character (cChara):
// on top of cGameObject its own copy of its definition (whose fields are its
// statuses, which commands change at run time), its target and the
// characters and shots that refer to it, its flows, its start position, the
// jump, landing and knock-back state, hit and skill points with their
// gauges, nine variables, invincibility, attached animations and character
// effect, and two contact boxes. It supplies the physics that the stage runs
// in its fixed order every logic step.
//
// References between characters are object ids (m_nId; the hero's and the
// stage characters' ids come from one serial), resolved by FindCharaById
// when used, so a character copied from a temporary into its list node
// leaves nothing behind and a character that is gone is simply not found.
#include <cstdint>

#include "base/container.h"
#include "game/attached_anime.h"
#include "game/flow_budget.h"
#include "game/flow_instance.h"
#include "game/game_object.h"
#include "records/chara.h"
#include "records/effect_state.h"

struct MAPCELL;
class cEdCondition;
struct DDSURFACEDATA;
struct GRAPHICSOURCE;
struct KEYCURSOR;
struct INPUTRUN;
class cInput;
class cItem;
class cShot;

// The flow switch letters 1..26 (A..Z) and an unused 0.
constexpr int FLOW_SWITCH_COUNT = 27;
// Character variables: v1..v8 are entries 1..8.
constexpr int CHARA_VAR_COUNT = 9;

// Blocked sides of a logic step (LRUD).
enum { LRUD_LEFT, LRUD_RIGHT, LRUD_UP, LRUD_DOWN };

// The HP or SP gauge animation above a character, in gauge dots (the gauge
// is 50 dots wide).
struct GAUGESTATE {
  int32_t nTimer = 0;    // frames left to show it
  double dDiff = 0;      // the change still shown; positive for a gain
  double dShrink = 0;    // taken off dDiff per drawn frame
  int32_t nValue = 0;    // the value bar
};

// Invincibility against one attacker.
struct INVINCIBLEFROM {
  int32_t nKey = 0;    // names the attacker
  int32_t nCount = 0;  // logic steps left
};

class cCharaBase : public cGameObject {
 public:
  int32_t m_nTargetId = OBJECT_NONE;  // its target ("tg"): the hero after Reset
  cVector<int32_t> m_vTargetedBy;     // ids of the characters whose target it is
  cVector<int32_t> m_vShots;          // serials of the shots aimed at it
  cEdChara m_Def;                     // own copy of the definition: every status lives here
  int32_t m_nFlowSerial = 0;
  cVector<cFlowInstance> m_vFlows;  // parallel to m_Def.m_vFlows
  FLOWBUDGET m_FlowBudget;          // what this frame's flow changes built
  cVector<uint8_t> m_vSwitchTaken;
  cVector<uint8_t> m_vSwitchReleased;
  cVector<uint8_t> m_vSwitchStarted;
  int32_t m_bSwitchRelease = 0;
  int32_t m_bFlowRemoval = 0;
  double m_dStartX = 0;  // the position Reset was given (the placed position)
  double m_dStartY = 0;
  int32_t m_bMoved = 0;  // a move command moved it in this step
  double m_dKnockX = 0;  // knock-back speed, dots per step
  double m_dKnockY = 0;
  int32_t m_bKnockback = 0;
  double m_dKnockYApplied = 0;  // the part of m_dVy that was vertical knock-back last step
  int32_t m_bMoveDisabled = 0;  // the disable-move command ran in this step
  int32_t m_nWallTurn = -1;     // facing to take after the last wall hit; −1 none
  int32_t m_bAirborne = 1;
  int32_t m_bJumping = 0;
  int32_t m_bJumped = 0;
  int32_t m_bJumpLock = 0;
  int32_t m_bJumpBlocked = 0;  // logic steps without floor contact (a count)
  MAPCELL* m_pFootCell = nullptr;  // cells of MapCell (rebuilt only with the characters)
  MAPCELL* m_pGroundCell = nullptr;
  MAPCELL* m_pPrevGroundCell = nullptr;
  int32_t m_nCrushGrace = 0;
  int32_t m_bAnchorX = 0;  // drawn at a fixed view x / y
  int32_t m_bAnchorY = 0;
  int32_t m_nAnchorX = 0;
  int32_t m_nAnchorY = 0;
  int32_t m_bDefeated = 0;
  int32_t m_nDefeatFrames = 0;
  int32_t LRUD[4] = {0, 0, 0, 0};  // blocked left, right, up, down in this step
  int32_t m_bTurnPending = 0;
  int32_t m_bRiding = 0;
  int32_t m_nCarrierId = 0;
  DRECT m_rcCarrier;
  DRECT m_rcPrevHit;  // hit box at the start of the logic step
  int32_t m_nHp = 0;
  GAUGESTATE m_HpGauge;
  int32_t m_nSp = 0;
  GAUGESTATE m_SpGauge;
  cVector<int32_t> m_vVars;  // CHARA_VAR_COUNT entries
  int32_t m_nInvincible = 0;  // logic steps
  cList<INVINCIBLEFROM> m_lInvincibleFrom;
  cList<ATTACHEDANIME> m_lAnimes;  // newest first
  cCharaEffectState m_CharaEffect;
  int32_t m_bVanished = 0;
  int32_t m_nSightDots = 0;
  HITBOX m_Contact;      // what bodies touch
  HITBOX m_ShotContact;  // what shots and swords hit

  // The game-object part, empty lists, a cleared definition.
  cCharaBase();
  // Copies go through Assign, so that the flow instances point into the
  // copy's own definition.
  cCharaBase(const cCharaBase& other);
  cCharaBase& operator=(const cCharaBase& other);
  ~cCharaBase() override = default;

  // Virtual slots of cGameObject.
  void OnScaleChanged(int nNew, int nOld) override;
  void SetCentre(int x, int y) override;
  void SnapCentre(int x, int y, cCommandInstance& instance) override;
  void SetCentreX(int x) override;
  void SnapCentreX(int x, cCommandInstance& instance) override;
  void SetCentreY(int y) override;
  void SnapCentreY(int y, cCommandInstance& instance) override;
  // Slots of the characters, in order.
  // Every member but m_bMoveDisabled; flow instances re-bound to the copy.
  virtual void Assign(const cCharaBase& other);
  virtual cItem* GetDropItem() { return nullptr; }
  virtual int ConfineX() { return 0; }
  virtual int ConfineY() { return 0; }
  virtual int MoveX() { return 0; }
  virtual int MoveY() { return 0; }
  virtual int Run(int bDeathPass) { return 0; }
  virtual int Jump(cCommandInstance& instance) { return 0; }
  // Step 4 of the flow pass: the hero applies the flow changes its item
  // commands queued while its flows stepped.
  virtual void ApplyQueuedFlowChanges() {}

  // Set-up by the characters' and the hero's SetUp, with m_nId already the
  // character's id: state cleared, the hero as target, the definition copied
  // (none keeps the copy and the points), start effect, basic animations.
  void Reset(const cEdChara* def, double x, double y, int16_t cloneNo);
  // m_Contact as a w × h box in the 32-dot cell of the graphic, centred or
  // standing on the cell's bottom.
  void SetContactBox(int bBottom, int w, int h);
  // Puts the character on map cell (cx, cy) (0-based inside the border).
  void SetCellPos(int cx, int cy);
  void SetCellX(int cx);
  void SetCellY(int cy);

  // Flows (flow_build.cpp, flow_removal.cpp, flow_pass.cpp).
  // Builds instances for `flows` (their LOOPs expanded in place first).
  // bInsert 0 (the set-ups, with m_Def.m_vFlows): every flow of the
  // character is replaced. bInsert 1 (flow changes): copies of the records
  // go into the definition copy at nPos (0 <= nPos < flows there), else at
  // the end, each with a fresh idle instance whose key sequence starts
  // latched unless it is continuous.
  // An insert builds only the leading flows that CHARA_MAX_FLOWS and this
  // frame's FLOWCHANGE_MAX_COMMANDS leave room for (a debug-log line, once a
  // frame, when it stops short).
  // bTake: the records are moved out of `flows` (a queued copy) instead of copied.
  void BuildFlows(cVector<cEdFlow>& flows, int bInsert, int nPos, int bTake = 0);
  // The caps of flow changes (flow_budget.cpp). How many leading flows of
  // `flows` fit CHARA_MAX_FLOWS and this frame's FLOWCHANGE_MAX_COMMANDS;
  // charges them unless bCharged (copies charged when they were queued).
  int FlowsWithinBudget(const cVector<cEdFlow>& flows, int bCharged);
  // Expands the LOOPs of carried flows in place when what that makes fits
  // this frame's budget (charged); 0 when it did not (the flows are then
  // not to be built).
  int ExpandCarriedFlows(cVector<cEdFlow>& flows);
  // Charges a copy of the flows (into the hero's queue); 0 when it does not fit.
  int ChargeFlowCopy(const cVector<cEdFlow>& flows);
  FLOWBUDGET& FrameFlowBudget();
  // The debug-log line of a cut, once a frame.
  void TellFlowBudget(const char* what);
  // Points every instance, key condition and command instance at the
  // records of the same position in the definition copy.
  void RebindFlows();
  // Copies another character's flow instances, pointing into this one's
  // definition (already a copy of the other's).
  void AssignFlows(const cCharaBase& other);
  void CopyFlowsFrom(const cCharaBase& other) { AssignFlows(other); }
  // Stops flow n, removes its animations, its instance and its record.
  void RemoveFlowAt(int n);
  // Id 0: every flow and every attached animation; returns 0. Another id:
  // every flow of that ID (1..26); returns the position of the first one
  // removed, -1 when none was.
  int RemoveFlowsById(int id);
  // Removes the attached animations tagged with a flow's serial.
  void RemoveFlowAnimes(int key);
  // The flow operations' pause and resume of a flow's attached animations:
  // a paused flow keeps those still within their length and hold (they stop
  // advancing) and drops those already past them; resuming lets them run on.
  void PauseFlowAnimes(int key);
  void ResumeFlowAnimes(int key);
  // Once per frame, before its logic steps: every flow may be tried again.
  void ResetStepTriggers();
  // Starts the idle flows of `trigger` (FLOWTRIGGER) whose gates pass; each
  // flow is tried at most once per frame. Called every logic step for
  // ALWAYS, and by the places where the other triggers happen.
  void FireTrigger(int trigger);
  // The command animations of running flows due at their current step.
  void StartScheduledAnimes();
  // The flow pass, first work of the character's Run with the character
  // current: steps every running flow (in the death pass only DEATH flows),
  // then the queued flow changes, removals and switch releases. 1 when the
  // character's step must end here (vanished, or HP gone outside a death flow).
  int RunFlows(int bDeathPass);

  // Key sequences (key_conditions.cpp). The histories are player 1's.
  // The key gate of FireTrigger: continuous flows pass while the sequence
  // matches, edge flows only when it starts to match.
  int CheckKeyConditions(cFlowInstance& flow);
  // The sequence ends at the present moment, each condition where the next
  // begins, an earlier one found up to `tolerance` frames back or one forward.
  static int MatchKeySequence(const cVector<cEdKeyCondition*>& conditions, int tolerance);
  // The condition at the cursor; span = the frames of the run it spans.
  static int MatchKeyCondition(const cEdKeyCondition& condition, const KEYCURSOR& cursor, int64_t& span);
  // One key run that has lasted `frames` frames, against state 1 (held) or 2 (released).
  static int TestKeyRun(const INPUTRUN& run, int64_t frames, const cEdKeyCondition& condition, int state);
  // Moves every history of the cursor d frames (back when d <= 0).
  static void ShiftKeyCursor(KEYCURSOR& cursor, int64_t d);
  // The keys of the condition as they are now, without lengths or facing.
  static int CheckKeyNow(const cInput& input, const cEdKeyCondition& condition);

  // Physics of a logic step, in the stage's order.
  void ClearBlockedFlags();
  void SavePrevHitBox() { m_rcPrevHit = m_rcHit; }
  void RestorePrevHitBox() { m_rcHit = m_rcPrevHit; }
  // Gravity unless flying, riding, move-disabled or knocked upward.
  void ApplyGravity();
  // Block collision found a solid cell under the bottom edge / above the top.
  void LandOnBlock();
  void HitCeiling();
  void LeaveCarrier(int bTurn);
  int IsOnGround() const;
  // Knock-back of strength `impact` (half blocks, −20..20, less the impact
  // resistance) along (dx, dy).
  void ApplyKnockback(int impact, double dx, double dy);
  void ApplyBodyKnockback(const cCharaBase& attacker);
  // A shot pushes along its velocity, a sword along its facing, with the
  // impact of its record.
  void ApplyShotKnockback(const cShot& shot);
  void ApplyKnockbackY();
  void DecayKnockbackX();
  void DecayKnockbackY();

  // HP += delta within 0..max HP; 1 when HP became 0. A loss is refused
  // while the invincibility setting is on, unless bForce.
  int ChangeHp(int delta, int bForce, int bGauge);
  void ChangeSp(int delta, int bGauge);
  void StartHpGauge(int delta);
  void StartSpGauge(int delta);

  // A shot or sword hits it (the attack rules call it): HP loss by the
  // shot's power less the defence, hit effect, knock-back, the damage and
  // impact triggers. 1 when HP became 0.
  int TakeShotHit(const cShot& shot);

  // Conversions (g the gravity per step, S the steps per frame).
  static int HblToDots(int8_t n) { return n * 16; }
  static double StopToDecel(int16_t stop);
  // The launch speed (negative is up) that reaches d dots, for this
  // character (a player-operated one jumps a little lower). 0 without gravity.
  double JumpSpeedForHeightDots(double d) const;
  double JumpSpeedForHeight(int8_t h) const;
  // Logic steps until a launch at v reaches its apex.
  static int JumpStepsToApex(double v);
  // Tenths of a second to the apex of a jump of h half blocks.
  int JumpTimeForHeight(int8_t h) const;

  int TouchesBlockCorners() const { return cGameObject::TouchesBlockCorners(); }

  // Moves (chara_moves.cpp): what the move commands' executors share. Each
  // runs inside the executor of the command `instance` on this character;
  // speeds are dots per logic step, angles degrees (0 left, 90 up, 180
  // right, 270 down).
  // instance.m_nAngle: the move's angle (growth × clone number + base),
  // 360 − it when it mirrors and the character was placed facing right,
  // brought below 360.
  void GetMoveAngle(cCommandInstance& instance) const;
  // instance.m_nTargetX / Y: the move's target in cells × 32 + dots, negated
  // per mirror flag when the character was placed facing right.
  void GetMoveTargetOffset(cCommandInstance& instance) const;
  // A direction code (DIRCODE) made absolute: front, back and the vertical
  // front and back by the facing; the input direction (12) held when the
  // stage's current flow fired, or now with bReadNow (player 1), where a
  // character that does not fly (bFlying 0) takes its diagonals as left or
  // right. Other codes come back unchanged.
  int ResolveDirection(int code, int bReadNow, int bFlying) const;
  // The velocity at speed v along a code (2..11 after ResolveDirection; any
  // other gives none), the vertical part only for a flier; hint (1 face
  // left, 2 face right, 0 keep) unless the facing is fixed.
  void GetDirectionVelocity(double v, int code, double& vx, double& vy, int& hint) const;
  // The same along the code's angle turned by e degrees.
  void GetAngleVelocity(double v, int code, int e, double& vx, double& vy, int& hint) const;
  // instance.m_dVx / Vy / m_nFacingHint: speed v from the centre of the
  // graphic toward the target point (tx, ty) of the move's basis (0 placed
  // position, 1 relative, 2 map cell point, 3 view point; others: none).
  // With frames from distance the command's timer becomes the steps to get
  // there; arrived with stop-on-arrival, the used axes stop.
  void GetTargetVelocity(cCommandInstance& instance, double v, int tx, int ty) const;
  // Hands a move's velocity to this step: the facing by the hint (unless the
  // move keeps it; a fixed facing only with bForceFacing), then into the
  // inertial speeds (inertia moves) or the speeds of the step, and the
  // moving animation unless the move keeps the animation.
  void ApplyMove(double vx, double vy, int hint, const cCommandInstance& instance, int bForceFacing);
  // instance.m_dVx / Vy / m_nFacingHint of the ground turn-back move:
  // ahead at the instance's speed; turned round when a turn is pending from
  // leaving a carrier (with the carrier's movement since), else a hint to
  // turn at a ledge under one foot.
  void CheckTurnBack(cCommandInstance& instance);
  // Homing toward (x, y) on the axes the move allows, into the instance
  // (cGameObject::HomeToward and its one-axis forms). 1 on arrival.
  int GetHomingVelocity(cCommandInstance& instance, const cGameObject* target, double x, double y);
  // The velocity that brings the character back into the 640 × 480 view on
  // the sides its code names, taking a running auto-scroll into account.
  void GetAvoidOffscreenVelocity(const cCommandInstance& instance, double& vx, double& vy) const;

  // Rebuilds the animation patterns from basic animation set n (AnimeSet.dat)
  // unless it is the set already in use and bForce is 0.
  void SetBasicAnimeSet(int n, int bForce);
  // The target, resolved; null when it has none or it is gone.
  cCharaBase* Target() const;
  // Takes `target` as its target and is listed once among those aiming at it.
  void SetTarget(cCharaBase& target);

  // Conditions about this character (game/chara_conditions.cpp), asked by
  // CheckCondition: CONDTYPE_STATE, CONDTYPE_SITUATION and CONDTYPE_DISTANCE.
  // A subject that is not there (no target, no hero) makes them false.
  int CheckStateCondition(const cEdCondition& condition) const;
  int CheckSituationCondition(const cEdCondition& condition) const;
  // Takes this character's screen rectangle first.
  int CheckDistanceCondition(const cEdCondition& condition);
  // Damage, invincibility and defeat (chara_damage.cpp), called by the
  // stage's attack rules in a logic step. Invincibility counts logic steps:
  // the stage's times in frames × S.
  // The general countdown after a hit, for the character's kind.
  void StartInvincibility();
  // The general countdown, and one against the attacker `key` (its id).
  void StartInvincibilityFrom(int key);
  // Once per logic step: every countdown one step nearer its end.
  void TickInvincibility();
  int IsInvincible() const;
  int IsInvincibleTo(int key) const;
  // A body hit of `attacker`: HP loss (or gain), hit effect, knock-back and
  // triggers; 1 when it brought HP to 0.
  int TakeBodyHit(const cCharaBase& attacker);
  // The parts of a hit that shots and swords share with bodies.
  // HP by a hit of `power` less the defence (0..999999; a power of 0 or less
  // is taken as it is, so a negative one heals): ChangeHp's result.
  int TakeHitDamage(int32_t power);
  // Hit effect `effect` (Effect.dat, 0 none) where `own` and `other` meet.
  void ShowHitEffect(int effect, const DRECT& own, const DRECT& other, int scale);
  // DAMAGED when power is non-zero, then IMPACT when impact is.
  void FireHitTriggers(int32_t power, int impact);
  // The defeat of a character whose HP reached 0: its DEATH flows, the
  // score, the drop item. 1 when the stage was cleared (by then or by the
  // drop item): the character is left as it is. Otherwise nothing names it
  // any more, it is marked defeated and its death effect starts; 0.
  int Defeat();
  // No character, list entry or aimed shot names this character any more.
  void ForgetReferences();
  // --- drawing (game/chara_drawing.cpp), once a drawn frame on the game
  // thread. bFrozen is 0 while the stage plays, 1 while play is frozen:
  // then animations, effects, their counters and the defeat count keep
  // their state.

  // Advances the own and the attached animations (unless frozen), removes
  // the ended ones, and gives the frame to show: that of the attached
  // animation the choice rule picks, else of the own animation.
  int UpdateAttachedAnimes(int bFrozen);
  // The column of the graphic: the definition's base column plus the
  // animation set's offsets for flying, block characters and invincibility;
  // sets out's tint (the animated colour of the definition's tint number,
  // 3D device with the colour-animation option only), clears it otherwise.
  int GetGraphicColumn(GRAPHICSOURCE& out) const;
  // The character through its running effect, then its overlay icon. A
  // transparent character is not drawn; its effect still steps. The view
  // rectangle is brought up to date here. The hero adds its box markers.
  virtual void Draw(DDSURFACEDATA* surface, int bFrozen);
  // The defeat display (the view rectangle as the caller updated it): 1 when
  // it has ended, at once for a computer-operated character without a death
  // effect, after one second of unfrozen frames for the hero without one.
  int DrawDefeated(DDSURFACEDATA* surface, int bFrozen);
  // The running effect advanced without drawing; 1 when it ended (it is then
  // cleared).
  int StepCharaEffect(int bFrozen);
  // The HP and SP gauges above the character (Accessory.bmp, system image
  // 49), while their timers run; each call counts the timer down by one.
  void DrawHpGauge(DDSURFACEDATA* surface);
  void DrawSpGauge(DDSURFACEDATA* surface);
  // kind 0 HP, 1 SP.
  void DrawGauge(DDSURFACEDATA* surface, GAUGESTATE& gauge, int kind);
};
