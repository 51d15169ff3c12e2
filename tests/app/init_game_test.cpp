// Start-up in the small project of tests/support/start_project.h, headless:
// the display mode chosen from System.ini, System.dat and the desktop; the
// drawing layer with its palette, transparent colour and pacing; the
// fallback from Direct3D; the start-up dialog's choice; the window's place;
// input, sound and the start stage; and shutdown after any start.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/display_mode.h"
#include "app/game.h"
#include "app/init_game.h"
#include "app/main_window.h"
#include "base/report_log.h"
#include "media/bgm.h"
#include "media/dd_layer.h"
#include "media/dd_surface.h"
#include "media/input.h"
#include "media/key_config.h"
#include "media/sound_effect.h"
#include "media/system_surfaces.h"
#include "media/vox.h"
#include "platform/audio_device.h"
#include "platform/close_request.h"
#include "platform/d3d_device.h"
#include "platform/dialog_box.h"
#include "platform/event_push.h"
#include "platform/soft_display.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"
#include "platform/window_geometry.h"
#include "records/data_file.h"
#include "records/database.h"
#include "records/stage.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "records/system_ini.h"
#include "records/user_settings.h"
#include "support/start_project.h"
#include "support/test_support.h"

using testsupport::Sjis;
using testsupport::StartIni;

namespace {

std::string Le32(uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

// A record file of int32 fields only: version 734, the count, the values, no strings.
std::string IntRecord(const std::vector<int32_t>& values) {
  std::string b = Le32(734) + Le32(static_cast<uint32_t>(values.size()));
  for (int32_t v : values) b += Le32(static_cast<uint32_t>(v));
  return b + Le32(0);
}

// Option.dat: palette 0, the music switch, the volume step, ranking mode 0, name "aaa".
std::string OptionDat(int music, int volume) {
  return Le32(734) + Le32(4) + Le32(0) + Le32(static_cast<uint32_t>(music)) + Le32(static_cast<uint32_t>(volume)) +
         Le32(0) + Le32(1) + Le32(4) + std::string("aaa\0", 4);
}

// A stage file with a hero, named `name` inside.
std::string StageBytes(const std::string& name) {
  cEdStage s;
  s.m_strName = name;
  s.m_nWidth = 30;
  cEdChara hero;
  hero.m_nGraphic = 3;
  hero.m_nOperator = 0;  // played by the player
  s.m_vPlacedChara.push_back(hero);
  cDataWriter w;
  s.Save(w);
  return w.Bytes();
}

// Every key assignment on joystick 0 button 1, 12 keys, 3 joysticks, assignment on.
std::string AssignedKeyConfig() {
  std::string bytes;
  for (int e = 0; e < 12; ++e) bytes += Le32(0) + std::string("\x01\x00\x00\x00", 4);
  return bytes + Le32(12) + Le32(3) + Le32(1);
}

class StartUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::ResetCloseRequests();
    plat::ClearDisplayFailures();
    plat::ResetD3DHooks();
    plat::SetDesktopBpp(0);
    SetVoxLibraryPath(VOX_LIBRARY_FILE);
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    ASSERT_TRUE(plat::StartWindowSystem());
    ASSERT_TRUE(MainWindow.Create());
  }

  void TearDown() override {
    UnInitGame();
    plat::DestroyAppWindow(hWndMain.load());
    plat::Message msg;
    while (plat::Peek(msg)) {
    }
    plat::StopWindowSystem();
    plat::SetDialogShowHook(nullptr);
    plat::SetAudioTestMode(plat::AudioTestMode::kOff);
    plat::ClearDisplayFailures();
    plat::ResetD3DHooks();
    plat::ResetCloseRequests();
    bTestPlay = 0;
    Game.m_nScene = Game.m_nPrevScene = Game.m_nPlayKind = Game.m_nPlayCommand = Game.m_bRanking = 0;
    KeyConfig = KEYCONFIG{};
    std::memset(&SystemIni, 0, sizeof SystemIni);
  }

