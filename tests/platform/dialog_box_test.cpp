// Dialog windows of the window system without the toolkit's classes: the
// edit control's caret, clipboard and notifications, the dialog keys, the
// check boxes, and the ends of the modal pump.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/dialog_box.h"
#include "platform/event_push.h"
#include "platform/input_state.h"
#include "platform/keyboard_hook.h"
#include "platform/message_numbers.h"
#include "platform/text.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"
#include "support/test_support.h"

using testsupport::Sjis;

namespace {

constexpr int kDialog = 9201;
constexpr int kEdit = 10, kLines = 11, kBox = 12, kOther = 13, kOk = 14;

const plat::DialogItem kItems[] = {
    {kEdit, plat::ItemKind::Edit, WS_BORDER | WS_TABSTOP, "", 4, 4, 80, 12},
    {kLines, plat::ItemKind::Edit, WS_BORDER | WS_TABSTOP | plat::ES_MULTILINE | plat::ES_WANTRETURN, "", 4, 20,
     80, 36},
    {kBox, plat::ItemKind::CheckBox, WS_TABSTOP, "Box", 4, 60, 60, 10},
    {kOther, plat::ItemKind::PushButton, 0, "Other", 70, 60, 30, 12},
    {kOk, plat::ItemKind::DefPushButton, WS_TABSTOP, "OK", 4, 74, 40, 14},
};
const plat::DialogTemplate kTemplate{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 120, 92, "", 9, "Test",
                                     kItems, 5};

struct Notice {
  int id, code;
  friend bool operator==(const Notice&, const Notice&) = default;
};

class DialogBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plat::StartWindowSystem());
    plat::AddDialogResource(kDialog, &kTemplate);
  }
  void TearDown() override {
    plat::SetDialogShowHook(nullptr);
    plat::AddDialogResource(kDialog, nullptr);
    plat::StopWindowSystem();
  }

  // Runs the dialog; its procedure notes the commands, ends it on kOk and
  // on WM_CLOSE (with 3), and hands WM_INITDIALOG's answer back.
  intptr_t Run(const std::function<void(const plat::DialogShown&)>& script, intptr_t initAnswer = 1) {
    plat::SetDialogShowHook([&](const plat::DialogShown& shown) {
      m_dialog = shown.dialog;
      m_windowId = shown.windowId;
      m_shown = shown;
      script(shown);
    });
    return plat::DialogBoxParam(
        kDialog, plat::WindowHandle{},
        [this, initAnswer](plat::WindowHandle h, uint32_t m, uintptr_t w, intptr_t) -> intptr_t {
          if (m == WM_INITDIALOG) return initAnswer;
          if (m == WM_CLOSE) {
            for (int id : {kEdit, kLines}) plat::GetDlgItemText(h, id, m_closeTexts[id], 1000);
            plat::Send(plat::GetDlgItem(h, kEdit), EM_GETSEL, reinterpret_cast<uintptr_t>(&m_closeSel[0]),
                       reinterpret_cast<intptr_t>(&m_closeSel[1]));
            m_closeFocus = plat::GetDlgCtrlID(plat::GetFocus());
            plat::EndDialog(h, 3);
          }
          if (m == WM_COMMAND) {
            m_notices.push_back({static_cast<int>(plat::LoWord(w)), static_cast<int>(plat::HiWord(w))});
            if (plat::LoWord(w) == kOk) plat::EndDialog(h, 1);
            if (plat::LoWord(w) == 2) plat::EndDialog(h, 2);
          }
          return 0;
        },
        0);
  }
  plat::Rect Rect(int id) const {
    for (const auto& item : m_shown.items)
      if (item.id == id) return item.rect;
    return {};
  }
  std::vector<Notice> Notices(int id, int code) const {
    std::vector<Notice> out;
    for (const Notice& n : m_notices)
      if (n.id == id && n.code == code) out.push_back(n);
    return out;
  }

  plat::WindowHandle m_dialog;
  uint32_t m_windowId = 0;
  plat::DialogShown m_shown;
  std::vector<Notice> m_notices;
  std::map<int, std::string> m_closeTexts;  // the edits' texts as the dialog closes
  int m_closeFocus = -1;                    // the focused control's id then
  int m_closeSel[2] = {-1, -1};             // the one-line edit's selection then
};

// A probe the script pushes: the edit's text and selection at that point.
struct EditShot {
  std::string text;
  int start = -1, end = -1;
};

}  // namespace

