#include "records/chara.h"

#include <cstdint>
#include <type_traits>

#include "records/database.h"
#include "records/palette_ref.h"

namespace {

// Versions that added fields or changed their meaning.
constexpr int kDefenceVersion = 168;        // defence; a flag for its group
constexpr int kEffectModeVersion = 196;     // run modes of the two effects
constexpr int kHitBoxModeVersion = 201;     // hit-box mode; a flag for its group
constexpr int kHitBoxShotCharaVersion = 206;  // hit-box mode 2 inserted
constexpr int kScrollSyncVersion = 210;     // scroll sync; a flag for its group
constexpr int kBlinkVersion = 285;          // invincibility blink

// The numeric fields a file of `version` stores, in file order. One list
// serves registration and the access by position.
template <class Self, class F>
void VisitNumericFields(Self& c, int version, F&& f) {
  f(c.m_nPaletteKind);
  f(c.m_nPaletteIndex);
  f(c.m_nCondMode);
  f(c.m_bCondOnce);
  f(c.m_nDirection);
  f(c.m_nCopies);
  f(c.m_nCopyOffsetX);
  f(c.m_nCopyStepX);
  f(c.m_nCopyOffsetY);
  f(c.m_nCopyStepY);
  f(c.m_bCopyMirrorX);
  f(c.m_bCopyMirrorY);
  f(c.m_nGraphic);
  f(c.m_nGraphicKind);
  f(c.m_nGraphicOffset);
  f(c.m_nAnimeSet);
  f(c.m_nZ);
  f(c.m_bTransparent);
  f(c.m_nStartEffect);
  if (version >= kEffectModeVersion) f(c.m_nStartEffectMode);
  f(c.m_bStartEffectLoop);
  f(c.m_nDeathEffect);
  if (version >= kEffectModeVersion) f(c.m_nDeathEffectMode);
  f(c.m_bShowIcon);
  f(c.m_nIcon);
  f(c.m_nOperator);
  f(c.m_nPlayer);
  f(c.m_nFaction);
  f(c.m_nCharaId);
  f(c.m_nFlyMode);
  f(c.m_bFixDirection);
  f(c.m_bInvincible);
  if (version >= kBlinkVersion) f(c.m_nInvincibleBlink);
  f(c.m_bBlockChara);
  f(c.m_nScale);
  if (version >= kScrollSyncVersion) f(c.m_bScrollSync);
  f(c.m_nSightMode);
  f(c.m_nSight);
  f(c.m_nMaxHp);
  f(c.m_nMaxSp);
  f(c.m_nStop);
  if (version >= kHitBoxModeVersion) f(c.m_nHitBoxMode);
  f(c.m_nPower);
  f(c.m_nImpact);
  f(c.m_nHitEffect);
  if (version >= kDefenceVersion) f(c.m_nDefence);
  f(c.m_nImpactResist);
  f(c.m_nScore);
  f(c.m_nExtra);
  f(c.m_bJoinGroup);
  f(c.m_nGroup);
  f(c.m_nActivityRange);
  f(c.m_nActivation);
}

// A group that older files did not have, inserted at `flag`: the flags take
// the class's count, those from `flag` on move up one (the last falls off)
// and the new group is inherited, since the file holds no value of the
// record's own for it.
void InsertFlag(cVector<uint8_t>& flags, int flag) {
  flags.resize(CHARAGROUP_COUNT, 0);
  for (int i = CHARAGROUP_COUNT - 1; i > flag; --i) flags[i] = flags[i - 1];
  flags[flag] = 1;
}

bool Fits(int index, int count) { return static_cast<uint32_t>(index) < static_cast<uint32_t>(count); }

bool IsEmpty(const cEdFlow& flow) {
  return flow.m_vConditions.empty() && flow.m_vKeyConditions.empty() && flow.m_vCommands.empty();
}

}  // namespace

cEdChara::cEdChara() { Reset(); }

void cEdChara::Reset() {
  Clear();
  m_nDropItem = 0;
  m_vInherit.assign(CHARAGROUP_COUNT, 0);
  m_nGraphicKind = GRAPHICKIND_CHARA;
  m_nZ = 3;
  m_bStartEffectLoop = 1;
  m_nOperator = 1;
  m_nFaction = 1;
  m_bFixDirection = 1;
  m_nScale = 1;
  m_nMaxHp = 10;
  m_nStop = 10;
  m_nExtra = 1;
}

