#pragma once
// Inside platform/ only: the writers of the key table and of the joystick
// snapshots, and the window system's part that feeds them on the main thread.
#include "platform/input.h"

union SDL_Event;

namespace plat::detail {

// Device writes; ignored while a ScriptedInput lives.
void SetKeyFromDevice(int vk, bool down);
void SetJoystickFromDevice(int id, const JoyState* state);  // null: unplugged
// Every key up (the window lost the keyboard).
void ReleaseKeysFromDevice();

// Main thread, with the window system: opens the joystick subsystem, and
// turns keyboard and joystick events into the table. StopInputDevices closes
// every joystick and leaves the table empty.
void StartInputDevices();
void StopInputDevices();
void TranslateInputEvent(const SDL_Event& event);

}  // namespace plat::detail
