// The sprite batch of the 3D device: what it queues, the order a sorting
// batch draws in (also past 100000 draws), and the runs it hands over.
#include "dd_test_env.h"
#include "media/dt_device.h"

namespace {

struct DrawnRun {
  DDSURFACEDATA* src;
  std::vector<int> xs;  // each queued draw's target x, in drawing order
};
std::vector<DrawnRun> g_runs;

int RecordRun(const DDBATCHBLIT* records, int count) {
  DrawnRun run{records[0].lpSrc, {}};
  for (int i = 0; i < count; ++i) run.xs.push_back(records[i].x);
  g_runs.push_back(std::move(run));
  return 1;
}

// Surfaces that the 3D device would draw on the video card.
class SpriteBatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lpDTCon = &m_con;
    DDBatchRunDrawer = RecordRun;
    g_runs.clear();
    for (DDSURFACEDATA* sd : {&A, &B, &C, &target}) {
      sd->lpDT = std::make_unique<DTDATA>();
      sd->nWidth = sd->nTexWidth = 64;
      sd->nHeight = sd->nTexHeight = 64;
    }
    target.lpDT->bRenderTarget = 1;
  }
  void TearDown() override {
    DDFlushBatch();
    lpDTCon = nullptr;
    DDBatchRunDrawer = DTDrawBatchRun;
  }
  void Draw(DDSURFACEDATA& src, int x) { DDBltStretch(&target, x, 0, 4, 4, &src, 0, 0, 4, 4, 0); }

  DTCONDATA m_con;
  DDSURFACEDATA A, B, C, target;
};

}  // namespace

TEST_F(SpriteBatchTest, ASortingBatchDrawsSourcesInTheOrderTheyWereRegistered) {
  DDBeginBatch(1);
  DDBatchKey(&A);
  DDBatchKey(&B);
  DDBatchKey(&A);  // a second registration changes nothing
  Draw(B, 1);
  Draw(A, 2);
  Draw(B, 3);
  Draw(C, 4);  // never registered: before all registered ones
  EXPECT_EQ(DDFlushBatch(), 1);
  ASSERT_EQ(g_runs.size(), 3u);
  EXPECT_EQ(g_runs[0].src, &C);
  EXPECT_EQ(g_runs[1].src, &A);
  EXPECT_EQ(g_runs[1].xs, std::vector<int>{2});
  EXPECT_EQ(g_runs[2].src, &B);
  EXPECT_EQ(g_runs[2].xs, (std::vector<int>{1, 3}));
  EXPECT_EQ(SpriteBatch.bOpen, 0);
  EXPECT_TRUE(SpriteBatch.records.empty() && SpriteBatch.keys.empty());
}

TEST_F(SpriteBatchTest, TheOrderHoldsPastAHundredThousandDraws) {
  DDBeginBatch(1);
  DDBatchKey(&A);
  DDBatchKey(&B);
  Draw(B, 0);
  for (int i = 0; i < 100001; ++i) Draw(A, i % 60);
  Draw(B, 1);
  EXPECT_EQ(DDFlushBatch(), 1);
  ASSERT_EQ(g_runs.size(), 2u);
  EXPECT_EQ(g_runs[0].src, &A);
  ASSERT_EQ(g_runs[0].xs.size(), 100001u);
  for (int i = 0; i < 100001; ++i) ASSERT_EQ(g_runs[0].xs[static_cast<size_t>(i)], i % 60) << i;
  EXPECT_EQ(g_runs[1].src, &B);
  EXPECT_EQ(g_runs[1].xs, (std::vector<int>{0, 1}));
}

TEST_F(SpriteBatchTest, AnUnsortedBatchKeepsQueueOrderAndSplitsRunsWhereTheStateChanges) {
  DDBeginBatch(0);
  DDBatchKey(&B);  // no effect without sorting
  Draw(B, 1);
  Draw(A, 2);
  Draw(A, 3);
  DDSetDrawColor(0x80FFFFFF);
  Draw(A, 4);
  DDResetDrawColor();
  DDBltStretch(&target, 5, 0, 4, 4, &A, 0, 0, 4, 4, 1);  // other flags
  Draw(A, 6);
  EXPECT_EQ(DDFlushBatch(), 1);
  std::vector<std::vector<int>> xs;
  for (const DrawnRun& r : g_runs) xs.push_back(r.xs);
  EXPECT_EQ(xs, (std::vector<std::vector<int>>{{1}, {2, 3}, {4}, {5}, {6}}));
}

TEST_F(SpriteBatchTest, QueuedBlitsAreClippedFirstAndNothingIsQueuedOutsideABatch) {
  DDBeginBatch(0);
  DDBltStretch(&target, 0, 0, 4, 4, &A, -2, 0, 4, 4, 0);  // half the source left of its surface
  DDBltStretch(&target, 0, 0, 4, 4, &A, 100, 0, 4, 4, 0);  // wholly outside: not queued
  ASSERT_EQ(SpriteBatch.records.size(), 1u);
  const DDBATCHBLIT& b = SpriteBatch.records[0];
  // The half that is left lands where the whole copy puts it.
  EXPECT_EQ(std::vector<int>({b.x, b.w, b.sx, b.sw}), std::vector<int>({2, 2, 0, 2}));
  EXPECT_EQ(b.dwColor, 0xFFFFFFFFu);
  EXPECT_EQ(b.nColorOp, D3DTOP_MODULATE);
  EXPECT_EQ(b.nAlphaOp, D3DTOP_SELECTARG1);
  DDFlushBatch();
  g_runs.clear();
  Draw(A, 7);  // drawn at once by the device, not queued
  EXPECT_TRUE(SpriteBatch.records.empty());
  EXPECT_EQ(DDFlushBatch(), 1);  // nothing to draw
  EXPECT_TRUE(g_runs.empty());
}
