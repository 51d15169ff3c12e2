// The emulated 3D device: each stage operation, the blend, the formats'
// reads and writes, clears, sampling, the top-left rule, the fast path,
// loss and reset, caps, and textures from images.
#include <gtest/gtest.h>

#include <functional>

#include <cstring>
#include <random>
#include <vector>

#include "platform/clock.h"
#include "platform/d3d_device.h"
#include "platform/presenter.h"
#include "platform/tl_vertex.h"
#include "support/test_support.h"

namespace {

using plat::D3DFormat;
using plat::D3DPool;
using plat::D3DSurface;
using plat::D3DTexture;

struct Stage {
  uint32_t colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2;
};

class Device3D : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::ResetD3DHooks();
    plat::ResetPresenter();
  }
  void TearDown() override {
    m_vb.reset();
    m_device.reset();
    m_object.reset();
    plat::ResetD3DHooks();
  }

  void Make(D3DFormat backBuffer = D3DFormat::X8R8G8B8, int w = 16, int h = 16, bool windowed = true) {
    m_object = plat::D3DObject::Create();
    ASSERT_TRUE(m_object);
    plat::D3DPresentParams p;
    p.backBufferWidth = w;
    p.backBufferHeight = h;
    p.backBufferFormat = backBuffer;
    p.windowed = windowed;
    p.presentationInterval = plat::D3DPRESENT_INTERVAL_IMMEDIATE;
    ASSERT_EQ(m_object->CreateDevice(plat::WindowHandle{}, plat::D3DCREATE_HARDWARE_VERTEXPROCESSING, p, m_device),
              plat::D3D_OK);
    ASSERT_EQ(m_device->CreateVertexBuffer(64 * sizeof(Vertex), 0, plat::kD3DVertexFvf, D3DPool::Managed, m_vb),
              plat::D3D_OK);
    m_device->SetRenderState(plat::D3DRS_CULLMODE, plat::D3DCULL_NONE);
  }

  std::shared_ptr<D3DTexture> Texture(int w, int h, D3DFormat format, const std::vector<uint32_t>& raw,
                                      D3DPool pool = D3DPool::Managed) {
    std::shared_ptr<D3DTexture> t;
    EXPECT_EQ(m_device->CreateTexture(w, h, 1, 0, format, pool, t), plat::D3D_OK);
    if (!t) return t;
    std::shared_ptr<D3DSurface> s;
    t->GetSurfaceLevel(0, s);
    for (size_t i = 0; i < raw.size(); ++i) Put(*s, static_cast<int>(i) % w, static_cast<int>(i) / w, raw[i]);
    return t;
  }

  std::shared_ptr<D3DSurface> Target(int w, int h, D3DFormat format) {
    std::shared_ptr<D3DTexture> t;
    EXPECT_EQ(m_device->CreateTexture(w, h, 1, plat::D3DUSAGE_RENDERTARGET, format, D3DPool::Default, t),
              plat::D3D_OK);
    std::shared_ptr<D3DSurface> s;
    if (t) t->GetSurfaceLevel(0, s);
    m_targets.push_back(t);
    if (s) {
      EXPECT_EQ(m_device->SetRenderTarget(0, s), plat::D3D_OK);
    }
    return s;
  }

  void SetStage(const Stage& s, uint32_t factor = 0xFFFFFFFF, bool blend = false) {
    m_device->SetTextureStageState(0, plat::D3DTSS_COLOROP, s.colorOp);
    m_device->SetTextureStageState(0, plat::D3DTSS_COLORARG1, s.colorArg1);
    m_device->SetTextureStageState(0, plat::D3DTSS_COLORARG2, s.colorArg2);
    m_device->SetTextureStageState(0, plat::D3DTSS_ALPHAOP, s.alphaOp);
    m_device->SetTextureStageState(0, plat::D3DTSS_ALPHAARG1, s.alphaArg1);
    m_device->SetTextureStageState(0, plat::D3DTSS_ALPHAARG2, s.alphaArg2);
    m_device->SetRenderState(plat::D3DRS_TEXTUREFACTOR, factor);
    m_device->SetRenderState(plat::D3DRS_ALPHABLENDENABLE, blend ? 1 : 0);
    m_device->SetRenderState(plat::D3DRS_SRCBLEND, plat::D3DBLEND_SRCALPHA);
    m_device->SetRenderState(plat::D3DRS_DESTBLEND, plat::D3DBLEND_INVSRCALPHA);
  }

  // A quad in strip order from pixel-corner positions (the 0.5 shift is
  // made here) and texture coordinates.
  int32_t Quad(float l, float t, float r, float b, float u0, float v0, float u1, float v1, uint32_t diffuse = 0xFFFFFFFF) {
    const Vertex q[4] = {{l - 0.5f, t - 0.5f, 0, 1, diffuse, u0, v0},
                         {l - 0.5f, b - 0.5f, 0, 1, diffuse, u0, v1},
                         {r - 0.5f, t - 0.5f, 0, 1, diffuse, u1, v0},
                         {r - 0.5f, b - 0.5f, 0, 1, diffuse, u1, v1}};
    return DrawVertices(q, 4, plat::D3DPT_TRIANGLESTRIP, 2);
  }

  int32_t DrawVertices(const Vertex* v, int count, uint32_t type, uint32_t primitives) {
    void* p = nullptr;
    EXPECT_EQ(m_vb->Lock(0, 0, &p), plat::D3D_OK);
    std::memcpy(p, v, sizeof(Vertex) * count);
    m_vb->Unlock();
    m_device->SetStreamSource(0, m_vb, 0, sizeof(Vertex));
    m_device->SetFVF(plat::kD3DVertexFvf);
    return m_device->DrawPrimitive(type, 0, primitives);
  }

  static void Put(D3DSurface& s, int x, int y, uint32_t v) {
    plat::D3DLockedRect r;
    ASSERT_EQ(s.LockRect(r), plat::D3D_OK);
    uint8_t* row = r.bits + y * r.pitch;
    if (plat::D3DBytesPerPixel(s.GetDesc().format) == 2) {
      const uint16_t p = static_cast<uint16_t>(v);
      std::memcpy(row + 2 * x, &p, 2);
    } else {
      std::memcpy(row + 4 * x, &v, 4);
    }
    s.UnlockRect();
  }

  static uint32_t Raw(D3DSurface& s, int x, int y) {
    plat::D3DLockedRect r;
    EXPECT_EQ(s.LockRect(r), plat::D3D_OK);
    if (!r.bits) return 0xDEADBEEF;
    const uint8_t* row = r.bits + y * r.pitch;
    uint32_t v = 0;
    std::memcpy(&v, row + plat::D3DBytesPerPixel(s.GetDesc().format) * x,
                static_cast<size_t>(plat::D3DBytesPerPixel(s.GetDesc().format)));
    s.UnlockRect();
    return v;
  }

  static std::vector<uint32_t> All(D3DSurface& s) {
    std::vector<uint32_t> out;
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x) out.push_back(Raw(s, x, y));
    return out;
  }

  std::unique_ptr<plat::D3DObject> m_object;
  std::unique_ptr<plat::D3DDevice> m_device;
  std::shared_ptr<plat::D3DVertexBuffer> m_vb;
  std::vector<std::shared_ptr<D3DTexture>> m_targets;
};

