// Commands of older files: every upgrade row just below its version and at
// it, then the same through a whole command read from a file.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "records/command.h"
#include "records/command_bytes.h"
#include "records/command_types.h"

namespace {

using Params = std::vector<int32_t>;

// first, first + 1, ... (n values)
Params Seq(int n, int first = 1) {
  Params p(n);
  std::iota(p.begin(), p.end(), first);
  return p;
}

// n values of `fill` with some set by index.
Params Filled(int n, int32_t fill, std::initializer_list<std::pair<int, int32_t>> set = {}) {
  Params p(n, fill);
  for (auto [i, v] : set) p[i] = v;
  return p;
}

// A status operation: changed value (p0 kind, p3 subject, p4 status) and
// operand (p6 kind, p12 subject, p13 status).
Params StatusOp(int32_t subject, int32_t status, int32_t operandSubject, int32_t operandStatus) {
  return Filled(18, 0, {{0, 0}, {3, subject}, {4, status}, {6, 2}, {12, operandSubject}, {13, operandStatus}});
}

constexpr int A = 0;  // action command
constexpr int I = 1;  // item command

struct UpgradeCase {
  int version;
  int item;
  int type;
  Params in;
  int wantType;
  Params want;
};

std::ostream& operator<<(std::ostream& os, const UpgradeCase& c) {
  return os << (c.item ? "item" : "action") << " type " << c.type << " of version " << c.version;
}

const UpgradeCase kUpgradeCases[] = {
    // 145: stage clear made 9 long (722 then moves destinations from 2 up).
    {144, A, 17, {3}, 17, {4, 0, 0, 0, 0, 0, 0, 0, 0}},
    {145, A, 17, {3}, 17, {4}},
    {144, I, 2, {1, 5}, 2, {1, 5, 0, 0, 0, 0, 0, 0, 0}},
    {145, I, 2, {1, 5}, 2, {1, 5}},
    // 166: music gets p1 = 1 (then music becomes type 36, item 21).
    {165, A, 35, {4}, 36, {4, 1}},
    {166, A, 35, {4}, 36, {4}},
    {165, I, 20, {4}, 21, {4, 1}},
    // 168 and 203: statuses from 10, then from 5, move up; system values stay.
    {167, A, 22, StatusOp(1, 10, 0, 12), 22, StatusOp(1, 12, 0, 14)},
    {168, A, 22, StatusOp(1, 10, 0, 12), 22, StatusOp(1, 11, 0, 13)},
    {167, I, 7, StatusOp(0, 10, 1, 12), 7, StatusOp(0, 12, 1, 14)},
    {167, A, 22, StatusOp(2, 10, 2, 12), 22, StatusOp(2, 10, 2, 12)},
    {202, A, 22, StatusOp(0, 5, 1, 7), 22, StatusOp(0, 6, 1, 8)},
    {203, A, 22, StatusOp(0, 5, 1, 7), 22, StatusOp(0, 5, 1, 7)},
    {202, I, 7, StatusOp(0, 4, 0, 9), 7, StatusOp(0, 4, 0, 10)},
    // 189: set target gets 0 at 2, ten long (the old ninth value is kept).
    {188, A, 21, Seq(9), 21, {1, 2, 0, 3, 4, 5, 6, 7, 8, 9}},
    {189, A, 21, Seq(9), 21, Seq(9)},
    {188, I, 6, {1, 2, 3}, 6, {1, 2, 0, 3, 0, 0, 0, 0, 0, 0}},
    // 194: pictures get 1 at 6; 545, 547 and 723 then clear p11, p12, p13, p14.
    {193, A, 31, Seq(14), 32, {1, 2, 3, 4, 5, 6, 1, 7, 8, 9, 10, 0, 0, 0, 0}},
    {194, A, 31, Seq(15), 32, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 0, 0, 0}},
    {193, I, 16, Seq(14), 17, {1, 2, 3, 4, 5, 6, 1, 7, 8, 9, 10, 0, 0, 0, 0}},
    // 195: character and screen effects get 0 at 1.
    {194, A, 29, {5, 2}, 30, {5, 0, 2}},
    {195, A, 29, {5, 2}, 30, {5, 2}},
    {194, A, 30, {6, 1}, 31, {6, 0, 1}},
    {194, I, 15, {6, 1}, 16, {6, 0, 1}},
    {195, I, 14, {6, 1}, 15, {6, 1}},
    // 203: summons lose their parameters, flow operations become 3 long; the
    // item types of the same numbers (0 and 1) have no such rows.
    {202, A, 14, {1, 2}, 14, {}},
    {203, A, 14, {1, 2}, 14, {1, 2}},
    {202, A, 15, {7}, 15, {}},
    {202, A, 16, {1}, 16, {1, 0, 0}},
    {203, A, 16, {1}, 16, {1}},
    {202, I, 0, {7}, 0, {7}},
    {202, I, 1, {1}, 1, {1}},
    // 210: the second status operation's states from 6 move up, except the system's.
    {209, A, 23, {0, 6, 1}, 23, {0, 7, 1}},
    {210, A, 23, {0, 6, 1}, 23, {0, 6, 1}},
    {209, A, 23, {2, 6, 1}, 23, {2, 6, 1}},
    {209, I, 8, {1, 6, 0}, 8, {1, 7, 0}},
    // 219: graphic kind 3 numbers move up, at most 119.
    {218, A, 25, {3, 5, 0}, 26, {3, 6, 0}},
    {218, A, 25, {3, 119, 0}, 26, {3, 119, 0}},
    {218, A, 25, {2, 5, 0}, 26, {2, 5, 0}},
    {219, A, 25, {3, 5, 0}, 26, {3, 5, 0}},
    {218, I, 10, {3, 5, 0}, 11, {3, 6, 0}},
    // 545..723: messages; p10 follows the placement (545 then 546), p11..p15
    // (547), p16 (556), p17 (723).
    {544, A, 19, {3, 9}, 19, {3, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0}},
    {545, A, 19, {3, 9}, 19, {3, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0}},
    {545, A, 19, Filled(18, 5, {{0, 7}}), 19, {7, 5, 5, 5, 5, 5, 5, 5, 5, 5, 1, 0, 0, 0, 1, 0, 1, 0}},
    {546, A, 19, Filled(18, 5, {{0, 7}}), 19, {7, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 0, 0, 0, 1, 0, 1, 0}},
    {547, A, 19, Filled(18, 5, {{0, 7}}), 19, {7, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 1, 0}},
    {556, A, 19, Filled(18, 5, {{0, 7}}), 19, {7, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 0}},
    {722, A, 19, Filled(18, 5, {{0, 7}}), 19, {7, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 0}},
    {723, A, 19, Filled(18, 5, {{0, 7}}), 19, Filled(18, 5, {{0, 7}})},
    {545, I, 4, Filled(18, 5, {{0, 0}}), 4, {0, 5, 5, 5, 5, 5, 5, 5, 5, 5, 1, 0, 0, 0, 1, 0, 1, 0}},
    {546, I, 4, Filled(18, 5, {{0, 0}}), 4, {0, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 0, 0, 0, 1, 0, 1, 0}},
    // 545, 547, 723: pictures.
    {544, A, 31, Seq(15), 32, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 0, 0, 0}},
    {545, A, 31, Seq(15), 32, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0, 0, 0}},
    {547, A, 31, Seq(15), 32, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0}},
    {723, A, 31, Seq(15), 32, Seq(15)},
    {546, I, 16, Seq(10), 17, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 0, 0, 0, 0}},
    // 722: stage clear destinations from 2 move up.
    {721, A, 17, Filled(9, 0, {{0, 2}}), 17, Filled(9, 0, {{0, 3}})},
    {721, A, 17, Filled(9, 0, {{0, 1}}), 17, Filled(9, 0, {{0, 1}})},
    {722, A, 17, Filled(9, 0, {{0, 2}}), 17, Filled(9, 0, {{0, 2}})},
    {721, I, 2, Filled(9, 0, {{0, 3}}), 2, Filled(9, 0, {{0, 4}})},
    // 726: arranges become 5 long and address shots (11); 727 moves the shot
    // parameter: 0 and 1 stay, 2..10 up by 3, 11 and above up by 7.
    {725, A, 37, {3, 4, 5, 6, 7, 8}, 38, {11, 7, 5, 6, 7}},
    {726, A, 37, {3, 4, 5, 6, 7}, 38, {3, 4, 5, 6, 7}},
    {726, A, 37, {11, 12, 0, 0, 0}, 38, {11, 19, 0, 0, 0}},
    {726, A, 37, {11, 1, 0, 0, 0}, 38, {11, 1, 0, 0, 0}},
    {726, A, 37, {11, 10, 0, 0, 0}, 38, {11, 13, 0, 0, 0}},
    {727, A, 37, {11, 12, 0, 0, 0}, 38, {11, 12, 0, 0, 0}},
    {725, I, 22, {}, 23, {11, 0, 0, 0, 0}},
    {726, I, 22, {11, 2, 0, 0, 0}, 23, {11, 5, 0, 0, 0}},
    // 734: "vanish" inserted at action 24 and item 9; arranges of types from
    // 24 follow.
    {733, A, 24, {0, 0}, 25, {0, 0}},
    {733, A, 23, {0, 6, 1}, 23, {0, 6, 1}},
    {733, A, 38, {1, 1}, 39, {1, 1}},
    {733, A, 37, {30, 1, 0, 0, 0}, 38, {31, 1, 0, 0, 0}},
    {733, A, 37, {23, 1, 0, 0, 0}, 38, {23, 1, 0, 0, 0}},
    {733, A, 37, {24, 1, 0, 0, 0}, 38, {25, 1, 0, 0, 0}},
    {734, A, 24, {0, 0, 0}, 24, {0, 0, 0}},
    {734, A, 38, {30, 1, 0, 0, 0}, 38, {30, 1, 0, 0, 0}},
    {733, I, 9, {1, 1}, 10, {1, 1}},
    {733, I, 8, {0, 6, 1}, 8, {0, 6, 1}},
    {733, I, 22, {24, 0, 0, 0, 0}, 23, {25, 0, 0, 0, 0}},
    {734, I, 9, {0, 0, 0}, 9, {0, 0, 0}},
    // Rules that read parameters the command does not have skip them.
    {167, A, 22, {0, 0, 0}, 22, {0, 0, 0}},
    {209, A, 23, {}, 23, {}},
    {218, A, 25, {3}, 26, {3}},
    {721, A, 17, {}, 17, {}},
    {725, A, 37, {}, 38, {11, 0, 0, 0, 0}},
    {733, A, 37, {}, 38, {}},
    // A type past the tables is moved but never wraps.
    {733, A, 127, {}, 127, {}},
    {733, A, 126, {}, 127, {}},
};

}  // namespace

