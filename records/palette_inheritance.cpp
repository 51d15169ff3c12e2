// The property groups that blocks, characters and items take from the
// palette entry they name, one copy operation per group in flag order.
#include "records/block.h"
#include "records/chara.h"
#include "records/item.h"
#include "records/palette_ref.h"

namespace {

template <class T>
void CopyConditions(T& t, const T& s) {
  t.m_vConditions = s.m_vConditions;
  t.m_nCondMode = s.m_nCondMode;
  t.m_bCondOnce = s.m_bCondOnce;
}

using BlockGroup = InheritGroupFn<cEdBlock>;
const BlockGroup kBlockGroups[BLOCKGROUP_COUNT] = {
    [](cEdBlock& t, const cEdBlock& s) { t.m_strName = s.m_strName; },
    [](cEdBlock& t, const cEdBlock& s) { CopyConditions(t, s); },
    [](cEdBlock& t, const cEdBlock& s) {
      t.m_nGraphicKind = s.m_nGraphicKind;
      t.m_nGraphic = s.m_nGraphic;
      t.m_nGraphicFrame = s.m_nGraphicFrame;
    },
    [](cEdBlock& t, const cEdBlock& s) { t.m_nLayer = s.m_nLayer; },
    [](cEdBlock& t, const cEdBlock& s) { t.m_bTransparent = s.m_bTransparent; },
    [](cEdBlock& t, const cEdBlock& s) {
      t.m_bShowIcon = s.m_bShowIcon;
      t.m_nIcon = s.m_nIcon;
    },
    [](cEdBlock& t, const cEdBlock& s) { t.m_nHit = s.m_nHit; },
    [](cEdBlock& t, const cEdBlock& s) { t.m_nPassFaction = s.m_nPassFaction; },
    [](cEdBlock& t, const cEdBlock& s) {
      t.m_nEffect = s.m_nEffect;
      t.m_nEffectValue = s.m_nEffectValue;
    },
    [](cEdBlock& t, const cEdBlock& s) {
      t.m_nItemKind = s.m_nItemKind;
      t.m_nItemIndex = s.m_nItemIndex;
    },
    [](cEdBlock& t, const cEdBlock& s) { t.m_bProtected = s.m_bProtected; },
};

using CharaGroup = InheritGroupFn<cEdChara>;
const CharaGroup kCharaGroups[CHARAGROUP_COUNT] = {
    [](cEdChara& t, const cEdChara& s) { t.m_strName = s.m_strName; },
    [](cEdChara& t, const cEdChara& s) {
      t.m_nOperator = s.m_nOperator;
      t.m_nPlayer = s.m_nPlayer;
    },
    [](cEdChara& t, const cEdChara& s) { t.m_nFaction = s.m_nFaction; },
    [](cEdChara& t, const cEdChara& s) { t.m_nCharaId = s.m_nCharaId; },
    [](cEdChara& t, const cEdChara& s) { CopyConditions(t, s); },
    [](cEdChara& t, const cEdChara& s) { t.m_nDirection = s.m_nDirection; },
    [](cEdChara& t, const cEdChara& s) { t.m_nCopies = s.m_nCopies; },
    [](cEdChara& t, const cEdChara& s) {
      t.m_nCopyOffsetX = s.m_nCopyOffsetX;
      t.m_nCopyStepX = s.m_nCopyStepX;
      t.m_bCopyMirrorX = s.m_bCopyMirrorX;
    },
    [](cEdChara& t, const cEdChara& s) {
      t.m_nCopyOffsetY = s.m_nCopyOffsetY;
      t.m_nCopyStepY = s.m_nCopyStepY;
      t.m_bCopyMirrorY = s.m_bCopyMirrorY;
    },
    [](cEdChara& t, const cEdChara& s) {
      t.m_nGraphicKind = s.m_nGraphicKind;
      t.m_nGraphic = s.m_nGraphic;
      t.m_nGraphicOffset = s.m_nGraphicOffset;
    },
    [](cEdChara& t, const cEdChara& s) { t.m_nAnimeSet = s.m_nAnimeSet; },
    [](cEdChara& t, const cEdChara& s) { t.m_nZ = s.m_nZ; },
    [](cEdChara& t, const cEdChara& s) { t.m_bTransparent = s.m_bTransparent; },
    [](cEdChara& t, const cEdChara& s) {
      t.m_nStartEffect = s.m_nStartEffect;
      t.m_nStartEffectMode = s.m_nStartEffectMode;
      t.m_bStartEffectLoop = s.m_bStartEffectLoop;
    },
    [](cEdChara& t, const cEdChara& s) {
      t.m_nDeathEffect = s.m_nDeathEffect;
      t.m_nDeathEffectMode = s.m_nDeathEffectMode;
    },
    [](cEdChara& t, const cEdChara& s) {
      t.m_bShowIcon = s.m_bShowIcon;
      t.m_nIcon = s.m_nIcon;
    },
    [](cEdChara& t, const cEdChara& s) { t.m_bFixDirection = s.m_bFixDirection; },
    [](cEdChara& t, const cEdChara& s) { t.m_nFlyMode = s.m_nFlyMode; },
    [](cEdChara& t, const cEdChara& s) {
      t.m_bInvincible = s.m_bInvincible;
      t.m_nInvincibleBlink = s.m_nInvincibleBlink;
    },
    [](cEdChara& t, const cEdChara& s) { t.m_bBlockChara = s.m_bBlockChara; },
    [](cEdChara& t, const cEdChara& s) { t.m_nScale = s.m_nScale; },
    [](cEdChara& t, const cEdChara& s) { t.m_bScrollSync = s.m_bScrollSync; },
    [](cEdChara& t, const cEdChara& s) {
      t.m_nSightMode = s.m_nSightMode;
      t.m_nSight = s.m_nSight;
    },
    [](cEdChara& t, const cEdChara& s) { t.m_nMaxHp = s.m_nMaxHp; },
    [](cEdChara& t, const cEdChara& s) { t.m_nMaxSp = s.m_nMaxSp; },
    [](cEdChara& t, const cEdChara& s) { t.m_nHitBoxMode = s.m_nHitBoxMode; },
    [](cEdChara& t, const cEdChara& s) { t.m_nPower = s.m_nPower; },
    [](cEdChara& t, const cEdChara& s) { t.m_nImpact = s.m_nImpact; },
    [](cEdChara& t, const cEdChara& s) { t.m_nHitEffect = s.m_nHitEffect; },
    [](cEdChara& t, const cEdChara& s) { t.m_nDefence = s.m_nDefence; },
    [](cEdChara& t, const cEdChara& s) { t.m_nImpactResist = s.m_nImpactResist; },
    [](cEdChara& t, const cEdChara& s) { t.m_nStop = s.m_nStop; },
    [](cEdChara& t, const cEdChara& s) {
      t.m_nActivityRange = s.m_nActivityRange;
      t.m_nActivation = s.m_nActivation;
    },
    [](cEdChara& t, const cEdChara& s) {
      t.m_nGroup = s.m_nGroup;
      t.m_bJoinGroup = s.m_bJoinGroup;
    },
    [](cEdChara& t, const cEdChara& s) { t.m_nScore = s.m_nScore; },
    [](cEdChara& t, const cEdChara& s) { t.m_nExtra = s.m_nExtra; },
    // Flow by flow, new flows starting as defaults; an entry without flows
    // leaves one default flow.
    [](cEdChara& t, const cEdChara& s) {
      t.m_vFlows = s.m_vFlows;
      if (t.m_vFlows.empty()) t.m_vFlows.push_back(cEdFlow());
    },
};

using ItemGroup = InheritGroupFn<cEdItem>;
const ItemGroup kItemGroups[ITEMGROUP_COUNT] = {
    [](cEdItem& t, const cEdItem& s) { t.m_strName = s.m_strName; },
    [](cEdItem& t, const cEdItem& s) { CopyConditions(t, s); },
    [](cEdItem& t, const cEdItem& s) { t.m_nSpareA = s.m_nSpareA; },
    [](cEdItem& t, const cEdItem& s) { t.m_nSpareB = s.m_nSpareB; },
    [](cEdItem& t, const cEdItem& s) {
      t.m_nGraphicKind = s.m_nGraphicKind;
      t.m_nGraphic = s.m_nGraphic;
      t.m_nGraphicFrame = s.m_nGraphicFrame;
    },
    [](cEdItem& t, const cEdItem& s) { t.m_nSpareC = s.m_nSpareC; },
    [](cEdItem& t, const cEdItem& s) { t.m_bTransparent = s.m_bTransparent; },
    [](cEdItem& t, const cEdItem& s) {
      t.m_bShowIcon = s.m_bShowIcon;
      t.m_nIcon = s.m_nIcon;
    },
    [](cEdItem& t, const cEdItem& s) { t.m_nScale = s.m_nScale; },
    [](cEdItem& t, const cEdItem& s) { t.m_nPickupMode = s.m_nPickupMode; },
    [](cEdItem& t, const cEdItem& s) { t.m_bPickupPopup = s.m_bPickupPopup; },
    [](cEdItem& t, const cEdItem& s) { t.m_nPickupSound = s.m_nPickupSound; },
    // Each command a copy of its own (with its own move and shot records).
    [](cEdItem& t, const cEdItem& s) { t.m_vCommands = s.m_vCommands; },
};

template <class T, int N>
void CopyGroup(const InheritGroupFn<T> (&groups)[N], int group, T& target, const T& source) {
  if (group >= 0 && group < N) groups[group](target, source);
}

}  // namespace

void cEdBlock::ApplyInheritance() {
  ApplyPaletteInheritance(*this, PALETTELIST_BLOCK, kBlockGroups, BLOCKGROUP_COUNT);
}
void cEdBlock::InheritGroup(int group, const cEdBlock& source) { CopyGroup(kBlockGroups, group, *this, source); }

void cEdChara::ApplyInheritance() {
  ApplyPaletteInheritance(*this, PALETTELIST_CHARA, kCharaGroups, CHARAGROUP_COUNT);
}
void cEdChara::InheritGroup(int group, const cEdChara& source) { CopyGroup(kCharaGroups, group, *this, source); }

void cEdItem::ApplyInheritance() {
  ApplyPaletteInheritance(*this, PALETTELIST_ITEM, kItemGroups, ITEMGROUP_COUNT);
}
void cEdItem::InheritGroup(int group, const cEdItem& source) { CopyGroup(kItemGroups, group, *this, source); }
