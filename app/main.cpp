// The game executable; everything it does starts in GameMain (app/win_main.h).
#include "app/win_main.h"

int main(int argc, char** argv) { return GameMain(argc, argv); }
