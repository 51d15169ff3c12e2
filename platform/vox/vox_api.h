#pragma once
// The OGG decoder plug-in (libvox.so) as its host and the plug-in both see
// it. The host (the music manager's cVox) opens the library at run time,
// hands it the mixer with VoxAttachHost and makes one object per music
// channel with CreateVox. The object's operations are virtual functions whose
// slot order is fixed: a plug-in built apart from the program is called
// through this table, so entries are only ever added at the end.
//
// Every operation runs on the thread that runs the music manager (the main
// window's, or the game thread's when the options switch music on or off),
// one at a time. Decoding runs inside the mixer's pull of the object's
// stream, on the rendering thread.
#include <stdint.h>

#include "platform/mixer_host.h"

class cVoxObject {
 public:
  // Reads the file at a host path (UTF-8, '/') whole and opens it as
  // Ogg Vorbis of 1 or 2 channels. Non-zero on success; on failure the
  // object holds nothing and plays nothing. A playing object stops first.
  virtual int32_t Load(const char* hostPath) = 0;
  // Puts the object's stream into the mix from where it stands. Nothing when
  // it is in the mix already or holds no file. Non-zero when it sounds.
  virtual int32_t Play() = 0;
  // Takes the stream out of the mix at once, keeping the position. When this
  // returns no pull of it runs.
  virtual int32_t Stop() = 0;
  // Stops and forgets the file, before a new Load.
  virtual int32_t Reset() = 0;
  // How many times the file starts again from its beginning when it ends:
  // 0 plays it once, kVoxLoopEndless for ever. Negative counts as 0.
  virtual int32_t SetLoopCount(int32_t count) = 0;
  // Kept free for later operations; each does nothing and returns 0.
  virtual int32_t Reserved1() = 0;
  virtual int32_t Reserved2() = 0;
  virtual int32_t Reserved3() = 0;
  virtual int32_t Reserved4() = 0;
  // Stops (waiting for a pull in progress) and frees the object.
  virtual void Destroy() = 0;

 protected:
  // Only Destroy frees an object, inside the library that made it.
  ~cVoxObject() = default;
};

// The loop count that never runs out.
#define VOX_LOOP_ENDLESS 2147483647

#define VOX_CREATE_NAME "CreateVox"
#define VOX_ATTACH_HOST_NAME "VoxAttachHost"

extern "C" {
// A new object holding no file, or null when out of memory.
typedef cVoxObject* (*VOXCREATEPROC)(void);
// Hands the library the mixer its objects play into (copied; null forgets
// it). Objects already in the mix keep the host they were added with.
// Non-zero when the host's version is understood.
typedef int32_t (*VOXATTACHHOSTPROC)(const MIXERHOST* host);
}
