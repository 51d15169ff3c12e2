#pragma once
// One axis of the stage's view: its position in world dots, the scroll
// limits, the map's extent (a border of 10 cells of 32 dots on each side),
// the active area in which objects live, and the auto-scroll. The stage
// scene holds two (m_ScrollX, m_ScrollY); the game objects read them.
#include <cstdint>

class cEdStage;

class cScrollAxis {
 public:
  double m_dPos = 0;          // view's left or top edge, world dots
  int32_t m_bAtLimit = 0;     // the last Clamp hit a limit
  int32_t m_nAxis = 0;        // 0 horizontal, 1 vertical
  int32_t m_nView = 0;        // 640 or 480
  int32_t m_nMin = 0;         // scroll limits, world dots
  int32_t m_nMax = 0;
  int32_t m_nOrigin = 0;      // the map's first cell: 320
  int32_t m_nDefaultMax = 0;  // (cells − 10) × 32: the map's far edge
  int32_t m_nBorder = 0;      // 10 cells
  int32_t m_nActiveSize = 0;  // outer edge of the active area
  int32_t m_nCells = 0;       // cells including both borders
  int32_t m_nPitch = 0;       // horizontal: the map's row pitch (a power of two); vertical: m_nCells
  int32_t m_nShift = 0;       // horizontal: log2 of the pitch; vertical: 0
  double m_dAutoSpeed = 0;    // dots per logic step
  int32_t m_bAutoScroll = 0;

  // Keeps the view inside [m_nMin, m_nMax]; m_bAtLimit says whether it had to.
  void Clamp();
  // One logic step of auto-scroll, then Clamp.
  void Step();
  // Auto-scroll on at n tenths of a dot per frame (divided by the stage's
  // logic steps per frame), or off. Called by the stage set-up and the
  // commands that change the auto-scroll.
  void SetAutoScroll(int bOn, int n);
  // Scroll limits from cells a and b of the map when their flags are on,
  // else the map's edges.
  void SetRange(int a, int b, int bLimitLow, int bLimitHigh);
  // The auto-scroll velocity the moves take into account: 0 at a limit.
  double MoveSpeed() const { return m_bAtLimit ? 0.0 : m_dAutoSpeed; }

  // The axes of a stage being set up: sizes from the map's width (or
  // height), the active area's margin in dots, then the auto-scroll and the
  // range from the stage's settings.
  void SetUpHorizontal(const cEdStage& stage);
  void SetUpVertical(const cEdStage& stage);
};
