#pragma once
// The player's own settings, each in its own file under user_data\. Both
// records have the same layout in every data version and no tail.
#include <cstdint>
#include <string>

#include "records/record.h"

// Option.dat (PathTable entry 43): loaded once at start-up, saved when the
// options screen is left. Loading stores whatever the file holds; the
// options screen only produces values within the ranges below.
class cOptionData : public cRecord {
 public:
  cOptionData();
  void RegisterFields(int version) override;

  int32_t m_nPalette = 0;      // palette scheme 0..23 (8-bit display mode)
  int32_t m_bBgm = 0;          // 1 music on, 0 off
  int32_t m_nSeVolume = 0;     // sound-effect volume step 0..10
  int32_t m_nRankingMode = 0;  // bit 1: enter results automatically; bit 0: use the name below
  std::string m_strRankingName;  // at most 3 characters (a double-byte one counts as one)
};

// Boot.dat (PathTable entry 46): the drawing back end chosen in the start-up
// dialog; read by start-up only when System.ini asks for the choice.
class cBootData : public cRecord {
 public:
  cBootData();
  void RegisterFields(int version) override;

  int32_t m_nDrawMode = 0;  // 1 Direct3D, 0 DirectDraw
  int32_t m_bNoAsk = 0;     // 1: do not show the start-up dialog again
};

extern cOptionData OptionData;
extern cBootData BootData;
