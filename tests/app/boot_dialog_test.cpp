// The start-up dialog driven by the player's events: the back end and the
// do-not-ask box into Boot.dat (its bytes written out by hand), the ways of
// ending without a change, a stored mode no radio button has, the English
// texts, the title and where it opens.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

#include "app/boot_dialog.h"
#include "app/main_window.h"
#include "dialog_fixture.h"
#include "platform/close_request.h"
#include "platform/host_path.h"
#include "platform/input_state.h"
#include "platform/message_numbers.h"
#include "platform/virtual_keys.h"
#include "records/system.h"
#include "records/system_ini.h"
#include "records/user_settings.h"

using testsupport::Sjis;

namespace {

constexpr int kD3D = 1002, kDDraw = 1003, kNoAsk = 1004, kNote = 1005, kGroup = 1006, kStart = 1000,
              kCancel = 1001;

int Checked(const plat::DialogShown& shown, int id) {
  for (const auto& item : shown.items)
    if (item.id == id) return static_cast<int>(plat::Send(item.control, BM_GETCHECK, 0, 0));
  return -1;
}

std::string Le32(uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

// Boot.dat: data version 734, two fields, the mode, the box, no strings.
std::string BootBytes(uint32_t mode, uint32_t noAsk) {
  return Le32(734) + Le32(2) + Le32(mode) + Le32(noAsk) + Le32(0);
}

}  // namespace

class BootDialogTest : public DialogFixture {
 protected:
  void SetUp() override {
    DialogFixture::SetUp();
    BootData.m_nDrawMode = 1;
    BootData.m_bNoAsk = 0;
    SystemIni.nEnglish = 0;
    SystemData.m_strTitle = Sjis("テストゲーム");
    MainWindow.m_nPosX = 100;
    MainWindow.m_nPosY = 50;
    ASSERT_TRUE(plat::CreateDirectory("user_data"));
  }
  void TearDown() override {
    BootData.m_nDrawMode = 1;
    BootData.m_bNoAsk = 0;
    SystemIni.nEnglish = 0;
    SystemData.m_strTitle.clear();
    MainWindow.m_nPosX = MainWindow.m_nPosY = 0;
    DialogFixture::TearDown();
  }

  int Run(const std::function<void(const plat::DialogShown&)>& script) {
    OnShow([&](const plat::DialogShown& shown) {
      m_radios[0] = Checked(shown, kD3D);
      m_radios[1] = Checked(shown, kDDraw);
      m_box = Checked(shown, kNoAsk);
      plat::GetWindowText(shown.dialog, m_title, 200);
      for (int id : {kGroup, kD3D, kDDraw, kNote, kNoAsk, kStart, kCancel})
        plat::GetDlgItemText(shown.dialog, id, m_texts[id], 200);
      script(shown);
      plat::PushKeyStroke(shown.windowId, VK_F4, plat::kModAlt);  // should the script leave it open
    });
    cBootDialog dialog(IDD_BOOT, &MainWindow, 1, nullptr);
    plat::GetCursorPos(m_cursor);
    m_place = {dialog.m_nReqX, dialog.m_nReqY};  // before the work area clamps it
    return dialog.DoModal(0);
  }

