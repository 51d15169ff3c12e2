#include "app/request_services.h"

#include <atomic>
#include <new>
#include <string>

#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "app/name_dialog.h"
#include "app/replay_file_name.h"
#include "app/window.h"
#include "records/new_run.h"
#include "records/replay_input.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/stage_load.h"

namespace {

cRequestServices g_own;
std::atomic<cRequestServices*> g_services{nullptr};

}  // namespace

bool cRequestServices::RunNameDialog() {
  cNameDialog* dialog = new (std::nothrow) cNameDialog(IDD_NAMEENTRY, &MainWindow, 1, &OwnerLists);
  if (!dialog) return false;
  dialog->DoModal(0);
  DeleteWindowObject(dialog);
  return true;
}

bool cRequestServices::OpenFile(plat::WindowHandle owner, char path[REQUEST_PATH_SIZE], const char* folder,
                                const char* title, const char* filterText, const char* filterPatterns,
                                const char* defaultExt) {
  // The filter list: the pair, each NUL-ended, and the list's closing NUL.
  std::string filter = filterText;
  filter += '\0';
  filter += filterPatterns;
  filter += '\0';
  filter += '\0';
  return OpenFileDialog(owner, path, REQUEST_PATH_SIZE, folder, title, filter.c_str(), defaultExt, 0, nullptr) == 1;
}

bool cRequestServices::StartFromStageFile(const char* path, int numbered) {
  return ::StartFromStageFile(path, numbered);
}

bool cRequestServices::LoadReplay(const char* path) {
  if (!Replay.LoadFile(path, Stage, StageCopy, PlayData)) return false;
  // Where the stage scene finds the replay again.
  Stage.m_strPath = path;
  return true;
}

bool cRequestServices::ChooseReplayFileName(char path[REQUEST_PATH_SIZE]) {
  return ::ChooseReplayFileName(path, PlayData.m_strStagePath.c_str()) != 0;
}

bool cRequestServices::SaveReplay(int previous, const char* path) {
  if (previous) return ReplayPrev.SaveFile(path, Stage, StageCopy, ReplayStartPrev) != 0;
  return Replay.SaveFile(path, Stage, StageCopy, ReplayStart) != 0;
}

void cRequestServices::SetStageBgm(int32_t number) { PlayData.m_nStageBgm = number; }

int32_t cRequestServices::StageBgmLoop() { return PlayData.m_bStageBgmLoop; }

cRequestServices& RequestServices() {
  cRequestServices* services = g_services.load();
  return services ? *services : g_own;
}

void SetRequestServices(cRequestServices* services) { g_services.store(services); }
