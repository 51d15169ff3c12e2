// The stage file: the version word, the stage's record segment, then the
// ranking switches, the five off-screen rules, the three palettes, the three
// placed lists (each element after a zero word), the backgrounds, the texts
// and the trailer word (from version 173).
#include "records/stage.h"

void cEdStage::Load(cDataReader& r) {
  cStagePaletteScope scope(this);
  cRecord::Load(r);
  LoadTail(r);
  const int version = r.Version();
  if (version > 172) r.ReadU32();  // the trailer, tested before the load
  if (version < DATA_VERSION) Upgrade(version);
  Normalise();
}

void cEdStage::LoadTail(cDataReader& r) {
  LoadIntList(m_vRanked, r);
  for (cEdOffScreenRule* rule : {&m_RuleChara, &m_RuleBlockChara, &m_RuleItem, &m_RuleHeroShot,
                                 &m_RuleCharaShot})
    rule->Load(r);
  LoadDefinitions(r);
  LoadRecordList(m_vBackground, r);
  LoadRecordList(m_vText, r);
}

// Values for the members that older files do not store, in version order.
void cEdStage::Upgrade(int version) {
  // The right, top and bottom side flags of the rules came with version 125:
  // an older stage gets those of a new stage, whatever this record held.
  if (version < 125) {
    cEdOffScreenRule* rules[] = {&m_RuleChara, &m_RuleBlockChara, &m_RuleItem, &m_RuleHeroShot,
                                 &m_RuleCharaShot};
    cEdOffScreenRule read[5];
    for (int i = 0; i < 5; ++i) read[i] = *rules[i];
    ResetRules();
    for (int i = 0; i < 5; ++i) {
      rules[i]->m_bLeft = read[i].m_bLeft;
      rules[i]->m_nLeftMargin = read[i].m_nLeftMargin;
      rules[i]->m_nRightMargin = read[i].m_nRightMargin;
      rules[i]->m_nTopMargin = read[i].m_nTopMargin;
      rules[i]->m_nBottomMargin = read[i].m_nBottomMargin;
    }
  }
  if (version < 155) {
    m_nHeroContactFlyW = m_nHeroContactW;
    m_nHeroContactFlyH = m_nHeroContactH;
    m_nCharaContactFlyW = m_nCharaContactW;
    m_nCharaContactFlyH = m_nCharaContactH;
    m_bHeroContactBottom = 0;
    m_bHeroContactFlyBottom = 0;
    m_bCharaContactBottom = 0;
    m_bCharaContactFlyBottom = 0;
  }
  if (version < 166) m_bBgmLoop = 1;
  if (version < 181) {
    // Categories 3 and 4 did not exist: never ranked.
    m_vRanked.resize(STAGE_RANKED_COUNT, 0);
    m_vRanked[3] = 0;
    m_vRanked[4] = 0;
  }
  if (version < 183) m_bShowHud = 1;
  if (version < 184) m_bQuickClear = 0;
  if (version < 199) m_bBgmKeep = 0;
  if (version < 200) {
    m_nHeroHitW = 16;
    m_nHeroHitH = 24;
    m_nHeroHitFlyW = 16;
    m_nHeroHitFlyH = 16;
    m_bHeroHitBottom = 1;
    m_bHeroHitFlyBottom = 0;
    m_nShowHitBox = 0;
    m_nHitBoxColor = 5;
    m_nCharaHitW = 16;
    m_nCharaHitH = 30;
    m_nCharaHitFlyW = 16;
    m_nCharaHitFlyH = 30;
    m_bCharaHitBottom = 1;
    m_bCharaHitFlyBottom = 1;
  }
  if (version < 225) m_bStartBanner2 = 0;
}

void cEdStage::Save(cDataWriter& w) {
  cStagePaletteScope scope(this);
  Normalise();
  cRecord::Save(w);
  SaveTail(w, *this);
}

void cEdStage::SaveForReplay(cDataWriter& w, cEdStage& settings) {
  cStagePaletteScope scope(this);
  Normalise();
  settings.cRecord::Save(w);
  SaveTail(w, settings);
}

void cEdStage::SaveTail(cDataWriter& w, cEdStage& settings) {
  SaveIntList(settings.m_vRanked, w);
  for (cEdOffScreenRule* rule : {&settings.m_RuleChara, &settings.m_RuleBlockChara,
                                 &settings.m_RuleItem, &settings.m_RuleHeroShot,
                                 &settings.m_RuleCharaShot})
    rule->Save(w);
  SaveDefinitions(w);
  SaveRecordList(settings.m_vBackground, w);
  SaveRecordList(settings.m_vText, w);
  w.WriteU32(STAGE_FILE_TRAILER);
}
