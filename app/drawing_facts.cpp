#include "app/drawing_facts.h"

#include <atomic>

#include "media/dd_facts.h"

namespace {

cDrawingFacts g_defaultFacts;
std::atomic<cDrawingFacts*> g_facts{nullptr};

}  // namespace

int cDrawingFacts::IsDirect3D() { return DDGetDrawingFacts().bDirect3D; }
int cDrawingFacts::IsWindowMode() { return DDGetDrawingFacts().bWindowMode; }
int cDrawingFacts::ColorBits() { return DDGetDrawingFacts().nBpp; }
int cDrawingFacts::HasDirectDraw() { return DDGetDrawingFacts().bDirectDraw; }

void cDrawingFacts::VideoMemory(int& totalMB, int& freeMB) {
  const DDDRAWINGFACTS f = DDGetDrawingFacts();
  totalMB = f.nVideoTotalMB;
  freeMB = f.nVideoFreeMB;
}

uint32_t cDrawingFacts::MonitorFrequency() { return DDGetDrawingFacts().nMonitorFrequency; }

int cDrawingFacts::DDIVersion() { return DDGetDrawingFacts().nDDIVersion; }

int cDrawingFacts::TextureMemoryMB() { return DDGetDrawingFacts().nTextureMemoryMB; }

void cDrawingFacts::TextureMaxSize(int& width, int& height) {
  const DDDRAWINGFACTS f = DDGetDrawingFacts();
  width = f.nMaxTextureWidth;
  height = f.nMaxTextureHeight;
}

void cDrawingFacts::TextureMaxBlend(int& stages, int& textures) {
  const DDDRAWINGFACTS f = DDGetDrawingFacts();
  stages = f.nMaxTextureBlendStages;
  textures = f.nMaxSimultaneousTextures;
}

cDrawingFacts& DrawingFacts() {
  cDrawingFacts* facts = g_facts.load();
  return facts ? *facts : g_defaultFacts;
}

void SetDrawingFacts(cDrawingFacts* facts) { g_facts.store(facts); }
