#pragma once
// One character as the project describes it. The same record is an entry of
// a palette (common or stage), a character placed on a stage, and the
// working copy each live character keeps of its definition, which commands
// change while it plays. A placement takes from the palette entry it names
// every property group whose inherit flag is set, once, when it is read.
// The flows carry all of the character's behaviour.
#include <cstdint>
#include <string>

#include "records/condition.h"
#include "records/flow.h"
#include "records/record.h"

// The property groups of a character, in flag order (see the members).
enum CHARAGROUP {
  CHARAGROUP_NAME,
  CHARAGROUP_OPERATOR,  // operator and player
  CHARAGROUP_FACTION,
  CHARAGROUP_CHARA_ID,
  CHARAGROUP_CONDITIONS,  // the list with its mode and once flag
  CHARAGROUP_DIRECTION,
  CHARAGROUP_COPIES,
  CHARAGROUP_COPY_X,  // offset, step, mirror
  CHARAGROUP_COPY_Y,
  CHARAGROUP_GRAPHIC,  // kind, number, offset
  CHARAGROUP_ANIMESET,
  CHARAGROUP_Z,
  CHARAGROUP_TRANSPARENT,
  CHARAGROUP_START_EFFECT,  // effect, mode, loop
  CHARAGROUP_DEATH_EFFECT,  // effect, mode
  CHARAGROUP_ICON,          // shown flag and number
  CHARAGROUP_FIX_DIRECTION,
  CHARAGROUP_FLY_MODE,
  CHARAGROUP_INVINCIBLE,  // flag and blink
  CHARAGROUP_BLOCK_CHARA,
  CHARAGROUP_SCALE,
  CHARAGROUP_SCROLL_SYNC,
  CHARAGROUP_SIGHT,  // mode and size
  CHARAGROUP_MAX_HP,
  CHARAGROUP_MAX_SP,
  CHARAGROUP_HITBOX_MODE,
  CHARAGROUP_POWER,
  CHARAGROUP_IMPACT,
  CHARAGROUP_HIT_EFFECT,
  CHARAGROUP_DEFENCE,
  CHARAGROUP_IMPACT_RESIST,
  CHARAGROUP_STOP,
  CHARAGROUP_ACTIVITY,  // range and activation
  CHARAGROUP_GROUP,     // group number and membership
  CHARAGROUP_SCORE,
  CHARAGROUP_EXTRA,
  CHARAGROUP_FLOWS,
  CHARAGROUP_COUNT,  // 37
};

// Numeric fields a file of the current version stores, in registration
// order (the carried hero status addresses them by this position).
constexpr int CHARA_NUMERIC_FIELDS = 53;

class cEdChara : public cRecord {
 public:
  int16_t m_nX = 0;  // cell of a placement (column, row)
  int16_t m_nY = 0;
  int32_t m_nDropItem = 0;  // index into the stage's placed items carried as drop item; -1 none
  cVector<uint8_t> m_vInherit;           // CHARAGROUP flags; not 0 = taken from the entry
  cVector<cEdCondition> m_vConditions;  // appearance conditions
  cVector<cEdFlow> m_vFlows;

