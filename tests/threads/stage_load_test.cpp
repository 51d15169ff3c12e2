// LoadStage: the file it picks, its checks and their messages, the read on
// thLoad while the calling thread serves its messages, a quit message
// during the read, and the running stage left as it was by every failure.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "base/report_log.h"
#include "base/thread.h"
#include "platform/close_request.h"
#include "platform/host_path.h"
#include "platform/messages.h"
#include "records/common_palette.h"
#include "records/stage_load.h"
#include "support/test_support.h"
#include "threads/wait_until.h"

using testsupport::ScopedWorkDir;
using testsupport::ScriptedBoxes;
using testsupport::Sjis;
using testsupport::WaitUntil;

namespace {

// "ステージファイル %s の読み込みに失敗しました！" and the others, by path.
std::string ReadFailed(const std::string& path) {
  return Sjis("ステージファイル ") + path + Sjis(" の読み込みに失敗しました！");
}
std::string Damaged(const std::string& path) {
  return Sjis("ステージファイル ") + path + Sjis(" が破損しています！");
}
std::string NoHero() { return Sjis("主人公が配置されていないのでプレイできません！"); }

// The bytes of a stage named `name`; with a hero unless told otherwise.
std::string StageBytes(const std::string& name, bool hero = true) {
  cEdStage s;
  s.m_strName = name;
  s.m_nWidth = 30;
  s.m_vText.resize(1);
  s.m_vText[0].m_strText = name + " text";
  cEdChara chara;
  chara.m_nGraphic = 3;
  chara.m_nOperator = hero ? 0 : 1;
  s.m_vPlacedChara.push_back(chara);
  cDataWriter w;
  s.Save(w);
  return w.Bytes();
}

// A file of the version with the given last word after it.
std::string Tailed(uint32_t version, uint32_t last) {
  std::string b(8, '\0');
  for (int i = 0; i < 4; ++i) {
    b[i] = static_cast<char>(version >> (8 * i));
    b[4 + i] = static_cast<char>(last >> (8 * i));
  }
  return b;
}

class StageLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    plat::ResetCloseRequests();
    Stage.Reset();
    Stage.m_strName = "running";
    Stage.m_strPath = "data\\stg4\\running.stg4_000";
    StageCopy.Reset();
    StageCopy.m_strName = "running copy";
  }
  void TearDown() override {
    thLoad.Exit();
    Stage.Reset();
    Stage.m_strPath.clear();
    StageCopy.Reset();
    DebugLogInit(0, "EC_Game.txt");
  }
  // The running stage and its copy as the set-up left them.
  void ExpectStageUntouched() {
    EXPECT_EQ(Stage.m_strName, "running");
    EXPECT_EQ(Stage.m_strPath, "data\\stg4\\running.stg4_000");
    EXPECT_EQ(StageCopy.m_strName, "running copy");
  }
  ScopedWorkDir m_dir;
};

}  // namespace

