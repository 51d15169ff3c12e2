#pragma once
// The live objects of a running stage: the hero (Player, element 0), the
// other characters (CharaList) and the items (ItemList). The lists own their
// objects; an object built on the stack is copied into its node, and since
// objects name each other by id (m_nId) a copy leaves no reference behind.
//
// Everything here runs on the game thread inside a running stage; units are
// those of cGameObject (world dots, logic steps).
#include <cstdint>

#include "base/container.h"
#include "game/chara_base.h"
#include "game/game_object.h"
#include "records/arrange.h"
#include "records/command.h"
#include "records/item.h"

struct DDSURFACEDATA;
class cInput;

// An item of the stage, or the drop item a character holds (item.cpp). It
// does not move by itself: a hit box centred in its 32-dot cell, a two-frame
// animation, its graphic and mark, and its own copy of its definition, whose
// command list picking it up runs.
class cItem : public cGameObject {
 public:
  cEdItem m_Def;
  int32_t m_bHeld = 0;  // the drop item a character holds

  cItem();
  cItem(const cItem&) = default;
  cItem& operator=(const cItem&) = default;
  ~cItem() override = default;

  // Keeps the graphic's bottom edge over a scale change (the hit box is
  // centred in the cell), then clamps into the active area.
  void OnScaleChanged(int nNew, int nOld) override;

  // Set-up of an item built on the stack (stage start, summons, drops,
  // blocks), before it is copied into ItemList or a character. `id` comes
  // from the stage's item serial; a held item is present at once.
  void Init(int id, const cEdItem& def, int bHeld);
  // Puts it on map cell (cx, cy), counted inside the border.
  void PlaceAtCell(int cx, int cy);
  // Once a drawn frame: the graphic (stretched when scaled) and its mark;
  // nothing for a hidden item. bAdvance steps the animation.
  void Draw(DDSURFACEDATA* surface, int bAdvance);
};

// The four box markers drawn over the hero when the stage asks for them.
enum BOXANCHOR { BOXANCHOR_HIT, BOXANCHOR_CONTACT, BOXANCHOR_PICKUP, BOXANCHOR_SHOT };

struct BOXMARKER {
  int32_t nAnchor = BOXANCHOR_HIT;
  int32_t nMode = 0;    // the stage's display setting: 0 none, 1 filled, 2 frame only
  int32_t nColor = 0;   // first of four palette colours (208 + 4 × colour number)
  int32_t nX = 0;       // view pixels, set when drawn
  int32_t nY = 0;
  int32_t nWidth = 0;   // the box size
  int32_t nHeight = 0;
  int32_t nCounter = 0;  // 0..31: which of the four colours shows
};

// The player-operated character (hero_*.cpp): its input, a jump as high as
// the key is held, the camera that follows it, the pick-up box with the
// items it touches, the flow changes and arrange operations its items
// queue, the box markers and the sight mask.
class cHero : public cCharaBase {
 public:
  cInput* m_pInput = nullptr;  // Input element of its player number
  int32_t m_nJumpHold = 0;     // logic steps the current jump has been held
  int32_t m_bJumpReady = 1;    // a jump may start or be extended
  int32_t m_bJumpForced = 0;   // standing on a block that forbids jumping
  double m_dGroundAccel = 0;   // 4 / S, the unit of the slide ground effect
  int32_t m_bJumpThisStep = 0;
  int32_t m_nPrevDirection = 0;  // facing at the start of the logic step
  cList<int32_t> m_lTouched;     // ids of the items whose pick-up was handled and that still overlap
  int32_t m_nGroundEffect = 0;   // kind set by a block effect; 3 changes the inertial speed
  double m_dGroundEffect = 0;
  int32_t m_nGroundEffectSteps = 0;  // 0 none
  int32_t m_nBlockItemWait = 0;      // logic steps before a block may give its item again
  HITBOX m_PickupBox;
  cVector<BOXMARKER> m_vMarkers;
  cVector<cEdCommand> m_vQueuedFlowChanges;  // flow changes made while its flows ran
  cVector<ARRANGEOP> m_lPendingArranges;     // of item commands, for the next item command

  cHero() = default;
  cHero(const cHero&) = default;
  cHero& operator=(const cHero&) = default;
  ~cHero() override = default;

  void ScaleHitBox(int nScale) override;
  void HitBoxX() override;
  void HitBoxY() override;
  int ConfineX() override;
  int ConfineY() override;
  int MoveX() override;
  int MoveY() override;
  int Run(int bDeathPass) override;
  int Jump(cCommandInstance& instance) override;
  void ApplyQueuedFlowChanges() override;

