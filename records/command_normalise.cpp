// Fitting a command to the database, to its type's parameter count and to
// the palettes. Indexes are compared as unsigned values: a negative index
// counts as too large.
#include <cstdint>

#include "records/command.h"
#include "records/command_types.h"
#include "records/database.h"
#include "records/flow.h"
#include "records/palette_sizes.h"

namespace {

bool Fits(int64_t index, int count) { return index >= 0 && index < count; }

// Parameter i becomes `replacement` when it does not fit a table of `count`;
// a parameter the command does not have is left alone.
void FitParam(cVector<int32_t>& params, int i, int count, int32_t replacement) {
  if (i < params.Size() && !Fits(params[i], count)) params[i] = replacement;
}

constexpr int kMaxUseTime = 9999;

// A sword runs for as long as its frames show. The sum is taken in a wide
// integer and stops at the cap as soon as it reaches it.
void FitSword(cEdCommand& c) {
  const int types = Database.m_vSwordType.Size();
  if (!c.m_spShot || types == 0) return;
  cEdShot& shot = *c.m_spShot;
  if (!Fits(shot.m_nPath, types)) shot.m_nPath = 0;
  int64_t sum = 0;
  for (const cEdSwordFrame& frame : Database.m_vSwordType.At(shot.m_nPath).m_vFrame) {
    sum += frame.m_nTime;
    if (sum >= kMaxUseTime) {
      sum = kMaxUseTime;
      break;
    }
  }
  c.m_nUseTime = static_cast<int16_t>(sum < INT16_MIN ? INT16_MIN : sum);
}

// Palette 0 common, 1 stage, as summons and "get item" name it.
int SummonPaletteKind(int palette) {
  return palette == 0 ? PALETTEKIND_COMMON : palette == 1 ? PALETTEKIND_STAGE : PALETTEKIND_NONE;
}

void FitSummon(cEdShot& shot, int list) {
  int kind = SummonPaletteKind(shot.m_nSummonPalette);
  if (kind != PALETTEKIND_NONE && !Fits(shot.m_nSummonIndex, PaletteListSize(kind, list)))
    shot.m_nSummonIndex = 1;
}

// The item that a shot or sword gives on a hit: a reference that does not fit
// is dropped.
void FitShotItem(cEdShot& shot) {
  int kind = shot.m_nItemKind;
  if (kind != PALETTEKIND_COMMON && kind != PALETTEKIND_STAGE) return;
  if (!Fits(shot.m_nItemIndex, PaletteListSize(kind, PALETTELIST_ITEM))) {
    shot.m_nItemKind = 0;
    shot.m_nItemIndex = 0;
  }
}

// "Get item": p0 the palette, p1 the item index.
void FitGetItem(cVector<int32_t>& params) {
  if (params.Size() < 2) return;
  int kind = SummonPaletteKind(params[0]);
  if (kind != PALETTEKIND_NONE) FitParam(params, 1, PaletteListSize(kind, PALETTELIST_ITEM), 1);
}

}  // namespace

void cEdCommand::Normalise() {
  if (!Fits(m_nAnime, Database.m_vAnime.Size())) m_nAnime = 0;
  if (!Fits(m_nSe, Database.m_vSound.Size())) m_nSe = 0;
  int count = CommandParamCount(m_bItemCommand, m_nType);
  if (count < 0) {
    // No editor writes such a type; it stays a command that does nothing.
    m_nType = 0;
    count = 0;
  }
  m_vParams.resize(count, 0);

  // Item types from 2 on are the action type + 15.
  int action = m_nType;
  if (m_bItemCommand) action = m_nType >= ITEMCMDTYPE_STAGE_CLEAR ? m_nType + ITEMCMDTYPE_TO_ACTION : -1;
  switch (action) {
    case ACTCMDTYPE_SWORD:
      FitSword(*this);
      break;
    case ACTCMDTYPE_CHANGE_BASIC_ANIMESET:
      FitParam(m_vParams, 0, Database.m_vAnimeSet.Size(), 0);
      break;
    case ACTCMDTYPE_PLAY_ANIME:
      FitParam(m_vParams, 0, Database.m_vAnime.Size(), 1);
      break;
    case ACTCMDTYPE_PLAY_EFFECT:
      FitParam(m_vParams, 0, Database.m_vEffect.Size(), 1);
      break;
    case ACTCMDTYPE_CHARA_EFFECT:
      FitParam(m_vParams, 0, Database.m_vCharaEffect.Size(), 1);
      break;
    case ACTCMDTYPE_SCREEN_EFFECT:
      FitParam(m_vParams, 0, Database.m_vScrEffect.Size(), 1);
      break;
    case ACTCMDTYPE_SHOW_PICTURE:
      FitParam(m_vParams, 0, Database.m_vPicture.Size(), 1);
      break;
    case ACTCMDTYPE_PLAY_SE:
      FitParam(m_vParams, 0, Database.m_vSound.Size(), 1);
      break;
    case ACTCMDTYPE_PLAY_BGM:
      FitParam(m_vParams, 0, Database.m_vBgm.Size(), 1);
      break;
    default:
      break;
  }
  for (cEdFlow& flow : m_vFlows) flow.Normalise();
}

void cEdCommand::ValidatePaletteRefs() {
  if (!m_bItemCommand) {
    switch (m_nType) {
      case ACTCMDTYPE_SHOT:
      case ACTCMDTYPE_SWORD:
        if (m_spShot) FitShotItem(*m_spShot);
        break;
      case ACTCMDTYPE_SUMMON_BLOCK:
        if (m_spShot) FitSummon(*m_spShot, PALETTELIST_BLOCK);
        break;
      case ACTCMDTYPE_SUMMON_CHARA:
        if (m_spShot) FitSummon(*m_spShot, PALETTELIST_CHARA);
        break;
      case ACTCMDTYPE_SUMMON_ITEM:
        if (m_spShot) FitSummon(*m_spShot, PALETTELIST_ITEM);
        break;
      case ACTCMDTYPE_GET_ITEM:
        FitGetItem(m_vParams);
        break;
      default:
        break;
    }
  } else if (m_nType == ITEMCMDTYPE_GET_ITEM) {
    FitGetItem(m_vParams);
  }
  for (cEdFlow& flow : m_vFlows) flow.NormaliseCommands();
}