TEST(CommandUpgrade, EveryRowJustBelowAndAtItsVersion) {
  for (const UpgradeCase& c : kUpgradeCases) {
    cEdCommand cmd;
    cmd.m_bItemCommand = static_cast<uint8_t>(c.item);
    cmd.m_nType = static_cast<int8_t>(c.type);
    cmd.m_vParams.assign(c.in.begin(), c.in.end());
    cmd.Upgrade(c.version);
    EXPECT_EQ(cmd.m_nType, c.wantType) << c;
    EXPECT_EQ(Params(cmd.m_vParams.begin(), cmd.m_vParams.end()), c.want) << c;
  }
}

TEST(CommandUpgrade, ShotGraphicAndChargeMoveRowsChangeTheirRecords) {
  struct Case {
    int version, type, graphic;
    int wantGraphic;
  } shots[] = {{219, 11, 5, 6}, {219, 11, 119, 119}, {219, 11, 200, 119}, {220, 11, 5, 5}, {219, 12, 5, 5}};
  for (const Case& c : shots) {
    cEdCommand cmd;
    cmd.m_nType = static_cast<int8_t>(c.type);
    CreateEdShot(cmd.m_spShot);
    cmd.m_spShot->m_nGraphic = static_cast<int16_t>(c.graphic);
    cmd.Upgrade(c.version);
    EXPECT_EQ(cmd.m_spShot->m_nGraphic, c.wantGraphic) << c.version << " graphic " << c.graphic;
  }
  for (int version : {513, 514}) {
    cEdCommand cmd;
    cmd.m_nType = ACTCMDTYPE_MOVE_CHARGE;
    CreateEdMove(cmd.m_spMove);
    cmd.m_spMove->m_nAngle = 30;
    cmd.m_spMove->m_nAngleStep = 4;
    cmd.m_spMove->m_bAngleMirror = 0;
    cmd.Upgrade(version);
    const cEdMove& m = *cmd.m_spMove;
    EXPECT_EQ(std::make_tuple(m.m_nAngle, m.m_nAngleStep, m.m_bAngleMirror),
              version < 514 ? std::make_tuple(0, 0, 1) : std::make_tuple(30, 4, 0))
        << version;
  }
  // Without the record the rule needs, the command stays as it is.
  cEdCommand shotless;
  shotless.m_nType = ACTCMDTYPE_SHOT;
  shotless.Upgrade(100);
  EXPECT_FALSE(shotless.m_spShot);
  cEdCommand moveless;
  moveless.m_nType = ACTCMDTYPE_MOVE_CHARGE;
  moveless.Upgrade(100);
  EXPECT_FALSE(moveless.m_spMove);
}

