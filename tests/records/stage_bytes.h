#pragma once
// Writes stage files by hand from the layout of the stage file: the record
// segment holds the members that the file's version stores, one block each,
// in this table's order; the tail follows.
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "db_bytes.h"
#include "records/stage.h"

namespace stagefile {

// One member of the segment: the first version that stores it (0: all) and
// where it lives; exactly one of the two pointers is set.
struct Member {
  int order;  // 1 to 98
  int from;
  int32_t cEdStage::*i;
  double cEdStage::*d;
};

#define STAGE_I(order, from, m) Member{order, from, &cEdStage::m, nullptr}
#define STAGE_D(order, from, m) Member{order, from, nullptr, &cEdStage::m}
inline const Member kMembers[] = {
    STAGE_I(1, 0, m_nWidth), STAGE_I(2, 0, m_nAux1), STAGE_I(3, 0, m_nAux2),
    STAGE_I(4, 0, m_nHeight), STAGE_I(5, 0, m_bScrollLimitLeft), STAGE_I(6, 0, m_bScrollLimitRight),
    STAGE_I(7, 0, m_bScrollLimitTop), STAGE_I(8, 0, m_bScrollLimitBottom),
    STAGE_I(9, 0, m_nScrollLimitLeft), STAGE_I(10, 0, m_nScrollLimitRight),
    STAGE_I(11, 0, m_nScrollLimitTop), STAGE_I(12, 0, m_nScrollLimitBottom), STAGE_I(13, 0, m_nFps),
    STAGE_I(14, 0, m_bTimeLimit), STAGE_I(15, 0, m_nTimeLimit), STAGE_I(16, 0, m_nTimeWarning),
    STAGE_I(17, 0, m_bAutoScrollX), STAGE_I(18, 0, m_bAutoScrollY),
    STAGE_I(19, 0, m_nAutoScrollSpeedX), STAGE_I(20, 0, m_nAutoScrollSpeedY),
    STAGE_D(21, 0, m_dGravity), STAGE_I(22, 0, m_nSpeedLevel), STAGE_I(23, 0, m_nHitChecks),
    STAGE_I(24, 0, m_nBgm), STAGE_I(25, 166, m_bBgmLoop), STAGE_I(26, 199, m_bBgmKeep),
    STAGE_I(27, 0, m_bDrawDepth), STAGE_I(28, 0, m_bTakeHeroStatus),
    STAGE_I(29, 0, m_bKeepHeroStatus), STAGE_I(30, 183, m_bShowHud),
    STAGE_I(31, 184, m_bQuickClear), STAGE_I(32, 0, m_bStartBanner),
    STAGE_I(33, 225, m_bStartBanner2), STAGE_I(34, 0, m_bClearBanner),
    STAGE_I(35, 0, m_bGameOverBanner), STAGE_I(36, 200, m_nHeroHitW), STAGE_I(37, 200, m_nHeroHitH),
    STAGE_I(38, 200, m_nHeroHitFlyW), STAGE_I(39, 200, m_nHeroHitFlyH),
    STAGE_I(40, 0, m_nHeroContactW), STAGE_I(41, 0, m_nHeroContactH),
    STAGE_I(42, 155, m_nHeroContactFlyW), STAGE_I(43, 155, m_nHeroContactFlyH),
    STAGE_I(44, 0, m_nHeroShotContactW), STAGE_I(45, 0, m_nHeroShotContactH),
    STAGE_I(46, 0, m_nHeroPickupW), STAGE_I(47, 0, m_nHeroPickupH),
    STAGE_I(48, 200, m_bHeroHitBottom), STAGE_I(49, 200, m_bHeroHitFlyBottom),
    STAGE_I(50, 155, m_bHeroContactBottom), STAGE_I(51, 155, m_bHeroContactFlyBottom),
    STAGE_I(52, 200, m_nShowHitBox), STAGE_I(53, 0, m_nShowContactBox),
    STAGE_I(54, 0, m_nShowShotBox), STAGE_I(55, 0, m_nShowPickupBox),
    STAGE_I(56, 200, m_nHitBoxColor), STAGE_I(57, 0, m_nContactBoxColor),
    STAGE_I(58, 0, m_nShotBoxColor), STAGE_I(59, 0, m_nPickupBoxColor),
    STAGE_I(60, 200, m_nCharaHitW), STAGE_I(61, 200, m_nCharaHitH),
    STAGE_I(62, 200, m_nCharaHitFlyW), STAGE_I(63, 200, m_nCharaHitFlyH),
    STAGE_I(64, 0, m_nCharaContactW), STAGE_I(65, 0, m_nCharaContactH),
    STAGE_I(66, 155, m_nCharaContactFlyW), STAGE_I(67, 155, m_nCharaContactFlyH),
    STAGE_I(68, 0, m_nCharaShotContactW), STAGE_I(69, 0, m_nCharaShotContactH),
    STAGE_I(70, 200, m_bCharaHitBottom), STAGE_I(71, 200, m_bCharaHitFlyBottom),
    STAGE_I(72, 155, m_bCharaContactBottom), STAGE_I(73, 155, m_bCharaContactFlyBottom),
    STAGE_I(74, 0, m_nItemBoxW), STAGE_I(75, 0, m_nItemBoxH), STAGE_I(76, 0, m_nHeroShotBoxW),
    STAGE_I(77, 0, m_nHeroShotBoxH), STAGE_I(78, 0, m_nAux3), STAGE_I(79, 0, m_nAux4),
    STAGE_I(80, 0, m_nCharaShotBoxW), STAGE_I(81, 0, m_nCharaShotBoxH), STAGE_I(82, 0, m_nAux5),
    STAGE_I(83, 0, m_nAux6), STAGE_I(84, 0, m_nAux7), STAGE_I(85, 0, m_nWidthDots),
    STAGE_I(86, 0, m_nHeightDots), STAGE_I(87, 0, m_nStepsPerFrame), STAGE_D(88, 0, m_dSteps),
    STAGE_D(89, 0, m_dStepsSquared), STAGE_D(90, 0, m_dMaxSpeed), STAGE_D(91, 0, m_dGravityPerStep),
    STAGE_D(92, 0, m_dMaxSpeedPerStep), STAGE_I(93, 0, m_nAirborneSteps),
    STAGE_I(94, 0, m_bHitOnScreen), STAGE_I(95, 0, m_nHeroGuardTime),
    STAGE_I(96, 0, m_nHeroInvincibleTime), STAGE_I(97, 0, m_nCharaGuardTime),
    STAGE_I(98, 0, m_nCharaInvincibleTime),
};
#undef STAGE_I
#undef STAGE_D

inline Bytes& F64(Bytes& b, double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, 8);
  return b.u32(static_cast<uint32_t>(bits)).u32(static_cast<uint32_t>(bits >> 32));
}

// The version word and the record segment: every member the version stores,
// with the value that `value(order)` gives (doubles as given, ints truncated).
inline Bytes Segment(int version, const std::function<double(int)>& value, const std::string& name = "") {
  Bytes b;
  b.u32(static_cast<uint32_t>(version));
  uint32_t n = 0;
  for (const Member& m : kMembers) n += version >= m.from ? 1 : 0;
  b.u32(n);
  for (const Member& m : kMembers) {
    if (version < m.from) continue;
    if (m.d)
      F64(b, value(m.order));
    else
      b.i32(static_cast<int32_t>(value(m.order)));
  }
  return b.u32(1).str(name);
}

// An off-screen rule segment of the version's layout.
inline Bytes& Rule(Bytes& b, int version, int32_t left, int32_t right, int32_t top, int32_t bottom,
                   int32_t margin) {
  if (version >= 125) return b.u32(8).i32(left).i32(right).i32(top).i32(bottom).i32(margin).i32(margin).i32(margin).i32(margin).u32(0);
  return b.u32(5).i32(left).i32(margin).i32(margin).i32(margin).i32(margin).u32(0);
}

}  // namespace stagefile
