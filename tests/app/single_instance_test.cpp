// The second start: the question, ending the running copy, and the copies
// that are left alone. The running copy is this test program started again
// as a child that holds the lock.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/fake_machine.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/win_main.h"
#include "base/boxes.h"
#include "base/report_log.h"
#include "support/lock_holder.h"
#include "support/test_support.h"

using testsupport::LockHolder;
using testsupport::ScopedEnv;
using testsupport::ScopedWorkDir;
using testsupport::ScriptedBoxes;
using testsupport::Sjis;

namespace {

const std::string kName = Sjis("ゲーム");
const std::string kLockFile = "ゲーム.lock";

// A test folder that is also the runtime folder of the lock.
struct Place {
  ScopedWorkDir dir;
  ScopedEnv runtime{"XDG_RUNTIME_DIR", dir.Path().c_str()};
  FakeMachine machine;
};

}  // namespace

TEST(SingleInstance, AFreeLockIsTakenWithoutAQuestion) {
  Place place;
  ScriptedBoxes boxes;
  EXPECT_EQ(TakeSingleInstance(), 1);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(InstanceMutex.Held());
  EXPECT_EQ(place.dir.ReadFile(kLockFile), std::to_string(getpid()) + "\n");
  InstanceMutex.Release();
}

TEST(SingleInstance, AnsweredNoEndsThisStartBeforeAnyWindow) {
  Place place;
  LockHolder copy(kName, LockHolder::OnTerm::kEndInOrder);
  ASSERT_TRUE(copy.Ready());
  ScriptedBoxes boxes({IDNO});
  MainWindow.m_bCreated = 0;

  EXPECT_EQ(WinMain("", 1), 0);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            Sjis("既に起動しています。\n実行中のプログラムを閉じて再起動しますか？\n\n"
                 "Running this program now. Restart?"));
  EXPECT_EQ(boxes.shown[0].caption, Sjis("二重起動"));
  EXPECT_EQ(boxes.shown[0].buttons, plat::BoxButtons::YesNo);
  EXPECT_EQ(MainWindow.m_bCreated, 0);
  EXPECT_FALSE(hWndMain.load());
  EXPECT_FALSE(InstanceMutex.Held());
  EXPECT_TRUE(copy.Running());
  // The report comes before the question.
  EXPECT_EQ(place.dir.ReadFile("Report_Game.txt").rfind("App : ver 734\r\nOS : ", 0), 0u);
}

TEST(SingleInstance, AnsweredYesEndsTheRunningCopyInOrderAndGoesOn) {
  Place place;
  LockHolder copy(kName, LockHolder::OnTerm::kEndInOrder);
  ASSERT_TRUE(copy.Ready());
  ScriptedBoxes boxes({IDYES});

  EXPECT_EQ(TakeSingleInstance(), 1);
  EXPECT_EQ(boxes.shown.size(), 1u);
  int status = copy.WaitForEnd(5000);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_TRUE(copy.EndedInOrder());
  EXPECT_TRUE(InstanceMutex.Held());
  EXPECT_EQ(place.dir.ReadFile(kLockFile), std::to_string(getpid()) + "\n");
  InstanceMutex.Release();
}

TEST(SingleInstance, ACopyThatCannotBeFoundIsLeftAloneAndStartUpGoesOn) {
  Place place;
  int other = testsupport::SpawnProgram({"sleep", "30"});
  ASSERT_GT(other, 0);
  int stale = testsupport::SpawnProgram({"true"});
  waitpid(stale, nullptr, 0);
  struct Case {
    const char* what;
    int filePid;
  } cases[] = {{"stale PID", stale}, {"another program's PID", other}};
  for (const Case& c : cases) {
    LockHolder copy(kName, LockHolder::OnTerm::kEndInOrder, c.filePid);
    ASSERT_TRUE(copy.Ready()) << c.what;
    ScriptedBoxes boxes({IDYES});
    EXPECT_EQ(TakeSingleInstance(), 1) << c.what;
    EXPECT_EQ(boxes.shown.size(), 1u) << c.what;  // the question, no failure box
    EXPECT_FALSE(InstanceMutex.Held()) << c.what;  // both copies run
    EXPECT_TRUE(copy.Running()) << c.what;
    InstanceMutex.Release();
  }
  EXPECT_EQ(waitpid(other, nullptr, WNOHANG), 0);  // never signalled
  kill(other, SIGKILL);
  waitpid(other, nullptr, 0);
}

TEST(SingleInstance, WithoutALockFileTheGameStillStarts) {
  Place place;
  ScopedEnv runtime("XDG_RUNTIME_DIR", (place.dir.Path() + "/missing").c_str());
  ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
  ScriptedBoxes boxes;
  EXPECT_EQ(TakeSingleInstance(), 1);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_FALSE(InstanceMutex.Held());
  EXPECT_EQ(place.dir.ReadFile("Report_Game.txt"),
            "Mutex : the lock file " + place.dir.Path() + "/missing/" + Sjis(kLockFile) +
                " cannot be used\r\n");
  InstanceMutex.Release();
}
