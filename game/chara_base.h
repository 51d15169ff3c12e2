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
#include "game/flow_instance.h"
#include "game/game_object.h"
#include "records/chara.h"
#include "records/effect_state.h"

struct MAPCELL;
struct DDSURFACEDATA;
struct GRAPHICSOURCE;
struct KEYCURSOR;
struct INPUTRUN;
class cInput;
class cItem;

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
  void BuildFlows(cVector<cEdFlow>& flows, int bInsert, int nPos);
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
  // A shot pushes along its velocity, a sword along its facing.
  void ApplyShotKnockback(const cGameObject& shot, int bSword, int impact);
  void ApplyKnockbackY();
  void DecayKnockbackX();
  void DecayKnockbackY();

  // HP += delta within 0..max HP; 1 when HP became 0. A loss is refused
  // while the invincibility setting is on, unless bForce.
  int ChangeHp(int delta, int bForce, int bGauge);
  void ChangeSp(int delta, int bGauge);
  void StartHpGauge(int delta);
  void StartSpGauge(int delta);

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

  // Rebuilds the animation patterns from basic animation set n (AnimeSet.dat)
  // unless it is the set already in use and bForce is 0.
  void SetBasicAnimeSet(int n, int bForce);
  // The target, resolved; null when it has none or it is gone.
  cCharaBase* Target() const;

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
  // rectangle is brought up to date here.
  void Draw(DDSURFACEDATA* surface, int bFrozen);
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
