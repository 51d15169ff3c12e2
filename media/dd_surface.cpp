#include "media/dd_surface.h"

#include "media/dd_layer.h"

cRestoreList& RestoreList = *new cRestoreList();

PALETTEENTRY CurPalette[256];
PALETTEENTRY BasePalette[256];

// --- the record ---

namespace {

// A listed record that goes away or moves must not leave the list pointing at it.
void Unlist(DDSURFACEDATA* lpSD) {
  if (lpSD->lpDT && RestoreList.Find(lpSD->lpDT->id) == lpSD) RestoreList.Remove(lpSD->lpDT->id);
}

void TakeFields(DDSURFACEDATA& to, DDSURFACEDATA& from) {
  to.lpDT = std::move(from.lpDT);
  to.lpDDS = std::move(from.lpDDS);
  to.szSurfaceType = std::move(from.szSurfaceType);
  to.nWidth = from.nWidth;
  to.nHeight = from.nHeight;
  to.nTexWidth = from.nTexWidth;
  to.nTexHeight = from.nTexHeight;
  to.szFileName = std::move(from.szFileName);
  to.nDDMemType = from.nDDMemType;
  to.nMirrorW = from.nMirrorW;
  to.nMirrorH = from.nMirrorH;
  to.lpAlias = from.lpAlias;
  to.bLost = from.bLost;
  if (to.lpDT && RestoreList.Find(to.lpDT->id) == &from) RestoreList.Rebind(to.lpDT->id, &to);
}

}  // namespace

DDSURFACEDATA::~DDSURFACEDATA() { Unlist(this); }

DDSURFACEDATA::DDSURFACEDATA(DDSURFACEDATA&& other) noexcept { TakeFields(*this, other); }

DDSURFACEDATA& DDSURFACEDATA::operator=(DDSURFACEDATA&& other) noexcept {
  if (this != &other) {
    DDDestroySurface(this);
    TakeFields(*this, other);
  }
  return *this;
}

void DDSURFACEDATA::DDAllocSurfaceRecord() {
  if (bUseD3D) {
    if (!lpDT) lpDT = std::make_unique<DTDATA>();
  } else {
    if (!lpDDS) lpDDS = std::make_unique<DDDATA>();
  }
}

// --- the restore list ---

void cRestoreList::Add(DDSURFACEDATA* lpSD) {
  if (lpSD && lpSD->lpDT) m_byId[lpSD->lpDT->id] = lpSD;
}

void cRestoreList::Remove(int32_t id) { m_byId.erase(id); }

void cRestoreList::Rebind(int32_t id, DDSURFACEDATA* lpSD) {
  auto it = m_byId.find(id);
  if (it != m_byId.end()) it->second = lpSD;
}

DDSURFACEDATA* cRestoreList::Find(int32_t id) const {
  auto it = m_byId.find(id);
  return it == m_byId.end() ? nullptr : it->second;
}

std::vector<DDSURFACEDATA*> cRestoreList::Surfaces() const {
  std::vector<DDSURFACEDATA*> out;
  out.reserve(m_byId.size());
  for (const auto& entry : m_byId) out.push_back(entry.second);
  return out;
}

// --- release ---

void DDDestroySurface(DDSURFACEDATA* lpSD) {
  if (!lpSD) return;
  if (lpSD->lpDT) {
    Unlist(lpSD);
    lpSD->lpDT.reset();
  }
  lpSD->lpDDS.reset();
}

void DDReleaseSurface(DDSURFACEDATA* lpSD) { DDDestroySurface(lpSD); }

void DDReleaseSurfaceVector(cVector<DDSURFACEDATA>& surfaces) {
  for (DDSURFACEDATA& sd : surfaces) DDReleaseSurface(&sd);
}

void DDReleaseSurfaceList(cList<DDSURFACEDATA>& surfaces) {
  for (DDSURFACEDATA& sd : surfaces) DDReleaseSurface(&sd);
}

// --- surfaces in the containers of their owners ---

namespace {

DDSURFACEDEF EmptyDef(int bColorKey, int ddMemType, int dtMemType, DDSURFACEDATA* lpAlias) {
  DDSURFACEDEF def;
  def.bColorKey = bColorKey;
  def.nDDMemType = ddMemType;
  def.nDTMemType = dtMemType;
  def.lpAlias = lpAlias;
  return def;
}

}  // namespace

bool DDAddSurface(cVector<DDSURFACEDATA>& surfaces, cVector<DDSURFACEDEF>& defs, int w, int h, int bColorKey,
                  int ddMemType, int dtMemType, DDSURFACEDATA* lpAlias) {
  surfaces.emplace_back();
  defs.push_back(EmptyDef(bColorKey, ddMemType, dtMemType, lpAlias));
  return DDCreateSurface(&surfaces.back(), w, h, bColorKey, ddMemType, dtMemType, lpAlias, 0);
}

bool DDAddSurfaceList(cList<DDSURFACEDATA>& surfaces, cList<DDSURFACEDEF>& defs, int w, int h, int bColorKey,
                      int ddMemType, int dtMemType, DDSURFACEDATA* lpAlias) {
  surfaces.emplace_back();
  defs.push_back(EmptyDef(bColorKey, ddMemType, dtMemType, lpAlias));
  return DDCreateSurface(&surfaces.back(), w, h, bColorKey, ddMemType, dtMemType, lpAlias, 0);
}

int DDEraseSurface(cList<DDSURFACEDATA>& surfaces, cList<DDSURFACEDEF>& defs, DDSURFACEDATA* lpSD) {
  auto def = defs.begin();
  for (auto it = surfaces.begin(); it != surfaces.end(); ++it) {
    if (&*it == lpSD) {
      DDReleaseSurface(lpSD);
      surfaces.erase(it);
      if (def != defs.end()) defs.erase(def);
      return 1;
    }
    if (def != defs.end()) ++def;
  }
  return 0;
}
