// The process's mixer, silent until the audio device opens on it.
#include "platform/mixer.h"

namespace plat {

Mixer MainMixer;

}  // namespace plat
