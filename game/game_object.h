#pragma once
// The root of every live object of a running stage: the hero, the other
// characters, items, shots and swords. It holds what they share (identity,
// facing, animation, graphic and hit-box geometry with its scale, the hit
// box in world dots, the speeds of one logic step, gravity and block mode,
// the presence flags) and the operations that move an object by one logic
// step, keep it inside the scroll range, the map and the world, test it
// against the view and the map cells, find characters and compute the
// velocities of moves and shot paths.
//
// Units: world dots as doubles, the map 320 dots in from the world's left
// and top edges (cScrollAxis); speeds in dots per logic step. Everything
// here runs on the game thread inside a running stage (CurStage).
#include <cstdint>

#include "base/container.h"
#include "game/anime_player.h"
#include "game/geometry.h"

class cCharaBase;
class cCommandInstance;
class cEdOffScreenRule;

// Fly modes: what gravity and solid blocks do to an object.
enum FLYMODE {
  FLYMODE_WALK,          // gravity; blocks stop it
  FLYMODE_THROUGH,       // no gravity; passes through blocks
  FLYMODE_STOPPED,       // no gravity; blocks stop it
  FLYMODE_DEADLY_BLOCKS  // no gravity; a solid block is deadly to it
};

// Block modes (m_nBlockMode).
constexpr uint8_t BLOCKMODE_PASS = 0;
constexpr uint8_t BLOCKMODE_STOP = 1;
constexpr uint8_t BLOCKMODE_DEADLY = 2;

// No object: the id of nothing (the creators' serials start at 0).
constexpr int32_t OBJECT_NONE = -1;

// The lifetime of an object that does not run out.
constexpr int32_t OBJECT_LIFE_UNLIMITED = 2147483647;

// Modes of FindChara.
constexpr int FINDMODE_ON_SCREEN_FIRST = 0;  // on-screen ones; off-screen only when none is
constexpr int FINDMODE_ALL = 1;
constexpr int FINDMODE_ON_SCREEN = 2;

class cGameObject {
 public:
  int32_t m_nId = OBJECT_NONE;  // given by the creator (a serial of the stage)
  int32_t m_nLife = 0;       // logic steps left; OBJECT_LIFE_UNLIMITED
  int32_t m_nDirection = 0;  // facing: 0 left, 1 right
  int16_t m_sCloneNo = 0;    // copy number of a multiplied placement
  int32_t m_nGraphic = 0;
  cAnimePlayer m_Anime;
  IRECT m_rcScreen;  // graphic rectangle in view pixels (UpdateScreenRect)
  // From the graphic's top-left corner to the hit box's, and the graphic
  // size, at the current scale and at scale 1.
  int32_t m_nOffsetX = 0;
  int32_t m_nOffsetY = 0;
  int32_t m_nGfxWidth = 0;
  int32_t m_nGfxHeight = 0;
  int32_t m_nBaseOffsetX = 0;
  int32_t m_nBaseOffsetY = 0;
  int32_t m_nBaseGfxWidth = 0;
  int32_t m_nBaseGfxHeight = 0;
  int32_t m_nController = 0;  // 0 player-operated, 1 computer-operated
  int32_t m_nPlayer = 0;      // input record of a player-operated object
  int32_t m_nGroup = 0;       // a block passed by this group does not collide with it
  // Hit box in world dots: dLeft is the object's x, dTop its y, dRight =
  // x + hit width − 1, dBottom = y + hit height − 1.
  DRECT m_rcHit;
  // Map cells of the four edges.
  int32_t m_nCellLeft = 0;
  int32_t m_nCellTop = 0;
  int32_t m_nCellRight = 0;
  int32_t m_nCellBottom = 0;
  double m_dVx = 0;  // speed of this logic step, dots per step; y grows downward
  double m_dVy = 0;
  double m_dInertiaX = 0;  // inertial speeds of moves with inertia, added every step
  double m_dInertiaY = 0;
  double m_dStopDecel = 0;  // friction taken off the inertial speeds per step
  int32_t m_bFrictionX = 0;
  int32_t m_bFrictionY = 0;
  int32_t m_bScrollSync = 0;  // moves with the auto-scroll
  int32_t m_nHitWidth = 0;
  int32_t m_nHitHeight = 0;
  int32_t m_nBaseHitWidth = 0;
  int32_t m_nBaseHitHeight = 0;
  int32_t m_bNoGravity = 0;
  uint8_t m_nBlockMode = BLOCKMODE_PASS;
  int32_t m_bPresent = 0;   // takes part in this logic step
  int32_t m_bOnScreen = 0;  // the hit box meets the view
  uint8_t m_bCondLatched = 0;  // its appearance conditions held once
  // Erased while a pass walked its list: every walk and look-up by id skips
  // it, and it leaves its list when the pass ends (game/gone_objects.h).
  int32_t m_bGone = 0;

