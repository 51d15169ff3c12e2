// The whole life of the program on the test's main thread, headless: window,
// game thread with its paced frame loop, and the end on a close request.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/game.h"
#include "app/main_window.h"
#include "base/report_log.h"
#include "base/thread.h"
#include "base/timers.h"
#include "app/win_main.h"
#include "platform/clock.h"
#include "platform/close_request.h"
#include "platform/dialog_box.h"
#include "platform/event_push.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"
#include "app/single_instance.h"
#include "media/vox.h"
#include "platform/soft_display.h"
#include "support/editor_listener.h"
#include "support/start_project.h"
#include "support/test_support.h"
#include "threads/wait_until.h"

using testsupport::EditorListener;
using testsupport::Notice;
using testsupport::ScopedWorkDir;
using testsupport::WaitUntil;

namespace {

// The small project with data\ in place, music from the built plug-in, the
// window system's desktop depth.
void PrepareProject() {
  ASSERT_TRUE(testsupport::WriteStartProjectWithData());
  SetVoxLibraryPath(VOX_LIBRARY_FILE);
  plat::SetDesktopBpp(0);
}

}  // namespace

TEST(WinMain, RunsTheFrameLoopAtSixtyAndEndsEveryThreadOnACloseRequest) {
  ScopedWorkDir dir;
  PrepareProject();
  plat::FakeClock clock(1000);  // only the game thread's sleeps move it
  ResetTimers();
  nMeasuredFps = 0;
  plat::ResetCloseRequests();

  std::atomic<int> measured{0};
  std::atomic<bool> gameRan{false};
  std::thread closer([&] {
    // The first published rate: a second of fake time has gone by in frames.
    EXPECT_TRUE(WaitUntil([] { return nMeasuredFps.load() != 0; }, 30000));
    measured = nMeasuredFps.load();
    gameRan = thGame.HasThread();
    plat::RequestClose();
  });
  int code = WinMain("", 1);
  closer.join();

  EXPECT_EQ(code, 0);
  EXPECT_TRUE(gameRan.load());
  // In a window each frame also waits for the display's 60 Hz blank: 60
  // frames in the first second, or 61 with its first frame counted.
  EXPECT_TRUE(measured.load() == 60 || measured.load() == 61) << measured.load();
  EXPECT_GE(clock.Now() - 1000, 1000u);
  for (cThread* th : {&thGame, &thPause, &thRanking, &thLoad}) EXPECT_FALSE(th->HasThread());
  EXPECT_FALSE(hWndMain.load());
  EXPECT_EQ(bWndReady.load(), 1);
  EXPECT_EQ(bQuit.load(), 1);
  // The version, the machine, then the display once start-up has shown the window.
  const std::string report = dir.ReadFile("Report_Game.txt");
  EXPECT_EQ(report.rfind("App : ver 734\r\nOS : ", 0), 0u) << report;
  EXPECT_NE(report.find("\r\nHD Free : "), std::string::npos) << report;
  // The display the project asked for: the software display in a window at
  // the desktop's depth.
  EXPECT_NE(report.find("\r\nMode : Window\r\nBpp : 32\r\nVRAM Total : "), std::string::npos) << report;
}

TEST(WinMain, TellsTheEditorOfItsStartAndEndWhenTheEditorStartedIt) {
  ScopedWorkDir dir;
  PrepareProject();
  EditorListener editor(dir.Path() + "/editor.sock");
  ASSERT_TRUE(editor.Ok());
  for (int showState : {5, 1}) {
    plat::ResetCloseRequests();
    bWndReady = 0;  // not the last run's
    std::thread closer([] {
      EXPECT_TRUE(WaitUntil([] { return bWndReady.load() == 1; }, 30000));
      plat::RequestClose();
    });
    EXPECT_EQ(WinMain("", showState), 0);
    closer.join();
    // Only a start by the editor (show state 5) is told; the lock is free again.
    EXPECT_EQ(editor.TakeAll(), showState == 5 ? (std::vector<std::string>{Notice(1, 1), Notice(0, 1)})
                                               : std::vector<std::string>{})
        << showState;
    EXPECT_FALSE(InstanceMutex.Held());
  }
}

