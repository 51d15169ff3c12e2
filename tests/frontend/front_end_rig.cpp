#include "front_end_rig.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/init_game.h"
#include "app/main_window.h"
#include "base/report_log.h"
#include "base/window_messages.h"
#include "game/game.h"
#include "media/dd_pixels.h"
#include "media/key_config.h"
#include "media/vox.h"
#include "platform/audio_device.h"
#include "platform/close_request.h"
#include "platform/d3d_device.h"
#include "platform/soft_display.h"
#include "platform/window.h"
#include "records/started_by_editor.h"
#include "records/system_ini.h"
#include "records/user_settings.h"
#include "support/start_project.h"
#include "tools/sample/sample_project.h"

namespace fs = std::filesystem;

namespace frontendtest {

std::string Le32(uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

std::string Pixels(DDSURFACEDATA* surface, int x, int y, int w, int h) {
  cSurfaceLock lock;
  if (!lock.Lock(surface)) return "no lock";
  std::string bytes;
  for (int row = std::max(y, 0); row < std::min(y + h, lock.m_nHeight); ++row)
    for (int col = std::max(x, 0); col < std::min(x + w, lock.m_nWidth); ++col) {
      const uint8_t* p = lock.m_pBits + static_cast<size_t>(row) * lock.m_nPitch + col * lock.m_nBytesPerPixel;
      bytes.append(reinterpret_cast<const char*>(p), static_cast<size_t>(lock.m_nBytesPerPixel));
    }
  return bytes;
}

bool ScriptedDialogs::RunNameDialog() {
  OptionData.m_strRankingName = name;
  return true;
}

bool ScriptedDialogs::OpenFile(plat::WindowHandle, char path[REQUEST_PATH_SIZE], const char* folder, const char*,
                               const char*, const char*, const char*) {
  opened.push_back(folder);
  if (files.empty()) return false;
  const std::string file = files.front();
  files.erase(files.begin());
  if (file.empty()) return false;
  std::snprintf(path, REQUEST_PATH_SIZE, "%s", file.c_str());
  return true;
}

void FrontEnd::StartProgram(const Start& start) {
  std::string error;
  ASSERT_TRUE(WriteSampleProject(GameFolder(), error)) << error;
  fs::current_path(GameFolder());
  fs::copy("default", "data", fs::copy_options::recursive);
  testsupport::StartIni ini;
  ini.direct3D = 0;
  ini.windowMode = start.bpp == 8 ? 0 : 1;
  ini.bpp = start.bpp;
  ini.freeStage = start.freeStage;
  Write("System.ini", testsupport::StartIniText(ini));
  if (start.optionsFile) Write("user_data/Option.dat", start.options);

  plat::ResetCloseRequests();
  plat::ClearDisplayFailures();
  plat::ResetD3DHooks();
  plat::SetDesktopBpp(start.bpp == 8 ? 32 : start.bpp);
  plat::SetAudioTestMode(plat::AudioTestMode::kPulledByHand);
  SetVoxLibraryPath(VOX_LIBRARY_FILE);
  ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
  ASSERT_TRUE(plat::StartWindowSystem());
  ASSERT_TRUE(MainWindow.Create());
  SetRequestServices(&m_dialogs);
  m_started = true;
  ASSERT_TRUE(InitGame("", 1)) << Report();
  // Every request to the main window is noted, then served as always.
  m_mainProc = plat::SetWindowProc(hWndMain.load(), [this](plat::WindowHandle w, uint32_t msg, uintptr_t wParam,
                                                           intptr_t lParam) -> intptr_t {
    switch (msg) {
      case WM_GAME_PLAYSE: m_requests.push_back("sound " + std::to_string(wParam)); break;
      case WM_GAME_PLAYBGM:
        m_requests.push_back("music " + std::to_string(wParam) + " " + std::to_string(lParam));
        break;
      case WM_GAME_NAMEENTRY: m_requests.push_back("name"); break;
      case WM_GAME_OPENSTAGE: m_requests.push_back("stage"); break;
      case WM_GAME_OPENREPLAY: m_requests.push_back("replay"); break;
      default: break;
    }
    return m_mainProc(w, msg, wParam, lParam);
  });
}

void FrontEnd::TearDown() {
  if (!m_started) return;
  UnInitGame();
  SetRequestServices(nullptr);
  if (hWndMain.load()) plat::DestroyAppWindow(hWndMain.load());
  plat::Message msg;
  while (plat::Peek(msg)) {
  }
  plat::StopWindowSystem();
  plat::SetAudioTestMode(plat::AudioTestMode::kOff);
  plat::ClearDisplayFailures();
  plat::ResetD3DHooks();
  plat::ResetCloseRequests();
  bTestPlay = 0;
  cSceneWorldMap::ResetStatics();
  Game = cGame();
  OptionData = cOptionData();
  KeyConfig = KEYCONFIG{};
  std::memset(&SystemIni, 0, sizeof SystemIni);
}

void FrontEnd::Frame() { ASSERT_EQ(Game.Frame(), 1); }

void FrontEnd::Tap(int vk) {
  m_keys.Press(vk);
  Frame();
  m_keys.Release(vk);
  Frame();
}

int FrontEnd::Phase() const {
  if (auto* option = Running<cSceneOption>()) return option->m_nPhase;
  if (auto* title = Running<cSceneTitle>()) return title->m_nPhase;
  if (auto* map = Running<cSceneWorldMap>()) return map->m_nPhase;
  if (auto* menu = Running<cSceneMapMenu>()) return menu->m_nPhase;
  if (auto* select = Running<cSceneStageSelect>()) return select->m_nPhase;
  return -2;
}

bool FrontEnd::RunUntilPhase(int phase, int limit) {
  for (int i = 0; i < limit; ++i) {
    if (Phase() == phase) return true;
    if (::testing::Test::HasFatalFailure()) return false;
    Frame();
  }
  return Phase() == phase;
}

std::vector<std::string> FrontEnd::TakeRequests() {
  std::vector<std::string> taken;
  taken.swap(m_requests);
  return taken;
}

std::vector<int> FrontEnd::TakeSounds() {
  std::vector<int> sounds;
  for (const std::string& r : TakeRequests())
    if (r.rfind("sound ", 0) == 0) sounds.push_back(std::stoi(r.substr(6)));
  return sounds;
}

std::string FrontEnd::Report() const { return Read("Report_Game.txt"); }

std::string FrontEnd::Read(const std::string& relative) const { return m_dir.ReadFile("game/" + relative); }

bool FrontEnd::Exists(const std::string& relative) const { return m_dir.Exists("game/" + relative); }

void FrontEnd::Write(const std::string& relative, const std::string& bytes) const {
  m_dir.WriteFile("game/" + relative, bytes);
}

}  // namespace frontendtest
