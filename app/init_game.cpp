#include "app/init_game.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <new>

#include "app/boot_dialog.h"
#include "app/display_mode.h"
#include "app/drawing_facts.h"
#include "app/game.h"
#include "app/hardware_report.h"
#include "app/hook.h"
#include "app/main_window.h"
#include "app/request_services.h"
#include "app/window.h"
#include "base/boxes.h"
#include "base/crt_random.h"
#include "base/path_util.h"
#include "base/report_log.h"
#include "media/bgm.h"
#include "media/dd_layer.h"
#include "media/dd_surface.h"
#include "media/font.h"
#include "media/input.h"
#include "media/key_config.h"
#include "media/palette_scheme.h"
#include "media/sound_effect.h"
#include "media/system_surfaces.h"
#include "platform/clock.h"
#include "platform/host_path.h"
#include "platform/midi_out.h"
#include "platform/window.h"
#include "records/arrange.h"
#include "records/common_palette.h"
#include "records/data_file.h"
#include "records/data_folder.h"
#include "records/database.h"
#include "records/path_table.h"
#include "records/save_data.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "records/system_ini.h"
#include "records/user_settings.h"
#include "records/window_data.h"
#include "records/world_map.h"

plat::IconHandle hIconMain = 0;

namespace {

constexpr int kCommonPalettePath = 7;  // data\CommonPalette.cplt4
constexpr int kWorldMapPath = 13;      // data\WorldMap.dat
constexpr int kSystemDataPath = 35;    // data\System.dat
constexpr int kOptionPath = 43;        // user_data\Option.dat
constexpr int kKeyConfigPath = 45;     // user_data\KeyConfig.dat
constexpr int kBootPath = 46;          // user_data\Boot.dat
constexpr int kWindowDataPath = 47;    // user_data\Window.dat

// "「data」フォルダの作成に失敗…\n「default」フォルダに問題がある可能性があります。"
const char kDataFolderFailed[] =
    "\x81\x75""data\x81\x76\x83\x74\x83\x48\x83\x8B\x83\x5F\x82\xCC\x8D\xEC\x90\xAC\x82\xC9\x8E\xB8\x94\x73"
    "\x81\x63\n\x81\x75""default\x81\x76\x83\x74\x83\x48\x83\x8B\x83\x5F\x82\xC9\x96\xE2\x91\xE8\x82\xAA"
    "\x82\xA0\x82\xE9\x89\xC2\x94\x5C\x90\xAB\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7\x81\x42";
// "データベースの読み込みに失敗…"
const char kDatabaseFailed[] =
    "\x83\x66\x81\x5B\x83\x5E\x83\x78\x81\x5B\x83\x58\x82\xCC\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x82\xC9"
    "\x8E\xB8\x94\x73\x81\x63";
// "%s の読み込みに失敗…"
const char kReadFailed[] = "%s \x82\xCC\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x82\xC9\x8E\xB8\x94\x73\x81\x63";
// "DDInit失敗", "DDInit成功"
const char kDDInitFailed[] = "DDInit\x8E\xB8\x94\x73";
const char kDDInitDone[] = "DDInit\x90\xAC\x8C\xF7";
// "テクスチャの作成に失敗しました！\nビデオカードの性能が十分ではないかもしれません。\n
//  System.iniファイルで「Direct3D=0」に変更してDirect3Dを無効にすれば改善される可能性があります。"
const char kTextureAdvice[] =
    "\x83\x65\x83\x4E\x83\x58\x83\x60\x83\x83\x82\xCC\x8D\xEC\x90\xAC\x82\xC9\x8E\xB8\x94\x73\x82\xB5"
    "\x82\xDC\x82\xB5\x82\xBD\x81\x49\n\x83\x72\x83\x66\x83\x49\x83\x4A\x81\x5B\x83\x68\x82\xCC\x90\xAB"
    "\x94\x5C\x82\xAA\x8F\x5C\x95\xAA\x82\xC5\x82\xCD\x82\xC8\x82\xA2\x82\xA9\x82\xE0\x82\xB5\x82\xEA"
    "\x82\xDC\x82\xB9\x82\xF1\x81\x42\nSystem.ini\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xC5\x81\x75"
    "Direct3D=0\x81\x76\x82\xC9\x95\xCF\x8D\x58\x82\xB5\x82\xC4""Direct3D\x82\xF0\x96\xB3\x8C\xF8\x82\xC9"
    "\x82\xB7\x82\xEA\x82\xCE\x89\xFC\x91\x50\x82\xB3\x82\xEA\x82\xE9\x89\xC2\x94\x5C\x90\xAB\x82\xAA"
    "\x82\xA0\x82\xE8\x82\xDC\x82\xB7\x81\x42";
// "DDLoadPaletteFromFile失敗", "DDSetTransmit失敗", "DS_Init失敗！"
const char kPaletteFailed[] = "DDLoadPaletteFromFile\x8E\xB8\x94\x73";
const char kTransmitFailed[] = "DDSetTransmit\x8E\xB8\x94\x73";
const char kSoundFailed[] = "DS_Init\x8E\xB8\x94\x73\x81\x49";
// "%s のロードに失敗！"
const char kLoadFailed[] = "%s \x82\xCC\x83\x8D\x81\x5B\x83\x68\x82\xC9\x8E\xB8\x94\x73\x81\x49";
// "「%s」の読み込みに失敗しました！"
const char kStageMissing[] =
    "\x81\x75%s\x81\x76\x82\xCC\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC"
    "\x82\xB5\x82\xBD\x81\x49";

// A start stage too long for System.ini's FreeStage, refused in step 9 and
// reported where a missing one is.
std::string RefusedStartStage;

bool PrepareProject() {
  if (!PrepareDataFolder(&MainWindow)) {
    ReportError("%s", kDataFolderFailed);
    return false;
  }
  CreateWorkFolders();
  if (!Database.LoadAll()) {
    ReportError("%s", kDatabaseFailed);
    return false;
  }
  BuildDatabaseRunTables();
  if (!SystemData.LoadFromFile(PathTable[kSystemDataPath])) {
    ReportError(kReadFailed, PathTable[kSystemDataPath]);
    return false;
  }
  LoadSystemIni(SYSTEM_INI_PATH, SystemIni, SystemData.m_vIniKeys);
  return true;
}

// The start-up dialog, when System.ini leaves the back end to it and
// Boot.dat does not say to stop asking; then the back end it stored.
bool ChooseBackEnd() {
  if (SystemIni.nDirect3D < 2) return true;
  BootData.LoadFromFile(PathTable[kBootPath]);  // a missing file leaves the defaults
  if (!BootData.m_bNoAsk) {
    cBootDialog* dialog = new (std::nothrow) cBootDialog(IDD_BOOT, &MainWindow, 1, &OwnerLists);
    if (!dialog) {
      OutOfMemory();
      return false;
    }
    const int started = dialog->DoModal(0);
    DeleteWindowObject(dialog);
    if (!started) {
      // The player chose to stop; say so where the player will look.
      ReportPrintfDebug("Start-up : the start-up dialog was cancelled");
      return false;
    }
  }
  SystemIni.nDirect3D = BootData.m_nDrawMode == 1 ? 1 : 0;
  return true;
}

void TakeStartStage(const std::string& commandLine) {
  RefusedStartStage.clear();
  if (commandLine.empty()) return;
  // Never cut: a shortened name could name another stage.
  if (commandLine.size() >= FREESTAGE_SIZE) {
    RefusedStartStage = commandLine;
    SystemIni.szFreeStage[0] = '\0';
    return;
  }
  std::memcpy(SystemIni.szFreeStage, commandLine.c_str(), commandLine.size() + 1);
}

void PrepareWindow() {
  MainWindow.Init();
  plat::SetAppWindowTitle(hWndMain.load(), SystemData.m_strTitle);
  hIconMain = plat::CreateProgramIcon();
  if (hIconMain != 0 && hIconMain != 1) plat::SetAppWindowIcon(hWndMain.load(), hIconMain);
}

bool StartDrawingLayer(bool& maximized) {
  const int vsync = SystemIni.nVSync != 0 ? 1 : 0;
  auto start = [&] {
    return DDInit(SystemIni.nDirect3D, hWndMain.load(), 640, 480, nColorBits, vsync, bWindowMode, 1, 60, vsync,
                  SurfaceTable, SurfaceDefs, SURFACE_TABLE_SIZE, 0);
  };
  if (!start()) {
    if (!SystemIni.nDirect3D) {
      ReportPrintfDebug("%s", kDDInitFailed);
      return false;
    }
    DDRelease();
    SystemIni.nDirect3D = 0;
    plat::ShowAppWindow(hWndMain.load());
    if (!start()) {
      ReportPrintfDebug("%s", kDDInitFailed);
      return false;
    }
  }
  if (lpDTCon) {
    lpDTCon->strTextureAdvice = kTextureAdvice;
    LinkSurfaceSources();
  }
  maximized = false;
  if (SystemIni.nWindowMode != 0 && WindowData.LoadFromFile(PathTable[kWindowDataPath])) {
    MainWindow.Move(WindowData.nX, WindowData.nY);
    if (lpDTCon && SystemIni.nWindowMode == 2) {
      int width = 0, height = 0;
      WindowData.ClientSizeWithinScreen(width, height);
      MainWindow.SetClientSize(width, height);
    }
    maximized = WindowData.bMaximized != 0;
  }
  plat::ShowAppWindow(hWndMain.load());
  if (maximized) plat::MaximizeAppWindow(hWndMain.load());
  ReportDisplayInfo(1);
  DebugLogPuts(kDDInitDone);
  return true;
}

bool SetPaletteAndTransparentColour() {
  if (!lpDTCon && !DDPalette) return true;
  const char* paletteFile = SurfaceDefs[0].szFileName.c_str();
  if (!DDLoadPaletteFromFile(CurPalette, paletteFile, nColorBits)) {
    ReportPrintfDebug("%s", kPaletteFailed);
    return false;
  }
  std::copy(std::begin(CurPalette), std::end(CurPalette), std::begin(BasePalette));
  const RGBTRIPLE key{SystemData.m_nKeyBlue, SystemData.m_nKeyGreen, SystemData.m_nKeyRed};
  if (SystemData.m_nColourMode != 1 || nColorBits == 16) {
    if (!DDSetTransmit(paletteFile)) {
      ReportPrintfDebug("%s", kTransmitFailed);
      return false;
    }
    // 24-bit images of a project without palette keep their own key colour.
    if (SystemData.m_nColourMode == 1) {
      if (lpDTCon) lpDTCon->rgbTransmit16 = key;
      if (lpDDCon) lpDDCon->rgbTransmit16 = key;
    }
  } else {
    DDSetTransmit(key.rgbtRed, key.rgbtGreen, key.rgbtBlue);
  }
  DebugLogPuts("1");
  return true;
}

void ChooseFramePacing() {
  if (lpDTCon) {
    bTimerPacing = 0;
    return;
  }
  bTimerPacing = bWindowMode || SystemIni.nVSync == 0 ||
                 DrawingFacts().MonitorFrequency() < static_cast<uint32_t>(std::max(Game.m_nFps, 0));
}

bool LoadSurfaceZero() {
  const int first[] = {0};
  if (DDLoadSurfaces(SurfaceTable, first, 1)) return true;
  ReportPrintfDebug("Start-up : system surface 0 (%s) cannot be made", SurfaceDefs[0].szFileName.c_str());
  return false;
}

void StartSound() {
  if (OptionData.m_bBgm)
    Bgm.Init(1, BgmOggNames, BgmMidiNames, BGM_SLOT_COUNT);  // no music plays yet
  else
    plat::DropMidiSynthPreload();
  BuildSeDefs(SeBank, SeDefs, SystemData.m_vSystemSounds, Database.m_vSound);
  if (!DS_Init(hWndMain.load(), 22050, 8, 1)) {
    // Silent is better than no game.
    ReportPrintfDebug("%s", kSoundFailed);
    return;
  }
  DS_LoadSounds(&SeBank, &SeDefs, SeVolumeForStep(OptionData.m_nSeVolume));
}

bool LoadWorld() {
  for (auto [record, path] : {std::pair<cRecord*, int>{&WorldMap, kWorldMapPath}, {&CommonPalette, kCommonPalettePath}}) {
    if (!record->LoadFromFile(PathTable[path])) {
      ReportError(kLoadFailed, PathTable[path]);
      return false;
    }
  }
  DebugLogPuts("4");
  return true;
}

// The stage of the command line (or System.ini) is played first; a missing
// one leaves the title first.
bool StartStage() {
  if (!RefusedStartStage.empty()) {
    ReportPrintfDebug(kStageMissing, RefusedStartStage.c_str());
    return true;
  }
  if (!SystemIni.szFreeStage[0]) return true;
  std::string stage = SystemIni.szFreeStage;
  std::string newest;
  if (FindNewestVersion(newest, stage, ExtTable[1])) stage = newest;
  if (stage.size() >= FREESTAGE_SIZE || !plat::PathExists(stage) || plat::IsDirectory(stage)) {
    ReportPrintfDebug(kStageMissing, stage.c_str());
    SystemIni.szFreeStage[0] = '\0';
    return true;
  }
  std::memcpy(SystemIni.szFreeStage, stage.c_str(), stage.size() + 1);
  bTestPlay = 1;
  if (!RequestServices().StartFromStageFile(SystemIni.szFreeStage, 1)) {
    // The loader said nothing when the file has no numbered version.
    ReportPrintfDebug(kStageMissing, SystemIni.szFreeStage);
    return false;
  }
  // Played from the command line, not chosen from the stage select.
  PlayData.m_bNumberedStage = 0;
  Game.m_nPlayKind = PLAYKIND_FREE;
  Game.m_bRanking = 1;
  Game.m_nPlayCommand = GAMEMODE_FREE;
  Game.m_nScene = SCENE_STAGE;
  Game.m_nPrevScene = SCENE_TITLE;
  return true;
}

// The synthesiser loads while the rest starts when the title's music is
// MIDI (its OGG, tried first, is missing); music off drops it again.
void PreloadTitleMusic() {
  if (plat::PathExists(BgmOggNames[0]) || !plat::PathExists(BgmMidiNames[0])) return;
  plat::PreloadMidiSynth([](const std::string& line) { ReportPrintfDebug("%s", line.c_str()); });
}

}  // namespace