constexpr uint32_t TEX = plat::D3DTA_TEXTURE, DIF = plat::D3DTA_DIFFUSE, TF = plat::D3DTA_TFACTOR;
constexpr uint32_t SEL1 = plat::D3DTOP_SELECTARG1, SEL2 = plat::D3DTOP_SELECTARG2, MOD = plat::D3DTOP_MODULATE,
                   ADD = plat::D3DTOP_ADD, SUB = plat::D3DTOP_SUBTRACT, BFA = plat::D3DTOP_BLENDFACTORALPHA,
                   OFF = plat::D3DTOP_DISABLE;

}  // namespace

TEST_F(Device3D, EachStageOperationAt32Bits) {
  // Texel 0x80C04020, diffuse 0x40FF8010, factor 0xC0204060; no blending.
  Make();
  auto tex = Texture(1, 1, D3DFormat::A8R8G8B8, {0x80C04020});
  auto target = Target(1, 1, D3DFormat::A8R8G8B8);
  m_device->SetTexture(0, tex);
  struct Case {
    const char* name;
    Stage stage;
    uint32_t out;
  };
  const Case cases[] = {
      {"select texture", {SEL1, TEX, DIF, SEL1, TEX, DIF}, 0x80C04020},
      {"select diffuse", {SEL2, TEX, DIF, SEL2, TEX, DIF}, 0x40FF8010},
      {"select factor", {SEL2, TEX, TF, SEL2, TEX, TF}, 0xC0204060},
      {"modulate", {MOD, TEX, DIF, MOD, TEX, DIF}, 0x20C02002},
      {"modulate by factor", {MOD, TEX, TF, SEL1, TEX, DIF}, 0x8018100C},
      {"add saturates", {ADD, TEX, DIF, ADD, TEX, DIF}, 0xC0FFC030},
      {"subtract stops at 0", {SUB, TEX, DIF, SUB, TEX, DIF}, 0x40000010},
      {"subtract the other way", {SUB, DIF, TEX, SUB, DIF, TEX}, 0x003F4000},
      {"blend by the factor's alpha", {BFA, TEX, DIF, BFA, TEX, DIF}, 0x70D0501C},
      {"both disabled: the diffuse", {OFF, TEX, TEX, OFF, TEX, TEX}, 0x40FF8010},
      {"colour disabled: diffuse colour", {OFF, TEX, TEX, SEL1, TEX, DIF}, 0x80FF8010},
      {"alpha disabled: diffuse alpha", {SEL1, TEX, DIF, OFF, TEX, TEX}, 0x40C04020},
      {"an unknown operation modulates", {5, TEX, DIF, SEL1, TEX, DIF}, 0x80C02002},
  };
  for (const Case& c : cases) {
    SetStage(c.stage, 0xC0204060);
    ASSERT_EQ(Quad(0, 0, 1, 1, 0, 0, 1, 1, 0x40FF8010), plat::D3D_OK);
    EXPECT_EQ(Raw(*target, 0, 0), c.out) << c.name;
  }
}

TEST_F(Device3D, StageOperationsAt16BitsWidenAndNarrowTheChannels) {
  // Texel 0xE104 (alpha 1; 24, 8, 4 widen to 198, 66, 33), diffuse 0x40FF8010.
  Make(D3DFormat::R5G6B5);
  auto tex = Texture(1, 1, D3DFormat::A1R5G5B5, {0xE104});
  m_device->SetTexture(0, tex);
  struct Case {
    const char* name;
    D3DFormat target;
    Stage stage;
    uint32_t out;
  };
  const Case cases[] = {
      {"texel kept", D3DFormat::A1R5G5B5, {SEL1, TEX, DIF, SEL1, TEX, DIF}, 0xE104},
      {"modulate; alpha 64 stores as 0", D3DFormat::A1R5G5B5, {MOD, TEX, DIF, MOD, TEX, DIF}, 0x6080},
      {"add saturates", D3DFormat::A1R5G5B5, {ADD, TEX, DIF, ADD, TEX, DIF}, 0xFF06},
      {"green keeps six bits", D3DFormat::R5G6B5, {SEL1, TEX, DIF, SEL1, TEX, DIF}, 0xC204},
      {"diffuse into 565", D3DFormat::R5G6B5, {SEL2, TEX, DIF, SEL2, TEX, DIF}, 0xFC02},
  };
  for (const Case& c : cases) {
    auto target = Target(1, 1, c.target);
    SetStage(c.stage);
    ASSERT_EQ(Quad(0, 0, 1, 1, 0, 0, 1, 1, 0x40FF8010), plat::D3D_OK);
    EXPECT_EQ(Raw(*target, 0, 0), c.out) << c.name;
  }
}

