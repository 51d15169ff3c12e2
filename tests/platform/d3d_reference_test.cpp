// The 3D device's drawing against a plain per-pixel rasteriser kept here:
// seeded random quads (upright sprites texel for texel, some with texel
// edges at or near the pixel centres, stretched, rotated,
// shaded per vertex, reaching past every edge) under random stage
// operations, blending, culling and texture and target formats, drawn by
// the device with its fast paths and by the reference, compared byte for
// byte after every quad.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/d3d_device.h"
#include "platform/presenter.h"
#include "platform/tl_vertex.h"

namespace {

using plat::D3DFormat;
using plat::D3DPool;
using plat::D3DSurface;
using plat::D3DTexture;

// --- the reference: one pixel at a time, straight from the rules ---

struct Image {
  D3DFormat format = D3DFormat::Unknown;
  int width = 0, height = 0, bpp = 0;
  std::vector<uint8_t> bytes;  // rows without padding

  Image() = default;
  Image(D3DFormat f, int w, int h)
      : format(f), width(w), height(h), bpp(plat::D3DBytesPerPixel(f)),
        bytes(static_cast<size_t>(w * h * plat::D3DBytesPerPixel(f))) {}
  uint8_t* At(int x, int y) { return bytes.data() + (static_cast<size_t>(y) * width + x) * bpp; }
  const uint8_t* At(int x, int y) const { return bytes.data() + (static_cast<size_t>(y) * width + x) * bpp; }
};

uint32_t Wide5(uint32_t v) { return v << 3 | v >> 2; }
uint32_t Wide6(uint32_t v) { return v << 2 | v >> 4; }

uint32_t Read(const Image& im, int x, int y) {
  const uint8_t* p = im.At(x, y);
  uint32_t raw = 0;
  std::memcpy(&raw, p, static_cast<size_t>(im.bpp));
  switch (im.format) {
    case D3DFormat::A8R8G8B8: return raw;
    case D3DFormat::X8R8G8B8: return raw | 0xFF000000u;
    case D3DFormat::R5G6B5:
      return 0xFF000000u | Wide5(raw >> 11 & 31) << 16 | Wide6(raw >> 5 & 63) << 8 | Wide5(raw & 31);
    case D3DFormat::A1R5G5B5:
      return (raw & 0x8000 ? 0xFF000000u : 0u) | Wide5(raw >> 10 & 31) << 16 | Wide5(raw >> 5 & 31) << 8 |
             Wide5(raw & 31);
    default: return 0;
  }
}

void Write(Image& im, int x, int y, uint32_t c) {
  const uint32_t a = c >> 24, r = c >> 16 & 255, g = c >> 8 & 255, b = c & 255;
  uint32_t raw = 0;
  switch (im.format) {
    case D3DFormat::A8R8G8B8: raw = c; break;
    case D3DFormat::X8R8G8B8: raw = c | 0xFF000000u; break;
    case D3DFormat::R5G6B5: raw = (r >> 3) << 11 | (g >> 2) << 5 | b >> 3; break;
    case D3DFormat::A1R5G5B5: raw = (a >= 128 ? 0x8000u : 0u) | (r >> 3) << 10 | (g >> 3) << 5 | b >> 3; break;
    default: break;
  }
  std::memcpy(im.At(x, y), &raw, static_cast<size_t>(im.bpp));
}

struct State {
  uint32_t colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2;
  uint32_t factor;
  bool blend;
  uint32_t cull;
};

uint32_t Channel(uint32_t c, int k) { return c >> (8 * k) & 255; }

uint32_t Operate(uint32_t op, uint32_t a1, uint32_t a2, uint32_t fa) {
  if (op == plat::D3DTOP_SELECTARG1) return a1;
  if (op == plat::D3DTOP_SELECTARG2) return a2;
  if (op == plat::D3DTOP_ADD) return std::min(a1 + a2, 255u);
  if (op == plat::D3DTOP_SUBTRACT) return a1 > a2 ? a1 - a2 : 0;
  if (op == plat::D3DTOP_BLENDFACTORALPHA) return (a1 * fa + a2 * (255 - fa) + 127) / 255;
  return (a1 * a2 + 127) / 255;
}

uint32_t Argument(uint32_t arg, uint32_t texel, uint32_t diffuse, uint32_t factor) {
  if ((arg & 0xF) == plat::D3DTA_TEXTURE) return texel;
  if ((arg & 0xF) == plat::D3DTA_TFACTOR) return factor;
  return diffuse;
}

uint32_t StageZero(const State& s, uint32_t texel, uint32_t diffuse) {
  const uint32_t fa = s.factor >> 24;
  uint32_t out = 0;
  for (int k = 0; k < 3; ++k) {
    const uint32_t v = s.colorOp == plat::D3DTOP_DISABLE
                           ? Channel(diffuse, k)
                           : Operate(s.colorOp, Channel(Argument(s.colorArg1, texel, diffuse, s.factor), k),
                                     Channel(Argument(s.colorArg2, texel, diffuse, s.factor), k), fa);
    out |= v << (8 * k);
  }
  const uint32_t a = s.alphaOp == plat::D3DTOP_DISABLE
                         ? diffuse >> 24
                         : Operate(s.alphaOp, Argument(s.alphaArg1, texel, diffuse, s.factor) >> 24,
                                   Argument(s.alphaArg2, texel, diffuse, s.factor) >> 24, fa);
  return out | a << 24;
}

bool UsesTexture(const State& s) {
  auto tex = [](uint32_t a) { return (a & 0xF) == plat::D3DTA_TEXTURE; };
  return (s.colorOp != plat::D3DTOP_DISABLE && (tex(s.colorArg1) || tex(s.colorArg2))) ||
         (s.alphaOp != plat::D3DTOP_DISABLE && (tex(s.alphaArg1) || tex(s.alphaArg2)));
}

struct Snapped {
  int64_t x, y;
  double fx, fy, u, v;
  uint32_t c;
  bool ok;
};

Snapped Snap(const Vertex& in) {
  Snapped s{};
  if (!std::isfinite(in.x) || !std::isfinite(in.y) || !std::isfinite(in.u) || !std::isfinite(in.v)) return s;
  s.x = std::llround(std::clamp(static_cast<double>(in.x), -2097152.0, 2097152.0) * 256.0);
  s.y = std::llround(std::clamp(static_cast<double>(in.y), -2097152.0, 2097152.0) * 256.0);
  s.fx = static_cast<double>(s.x) / 256.0;
  s.fy = static_cast<double>(s.y) / 256.0;
  s.u = in.u;
  s.v = in.v;
  s.c = in.diffuse;
  s.ok = true;
  return s;
}

int Wrap(double t, int size) {
  const double f = std::floor(t * size);
  if (!(f > -9.0e15 && f < 9.0e15)) return 0;
  int64_t i = static_cast<int64_t>(f) % size;
  return static_cast<int>(i < 0 ? i + size : i);
}

// One triangle; its attributes are the planes through o, p, q.
void Triangle(Image& target, const Image* texture, const State& s, const Snapped& a0, const Snapped& b0,
              const Snapped& c0, const Snapped& o, const Snapped& p, const Snapped& q, bool odd) {
  const Snapped* a = &a0;
  const Snapped* b = &b0;
  const Snapped* c = &c0;
  const int64_t area = (b->x - a->x) * (c->y - a->y) - (b->y - a->y) * (c->x - a->x);
  if (area == 0) return;
  const int64_t winding = odd ? -area : area;
  if ((s.cull == plat::D3DCULL_CW && winding > 0) || (s.cull == plat::D3DCULL_CCW && winding < 0)) return;
  if (area < 0) std::swap(b, c);
  const Snapped* ring[4] = {a, b, c, a};

  const double e1x = p.fx - o.fx, e1y = p.fy - o.fy, e2x = q.fx - o.fx, e2y = q.fy - o.fy;
  const double det = e1x * e2y - e2x * e1y;
  auto at = [&](double ao, double ap, double aq, double px, double py) {
    const double e1a = ap - ao, e2a = aq - ao;
    const double dx = (e1a * e2y - e2a * e1y) / det, dy = (e2a * e1x - e1a * e2x) / det;
    return ao + dx * (px - o.fx) + dy * (py - o.fy);
  };
  const bool flat = o.c == p.c && o.c == q.c;

  for (int py = 0; py < target.height; ++py)
    for (int px = 0; px < target.width; ++px) {
      bool inside = true;
      for (int k = 0; k < 3; ++k) {
        const Snapped& e0 = *ring[k];
        const Snapped& e1 = *ring[k + 1];
        const int64_t dx = e1.x - e0.x, dy = e1.y - e0.y;
        const int64_t e = dx * (int64_t{py} * 256 - e0.y) - dy * (int64_t{px} * 256 - e0.x);
        const bool topLeft = dy < 0 || (dy == 0 && dx > 0);
        inside = inside && (e > 0 || (e == 0 && topLeft));
      }
      if (!inside) continue;
      const double fx = px, fy = py;
      uint32_t diffuse = o.c;
      if (!flat) {
        diffuse = 0;
        for (int k = 0; k < 4; ++k) {
          const double v =
              std::floor(at(Channel(o.c, k), Channel(p.c, k), Channel(q.c, k), fx, fy) + 0.5);
          diffuse |= (!(v > 0.0) ? 0u : v >= 255.0 ? 255u : static_cast<uint32_t>(v)) << (8 * k);
        }
      }
      uint32_t texel = 0xFF000000u;
      if (texture && UsesTexture(s))
        texel = Read(*texture, Wrap(at(o.u, p.u, q.u, fx, fy), texture->width),
                     Wrap(at(o.v, p.v, q.v, fx, fy), texture->height));
      uint32_t out = StageZero(s, texel, diffuse);
      if (s.blend) {
        const uint32_t al = out >> 24;
        if (al == 0) continue;
        const uint32_t d = Read(target, px, py);
        uint32_t mixed = 0;
        for (int k = 0; k < 4; ++k)
          mixed |= ((Channel(out, k) * al + Channel(d, k) * (255 - al) + 127) / 255) << (8 * k);
        out = mixed;
      }
      Write(target, px, py, out);
    }
}

void ReferenceStrip(Image& target, const Image* texture, const State& s, const Vertex* v, int primitives) {
  std::vector<Snapped> sv;
  for (int i = 0; i < primitives + 2; ++i) sv.push_back(Snap(v[i]));
  for (int i = 0; i < primitives; ++i) {
    const Snapped &a = sv[i], &b = sv[i + 1], &c = sv[i + 2];
    if (!a.ok || !b.ok || !c.ok) continue;
    // Planes at vertex i | 1 with the other two in the triangle's order.
    if (i % 2 == 0)
      Triangle(target, texture, s, a, b, c, b, a, c, false);
    else
      Triangle(target, texture, s, a, b, c, a, b, c, true);
  }
}

// --- the device ---

class DeviceAgainstReference : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::ResetD3DHooks();
    plat::ResetPresenter();
    m_object = plat::D3DObject::Create();
    ASSERT_TRUE(m_object);
    plat::D3DPresentParams p;
    p.backBufferWidth = 16;
    p.backBufferHeight = 16;
    p.backBufferFormat = D3DFormat::X8R8G8B8;
    p.windowed = true;
    p.presentationInterval = plat::D3DPRESENT_INTERVAL_IMMEDIATE;
    ASSERT_EQ(m_object->CreateDevice(plat::WindowHandle{}, plat::D3DCREATE_HARDWARE_VERTEXPROCESSING, p, m_device),
              plat::D3D_OK);
    ASSERT_EQ(m_device->CreateVertexBuffer(4 * sizeof(Vertex), 0, plat::kD3DVertexFvf, D3DPool::Managed, m_vb),
              plat::D3D_OK);
  }
  void TearDown() override {
    m_vb.reset();
    m_device.reset();
    m_object.reset();
    plat::ResetD3DHooks();
  }

  static void Upload(D3DSurface& s, const Image& im) {
    plat::D3DLockedRect r;
    ASSERT_EQ(s.LockRect(r), plat::D3D_OK);
    for (int y = 0; y < im.height; ++y)
      std::memcpy(r.bits + y * r.pitch, im.At(0, y), static_cast<size_t>(im.width * im.bpp));
    s.UnlockRect();
  }
  static Image Download(D3DSurface& s) {
    const plat::D3DSurfaceDesc d = s.GetDesc();
    Image im(d.format, s.Width(), s.Height());
    plat::D3DLockedRect r;
    EXPECT_EQ(s.LockRect(r), plat::D3D_OK);
    if (!r.bits) return im;
    for (int y = 0; y < im.height; ++y)
      std::memcpy(im.At(0, y), r.bits + y * r.pitch, static_cast<size_t>(im.width * im.bpp));
    s.UnlockRect();
    return im;
  }

  void Apply(const State& s) {
    m_device->SetTextureStageState(0, plat::D3DTSS_COLOROP, s.colorOp);
    m_device->SetTextureStageState(0, plat::D3DTSS_COLORARG1, s.colorArg1);
    m_device->SetTextureStageState(0, plat::D3DTSS_COLORARG2, s.colorArg2);
    m_device->SetTextureStageState(0, plat::D3DTSS_ALPHAOP, s.alphaOp);
    m_device->SetTextureStageState(0, plat::D3DTSS_ALPHAARG1, s.alphaArg1);
    m_device->SetTextureStageState(0, plat::D3DTSS_ALPHAARG2, s.alphaArg2);
    m_device->SetRenderState(plat::D3DRS_TEXTUREFACTOR, s.factor);
    m_device->SetRenderState(plat::D3DRS_ALPHABLENDENABLE, s.blend ? 1 : 0);
    m_device->SetRenderState(plat::D3DRS_SRCBLEND, plat::D3DBLEND_SRCALPHA);
    m_device->SetRenderState(plat::D3DRS_DESTBLEND, plat::D3DBLEND_INVSRCALPHA);
    m_device->SetRenderState(plat::D3DRS_CULLMODE, s.cull);
  }

  void Strip(const Vertex* v) {
    void* p = nullptr;
    ASSERT_EQ(m_vb->Lock(0, 0, &p), plat::D3D_OK);
    std::memcpy(p, v, 4 * sizeof(Vertex));
    m_vb->Unlock();
    m_device->SetStreamSource(0, m_vb, 0, sizeof(Vertex));
    m_device->SetFVF(plat::kD3DVertexFvf);
    ASSERT_EQ(m_device->DrawPrimitive(plat::D3DPT_TRIANGLESTRIP, 0, 2), plat::D3D_OK);
  }

  std::unique_ptr<plat::D3DObject> m_object;
  std::unique_ptr<plat::D3DDevice> m_device;
  std::shared_ptr<plat::D3DVertexBuffer> m_vb;
};

