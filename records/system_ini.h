#pragma once
// System.ini in the working directory: the ten start settings of the runtime.
// Its key names and defaults are not fixed here: they are System.dat's list
// of keys (SystemData.m_vIniKeys), and a key's position in that list decides
// which setting it fills. Start-up reads it once, after System.dat.
#include <cstdint>
#include <string>

#include "base/container.h"
#include "records/system_elements.h"

constexpr const char* SYSTEM_INI_PATH = "System.ini";
constexpr int FREESTAGE_SIZE = 260;  // the start stage holds at most 259 bytes

struct SYSTEMINI {
  int32_t nDirect3D;        // position 0: 0 DirectDraw, 1 Direct3D, 2 or more: ask
  int32_t nWindowMode;      // 1: 0 full screen, 1 window, 2 resizable window
  int32_t nBpp;             // 2: 8, 16 or 32; 0 automatic
  int32_t nVSync;           // 3: 0 off, 1 on, 2 or more automatic
  int32_t nD3D_FontCache;   // 4
  int32_t nDD_FontCache;    // 5
  int32_t nDD_VideoStretch; // 6
  int32_t nShowFps;         // 7: 0 none, 2 plain text, other values a box
  int32_t nEnglish;         // 9 (stored before the text of position 8)
  char szFreeStage[FREESTAGE_SIZE];  // 8: stage file to play at once
};

extern SYSTEMINI SystemIni;

// Checked access into System.dat's key list.
cEdIniKey& GetIniKey(int index);

// The defaults from the key list: positions 0..7 their numbers, the start
// stage the text of position 8 (empty when that text is empty or longer than
// 259 bytes), English 0.
void SetIniDefaults(SYSTEMINI& ini, const cVector<cEdIniKey>& keys);

// Reads the file over `ini`: 1 when it was read up to its "Exit" line, a NUL
// byte or its 10000th line; 0 when it did not open or ended without one.
// Fields the file names are overwritten, the others keep their values.
int ReadSystemIni(const char* path, SYSTEMINI& ini, const cVector<cEdIniKey>& keys);

// The same on the bytes of a file.
int ParseSystemIni(const std::string& bytes, SYSTEMINI& ini, const cVector<cEdIniKey>& keys);

// The start-up step: defaults, then the file; a file that cannot be read is
// reported ("System.ini の読み込みに失敗しました！" to both logs and in an
// error box) and the defaults apply again. Returns what ReadSystemIni gave.
int LoadSystemIni(const char* path, SYSTEMINI& ini, const cVector<cEdIniKey>& keys);