  // The project with data\ ready, then InitGame.
  bool Start(const StartIni& ini, const std::string& commandLine = "",
             const testsupport::SystemEdit& edit = nullptr) {
    if (!testsupport::WriteStartProjectWithData(ini, edit)) {
      ADD_FAILURE() << "the project could not be written";
      return false;
    }
    return InitGame(commandLine, 1);
  }

  std::string Report() const { return m_dir.ReadFile("Report_Game.txt"); }
  bool ReportHas(const std::string& text) const { return Report().find(text) != std::string::npos; }

  testsupport::ScopedWorkDir m_dir;
  testsupport::ScriptedBoxes m_boxes;
};

const std::string kWindowDepthBox =
    Sjis("画面モードが不正です！\nウインドウモードではSystem.iniの設定と画面の色の設定を合わせて下さい！");
const std::string kScreenModeBox = Sjis("画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！");

}  // namespace

TEST_F(StartUpTest, ChoosesTheDepthFromSystemIniSystemDatAndTheDesktop) {
  enum Box { kNone, kWindowDepth, kScreenMode };
  struct Case {
    const char* what;
    int direct3D, windowMode, bpp, vsync, desktop, colourMode, d3dBpp, ddBpp;
    int window, vsyncOut, depth;
    Box box;
  } cases[] = {
      {"Direct3D window, automatic: the desktop's depth", 1, 1, 0, 2, 32, 0, 1, 1, 1, 1, 32, kNone},
      {"a 24-bit desktop counts as 32", 1, 1, 0, 0, 24, 0, 0, 0, 1, 0, 32, kNone},
      {"16 bits in a window on a 32-bit desktop", 1, 1, 16, 1, 32, 0, 0, 0, 1, 1, 16, kWindowDepth},
      {"DirectDraw window: no vertical sync", 0, 1, 0, 1, 16, 0, 0, 0, 1, 0, 16, kNone},
      {"8 bits in a window", 0, 1, 0, 0, 8, 0, 0, 2, 1, 0, 8, kScreenMode},
      {"Direct3D full screen, System.dat's 16 bits", 1, 0, 0, 2, 32, 0, 1, 0, 0, 1, 16, kNone},
      {"Direct3D full screen, System.dat's 32 bits", 1, 0, 0, 0, 16, 0, 0, 1, 0, 0, 32, kNone},
      {"DirectDraw full screen, palette mode, depth 2: 8 bits", 0, 0, 0, 2, 32, 0, 0, 2, 0, 0, 8, kNone},
      {"DirectDraw full screen, palette mode, depth 1: 16 bits", 0, 0, 0, 1, 32, 0, 0, 1, 0, 1, 16, kNone},
      {"DirectDraw full screen, no palette, depth 2: 32 bits", 0, 0, 0, 0, 32, 1, 0, 2, 0, 0, 32, kNone},
      {"System.ini's depth stands in full screen", 0, 0, 16, 0, 32, 0, 0, 2, 0, 0, 16, kNone},
      {"Direct3D has no 8 bits", 1, 0, 8, 0, 32, 0, 0, 0, 0, 0, 8, kScreenMode},
      {"no palette, no 8 bits", 0, 0, 8, 0, 32, 1, 0, 0, 0, 0, 8, kScreenMode},
      {"24 bits are no mode", 0, 0, 24, 0, 32, 0, 0, 0, 0, 0, 24, kScreenMode},
  };
  for (const Case& c : cases) {
    testsupport::ScriptedBoxes boxes;
    SystemIni.nDirect3D = c.direct3D;
    SystemIni.nWindowMode = c.windowMode;
    SystemIni.nBpp = c.bpp;
    SystemIni.nVSync = c.vsync;
    plat::SetDesktopBpp(c.desktop);
    SystemData.m_nColourMode = c.colourMode;
    SystemData.m_nD3DBpp = c.d3dBpp;
    SystemData.m_nDDBpp = c.ddBpp;

    EXPECT_EQ(ChooseDisplayMode(), c.box == kNone) << c.what;
    EXPECT_EQ(bWindowMode, c.window) << c.what;
    EXPECT_EQ(SystemIni.nVSync, c.vsyncOut) << c.what;
    EXPECT_EQ(nColorBits, c.depth) << c.what;
    EXPECT_EQ(SystemIni.nBpp, c.depth) << c.what;
    std::vector<std::string> texts;
    for (const plat::BoxRequest& r : boxes.shown) texts.push_back(r.text);
    const std::vector<std::string> expected = c.box == kNone          ? std::vector<std::string>{}
                                              : c.box == kWindowDepth ? std::vector<std::string>{kWindowDepthBox}
                                                                      : std::vector<std::string>{kScreenModeBox};
    EXPECT_EQ(texts, expected) << c.what;
  }
  SystemData.Reset();
}

