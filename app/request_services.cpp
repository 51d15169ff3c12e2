#include "app/request_services.h"

#include <atomic>

#include "base/report_log.h"

namespace {

cRequestServices g_own;
std::atomic<cRequestServices*> g_services{nullptr};

}  // namespace

// The name-entry and file dialogs join here when they are built; until then
// the name stays as it is and every file dialog counts as cancelled.
bool cRequestServices::RunNameDialog() { return true; }

bool cRequestServices::OpenFile(plat::WindowHandle, char path[REQUEST_PATH_SIZE], const char*, const char*,
                                const char*, const char*, const char*) {
  path[0] = '\0';
  return false;
}

// The front end's start of play and the replay files join here when they
// are built.
bool cRequestServices::StartFromStageFile(const char* path, int) {
  ReportPrintf("StartFromStageFile : %s cannot be played yet", path);
  return false;
}

bool cRequestServices::LoadReplay(const char* path) {
  ReportPrintf("LoadReplay : %s cannot be read yet", path);
  return false;
}

bool cRequestServices::ChooseReplayFileName(char path[REQUEST_PATH_SIZE]) {
  path[0] = '\0';
  return false;
}

bool cRequestServices::SaveReplay(int, const char* path) {
  ReportPrintf("SaveReplay : %s cannot be written yet", path);
  return false;
}

void cRequestServices::SetStageBgm(int32_t number) { m_nStageBgm = number; }

int32_t cRequestServices::StageBgmLoop() { return 1; }

cRequestServices& RequestServices() {
  cRequestServices* services = g_services.load();
  return services ? *services : g_own;
}

void SetRequestServices(cRequestServices* services) { g_services.store(services); }
