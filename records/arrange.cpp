#include "records/arrange.h"

#include <cmath>

#include "records/command_types.h"
#include "records/command_vocab.h"
#include "records/shot_tables.h"

cVector<cVector<ARRANGEPARAM>> ArrangeParamTable;

void ARRANGEPARAM::Set(const char* label, int32_t min, int32_t max) {
  strName = label ? label : "";
  nMin = min;
  nMax = max;
}

namespace {

// One field of a command: where it is and how wide (1, 2 or 4 bytes);
// width 0 when the command lacks it.
struct FIELDREF {
  void* p = nullptr;
  int width = 0;
};

FIELDREF Ref(int8_t& v) { return {&v, 1}; }
FIELDREF Ref(int16_t& v) { return {&v, 2}; }
FIELDREF Ref(int32_t& v) { return {&v, 4}; }

using LOCATE = FIELDREF (*)(cEdCommand&);

template <auto Member>
FIELDREF Move(cEdCommand& c) {
  return c.m_spMove ? Ref((*c.m_spMove).*Member) : FIELDREF{};
}
template <auto Member>
FIELDREF Shot(cEdCommand& c) {
  return c.m_spShot ? Ref((*c.m_spShot).*Member) : FIELDREF{};
}
template <int I>
FIELDREF FormParam(cEdCommand& c) {
  return c.m_spShot ? Ref(c.m_spShot->m_nFormParam[I]) : FIELDREF{};
}
template <int I>
FIELDREF PathParam(cEdCommand& c) {
  return c.m_spShot ? Ref(c.m_spShot->m_nPathParam[I]) : FIELDREF{};
}
template <int N>
FIELDREF Param(cEdCommand& c) {
  return N < c.m_vParams.Size() ? Ref(c.m_vParams[N]) : FIELDREF{};
}
FIELDREF Nothing(cEdCommand&) { return {}; }

struct ARRANGESOURCE {
  const char* label;
  int32_t min, max;
  LOCATE locate;
};

constexpr int32_t kAny = 2147483647;  // formation and trajectory bounds come from their tables

// 目標X(bl), 目標X(dot), 目標Y(bl), 目標Y(dot)
const char kTargetXBl[] = "\x96\xDA\x95\x57X(bl)";
const char kTargetXDot[] = "\x96\xDA\x95\x57X(dot)";
const char kTargetYBl[] = "\x96\xDA\x95\x57Y(bl)";
const char kTargetYDot[] = "\x96\xDA\x95\x57Y(dot)";
const char kAngle[] = "\x8A\x70\x93\x78";  // 角度
// 分身値による増加角度
const char kAngleStep[] = "\x95\xAA\x90\x67\x92\x6C\x82\xC9\x82\xE6\x82\xE9\x91\x9D\x89\xC1\x8A\x70\x93\x78";
const char kGraphic[] = "\x83\x4F\x83\x89\x83\x74\x83\x42\x83\x62\x83\x4E";  // グラフィック
const char kZ[] = "Z\x8D\xC0\x95\x57";                                       // Z座標
// フォーメーション固有1..3
const char kForm1[] = "\x83\x74\x83\x48\x81\x5B\x83\x81\x81\x5B\x83\x56\x83\x87\x83\x93\x8C\xC5\x97\x4C" "1";
const char kForm2[] = "\x83\x74\x83\x48\x81\x5B\x83\x81\x81\x5B\x83\x56\x83\x87\x83\x93\x8C\xC5\x97\x4C" "2";
const char kForm3[] = "\x83\x74\x83\x48\x81\x5B\x83\x81\x81\x5B\x83\x56\x83\x87\x83\x93\x8C\xC5\x97\x4C" "3";
const char kSide[] = "\x90\xA8\x97\xCD";                 // 勢力
const char kPower[] = "\x88\xD0\x97\xCD";                // 威力
const char kImpact[] = "\x8F\xD5\x8C\x82";               // 衝撃
const char kCount[] = "\x90\x94";                        // 数
// 存在時間(1/10s)
const char kLife[] = "\x91\xB6\x8D\xDD\x8E\x9E\x8A\xD4(1/10s)";
// 召喚位置のズレX(dot), 召喚位置のズレY(dot)
const char kSummonX[] = "\x8F\xA2\x8A\xAB\x88\xCA\x92\x75\x82\xCC\x83\x59\x83\x8CX(dot)";
const char kSummonY[] = "\x8F\xA2\x8A\xAB\x88\xCA\x92\x75\x82\xCC\x83\x59\x83\x8CY(dot)";
const char kPosXBl[] = "\x8D\xC0\x95\x57X(bl)";  // 座標X(bl)
const char kPosYBl[] = "\x8D\xC0\x95\x57Y(bl)";  // 座標Y(bl)
// 表示位置のズレX(dot), 表示位置のズレY(dot)
const char kShowX[] = "\x95\x5C\x8E\xA6\x88\xCA\x92\x75\x82\xCC\x83\x59\x83\x8CX(dot)";
const char kShowY[] = "\x95\x5C\x8E\xA6\x88\xCA\x92\x75\x82\xCC\x83\x59\x83\x8CY(dot)";
const char kZoom[] = "\x95\x5C\x8E\xA6\x94\x7B\x97\xA6(%)";       // 表示倍率(%)
const char kTargetSide[] = "\x91\xCE\x8F\xDB\x90\xA8\x97\xCD";    // 対象勢力

// Straight and charge moves.
const ARRANGESOURCE kMoveRow[] = {
    {kTargetXBl, -640, 640, Move<&cEdMove::m_nTargetX>},
    {kTargetXDot, -640, 640, Move<&cEdMove::m_nTargetDotX>},
    {kTargetYBl, -640, 640, Move<&cEdMove::m_nTargetY>},
    {kTargetYDot, -640, 640, Move<&cEdMove::m_nTargetDotY>},
    {kAngle, -7200, 7200, Move<&cEdMove::m_nAngle>},
    {kAngleStep, -7200, 7200, Move<&cEdMove::m_nAngleStep>},
};

const ARRANGESOURCE kHomingRow[] = {
    {"\x97\x55\x93\xB1\x90\xAB\x94\x5C\x82\xCC\x88\xAB\x82\xB3", 0, 10,  // 誘導性能の悪さ
     Move<&cEdMove::m_nHomingLag>},
    // 分身値による増加誘導性能の悪さ
    {"\x95\xAA\x90\x67\x92\x6C\x82\xC9\x82\xE6\x82\xE9\x91\x9D\x89\xC1\x97\x55\x93\xB1\x90\xAB\x94\x5C\x82\xCC"
     "\x88\xAB\x82\xB3",
     0, 10, Move<&cEdMove::m_nHomingLagStep>},
    {kTargetXBl, -640, 640, Move<&cEdMove::m_nTargetX>},
    {kTargetXDot, -640, 640, Move<&cEdMove::m_nTargetDotX>},
    {kTargetYBl, -640, 640, Move<&cEdMove::m_nTargetY>},
    {kTargetYDot, -640, 640, Move<&cEdMove::m_nTargetDotY>},
};

const ARRANGESOURCE kShotRow[] = {
    {kGraphic, 1, 120, Shot<&cEdShot::m_nGraphic>},
    {kZ, 0, 7, Shot<&cEdShot::m_nZ>},
    {kForm1, 0, kAny, FormParam<0>},
    {kForm2, 0, kAny, FormParam<1>},
    {kForm3, 0, kAny, FormParam<2>},
    {"\x94\xAD\x8E\xCB\x90\x94", 1, 127, Shot<&cEdShot::m_nCount>},  // 発射数
    // 発射数に対する分身数
    {"\x94\xAD\x8E\xCB\x90\x94\x82\xC9\x91\xCE\x82\xB7\x82\xE9\x95\xAA\x90\x67\x90\x94", 0, 20,
     Shot<&cEdShot::m_nClones>},
    {"\x8A\x70\x93\x78\x82\xCC\x83\x59\x83\x8C", -7200, 7200, Shot<&cEdShot::m_nAngle>},  // 角度のズレ
    // 分身値による角度のズレ
    {"\x95\xAA\x90\x67\x92\x6C\x82\xC9\x82\xE6\x82\xE9\x8A\x70\x93\x78\x82\xCC\x83\x59\x83\x8C", -7200, 7200,
     Shot<&cEdShot::m_nAngleStep>},
    {"\x95\xAA\x8E\x55\x8A\x70\x93\x78", 0, 180, Shot<&cEdShot::m_nSpread>},  // 分散角度
    // 発射位置のズレX(dot), 分身値による発射位置のズレX(dot), the same for Y
    {"\x94\xAD\x8E\xCB\x88\xCA\x92\x75\x82\xCC\x83\x59\x83\x8CX(dot)", -640, 640, Shot<&cEdShot::m_nOffsetX>},
    {"\x95\xAA\x90\x67\x92\x6C\x82\xC9\x82\xE6\x82\xE9\x94\xAD\x8E\xCB\x88\xCA\x92\x75\x82\xCC\x83\x59\x83\x8C"
     "X(dot)",
     -640, 640, Shot<&cEdShot::m_nOffsetXStep>},
    {"\x94\xAD\x8E\xCB\x88\xCA\x92\x75\x82\xCC\x83\x59\x83\x8CY(dot)", -640, 640, Shot<&cEdShot::m_nOffsetY>},
    {"\x95\xAA\x90\x67\x92\x6C\x82\xC9\x82\xE6\x82\xE9\x94\xAD\x8E\xCB\x88\xCA\x92\x75\x82\xCC\x83\x59\x83\x8C"
     "Y(dot)",
     -640, 640, Shot<&cEdShot::m_nOffsetYStep>},
    {kSide, 0, 7, Shot<&cEdShot::m_nSide>},
    // 移動タイプ固有1..3
    {"\x88\xDA\x93\xAE\x83\x5E\x83\x43\x83\x76\x8C\xC5\x97\x4C" "1", 0, kAny, PathParam<0>},
    {"\x88\xDA\x93\xAE\x83\x5E\x83\x43\x83\x76\x8C\xC5\x97\x4C" "2", 0, kAny, PathParam<1>},
    {"\x88\xDA\x93\xAE\x83\x5E\x83\x43\x83\x76\x8C\xC5\x97\x4C" "3", 0, kAny, PathParam<2>},
    {"\x91\xAC\x93\x78", -200, 200, Shot<&cEdShot::m_nSpeed>},  // 速度
    // 分身値による増加速度
    {"\x95\xAA\x90\x67\x92\x6C\x82\xC9\x82\xE6\x82\xE9\x91\x9D\x89\xC1\x91\xAC\x93\x78", -200, 200,
     Shot<&cEdShot::m_nSpeedStep>},
    {"\x89\xC1\x91\xAC\x93\x78", -200, 200, Shot<&cEdShot::m_nAccel>},  // 加速度
    // 分身値による増加加速度
    {"\x95\xAA\x90\x67\x92\x6C\x82\xC9\x82\xE6\x82\xE9\x91\x9D\x89\xC1\x89\xC1\x91\xAC\x93\x78", -200, 200,
     Shot<&cEdShot::m_nAccelStep>},
    {"\x94\xF2\x8B\x97\x97\xA3(hbl)", 0, 64, Shot<&cEdShot::m_nRange>},  // 飛距離(hbl)
    // 分身値による増加飛距離
    {"\x95\xAA\x90\x67\x92\x6C\x82\xC9\x82\xE6\x82\xE9\x91\x9D\x89\xC1\x94\xF2\x8B\x97\x97\xA3", -40, 40,
     Shot<&cEdShot::m_nRangeStep>},
    {kLife, 1, 999, Shot<&cEdShot::m_nLife>},
    // 分身値よる増加存在時間
    {"\x95\xAA\x90\x67\x92\x6C\x82\xE6\x82\xE9\x91\x9D\x89\xC1\x91\xB6\x8D\xDD\x8E\x9E\x8A\xD4", -99, 99,
     Shot<&cEdShot::m_nLifeStep>},
    {"\x8F\xC1\x96\xC5\x92\x6C", 1, 9, Shot<&cEdShot::m_nVanish>},  // 消滅値
    {kPower, -999999, 999999, Shot<&cEdShot::m_nPower>},
    {kImpact, -20, 20, Shot<&cEdShot::m_nImpact>},
};

const ARRANGESOURCE kSwordRow[] = {
    {kSide, 0, 7, Shot<&cEdShot::m_nSide>},
    {kZ, 0, 7, Shot<&cEdShot::m_nZ>},
    {kPower, -999999, 999999, Shot<&cEdShot::m_nPower>},
    {kImpact, -20, 20, Shot<&cEdShot::m_nImpact>},
};

const ARRANGESOURCE kSummonBlockRow[] = {
    {kForm1, 0, kAny, FormParam<0>},
    {kForm2, 0, kAny, FormParam<1>},
    {kForm3, 0, kAny, FormParam<2>},
    {kCount, 1, 127, Shot<&cEdShot::m_nCount>},
    {kSummonX, -640, 640, Shot<&cEdShot::m_nOffsetX>},
    {kSummonY, -640, 640, Shot<&cEdShot::m_nOffsetY>},
};

// A summoned character's or item's life is the shot record's range.
const ARRANGESOURCE kSummonCharaRow[] = {
    {kLife, 1, 9999, Shot<&cEdShot::m_nRange>},
    {kSide, 0, 7, Shot<&cEdShot::m_nSide>},
    {kForm1, 0, kAny, FormParam<0>},
    {kForm2, 0, kAny, FormParam<1>},
    {kForm3, 0, kAny, FormParam<2>},
    {kCount, 1, 127, Shot<&cEdShot::m_nCount>},
    {kSummonX, -640, 640, Shot<&cEdShot::m_nOffsetX>},
    {kSummonY, -640, 640, Shot<&cEdShot::m_nOffsetY>},
};

const ARRANGESOURCE kSummonItemRow[] = {
    {kLife, 1, 9999, Shot<&cEdShot::m_nRange>},
    {kForm1, 0, kAny, FormParam<0>},
    {kForm2, 0, kAny, FormParam<1>},
    {kForm3, 0, kAny, FormParam<2>},
    {kCount, 1, 127, Shot<&cEdShot::m_nCount>},
    {kSummonX, -640, 640, Shot<&cEdShot::m_nOffsetX>},
    {kSummonY, -640, 640, Shot<&cEdShot::m_nOffsetY>},
};

const ARRANGESOURCE kStageClearRow[] = {
    {"\x8E\x9F\x82\xCC\x83\x58\x83\x65\x81\x5B\x83\x57\x82\xCC\x94\xD4\x8D\x86", 1, 99, Param<1>},  // 次のステージの番号
    // 次のステージの初期位置X(bl), 次のステージの初期位置Y(bl)
    {"\x8E\x9F\x82\xCC\x83\x58\x83\x65\x81\x5B\x83\x57\x82\xCC\x8F\x89\x8A\xFA\x88\xCA\x92\x75X(bl)", 0, 999,
     Param<6>},
    {"\x8E\x9F\x82\xCC\x83\x58\x83\x65\x81\x5B\x83\x57\x82\xCC\x8F\x89\x8A\xFA\x88\xCA\x92\x75Y(bl)", 0, 999,
     Param<7>},
    // クリア後のワールドマップの位置X, クリア後のワールドマップの位置Y
    {"\x83\x4E\x83\x8A\x83\x41\x8C\xE3\x82\xCC\x83\x8F\x81\x5B\x83\x8B\x83\x68\x83\x7D\x83\x62\x83\x76\x82\xCC"
     "\x88\xCA\x92\x75X",
     0, 999, Param<3>},
    {"\x83\x4E\x83\x8A\x83\x41\x8C\xE3\x82\xCC\x83\x8F\x81\x5B\x83\x8B\x83\x68\x83\x7D\x83\x62\x83\x76\x82\xCC"
     "\x88\xCA\x92\x75Y",
     0, 999, Param<4>},
};

const ARRANGESOURCE kMessageRow[] = {
    {"\x83\x81\x83\x62\x83\x5A\x81\x5B\x83\x57ID", 0, 999, Param<13>},  // メッセージID
    {kPosXBl, 0, 20, Param<1>},
    {kPosYBl, 0, 15, Param<2>},
    {kShowX, -999, 999, Param<3>},
    {kShowY, -999, 999, Param<4>},
};

const ARRANGESOURCE kWarpRow[] = {
    {"\x8B\x97\x97\xA3(hbl)", 0, 64, Move<&cEdMove::m_nDistance>},  // 距離(hbl)
    // 分身値による増加距離(hbl)
    {"\x95\xAA\x90\x67\x92\x6C\x82\xC9\x82\xE6\x82\xE9\x91\x9D\x89\xC1\x8B\x97\x97\xA3(hbl)", -40, 40,
     Move<&cEdMove::m_nDistanceStep>},
    {kTargetXBl, -640, 640, Move<&cEdMove::m_nTargetX>},
    {kTargetYBl, -640, 640, Move<&cEdMove::m_nTargetY>},
    // 目標Xのズレ(dot), 目標Yのズレ(dot)
    {"\x96\xDA\x95\x57X\x82\xCC\x83\x59\x83\x8C(dot)", -640, 640, Move<&cEdMove::m_nTargetDotX>},
    {"\x96\xDA\x95\x57Y\x82\xCC\x83\x59\x83\x8C(dot)", -640, 640, Move<&cEdMove::m_nTargetDotY>},
};

const ARRANGESOURCE kSetTargetRow[] = {
    {kTargetSide, 0, 7, Param<1>},
    {"\x91\xCE\x8F\xDB\x83\x4C\x83\x83\x83\x89ID", 0, 99, Param<9>},  // 対象キャラID
};

const ARRANGESOURCE kStatusOpRow[] = {
    {"\x97\x90\x90\x94\x82\xCC\x8D\xC5\x8F\xAC\x92\x6C", -999999, 999999, Param<8>},  // 乱数の最小値
    {"\x97\x90\x90\x94\x82\xCC\x8D\xC5\x91\xE5\x92\x6C", -999999, 999999, Param<9>},  // 乱数の最大値
};

const ARRANGESOURCE kVanishRow[] = {
    {kTargetSide, 0, 7, Param<1>},
};

const ARRANGESOURCE kGraphicRow[] = {
    {kGraphic, 1, 119, Param<1>},
    {"\x83\x59\x83\x8C", -999, 999, Param<2>},  // ズレ
};

const ARRANGESOURCE kEffectRow[] = {
    {kPosXBl, 0, 511, Param<2>},
    {kPosYBl, 0, 511, Param<3>},
    {kShowX, -999, 999, Param<4>},
    {kShowY, -999, 999, Param<5>},
    {kZoom, 1, 1000, Param<6>},
};

const ARRANGESOURCE kPictureRow[] = {
    {"\x83\x73\x83\x4E\x83\x60\x83\x83\x81\x5BID", 0, 999, Nothing},  // ピクチャーID
    {kPosXBl, 0, 511, Param<2>},
    {kPosYBl, 0, 511, Param<3>},
    {kShowX, -999, 999, Param<4>},
    {kShowY, -999, 999, Param<5>},
    {kZoom, 1, 1000, Param<7>},
};

const ARRANGESOURCE kScreenColorRow[] = {
    {"R", 0, 255, Param<0>},
    {"G", 0, 255, Param<1>},
    {"B", 0, 255, Param<2>},
    {"%", 0, 100, Param<3>},
};

const ARRANGESOURCE kBackgroundRow[] = {
    {"\x94\x77\x8C\x69\x94\xD4\x8D\x86", 1, 8, Param<0>},  // 背景番号
};

struct ARRANGEROW {
  const ARRANGESOURCE* params = nullptr;
  int count = 0;
  bool bHasOps = false;
};

template <size_t N>
constexpr ARRANGEROW Row(const ARRANGESOURCE (&params)[N]) {
  return {params, static_cast<int>(N), true};
}
constexpr ARRANGEROW kOpsWithoutParams = {nullptr, 0, true};

// Indexed by action type; types not named have no arrange operations.
struct ARRANGEROWS {
  ARRANGEROW rows[ACTCMDTYPE_COUNT];
  ARRANGEROWS() {
    rows[ACTCMDTYPE_MOVE_STRAIGHT] = Row(kMoveRow);
    rows[ACTCMDTYPE_MOVE_GROUND_TURN] = kOpsWithoutParams;
    rows[ACTCMDTYPE_MOVE_CIRCLE] = kOpsWithoutParams;
    rows[ACTCMDTYPE_MOVE_CHARGE] = Row(kMoveRow);
    rows[ACTCMDTYPE_MOVE_HOMING] = Row(kHomingRow);
    rows[ACTCMDTYPE_MOVE_AVOID_OFFSCREEN] = kOpsWithoutParams;
    rows[ACTCMDTYPE_SHOT] = Row(kShotRow);
    rows[ACTCMDTYPE_SWORD] = Row(kSwordRow);
    rows[ACTCMDTYPE_SUMMON_BLOCK] = Row(kSummonBlockRow);
    rows[ACTCMDTYPE_SUMMON_CHARA] = Row(kSummonCharaRow);
    rows[ACTCMDTYPE_SUMMON_ITEM] = Row(kSummonItemRow);
    rows[ACTCMDTYPE_STAGE_CLEAR] = Row(kStageClearRow);
    rows[ACTCMDTYPE_MESSAGE] = Row(kMessageRow);
    rows[ACTCMDTYPE_WARP] = Row(kWarpRow);
    rows[ACTCMDTYPE_SET_TARGET] = Row(kSetTargetRow);
    rows[ACTCMDTYPE_STATUS_OP] = Row(kStatusOpRow);
    rows[ACTCMDTYPE_VANISH] = Row(kVanishRow);
    rows[ACTCMDTYPE_CHANGE_GRAPHIC] = Row(kGraphicRow);
    rows[ACTCMDTYPE_PLAY_EFFECT] = Row(kEffectRow);
    rows[ACTCMDTYPE_SHOW_PICTURE] = Row(kPictureRow);
    rows[ACTCMDTYPE_SCREEN_COLOR] = Row(kScreenColorRow);
    rows[ACTCMDTYPE_CHANGE_BACKGROUND] = Row(kBackgroundRow);
  }
};

const ARRANGEROW* FindRow(int type) {
  static const ARRANGEROWS kRows;
  if (type < 0 || type >= ACTCMDTYPE_COUNT || !kRows.rows[type].bHasOps) return nullptr;
  return &kRows.rows[type];
}

FIELDREF Locate(int type, int n, cEdCommand& command) {
  const ARRANGEROW* row = FindRow(type);
  if (!row || n < 0 || n >= row->count) return {};
  return row->params[n].locate(command);
}

int64_t Clamp(int64_t v, int64_t lo, int64_t hi) { return v < lo ? lo : v > hi ? hi : v; }

// The operand variable; false when the kind is unknown or the index outside
// the variables it may use.
bool Operand(const ARRANGEOP& op, const ARRANGEVARS& vars, int64_t& out) {
  const cVector<int32_t>* list = nullptr;
  int first = 1;
  switch (op[3]) {
    case VARKIND_COMMON:
      list = vars.pCommon;
      break;
    case VARKIND_STAGE:
      list = vars.pStage;
      break;
    case VARKIND_CHARA:
      list = vars.pChara;
      first = 0;
      break;
    default:
      return false;
  }
  const int32_t v = op[4];
  if (!list || v < first || v >= list->Size()) return false;
  out = (*list)[v];
  return true;
}

// The formation and trajectory parameters of the shot rows take the range of
// the shot's own formation or trajectory; false when that lies outside its
// table. Rows and indexes: shot 2..4, block summon 0..2, character summon
// 2..4, item summon 1..3 are formation parameters; shot 15..17 trajectory.
bool ShotKindBounds(int type, int n, const cEdCommand& command, int64_t& min, int64_t& max) {
  int first = -1;
  if (type == ACTCMDTYPE_SHOT || type == ACTCMDTYPE_SUMMON_CHARA) first = 2;
  if (type == ACTCMDTYPE_SUMMON_BLOCK) first = 0;
  if (type == ACTCMDTYPE_SUMMON_ITEM) first = 1;
  const cEdShot* shot = command.m_spShot.get();
  if (first >= 0 && n >= first && n < first + SHOTKIND_PARAMS) {
    if (!shot || shot->m_nForm < 0 || shot->m_nForm >= SHOTFORM_COUNT) return false;
    const PARAMDESC& d = ShotFormTable[shot->m_nForm].aParam[n - first];
    min = d.nMin;
    max = d.nMax;
  }
  if (type == ACTCMDTYPE_SHOT && n >= 15 && n < 15 + SHOTKIND_PARAMS) {
    if (!shot || shot->m_nPath < 0 || shot->m_nPath >= SHOTPATH_COUNT) return false;
    const PARAMDESC& d = ShotPathTable[shot->m_nPath].aParam[n - 15];
    min = d.nMin;
    max = d.nMax;
  }
  return true;
}

// Half away from zero.
int64_t RoundHalfAway(double x) {
  double r = x >= 0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5);
  // A product of two int32 values times 0.01 stays far inside int64.
  return static_cast<int64_t>(r);
}

}  // namespace

