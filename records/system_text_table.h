#pragma once
// The Shift-JIS texts of a new project's System.dat and the face names of its
// font setting. The source holds them as UTF-8 so that they stay readable;
// they become Shift-JIS once, on first use, and are then read-only (safe to
// read from any thread).
#include <string>

#include "base/container.h"

constexpr int FONT_NAME_COUNT = 123;
constexpr int DEFAULT_FONT = 60;  // "ＭＳ Ｐゴシック"

// The face names indexed by System.dat's font setting; the last one is empty.
const cVector<std::string>& FontNameTable();

// Entry `index` of FontNameTable. An index outside the table (a damaged
// System.dat) gives the default face, so the fonts always get a real name.
const char* GetFontName(int index);

// The default texts, Shift-JIS, at the positions a new project gives them.
struct SYSTEMDEFAULTTEXTS {
  cVector<std::string> vTexts;              // 28 system texts
  cVector<std::string> vTitleMenu;          // 7
  cVector<std::string> vMapMenu;            // 4
  cVector<std::string> vOptionMenu;         // 6 (the last empty)
  cVector<std::string> vRankingEntryModes;  // 4
  cVector<std::string> vStatusLabels;       // 5
  // The map-menu entry that files before 169 gain at position 1.
  std::string strAutoSaveEntry;
  // The texts that the upgrades of old files insert.
  std::string strNoSaveSlot, strAutoSaveOff, strAutoSaveOn;  // 169
  std::string strHpLeft, strSpLeft;                          // 181
  std::string strRetry, strBackToMap;                        // 193
};
const SYSTEMDEFAULTTEXTS& SystemDefaultTexts();
