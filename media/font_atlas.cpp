#include "media/font_atlas.h"

#include <algorithm>
#include <cstring>

#include "base/report_log.h"
#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/dt_quad.h"
#include "platform/d3d_device.h"
#include "platform/text.h"

namespace {

constexpr int kAtlasSide = 1024;
constexpr int kPadding = 1;  // between glyphs, so that no quad shows a neighbour

}  // namespace

cTextAtlas::cTextAtlas(std::shared_ptr<plat::text::Face> face) : m_face(std::move(face)) {}

bool cTextAtlas::Create() {
  DDDestroySurface(&m_sd);
  m_slots.clear();
  m_nShelfX = m_nShelfY = m_nShelfH = 0;
  if (!lpDevice || !lpDTCon) return false;
  plat::D3DCaps caps;
  lpD3D->GetDeviceCaps(caps);
  const int side = std::min({kAtlasSide, caps.maxTextureWidth, caps.maxTextureHeight});
  std::shared_ptr<plat::D3DTexture> texture;
  if (const int32_t hr =
          lpDevice->CreateTexture(side, side, 1, 0, plat::D3DFormat::A8R8G8B8, plat::D3DPool::Managed, texture)) {
    ReportPrintfDebug("Font texture Err hr = %x", static_cast<unsigned>(hr));
    return false;
  }
  m_sd.DDAllocSurfaceRecord();
  DTDATA& dt = *m_sd.lpDT;
  if (const int32_t hr = lpDevice->CreateVertexBuffer(4 * sizeof(DTVERTEX), plat::D3DUSAGE_WRITEONLY,
                                                      plat::kD3DVertexFvf, plat::D3DPool::Managed, dt.lpVB)) {
    ReportPrintfDebug("Font CreateVertexBuffer Err hr = %x", static_cast<unsigned>(hr));
    DDDestroySurface(&m_sd);
    return false;
  }
  dt.lpTexture = texture;
  dt.lpSurface = texture->Level0();
  dt.nMemType = DTMEMORYTYPE_VIDEO_RT;
  dt.bRenderTarget = 0;
  dt.bColorKey = 0;
  m_sd.szSurfaceType = "Font::Atlas";
  m_sd.szFileName = "E";
  m_sd.nWidth = m_sd.nTexWidth = texture->Width();
  m_sd.nHeight = m_sd.nTexHeight = texture->Height();
  // A new texture is clear already: its untouched rows cost no memory.
  return true;
}

void cTextAtlas::OnLostDevice() {
  DDDestroySurface(&m_sd);
  m_slots.clear();
}

bool cTextAtlas::OnResetDevice() { return m_sd.lpDT ? true : Create(); }

void cTextAtlas::Clear() {
  // Only the shelves used so far hold glyphs; the rows below them are clear.
  const int used = std::min(m_nShelfY + m_nShelfH, m_sd.nTexHeight);
  m_slots.clear();
  m_nShelfX = m_nShelfY = m_nShelfH = 0;
  if (!m_sd.lpDT || !m_sd.lpDT->lpSurface) return;
  plat::D3DLockedRect lock;
  if (m_sd.lpDT->lpSurface->LockRect(lock) != plat::D3D_OK) return;
  for (int y = 0; y < used; ++y)
    std::memset(lock.bits + static_cast<size_t>(y) * lock.pitch, 0, 4u * m_sd.nTexWidth);
  m_sd.lpDT->lpSurface->UnlockRect();
}

const cTextAtlas::SLOT* cTextAtlas::Find(unsigned code) {
  auto it = m_slots.find(code);
  if (it != m_slots.end()) return &it->second;
  if (!m_sd.lpDT || !m_sd.lpDT->lpSurface || !m_face) return nullptr;
  std::shared_ptr<const plat::text::Glyph> g = m_face->GetGlyph(code, plat::text::GlyphMode::Coverage);
  SLOT slot;
  slot.left = g->left;
  slot.top = g->top;
  slot.w = g->width;
  slot.h = g->height;
  if (slot.w > 0 && slot.h > 0) {
    if (slot.w + kPadding > m_sd.nTexWidth || slot.h + kPadding > m_sd.nTexHeight) return nullptr;
    if (m_nShelfX + slot.w + kPadding > m_sd.nTexWidth) {
      m_nShelfX = 0;
      m_nShelfY += m_nShelfH;
      m_nShelfH = 0;
    }
    if (m_nShelfY + slot.h + kPadding > m_sd.nTexHeight) {
      // Full: the glyphs already queued are drawn before the texture changes.
      if (SpriteBatch.bOpen) {
        const int sort = SpriteBatch.bSort;
        DDFlushBatch();
        DDBeginBatch(sort);
      }
      Clear();
    }
    slot.x = m_nShelfX;
    slot.y = m_nShelfY;
    m_nShelfX += slot.w + kPadding;
    m_nShelfH = std::max(m_nShelfH, slot.h + kPadding);
    plat::D3DLockedRect lock;
    if (m_sd.lpDT->lpSurface->LockRect(lock) != plat::D3D_OK) return nullptr;
    for (int r = 0; r < slot.h; ++r) {
      uint8_t* row = lock.bits + static_cast<size_t>(slot.y + r) * lock.pitch + 4u * slot.x;
      for (int c = 0; c < slot.w; ++c) {
        const uint32_t texel = uint32_t{g->pixels[static_cast<size_t>(r) * slot.w + c]} << 24 | 0xFFFFFFu;
        std::memcpy(row + 4 * c, &texel, 4);
      }
    }
    m_sd.lpDT->lpSurface->UnlockRect();
  }
  return &m_slots.emplace(code, slot).first->second;
}

void cTextAtlas::Draw(DDSURFACEDATA* target, unsigned code, int64_t x, int64_t y, const plat::Rect& clip) {
  const SLOT* s = Find(code);
  if (!s || s->w <= 0 || s->h <= 0) return;
  const int64_t gx = x + s->left, gy = y + s->top;
  const int64_t left = std::max<int64_t>(gx, clip.left), top = std::max<int64_t>(gy, clip.top);
  const int64_t right = std::min<int64_t>(gx + s->w, clip.right), bottom = std::min<int64_t>(gy + s->h, clip.bottom);
  if (right <= left || bottom <= top) return;
  const int w = static_cast<int>(right - left), h = static_cast<int>(bottom - top);
  DDBltStretch(target, static_cast<int>(left), static_cast<int>(top), w, h, &m_sd, s->x + static_cast<int>(left - gx),
               s->y + static_cast<int>(top - gy), w, h, 1);
}

void cTextSprite::Begin(uint32_t argb) {
  if (!lpDTCon) return;
  m_dwSavedColor = lpDTCon->dwDrawColor;
  m_nSavedColorOp = lpDTCon->nColorOp;
  m_nSavedAlphaOp = lpDTCon->nAlphaOp;
  DDSetDrawColor(argb);
  DDSetColorOp(D3DTOP_MODULATE);
  DDSetAlphaOp(D3DTOP_MODULATE);
  m_bOpen = true;
}

void cTextSprite::End() {
  if (!m_bOpen) return;
  DDSetDrawColor(m_dwSavedColor);
  DDSetColorOp(m_nSavedColorOp);
  DDSetAlphaOp(m_nSavedAlphaOp);
  m_bOpen = false;
}