void BuildArrangeParamTable() {
  ArrangeParamTable.clear();
  ArrangeParamTable.resize(ACTCMDTYPE_COUNT);
  for (int t = 0; t < ACTCMDTYPE_COUNT; ++t) {
    const ARRANGEROW* row = FindRow(t);
    if (!row) continue;
    cVector<ARRANGEPARAM>& entries = ArrangeParamTable[t];
    entries.resize(row->count);
    for (int n = 0; n < row->count; ++n) entries[n].Set(row->params[n].label, row->params[n].min, row->params[n].max);
  }
}

bool HasArrangeOps(int type) { return FindRow(type) != nullptr; }

bool GetArrangeParam(int type, int n, const cEdCommand& command, int32_t& out) {
  FIELDREF f = Locate(type, n, const_cast<cEdCommand&>(command));  // only read
  switch (f.width) {
    case 1:
      out = *static_cast<int8_t*>(f.p);
      return true;
    case 2:
      out = *static_cast<int16_t*>(f.p);
      return true;
    case 4:
      out = *static_cast<int32_t*>(f.p);
      return true;
    default:
      return false;
  }
}

bool SetArrangeParam(int type, int n, cEdCommand& command, int32_t value) {
  FIELDREF f = Locate(type, n, command);
  switch (f.width) {
    case 1:
      *static_cast<int8_t*>(f.p) = static_cast<int8_t>(Clamp(value, INT8_MIN, INT8_MAX));
      return true;
    case 2:
      *static_cast<int16_t*>(f.p) = static_cast<int16_t>(Clamp(value, INT16_MIN, INT16_MAX));
      return true;
    case 4:
      *static_cast<int32_t*>(f.p) = value;
      return true;
    default:
      return false;
  }
}

