// The start-up bench's reference: a bare SDL program that opens the game's
// 640 x 480 window and presents one frame from a streaming texture, as the
// game's presenter does, then writes one byte to the file descriptor given
// as its argument and ends.
#include <SDL.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
  const int done = argc > 1 ? std::atoi(argv[1]) : -1;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480, 0);
  SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
  SDL_Texture* texture =
      renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_XRGB8888, SDL_TEXTUREACCESS_STREAMING, 640, 480)
               : nullptr;
  if (!texture) return 1;
  std::vector<uint32_t> pixels(640 * 480, 0x203040);
  SDL_UpdateTexture(texture, nullptr, pixels.data(), 640 * 4);
  SDL_RenderClear(renderer);
  SDL_RenderCopy(renderer, texture, nullptr, nullptr);
  SDL_RenderPresent(renderer);
  const char byte = 1;
  if (done >= 0 && write(done, &byte, 1) != 1) return 1;
  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
