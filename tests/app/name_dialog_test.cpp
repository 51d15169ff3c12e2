// The name-entry dialog driven by the player's events: which name it edits,
// what typing, composing and the ways of ending do to it, where it opens,
// and its English label.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/name_dialog.h"
#include "dialog_fixture.h"
#include "game/game.h"
#include "platform/host_path.h"
#include "platform/input_state.h"
#include "platform/message_numbers.h"
#include "platform/virtual_keys.h"
#include "records/system_ini.h"
#include "records/user_settings.h"
#include "recording_display.h"
#include "stage/scene_stage.h"

using testsupport::Sjis;

namespace {

constexpr int kEdit = 1003, kLabel = 1007, kOk = 1000;

}  // namespace

class NameDialogTest : public DialogFixture {
 protected:
  void SetUp() override {
    DialogFixture::SetUp();
    Game.m_nPlayCommand = GAMEMODE_NEWSTORY;
    CurStage = nullptr;
    OptionData.m_strRankingName = "opt";
    m_stage.m_strRankingName = "stg";
    SystemIni.nEnglish = 0;
    MainWindow.m_nPosX = 100;
    MainWindow.m_nPosY = 50;
  }
  void TearDown() override {
    CurStage = nullptr;
    Game.m_nPlayCommand = GAMEMODE_NEWSTORY;
    OptionData.m_strRankingName = "aaa";
    SystemIni.nEnglish = 0;
    MainWindow.m_nPosX = MainWindow.m_nPosY = 0;
    DialogFixture::TearDown();
  }

  // Opens the dialog as the main window does, the script pushing the
  // player's events; its result.
  int Run(const std::function<void(const plat::DialogShown&)>& script) {
    OnShow([&](const plat::DialogShown& shown) {
      plat::GetDlgItemText(shown.dialog, kEdit, m_shownName, 100);
      plat::Send(plat::GetDlgItem(shown.dialog, kEdit), EM_GETSEL, reinterpret_cast<uintptr_t>(&m_shownSel[0]),
                 reinterpret_cast<intptr_t>(&m_shownSel[1]));
      plat::GetDlgItemText(shown.dialog, kLabel, m_shownLabel, 100);
      m_focusOnEdit = plat::GetFocus() == plat::GetDlgItem(shown.dialog, kEdit);
      script(shown);
      plat::PushKeyStroke(shown.windowId, VK_F4, plat::kModAlt);  // should the script leave it open
    });
    cNameDialog dialog(IDD_NAMEENTRY, &MainWindow, 1, nullptr);
    m_cursorAfterBuild = {};
    plat::GetCursorPos(m_cursorAfterBuild);
    int result = dialog.DoModal(0);
    m_dialogPos = {dialog.m_nPosX, dialog.m_nPosY};
    return result;
  }

  cSceneStage m_stage;
  std::string m_shownName, m_shownLabel;
  int m_shownSel[2] = {-1, -1};
  bool m_focusOnEdit = false;
  plat::Point m_cursorAfterBuild, m_dialogPos;
};

