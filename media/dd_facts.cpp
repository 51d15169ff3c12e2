#include "media/dd_facts.h"

#include "media/dd_layer.h"
#include "media/dd_surface.h"
#include "platform/d3d_device.h"
#include "platform/soft_display.h"

DDDRAWINGFACTS DDGetDrawingFacts() {
  DDDRAWINGFACTS f;
  f.bReady = bDDReady ? 1 : 0;
  f.bDirect3D = lpDTCon ? 1 : 0;
  f.bWindowMode = bWindowMode;
  f.nBpp = nBpp;
  f.bDirectDraw = lpDD ? 1 : 0;
  f.nDDIVersion = plat::GetDDIVersion();
  if (lpDD) {
    uint32_t total = 0, free = 0;
    GetVideoMemory(total, free);
    f.nVideoTotalMB = static_cast<int>(total);
    f.nVideoFreeMB = static_cast<int>(free);
    f.nMonitorFrequency = static_cast<uint32_t>(lpDD->GetMonitorFrequency());
  }
  if (lpDTCon && lpDevice) {
    f.nMonitorFrequency = static_cast<uint32_t>(plat::GetDisplayRefreshRate());
    f.nTextureMemoryMB = static_cast<int>(lpDevice->GetAvailableTextureMem() >> 20);
    f.nMaxTextureWidth = lpDTCon->Caps.MaxTextureWidth;
    f.nMaxTextureHeight = lpDTCon->Caps.MaxTextureHeight;
    f.nMaxTextureBlendStages = lpDTCon->Caps.MaxTextureBlendStages;
    f.nMaxSimultaneousTextures = lpDTCon->Caps.MaxSimultaneousTextures;
  }
  return f;
}

void DDSetPaletteEntry0(uint8_t red, uint8_t green, uint8_t blue, uint8_t flags) {
  if (!lpDD || lpDTCon || !DDPalette) return;
  const plat::PalEntry entry{red, green, blue, flags};
  DDPalette->SetEntries(0, 1, &entry);
}

void DDRestorePaletteEntry0() {
  const PALETTEENTRY& e = CurPalette[0];
  DDSetPaletteEntry0(e.peRed, e.peGreen, e.peBlue, e.peFlags);
}
