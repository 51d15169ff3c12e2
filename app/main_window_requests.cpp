// The main window's answers to the requests of the other threads: the
// name-entry dialog, the stage and replay files, sound effects and music.
#include <string>

#include "app/main_window.h"
#include "app/request_services.h"
#include "base/boxes.h"
#include "base/report_log.h"
#include "base/thread.h"
#include "media/bgm.h"
#include "media/dd_layer.h"
#include "media/sound_effect.h"
#include "records/database.h"
#include "records/system.h"
#include "records/system_ini.h"

namespace {

// "ステージファイルの読み込み"
const char kOpenStageTitle[] =
    "\x83\x58\x83\x65\x81\x5B\x83\x57\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x93\xC7\x82\xDD\x8D\x9E\x82\xDD";
// "リプレイファイルの読み込み"
const char kOpenReplayTitle[] =
    "\x83\x8A\x83\x76\x83\x8C\x83\x43\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x93\xC7\x82\xDD\x8D\x9E\x82\xDD";
// "%s の保存に失敗！"
const char kSaveFailed[] = "%s \x82\xCC\x95\xDB\x91\xB6\x82\xC9\x8E\xB8\x94\x73\x81\x49";

// The system sound of a failed action.
constexpr int kFailureSe = 3;

struct FILEREQUEST {
  const char* title;
  const char* englishTitle;
  const char* folder;
  const char* filterText;
  const char* filterPatterns;
  const char* defaultExt;
};

constexpr FILEREQUEST kOpenStage = {kOpenStageTitle, "Load stage file", "data\\stg4\\",
                                    "StageFile ( *.stg4_*;*.rpl4_* )", "*.stg4_*;*.rpl4_*", "stg4_*;rpl4_*"};
constexpr FILEREQUEST kOpenReplay = {kOpenReplayTitle, "Load replay file", "user_data\\rpl4",
                                     "ReplayFile ( *.rpl4_* )", "*.rpl4_*", "rpl4_*"};

// The open dialog over the display; false when cancelled.
bool AskForFile(plat::WindowHandle owner, const FILEREQUEST& request, char path[REQUEST_PATH_SIZE]) {
  DDSetDialogMode(1);
  path[0] = '\0';
  const char* title = SystemIni.nEnglish ? request.englishTitle : request.title;
  const bool chosen = RequestServices().OpenFile(owner, path, request.folder, title, request.filterText,
                                                 request.filterPatterns, request.defaultExt);
  DDSetDialogMode(0);
  return chosen;
}

void FinishFileRequest(int result) {
  FileDlgResult = result;
  FileDlgDone = 1;
}

}  // namespace

intptr_t cMainWindow::OnNameEntry() {
  DDSetDialogMode(1);
  SuspendThreads();
  if (!RequestServices().RunNameDialog()) OutOfMemory();
  DDSetDialogMode(0);
  ResumeThreads();
  bNameDone = 1;
  return 0;
}

intptr_t cMainWindow::OnOpenStage(plat::WindowHandle hWnd) {
  char path[REQUEST_PATH_SIZE];
  if (!AskForFile(hWnd, kOpenStage, path)) {
    FinishFileRequest(0);
    return 0;
  }
  // A stage that cannot be started closes the program; the requester is
  // still told that the request is over.
  if (!RequestServices().StartFromStageFile(path, 0)) PostCloseMessage(hWndMain.load());
  FinishFileRequest(1);
  return 0;
}

intptr_t cMainWindow::OnOpenReplay(plat::WindowHandle hWnd) {
  char path[REQUEST_PATH_SIZE];
  if (!AskForFile(hWnd, kOpenReplay, path)) {
    FinishFileRequest(0);
    return 0;
  }
  // A refused replay has been reported and changed nothing: the title stays.
  FinishFileRequest(RequestServices().LoadReplay(path) ? 1 : 0);
  return 0;
}

// A replay that could not be written loses nothing else: the player is told
// and plays on.
intptr_t cMainWindow::OnSaveReplay(uintptr_t which) {
  char path[REQUEST_PATH_SIZE] = {};
  if (!RequestServices().ChooseReplayFileName(path)) {
    FinishFileRequest(0);
    return 0;
  }
  path[REQUEST_PATH_SIZE - 1] = '\0';
  if (!RequestServices().SaveReplay(which == 1 ? 1 : 0, path)) {
    ReportPrintf(kSaveFailed, path);
    ErrorBoxPrintf(kSaveFailed, path);
    OnPlaySe(kFailureSe);
    FinishFileRequest(0);
    return 0;
  }
  FinishFileRequest(1);
  return 0;
}

intptr_t cMainWindow::OnPlaySe(uintptr_t slot) {
  DS_Play(&SeBank.At(static_cast<int>(slot)), 0);
  return 0;
}

// Each music kind plays in the music slot of its number.
intptr_t cMainWindow::OnPlayBgm(uintptr_t kind, intptr_t number) {
  const int k = static_cast<int>(kind);
  if (kind <= BGMKIND_OPTION) {
    const int n = SystemData.m_vScreenBgm.At(k);
    if (n == 0) {
      Bgm.Stop();
      return 0;
    }
    Bgm.SetFile(k, GetBgmDef(n).m_strFile.c_str());
    Bgm.Play(0, k, SystemData.m_vScreenBgmLoop.At(k), 0, 1);
    return 0;
  }
  if (kind == BGMKIND_STAGE) {
    const int n = static_cast<int>(number);
    RequestServices().SetStageBgm(n);
    Bgm.SetFile(BGMKIND_STAGE, GetBgmDef(n).m_strFile.c_str());
    if (n == 0)
      Bgm.Stop();
    else
      Bgm.Play(0, BGMKIND_STAGE, RequestServices().StageBgmLoop(), 0, 1);
  }
  return 0;
}
