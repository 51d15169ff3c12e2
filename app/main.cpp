// Entry point of the game executable. The window, the threads and the scenes
// are built up in later steps; for now the program only reports that.
#include <cstdio>

int main() {
  std::puts("game: the runtime builds; playing a project is not available yet.");
  return 0;
}
