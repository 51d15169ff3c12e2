#pragma once
// Effects of the database (Effect.dat): a short animation drawn from cells in
// the top row of one image.
#include <cstdint>
#include <string>

#include "records/record.h"

class cEdEffectFrame : public cRecord {
 public:
  int32_t m_nCell = 0;  // left edge = cell × the effect's width
  int32_t m_nTime = 1;  // tenths of a second

  cEdEffectFrame();
  void RegisterFields(int version) override;
};

class cEdEffect : public cRecord {
 public:
  std::string m_strName;
  int32_t m_nAux = 0;  // kept and saved for the editor; cleared for files before 153
  std::string m_strFile;
  int32_t m_nWidth = 32;  // cell size, dots
  int32_t m_nHeight = 32;
  int32_t m_bScaleWithOwner = 0;  // as a hit effect, drawn at the attacker's scale above 1
  cVector<cEdEffectFrame> m_vFrame;  // none in a new effect

  cEdEffect();
  // Cleared with the cell size 32 × 32; the frames stay as they are.
  void Reset();
  void RegisterFields(int version) override;
  void Load(cDataReader& r) override;
  void Save(cDataWriter& w) override;
};