TEST_F(StartUpTest, OnlyADirect3DWindowOfWindowMode2IsResizable) {
  struct Case {
    int direct3D, windowMode;
    bool resizable;
  } cases[] = {{1, 2, true}, {1, 1, false}, {0, 2, false}};
  plat::SetDesktopBpp(32);
  for (const Case& c : cases) {
    MainWindow.RemoveStyle(WS_THICKFRAME);
    SystemIni.nDirect3D = c.direct3D;
    SystemIni.nWindowMode = c.windowMode;
    SystemIni.nBpp = 0;
    ASSERT_TRUE(ChooseDisplayMode());
    EXPECT_EQ((plat::GetWindowStyle(hWndMain.load()) & WS_THICKFRAME) != 0, c.resizable)
        << c.direct3D << " " << c.windowMode;
  }
}

// The display the project asks for, with its palette, transparent colour
// and frame pacing. Palette.bmp's top-left pixel is entry 0, magenta; a
// project without palette (colour mode 1) keys green.
TEST_F(StartUpTest, StartsTheDrawingLayerWithThePalettesColoursAndItsPacing) {
  struct Case {
    const char* what;
    int direct3D, windowMode, bpp, vsync, colourMode;
    const char* modeLines;
    uint32_t transmitPixel;
    RGBTRIPLE key16;  // the key of 24-bit images at 16 bits
    int timerPacing;
  } cases[] = {
      {"software display, full screen, 8 bits", 0, 0, 8, 0, 0, "Mode : Fullscreen\r\nBpp : 8\r\n", 0, {}, 1},
      {"software display, full screen, vertical sync", 0, 0, 32, 1, 0, "Mode : Fullscreen\r\nBpp : 32\r\n",
       0xFF00FF, {}, 0},
      {"software display in a window", 0, 1, 0, 0, 0, "Mode : Window\r\nBpp : 32\r\n", 0xFF00FF, {}, 1},
      {"no palette, 32 bits: the project's key", 0, 0, 32, 1, 1, "Mode : Fullscreen\r\nBpp : 32\r\n", 0x00FF00,
       {}, 0},
      {"no palette, 16 bits: the image's key, the project's for 24-bit images", 0, 0, 16, 1, 1,
       "Mode : Fullscreen\r\nBpp : 16\r\n", 0xF81F, {0, 255, 0}, 0},
      {"Direct3D in a window", 1, 1, 0, 0, 0, "Mode : Window\r\nBpp : 32\r\n", 0, {}, 0},
      {"Direct3D full screen, 16 bits, no palette", 1, 0, 16, 1, 1, "Mode : Fullscreen\r\nBpp : 16\r\n", 0,
       {0, 255, 0}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::ScopedWorkDir dir;
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    StartIni ini;
    ini.direct3D = c.direct3D;
    ini.windowMode = c.windowMode;
    ini.bpp = c.bpp;
    ini.vsync = c.vsync;
    dir.WriteFile("bmp/hbt/hbt00.dat", std::string(65536, '\0'));  // palette scheme 0's blend table
    ASSERT_TRUE(Start(ini, "", [&](cEdSystem& sys) {
      sys.m_nColourMode = c.colourMode;
      sys.m_nKeyRed = 0;
      sys.m_nKeyGreen = 255;
      sys.m_nKeyBlue = 0;
    }));
    EXPECT_NE(dir.ReadFile("Report_Game.txt").find(c.modeLines), std::string::npos) << dir.ReadFile("Report_Game.txt");
    EXPECT_EQ(bTimerPacing, c.timerPacing);
    // Entry 7 of the palette image is (7, 248, 3) (at 16 bits the swatch
    // comes back in the display's channel steps); the base palette is its copy.
    if (nColorBits != 16) {
      EXPECT_EQ(CurPalette[7].peRed, 7);
      EXPECT_EQ(CurPalette[7].peGreen, 248);
      EXPECT_EQ(CurPalette[7].peBlue, 3);
    }
    EXPECT_TRUE(std::equal(std::begin(CurPalette), std::end(CurPalette), std::begin(BasePalette)));
    if (c.direct3D) {
      ASSERT_TRUE(lpDTCon);
      EXPECT_EQ(lpDTCon->strTextureAdvice.rfind(Sjis("テクスチャの作成に失敗しました！\n"), 0), 0u);
      EXPECT_EQ(lpDTCon->rgbTransmit16, c.key16);
      // The alias surfaces show their sources.
      EXPECT_EQ(SurfaceTable[23].lpAlias, &SurfaceTable[4]);
    } else {
      ASSERT_TRUE(lpDDCon);
      EXPECT_EQ(TransmitPixel, c.transmitPixel);
      EXPECT_EQ(lpDDCon->rgbTransmit16, c.key16);
      EXPECT_EQ(SurfaceTable[23].lpAlias, nullptr);
    }
    EXPECT_EQ(SurfaceTable[0].nHeight, 24);  // surface 0: the palette image
    UnInitGame();
  }
}

TEST_F(StartUpTest, AFailedDirect3DStartFallsBackToTheSoftwareDisplayInTheSameMode) {
  plat::FailD3DCall(plat::D3DCall::Create, -1);
  StartIni ini;
  ini.direct3D = 1;
  ini.windowMode = 1;
  ASSERT_TRUE(Start(ini));
  EXPECT_EQ(SystemIni.nDirect3D, 0);
  EXPECT_FALSE(lpDTCon);
  EXPECT_TRUE(lpDD);
  EXPECT_EQ(bWindowMode, 1);
  EXPECT_EQ(nBpp, 32);
  EXPECT_TRUE(ReportHas("\r\nMode : Window\r\nBpp : 32\r\n"));
  EXPECT_TRUE(m_boxes.shown.empty());
}

TEST_F(StartUpTest, TheStartUpDialogAsksOnlyUntilBootDatSaysNotTo) {
  struct Case {
    const char* what;
    int direct3D;
    std::string bootDat;  // empty: none
    bool asked;
    int backEnd;
  } cases[] = {
      {"System.ini decides", 0, "", false, 0},
      {"asked, Direct3D stays chosen", 2, "", true, 1},
      {"not asked again: Boot.dat's DirectDraw", 2, IntRecord({0, 1}), false, 0},
      {"not asked again: Boot.dat's Direct3D", 3, IntRecord({1, 1}), false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::ScopedWorkDir dir;
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    if (!c.bootDat.empty()) dir.WriteFile("user_data/Boot.dat", c.bootDat);
    int shown = 0;
    plat::SetDialogShowHook([&](const plat::DialogShown& d) {
      ++shown;
      plat::PushKeyStroke(d.windowId, VK_RETURN);  // "ゲーム開始"
    });
    StartIni ini;
    ini.direct3D = c.direct3D;
    ASSERT_TRUE(Start(ini));
    EXPECT_EQ(shown, c.asked ? 1 : 0);
    EXPECT_EQ(SystemIni.nDirect3D, c.backEnd);
    EXPECT_EQ(lpDTCon != nullptr, c.backEnd == 1);
    UnInitGame();
  }
}

TEST_F(StartUpTest, PutsTheWindowWhereWindowDatSays) {
  struct Case {
    const char* what;
    int direct3D, windowMode;
    int x, y, width, height;  // the place and client size expected
  } cases[] = {
      {"a window", 0, 1, 300, 200, 640, 480},
      {"a resizable Direct3D window takes its size too", 1, 2, 300, 200, 800, 600},
      {"full screen ignores it", 0, 0, -1, -1, 640, 480},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::ScopedWorkDir dir;
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    dir.WriteFile("user_data/Window.dat", IntRecord({300, 200, 800, 600, 0}));
    plat::Rect before;
    ASSERT_TRUE(plat::GetWindowRect(hWndMain.load(), before));
    StartIni ini;
    ini.direct3D = c.direct3D;
    ini.windowMode = c.windowMode;
    ini.bpp = c.windowMode ? 0 : 32;
    ASSERT_TRUE(Start(ini));
    plat::Rect outer;
    ASSERT_TRUE(plat::GetWindowRect(hWndMain.load(), outer));
    EXPECT_EQ(outer.left, c.x < 0 ? before.left : c.x);
    EXPECT_EQ(outer.top, c.y < 0 ? before.top : c.y);
    plat::Rect client;
    ASSERT_TRUE(plat::GetClientRect(hWndMain.load(), client));
    EXPECT_EQ(client.Width(), c.width);
    EXPECT_EQ(client.Height(), c.height);
    UnInitGame();
    MainWindow.SetClientSize(640, 480);
    MainWindow.Move(before.left, before.top);
  }
}

TEST_F(StartUpTest, ReadsTheKeyConfigurationOrTakesTheDefaults) {
  struct Case {
    const char* what;
    bool write;
    std::string bytes;
    int32_t bAssign, nJoysticks;
  };
  const Case cases[] = {
      {"assignment", true, AssignedKeyConfig(), 1, 3},
      {"no file", false, "", 0, 1},
      {"a short file", true, AssignedKeyConfig().substr(0, 100), 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::ScopedWorkDir dir;
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    if (c.write) dir.WriteFile("user_data/KeyConfig.dat", c.bytes);
    KeyConfig = KEYCONFIG{};
    KeyConfig.nJoysticks = 77;
    Input.At(0) = cInput();
    ASSERT_TRUE(Start(StartIni()));
    EXPECT_EQ(KeyConfig.bAssign, c.bAssign);
    EXPECT_EQ(KeyConfig.nJoysticks, c.nJoysticks);
    EXPECT_EQ(Input.At(0).m_nRepeatDelay, 18u);
    EXPECT_EQ(Input.At(0).m_nRepeatInterval, 6u);
    EXPECT_EQ(Input.At(0).m_awJoyMask[7], 0x80);
    EXPECT_EQ(Game.m_nFps, 60);
    EXPECT_EQ(Game.m_nFadeStep, 10);
    EXPECT_EQ(Game.m_pSceneMaker, &AppSceneMaker);
    UnInitGame();
  }
}

TEST_F(StartUpTest, SoundEffectsAndMusicComeUpAsTheOptionsSay) {
  struct Case {
    const char* what;
    std::string optionDat;  // empty: none (music on, volume step 7)
    bool noSoundDevice;
    int musicUp;
  } cases[] = {
      {"the options' defaults", "", false, 1},
      {"no sound output with music on: silent, with a line", "", true, 1},
      {"music off", OptionDat(0, 10), false, 0},
      {"no sound output at all: silent, with a line", OptionDat(0, 7), true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::ScopedWorkDir dir;
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    if (!c.optionDat.empty()) dir.WriteFile("user_data/Option.dat", c.optionDat);
    plat::SetAudioTestMode(c.noSoundDevice ? plat::AudioTestMode::kNoDevice : plat::AudioTestMode::kOff);
    ASSERT_TRUE(Start(StartIni()));
    EXPECT_EQ(Bgm.m_bInit, c.musicUp);
    EXPECT_TRUE(m_boxes.shown.empty());
    // The 17 system sounds, then Sound.dat's entries from 1 on.
    EXPECT_EQ(SeBank.Size(), 16 + Database.m_vSound.Size());
    EXPECT_EQ(SeDefs.Size(), SeBank.Size());
    EXPECT_EQ(dir.ReadFile("Report_Game.txt").find(Sjis("DS_Init失敗！")) != std::string::npos, c.noSoundDevice);
    UnInitGame();
    EXPECT_EQ(Bgm.m_bInit, 0);
    plat::SetAudioTestMode(plat::AudioTestMode::kOff);
  }
  OptionData.m_bBgm = 1;
  OptionData.m_nSeVolume = 7;
}

TEST_F(StartUpTest, AStartStageIsPlayedFirstInItsNewestVersionOrReportedAndLeftOut) {
  const std::string tooLong = "data\\stg4\\" + std::string(260, 'x') + ".stg4_000";
  struct Case {
    const char* what;
    std::string commandLine;
    std::string freeStageIni;  // System.ini's FreeStage
    bool played;
    std::string loaded;  // the stage file Stage holds
    std::string reported;  // the name in the report line
  } cases[] = {
      {"the newest version", "data\\stg4\\one.stg4_100", "", true, "data\\stg4\\one.stg4_734", ""},
      {"System.ini's start stage", "", "data\\stg4\\one.stg4_000", true, "data\\stg4\\one.stg4_734", ""},
      {"the command line before System.ini", "data\\stg4\\two.stg4_000", "data\\stg4\\one.stg4_000", true,
       "data\\stg4\\two.stg4_000", ""},
      {"a missing stage", "data\\stg4\\none.stg4_000", "", false, "", "data\\stg4\\none.stg4_000"},
      {"a name too long, never cut", tooLong, "", false, "", tooLong},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::ScopedWorkDir dir;
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    // In default\, which becomes data\.
    dir.WriteFile("default/stg4/one.stg4_100", StageBytes("old"));
    dir.WriteFile("default/stg4/one.stg4_734", StageBytes("new"));
    dir.WriteFile("default/stg4/two.stg4_000", StageBytes("two"));
    Stage.m_strPath.clear();
    StartIni ini;
    ini.freeStage = c.freeStageIni;
    ASSERT_TRUE(Start(ini, c.commandLine)) << dir.ReadFile("Report_Game.txt");
    EXPECT_EQ(bTestPlay.load(), c.played ? 1 : 0);
    EXPECT_EQ(Game.m_nScene, c.played ? SCENE_STAGE : SCENE_TITLE);
    if (c.played) {
      EXPECT_EQ(Stage.m_strPath, c.loaded);
      EXPECT_EQ(SystemIni.szFreeStage, c.loaded);
      EXPECT_EQ(Game.m_nPlayKind, PLAYKIND_FREE);
      EXPECT_EQ(Game.m_nPlayCommand, GAMEMODE_FREE);
      EXPECT_EQ(Game.m_bRanking, 1);
      EXPECT_EQ(Game.m_nPrevScene, SCENE_TITLE);
    } else {
      EXPECT_STREQ(SystemIni.szFreeStage, "");
      EXPECT_TRUE(Stage.m_strPath.empty());
      const std::string line = Sjis("「") + c.reported + Sjis("」の読み込みに失敗しました！") + "\r\n";
      EXPECT_NE(dir.ReadFile("Report_Game.txt").find(line), std::string::npos);
    }
    EXPECT_TRUE(m_boxes.shown.empty());
    UnInitGame();
    bTestPlay = 0;
    Game.m_nScene = 0;
  }
}

TEST_F(StartUpTest, AStageWithoutANumberedVersionEndsStartUpWithALine) {
  m_dir.WriteFile("default/stg4/plain.stg4", StageBytes("plain"));
  EXPECT_FALSE(Start(StartIni(), "data\\stg4\\plain.stg4"));
  EXPECT_TRUE(ReportHas(Sjis("「data\\stg4\\plain.stg4」の読み込みに失敗しました！")));
}

TEST_F(StartUpTest, ShutdownIsSafeAfterAPartialStartAndASecondTime) {
  // Up to the drawing layer, then the world map is missing.
  ASSERT_TRUE(testsupport::WriteStartProjectWithData());
  ASSERT_EQ(std::remove("data/WorldMap.dat"), 0);
  EXPECT_FALSE(InitGame("", 1));
  EXPECT_TRUE(bDDReady);
  UnInitGame();
  EXPECT_FALSE(bDDReady);
  EXPECT_FALSE(lpDD);
  EXPECT_EQ(Bgm.m_bInit, 0);
  UnInitGame();
  EXPECT_FALSE(bDDReady);
}
