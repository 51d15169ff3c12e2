#include "app/drawing_facts.h"

#include <atomic>

#include "media/dd_layer.h"
#include "platform/soft_display.h"

namespace {

// The 3D device keeps its textures in the same budget as the display's
// surfaces, and draws with one texture stage.
constexpr int kTextureMemoryMB = 256;
constexpr int kTextureStages = 1;

cDrawingFacts g_layer;
std::atomic<cDrawingFacts*> g_facts{nullptr};

}  // namespace

int cDrawingFacts::IsDirect3D() { return lpDTCon ? 1 : 0; }
int cDrawingFacts::IsWindowMode() { return bWindowMode ? 1 : 0; }
int cDrawingFacts::ColorBits() { return nBpp; }
int cDrawingFacts::HasDirectDraw() { return lpDD ? 1 : 0; }

void cDrawingFacts::VideoMemory(int& totalMB, int& freeMB) {
  uint32_t total = 0, free = 0;
  GetVideoMemory(total, free);
  totalMB = static_cast<int>(total);
  freeMB = static_cast<int>(free);
}

uint32_t cDrawingFacts::MonitorFrequency() {
  return lpDD ? static_cast<uint32_t>(lpDD->GetMonitorFrequency()) : 0;
}

int cDrawingFacts::DDIVersion() { return plat::GetDDIVersion(); }

int cDrawingFacts::TextureMemoryMB() { return kTextureMemoryMB; }

void cDrawingFacts::TextureMaxSize(int& width, int& height) {
  width = lpDTCon ? lpDTCon->Caps.MaxTextureWidth : 0;
  height = lpDTCon ? lpDTCon->Caps.MaxTextureHeight : 0;
}

void cDrawingFacts::TextureMaxBlend(int& stages, int& textures) {
  stages = lpDTCon ? kTextureStages : 0;
  textures = lpDTCon ? kTextureStages : 0;
}

cDrawingFacts& DrawingFacts() {
  cDrawingFacts* facts = g_facts.load();
  return facts ? *facts : g_layer;
}

void SetDrawingFacts(cDrawingFacts* facts) { g_facts.store(facts); }