TEST_F(StageLoadTest, ANumberedNameLoadsItsNewestVersionIntoStageAndCopy) {
  m_dir.WriteFile("data/stg4/a.stg4_002", StageBytes("two"));
  m_dir.WriteFile("data/stg4/a.stg4_010", StageBytes("ten"));
  ScriptedBoxes boxes;
  ASSERT_EQ(LoadStage("data\\stg4\\a.stg", 1, &StageCopy), 1);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(Stage.m_strPath, "data\\stg4\\a.stg4_010");
  EXPECT_EQ(Stage.m_strName, "ten");
  EXPECT_EQ(Stage.m_bLoaded, 1);
  EXPECT_EQ(Stage.FindHero(), 0);
  EXPECT_FALSE(thLoad.HasThread());
  // The copy holds the settings and nothing placed.
  EXPECT_EQ(StageCopy.m_strName, "ten");
  EXPECT_EQ(StageCopy.m_nWidth, 30);
  EXPECT_EQ(StageCopy.m_nSpeedLevel, Stage.m_nSpeedLevel);
  ASSERT_EQ(StageCopy.m_vText.Size(), 1);
  EXPECT_EQ(StageCopy.m_vText[0].m_strText, "ten text");
  EXPECT_EQ(StageCopy.m_vBackground.Size(), Stage.m_vBackground.Size());
  EXPECT_EQ(StageCopy.m_RuleCharaShot.m_nTopMargin, 10);
  EXPECT_EQ(StageCopy.m_vRanked, Stage.m_vRanked);
  EXPECT_TRUE(StageCopy.m_vPlacedChara.empty());
  EXPECT_TRUE(StageCopy.m_vPlacedBlock.empty());
  EXPECT_TRUE(StageCopy.m_vPlacedItem.empty());
  EXPECT_TRUE(StageCopy.m_vPaletteBlock.empty());
  EXPECT_TRUE(StageCopy.m_vPaletteChara.empty());
  EXPECT_TRUE(StageCopy.m_vPaletteItem.empty());

  m_dir.WriteFile("data/stg4/b.stg4_000", StageBytes("zero"));
  ASSERT_EQ(LoadStage("data\\stg4\\b.stg4", 1, nullptr), 1);
  EXPECT_EQ(Stage.m_strName, "zero");
  EXPECT_EQ(StageCopy.m_strName, "ten") << "no target, no copy";
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(StageLoadTest, ANameWithoutNumberedFilesFailsSilently) {
  m_dir.WriteFile("data/stg4/c.stg4", StageBytes("plain"));
  ScriptedBoxes boxes;
  EXPECT_EQ(LoadStage("data\\stg4\\c.stg4", 1, &StageCopy), 0);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
  ExpectStageUntouched();
}

// From version 174 the last word must be the trailer; a damaged file is
// not read at all and the program is asked to close.
TEST_F(StageLoadTest, TheTrailerDecidesWhetherTheFileIsRead) {
  struct Case {
    const char* what;
    std::string bytes;
    bool damaged;
  } cases[] = {
      {"a wrong last word", Tailed(174, 0x075BCD16), true},
      {"a wrong last word, current version", Tailed(734, 0), true},
      {"too short for the trailer", Tailed(734, 0).substr(0, 6), true},
      {"only the version word", Tailed(200, 0).substr(0, 4), true},
      {"shorter than the version word", std::string("\x01\x02", 2), true},
      {"version 173: not examined", Tailed(173, 0), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    plat::ResetCloseRequests();
    m_dir.WriteFile("data/stg4/d.stg4", c.bytes);
    ScriptedBoxes boxes;
    EXPECT_EQ(LoadStage("data\\stg4\\d.stg4", 0, &StageCopy), 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    if (c.damaged) {
      EXPECT_EQ(boxes.shown[0].text, Damaged("data\\stg4\\d.stg4"));
      EXPECT_EQ(plat::CloseRequestCount(), 1u);
    } else {
      EXPECT_EQ(boxes.shown[0].text, ReadFailed("data\\stg4\\d.stg4")) << "read, but cut short";
      EXPECT_EQ(plat::CloseRequestCount(), 0u);
    }
    EXPECT_EQ(boxes.shown[0].caption, Sjis("エラー"));
    ExpectStageUntouched();
  }
  EXPECT_EQ(CheckStageFile("data\\stg4\\missing.stg4"), 1) << "a file that does not open passes";
}

TEST_F(StageLoadTest, AnExactPathThatDoesNotExistReportsTheReadAndGoesOn) {
  ScriptedBoxes boxes;
  EXPECT_EQ(LoadStage("data\\stg4\\none.stg4_000", 0, &StageCopy), 0);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, ReadFailed("data\\stg4\\none.stg4_000"));
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
  EXPECT_FALSE(thLoad.HasThread());
  ExpectStageUntouched();
}

TEST_F(StageLoadTest, AStageWithoutHeroIsRefusedAndTheRunningStageStays) {
  m_dir.WriteFile("data/stg4/e.stg4_000", StageBytes("no hero", false));
  ScriptedBoxes boxes;
  EXPECT_EQ(LoadStage("data\\stg4\\e.stg4", 1, &StageCopy), 0);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, NoHero());
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
  ExpectStageUntouched();
}

TEST_F(StageLoadTest, AFileCutInsideItsListsIsAFailedRead) {
  std::string bytes = StageBytes("cut");
  // Keeps the trailer, so the check passes, but drops bytes before it.
  bytes.erase(bytes.size() - 40, 36);
  m_dir.WriteFile("data/stg4/f.stg4_000", bytes);
  ScriptedBoxes boxes;
  EXPECT_EQ(LoadStage("data\\stg4\\f.stg4", 1, &StageCopy), 0);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, ReadFailed("data\\stg4\\f.stg4_000"));
  ExpectStageUntouched();
}

// The worker is held inside its read: the common palette's answer, which
// the placed block's inheritance asks for, waits on any thread but the
// caller's until the test lets it go. What happens meanwhile is certain.
std::atomic<int> g_held{0};
std::atomic<int> g_release{0};
std::thread::id g_caller;
PaletteSizeSource g_commonSizes = nullptr;

int HeldCommonSizes(int list) {
  if (std::this_thread::get_id() != g_caller) {
    g_held = 1;
    WaitUntil([] { return g_release.load() != 0; }, 20000);
  }
  return g_commonSizes(list);
}

class StageLoadWhileReading : public StageLoadTest {
 protected:
  void SetUp() override {
    StageLoadTest::SetUp();
    CommonPalette.m_vPaletteBlock.resize(2);
    cEdStage s;
    s.m_strName = "slow";
    cEdChara hero;
    hero.m_nGraphic = 1;
    hero.m_nOperator = 0;
    s.m_vPlacedChara.push_back(hero);
    cEdBlock block;
    block.m_nPaletteKind = PALETTEKIND_COMMON;
    block.m_nPaletteIndex = 1;
    s.m_vPlacedBlock.push_back(block);
    cDataWriter w;
    s.Save(w);
    m_dir.WriteFile("slow.stg4", w.Bytes());
    g_held = 0;
    g_release = 0;
    g_caller = std::this_thread::get_id();
    g_commonSizes = GetPaletteSizeSource(PALETTEKIND_COMMON);
    SetPaletteSizeSource(PALETTEKIND_COMMON, HeldCommonSizes);
  }
  void TearDown() override {
    g_release = 1;
    SetPaletteSizeSource(PALETTEKIND_COMMON, g_commonSizes);
    CommonPalette = cEdCommonPalette();
    StageLoadTest::TearDown();
  }
};