bool InitGame(const std::string& commandLine, int) {
  PreloadTitleMusic();
  crt::srand(plat::TimeGetTime());
  CurVersion = 734;
  bStripCR = 1;
  BuildArrangeParamTable();
  if (!PrepareProject() || !ChooseBackEnd()) return false;
  TakeStartStage(commandLine);

  Game.m_nFps = 60;
  Game.m_dUnused[0] = Game.m_dUnused[1] = 1.0;
  Game.m_nFadeStep = 10;
  Game.m_pSceneMaker = &AppSceneMaker;
  for (cInput& input : Input) input.SetRepeat(18, 6);

  if (!ChooseDisplayMode()) return false;
  PrepareWindow();
  if (nColorBits == 8) SystemIni.nDD_VideoStretch = 0;
  bool maximized = false;
  if (!StartDrawingLayer(maximized) || !SetPaletteAndTransparentColour()) return false;
  ChooseFramePacing();
  if (!LoadSurfaceZero() || !CreateSystemFonts()) return false;

  for (cInput& input : Input) input.SetJoyButtonMasks();
  if (!LoadKeyConfig(PathTable[kKeyConfigPath], KeyConfig)) DefaultKeyConfig(KeyConfig);
  OptionData.LoadFromFile(PathTable[kOptionPath]);  // a missing file leaves the defaults
  if (nColorBits == 8 && !SetPaletteScheme(OptionData.m_nPalette)) return false;
  StartSound();
  return LoadWorld() && StartStage();
}

void UnInitGame() {
  if (bDDReady) ReportFontCacheUse();
  DS_Release();
  Bgm.UnInit();
  plat::DropMidiSynthPreload();  // a start that failed before any music
  Game.DeleteScenes();
  ReleaseSystemFonts();  // the fonts, then their digit sheets
  if (bWindowMode)
    DDUnInit();
  else
    DDRelease();
  RemoveKeyboardHook();
  plat::DestroyIcon(hIconMain);
  hIconMain = 0;
}