TEST_F(Device3D, BlendMixesAllFourChannelsBySourceAlpha) {
  // The target holds 0xFF204080; the source is (200, 100, 50) at alpha a.
  Make();
  struct Case {
    uint32_t alpha;
    D3DFormat target;
    uint32_t before, after;
  };
  const Case cases[] = {
      {0, D3DFormat::A8R8G8B8, 0xFF204080, 0xFF204080},   {255, D3DFormat::A8R8G8B8, 0xFF204080, 0xFFC86432},
      {128, D3DFormat::A8R8G8B8, 0xFF204080, 0xBF745259}, {1, D3DFormat::A8R8G8B8, 0xFF204080, 0xFE214080},
      {128, D3DFormat::X8R8G8B8, 0xFF204080, 0xFF745259}, {128, D3DFormat::R5G6B5, 0x0000, 0x6183},
  };
  for (const Case& c : cases) {
    auto target = Target(1, 1, c.target);
    Put(*target, 0, 0, c.before);
    SetStage({SEL2, TEX, DIF, SEL2, TEX, DIF}, 0xFFFFFFFF, true);
    Quad(0, 0, 1, 1, 0, 0, 1, 1, c.alpha << 24 | 0xC86432);
    EXPECT_EQ(Raw(*target, 0, 0), c.after) << c.alpha;
  }
}

TEST_F(Device3D, FormatsWriteAndReadTheirChannels) {
  Make();
  struct Write {
    D3DFormat format;
    uint32_t colour, raw;
  };
  const Write writes[] = {
      {D3DFormat::A8R8G8B8, 0x80C04020, 0x80C04020}, {D3DFormat::X8R8G8B8, 0x00C04020, 0xFFC04020},
      {D3DFormat::R5G6B5, 0x80C04020, 0xC204},       {D3DFormat::A1R5G5B5, 0x80C04020, 0xE104},
      {D3DFormat::A1R5G5B5, 0x7FFFFFFF, 0x7FFF},
  };
  for (const Write& w : writes) {
    auto target = Target(2, 1, w.format);
    ASSERT_EQ(m_device->Clear(nullptr, w.colour), plat::D3D_OK);
    EXPECT_EQ(Raw(*target, 1, 0), w.raw) << static_cast<int>(w.format);
  }
  struct Read {
    D3DFormat format;
    uint32_t raw, argb;
  };
  const Read reads[] = {
      {D3DFormat::R5G6B5, 0xC204, 0xFFC64121},
      {D3DFormat::A1R5G5B5, 0x6104, 0x00C64221},
      {D3DFormat::X8R8G8B8, 0x00123456, 0xFF123456},
  };
  auto target = Target(1, 1, D3DFormat::A8R8G8B8);
  SetStage({SEL1, TEX, DIF, SEL1, TEX, DIF});
  for (const Read& r : reads) {
    m_device->SetTexture(0, Texture(1, 1, r.format, {r.raw}));
    Quad(0, 0, 1, 1, 0, 0, 1, 1);
    EXPECT_EQ(Raw(*target, 0, 0), r.argb) << static_cast<int>(r.format);
  }
}

TEST_F(Device3D, ClearsAreCutToTheRenderTarget) {
  Make();
  auto target = Target(4, 2, D3DFormat::A8R8G8B8);
  m_device->Clear(nullptr, 0x11111111);
  const plat::Rect r{-5, 1, 2, 9};
  m_device->Clear(&r, 0x22222222);
  EXPECT_EQ(All(*target), (std::vector<uint32_t>{0x11111111, 0x11111111, 0x11111111, 0x11111111, 0x22222222,
                                                 0x22222222, 0x11111111, 0x11111111}));
}

// A clear to zeros passes over rows that hold zeros already: a pixel drawn
// anywhere in a row, first, last or past the row's whole words, is cleared.
TEST_F(Device3D, AClearToZerosReachesEveryDrawnPixel) {
  Make();
  struct Case {
    D3DFormat format;
    int x, y;
  };
  const Case cases[] = {
      {D3DFormat::A8R8G8B8, 0, 0}, {D3DFormat::A8R8G8B8, 4, 1}, {D3DFormat::A8R8G8B8, 2, 2},
      {D3DFormat::R5G6B5, 4, 0},   {D3DFormat::R5G6B5, 3, 2},   {D3DFormat::A1R5G5B5, 0, 1},
  };
  for (const Case& c : cases) {
    auto target = Target(5, 3, c.format);
    Put(*target, c.x, c.y, 0x8001);
    ASSERT_EQ(m_device->Clear(nullptr, 0), plat::D3D_OK);
    EXPECT_EQ(All(*target), std::vector<uint32_t>(15, 0)) << static_cast<int>(c.format) << " " << c.x << "," << c.y;
  }
  // A new surface is known to hold zeros until written; every way of
  // writing it ends that, so the clear still reaches what was written.
  struct Writer {
    const char* what;
    std::function<void(D3DSurface&)> write;
  };
  const Writer writers[] = {
      {"a lock", [&](D3DSurface& t) { Put(t, 2, 1, 0x8001); }},
      {"a drawn quad",
       [&](D3DSurface&) {
         m_device->SetTexture(0, nullptr);
         SetStage({SEL1, DIF, DIF, SEL1, DIF, DIF});
         ASSERT_EQ(Quad(1, 1, 3, 2, 0, 0, 1, 1, 0xFF123456), plat::D3D_OK);
       }},
      {"a whole upload",
       [&](D3DSurface& t) {
         std::shared_ptr<D3DSurface> sys;
         m_device->CreateOffscreenPlainSurface(5, 3, D3DFormat::A8R8G8B8, D3DPool::SystemMem, sys);
         Put(*sys, 4, 2, 0x8001);
         ASSERT_EQ(m_device->UpdateSurface(*sys, t), plat::D3D_OK);
       }},
      {"an upload of a rectangle",
       [&](D3DSurface& t) {
         std::shared_ptr<D3DSurface> sys;
         m_device->CreateOffscreenPlainSurface(5, 3, D3DFormat::A8R8G8B8, D3DPool::SystemMem, sys);
         Put(*sys, 1, 0, 0x8001);
         const plat::Rect r{0, 0, 2, 1};
         ASSERT_EQ(m_device->UpdateSurface(*sys, t, &r), plat::D3D_OK);
       }},
  };
  for (const Writer& w : writers) {
    auto target = Target(5, 3, D3DFormat::A8R8G8B8);
    w.write(*target);
    ASSERT_NE(All(*target), std::vector<uint32_t>(15, 0)) << w.what;
    target = Target(5, 3, D3DFormat::A8R8G8B8);  // the check above locked it: start again
    w.write(*target);
    ASSERT_EQ(m_device->Clear(nullptr, 0), plat::D3D_OK);
    EXPECT_EQ(All(*target), std::vector<uint32_t>(15, 0)) << w.what;
  }
  // Cut to a rectangle, the zeros reach only inside it.
  auto target = Target(5, 3, D3DFormat::A8R8G8B8);
  m_device->Clear(nullptr, 0x11111111);
  const plat::Rect r{1, 1, 4, 2};
  m_device->Clear(&r, 0);
  std::vector<uint32_t> expected(15, 0x11111111);
  for (int x = 1; x < 4; ++x) expected[5 + x] = 0;
  EXPECT_EQ(All(*target), expected);
}

