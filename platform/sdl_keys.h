#pragma once
// Inside platform/ only: SDL keys as virtual-key codes and keystroke flags.
#include <SDL.h>

#include <cstdint>

namespace plat::detail {

// The virtual-key code of a key; 0 for a key the system has no code for.
// Left and right Shift, Ctrl and Alt give the one code of each.
int VirtualKeyOf(SDL_Keycode key);
// The other way, for events made up by tests; SDLK_UNKNOWN when none.
SDL_Keycode KeycodeOf(int vk);

// Keystroke flags as the system reads them: repeat count 1 in bits 0-15,
// bit 29 with Alt down, bit 30 when the key was down before (a repeat, and
// every release), bit 31 on release.
uint32_t KeystrokeFlags(bool down, bool repeat, bool alt);

}  // namespace plat::detail
