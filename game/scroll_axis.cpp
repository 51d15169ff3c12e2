#include "game/scroll_axis.h"

#include <cstdint>

#include "base/checked_convert.h"
#include "records/stage.h"

void cScrollAxis::Clamp() {
  if (m_dPos < m_nMin) {
    m_dPos = m_nMin;
    m_bAtLimit = 1;
  } else if (m_dPos + m_nView >= m_nMax) {
    m_dPos = static_cast<double>(m_nMax) - m_nView;
    if (m_dPos < m_nMin) m_dPos = m_nMin;
    m_bAtLimit = 1;
  } else {
    m_bAtLimit = 0;
  }
}

void cScrollAxis::Step() {
  m_dPos += m_dAutoSpeed;
  Clamp();
}

void cScrollAxis::SetAutoScroll(int bOn, int n) {
  if (bOn) {
    m_bAutoScroll = 1;
    m_dAutoSpeed = n * 0.1 / Stage.m_dSteps;
  } else {
    m_bAutoScroll = 0;
    m_dAutoSpeed = 0;
  }
}

void cScrollAxis::SetRange(int a, int b, int bLimitLow, int bLimitHigh) {
  m_nMin = bLimitLow ? SaturateToInt(m_nOrigin + static_cast<int64_t>(a) * 32) : m_nOrigin;
  if (bLimitHigh) {
    m_nMax = SaturateToInt(m_nOrigin + static_cast<int64_t>(b) * 32 + 32);
    if (m_nMax < m_nMin) m_nMax = m_nMin;
  } else {
    m_nMax = m_nDefaultMax;
  }
}

namespace {

// Cells of 32 dots from the far edge of the map to its border.
int32_t FarEdge(int32_t cells) {
  const int64_t edge = (static_cast<int64_t>(cells) - 10) * 32;
  return edge < 0 ? 0 : SaturateToInt(edge);
}

int SignificantBits(uint32_t v) {
  int bits = 0;
  while (v) {
    ++bits;
    v >>= 1;
  }
  return bits;
}

}  // namespace

void cScrollAxis::SetUpHorizontal(const cEdStage& stage) {
  m_nAxis = 0;
  m_nView = 640;
  m_nBorder = 10;
  m_nCells = SaturateToInt(static_cast<int64_t>(stage.m_nWidth) + 20);
  m_nActiveSize = SaturateToInt(static_cast<int64_t>(stage.m_nWidthDots) + 640);
  const int64_t span = static_cast<int64_t>(stage.m_nWidth) + 19;
  m_nShift = SignificantBits(span > 0 && span <= INT32_MAX ? static_cast<uint32_t>(span) : 0);
  m_nPitch = 1 << m_nShift;
  m_nOrigin = 320;
  m_nDefaultMax = FarEdge(m_nCells);
  SetAutoScroll(stage.m_bAutoScrollX, stage.m_nAutoScrollSpeedX);
  SetRange(stage.m_nScrollLimitLeft, stage.m_nScrollLimitRight, stage.m_bScrollLimitLeft,
           stage.m_bScrollLimitRight);
}

void cScrollAxis::SetUpVertical(const cEdStage& stage) {
  m_nAxis = 1;
  m_nView = 480;
  m_nBorder = 10;
  m_nActiveSize = SaturateToInt(static_cast<int64_t>(stage.m_nHeightDots) + 640);
  m_nShift = 0;
  m_nOrigin = 320;
  m_nCells = m_nPitch = SaturateToInt(static_cast<int64_t>(stage.m_nHeight) + 20);
  m_nDefaultMax = FarEdge(m_nCells);
  SetAutoScroll(stage.m_bAutoScrollY, stage.m_nAutoScrollSpeedY);
  SetRange(stage.m_nScrollLimitTop, stage.m_nScrollLimitBottom, stage.m_bScrollLimitTop,
           stage.m_bScrollLimitBottom);
}