TEST(WinMain, AGameThreadThatCannotStartIsReportedNotRetried) {
  ScopedWorkDir dir;
  ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
  // The object is busy, so this start fails the way a failed creation does.
  static std::atomic<bool> release{false};
  ASSERT_TRUE(thGame.Start([](void*) -> unsigned {
    while (!release.load()) plat::Sleep(1);
    return 0;
  }, nullptr));
  EXPECT_FALSE(StartGameThread());
  EXPECT_EQ(dir.ReadFile("Report_Game.txt"), "thGame : the game thread cannot start\r\n");
  release = true;
  thGame.Wait();

  // A start that works posts its start message at once.
  EXPECT_TRUE(StartGameThread());
  thGame.Exit();
  EXPECT_FALSE(thGame.HasThread());
}

TEST(WinMain, AReportLogThatCannotBeCreatedIsToldOnStderr) {
  ScopedWorkDir dir;
  dir.WriteFile("Report_Game.txt/keeps_it_a_folder", "");
  testing::internal::CaptureStderr();
  EXPECT_EQ(WinMain("", 1), 0);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Report_Game.txt"), std::string::npos) << said;
  EXPECT_NE(said.find("does not start"), std::string::npos) << said;
  EXPECT_FALSE(hWndMain.load());
  EXPECT_FALSE(thGame.HasThread());
}

TEST(WinMain, ACloseRequestBeforeTheWindowExistedClosesItOnceItExists) {
  ScopedWorkDir dir;
  PrepareProject();
  plat::ResetCloseRequests();
  plat::RequestClose();  // as SIGTERM during the hardware report does
  std::atomic<bool> ended{false};
  std::thread watchdog([&] {
    if (!WaitUntil([&] { return ended.load(); }, 20000)) {
      ADD_FAILURE() << "still running";
      plat::RequestClose();
    }
  });
  EXPECT_EQ(WinMain("", 1), 0);
  ended = true;
  watchdog.join();
  EXPECT_FALSE(hWndMain.load());
  for (cThread* th : {&thGame, &thPause, &thRanking, &thLoad}) EXPECT_FALSE(th->HasThread());
  // Start-up ran to its end first.
  EXPECT_NE(dir.ReadFile("Report_Game.txt").find("\r\nMode : Window\r\n"), std::string::npos);
}

TEST(WinMain, ACloseRequestWhileTheStartUpDialogIsOpenEndsTheProgramThere) {
  ScopedWorkDir dir;
  ASSERT_TRUE(testsupport::WriteStartProjectWithData(testsupport::StartIni{2, 1, 0, 0, 0, ""}));
  SetVoxLibraryPath(VOX_LIBRARY_FILE);
  plat::SetDesktopBpp(0);
  plat::ResetCloseRequests();
  EditorListener editor(dir.Path() + "/editor.sock");
  ASSERT_TRUE(editor.Ok());
  // The player presses Ctrl+C while the start-up dialog is open, then starts.
  plat::SetDialogShowHook([](const plat::DialogShown& d) {
    plat::RequestClose();
    plat::PushKeyStroke(d.windowId, VK_RETURN);
  });
  std::atomic<bool> ended{false};
  std::thread watchdog([&] {
    if (!WaitUntil([&] { return ended.load(); }, 20000)) {
      ADD_FAILURE() << "still running";
      plat::RequestClose();
    }
  });
  EXPECT_EQ(WinMain("", 5), 0);
  ended = true;
  watchdog.join();
  plat::SetDialogShowHook(nullptr);
  EXPECT_FALSE(hWndMain.load());
  for (cThread* th : {&thGame, &thPause, &thRanking, &thLoad}) EXPECT_FALSE(th->HasThread());
  // The window went with the close (its end told once), and start-up
  // stopped where the dialog ended.
  EXPECT_EQ(editor.TakeAll(), (std::vector<std::string>{Notice(1, 1), Notice(0, 1)}));
  EXPECT_EQ(dir.ReadFile("Report_Game.txt").find("Mode : "), std::string::npos);
}
