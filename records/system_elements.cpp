#include "records/system_elements.h"

namespace {
constexpr int RANKING_CATEGORIES = 5;
}

cEdSystemText::cEdSystemText() { RegisterFields(CurVersion); }

void cEdSystemText::RegisterFields(int) {
  ClearFields();
  AddDword(&m_bVisible);
  AddString(&m_strText);
}

cEdStatusItem::cEdStatusItem() { RegisterFields(CurVersion); }

void cEdStatusItem::RegisterFields(int version) {
  ClearFields();
  AddDword(&m_bVisible);
  AddDword(&m_bIcon);
  AddString(&m_strLabel);
  AddDword(&m_nDigits);
  if (version >= 204) AddDword(&m_bShowValue);
  if (version >= 587) {
    AddDword(&m_nLowLevel);
    AddDword(&m_bLowPercent);
  }
}

void cEdStatusItem::Load(cDataReader& r) {
  cRecord::Load(r);
  if (r.Version() < 204) m_bShowValue = 1;
}

cEdRankingMode::cEdRankingMode() : m_vCategories(RANKING_CATEGORIES, 0) { RegisterFields(CurVersion); }

void cEdRankingMode::RegisterFields(int) {
  ClearFields();
  AddDword(&m_bRanking);
}

void cEdRankingMode::Load(cDataReader& r) {
  cRecord::Load(r);
  uint32_t n = r.ReadCount(1);
  m_vCategories.resize(n, 0);
  if (n) r.ReadBytes(m_vCategories.data(), n);
}

void cEdRankingMode::Save(cDataWriter& w) {
  cRecord::Save(w);
  w.WriteU32(static_cast<uint32_t>(m_vCategories.size()));
  if (!m_vCategories.empty()) w.WriteBytes(m_vCategories.data(), m_vCategories.size());
}

cEdIniKey::cEdIniKey() { RegisterFields(CurVersion); }

void cEdIniKey::RegisterFields(int) {
  ClearFields();
  AddDword(&m_nKind);
  AddString(&m_strKey);
  AddDword(&m_nNumber);
  AddString(&m_strText);
}

void cEdIniKey::SetNumber(const std::string& key, int32_t number) {
  m_strKey = key;
  m_nKind = KIND_NUMBER;
  m_nNumber = number;
}

void cEdIniKey::SetText(const std::string& key, const std::string& text) {
  m_strKey = key;
  m_nKind = KIND_TEXT;
  m_strText = text;
}
