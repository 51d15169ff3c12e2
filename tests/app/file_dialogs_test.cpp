// The open and save file dialogs driven by the player's events in a folder
// of matching and other files, a sub-folder and a Japanese name: what the
// list shows, the path that comes back, the names refused, the overwrite
// question, several files at once, and palette entry 0 of an 8-bit display.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/file_dialogs.h"
#include "dialog_fixture.h"
#include "platform/file_dialog.h"
#include "platform/host_path.h"
#include "platform/message_box.h"
#include "platform/message_numbers.h"
#include "platform/virtual_keys.h"
#include "records/system_ini.h"
#include "recording_display.h"

using testsupport::ScriptedBoxes;
using testsupport::Sjis;

namespace {

const char kStageFilter[] = "StageFile ( *.stg4_*;*.rpl4_* )\0*.stg4_*;*.rpl4_*\0";
const char kTwoFilters[] = "Stage\0*.stg4_*\0Text\0*.TXT\0";
const char kReplayFilter[] = "ReplayFile ( *.rpl4_* )\0*.rpl4_*\0";

// Where line `line` of a list box lies, in the dialog window's pixels.
plat::Rect LineRect(const plat::DialogShown& shown, int list, int line) {
  plat::Rect control{}, r{};
  for (const auto& item : shown.items)
    if (item.id == list) {
      control = item.rect;
      plat::Send(item.control, LB_GETITEMRECT, static_cast<uintptr_t>(line), reinterpret_cast<intptr_t>(&r));
    }
  return {control.left + r.left, control.top + r.top, control.left + r.right, control.top + r.bottom};
}

}  // namespace

class FileDialogsTest : public DialogFixture {
 protected:
  // Runs `script` when the dialog shows, then closes it should the script
  // have left it open.
  void Script(const std::function<void(const plat::DialogShown&)>& script) {
    OnShow([script](const plat::DialogShown& shown) {
      script(shown);
      plat::PushKeyStroke(shown.windowId, VK_F4, plat::kModAlt);
    });
  }

  void SetUp() override {
    DialogFixture::SetUp();
    SystemIni.nEnglish = 0;
    for (const char* f : {"data/stg4/a.stg4_1", "data/stg4/B.stg4_2", "data/stg4/c.rpl4_1", "data/stg4/notes.txt",
                          "data/stg4/sub/inner.stg4_1", "data/stg4/.hidden.stg4_1", "user_data/rpl4/old.rpl4_1"})
      m_dir.WriteFile(f, "x");
    m_dir.WriteFile("data/stg4/\xE3\x82\xB9\xE3\x83\x86\xE3\x83\xBC\xE3\x82\xB8.stg4_3", "x");  // ステージ
    // No Shift-JIS form: not shown.
    m_dir.WriteFile("data/stg4/\xF0\x9F\x98\x80.stg4_1", "x");
    plat::SetFileListHook([this](const std::vector<std::string>& lines) { m_lists.push_back(lines); });
  }
  void TearDown() override {
    plat::SetFileListHook(nullptr);
    SystemIni.nEnglish = 0;
    DialogFixture::TearDown();
  }

  int Open(const std::function<void(const plat::DialogShown&)>& script, const char* folder = "data\\stg4\\",
           const char* filter = kStageFilter, const char* defExt = "stg4_*;rpl4_*", int multi = 0,
           cVector<std::string>* list = nullptr, int size = FILE_DIALOG_BUFFER) {
    Script(script);
    m_buffer.assign(static_cast<size_t>(size), 'j');
    return OpenFileDialog(plat::WindowHandle{}, m_buffer.data(), size, folder, "Open", filter, defExt, multi, list);
  }
  int Save(const std::function<void(const plat::DialogShown&)>& script, const std::string& proposed, int keep,
           const char* defExt = "rpl4_1") {
    Script(script);
    m_buffer.assign(FILE_DIALOG_BUFFER, '\0');
    std::memcpy(m_buffer.data(), proposed.c_str(), proposed.size() + 1);
    return SaveFileDialog(plat::WindowHandle{}, m_buffer.data(), "user_data\\rpl4\\", "Save", kReplayFilter,
                          defExt, keep);
  }
  // The buffer's text up to its first NUL.
  std::string Path() const { return std::string(m_buffer.data()); }

  std::vector<char> m_buffer;
  std::vector<std::vector<std::string>> m_lists;
};

