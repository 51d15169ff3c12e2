#pragma once
// Inside platform/ only: the writers of the key table and of the joystick
// snapshots, and the window system's part that feeds them on the main thread.
#include "platform/input.h"

union SDL_Event;

namespace plat::detail {

// Device writes; ignored while a ScriptedInput lives. A left or right
// Shift, Ctrl or Alt sets its side-less code too.
void SetKeyFromDevice(int vk, bool down);
void SetJoystickFromDevice(int id, const JoyState* state);  // null: unplugged
// Every key up (the window lost the keyboard).
void ReleaseKeysFromDevice();

// Main thread, with the window system: opens the joystick subsystem, and
// turns joystick events into the snapshots (and a window's loss of the
// keyboard into an empty key table). StopInputDevices closes every joystick
// and leaves the table empty.
void StartInputDevices();
void StopInputDevices();
void TranslateInputEvent(const SDL_Event& event);

// The key or mouse button that a keyboard or button event presses or
// releases, into the key table; returns its virtual-key code (0: none; a
// modifier's left or right code). Each such event is noted once, in order:
// when its window takes it (a dialog's in their turn, after the messages
// posted before them; other windows' at once), or when it is dropped.
int NoteKeyEvent(const SDL_Event& event);

}  // namespace plat::detail