std::string Describe(const State& s, const Vertex* v, D3DFormat tex, D3DFormat target) {
  std::ostringstream o;
  o << "texture " << static_cast<int>(tex) << " target " << static_cast<int>(target) << " ops " << s.colorOp << "("
    << s.colorArg1 << "," << s.colorArg2 << ") " << s.alphaOp << "(" << s.alphaArg1 << "," << s.alphaArg2
    << ") factor " << std::hex << s.factor << std::dec << " blend " << s.blend << " cull " << s.cull << "\n";
  for (int i = 0; i < 4; ++i)
    o << "  (" << v[i].x << ", " << v[i].y << ") " << std::hex << v[i].diffuse << std::dec << " uv " << v[i].u << ", "
      << v[i].v << "\n";
  return o.str();
}

}  // namespace

TEST_F(DeviceAgainstReference, RandomQuadsMatchThePlainRasteriserByteForByte) {
  constexpr int kW = 61, kH = 47;
  const D3DFormat formats[] = {D3DFormat::A8R8G8B8, D3DFormat::X8R8G8B8, D3DFormat::R5G6B5, D3DFormat::A1R5G5B5};
  const uint32_t ops[] = {plat::D3DTOP_SELECTARG1, plat::D3DTOP_SELECTARG2, plat::D3DTOP_MODULATE, plat::D3DTOP_ADD,
                          plat::D3DTOP_SUBTRACT, plat::D3DTOP_BLENDFACTORALPHA, plat::D3DTOP_DISABLE};
  const uint32_t args[] = {plat::D3DTA_TEXTURE, plat::D3DTA_DIFFUSE, plat::D3DTA_CURRENT, plat::D3DTA_TFACTOR};
  const uint32_t culls[] = {plat::D3DCULL_NONE, plat::D3DCULL_NONE, plat::D3DCULL_CW, plat::D3DCULL_CCW};
  std::mt19937 rnd(20261211);
  // Drawn apart, so that the quads of `rnd` stay what they were.
  std::mt19937 nudgeRnd(46);
  const double nudges[] = {-0.5, 0.5, -0.4999, 0.4999, -0.3, 1e-7};
  auto pick = [&](int n) { return static_cast<int>(rnd() % static_cast<uint32_t>(n)); };
  auto real = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rnd); };
  auto texel = [&]() -> uint32_t {
    const uint32_t c = rnd() & 0xFFFFFF;
    const int k = pick(4);
    return c | (k == 0 ? 0u : k == 1 ? 0xFF000000u : (rnd() & 0xFFu) << 24);
  };

  int quads = 0, failures = 0;
  for (int round = 0; round < 48 && failures == 0; ++round) {
    const D3DFormat targetFormat = formats[round % 4];
    const D3DFormat texFormat = formats[(round / 4) % 4];
    // A third of the rounds as on a processor without the wider vectors.
    plat::SetD3DWideVectors(round / 16 != 1);
    std::shared_ptr<D3DTexture> targetTex;
    ASSERT_EQ(m_device->CreateTexture(kW, kH, 1, plat::D3DUSAGE_RENDERTARGET, targetFormat, D3DPool::Default,
                                      targetTex),
              plat::D3D_OK);
    std::shared_ptr<D3DSurface> target;
    targetTex->GetSurfaceLevel(0, target);
    ASSERT_EQ(m_device->SetRenderTarget(0, target), plat::D3D_OK);
    Image ref(targetFormat, kW, kH);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) Write(ref, x, y, texel());
    Upload(*target, ref);

    const int tw = 1 + pick(40), th = 1 + pick(40);
    Image texImage(texFormat, tw, th);
    for (int y = 0; y < th; ++y)
      for (int x = 0; x < tw; ++x) Write(texImage, x, y, texel());
    std::shared_ptr<D3DTexture> tex;
    ASSERT_EQ(m_device->CreateTexture(tw, th, 1, 0, texFormat, D3DPool::Managed, tex), plat::D3D_OK);
    std::shared_ptr<D3DSurface> texSurface;
    tex->GetSurfaceLevel(0, texSurface);
    Upload(*texSurface, texImage);
    const bool bound = pick(8) != 0;
    m_device->SetTexture(0, bound ? tex : nullptr);

    for (int i = 0; i < 100 && failures == 0; ++i, ++quads) {
      State s{};
      // Mostly the layer's own draws: the texture tinted by the diffuse
      // colour with the texture's alpha, blended or not; the copy drawn
      // back with the alpha operation off; a colour laid over the target.
      const int mix = pick(9);
      if (mix < 3) {
        s = {plat::D3DTOP_MODULATE, plat::D3DTA_TEXTURE, plat::D3DTA_DIFFUSE, plat::D3DTOP_SELECTARG1,
             plat::D3DTA_TEXTURE, plat::D3DTA_DIFFUSE, 0xFFFFFFFF, pick(4) != 0, plat::D3DCULL_NONE};
      } else if (mix == 3) {
        const bool select = pick(2) == 0;
        s = {select ? plat::D3DTOP_SELECTARG1 : plat::D3DTOP_MODULATE, plat::D3DTA_TEXTURE, plat::D3DTA_DIFFUSE,
             plat::D3DTOP_DISABLE, plat::D3DTA_TEXTURE, plat::D3DTA_DIFFUSE, 0xFFFFFFFF, pick(2) == 0,
             plat::D3DCULL_NONE};
      } else if (mix == 4) {
        s = {plat::D3DTOP_SELECTARG2, plat::D3DTA_TEXTURE, plat::D3DTA_DIFFUSE, plat::D3DTOP_DISABLE,
             plat::D3DTA_TEXTURE, plat::D3DTA_DIFFUSE, 0xFFFFFFFF, pick(4) != 0, plat::D3DCULL_NONE};
      } else {
        s = {ops[pick(7)], args[pick(4)], args[pick(4)], ops[pick(7)], args[pick(4)], args[pick(4)], texel(),
             pick(2) == 0, culls[pick(4)]};
      }
      const uint32_t white = pick(2) == 0 ? 0xFFFFFFFFu : texel();
      Vertex v[4];
      const int kind = pick(4);
      if (kind == 0) {
        // A sprite texel for texel: whole pixels, a source rectangle of the
        // texture, anywhere across the edges.
        const int sx = pick(tw), sy = pick(th), w = 1 + pick(tw - sx), h = 1 + pick(th - sy);
        const float l = static_cast<float>(pick(kW + 40) - 20), t = static_cast<float>(pick(kH + 40) - 20);
        // Shifted by part of a texel, the pixel centres fall on texel
        // edges or next to them, where rounding picks the texel.
        const bool nudged = nudgeRnd() % 3 == 0;
        const double du = nudged ? nudges[nudgeRnd() % 6] : 0, dv = nudged ? nudges[nudgeRnd() % 6] : 0;
        auto at = [](int texel, double nudge, int size) {
          return nudge == 0 ? static_cast<float>(texel) / size : static_cast<float>((texel + nudge) / size);
        };
        const float u0 = at(sx, du, tw), v0 = at(sy, dv, th);
        const float u1 = at(sx + w, du, tw), v1 = at(sy + h, dv, th);
        v[0] = {l - 0.5f, t - 0.5f, 0, 1, white, u0, v0};
        v[1] = {l - 0.5f, t + h - 0.5f, 0, 1, white, u0, v1};
        v[2] = {l + w - 0.5f, t - 0.5f, 0, 1, white, u1, v0};
        v[3] = {l + w - 0.5f, t + h - 0.5f, 0, 1, white, u1, v1};
      } else if (kind == 1) {
        // Upright, stretched or shrunk, mirrored, at fractions of a pixel.
        const float l = static_cast<float>(std::round(real(-25, kW + 5) * 16) / 16);
        const float t = static_cast<float>(std::round(real(-25, kH + 5) * 16) / 16);
        const float w = static_cast<float>(real(0.2, 50)), h = static_cast<float>(real(0.2, 50));
        const float u0 = static_cast<float>(real(-1.5, 2.5)), u1 = static_cast<float>(real(-1.5, 2.5));
        const float v0 = static_cast<float>(real(-1.5, 2.5)), v1 = static_cast<float>(real(-1.5, 2.5));
        v[0] = {l, t, 0, 1, white, u0, v0};
        v[1] = {l, t + h, 0, 1, white, u0, v1};
        v[2] = {l + w, t, 0, 1, white, u1, v0};
        v[3] = {l + w, t + h, 0, 1, white, u1, v1};
      } else {
        // Rotated and scaled about a centre, perhaps shaded per vertex.
        const double cx = real(-10, kW + 10), cy = real(-10, kH + 10);
        const double hw = real(0.5, 40), hh = real(0.5, 40), angle = real(0, 6.2832);
        const double ca = std::cos(angle), sa = std::sin(angle);
        const double corner[4][2] = {{-hw, -hh}, {-hw, hh}, {hw, -hh}, {hw, hh}};
        const double uv[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
        const double su = real(0.2, 3), sv = real(0.2, 3), ou = real(-1, 1), ov = real(-1, 1);
        const bool shaded = kind == 3;
        for (int k = 0; k < 4; ++k) {
          v[k].x = static_cast<float>(cx + corner[k][0] * ca - corner[k][1] * sa);
          v[k].y = static_cast<float>(cy + corner[k][0] * sa + corner[k][1] * ca);
          v[k].z = 0;
          v[k].rhw = 1;
          v[k].diffuse = shaded ? texel() : white;
          v[k].u = static_cast<float>(ou + uv[k][0] * su);
          v[k].v = static_cast<float>(ov + uv[k][1] * sv);
        }
      }
      Apply(s);
      Strip(v);
      ReferenceStrip(ref, bound ? &texImage : nullptr, s, v, 2);
      const Image got = Download(*target);
      if (got.bytes != ref.bytes) {
        ++failures;
        int first = 0;
        while (got.bytes[static_cast<size_t>(first)] == ref.bytes[static_cast<size_t>(first)]) ++first;
        const int px = first / ref.bpp;
        ADD_FAILURE() << "quad " << quads << " differs first at (" << px % kW << ", " << px / kW << ")\n"
                      << Describe(s, v, texFormat, targetFormat) << "texture " << tw << "x" << th
                      << (bound ? "" : " unbound");
        // The next quad starts from the reference's pixels.
        Upload(*target, ref);
      }
    }
  }
  EXPECT_GE(quads, 4000);
  // Both the upright-quad path and the triangle path were exercised.
  const plat::D3DDrawCounts counts = m_device->DrawCounts();
  EXPECT_GT(counts.fastQuads, 1000u);
  EXPECT_GT(counts.copiedQuads, 50u);
  EXPECT_GT(counts.triangles, 2000u);
}
