#pragma once
// Sword types of the database (SwordType.dat): two images, one per facing,
// and the frames a swung sword shows.
#include <cstdint>
#include <string>

#include "records/record.h"

class cEdSwordFrame : public cRecord {
 public:
  int32_t m_nOffsetX = 0;  // dots, times the sword's scale
  int32_t m_nOffsetY = 0;
  int32_t m_bMirrorX = 1;  // facing right subtracts the offset instead of adding it
  int32_t m_bMirrorY = 0;
  int32_t m_nPlace = 0;    // 0 in front, 1 behind, 2 above, 3 below the holder
  int32_t m_nSrcX = 0;     // rectangle in the sword image, dots
  int32_t m_nSrcY = 0;
  int32_t m_nWidth = 0;    // also the hit box, before scaling
  int32_t m_nHeight = 0;
  int32_t m_nTime = 0;     // tenths of a second

  // Cleared with m_bMirrorX 1, so frames from files before 138 mirror x only.
  cEdSwordFrame();
  void RegisterFields(int version) override;
};

class cEdSwordType : public cRecord {
 public:
  std::string m_strName;
  int32_t m_nAux = 0;  // kept and saved for the editor; cleared for files before 153
  std::string m_strFileL;  // image while the sword faces left
  std::string m_strFileR;  // image while it faces right
  cVector<cEdSwordFrame> m_vFrame;

  // One default frame with time 1.
  cEdSwordType();
  void Reset();
  void RegisterFields(int version) override;
  void Load(cDataReader& r) override;
  void Save(cDataWriter& w) override;

  // A sword asks before it takes a frame: a type loaded with no frames has no
  // frame 0, and its sword ends at once (as an effect without frames does)
  // instead of showing a stand-in.
  bool HasFrame(int index) const { return index >= 0 && index < m_vFrame.Size(); }
  // The checked access to a frame (a bad index is reported and closes the program).
  const cEdSwordFrame& FrameAt(int index) const { return m_vFrame.At(index); }
};