TEST_F(FileDialogsTest, TheListShowsUpFoldersThenMatchingFilesByName) {
  const std::string kana = Sjis("ステージ") + ".stg4_3";
  Open([](const plat::DialogShown& shown) { plat::PushKeyStroke(shown.windowId, VK_ESCAPE); });
  ASSERT_EQ(m_lists.size(), 1u);
  EXPECT_EQ(m_lists[0], (std::vector<std::string>{"[..]", "[sub]", "a.stg4_1", "B.stg4_2", "c.rpl4_1", kana}));
}

TEST_F(FileDialogsTest, TheFilterChoiceAndATypedPatternChangeTheList) {
  Open(
      [](const plat::DialogShown& shown) {
        plat::PushClick(shown.windowId, LineRect(shown, plat::kFileTypeId, 1));  // "Text"
        plat::PushClick(shown.windowId, FileDialogsTest::ItemRect(shown, plat::kFileNameId));
        plat::PushTextInput(shown.windowId, "*.rpl4_?");
        plat::PushKeyStroke(shown.windowId, VK_RETURN);
        plat::PushKeyStroke(shown.windowId, VK_ESCAPE);
      },
      "data\\stg4", kTwoFilters, "");
  ASSERT_EQ(m_lists.size(), 3u);
  EXPECT_EQ(m_lists[0], (std::vector<std::string>{"[..]", "[sub]", "a.stg4_1", "B.stg4_2", Sjis("ステージ") + ".stg4_3"}));
  EXPECT_EQ(m_lists[1], (std::vector<std::string>{"[..]", "[sub]", "notes.txt"}));
  EXPECT_EQ(m_lists[2], (std::vector<std::string>{"[..]", "[sub]", "c.rpl4_1"}));
}

TEST_F(FileDialogsTest, TheChosenFileComesBackRelativeToTheWorkingDirectoryWhichStays) {
  const std::string cwd = plat::CurrentDirectory();
  const struct {
    const char* name;
    const char* folder;
    std::function<void(const plat::DialogShown&)> steps;
    std::string path;
  } cases[] = {
      {"a click and OK", "data\\stg4\\",
       [](const plat::DialogShown& s) {
         plat::PushClick(s.windowId, LineRect(s, plat::kFileListId, 2));
         plat::PushClick(s.windowId, FileDialogsTest::ItemRect(s, plat::kIdOk));
       },
       "data\\stg4\\a.stg4_1"},
      {"a double click on the Japanese name", "data\\stg4",
       [](const plat::DialogShown& s) { plat::PushDoubleClick(s.windowId, LineRect(s, plat::kFileListId, 5)); },
       "data\\stg4\\" + Sjis("ステージ") + ".stg4_3"},
      {"into the sub-folder by a double click", "data\\stg4",
       [](const plat::DialogShown& s) {
         plat::PushDoubleClick(s.windowId, LineRect(s, plat::kFileListId, 1));
         plat::PushClick(s.windowId, FileDialogsTest::ItemRect(s, plat::kFileNameId));
         plat::PushTextInput(s.windowId, "INNER.STG4_1");  // the name on disk comes back
         plat::PushKeyStroke(s.windowId, VK_RETURN);
       },
       "data\\stg4\\sub\\inner.stg4_1"},
      {"a missing start folder shows the working directory", "no\\such",
       [](const plat::DialogShown& s) {
         plat::PushTextInput(s.windowId, "data/stg4/c.rpl4_1");
         plat::PushKeyStroke(s.windowId, VK_RETURN);
       },
       "data\\stg4\\c.rpl4_1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Open(c.steps, c.folder), 1);
    EXPECT_EQ(Path(), c.path);
    EXPECT_EQ(plat::CurrentDirectory(), cwd);
  }
}

TEST_F(FileDialogsTest, AFolderAboveTheWorkingDirectoryComesBackWithDotDot) {
  ScriptedBoxes boxes;
  m_dir.WriteFile("game/keep", "");
  ASSERT_TRUE(plat::SetCurrentDirectory("game"));
  m_dir.WriteFile("other/far.stg4_1", "x");
  const int result = Open(
      [](const plat::DialogShown& s) {
        plat::PushDoubleClick(s.windowId, LineRect(s, plat::kFileListId, 0));  // [..]
        plat::PushClick(s.windowId, FileDialogsTest::ItemRect(s, plat::kFileNameId));
        plat::PushTextInput(s.windowId, "other\\far");  // the default extension is a pattern: not added
        plat::PushKeyStroke(s.windowId, VK_RETURN);
        plat::PushTextInput(s.windowId, ".stg4_1");
        plat::PushKeyStroke(s.windowId, VK_RETURN);
      },
      "");
  plat::SetCurrentDirectory("..");
  ASSERT_EQ(result, 1);
  EXPECT_EQ(Path(), "..\\other\\far.stg4_1");
  EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(FileDialogsTest, CancellingClearsTheOpenBufferAndKeepsTheSaveBuffer) {
  const struct {
    const char* name;
    std::function<void(const plat::DialogShown&)> end;
  } ends[] = {
      {"Cancel", [](const plat::DialogShown& s) { plat::PushClick(s.windowId, FileDialogsTest::ItemRect(s, plat::kIdCancel)); }},
      {"Escape", [](const plat::DialogShown& s) { plat::PushKeyStroke(s.windowId, VK_ESCAPE); }},
      {"close box", [](const plat::DialogShown& s) { plat::PushClick(s.windowId, s.closeBox); }},
  };
  for (const auto& e : ends) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(Open(e.end), 0);
    EXPECT_EQ(std::vector<char>(m_buffer.size(), '\0'), m_buffer);
    EXPECT_EQ(Save(e.end, "proposed.rpl4_1", 1), 0);
    EXPECT_EQ(Path(), "proposed.rpl4_1");
    EXPECT_EQ(Save(e.end, "proposed.rpl4_1", 0), 0);
    EXPECT_EQ(Path(), "");
  }
}

TEST_F(FileDialogsTest, AMissingNameIsRefusedWithABoxAndTheDialogStays) {
  ScriptedBoxes boxes;
  const int result = Open([](const plat::DialogShown& s) {
    plat::PushTextInput(s.windowId, "nothere");
    plat::PushKeyStroke(s.windowId, VK_RETURN);
    plat::PushKeyStroke(s.windowId, VK_ESCAPE);
  });
  EXPECT_EQ(result, 0);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            "nothere\n" + Sjis("ファイルが見つかりません。\nファイル名を確認してください。"));
  EXPECT_EQ(boxes.shown[0].caption, "Open");
}

