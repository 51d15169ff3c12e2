#pragma once
// Frame timing over the millisecond clock (plat::TimeGetTime). Each function
// keeps its state in statics of its own and is called only by the thread that
// runs the current frame loop (one frame loop runs at a time; the hand-over
// between loops is a thread start or join). All differences of times are taken
// unsigned, so every function works across the wrap of the u32 clock.
#include <atomic>
#include <cstdint>

struct DDSURFACEDATA;

// 1 while the drawing layer runs its 3D back end (it sets this when that back
// end has started and clears it when it is released); 0 under the 2D back
// end and before any has started. PaceFrame paces only while it is 1.
extern std::atomic<int> bDirect3DBackEnd;

// Called at the start of a frame's work: stores the current time as the
// start and returns it.
uint32_t StopwatchStart();

// update != 0: the milliseconds since StopwatchStart, stored and returned;
// update == 0: the stored value (0 before the first update).
uint32_t StopwatchElapsed(int update);

// The frame counter behind the displayed frame rate, called once per frame
// with update 1. Returns the count published at the end of the last full
// second; the call that publishes is not counted itself, so a loop of r calls
// per second shows r - 1. update 0 only reads.
uint32_t CountPerSecond(int update);

// The 2D back end's frame pacer: true when the next frame may start, at the
// earliest 1000 / fps (integer) milliseconds after the previous frame was let
// go, with the fps of this call, so that a new rate already spaces the frame
// after the change; the caller polls it with 1 ms sleeps. fps 0: always
// true, and the next call at a rate lets its frame go at once.
bool LimitRate(unsigned fps);

// The 3D back end's frame pacer, called by the present while vertical sync is
// off: true when frame n of the current second is due, n * 1000.0 / fps
// milliseconds after the second began, so exactly fps frames run per second.
// A call at another rate than the last one starts a new second with its
// frame. true at once with fps 0 or while bDirect3DBackEnd is 0. The optional
// text overlay (overlay with a glyph sheet) belongs to the drawing layer and
// is not drawn here.
bool PaceFrame(unsigned fps, int overlay, DDSURFACEDATA* sheet);

// A shared every-n-th counter: mode 0 resets it (false); mode 2 tells whether
// it stands at 0 without counting; any other mode counts and is true on every
// n-th call.
bool EveryNth(int mode, unsigned n);

// Forgets all state, as at start-up (each function then starts over on its
// next call).
void ResetTimers();