TEST_F(Device3D, SamplingIsPointSampledAndWrapsBothWays) {
  Make();
  auto tex = Texture(4, 2, D3DFormat::A8R8G8B8, {0xFF000000, 0xFF000001, 0xFF000002, 0xFF000003, 0xFF000010,
                                                 0xFF000011, 0xFF000012, 0xFF000013});
  m_device->SetTexture(0, tex);
  SetStage({SEL1, TEX, DIF, SEL1, TEX, DIF});
  struct Case {
    const char* name;
    float u0, v0, u1, v1;
    std::vector<uint32_t> row;  // the low byte of each of eight pixels
  };
  const Case cases[] = {
      {"twice across", 0, 0, 2, 0.5f, {0x00, 0x01, 0x02, 0x03, 0x00, 0x01, 0x02, 0x03}},
      {"mirrored", 1, 0, 0, 0.5f, {0x03, 0x03, 0x02, 0x02, 0x01, 0x01, 0x00, 0x00}},
      {"from -1", -1, 0, 1, 0.5f, {0x00, 0x01, 0x02, 0x03, 0x00, 0x01, 0x02, 0x03}},
      {"second row", 0, 0.5f, 1, 1, {0x10, 0x10, 0x11, 0x11, 0x12, 0x12, 0x13, 0x13}},
      {"rows wrap", 0, 1, 1, 1.5f, {0x00, 0x00, 0x01, 0x01, 0x02, 0x02, 0x03, 0x03}},
  };
  auto target = Target(8, 1, D3DFormat::A8R8G8B8);
  for (const Case& c : cases) {
    Quad(0, 0, 8, 1, c.u0, c.v0, c.u1, c.v1);
    std::vector<uint32_t> got;
    for (uint32_t p : All(*target)) got.push_back(p & 0xFF);
    EXPECT_EQ(got, c.row) << c.name;
  }
}

TEST_F(Device3D, TrianglesAndNeighbouringQuadsCoverEachPixelOnce) {
  // Half-transparent white over black: a pixel drawn once is 0x80, twice 0xC0.
  plat::SetD3DFastPath(false);
  Make(D3DFormat::X8R8G8B8, 32, 32);
  auto target = Target(32, 32, D3DFormat::X8R8G8B8);
  m_device->Clear(nullptr, 0);
  SetStage({SEL2, TEX, DIF, SEL2, TEX, DIF}, 0xFFFFFFFF, true);
  const uint32_t half = 0x80FFFFFF;
  // A grid of upright quads whose shared edges lie between and on pixel
  // centres: it covers the centres 1..12 across and 1..6 down.
  const float xs[] = {0.5f, 3.25f, 7.0f, 11.5f, 12.75f};
  const float ys[] = {0.5f, 2.5f, 6.3f};
  for (int i = 0; i + 1 < 5; ++i)
    for (int j = 0; j + 1 < 3; ++j)
      Quad(xs[i] + 0.5f, ys[j] + 0.5f, xs[i + 1] + 0.5f, ys[j + 1] + 0.5f, 0, 0, 1, 1, half);
  // Two diamonds (|dx| + |dy| <= 4) sharing an edge, one a strip and one a
  // list, each cut in two along a row of pixel centres: 25 centres inside
  // each, and the 7 on its upper-left and lower-left edges.
  const Vertex top{16, 8, 0, 1, half, 0, 0}, left{12, 12, 0, 1, half, 0, 0}, right{20, 12, 0, 1, half, 0, 0},
      bottom{16, 16, 0, 1, half, 0, 0};
  const Vertex strip[] = {top, left, right, bottom};
  DrawVertices(strip, 4, plat::D3DPT_TRIANGLESTRIP, 2);
  const Vertex right2{24, 16, 0, 1, half, 0, 0}, bottom2{20, 20, 0, 1, half, 0, 0};
  const Vertex list[] = {right, bottom, right2, bottom, bottom2, right2};
  DrawVertices(list, 6, plat::D3DPT_TRIANGLELIST, 2);

  int once = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const uint32_t p = Raw(*target, x, y) & 0xFF;
      EXPECT_TRUE(p == 0 || p == 0x80) << x << "," << y << " drawn more than once";
      once += p == 0x80;
      if (x <= 13 && y <= 7) {
        EXPECT_EQ(p, x >= 1 && x <= 12 && y >= 1 && y <= 6 ? 0x80u : 0u) << x << "," << y;
      }
    }
  EXPECT_EQ(once, 12 * 6 + 32 + 32);
  // On the shared edge from (20, 12) to (16, 16): the corner where two
  // right edges meet belongs to neither; the rest to the second diamond.
  EXPECT_EQ(Raw(*target, 20, 12) & 0xFF, 0u);
  EXPECT_EQ(Raw(*target, 18, 14) & 0xFF, 0x80u);
}

