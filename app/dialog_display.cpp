#include "app/dialog_display.h"

namespace {

cDialogDisplay g_standIn;
cDialogDisplay* g_display = nullptr;  // main thread only

}  // namespace

int cDialogDisplay::IsWindowMode() { return 1; }
int cDialogDisplay::IsRunning() { return 0; }
int cDialogDisplay::IsDirect3D() { return 0; }
int cDialogDisplay::ColorBits() { return 32; }
void cDialogDisplay::SetPaletteEntry0(uint8_t, uint8_t, uint8_t, uint8_t) {}
void cDialogDisplay::RestorePaletteEntry0() {}

cDialogDisplay& DialogDisplay() { return g_display ? *g_display : g_standIn; }

void SetDialogDisplay(cDialogDisplay* display) { g_display = display; }
