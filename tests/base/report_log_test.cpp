#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "base/boxes.h"
#include "base/path_util.h"
#include "base/window_messages.h"
#include "base/report_log.h"
#include "platform/close_request.h"
#include "support/test_support.h"

using testsupport::ScopedWorkDir;
using testsupport::ScriptedBoxes;
using testsupport::Sjis;

namespace {

class Logs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    DebugLogInit(0, "EC_Game.txt");
    plat::ResetCloseRequests();
  }
  void TearDown() override { DebugLogInit(0, "EC_Game.txt"); }
  ScopedWorkDir m_dir;
};

}  // namespace

TEST_F(Logs, LinesAppendInCallOrderWithCrLf) {
  ReportPrintf("first %d", 1);
  ReportPrintfDebug("second %s", "two");
  ReportPrintf("%s", "100% done");
  EXPECT_EQ(m_dir.ReadFile("Report_Game.txt"), "first 1\r\nsecond two\r\n100% done\r\n");
  // The debug log is off: nothing was created.
  EXPECT_FALSE(m_dir.Exists("EC_Game.txt"));
}

TEST_F(Logs, ReportOpenEmptiesTheFileAndAppendNeedsIt) {
  ReportPrintf("old");
  ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
  EXPECT_EQ(m_dir.ReadFile("Report_Game.txt"), "");
  std::remove("Report_Game.txt");
  EXPECT_EQ(ReportPrintf("lost"), 0);
  EXPECT_EQ(ReportPrintfDebug("lost"), 0);
}

TEST_F(Logs, DebugLogFirstWriteTruncatesLaterOnesAppend) {
  m_dir.WriteFile("EC_Game.txt", "from an earlier run\r\n");
  DebugLogInit(1, "EC_Game.txt");
  EXPECT_EQ(DebugLogPuts("a"), 1);
  EXPECT_EQ(DebugLogPrintf("b%d", 2), 1);
  // Text formatted once is written unchanged.
  EXPECT_EQ(DebugLogWrite("50%s"), 1);
  EXPECT_EQ(m_dir.ReadFile("EC_Game.txt"), "a\r\nb2\r\n50%s\r\n");
  ReportPrintfDebug("both");
  EXPECT_EQ(m_dir.ReadFile("EC_Game.txt"), "a\r\nb2\r\n50%s\r\nboth\r\n");
  EXPECT_EQ(m_dir.ReadFile("Report_Game.txt"), "both\r\n");
}

TEST_F(Logs, FatalClosesEvenWithTheDebugLogOff) {
  EXPECT_EQ(DebugLogPrintf("x"), 0);
  DebugLogFatal(hWndMain, "scene failed: %s", "bmp\\x.bmp");
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
  EXPECT_FALSE(m_dir.Exists("EC_Game.txt"));
}

TEST_F(Logs, ReportErrorShowsTheBoxAndKeepsTheLine) {
  ScriptedBoxes boxes;
  ReportError("cannot read %s", "data\\System.dat");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "cannot read data\\System.dat");
  EXPECT_EQ(boxes.shown[0].caption, Sjis("エラー"));
  EXPECT_EQ(m_dir.ReadFile("Report_Game.txt"), "cannot read data\\System.dat\r\n");
}

TEST_F(Logs, LongLinesAreWrittenWhole) {
  std::string text(3000, 'z');
  ReportPrintfDebug("%s", text.c_str());
  EXPECT_EQ(m_dir.ReadFile("Report_Game.txt"), text + "\r\n");
}

TEST_F(Logs, LinesFromManyThreadsAreNeitherLostNorInterleaved) {
  const int kThreads = 8, kLines = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < kLines; ++i) ReportPrintf("thread %d line %03d %s", t, i, "payload");
    });
  for (auto& th : threads) th.join();
  std::string all = m_dir.ReadFile("Report_Game.txt");
  int lines = 0;
  size_t pos = 0;
  while (pos < all.size()) {
    size_t end = all.find("\r\n", pos);
    ASSERT_NE(end, std::string::npos);
    std::string line = all.substr(pos, end - pos);
    int t, i;
    char word[16];
    ASSERT_EQ(sscanf(line.c_str(), "thread %d line %d %15s", &t, &i, word), 3) << line;
    EXPECT_STREQ(word, "payload");
    ++lines;
    pos = end + 2;
  }
  EXPECT_EQ(lines, kThreads * kLines);
}

