#include "app/drawing_facts.h"

#include <atomic>

#include "platform/machine_facts.h"

namespace {

constexpr int kStandInVideoMB = 256;
constexpr int kStandInDDIVersion = 8;

cDrawingFacts g_standIn;
std::atomic<cDrawingFacts*> g_facts{nullptr};

}  // namespace

int cDrawingFacts::IsDirect3D() { return 0; }
int cDrawingFacts::IsWindowMode() { return 1; }
int cDrawingFacts::ColorBits() { return 32; }
int cDrawingFacts::HasDirectDraw() { return 1; }

void cDrawingFacts::VideoMemory(int& totalMB, int& freeMB) {
  totalMB = kStandInVideoMB;
  freeMB = kStandInVideoMB;
}

uint32_t cDrawingFacts::MonitorFrequency() {
  plat::DisplayFacts display;
  plat::Machine().Display(display);
  return display.refreshRate > 0 ? static_cast<uint32_t>(display.refreshRate) : 0;
}

int cDrawingFacts::DDIVersion() { return kStandInDDIVersion; }

int cDrawingFacts::TextureMemoryMB() { return kStandInVideoMB; }

void cDrawingFacts::TextureMaxSize(int& width, int& height) {
  width = 4096;
  height = 4096;
}

void cDrawingFacts::TextureMaxBlend(int& stages, int& textures) {
  stages = 8;
  textures = 8;
}

cDrawingFacts& DrawingFacts() {
  cDrawingFacts* facts = g_facts.load();
  return facts ? *facts : g_standIn;
}

void SetDrawingFacts(cDrawingFacts* facts) { g_facts.store(facts); }