TEST_F(Device3D, TheFastPathDrawsWhatTheTrianglesDraw) {
  // Upright quads at fractional positions, stretched, shrunk and mirrored,
  // modulated and blended, drawn both ways, for each pair of texture and
  // target formats the drawing layer uses.
  struct Formats {
    D3DFormat texture, target;
  };
  const Formats formats[] = {{D3DFormat::A8R8G8B8, D3DFormat::X8R8G8B8},
                             {D3DFormat::A8R8G8B8, D3DFormat::A8R8G8B8},
                             {D3DFormat::A1R5G5B5, D3DFormat::R5G6B5},
                             {D3DFormat::A1R5G5B5, D3DFormat::A1R5G5B5}};
  std::mt19937 random(12345);
  std::uniform_real_distribution<float> pos(-6.0f, 40.0f), uv(-1.5f, 2.5f);
  std::vector<uint32_t> texels(7 * 5);
  for (uint32_t& t : texels) t = random();
  for (const Formats& f : formats) {
    auto draw = [&](bool fast) {
      plat::SetD3DFastPath(fast);
      Make(D3DFormat::X8R8G8B8, 32, 32);
      std::vector<uint32_t> raw = texels;
      if (plat::D3DBytesPerPixel(f.texture) == 2)
        for (uint32_t& t : raw) t &= 0xFFFF;
      auto tex = Texture(7, 5, f.texture, raw);
      auto target = Target(32, 32, f.target);
      m_device->Clear(nullptr, 0xFF102030);
      m_device->SetTexture(0, tex);
      std::mt19937 shapes(777);
      for (int i = 0; i < 300; ++i) {
        // Now and then another stage: the texture's colour alone, or tinted.
        const int kind = i % 3;
        SetStage(kind == 1 ? Stage{SEL1, TEX, DIF, SEL1, TEX, DIF} : Stage{MOD, TEX, DIF, SEL1, TEX, DIF}, 0xFFFFFFFF,
                 true);
        float l = std::round(pos(shapes) * 16) / 16, t = std::round(pos(shapes) * 16) / 16;
        float w = std::round(std::abs(pos(shapes)) * 8) / 16 + 0.25f,
              h = std::round(std::abs(pos(shapes)) * 8) / 16 + 0.25f;
        const float u0 = uv(shapes), v0 = uv(shapes), u1 = uv(shapes), v1 = uv(shapes);
        Quad(l, t, l + w, t + h, u0, v0, u1, v1, kind == 2 ? 0xC080FF40 : 0xFFFFFFFF);
      }
      // Sprites as the layer draws them: whole pixels, texel for pixel.
      SetStage({MOD, TEX, DIF, SEL1, TEX, DIF}, 0xFFFFFFFF, true);
      for (int i = 0; i < 20; ++i) Quad(i, i, i + 7, i + 5, 0, 0, 1, 1);
      const std::vector<uint32_t> pixels = All(*target);
      const plat::D3DDrawCounts counts = m_device->DrawCounts();
      m_targets.clear();
      m_vb.reset();
      m_device.reset();
      return std::make_pair(pixels, counts);
    };
    const auto fast = draw(true), slow = draw(false);
    const int format = static_cast<int>(f.texture) * 100 + static_cast<int>(f.target);
    EXPECT_GT(fast.second.fastQuads, 150u) << format;
    EXPECT_EQ(slow.second.fastQuads, 0u) << format;
    EXPECT_GT(slow.second.triangles, 300u) << format;
    EXPECT_EQ(fast.first, slow.first) << format;
  }
}

TEST_F(Device3D, ALostDeviceDropsDrawsAndResetsOnlyWhenAllowedAndNothingOfItsPoolIsHeld) {
  Make();
  auto target = Target(2, 2, D3DFormat::A8R8G8B8);
  EXPECT_EQ(m_device->TestCooperativeLevel(), plat::D3D_OK);
  plat::LoseD3DDevice();
  EXPECT_EQ(m_device->TestCooperativeLevel(), plat::D3DERR_DEVICELOST);
  EXPECT_EQ(m_device->Present(), plat::D3DERR_DEVICELOST);
  plat::D3DPresentParams params = m_device->PresentParams();
  EXPECT_EQ(m_device->Reset(params), plat::D3DERR_DEVICELOST);
  std::shared_ptr<D3DSurface> sys;
  ASSERT_EQ(m_device->CreateOffscreenPlainSurface(2, 2, D3DFormat::A8R8G8B8, D3DPool::SystemMem, sys), plat::D3D_OK);
  EXPECT_EQ(m_device->GetRenderTargetData(*target, *sys), plat::D3DERR_DEVICELOST);

  plat::AllowD3DDeviceReset();
  EXPECT_EQ(m_device->TestCooperativeLevel(), plat::D3DERR_DEVICENOTRESET);
  // The render target texture and then the back buffer held outside refuse the reset.
  EXPECT_EQ(plat::CountD3DDefaultResources(), 1);
  EXPECT_EQ(m_device->Reset(params), plat::D3DERR_INVALIDCALL);
  m_targets.clear();
  target.reset();
  std::shared_ptr<D3DSurface> back;
  m_device->GetBackBuffer(back);
  EXPECT_EQ(m_device->Reset(params), plat::D3DERR_INVALIDCALL);
  back.reset();
  ASSERT_EQ(m_device->Reset(params), plat::D3D_OK);
  EXPECT_EQ(m_device->TestCooperativeLevel(), plat::D3D_OK);
  EXPECT_EQ(m_device->Present(), plat::D3D_OK);

  // The states are the defaults again: culling leaves an upright quad out.
  m_device->GetBackBuffer(back);
  m_device->Clear(nullptr, 0);
  auto tex = Texture(1, 1, D3DFormat::A8R8G8B8, {0xFFFFFFFF});
  m_device->SetTexture(0, tex);
  Quad(0, 0, 4, 4, 0, 0, 1, 1);
  EXPECT_EQ(Raw(*back, 1, 1), 0xFF000000u);
  m_device->SetRenderState(plat::D3DRS_CULLMODE, plat::D3DCULL_NONE);
  Quad(0, 0, 4, 4, 0, 0, 1, 1);
  EXPECT_EQ(Raw(*back, 1, 1), 0xFFFFFFFFu);
}

