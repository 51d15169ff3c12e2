#pragma once
// The OGG player set of the music manager: one object of the OGG plug-in
// (libvox.so, platform/vox/vox_api.h) per music channel, of which at most one
// plays. Used only by cBgm, on the thread that runs it.
#include <cstdint>
#include <string>

#include "platform/shared_library.h"
#include "platform/vox/vox_api.h"

class cVox {
 public:
  cVox() = default;
  // Release.
  ~cVox();
  cVox(const cVox&) = delete;
  cVox& operator=(const cVox&) = delete;

  // Opens the plug-in (VoxLibraryPath) and hands it the process mixer. 1 when
  // both entry points were found and the mixer taken; else the box
  // "oggの初期化に失敗！", the library unloaded again, and 0 (LastError says
  // why). A library loaded already is released first.
  int Init();
  // Destroys the old objects (nothing plays afterwards) and makes n new ones,
  // n >= 0. 0 without a library, or after the out-of-memory box when the
  // plug-in made no object for a channel (that channel then plays nothing).
  int SetChannels(int n);
  // Plays a Shift-JIS path on a channel, loop 1 for ever, 0 once, after
  // stopping what plays. 1 when it sounds; 0 for an empty path, a channel
  // outside 0..n-1 (then nothing changes), or a file the plug-in cannot open
  // (then nothing plays).
  int Play(int channel, const char* path, int loop);
  // Stops the playing object, if any.
  void Stop();
  // Destroys every object and unloads the library; the result of the unload
  // (1), or 0 when no library was loaded.
  int Release();

  // Why the last Init failed (the system's text); empty after a good one.
  const std::string& LastError() const { return m_strError; }

  cVoxObject** m_lpObjects = nullptr;  // one per channel; null where none was made
  int32_t m_nObjects = 0;
  int32_t m_nPlaying = -1;             // channel whose object plays, -1 none
  plat::SharedLibrary m_hModule;
  VOXCREATEPROC m_pfnCreateVox = nullptr;

 private:
  void DestroyObjects();

  std::string m_strError;
};

// The plug-in cVox::Init opens, as a host path: libvox.so in the running
// program's folder unless SetVoxLibraryPath named another (tests name the
// library they built, or a missing one; empty returns to the default).
std::string VoxLibraryPath();
void SetVoxLibraryPath(const std::string& hostPath);