TEST_F(FileDialogsTest, TheDialogsOwnTextsAreEnglishWithTheEnglishSwitch) {
  SystemIni.nEnglish = 1;
  ScriptedBoxes boxes;
  std::string ok;
  Open([&](const plat::DialogShown& s) {
    plat::GetDlgItemText(s.dialog, plat::kIdOk, ok, 100);
    plat::PushTextInput(s.windowId, "nothere");
    plat::PushKeyStroke(s.windowId, VK_RETURN);
    plat::PushKeyStroke(s.windowId, VK_ESCAPE);
  });
  EXPECT_EQ(ok, "Open");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "nothere\nFile not found.\nCheck the file name and try again.");
}

TEST_F(FileDialogsTest, TheDefaultExtensionCompletesAName) {
  // Open: a missing name is tried with it.
  ASSERT_EQ(Open(
                [](const plat::DialogShown& s) {
                  plat::PushTextInput(s.windowId, "notes");
                  plat::PushKeyStroke(s.windowId, VK_RETURN);
                },
                "data\\stg4", kTwoFilters, "txt"),
            1);
  EXPECT_EQ(Path(), "data\\stg4\\notes.txt");
  // Save: a name without extension gets it; one with an extension keeps its own.
  const struct {
    const char* typed;
    std::string path;
  } saves[] = {{"rec", "user_data\\rpl4\\rec.rpl4_1"}, {"rec.bak", "user_data\\rpl4\\rec.bak"}};
  for (const auto& c : saves) {
    ASSERT_EQ(Save(
                  [&](const plat::DialogShown& s) {
                    plat::PushTextInput(s.windowId, c.typed);
                    plat::PushKeyStroke(s.windowId, VK_RETURN);
                  },
                  "", 0),
              1);
    EXPECT_EQ(Path(), c.path);
  }
}

TEST_F(FileDialogsTest, AnExistingFileAsksBeforeItIsOverwrittenNoStaysYesTakesIt) {
  ScriptedBoxes boxes({plat::BOX_NO, plat::BOX_YES});
  int enters = 0;
  const int result = Save(
      [&](const plat::DialogShown& s) {
        plat::PushKeyStroke(s.windowId, VK_RETURN);  // No: the dialog stays
        plat::PushKeyStroke(s.windowId, VK_RETURN);  // Yes
        enters = 2;
      },
      "old", 1);
  EXPECT_EQ(enters, 2);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(Path(), "user_data\\rpl4\\old.rpl4_1");
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, "old.rpl4_1" + Sjis(" は既に存在します。\n上書きしますか?"));
  EXPECT_EQ(boxes.shown[0].buttons, plat::BoxButtons::YesNo);
  EXPECT_EQ(boxes.shown[0].defaultButton, 1);
}