TEST_F(Device3D, FocusLossLosesOnlyAFullScreenDevice) {
  Make(D3DFormat::X8R8G8B8, 16, 16, true);
  plat::detail::OnD3DFocusLost();
  EXPECT_EQ(m_device->TestCooperativeLevel(), plat::D3D_OK);
  m_vb.reset();
  m_device.reset();
  Make(D3DFormat::R5G6B5, 16, 16, false);
  plat::detail::OnD3DFocusLost();
  EXPECT_EQ(m_device->TestCooperativeLevel(), plat::D3DERR_DEVICELOST);
  plat::detail::OnD3DFocusGained();
  EXPECT_EQ(m_device->TestCooperativeLevel(), plat::D3DERR_DEVICENOTRESET);
}

TEST_F(Device3D, CreationRefusalsCapsAndVideoMemory) {
  plat::RefuseD3DHardwareVertexProcessing(true);
  auto object = plat::D3DObject::Create();
  plat::D3DPresentParams p;
  p.backBufferFormat = D3DFormat::X8R8G8B8;
  p.backBufferWidth = 8;
  p.backBufferHeight = 8;
  std::unique_ptr<plat::D3DDevice> device;
  EXPECT_EQ(object->CreateDevice(plat::WindowHandle{}, plat::D3DCREATE_HARDWARE_VERTEXPROCESSING, p, device),
            plat::D3DERR_NOTAVAILABLE);
  EXPECT_EQ(object->CreateDevice(plat::WindowHandle{}, plat::D3DCREATE_SOFTWARE_VERTEXPROCESSING, p, device),
            plat::D3D_OK);
  device.reset();
  plat::RefuseD3DHardwareVertexProcessing(false);

  plat::D3DCaps caps;
  caps.maxTextureWidth = caps.maxTextureHeight = 256;
  caps.pow2 = true;
  caps.squareOnly = true;
  plat::SetD3DCaps(caps);
  plat::SetD3DVideoMemory(8 * 8 * 4 + 64 * 64 * 4);
  Make(D3DFormat::X8R8G8B8, 8, 8);
  plat::D3DCaps read;
  m_object->GetDeviceCaps(read);
  EXPECT_TRUE(read.pow2 && read.squareOnly);
  std::shared_ptr<D3DTexture> t;
  struct Case {
    int w, h;
    int32_t result;
  };
  const Case cases[] = {{64, 64, plat::D3D_OK}, {64, 32, plat::D3DERR_INVALIDCALL}, {48, 48, plat::D3DERR_INVALIDCALL},
                        {512, 512, plat::D3DERR_INVALIDCALL}, {32, 32, plat::D3DERR_OUTOFVIDEOMEMORY}};
  std::vector<std::shared_ptr<D3DTexture>> kept;
  for (const Case& c : cases) {
    EXPECT_EQ(m_device->CreateTexture(c.w, c.h, 1, plat::D3DUSAGE_RENDERTARGET, D3DFormat::A8R8G8B8,
                                      D3DPool::Default, t),
              c.result)
        << c.w << "x" << c.h;
    kept.push_back(t);
  }
  // Managed and system textures take no video memory.
  EXPECT_EQ(m_device->CreateTexture(32, 32, 1, 0, D3DFormat::A8R8G8B8, D3DPool::Managed, t), plat::D3D_OK);
  EXPECT_EQ(m_device->GetAvailableTextureMem(), 0u);
  // The effects library's maker cuts a side to the limit.
  EXPECT_EQ(plat::CreateFittedTexture(*m_device, 1000, 1000, plat::D3DUSAGE_DYNAMIC, D3DFormat::A8R8G8B8,
                                      D3DPool::SystemMem, t),
            plat::D3D_OK);
  EXPECT_EQ(t->Width(), 256);
}

TEST_F(Device3D, TexturesFromImagesKeyTheColourAndPadWithTransparentBlack) {
  Make();
  plat::BmpImage img;
  img.width = 3;
  img.height = 2;
  img.pixels = {0xFF00FF, 0x102030, 0xFF00FF, 0x405060, 0x708090, 0xFF00FE};
  std::shared_ptr<D3DTexture> t;
  ASSERT_EQ(plat::CreateTextureFromImage(*m_device, img, 4, 4, 0, D3DFormat::A8R8G8B8, D3DPool::Managed, 0xFFFF00FF, t),
            plat::D3D_OK);
  std::shared_ptr<D3DSurface> s;
  t->GetSurfaceLevel(0, s);
  EXPECT_EQ(All(*s), (std::vector<uint32_t>{0, 0xFF102030, 0, 0, 0xFF405060, 0xFF708090, 0xFFFF00FE, 0, 0, 0, 0, 0,
                                            0, 0, 0, 0}));
  // At 16 bits; and an image larger than the texture is cut.
  ASSERT_EQ(plat::CreateTextureFromImage(*m_device, img, 2, 1, 0, D3DFormat::A1R5G5B5, D3DPool::Managed, 0xFFFF00FF, t),
            plat::D3D_OK);
  t->GetSurfaceLevel(0, s);
  EXPECT_EQ(All(*s), (std::vector<uint32_t>{0x0000, 0x8886}));
}

