// The game executable; everything it does starts in GameMain (app/win_main.h).
#include <malloc.h>

#include "app/win_main.h"

int main(int argc, char** argv) {
  // The drawing, audio and loading threads would each get a heap of their
  // own, whose free pages are kept apart; one heap keeps the peak ~2 MB lower.
  mallopt(M_ARENA_MAX, 1);
  return GameMain(argc, argv);
}