void ApplyArrange(cEdCommand& command, const ARRANGEOP& op, const ARRANGEVARS& vars) {
  const int type = command.ArrangeType();
  if (op[0] != type || !HasArrangeOps(type)) return;
  const int n = op[1];
  if (n < 0 || type >= ArrangeParamTable.Size() || n >= ArrangeParamTable[type].Size()) return;
  int32_t stored;
  if (!GetArrangeParam(type, n, command, stored)) return;
  int64_t c;
  if (!Operand(op, vars, c)) return;
  int64_t min = ArrangeParamTable[type][n].nMin;
  int64_t max = ArrangeParamTable[type][n].nMax;
  if (!ShotKindBounds(type, n, command, min, max)) return;

  int64_t current = stored;
  switch (op[2]) {
    case CALCOP_SET:
      current = c;
      break;
    case CALCOP_ADD:
      current += c;
      break;
    case CALCOP_SUB:
      current -= c;
      break;
    case CALCOP_MUL:
      current *= c;
      break;
    case CALCOP_DIV:
      if (c != 0) current /= c;
      break;
    case CALCOP_MOD:
      if (c != 0) current %= c;
      break;
    case CALCOP_PERCENT:
      current = RoundHalfAway(static_cast<double>(current * c) * 0.01);
      break;
    default:
      break;
  }
  if (current < min)
    current = min;
  else if (current > max)
    current = max;
  SetArrangeParam(type, n, command, static_cast<int32_t>(Clamp(current, INT32_MIN, INT32_MAX)));
}

void ApplyFlowArranges(cEdCommand& command, const ARRANGEVARS& vars, const cVector<ARRANGEOP>* pPending) {
  if (!pPending) return;
  for (const ARRANGEOP& op : *pPending) ApplyArrange(command, op, vars);
}

void ApplyCharaArranges(cEdCommand& command, const ARRANGEVARS& vars, const cVector<ARRANGEOP>& pending) {
  for (const ARRANGEOP& op : pending) ApplyArrange(command, op, vars);
}