TEST_F(Device3D, PresentHandsTheBackBufferOverAndKeepsIt) {
  Make(D3DFormat::A1R5G5B5, 2, 1);
  std::shared_ptr<D3DSurface> back;
  m_device->GetBackBuffer(back);
  Put(*back, 0, 0, 0xFC00);
  Put(*back, 1, 0, 0x001F);
  std::vector<uint32_t> shown;
  plat::SetFrameCapture([&](const uint32_t* p, int w, int h) { shown.assign(p, p + w * h); });
  ASSERT_EQ(m_device->Present(), plat::D3D_OK);
  EXPECT_TRUE(plat::PresenterPump());
  plat::SetFrameCapture(nullptr);
  EXPECT_EQ(shown, (std::vector<uint32_t>{0xFF0000, 0x0000FF}));
  EXPECT_EQ(Raw(*back, 0, 0), 0xFC00u);
}

TEST_F(Device3D, DrawsReadingPastTheirBuffersAreRefused) {
  Make();
  Target(4, 4, D3DFormat::A8R8G8B8);
  m_device->SetStreamSource(0, m_vb, 0, sizeof(Vertex));
  m_device->SetFVF(plat::kD3DVertexFvf);
  EXPECT_EQ(m_device->DrawPrimitive(plat::D3DPT_TRIANGLESTRIP, 60, 4), plat::D3DERR_INVALIDCALL);
  EXPECT_EQ(m_device->DrawPrimitive(plat::D3DPT_TRIANGLESTRIP, 0, 62), plat::D3D_OK);
  m_device->SetFVF(0x142);
  EXPECT_EQ(m_device->DrawPrimitive(plat::D3DPT_TRIANGLESTRIP, 0, 2), plat::D3DERR_INVALIDCALL);
  m_device->SetFVF(plat::kD3DVertexFvf);
  std::shared_ptr<plat::D3DIndexBuffer> ib;
  ASSERT_EQ(m_device->CreateIndexBuffer(8, 0, D3DPool::Managed, ib), plat::D3D_OK);
  void* p = nullptr;
  ib->Lock(0, 0, &p);
  const uint16_t indices[4] = {0, 1, 2, 64};
  std::memcpy(p, indices, 8);
  ib->Unlock();
  m_device->SetIndices(ib);
  EXPECT_EQ(m_device->DrawIndexedPrimitive(plat::D3DPT_TRIANGLESTRIP, 0, 0, 4, 0, 2), plat::D3DERR_INVALIDCALL);
  EXPECT_EQ(m_device->DrawIndexedPrimitive(plat::D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1), plat::D3D_OK);
  EXPECT_EQ(m_device->DrawIndexedPrimitive(plat::D3DPT_TRIANGLELIST, 0, 0, 3, 1, 2), plat::D3DERR_INVALIDCALL);
}

TEST_F(Device3D, RenderTargetsReadBackAndUploadThroughSystemSurfaces) {
  Make();
  auto target = Target(2, 1, D3DFormat::A8R8G8B8);
  m_device->Clear(nullptr, 0x11223344);
  std::shared_ptr<D3DSurface> sys, wrong;
  m_device->CreateOffscreenPlainSurface(2, 1, D3DFormat::A8R8G8B8, D3DPool::SystemMem, sys);
  m_device->CreateOffscreenPlainSurface(2, 1, D3DFormat::X8R8G8B8, D3DPool::SystemMem, wrong);
  ASSERT_EQ(m_device->GetRenderTargetData(*target, *sys), plat::D3D_OK);
  EXPECT_EQ(Raw(*sys, 1, 0), 0x11223344u);
  EXPECT_EQ(m_device->GetRenderTargetData(*target, *wrong), plat::D3DERR_INVALIDCALL);
  Put(*sys, 0, 0, 0x55667788);
  ASSERT_EQ(m_device->UpdateSurface(*sys, *target), plat::D3D_OK);
  EXPECT_EQ(All(*target), (std::vector<uint32_t>{0x55667788, 0x11223344}));
}

TEST_F(Device3D, ARectangleReadsBackAndUploadsOnlyItsPixels) {
  // On each format: the system copy takes the render target's pixels inside
  // the rectangle only, and the render target takes the copy's inside only;
  // rectangles reaching past every edge are cut.
  const D3DFormat formats[] = {D3DFormat::A8R8G8B8, D3DFormat::X8R8G8B8, D3DFormat::R5G6B5, D3DFormat::A1R5G5B5};
  const plat::Rect rects[] = {{2, 1, 5, 4}, {-3, -2, 2, 3}, {4, 3, 20, 9}, {0, 0, 7, 5}, {3, 2, 3, 4}, {9, 9, 12, 12}};
  std::mt19937 random(46);
  Make();
  for (D3DFormat f : formats)
    for (const plat::Rect& r : rects) {
      auto target = Target(7, 5, f);
      std::shared_ptr<D3DSurface> sys;
      ASSERT_EQ(m_device->CreateOffscreenPlainSurface(7, 5, f, D3DPool::SystemMem, sys), plat::D3D_OK);
      const uint32_t mask = plat::D3DBytesPerPixel(f) == 2 ? 0xFFFF : 0xFFFFFFFF;
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
          Put(*target, x, y, random() & mask);
          Put(*sys, x, y, random() & mask);
        }
      auto inside = [&](int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; };
      const std::vector<uint32_t> rt0 = All(*target), sys0 = All(*sys);
      ASSERT_EQ(m_device->GetRenderTargetData(*target, *sys, &r), plat::D3D_OK);
      std::vector<uint32_t> sys1 = All(*sys);
      for (int i = 0; i < 35; ++i)
        EXPECT_EQ(sys1[i], inside(i % 7, i / 7) ? rt0[i] : sys0[i]) << static_cast<int>(f) << " at " << i;
      // Every pixel of the copy changes; the target takes the rectangle's.
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) Put(*sys, x, y, ~Raw(*sys, x, y) & mask);
      sys1 = All(*sys);
      ASSERT_EQ(m_device->UpdateSurface(*sys, *target, &r), plat::D3D_OK);
      const std::vector<uint32_t> rt1 = All(*target);
      for (int i = 0; i < 35; ++i)
        EXPECT_EQ(rt1[i], inside(i % 7, i / 7) ? sys1[i] : rt0[i]) << static_cast<int>(f) << " at " << i;
    }
}