  // Registered members, in file order (from vN: stored from version N on).
  int8_t m_nPaletteKind = 0;    // PALETTEKIND of the entry named
  int16_t m_nPaletteIndex = 0;  // in that palette's character list; 0 names nothing
  std::string m_strName;        // the editor's name
  int8_t m_nCondMode = 0;       // CONDMODE
  int8_t m_bCondOnce = 0;       // once held, the conditions count as holding
  int8_t m_nDirection = 0;      // facing at the start: 0 left, 1 right
  int8_t m_nCopies = 0;         // extra copies: m_nCopies + 1 characters, clone numbers 0, 1, ...
  int16_t m_nCopyOffsetX = 0;   // dots; copy n stands at n × step + offset
  int16_t m_nCopyStepX = 0;
  int16_t m_nCopyOffsetY = 0;
  int16_t m_nCopyStepY = 0;
  int8_t m_bCopyMirrorX = 0;  // the offset changes sign when facing right
  int8_t m_bCopyMirrorY = 0;
  int16_t m_nGraphic = 0;
  int8_t m_nGraphicKind = 1;     // GRAPHICKIND
  int16_t m_nGraphicOffset = 0;  // added to the cells of its animations
  int16_t m_nAnimeSet = 0;       // AnimeSet table index
  int8_t m_nZ = 3;               // drawing depth 0..7
  int8_t m_bTransparent = 0;
  int16_t m_nStartEffect = 0;      // CharaEffect index on coming into play; 0 none
  int8_t m_nStartEffectMode = 0;   // v196: 0 normal, 1 reversed, 2 back and forth
  int8_t m_bStartEffectLoop = 1;
  int16_t m_nDeathEffect = 0;      // CharaEffect index on defeat; 0 none
  int8_t m_nDeathEffectMode = 0;   // v196
  int8_t m_bShowIcon = 0;
  int16_t m_nIcon = 0;     // 0..119: icon sheet column n / 15, row n % 15
  int8_t m_nOperator = 1;  // 0 a player, 1 the computer
  int8_t m_nPlayer = 0;    // 0 = player 1
  int8_t m_nFaction = 1;   // side 0..7
  int8_t m_nCharaId = 0;   // 0..99
  int8_t m_nFlyMode = 0;   // 0 walks; flies: 1 through blocks, 2 stopped by them, 3 killed by them
  int8_t m_bFixDirection = 1;  // the facing does not follow the movement
  int8_t m_bInvincible = 0;
  int8_t m_nInvincibleBlink = 0;  // v285: blink pattern while invincible; 0 none
  int8_t m_bBlockChara = 0;       // 1 and 2 alike: stands in for a block
  int8_t m_nScale = 1;            // 1..10, applied to width and height
  int8_t m_bScrollSync = 0;       // v210: moves with the automatic scrolling
  int8_t m_nSightMode = 0;  // 0 whole screen; circle 1 around, 2 ahead; square 3 around, 4 ahead
  int8_t m_nSight = 0;      // half blocks 0..40
  int32_t m_nMaxHp = 10;
  int32_t m_nMaxSp = 0;
  int16_t m_nStop = 10;          // stopping strength 0..200
  int8_t m_nHitBoxMode = 0;      // v201: contact box 0 chara-chara, 1 chara-shot, 2 shot-chara, 3 32 × 32
  int32_t m_nPower = 0;          // body contact
  int8_t m_nImpact = 0;          // body contact knock-back -20..20
  int16_t m_nHitEffect = 0;      // Effect index where its body contact hits; 0 none
  int32_t m_nDefence = 0;        // v168
  int8_t m_nImpactResist = 0;    // 0..20
  int32_t m_nScore = 0;          // given when defeated
  int8_t m_nExtra = 1;           // carried and inherited; no rule reads it
  int8_t m_bJoinGroup = 0;       // belongs to activation group m_nGroup
  int16_t m_nGroup = 0;
  int8_t m_nActivityRange = 0;  // 0 on screen, 1 horizontally, 2 vertically, 3 everywhere
  int8_t m_nActivation = 0;     // 0 in range or group raised; 1 the same, then for good; 2 as 0

  cEdChara();
  // The class defaults: registered members cleared and set as above, no
  // drop item (0), 37 zero inherit flags. Position, conditions and flows stay.
  void Reset();
  void RegisterFields(int version) override;
  // The record segment, position, drop item, inherit flags, conditions and
  // flows; test-only flows removed unless kept; the upgrades of older files;
  // inheritance, then Validate.
  void Load(cDataReader& r) override;
  // Validate, then the layout that Load reads.
  void Save(cDataWriter& w) override;

  // Fits the palette reference and the database indexes (graphic of the
  // character bitmaps, animation set, effects), raises a scale below 1 to 1,
  // normalises every flow and removes the flows that hold nothing.
  void Validate();
  // Fits the palette references of every flow's commands; called by the
  // palette normalisations after the palettes are complete.
  void NormaliseFlows();
  // Copies the groups flagged in m_vInherit from the palette entry named.
  // Load calls it; a reference that does not resolve is dropped.
  void ApplyInheritance();
  // Copies one group (CHARAGROUP) from `source`; nothing for another number.
  void InheritGroup(int group, const cEdChara& source);

  // Where copy n (the clone number) stands from the placement, in dots, for
  // facing 0 left or 1 right: n × step + offset, negated when facing right
  // and the axis mirrors. Called by the stage set-up and the summons.
  double GetOffsetX(int n, int facing) const;
  double GetOffsetY(int n, int facing) const;

  // The numeric field at `position` (0 .. CHARA_NUMERIC_FIELDS - 1) of the
  // current version's registration order, sign-extended; 0 past the end.
  // The carried hero status copies fields by these positions.
  int32_t GetNumericField(int position) const;
  // Stores the value truncated to the field's width; nothing past the end.
  void SetNumericField(int position, int32_t value);
};
