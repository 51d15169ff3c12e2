#include "platform/clipboard.h"

#include <SDL.h>

#include "platform/text_encoding.h"

namespace plat {

bool SetClipboardCp932(const std::string& sjis) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  return SDL_SetClipboardText(Cp932ToUtf8(sjis).c_str()) == 0;
}

std::string GetClipboardCp932() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return std::string();
  char* text = SDL_GetClipboardText();
  std::string utf8 = text ? text : "";
  SDL_free(text);
  return Utf8ToCp932Dropping(utf8);
}

}  // namespace plat
