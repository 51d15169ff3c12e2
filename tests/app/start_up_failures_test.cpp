// A start by the editor that fails at one step of start-up: what the player
// is shown (a box, or a report-log line where the step shows nothing), the
// shutdown that follows, and the editor told {0, 4, 0}.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/win_main.h"
#include "base/boxes.h"
#include "media/bgm.h"
#include "media/dd_layer.h"
#include "media/vox.h"
#include "platform/close_request.h"
#include "platform/dialog_box.h"
#include "platform/event_push.h"
#include "platform/soft_display.h"
#include "platform/virtual_keys.h"
#include "support/editor_listener.h"
#include "support/start_project.h"
#include "support/test_support.h"

using testsupport::Notice;
using testsupport::Sjis;
using testsupport::StartIni;

namespace {

StartIni Ini(int direct3D, int windowMode, int bpp) {
  StartIni ini;
  ini.direct3D = direct3D;
  ini.windowMode = windowMode;
  ini.bpp = bpp;
  return ini;
}

void Remove(const char* path) { EXPECT_EQ(std::remove(path), 0) << path; }

}  // namespace

TEST(StartUpFailures, EndTheRunWithTheirBoxOrLineAndTellTheEditor) {
  struct Case {
    const char* what;
    std::function<void()> prepare;  // in the working directory, before the start
    std::vector<int> answers;       // of the boxes, in order
    std::vector<std::string> boxes;
    std::string line;  // a line of the report log begins with it
  };
  const std::string dataFolderBox =
      Sjis("「data」フォルダの作成に失敗…\n「default」フォルダに問題がある可能性があります。");
  const std::string question = Sjis("データが存在しません！デフォルトデータを作成しますか？\n");
  const std::string dataFolderLine = Sjis("「data」フォルダの作成に失敗…");
  const Case cases[] = {
      {"no default\\ to make data\\ from", [] {}, {}, {dataFolderBox}, dataFolderLine},
      {"data\\ not made: answered No", [] { ASSERT_TRUE(testsupport::WriteStartProject()); }, {IDNO},
       {question, dataFolderBox}, dataFolderLine},
      {"a database file missing",
       [] {
         ASSERT_TRUE(testsupport::WriteStartProjectWithData());
         Remove("data/database/Sound.dat");
       },
       {},
       {Sjis("data\\database\\Sound.dat のロードに失敗！"), Sjis("データベースの読み込みに失敗…")},
       Sjis("データベースの読み込みに失敗…")},
      {"System.dat missing",
       [] {
         ASSERT_TRUE(testsupport::WriteStartProjectWithData());
         Remove("data/System.dat");
       },
       {},
       {Sjis("data\\System.dat の読み込みに失敗…")},
       Sjis("data\\System.dat の読み込みに失敗…")},
      {"the start-up dialog cancelled",
       [] {
         ASSERT_TRUE(testsupport::WriteStartProjectWithData(Ini(2, 1, 0)));
         plat::SetDialogShowHook(
             [](const plat::DialogShown& d) { plat::PushKeyStroke(d.windowId, VK_F4, plat::kModAlt); });
       },
       {},
       {},
       "Start-up : the start-up dialog was cancelled"},
      {"a window of another depth than the desktop's",
       [] { ASSERT_TRUE(testsupport::WriteStartProjectWithData(Ini(0, 1, 16))); },
       {},
       {Sjis("画面モードが不正です！\nウインドウモードではSystem.iniの設定と画面の色の設定を合わせて下さい！")},
       ""},
      {"the drawing layer does not start",
       [] {
         ASSERT_TRUE(testsupport::WriteStartProjectWithData());
         plat::FailDisplayStep(plat::DisplayStep::Create);
       },
       {},
       {},
       Sjis("DDInit失敗")},
      {"no palette image",
       [] {
         ASSERT_TRUE(testsupport::WriteStartProjectWithData());
         Remove("bmp/plt/Palette.bmp");
       },
       {},
       {},
       Sjis("DDLoadPaletteFromFile失敗")},
      {"8 bits without the palette scheme's blend table",
       [] { ASSERT_TRUE(testsupport::WriteStartProjectWithData(Ini(0, 0, 8))); },
       {},
       {Sjis("bmp\\hbt\\hbt00.dat の読み込みに失敗！")},
       ""},
      {"the world map missing",
       [] {
         ASSERT_TRUE(testsupport::WriteStartProjectWithData());
         Remove("data/WorldMap.dat");
       },
       {},
       {Sjis("data\\WorldMap.dat のロードに失敗！")},
       Sjis("data\\WorldMap.dat のロードに失敗！")},
      {"the common palette missing",
       [] {
         ASSERT_TRUE(testsupport::WriteStartProjectWithData());
         Remove("data/CommonPalette.cplt4");
       },
       {},
       {Sjis("data\\CommonPalette.cplt4 のロードに失敗！")},
       Sjis("data\\CommonPalette.cplt4 のロードに失敗！")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::ScopedWorkDir dir;
    testsupport::EditorListener editor(dir.Path() + "/editor.sock");
    ASSERT_TRUE(editor.Ok());
    SetVoxLibraryPath(VOX_LIBRARY_FILE);
    plat::SetDesktopBpp(32);
    plat::ResetCloseRequests();
    c.prepare();
    testsupport::ScriptedBoxes boxes(c.answers);

    EXPECT_EQ(WinMain("", 5), 0);

    std::vector<std::string> shown;
    for (const plat::BoxRequest& r : boxes.shown) shown.push_back(r.text);
    EXPECT_EQ(shown, c.boxes);
    const std::string report = dir.ReadFile("Report_Game.txt");
    if (!c.line.empty()) {
      EXPECT_NE(report.find("\r\n" + c.line), std::string::npos) << report;
    }
    EXPECT_EQ(editor.TakeAll(), (std::vector<std::string>{Notice(1, 1), Notice(0, 0)}));
    // Shut down: the layer, the music, the window and the lock are gone.
    EXPECT_FALSE(bDDReady);
    EXPECT_FALSE(lpDD);
    EXPECT_FALSE(lpDTCon);
    EXPECT_EQ(Bgm.m_bInit, 0);
    EXPECT_FALSE(hWndMain.load());
    EXPECT_FALSE(InstanceMutex.Held());
    plat::SetDialogShowHook(nullptr);
    plat::ClearDisplayFailures();
  }
}