TEST_F(DialogBoxTest, TheEditsCaretNeverRestsInsideADoubleByteCharacter) {
  std::vector<EditShot> shots;
  auto shot = [&] {
    EditShot s;
    plat::WindowHandle edit = plat::GetDlgItem(m_dialog, kEdit);
    plat::GetWindowText(edit, s.text, 100);
    plat::Send(edit, EM_GETSEL, reinterpret_cast<uintptr_t>(&s.start), reinterpret_cast<intptr_t>(&s.end));
    shots.push_back(s);
  };
  Run([&](const plat::DialogShown&) {
    plat::WindowHandle edit = plat::GetDlgItem(m_dialog, kEdit);
    plat::SetWindowText(edit, "a" + Sjis("あい"));  // bytes: a, 2, 2
    plat::Send(edit, EM_SETSEL, 2, 4);
    shot();  // 2 and 4 fall inside the pairs
    plat::Send(edit, EM_SETSEL, 0, -1);
    shot();
    plat::Send(edit, EM_SETSEL, 5, 5);
    plat::SetFocus(edit);
    plat::Send(edit, WM_KEYDOWN, VK_LEFT, 0);
    shot();
    plat::Send(edit, WM_KEYDOWN, VK_BACK, 0);
    shot();
    plat::EndDialog(m_dialog, 0);
  });
  ASSERT_EQ(shots.size(), 4u);
  EXPECT_EQ(shots[0].start, 1);
  EXPECT_EQ(shots[0].end, 3);
  EXPECT_EQ(shots[1].start, 0);
  EXPECT_EQ(shots[1].end, 5);
  EXPECT_EQ(shots[2].start, 3) << "Left from the end passes one whole character";
  EXPECT_EQ(shots[3].text, "a" + Sjis("い"));
  EXPECT_EQ(shots[3].start, 1);
}

// The edit lays its text out in the dialogs' face: a click just right of
// the fourth character's left edge puts the caret before it.
TEST_F(DialogBoxTest, AClickInAnEditFindsTheCharacterInTheDialogFace) {
  const std::string text = "iiiiWWWW";
  int narrow = 0, height = 0;
  ASSERT_TRUE(plat::text::MeasureText(plat::text::kDialogFace, plat::text::kDialogEmPixels, "iiii", &narrow,
                                      &height));
  Run([&](const plat::DialogShown& shown) {
    plat::WindowHandle edit = plat::GetDlgItem(m_dialog, kEdit);
    plat::SetWindowText(edit, text);
    plat::Rect r = Rect(kEdit);
    const int inset = 4;  // the sunken border and the margin
    const int x = r.left + inset + narrow + 1, y = (r.top + r.bottom) / 2;
    plat::PushMouseButton(shown.windowId, x, y, 1, true);
    plat::PushMouseButton(shown.windowId, x, y, 1, false);
    plat::PushClick(shown.windowId, shown.closeBox);
  });
  EXPECT_EQ(m_closeSel[0], 4);
  EXPECT_EQ(m_closeSel[1], 4);
}