TEST_F(NameDialogTest, TheOptionsScreenEditsTheRegisteredNameAStageItsOwnAndNothingElseNothing) {
  const struct {
    const char* name;
    int playCommand;
    bool stage;
    std::string shown;  // the name the field opens with
    std::string option, stageName;  // after typing "xyz" and OK
  } cases[] = {
      {"options screen", GAMEMODE_OPTION, true, "opt", "xyz", "stg"},
      {"a stage", GAMEMODE_FREE, true, "stg", "opt", "xyz"},
      {"neither", GAMEMODE_FREE, false, "", "opt", "stg"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    OptionData.m_strRankingName = "opt";
    m_stage.m_strRankingName = "stg";
    Game.m_nPlayCommand = c.playCommand;
    CurStage = c.stage ? &m_stage : nullptr;
    int result = Run([](const plat::DialogShown& shown) {
      plat::PushTextInput(shown.windowId, "xyz");
      plat::PushClick(shown.windowId, ItemRect(shown, kOk));
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(m_shownName, c.shown);
    EXPECT_EQ(OptionData.m_strRankingName, c.option);
    EXPECT_EQ(m_stage.m_strRankingName, c.stageName);
  }
}

TEST_F(NameDialogTest, OpeningSelectsTheOldNameWholeSoTypingReplacesIt) {
  CurStage = &m_stage;
  Run([](const plat::DialogShown& shown) {
    plat::PushTextInput(shown.windowId, "q");
    plat::PushKeyStroke(shown.windowId, VK_RETURN);
  });
  EXPECT_TRUE(m_focusOnEdit);
  EXPECT_EQ(m_shownSel[0], 0);
  EXPECT_EQ(m_shownSel[1], 3);
  EXPECT_EQ(m_stage.m_strRankingName, "q");
}

TEST_F(NameDialogTest, TypingAndTheWaysOfEndingDecideTheName) {
  const std::string kana = Sjis("あいう");
  const struct {
    const char* name;
    std::function<void(uint32_t window, const plat::Rect& ok)> steps;
    int result;
    std::string after;
  } cases[] = {
      {"a fourth character is refused",
       [](uint32_t w, const plat::Rect&) {
         for (const char* c : {"a", "b", "c", "d"}) plat::PushTextInput(w, c);
         plat::PushKeyStroke(w, VK_RETURN);
       },
       1, "abc"},
      {"three double-byte characters through a composition",
       [](uint32_t w, const plat::Rect&) {
         plat::PushTextEditing(w, "\xE3\x81\x82");                         // あ
         plat::PushTextEditing(w, "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86");  // あいう
         plat::PushKeyStroke(w, VK_RETURN);  // the input method's: confirms the composition
         plat::PushTextInput(w, "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86");
         plat::PushKeyStroke(w, VK_RETURN);
       },
       1, kana},
      {"OK by a click stores",
       [](uint32_t w, const plat::Rect& ok) {
         plat::PushTextInput(w, "ab");
         plat::PushClick(w, ok);
       },
       1, "ab"},
      {"Escape does nothing, then Enter stores",
       [](uint32_t w, const plat::Rect&) {
         plat::PushTextInput(w, "ab");
         plat::PushKeyStroke(w, VK_ESCAPE);
         plat::PushTextInput(w, "c");
         plat::PushKeyStroke(w, VK_RETURN);
       },
       1, "abc"},
      {"Alt+F4 keeps the old name",
       [](uint32_t w, const plat::Rect&) {
         plat::PushTextInput(w, "ab");
         plat::PushKeyStroke(w, VK_F4, plat::kModAlt);
       },
       0, "stg"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_stage.m_strRankingName = "stg";
    CurStage = &m_stage;
    int result = Run([&](const plat::DialogShown& shown) { c.steps(shown.windowId, ItemRect(shown, kOk)); });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(m_stage.m_strRankingName, c.after);
  }
}

TEST_F(NameDialogTest, OpensAt240By220FromTheMainWindowInAWindowAndOnTheScreenInFullScreen) {
  const struct {
    int window;
    plat::Point place;
  } cases[] = {{1, {340, 270}}, {0, {240, 220}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.window);
    cRecordingDisplay display;
    display.m_bWindow = c.window;
    Run([](const plat::DialogShown& shown) { plat::PushKeyStroke(shown.windowId, VK_F4, plat::kModAlt); });
    EXPECT_EQ(m_dialogPos, c.place);
    // The pointer rests on "OK".
    EXPECT_EQ(m_cursorAfterBuild, (plat::Point{c.place.x + 80, c.place.y + 65}));
  }
}

TEST_F(NameDialogTest, TheLabelIsEnglishWithTheEnglishSwitch) {
  for (int english : {0, 1}) {
    SystemIni.nEnglish = english;
    Run([](const plat::DialogShown& shown) { plat::PushKeyStroke(shown.windowId, VK_RETURN); });
    // "登録名(3文字まで)"
    EXPECT_EQ(m_shownLabel, english ? "     Name" : Sjis("登録名(3文字まで)"));
  }
}

// Option.dat written after the options screen's name entry holds the new
// name: the bytes of the record file, written out by hand.
TEST_F(NameDialogTest, TheOptionsNameReachesOptionDat) {
  Game.m_nPlayCommand = GAMEMODE_OPTION;
  Run([](const plat::DialogShown& shown) {
    plat::PushTextInput(shown.windowId, "\xE3\x81\x82" "b");  // あb
    plat::PushKeyStroke(shown.windowId, VK_RETURN);
  });
  ASSERT_TRUE(plat::CreateDirectory("user_data"));
  ASSERT_EQ(OptionData.SaveToFile("user_data\\Option.dat"), 1);
  const std::string expected = std::string("\xDE\x02\x00\x00" "\x04\x00\x00\x00", 8) +  // version 734, 4 fields
                               std::string("\x00\x00\x00\x00" "\x01\x00\x00\x00", 8) +  // palette 0, music on
                               std::string("\x07\x00\x00\x00" "\x00\x00\x00\x00", 8) +  // volume 7, mode 0
                               std::string("\x01\x00\x00\x00" "\x04\x00\x00\x00", 8) +  // 1 string of 3 + 1 bytes
                               std::string("\x82\xA0" "b\x00", 4);
  EXPECT_EQ(m_dir.ReadFile("user_data/Option.dat"), expected);
}
