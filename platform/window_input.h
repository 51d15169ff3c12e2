#pragma once
// Inside platform/ only: the window system's input events on their way.
#include <SDL.h>

namespace plat::detail {

// Notes the pointer and the keys, shows keystrokes to the keyboard hooks and
// queues the events of dialog windows for their dialogs. True when the event
// belonged to a dialog and is taken.
bool RouteWindowInput(const SDL_Event& event);

}  // namespace plat::detail
