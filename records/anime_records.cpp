#include "records/anime_records.h"

const char kAnimeNameStand[] = "\x97\xA7\x82\xBF";
const char kAnimeNameMove[] = "\x97\xA7\x82\xBF\x88\xDA\x93\xAE";
const char kAnimeNameFly[] = "\x94\xF2\x8D\x73";
const char kAnimeNameFlyMove[] = "\x94\xF2\x8D\x73\x88\xDA\x93\xAE";

namespace {
constexpr int kSetAnimeCount = 4;
// Sets before this version had no fixed four animations.
constexpr int kVersionFourSetAnimes = 128;
}  // namespace

cEdAnimeFrame::cEdAnimeFrame() {
  Clear();
  m_nTime = 1;
}

void cEdAnimeFrame::RegisterFields(int) {
  ClearFields();
  AddDword(&m_nCell);
  AddDword(&m_nTime);
  AddDword(&m_bLock);
}

cEdAnime::cEdAnime() { ResetDefault(); }

void cEdAnime::ResetDefault() {
  Clear();
  m_vFrame.clear();
  m_vFrame.push_back(cEdAnimeFrame());
  m_byAux2 = 1;
}

void cEdAnime::RegisterFields(int version) {
  ClearFields();
  AddString(&m_strName);
  if (version >= 55) {
    AddWord(&m_nAux1);
    AddByte(&m_byAux2);
    AddWord(&m_nAux3);
  }
}

void cEdAnime::Load(cDataReader& r) {
  cRecord::Load(r);
  LoadRecordList(m_vFrame, r);
}

void cEdAnime::Save(cDataWriter& w) {
  cRecord::Save(w);
  SaveRecordList(m_vFrame, w);
}

cEdAnimeSet::cEdAnimeSet() { ResetDefault(); }

namespace {
// Cuts or pads the list to four; added animations are new default ones.
void MakeFourAnimes(cVector<cEdAnime>& list) {
  if (list.size() > static_cast<size_t>(kSetAnimeCount)) list.resize(kSetAnimeCount);
  while (list.size() < static_cast<size_t>(kSetAnimeCount)) list.push_back(cEdAnime());
}
}  // namespace

void cEdAnimeSet::ResetDefault() {
  Clear();
  m_nInvincibleCell = 4;
  m_nBlockCell = 8;
  m_nFlyCell = 0;
  MakeFourAnimes(m_vSetAnime);
  m_vSetAnime[0].m_strName = kAnimeNameStand;
  m_vSetAnime[1].m_strName = kAnimeNameMove;
  m_vSetAnime[2].m_strName = kAnimeNameFly;
  m_vSetAnime[3].m_strName = kAnimeNameFlyMove;
}

void cEdAnimeSet::RegisterFields(int version) {
  ClearFields();
  AddString(&m_strName);
  AddDword(&m_nInvincibleCell);
  AddDword(&m_nBlockCell);
  if (version >= 119) AddDword(&m_nFlyCell);
}

void cEdAnimeSet::Load(cDataReader& r) {
  cRecord::Load(r);
  LoadRecordList(m_vSetAnime, r);
  if (r.Version() < kVersionFourSetAnimes) {
    // The two fly animations came with the fixed four; names 0 and 1 stay.
    MakeFourAnimes(m_vSetAnime);
    m_vSetAnime[2].m_strName = kAnimeNameFly;
    m_vSetAnime[3].m_strName = kAnimeNameFlyMove;
  }
}

void cEdAnimeSet::Save(cDataWriter& w) {
  cRecord::Save(w);
  SaveRecordList(m_vSetAnime, w);
}
