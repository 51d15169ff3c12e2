#pragma once
/* The mixer as a library built apart from the program sees it (the OGG
 * decoder plug-in): plain C types only, so that both sides need share nothing
 * but this header. The program hands the plug-in a filled MIXERHOST
 * (plat::Mixer::Host); the plug-in keeps it while it has streams in the mix.
 *
 * A stream is a source of float samples at its own rate and channel count.
 * The mixer pulls it from the thread that renders the mix (the audio
 * device's), as many of its frames at a time as the output needs, resamples
 * it to the mix rate by linear interpolation and adds it to the mix. */
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Writes `frames` frames of interleaved float samples (-1..1, `channels`
 * values a frame) to `out`: the stream's own frames from `position` on.
 * Position 0 is the stream's first frame after it was added; every pull
 * continues exactly where the last one ended (position grows by the frames
 * asked for, whatever was returned), so a synthesiser can time its events
 * to the frame. Returns the frames written; the rest of the request is
 * silence this time and the stream stays in the mix until it is removed.
 * Runs on the rendering thread while the mixer holds its stream lock: it must
 * not call the host (that would wait for itself) and should not block. */
typedef size_t (*MIXERPULLPROC)(void* user, float* out, size_t frames, uint64_t position);

#define MIXERHOST_VERSION 1u

typedef struct MIXERHOST {
  uint32_t dwVersion; /* MIXERHOST_VERSION */
  void* lpHost;       /* the mixer: the first argument of the calls below */
  /* Adds a stream of `rate` frames a second (100..200000) and 1 or 2
   * channels. Returns its id (never 0), or 0 when refused. Any thread. */
  uint32_t (*AddStream)(void* host, int32_t rate, int32_t channels, MIXERPULLPROC pull, void* user);
  /* Removes a stream. A pull of it in progress finishes first; after the
   * call its pull is never called again, so `user` may be freed. Unknown ids
   * are ignored. Any thread but the rendering one. */
  void (*RemoveStream)(void* host, uint32_t id);
} MIXERHOST;

#ifdef __cplusplus
}
#endif