using CommandUpgradeOnLoad = BehaviourTest;

TEST_F(CommandUpgradeOnLoad, OldCommandsReadFromFilesEndUpgradedAndNormalised) {
  struct Case {
    int version, item, type;
    Params in;
    int wantType;
    Params want;
  } cases[] = {
      {700, A, 37, {11, 12, 0, 0, 0}, 38, {11, 19, 0, 0, 0}},
      {725, A, 37, {3, 4, 5, 6, 7, 8}, 38, {11, 7, 5, 6, 7}},
      {180, A, 21, Seq(9), 21, {1, 2, 0, 3, 4, 5, 6, 7, 8, 9}},
      {733, A, 24, {1, 3}, 25, {1, 3}},
      {733, A, 23, {0, 1, 1}, 23, {0, 1, 1}},
      {733, I, 9, {0, 2}, 10, {0, 2}},
      // Normalised after the upgrade: a message of 5 parameters ends with 18.
      {723, A, 19, {7, 1, 2, 3, 4}, 19, {7, 1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    Bytes b;
    b.u32(c.version);
    PutPlainCommand(b, c.item, c.type, c.in);
    cEdCommand cmd = LoadOne<cEdCommand>(b.s);
    EXPECT_EQ(cmd.m_nType, c.wantType) << c.version << " type " << c.type;
    EXPECT_EQ(Params(cmd.m_vParams.begin(), cmd.m_vParams.end()), c.want) << c.version << " type " << c.type;
  }
}
