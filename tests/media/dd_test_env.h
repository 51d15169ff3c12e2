#pragma once
// The drawing layer on the software display for one test: a fresh folder
// with the logs (debug log on), scripted boxes, and every piece of layer
// state put back afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/report_log.h"
#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/dd_pixels.h"
#include "platform/close_request.h"
#include "platform/d3d_device.h"
#include "platform/presenter.h"
#include "platform/soft_display.h"
#include "support/test_support.h"

class DrawingTest : public ::testing::Test {
 public:
  // Pixels of a surface through a lock.
  static uint32_t Get(DDSURFACEDATA* sd, int x, int y) {
    cSurfaceLock lock;
    EXPECT_TRUE(lock.Lock(sd));
    if (!lock.m_pBits) return 0xDEADBEEF;
    const uint8_t* row = lock.m_pBits + static_cast<size_t>(y) * lock.m_nPitch;
    switch (lock.m_nBpp) {
      case 8: return row[x];
      case 16: return reinterpret_cast<const uint16_t*>(row)[x];
      default: return reinterpret_cast<const uint32_t*>(row)[x];
    }
  }
  static void Set(DDSURFACEDATA* sd, int x, int y, uint32_t v) {
    cSurfaceLock lock;
    ASSERT_TRUE(lock.Lock(sd));
    uint8_t* row = lock.m_pBits + static_cast<size_t>(y) * lock.m_nPitch;
    switch (lock.m_nBpp) {
      case 8: row[x] = static_cast<uint8_t>(v); break;
      case 16: reinterpret_cast<uint16_t*>(row)[x] = static_cast<uint16_t>(v); break;
      default: reinterpret_cast<uint32_t*>(row)[x] = v;
    }
  }
  static std::vector<uint32_t> Row(DDSURFACEDATA* sd, int y) {
    std::vector<uint32_t> out;
    for (int x = 0; x < sd->nWidth; ++x) out.push_back(Get(sd, x, y));
    return out;
  }
  static void SetRow(DDSURFACEDATA* sd, int y, const std::vector<uint32_t>& values) {
    for (size_t x = 0; x < values.size(); ++x) Set(sd, static_cast<int>(x), y, values[x]);
  }

 protected:
  void SetUp() override {
    plat::ClearDisplayFailures();
    plat::ResetD3DHooks();
    plat::SetVideoMemoryBudget(uint64_t{256} << 20);
    plat::SetDesktopBpp(32);
    plat::ResetPresenter();
    plat::ResetCloseRequests();
    ReportOpen("Report_Game.txt");
    m_dir.WriteFile("EC_Game.txt", "");
    m_debugPath = m_dir.Path() + "/EC_Game.txt";
    DebugLogInit(1, m_debugPath.c_str());
  }

  void TearDown() override {
    DDRelease();
    lpDTCon = nullptr;
    bDDEverInited = 0;
    TransmitPixel = 0;
    std::memset(TextureChannels, 0, sizeof TextureChannels);
    std::memset(BackBufferChannels, 0, sizeof BackBufferChannels);
    std::fill(std::begin(CurPalette), std::end(CurPalette), PALETTEENTRY{});
    std::fill(std::begin(BasePalette), std::end(BasePalette), PALETTEENTRY{});
    lpSurfaceTable = nullptr;
    lpSurfaceDefs = nullptr;
    nSurfaceCount = 0;
    DebugLogInit(0, "");
    plat::ClearDisplayFailures();
    plat::ResetD3DHooks();
    plat::SetVideoMemoryBudget(uint64_t{256} << 20);
    plat::SetDesktopBpp(32);
  }

  // Starts the layer full screen (or in a window) at a depth.
  bool Start(int bpp, bool window = false, DDSURFACEDATA* table = nullptr, DDSURFACEDEF* defs = nullptr,
             int count = 0) {
    if (window) plat::SetDesktopBpp(bpp);
    return DDInit(0, plat::WindowHandle{}, 640, 480, bpp, 0, window ? 1 : 0, 1, 60, 0, table, defs, count, 0);
  }

  // Starts the 3D back end full screen (or in a window) at a depth, without
  // vertical sync unless asked.
  bool Start3D(int bpp, bool window = false, DDSURFACEDATA* table = nullptr, DDSURFACEDEF* defs = nullptr,
               int count = 0, int vsync = 0) {
    return DDInit(1, plat::WindowHandle{}, 640, 480, bpp, vsync, window ? 1 : 0, 1, 60, vsync, table, defs, count,
                  0);
  }

  std::string DebugLog() const { return m_dir.ReadFile("EC_Game.txt"); }
  std::string Report() const { return m_dir.ReadFile("Report_Game.txt"); }
  bool DebugHas(const std::string& text) const { return DebugLog().find(text) != std::string::npos; }
  bool ReportHas(const std::string& text) const { return Report().find(text) != std::string::npos; }

  testsupport::ScopedWorkDir m_dir;
  testsupport::ScriptedBoxes m_boxes;
  std::string m_debugPath;
  // A surface table and its definitions that outlive the layer's release.
  DDSURFACEDATA m_table[8];
  DDSURFACEDEF m_defs[8];
};
