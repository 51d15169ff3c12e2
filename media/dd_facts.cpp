#include "media/dd_facts.h"

#include "media/dd_layer.h"
#include "platform/d3d_device.h"
#include "platform/soft_display.h"

DDDRAWINGFACTS DDGetDrawingFacts() {
  DDDRAWINGFACTS f;
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
