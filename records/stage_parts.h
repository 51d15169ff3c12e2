#pragma once
// The records a stage holds beside its definitions: the off-screen removal
// rules, the background layers and the texts; and ResetRecordVector, which
// refills a list with default elements.
#include <cstdint>
#include <string>

#include "records/record.h"

// When an object of one kind that has left the view is removed. The stage
// scene applies it; margins are in cells (32 dots) beyond the side.
class cEdOffScreenRule : public cRecord {
 public:
  int32_t m_bLeft = 0;
  int32_t m_bRight = 0;   // stored from version 125
  int32_t m_bTop = 0;     // stored from version 125
  int32_t m_bBottom = 0;  // stored from version 125
  int32_t m_nLeftMargin = 0;
  int32_t m_nRightMargin = 0;
  int32_t m_nTopMargin = 0;
  int32_t m_nBottomMargin = 0;

  cEdOffScreenRule() { Clear(); }
  void RegisterFields(int version) override;
  // The four side flags, then the four margins.
  void Set(int32_t bLeft, int32_t bRight, int32_t bTop, int32_t bBottom, int32_t nLeftMargin,
           int32_t nRightMargin, int32_t nTopMargin, int32_t nBottomMargin);
};

// One background layer; the stage draws its layers in list order.
class cEdBackground : public cRecord {
 public:
  int32_t m_bVisible = 1;    // the change-background command shows or hides it
  int32_t m_bFillColor = 0;  // 1: fills the screen with m_nColor instead of an image
  int32_t m_nColor = 16;     // palette number
  int32_t m_bFront = 0;      // 1: in front of the map and the objects
  // Without auto-scroll the share of the view's scroll the layer follows;
  // with it, dots per frame of drift.
  double m_dScrollX = 0.1;
  double m_dScrollY = 0.1;
  int32_t m_bAutoScrollX = 0;
  int32_t m_bAutoScrollY = 0;
  std::string m_strFile;  // 640 x 480 picture tiled over the screen
  double m_dOffsetX = 0;  // drift so far; the stage scene zeroes it at each start
  double m_dOffsetY = 0;

  cEdBackground() { Reset(); }
  // Visible, colour 16, scroll factors 0.1, everything else 0 or empty.
  void Reset();
  void RegisterFields(int version) override;
};

// A text of the stage: kept, copied and saved, never shown.
class cEdTextRecord : public cRecord {
 public:
  std::string m_strText;

  cEdTextRecord() { Clear(); }
  void RegisterFields(int version) override;
};

// The list becomes n copies of one default element of its class (built,
// then reset to the class defaults); the old elements are destroyed.
template <class T>
void ResetRecordVector(cVector<T>& list, unsigned n) {
  list.clear();
  T element;
  element.Reset();
  list.assign(n, element);
}