TEST_F(FileDialogsTest, SeveralFilesComeBackAsFullPathsInListOrderAndOneAsOnePath) {
  cVector<std::string> three;
  ASSERT_EQ(Open(
                [](const plat::DialogShown& s) {
                  plat::PushClick(s.windowId, LineRect(s, plat::kFileListId, 4));
                  plat::PushKeyEvent(s.windowId, VK_CONTROL, true);
                  plat::PushClick(s.windowId, LineRect(s, plat::kFileListId, 2));
                  plat::PushClick(s.windowId, LineRect(s, plat::kFileListId, 3));
                  plat::PushKeyEvent(s.windowId, VK_CONTROL, false);
                  plat::PushClick(s.windowId, FileDialogsTest::ItemRect(s, plat::kIdOk));
                },
                "data\\stg4", kStageFilter, "", 1, &three),
            1);
  EXPECT_EQ(std::vector<std::string>(three.begin(), three.end()),
            (std::vector<std::string>{"data\\stg4\\a.stg4_1", "data\\stg4\\B.stg4_2", "data\\stg4\\c.rpl4_1"}));
  const char expected[] = "data\\stg4\0a.stg4_1\0B.stg4_2\0c.rpl4_1\0";  // and the literal's own NUL
  EXPECT_EQ(std::string(m_buffer.data(), sizeof(expected)), std::string(expected, sizeof(expected)));

  cVector<std::string> one;
  ASSERT_EQ(Open(
                [](const plat::DialogShown& s) {
                  plat::PushDoubleClick(s.windowId, LineRect(s, plat::kFileListId, 3));
                },
                "data\\stg4", kStageFilter, "", 1, &one),
            1);
  EXPECT_EQ(std::vector<std::string>(one.begin(), one.end()), (std::vector<std::string>{"data\\stg4\\B.stg4_2"}));
}

TEST_F(FileDialogsTest, APathTooLongForTheBufferIsRefusedNeverCut) {
  ScriptedBoxes boxes;
  const int result = Open(
      [](const plat::DialogShown& s) {
        plat::PushDoubleClick(s.windowId, LineRect(s, plat::kFileListId, 2));  // data\stg4\a.stg4_1: 19 bytes
        plat::PushKeyStroke(s.windowId, VK_ESCAPE);
      },
      "data\\stg4", kStageFilter, "", 0, nullptr, 18);
  EXPECT_EQ(result, 0);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "a.stg4_1\n" + Sjis("パス名が長すぎます。"));
  EXPECT_EQ(std::vector<char>(18, '\0'), m_buffer);
  // With room for the NUL it fits.
  ASSERT_EQ(Open(
                [](const plat::DialogShown& s) {
                  plat::PushDoubleClick(s.windowId, LineRect(s, plat::kFileListId, 2));
                },
                "data\\stg4", kStageFilter, "", 0, nullptr, 19),
            1);
  EXPECT_EQ(Path(), "data\\stg4\\a.stg4_1");
}

TEST_F(FileDialogsTest, PaletteEntry0IsBlackWhileOpenOnlyUnder8BitDirectDraw) {
  const struct {
    const char* name;
    int running, direct3D, bits;
    bool palette;
  } cases[] = {
      {"8-bit DirectDraw", 1, 0, 8, true},
      {"16-bit DirectDraw", 1, 0, 16, false},
      {"Direct3D", 1, 1, 8, false},
      {"no drawing layer", 0, 0, 8, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    cRecordingDisplay display;
    display.m_bRunning = c.running;
    display.m_bDirect3D = c.direct3D;
    display.m_nBits = c.bits;
    std::vector<std::vector<std::string>> whileOpen;
    auto end = [&](const plat::DialogShown& s) {
      whileOpen.push_back(display.m_vCalls);
      plat::PushKeyStroke(s.windowId, VK_ESCAPE);
    };
    auto choose = [&](const plat::DialogShown& s) {
      whileOpen.push_back(display.m_vCalls);
      plat::PushDoubleClick(s.windowId, LineRect(s, plat::kFileListId, 2));
    };
    Open(choose);
    Open(end);
    Save(end, "x", 1);
    const std::vector<std::string> set = {"set 0 0 0 0"};
    const std::vector<std::string> none;
    ASSERT_EQ(whileOpen.size(), 3u);
    EXPECT_EQ(whileOpen[0], c.palette ? set : none);
    const std::vector<std::string> three = {"set 0 0 0 0", "restore", "set 0 0 0 0", "restore", "set 0 0 0 0",
                                            "restore"};
    EXPECT_EQ(display.m_vCalls, c.palette ? three : none);
  }
}
