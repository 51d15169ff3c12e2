#include "records/window_data.h"

#include <algorithm>

#include "platform/window_geometry.h"

namespace {

constexpr uint32_t kFieldCount = 5;

// The segment that a whole Window.dat holds after its version word: the
// field count, five values and an empty string list.
bool HoldsWholeRecord(cDataReader probe) {
  if (!probe.HasVersion() || probe.ReadU32() != kFieldCount) return false;
  for (uint32_t i = 0; i < kFieldCount; ++i) probe.ReadI32();
  return probe.ReadU32() == 0 && !probe.Ended();
}

}  // namespace

cWindowData::cWindowData() {
  Clear();
  nWidth = 640;
  nHeight = 480;
}

void cWindowData::RegisterFields(int) {
  ClearFields();
  AddDword(&nX);
  AddDword(&nY);
  AddDword(&nWidth);
  AddDword(&nHeight);
  AddDword(&bMaximized);
}

void cWindowData::Load(cDataReader& r) {
  if (HoldsWholeRecord(r)) {
    cRecord::Load(r);
  } else {
    r.End();
  }
  nX = std::clamp(nX, 0, std::max(0, plat::GetSystemMetrics(SM_CXFULLSCREEN)));
  nY = std::clamp(nY, 0, std::max(0, plat::GetSystemMetrics(SM_CYFULLSCREEN)));
}

void cWindowData::Set(int32_t x, int32_t y, int32_t width, int32_t height, int32_t maximized) {
  nX = x;
  nY = y;
  nWidth = width;
  nHeight = height;
  bMaximized = maximized;
}

void cWindowData::ClientSizeWithinScreen(int& width, int& height) const {
  const plat::Rect work = plat::GetWorkArea();
  width = std::clamp(nWidth, 1, std::max(1, work.Width()));
  height = std::clamp(nHeight, 1, std::max(1, work.Height()));
}
