#include "records/chara_effect.h"

#include "records/param_desc.h"

namespace {
// The last version without the wave and circle roughness parameters.
constexpr int kVersionBeforeRoughness = 510;

}  // namespace

void cEdEffectKindRecord::RegisterFields(int) {
  ClearFields();
  AddString(&m_strName);
  AddDword(&m_nKind);
  AddDword(m_anParam, 5);
}

void cEdEffectKindRecord::ApplyUpgrades(int fileVersion, const Upgrade* upgrades, int count,
                                        bool screen) {
  if (fileVersion > kVersionBeforeRoughness) return;
  for (int i = 0; i < count; ++i) {
    if (m_nKind != upgrades[i].kind) continue;
    const PARAMDESC& d = screen ? ScrEffectParams[upgrades[i].kind][upgrades[i].param]
                                : CharaEffectParams[upgrades[i].kind][upgrades[i].param];
    m_anParam[upgrades[i].param] = d.nDefault;
  }
}

cEdCharaEffect::cEdCharaEffect() {
  Clear();
  m_nKind = 1;
}

void cEdCharaEffect::Load(cDataReader& r) {
  cRecord::Load(r);
  // Wave (horizontal, vertical): roughness; circle: roughness.
  static const Upgrade kUpgrades[] = {{4, 4}, {5, 4}, {10, 3}};
  ApplyUpgrades(r.Version(), kUpgrades, 3, false);
}

cEdScrEffect::cEdScrEffect() {
  Clear();
  m_nKind = 1;
}

void cEdScrEffect::Load(cDataReader& r) {
  cRecord::Load(r);
  static const Upgrade kUpgrades[] = {{6, 4}, {7, 4}, {10, 3}};
  ApplyUpgrades(r.Version(), kUpgrades, 3, true);
}
