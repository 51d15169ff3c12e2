// The process's mixer, silent until the audio device opens on it.
#include "platform/mixer.h"

namespace plat {

// Made before every global of the program and destroyed after them: the
// music manager and the sound bank hand their streams and buffers back to it
// when they go at exit.
Mixer MainMixer __attribute__((init_priority(200)));

}  // namespace plat