  int m_radios[2] = {-1, -1};
  int m_box = -1;
  std::string m_title;
  std::map<int, std::string> m_texts;
  plat::Point m_cursor, m_place;
};

TEST_F(BootDialogTest, StartSavesTheChosenBackEndAndTheBoxToBootDat) {
  const struct {
    int radio;
    bool tick;
    uint32_t mode, noAsk;
  } cases[] = {
      {kD3D, false, 1, 0},
      {kD3D, true, 1, 1},
      {kDDraw, false, 0, 0},
      {kDDraw, true, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.radio * 10 + c.tick);
    BootData.m_nDrawMode = c.radio == kD3D ? 0 : 1;  // the other one stored
    BootData.m_bNoAsk = 0;
    int result = Run([&](const plat::DialogShown& shown) {
      plat::PushClick(shown.windowId, ItemRect(shown, c.radio));
      if (c.tick) plat::PushClick(shown.windowId, ItemRect(shown, kNoAsk));
      plat::PushClick(shown.windowId, ItemRect(shown, kStart));
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(m_dir.ReadFile("user_data/Boot.dat"), BootBytes(c.mode, c.noAsk));
    EXPECT_EQ(BootData.m_nDrawMode, static_cast<int32_t>(c.mode));
    EXPECT_EQ(BootData.m_bNoAsk, static_cast<int32_t>(c.noAsk));
  }
}

TEST_F(BootDialogTest, CancelTheCloseBoxAndAltF4EndWith0AndLeaveBootDatAlone) {
  enum class End { Cancel, CloseBox, AltF4 };
  for (bool fileThere : {true, false}) {
    for (End end : {End::Cancel, End::CloseBox, End::AltF4}) {
      SCOPED_TRACE(static_cast<int>(end) * 10 + fileThere);
      if (fileThere)
        m_dir.WriteFile("user_data/Boot.dat", BootBytes(1, 0));
      else
        std::remove((m_dir.Path() + "/user_data/Boot.dat").c_str());
      BootData.m_nDrawMode = 1;
      BootData.m_bNoAsk = 0;
      int result = Run([&](const plat::DialogShown& shown) {
        plat::PushClick(shown.windowId, ItemRect(shown, kDDraw));
        plat::PushClick(shown.windowId, ItemRect(shown, kNoAsk));
        plat::PushKeyStroke(shown.windowId, VK_ESCAPE);  // does nothing
        switch (end) {
          case End::Cancel: plat::PushClick(shown.windowId, ItemRect(shown, kCancel)); break;
          case End::CloseBox: plat::PushClick(shown.windowId, shown.closeBox); break;
          default: plat::PushKeyStroke(shown.windowId, VK_F4, plat::kModAlt); break;
        }
      });
      EXPECT_EQ(result, 0);
      EXPECT_EQ(m_dir.Exists("user_data/Boot.dat"), fileThere);
      if (fileThere) {
        EXPECT_EQ(m_dir.ReadFile("user_data/Boot.dat"), BootBytes(1, 0));
      }
      EXPECT_EQ(BootData.m_nDrawMode, 1);
      EXPECT_EQ(BootData.m_bNoAsk, 0);
    }
  }
}

TEST_F(BootDialogTest, AStoredModeOfNeither0Nor1ChecksNoRadioAndIsSavedUnchanged) {
  BootData.m_nDrawMode = 7;
  BootData.m_bNoAsk = 1;
  int result = Run([](const plat::DialogShown& shown) { plat::PushKeyStroke(shown.windowId, VK_RETURN); });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(m_radios[0], 0);
  EXPECT_EQ(m_radios[1], 0);
  EXPECT_EQ(m_box, 1);
  EXPECT_EQ(m_dir.ReadFile("user_data/Boot.dat"), BootBytes(7, 1));
}

TEST_F(BootDialogTest, TheStoredChoiceIsShownChecked) {
  const struct {
    int32_t mode, noAsk;
    int d3d, ddraw, box;
  } cases[] = {{1, 0, 1, 0, 0}, {0, 1, 0, 1, 1}};
  for (const auto& c : cases) {
    BootData.m_nDrawMode = c.mode;
    BootData.m_bNoAsk = c.noAsk;
    Run([](const plat::DialogShown& shown) { plat::PushClick(shown.windowId, ItemRect(shown, kCancel)); });
    EXPECT_EQ(m_radios[0], c.d3d) << c.mode;
    EXPECT_EQ(m_radios[1], c.ddraw) << c.mode;
    EXPECT_EQ(m_box, c.box) << c.mode;
  }
}

TEST_F(BootDialogTest, TheTextsFollowTheEnglishSwitchAndTheTitleIsTheGames) {
  const struct {
    int english;
    std::map<int, std::string> texts;
  } cases[] = {
      {0,
       {{kGroup, Sjis("描画モード")},
        {kD3D, "Direct3D"},
        {kDDraw, "DirectDraw"},
        {kNote, Sjis("詳細な設定は環境設定ファイル「System.ini」で行って下さい。")},
        {kNoAsk, Sjis("次回からこのダイアログを表示しない")},
        {kStart, Sjis("ゲーム開始")},
        {kCancel, Sjis("ゲーム中止")}}},
      {1,
       {{kGroup, "Drawing mode"},
        {kD3D, "Direct3D"},
        {kDDraw, "DirectDraw"},
        {kNote, "Configure the detail settings at \"System.ini\"."},
        {kNoAsk, "Do not ask this dialog again"},
        {kStart, "Start"},
        {kCancel, "Cancel"}}},
  };
  for (const auto& c : cases) {
    SystemIni.nEnglish = c.english;
    Run([](const plat::DialogShown& shown) { plat::PushClick(shown.windowId, ItemRect(shown, kCancel)); });
    EXPECT_EQ(m_texts, c.texts) << c.english;
    EXPECT_EQ(m_title, Sjis("テストゲーム")) << c.english;
  }
}

TEST_F(BootDialogTest, OpensCentredOnTheMainWindowWithThePointerOnStart) {
  const struct {
    int mainX, mainY;
    plat::Point place, cursor;
  } cases[] = {
      {100, 50, {233, 154}, {414, 352}},
      // The pointer's place is cut toward zero: -300 + 181.9 gives -118.
      {-433, -304, {-300, -200}, {-118, -1}},
  };
  for (const auto& c : cases) {
    MainWindow.m_nPosX = c.mainX;
    MainWindow.m_nPosY = c.mainY;
    Run([](const plat::DialogShown& shown) { plat::PushClick(shown.windowId, ItemRect(shown, kCancel)); });
    EXPECT_EQ(m_place, c.place) << c.mainX;
    EXPECT_EQ(m_cursor, c.cursor) << c.mainX;
  }
}

// A Boot.dat that cannot be written: the report log says so, the dialog
// still starts the game with the choice, and nothing else is touched.
TEST_F(BootDialogTest, AFailedSaveIsReportedAndTheChoiceHoldsForThisRun) {
  ASSERT_TRUE(plat::RemoveTree("user_data"));
  int result = Run([](const plat::DialogShown& shown) {
    plat::PushClick(shown.windowId, ItemRect(shown, kDDraw));
    plat::PushClick(shown.windowId, ItemRect(shown, kStart));
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(BootData.m_nDrawMode, 0);
  EXPECT_FALSE(m_dir.Exists("user_data"));
  EXPECT_NE(ReportLog().find("Boot : user_data\\Boot.dat cannot be written"), std::string::npos) << ReportLog();
}

TEST_F(BootDialogTest, ALookupOfAMissingControlIdAsksToClose) {
  cBootDialog dialog(IDD_BOOT, &MainWindow, 1, nullptr);
  EXPECT_NE(dialog.FindCheckBox(1004), nullptr);
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
  EXPECT_EQ(dialog.FindCheckBox(1005), nullptr);  // the note is no check box
  EXPECT_EQ(dialog.FindStatic(1004), nullptr);
  EXPECT_EQ(plat::CloseRequestCount(), 2u);
}