TEST_F(Device3D, ReadBacksThroughAKeptCopyMatchFreshOnesAfterEveryDrawAndLockedWrite) {
  // A render target read back through the one system surface it keeps (so
  // that only what was drawn since is copied) and its twin read back into a
  // new surface each time (all of the rectangle copied) show the same pixels
  // inside every locked rectangle, and hold the same pixels after every step
  // stretch of random clears, upright and turned quads, and locked writes
  // of rectangles (some reaching past the edges, some the whole surface).
  const D3DFormat formats[] = {D3DFormat::A8R8G8B8, D3DFormat::X8R8G8B8, D3DFormat::R5G6B5, D3DFormat::A1R5G5B5};
  constexpr int kW = 37, kH = 23;
  std::mt19937 random(4646);
  Make();
  auto coord = [&](int size) { return static_cast<int>(random() % static_cast<unsigned>(size + 12)) - 6; };
  for (D3DFormat f : formats) {
    auto a = Target(kW, kH, f), b = Target(kW, kH, f);
    std::shared_ptr<D3DSurface> kept;
    ASSERT_EQ(m_device->CreateOffscreenPlainSurface(kW, kH, f, D3DPool::SystemMem, kept), plat::D3D_OK);
    SetStage(Stage{SEL2, TEX, DIF, SEL2, TEX, DIF});
    m_device->SetTexture(0, nullptr);
    const int bytes = plat::D3DBytesPerPixel(f);
    for (int step = 0; step < 400; ++step) {
      const int op = static_cast<int>(random() % 4);
      int x0 = coord(kW), y0 = coord(kH), x1 = coord(kW), y1 = coord(kH);
      if (x0 > x1) std::swap(x0, x1);
      if (y0 > y1) std::swap(y0, y1);
      const plat::Rect r{x0, y0, x1 + 1, y1 + 1};
      const uint32_t colour = static_cast<uint32_t>(random());
      if (op == 0 || op == 1) {
        const float turn = static_cast<float>(random() % 7) * 0.5f;
        const Vertex q[4] = {{x0 + 0.3f, y0 + turn, 0, 1, colour, 0, 0},
                             {x0 - turn, y1 + 0.6f, 0, 1, colour, 0, 1},
                             {x1 + turn, y0 - 0.2f, 0, 1, colour, 1, 0},
                             {x1 - 0.4f, y1 - turn, 0, 1, colour, 1, 1}};
        for (const auto& t : {a, b}) {
          ASSERT_EQ(m_device->SetRenderTarget(0, t), plat::D3D_OK);
          if (op == 0)
            ASSERT_EQ(m_device->Clear(&r, colour), plat::D3D_OK);
          else
            ASSERT_EQ(DrawVertices(q, 4, plat::D3DPT_TRIANGLESTRIP, 2), plat::D3D_OK);
        }
      } else {
        const bool whole = random() % 5 == 0;
        const plat::Rect* area = whole ? nullptr : &r;
        std::shared_ptr<D3DSurface> fresh;
        ASSERT_EQ(m_device->CreateOffscreenPlainSurface(kW, kH, f, D3DPool::SystemMem, fresh), plat::D3D_OK);
        ASSERT_EQ(m_device->GetRenderTargetData(*a, *kept, area), plat::D3D_OK);
        ASSERT_EQ(m_device->GetRenderTargetData(*b, *fresh, area), plat::D3D_OK);
        plat::D3DLockedRect la, lb;
        ASSERT_EQ(kept->LockRect(la, area), plat::D3D_OK);
        ASSERT_EQ(fresh->LockRect(lb, area), plat::D3D_OK);
        const int left = whole ? 0 : std::max(r.left, 0), right = whole ? kW : std::min(r.right, kW);
        const int top = whole ? 0 : std::max(r.top, 0), bottom = whole ? kH : std::min(r.bottom, kH);
        for (int y = top; y < bottom; ++y)
          for (int x = left; x < right; ++x) {
            uint8_t* pa = la.bits + y * la.pitch + x * bytes;
            uint8_t* pb = lb.bits + y * lb.pitch + x * bytes;
            ASSERT_EQ(std::memcmp(pa, pb, static_cast<size_t>(bytes)), 0)
                << "format " << static_cast<int>(f) << " step " << step << " at " << x << ", " << y;
            const uint32_t v = static_cast<uint32_t>(random());
            std::memcpy(pa, &v, static_cast<size_t>(bytes));
            std::memcpy(pb, &v, static_cast<size_t>(bytes));
          }
        ASSERT_EQ(kept->UnlockRect(), plat::D3D_OK);
        ASSERT_EQ(fresh->UnlockRect(), plat::D3D_OK);
        ASSERT_EQ(m_device->UpdateSurface(*kept, *a, area), plat::D3D_OK);
        ASSERT_EQ(m_device->UpdateSurface(*fresh, *b, area), plat::D3D_OK);
      }
      // Now and then as a whole (a lock, which counts as a write of all).
      if (step % 40 == 39) ASSERT_EQ(All(*a), All(*b)) << "format " << static_cast<int>(f) << " step " << step;
    }
  }
}
