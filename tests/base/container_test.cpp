#include <gtest/gtest.h>

#include <cstdint>

#include "base/report_log.h"
#include "platform/close_request.h"
#include "base/container.h"
#include "support/test_support.h"

using testsupport::ScopedWorkDir;

namespace {

struct Rec {
  int32_t a = 0;
  int32_t b = 0;
  double d = 0;
  bool operator==(const Rec& o) const { return a == o.a && b == o.b; }
};

class CheckedAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    DebugLogInit(1, "EC_Game.txt");
    plat::ResetCloseRequests();
  }
  void TearDown() override { DebugLogInit(0, "EC_Game.txt"); }
  std::string Report() { return m_dir.ReadFile("Report_Game.txt"); }
  std::string Debug() { return m_dir.ReadFile("EC_Game.txt"); }
  ScopedWorkDir m_dir;
};

}  // namespace

TEST_F(CheckedAccess, VectorGoodIndexTouchesNothing) {
  cVector<Rec> v(5);
  v[3].a = 9;
  EXPECT_EQ(v.At(3).a, 9);
  EXPECT_EQ(Report(), "");
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(CheckedAccess, VectorBadIndexReportsClosesAndReturnsTheFirstElement) {
  cVector<Rec> v(5);
  Rec& r = v.At(-1);
  EXPECT_EQ(&r, &v[0]);
  std::string line = "err V[-1] ( 5 , " + std::to_string(sizeof(Rec)) + " )\r\n";
  EXPECT_EQ(Report(), line);
  EXPECT_EQ(Debug(), line);
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
}

TEST_F(CheckedAccess, EmptyVectorReturnsADefaultElement) {
  cVector<Rec> v;
  Rec& r = v.At(0);
  EXPECT_EQ(r.a, 0);
  EXPECT_EQ(Report(), "err V[0] ( 0 , 16 )\r\n");
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
  const cVector<int16_t> shorts;
  EXPECT_EQ(shorts.At(7), 0);
  EXPECT_EQ(Report(), "err V[0] ( 0 , 16 )\r\nerr V[7] ( 0 , 2 )\r\n");
}

TEST_F(CheckedAccess, ListBadIndexReturnsOneSharedElement) {
  cList<Rec> l(3);
  l.back().a = 4;
  EXPECT_EQ(l.At(2).a, 4);
  Rec& first = l.At(3);
  Rec& second = l.At(-2);
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(Report(), "err L[3] ( 3 , 16 )\r\nerr L[-2] ( 3 , 16 )\r\n");
  EXPECT_EQ(plat::CloseRequestCount(), 2u);
}

TEST(cVector, AssignmentKeepsTheIdentityOfTheTargetsElements) {
  cVector<Rec> five(5), two(2);
  for (int i = 0; i < 5; ++i) five[i].a = 10 + i;
  two[0].a = 1;
  two[1].a = 2;

  cVector<Rec> target = five;
  const Rec* before = target.data();
  target = two;  // shrink: the first two are assigned in place
  ASSERT_EQ(target.size(), 2u);
  EXPECT_EQ(target.data(), before);
  EXPECT_EQ(target[0].a, 1);
  EXPECT_EQ(target[1].a, 2);

  target.reserve(8);
  before = target.data();
  target = five;  // grow within capacity: appended defaults, then assigned
  ASSERT_EQ(target.size(), 5u);
  EXPECT_EQ(target.data(), before);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(target[i].a, 10 + i);
}

TEST(cVector, AssignmentUsesTheElementsOwnAssignment) {
  struct Counted {
    int assigned = 0;
    int id = 0;
    Counted() = default;
    Counted(const Counted&) = default;
    Counted& operator=(const Counted& o) {
      id = o.id;
      ++assigned;
      return *this;
    }
  };
  cVector<Counted> src(3), dst(3);
  for (int i = 0; i < 3; ++i) src[i].id = i + 1;
  dst = src;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(dst[i].id, i + 1);
    EXPECT_EQ(dst[i].assigned, 1);
  }
}

TEST(cList, AssignmentKeepsTheTargetsNodes) {
  cList<int> src{1, 2}, dst{7, 8, 9};
  int* first = &dst.front();
  dst = src;
  EXPECT_EQ(dst, (cList<int>{1, 2}));
  EXPECT_EQ(&dst.front(), first);
  dst = cList<int>{4, 5, 6, 7};
  EXPECT_EQ(dst, (cList<int>{4, 5, 6, 7}));
  EXPECT_EQ(&dst.front(), first);
}

TEST(cVector, FillAndRemove) {
  cVector<uint8_t> bytes(19);
  bytes.Fill(7);
  for (uint8_t b : bytes) EXPECT_EQ(b, 7);

  int p = 0, q = 0;
  cVector<int*> ptrs{&p, &q, &p, &p};
  EXPECT_EQ(ptrs.Remove(&p), 1);
  EXPECT_EQ(ptrs, (cVector<int*>{&q}));
  EXPECT_EQ(ptrs.Remove(&p), 0);
  EXPECT_EQ(ptrs.size(), 1u);
}