TEST_F(DialogBoxTest, EveryChangeOfAnEditsTextNotifiesEnUpdate) {
  EditShot after;
  plat::SetClipboardCp932("");
  const intptr_t result = Run([&](const plat::DialogShown& shown) {
    plat::PushTextInput(shown.windowId, "ab");   // 1 change
    plat::PushKeyStroke(shown.windowId, VK_BACK);  // 2
    plat::PushKeyStroke(shown.windowId, VK_DELETE);  // at the end: no change
    plat::PushKeyStroke(shown.windowId, 'V', plat::kModCtrl);  // empty clipboard: no change
    plat::PushKeyStroke(shown.windowId, VK_HOME);
    plat::PushKeyStroke(shown.windowId, VK_END, plat::kModShift);
    plat::PushKeyStroke(shown.windowId, 'C', plat::kModCtrl);
    plat::PushKeyStroke(shown.windowId, 'V', plat::kModCtrl);  // 3: replaces "a" with "a"
    plat::PushKeyStroke(shown.windowId, VK_RETURN);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(Notices(kEdit, EN_UPDATE).size(), 3u);
  EXPECT_EQ(Notices(kEdit, EN_CHANGE).size(), 3u);
  EXPECT_EQ(plat::GetClipboardCp932(), "a");
}

TEST_F(DialogBoxTest, TheClipboardHoldsShiftJisTextAndDropsWhatHasNoForm) {
  const intptr_t result = Run([&](const plat::DialogShown& shown) {
    plat::SetClipboardCp932(Sjis("あ") + "\r\nb");
    plat::PushKeyStroke(shown.windowId, 'V', plat::kModCtrl);  // one line: up to the break
    plat::PushTextInput(shown.windowId, "\xF0\x9F\x98\x80x");  // an emoji has no Shift-JIS form
    plat::PushKeyStroke(shown.windowId, VK_TAB);
    plat::PushKeyStroke(shown.windowId, 'V', plat::kModCtrl);  // several lines: all of it
    plat::PushKeyStroke(shown.windowId, VK_RETURN);            // a new line, not the default button
    plat::PushTextInput(shown.windowId, "c");
    plat::PushKeyStroke(shown.windowId, VK_UP);
    plat::PushTextInput(shown.windowId, "d");
    plat::PushClick(shown.windowId, shown.closeBox);
  });
  EXPECT_EQ(result, 3);
  EXPECT_EQ(m_closeTexts[kEdit], Sjis("あ") + "x");
  EXPECT_EQ(m_closeTexts[kLines], Sjis("あ") + "\r\nbd\r\nc");
}

TEST_F(DialogBoxTest, TabVisitsTheTabStopsAndTheDialogKeysEndOrCommand) {
  const struct {
    const char* name;
    std::vector<int> keys;  // pushed in order
    unsigned mods;          // with the last key
    intptr_t result;
    int focus;  // at WM_CLOSE; -1 when not closed that way
  } cases[] = {
      {"Tab twice", {VK_TAB, VK_TAB}, 0, 3, kBox},
      {"Tab past the end comes round", {VK_TAB, VK_TAB, VK_TAB, VK_TAB}, 0, 3, kEdit},
      {"Shift+Tab goes back round", {VK_TAB}, plat::kModShift, 3, kOk},
      {"Escape is IDCANCEL", {VK_ESCAPE}, 0, 2, -1},
      {"Enter is the default button", {VK_RETURN}, 0, 1, -1},
      {"Alt+F4 is WM_CLOSE", {VK_F4}, plat::kModAlt, 3, kEdit},
  };
  for (const auto& c : cases) {
    m_closeFocus = -1;
    const intptr_t result = Run([&](const plat::DialogShown& shown) {
      for (size_t i = 0; i < c.keys.size(); ++i)
        plat::PushKeyStroke(shown.windowId, c.keys[i], i + 1 == c.keys.size() ? c.mods : 0);
      if (c.keys.back() == VK_TAB) plat::PushClick(shown.windowId, shown.closeBox);
    });
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(m_closeFocus, c.focus) << c.name;
  }
}

TEST_F(DialogBoxTest, WithoutAFocusAnswerNoControlHasTheFocus) {
  Run([&](const plat::DialogShown& shown) { plat::PushClick(shown.windowId, shown.closeBox); }, 0);
  EXPECT_EQ(m_closeFocus, 0);
}

TEST_F(DialogBoxTest, ATwoStateCheckBoxShowsAThirdStateAsChecked) {
  std::vector<intptr_t> states;
  Run([&](const plat::DialogShown& shown) {
    plat::WindowHandle box = plat::GetDlgItem(m_dialog, kBox);
    plat::Send(box, BM_SETCHECK, BST_INDETERMINATE, 0);
    states.push_back(plat::Send(box, BM_GETCHECK, 0, 0));
    plat::Send(box, BM_CLICK, 0, 0);
    states.push_back(plat::Send(box, BM_GETCHECK, 0, 0));
    plat::Send(box, BM_CLICK, 0, 0);
    states.push_back(plat::Send(box, BM_GETCHECK, 0, 0));
    plat::EndDialog(m_dialog, 0);
  });
  EXPECT_EQ(states, (std::vector<intptr_t>{1, 0, 1}));
  EXPECT_EQ(Notices(kBox, BN_CLICKED).size(), 2u);
}

namespace {

std::vector<std::pair<int, uint32_t>> g_tapped;

intptr_t Tap(int code, uintptr_t vk, intptr_t flags) {
  g_tapped.push_back({static_cast<int>(vk), static_cast<uint32_t>(flags)});
  return plat::CallNextKeyboardHook(0, code, vk, flags);
}

}  // namespace

TEST_F(DialogBoxTest, KeyboardHooksSeeVirtualKeysAndKeystrokeFlags) {
  g_tapped.clear();
  uintptr_t hook = plat::InstallKeyboardHook(Tap);
  ASSERT_NE(hook, 0u);
  Run([&](const plat::DialogShown& shown) {
    plat::PushKeyEvent(shown.windowId, 'A', true);
    plat::PushKeyEvent(shown.windowId, 'A', true, 0, true);
    plat::PushKeyEvent(shown.windowId, 'A', false);
    plat::PushKeyEvent(shown.windowId, VK_F5, true, plat::kModAlt);
    plat::PushKeyEvent(shown.windowId, VK_LEFT, false);
    plat::PushClick(shown.windowId, shown.closeBox);
  });
  EXPECT_TRUE(plat::UninstallKeyboardHook(hook));
  EXPECT_FALSE(plat::UninstallKeyboardHook(hook));
  const std::vector<std::pair<int, uint32_t>> expected = {
      {'A', 0x00000001u}, {'A', 0x40000001u}, {'A', 0xC0000001u}, {VK_F5, 0x20000001u}, {VK_LEFT, 0xC0000001u}};
  EXPECT_EQ(g_tapped, expected);
}

TEST_F(DialogBoxTest, SettingTheCursorRecordsItWhereNoPointerCanMove) {
  ASSERT_TRUE(plat::SetCursorPos(123, 45));
  plat::Point p;
  ASSERT_TRUE(plat::GetCursorPos(p));
  EXPECT_EQ(p, (plat::Point{123, 45}));
}