  cGameObject() = default;
  cGameObject(const cGameObject&) = default;
  cGameObject& operator=(const cGameObject&) = default;
  virtual ~cGameObject() = default;

  // Virtual slots, in order.
  // Copies every member above.
  virtual void CopyFrom(const cGameObject& other);
  // Current sizes = nNew × scale-1 sizes, re-anchored so that the hit box's
  // horizontal centre stays, then OnScaleChanged and ScaleHitBox.
  virtual void SetScale(int nNew, int nOld);
  virtual void ScaleHitBox(int nScale) {}
  virtual void OnScaleChanged(int nNew, int nOld) {}
  // Place the secondary boxes from the hit box (after every clamp).
  virtual void HitBoxX() {}
  virtual void HitBoxY() {}
  // Move the centre of the graphic to view pixel (x, y); the Snap forms
  // also stop the command's move. Characters implement them.
  virtual void SetCentre(int x, int y) {}
  virtual void SnapCentre(int x, int y, cCommandInstance& instance) {}
  virtual void SetCentreX(int x) {}
  virtual void SnapCentreX(int x, cCommandInstance& instance) {}
  virtual void SetCentreY(int y) {}
  virtual void SnapCentreY(int y, cCommandInstance& instance) {}

  // Set-up by the creator of a character, hero, item or shot (all ints
  // dots; `patterns` a pattern table as cAnimePlayer::SetPatterns takes, or
  // null; `anime` the pattern to start, forced).
  void SetUp(int id, int controller, int player, int group, int graphic, const int32_t* const* patterns,
             int anime, int offX, int offY, int hitW, int hitH, int gfxW, int gfxH, int direction, int flyMode,
             int16_t cloneNo);
  // FLYMODE 0..3 sets m_bNoGravity and m_nBlockMode; other values change nothing.
  void SetFlyMode(int mode);
  // Keeps the hit box's horizontal centre over a scale change (x −= (nNew −
  // nOld) × (scale-1 hit width >> 1), then ClampX (2)), then OnScaleChanged.
  void AnchorForScale(int nNew, int nOld);
  // Its horizontal half alone.
  void AnchorForScaleX(int nNew, int nOld);

  // Clamp x against the horizontal axis and recompute the right edge, the
  // secondary boxes and the cells. Mode 0 (flying hero): into the scroll
  // range, 0. Mode 1 (walking hero): into the map, 0 when clamped, else 1
  // outside the scroll range, 0 inside. Mode 2 (all others): into the active
  // area (3 when clamped), else 2 outside the map, 1 outside the scroll
  // range, 0 inside. Other modes only recompute (0).
  int ClampX(int mode);
  // The vertical twin: mode 1 gives 1 above and 4 below the scroll range;
  // mode 2 gives 3 / 6 when clamped at the top / bottom of the active area,
  // 2 / 5 above / below the map, 1 / 4 above / below the scroll range.
  int ClampY(int mode);
  // Speed capped to ± the stage's maximum per step, moved, clamped.
  int StepX(int mode);
  int StepY(int mode);
  // m_dVy += the stage's gravity per step unless the object flies.
  void ApplyGravity();
  // Friction on an inertial speed: toward 0 by m_dStopDecel, never past it.
  void ApplyFriction(double& v, int bEnabled);
  // +1 facing right, −1 facing left.
  int FacingSign() const;

  // m_rcScreen from the position, the graphic offset and the scroll. The
  // hero has its own.
  virtual void UpdateScreenRect();
  // The hit box meets the 640 × 480 view; IsOnScreenAxes leaves out the
  // horizontal or the vertical test when asked.
  int IsOnScreen() const;
  int IsOnScreenAxes(int bIgnoreX, int bIgnoreY) const;
  // The hit box lies inside the active area (1) or the map (0).
  int IsInsideArea(int bActiveArea) const;
  // Beyond the margins of the stage's removal rule for its kind, or touching
  // the border of the active area; never while on screen.
  int IsOutsideRemovalArea(const cEdOffScreenRule& rule) const;
  int HitBoxOverlaps(double l, double t, double r, double b) const;
  // A corner cell of the hit box collides with this object's group.
  int TouchesBlockCorners() const;

