#pragma once
// Character effects (CharaEffect.dat) and screen effects (ScrEffect.dat): a
// name, a kind and five parameters whose meaning the kind gives
// (records/param_desc.h). Parameter 0 is the run time in tenths of a second.
#include <cstdint>
#include <string>

#include "records/record.h"

// The members and the layout both records share; the two classes differ in
// their upgrades and in the descriptor table that gives the parameters meaning.
class cEdEffectKindRecord : public cRecord {
 public:
  std::string m_strName;
  int32_t m_nKind = 1;  // 0 none; stored as read, checked where it is used
  int32_t m_anParam[5] = {0, 0, 0, 0, 0};

  void RegisterFields(int version) override;

 protected:
  // Kind 1, parameters 0 (not the descriptor defaults).
  cEdEffectKindRecord() = default;
  // Files of version 510 and older lack the parameters that 511 added; each
  // gets its descriptor's default.
  struct Upgrade {
    int kind;
    int param;
  };
  void ApplyUpgrades(int fileVersion, const Upgrade* upgrades, int count, bool screen);
};

class cEdCharaEffect : public cEdEffectKindRecord {
 public:
  cEdCharaEffect();
  void Load(cDataReader& r) override;
};

class cEdScrEffect : public cEdEffectKindRecord {
 public:
  cEdScrEffect();
  void Load(cDataReader& r) override;
};