TEST(Boxes, TypesMapToButtonsAndAnswers) {
  ScriptedBoxes boxes({IDNO, IDOK});
  EXPECT_EQ(MessageBoxAuto("q", "c", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(ErrorBoxPrintf("%d%%", 5), IDOK);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].buttons, plat::BoxButtons::YesNo);
  EXPECT_EQ(boxes.shown[0].defaultButton, 1);
  EXPECT_EQ(boxes.shown[1].buttons, plat::BoxButtons::Ok);
  EXPECT_EQ(boxes.shown[1].text, "5%");
}

TEST(Boxes, DebugBoxOnlyWhileTheDebugLogIsOn) {
  ScriptedBoxes boxes;
  DebugLogInit(0, "EC_Game.txt");
  EXPECT_EQ(DebugBoxPrintf("x"), 0);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST(Boxes, OutOfMemoryShowsItsTextAndCloses) {
  ScriptedBoxes boxes;
  plat::ResetCloseRequests();
  OutOfMemory();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, Sjis("メモリが不足しています！"));
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
}

namespace {
int g_fullScreenCalls = 0;
int FakeFullScreenBox(const char*, const char*, unsigned) {
  ++g_fullScreenCalls;
  return IDYES;
}
}  // namespace

TEST(Boxes, FullScreenBoxesGoToTheDrawingLayer) {
  ScriptedBoxes boxes;
  SetFullScreenBox(FakeFullScreenBox);
  EXPECT_EQ(MessageBoxAuto("q", "c", MB_YESNO), IDYES);
  SetFullScreenBox(nullptr);
  EXPECT_EQ(g_fullScreenCalls, 1);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST(Boxes, WithoutADisplayTheDefaultButtonAnswers) {
  // Tests run with the dummy video driver: no box can be shown.
  EXPECT_EQ(MessageBoxAuto("q", "c", MB_YESNO), IDYES);
  EXPECT_EQ(MessageBoxAuto("q", "c", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(MessageBoxAuto("q", "c", MB_OK), IDOK);
}

TEST_F(Logs, ADebugLogThatDidNotOpenIsStillEmptiedByTheFirstWriteThatDoes) {
  DebugLogInit(1, "logs\\EC_Game.txt");
  EXPECT_EQ(DebugLogPuts("lost"), 0);  // the folder does not exist yet
  m_dir.WriteFile("logs/EC_Game.txt", "from an earlier run\r\n");
  EXPECT_EQ(DebugLogPuts("first"), 1);
  EXPECT_EQ(DebugLogPuts("second"), 1);
  EXPECT_EQ(m_dir.ReadFile("logs/EC_Game.txt"), "first\r\nsecond\r\n");

  // Naming the log again starts it afresh.
  DebugLogInit(1, "logs\\EC_Game.txt");
  EXPECT_EQ(DebugLogPuts("again"), 1);
  EXPECT_EQ(m_dir.ReadFile("logs/EC_Game.txt"), "again\r\n");
}

TEST(ReportLog, IsWrittenInAWorkingDirectoryOfAnyName) {
  for (const char* folder : {"josé", "ゲーム", "a b", "ゲーム/josé"}) {
    SCOPED_TRACE(folder);
    ScopedWorkDir dir(folder);
    // As the entry point opens it.
    std::string path = "Report_Game.txt";
    ASSERT_EQ(MakeAbsolutePath(path), 1);
    ASSERT_EQ(ReportOpen(path.c_str()), 1);
    EXPECT_EQ(ReportPrintf("App : ver %s", "734"), 1);
    EXPECT_EQ(dir.ReadFile("Report_Game.txt"), "App : ver 734\r\n");
  }
}