std::atomic<int> g_served{0};
std::atomic<int> g_servedWhileHeld{0};

TEST_F(StageLoadWhileReading, MessagesToTheCallingThreadAreServedDuringTheRead) {
  g_served = 0;
  g_servedWhileHeld = 0;
  plat::WindowHandle window = plat::CreateMessageWindow([](plat::WindowHandle, uint32_t message, uintptr_t, intptr_t) -> intptr_t {
    if (message == WM_USER + 50) {
      g_servedWhileHeld = g_held.load() && !g_release.load() && thLoad.HasThread() ? 1 : 0;
      // A file of an old version read here meanwhile: its version is this
      // thread's, never the worker's.
      std::string old("\x3C\0\0\0\x05\0\0\0", 8);
      old.append(20, '\0');
      old.append("\x01\0\0\0", 4);
      cDataReader r(old);
      cEdBackground layer;
      layer.Load(r);
      ++g_served;
    }
    return 0;
  });
  std::thread helper([&] {
    WaitUntil([] { return g_held.load() != 0; });
    plat::Post(window, WM_USER + 50, 0, 0);
    WaitUntil([] { return g_served.load() > 0; });
    g_release = 1;
  });
  ScriptedBoxes boxes;
  int loaded = LoadStage("slow.stg4", 0, &StageCopy);
  helper.join();
  plat::DestroyMessageWindow(window);
  EXPECT_EQ(loaded, 1);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(g_served.load(), 1);
  EXPECT_EQ(g_servedWhileHeld.load(), 1);
  EXPECT_EQ(Stage.m_strName, "slow");
  ASSERT_EQ(Stage.m_vPlacedBlock.Size(), 1);
  EXPECT_EQ(Stage.m_vPlacedBlock[0].m_nPaletteIndex, 1);
  // No upgrade of an old file ran on the stage.
  EXPECT_EQ(Stage.m_bStartBanner2, 1);
  EXPECT_EQ(Stage.m_bBgmLoop, 0);
  EXPECT_EQ(Stage.m_nHitBoxColor, 0);
}

TEST_F(StageLoadWhileReading, AQuitDuringTheReadEndsTheWaitAndJoinsTheWorker) {
  m_dir.WriteFile("EC_Game.txt", "");
  DebugLogInit(1, "EC_Game.txt");
  const uint32_t caller = plat::CurrentThreadId();
  std::thread helper([&] {
    WaitUntil([] { return g_held.load() != 0; });
    plat::PostToThread(caller, WM_QUIT, 3, 0);
    // The caller has taken the quit and waits for the worker to end.
    WaitUntil([&] { return m_dir.ReadFile("EC_Game.txt").find("msg.message == WM_QUIT") != std::string::npos; });
    g_release = 1;
  });
  ScriptedBoxes boxes;
  int loaded = LoadStage("slow.stg4", 0, &StageCopy);
  helper.join();
  EXPECT_EQ(loaded, 0);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_FALSE(thLoad.HasThread()) << "the worker was joined";
  ExpectStageUntouched();
  // The quit is left for the caller's own loop.
  plat::Message msg;
  ASSERT_TRUE(plat::Peek(msg));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
}

// A pipe gives its bytes to one reader only: a load that opened its file
// again after the trailer test would find nothing the second time.
TEST_F(StageLoadTest, TheFileIsOpenedAndReadOnce) {
  ASSERT_TRUE(plat::CreateDirectory("data"));
  ASSERT_TRUE(plat::CreateDirectory("data\\stg4"));
  const std::string pipe = m_dir.Path() + "/data/stg4/p.stg4_000";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string bytes = StageBytes("piped");
  std::atomic<bool> done{false};
  std::atomic<bool> released{false};
  std::thread writer([&] {
    // The first reader gets the bytes.
    int fd = -1;
    while (fd < 0 && !done.load()) {
      fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);  // fails until a reader has the pipe open
      if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (fd < 0) return;
    ::fcntl(fd, F_SETFL, 0);
    for (size_t written = 0; written < bytes.size();) {
      const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
      if (n <= 0) break;
      written += static_cast<size_t>(n);
    }
    ::close(fd);
    // A second reader would wait for a writer for ever: after a while it is
    // let go with an empty read, and the test fails instead of hanging.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done.load()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      if (std::chrono::steady_clock::now() < deadline) continue;
      fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) {
        released = true;
        ::close(fd);
      }
    }
  });
  ScriptedBoxes boxes;
  const int loaded = LoadStage("data\\stg4\\p.stg4_000", 0, &StageCopy);
  done = true;
  writer.join();
  EXPECT_EQ(loaded, 1);
  EXPECT_EQ(Stage.m_strName, "piped");
  EXPECT_FALSE(released.load()) << "the file was opened again";
  EXPECT_TRUE(boxes.shown.empty());
}
