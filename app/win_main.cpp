#include "app/win_main.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/boxes.h"
#include "app/command_line.h"
#include "app/editor_notice.h"
#include "app/game.h"
#include "app/hardware_report.h"
#include "app/init_game.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "base/path_util.h"
#include "base/report_log.h"
#include "base/thread.h"
#include "platform/display_loss.h"
#include "platform/host_path.h"
#include "platform/messages.h"
#include "platform/script_run.h"
#include "platform/signals.h"
#include "platform/text.h"
#include "platform/window.h"

std::atomic<int> bWndReady{0};

namespace {

// "ウインドウが生成出来ません！"
const char kNoWindow[] =
    "\x83\x45\x83\x43\x83\x93\x83\x68\x83\x45\x82\xAA\x90\xB6\x90\xAC\x8F\x6F\x97\x88\x82\xDC\x82\xB9"
    "\x82\xF1\x81\x49";
// "UnInitGame後", "ReleaseMutex後"
const char kAfterUnInit[] = "UnInitGame\x8C\xE3";
const char kAfterMutex[] = "ReleaseMutex\x8C\xE3";

}  // namespace

bool StartGameThread() {
  if (!thGame.Start(GameLoop, nullptr)) {
    ReportPrintfDebug("thGame : the game thread cannot start");
    return false;
  }
  // Its queue exists from the start, so this fails only when it has ended already.
  if (!plat::PostToThread(thGame.m_dwThreadId, WM_GAME_START, 0, 0)) {
    ReportPrintfDebug("thGame : the game thread ended at its start");
    return false;
  }
  return true;
}

int RunMessagePump() {
  for (;;) {
    plat::Message msg;
    if (plat::Peek(msg)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      plat::Dispatch(msg);
      continue;
    }
    plat::WaitForMessage();
  }
}

int WinMain(const std::string& commandLine, int showState) {
  bQuit = 0;
  bWndReady = 0;
  bAppActive = 0;
  DebugLogInit(0, "EC_Game.txt");
  std::string reportPath = "Report_Game.txt";
  MakeAbsolutePath(reportPath);
  if (!ReportOpen(reportPath.c_str())) {
    // Nothing else can tell the player why the game did not start.
    const int error = errno;
    std::fprintf(stderr, "The report log %s cannot be created (%s); the game does not start.\n",
                 plat::HostPath(reportPath).c_str(), std::strerror(error));
    return 0;
  }
  // Fontconfig reads its set-up while the machine is measured for the
  // report (the environment it reads was set before any thread started).
  plat::text::WarmUp();
  ReportPrintf("App : ver %s", "734");
  ReportSystemInfo();
  bFromEditor = showState == kShowFromEditor ? 1 : 0;
  if (!TakeSingleInstance()) return 0;

  if (!plat::StartWindowSystem() || !MainWindow.Create()) {
    ErrorBox(kNoWindow);
    plat::StopWindowSystem();
    InstanceMutex.Release();
    return 0;
  }
  MainWindow.CenterOnDesktop();
  DebugLogPuts("G");
  if (bFromEditor) MainWindow.NotifyEditorStart();
  DebugLogPuts("H");
  if (!InitGame(commandLine, showState)) {
    UnInitGame();
    if (bFromEditor) MainWindow.NotifyEditorEnd(0);
    plat::DestroyAppWindow(hWndMain.load());
    plat::StopWindowSystem();
    InstanceMutex.Release();
    return 0;
  }
  bWndReady = 1;
  plat::SetScriptKeyWindow(hWndMain.load());
  DebugLogPuts("I");
  int code = 0;
  if (plat::IsWindow(hWndMain.load())) {
    if (!StartGameThread()) PostCloseMessage(hWndMain);
    DebugLogPuts("J");
    code = RunMessagePump();
  } else {
    // A close request served by a pump inside start-up (a box, a dialog,
    // the stage load) has ended the program's threads and its window: no
    // game thread may start, nothing would end it. Its quit message may
    // have been taken by that pump, so none is awaited.
    plat::Message msg;
    while (plat::Peek(msg)) {
    }
  }

  UnInitGame();
  DebugLogPuts(kAfterUnInit);
  plat::StopWindowSystem();
  InstanceMutex.Release();
  DebugLogPuts(kAfterMutex);
  return code;
}

int GameMain(int argc, char** argv) {
  // Before any thread starts (the script's, the warm-ups).
  plat::SetWindowSystemEnvironment();
  // A scripted run that cannot start ends as a missed step does.
  if (!plat::StartScriptRun()) return 3;
  plat::WatchTerminationSignals();
  plat::SetDisplayLostHandler([] { ReportPrintfDebug("the display was lost"); });
  int code = WinMain(JoinCommandLine(argc, argv), EditorStartShowState());
  plat::StopWatchingTerminationSignals();
  plat::StopScriptRun();
  return code;
}