  // Once per stage start, on Player[0]; the caller then places it.
  void SetUp(int id, const cEdChara& def, double x, double y);
  // Fly mode of the definition and of the object; every box rebuilt for it
  // (bScaled: at the definition's scale). Also the status command's switch.
  void SetFlyMode(int mode, int bScaled);
  void BuildBoxMarkers();
  // The view rectangle; on an axis that auto-scrolls the position and the
  // scroll are truncated apart, so the hero does not jitter against the view.
  void UpdateScreenRect() override;
  // At the start of each logic step.
  void RememberGroundCell() { m_pPrevGroundCell = m_pGroundCell; }
  void RememberDirection() { m_nPrevDirection = m_nDirection; }

  // The pick-up rule's touch list, by item id.
  int IsNewItemTouch(const cItem& item) const;
  void ForgetItemTouch(const cItem& item);
  // Runs a whole item command list on the hero: 0, 1 stage cleared, 2 HP
  // gone. Called by ApplyItemEffect and the get-item command.
  int RunItemCommands(cVector<cEdCommand>& commands);
  // The rising pop-up of a picked-up item's icon (DrawItemIcon's kind,
  // number and frame), following the hero for 30 frames.
  void ShowPickupPopup(int kind, int16_t number, int16_t param);

  // The character, then its box markers.
  void Draw(DDSURFACEDATA* surface, int bFrozen) override;
  // The sight mask over the view (sight mode 0: nothing).
  void DrawSight(DDSURFACEDATA* surface);
};

// Every character of a stage that is not the hero (chara_*.cpp): it lives
// in the active area, sleeps outside its activity range, and holds the
// item it drops when defeated.
class cChara : public cCharaBase {
 public:
  int32_t m_bInRange = 0;  // inside its activity range in this logic step
  int32_t m_bActive = 0;   // takes part in this logic step
  cItem m_DropItem;        // m_bHeld 1 when it has one
  int32_t m_nHintCounter = 0;  // frames of the drop-item hint, 0..95
  int32_t m_bUnlimitedX = 0;   // the activity range ignores the view's horizontal bounds
  int32_t m_bUnlimitedY = 0;
  int32_t m_bAppeared = 0;  // has been active once

  cChara() = default;
  cChara(const cChara&) = default;
  cChara& operator=(const cChara&) = default;
  ~cChara() override = default;

  void ScaleHitBox(int nScale) override;
  void HitBoxX() override;
  void HitBoxY() override;
  cItem* GetDropItem() override { return &m_DropItem; }
  int ConfineX() override { return ClampX(2); }
  int ConfineY() override { return ClampY(2); }
  // 0 inside the scroll range, 1 outside it, 2 outside the map, 4 left the
  // active area.
  int MoveX() override;
  // As ClampY (2), but 7 for a walker that fell out of the map and 8 for a
  // flier that left the active area.
  int MoveY() override;
  int Run(int bDeathPass) override;
  // A launch at the instance's speed: 1, or the non-zero flag that refuses it.
  int Jump(cCommandInstance& instance) override;

  // Set-up of a character built on the stack (stage start, summons) before
  // it is copied into CharaList; `dropItem` made with cItem::Init (held), or
  // null. `id` comes from the stage's character serial.
  void SetUp(int id, const cEdChara& def, const cItem* dropItem, double x, double y, int16_t cloneNo);
  void PlaceAtCell(int cx, int cy);
  // The appearance pass's two halves; groupFlags is the stage's
  // m_vGroupFlags (link groups raised in this step).
  int CheckActivityRange(cVector<uint8_t>& groupFlags);
  int CheckActive(cVector<uint8_t>& groupFlags);
  // Once a drawn frame: the drop item's icon above it, 32 frames of every 96.
  void DrawDropItemHint(DDSURFACEDATA* surface);
};

extern cVector<cHero> Player;  // the hero is element 0

// The hero; null while the stage has none.
inline cHero* Hero() { return Player.empty() ? nullptr : &Player[0]; }
extern cList<cChara> CharaList;
extern cList<cItem> ItemList;

// The hero or stage character whose m_nId is `id` (the first hero, then the
// first character); null when there is none.
cCharaBase* FindCharaById(int id);

// Removes the character at `node` from CharaList: no character, list entry
// or aimed shot names it afterwards, it leaves its group list, and it is
// destroyed. Returns the next node.
cList<cChara>::iterator EraseChara(cList<cChara>::iterator node);
