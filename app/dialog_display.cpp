#include "app/dialog_display.h"

#include "media/dd_facts.h"

namespace {

cDialogDisplay g_layer;
cDialogDisplay* g_display = nullptr;  // main thread only

}  // namespace

int cDialogDisplay::IsWindowMode() { return DDGetDrawingFacts().bWindowMode; }
int cDialogDisplay::IsRunning() { return DDGetDrawingFacts().bReady; }
int cDialogDisplay::IsDirect3D() { return DDGetDrawingFacts().bDirect3D; }
int cDialogDisplay::ColorBits() { return DDGetDrawingFacts().nBpp; }

void cDialogDisplay::SetPaletteEntry0(uint8_t red, uint8_t green, uint8_t blue, uint8_t flags) {
  DDSetPaletteEntry0(red, green, blue, flags);
}

void cDialogDisplay::RestorePaletteEntry0() { DDRestorePaletteEntry0(); }

cDialogDisplay& DialogDisplay() { return g_display ? *g_display : g_layer; }

void SetDialogDisplay(cDialogDisplay* display) { g_display = display; }
