#pragma once
// Inside platform/ only: SDL keys as virtual-key codes and keystroke flags,
// one mapping for the game's key table and for the dialogs.
#include <SDL.h>

#include <cstdint>

namespace plat::detail {

// The virtual-key code of a key; 0 for a key the system has no code for.
// Shift, Ctrl and Alt give their left or right code (VK_LSHIFT ...). Keys of
// layouts whose letters are not Latin are named by their position.
int VirtualKeyOf(const SDL_Keysym& key);
// The side-less code of a left or right Shift, Ctrl or Alt (VK_SHIFT ...);
// any other code as it is. Dialogs and keyboard hooks see these.
int SidelessKey(int vk);
// The other way, for events made up by tests (a side-less modifier gives the
// left key); SDLK_UNKNOWN when none.
SDL_Keycode KeycodeOf(int vk);

// Keystroke flags as the system reads them: repeat count 1 in bits 0-15,
// bit 29 with Alt down, bit 30 when the key was down before (a repeat, and
// every release), bit 31 on release.
uint32_t KeystrokeFlags(bool down, bool repeat, bool alt);

}  // namespace plat::detail