void cEdChara::RegisterFields(int version) {
  ClearFields();
  VisitNumericFields(*this, version, [this](auto& v) {
    if constexpr (sizeof(v) == 1)
      AddByte(&v);
    else if constexpr (sizeof(v) == 2)
      AddWord(&v);
    else
      AddDword(&v);
  });
  AddString(&m_strName);
}

void cEdChara::Load(cDataReader& r) {
  cRecord::Load(r);
  m_nX = r.ReadI16();
  m_nY = r.ReadI16();
  m_nDropItem = r.ReadI32();
  ReadInheritFlags(r, m_vInherit);
  LoadRecordList(m_vConditions, r);
  LoadRecordList(m_vFlows, r);
  if (!KeepTestOnlyFlows()) RemoveFlaggedFlows(m_vFlows);

  const int version = r.Version();
  if (version < DATA_VERSION) {
    if (version < kDefenceVersion) {
      m_nDefence = 0;
      InsertFlag(m_vInherit, CHARAGROUP_IMPACT);
    }
    if (version < kEffectModeVersion) {
      m_nStartEffectMode = 0;
      m_nDeathEffectMode = 0;
    }
    if (version < kHitBoxModeVersion) {
      m_nHitBoxMode = 0;
      InsertFlag(m_vInherit, CHARAGROUP_MAX_SP);
    }
    // Files before 206 know no "shot against character" box.
    if (version < kHitBoxShotCharaVersion && m_nHitBoxMode >= 2) ++m_nHitBoxMode;
    if (version < kScrollSyncVersion) {
      m_bScrollSync = 0;
      InsertFlag(m_vInherit, CHARAGROUP_SCROLL_SYNC);
    }
    if (version < SHOT_SHEET_FIRST_CELL_VERSION && m_nGraphicKind == GRAPHICKIND_SHOT)
      m_nGraphic = ShotSheetGraphicUpgrade(m_nGraphic);
    if (version < kBlinkVersion) m_nInvincibleBlink = 1;
  }
  ApplyInheritance();
  Validate();
}

void cEdChara::Save(cDataWriter& w) {
  Validate();
  cRecord::Save(w);
  w.WriteI16(m_nX);
  w.WriteI16(m_nY);
  w.WriteI32(m_nDropItem);
  WriteInheritFlags(w, m_vInherit);
  SaveRecordList(m_vConditions, w);
  SaveRecordList(m_vFlows, w);
}

void cEdChara::Validate() {
  FitPaletteRef(m_nPaletteKind, m_nPaletteIndex, PALETTELIST_CHARA);
  if (m_nGraphicKind == GRAPHICKIND_CHARA_BMP && !Fits(m_nGraphic, Database.m_vBmpCharaExc.Size()))
    m_nGraphic = 1;
  if (m_nScale <= 0) m_nScale = 1;
  if (!Fits(m_nAnimeSet, Database.m_vAnimeSet.Size())) m_nAnimeSet = 0;
  if (!Fits(m_nStartEffect, Database.m_vCharaEffect.Size())) m_nStartEffect = 0;
  if (!Fits(m_nDeathEffect, Database.m_vCharaEffect.Size())) m_nDeathEffect = 0;
  if (!Fits(m_nHitEffect, Database.m_vEffect.Size())) m_nHitEffect = 0;
  for (int i = 0; i < m_vFlows.Size();) {
    m_vFlows[i].Normalise();
    if (IsEmpty(m_vFlows[i]))
      m_vFlows.erase(m_vFlows.begin() + i);
    else
      ++i;
  }
}

void cEdChara::NormaliseFlows() {
  for (cEdFlow& flow : m_vFlows) flow.NormaliseCommands();
}

double cEdChara::GetOffsetX(int n, int facing) const {
  int64_t dots = int64_t{n} * m_nCopyStepX + m_nCopyOffsetX;
  if (facing == 1 && m_bCopyMirrorX) dots = -dots;
  return static_cast<double>(dots);
}

double cEdChara::GetOffsetY(int n, int facing) const {
  int64_t dots = int64_t{n} * m_nCopyStepY + m_nCopyOffsetY;
  if (facing == 1 && m_bCopyMirrorY) dots = -dots;
  return static_cast<double>(dots);
}

int32_t cEdChara::GetNumericField(int position) const {
  int i = 0;
  int32_t value = 0;
  VisitNumericFields(*this, DATA_VERSION, [&](const auto& v) {
    if (i++ == position) value = v;
  });
  return value;
}

void cEdChara::SetNumericField(int position, int32_t value) {
  int i = 0;
  VisitNumericFields(*this, DATA_VERSION, [&](auto& v) {
    if (i++ == position) v = static_cast<std::remove_reference_t<decltype(v)>>(value);
  });
}