  // The centre of the graphic rectangle in view pixels.
  int CentreX() const { return m_rcScreen.nLeft + m_nGfxWidth / 2; }
  int CentreY() const { return m_rcScreen.nTop + m_nGfxHeight / 2; }

  // The present, undefeated character of `list` whose centre is nearest to
  // view point (x, y) by |dx| + |dy| (the first on a tie), with the filters:
  // its character ID is `id` (bById); not the object `excludeId`
  // (bExclude); not of invincibility setting 1 (bSkipInv1) or 2 (bSkipInv2);
  // not a block character (bSkipBlock). FINDMODE chooses among on-screen and
  // off-screen candidates. None: null.
  cCharaBase* FindChara(int x, int y, const cList<cCharaBase*>& list, int mode, int bById, int id, int bExclude,
                        int bSkipInv1, int bSkipInv2, int bSkipBlock, int excludeId) const;
  // The nearest aimable character (invincibility setting 2 hides), on screen
  // only when the stage limits aiming to the view.
  cCharaBase* FindNearestCharaTo(int x, int y, const cList<cCharaBase*>& list) const;
  cCharaBase* FindNearestChara(const cList<cCharaBase*>& list) const;
  // The first undefeated character in list order that passes the filters.
  cCharaBase* FindFirstChara(const cList<cCharaBase*>& list, int bById, int id, int bExclude, int bSkipInv1,
                             int bSkipInv2, int bSkipBlock, int excludeId) const;

  // The target point of a move on this object: its centre plus the
  // command's target offset on the axes the move uses.
  void OffsetTarget(double& tx, double& ty, const cCommandInstance& instance) const;
  // The velocity (dots per step) from (fromX, fromY) toward (toX, toY) at
  // `speed`, with the auto-scroll taken into account as the project option
  // and the sync flags of mover (bOwnSync) and target object (may be null)
  // say; an unsigned negative speed retreats. dirHint: 1 face left, 2 face
  // right, 0 keep. 1 on arrival (only with bStopOnArrival).
  int VelocityToward(double& vx, double& vy, int& dirHint, const cGameObject* target, double fromX, double fromY,
                     double toX, double toY, double speed, int bOwnSync, int bSigned, int bStopOnArrival) const;
  int VelocityTowardX(double& vx, double& vy, int& dirHint, const cGameObject* target, double fromX, double toX,
                      double speed, int bOwnSync, int bStopOnArrival) const;
  int VelocityTowardY(double& vx, double& vy, int& dirHint, const cGameObject* target, double fromY, double toY,
                      double speed, int bOwnSync, int bStopOnArrival) const;
  // The homing moves: the velocity from this object's centre into the
  // command instance; on arrival with stop-on-arrival the object snaps to
  // the point and stops. 1 on arrival.
  int HomeToward(cCommandInstance& instance, const cGameObject* target, double toX, double toY, int bOwnSync,
                 int bStopOnArrival);
  int HomeTowardX(cCommandInstance& instance, const cGameObject* target, double toX, int bOwnSync,
                  int bStopOnArrival);
  int HomeTowardY(cCommandInstance& instance, const cGameObject* target, double toY, int bOwnSync,
                  int bStopOnArrival);

  // A speed per second as dots per logic step.
  static double SpeedPerStep(double v);
  // The circle move's and the wave path's velocity and acceleration for
  // `phase` (degrees × S, advanced by `step` and wrapped at 360 × S).
  static double WaveVelocity(double amplitude, double rate, double& phase, double step, double offset);
  static double WaveAcceleration(double amplitude, double rate, double& phase, double step, double offset);
  // The one-axis range test of the distance condition (see the code).
  static int CheckAxisWindow(int pos, int size, int otherStart, int otherEnd, int inset, int back, int front,
                             int bCentred, int bVertical, const cGameObject& other);
};

// A speed of one logic step held within the stage's limit (±m_dMaxSpeedPerStep),
// before an object moves by it.
void CapSpeed(double& v);
