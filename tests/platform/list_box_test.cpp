// The list box driven by keys and clicks: the caret and the selection of one
// or several lines, scrolling to the caret, and what it tells its dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dialog_box.h"
#include "platform/event_push.h"
#include "platform/message_numbers.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"

namespace {

constexpr int kDialog = 9401;
constexpr int kOne = 10, kSeveral = 11;

const plat::DialogItem kListItems[] = {
    {kOne, plat::ItemKind::ListBox, WS_TABSTOP | plat::LBS_NOTIFY, "", 4, 4, 80, 60},
    {kSeveral, plat::ItemKind::ListBox, WS_TABSTOP | plat::LBS_NOTIFY | plat::LBS_EXTENDEDSEL, "", 90, 4, 80, 60},
};
const plat::DialogTemplate kTemplate{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 180, 70, "", 9, "Lists",
                                     kListItems, 2};

struct Result {
  std::vector<int> selected;  // of the list that had the keys
  int top = -1;
  int changes = 0;  // LBN_SELCHANGE heard
  int doubles = 0;  // LBN_DBLCLK heard
};

class ListBoxTest : public ::testing::Test {
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

  // Fills both lists with 30 lines, focuses `list`, runs the script and
  // reads the list back as the dialog closes (Alt+F4, pushed last).
  Result Run(int list, const std::function<void(uint32_t window, const plat::Rect& first)>& script) {
    Result r;
    plat::SetDialogShowHook([&](const plat::DialogShown& shown) {
      plat::Rect control, line;
      for (const auto& item : shown.items)
        if (item.id == list) {
          control = item.rect;
          plat::Send(item.control, LB_GETITEMRECT, 0, reinterpret_cast<intptr_t>(&line));
        }
      script(shown.windowId,
             {control.left + line.left, control.top + line.top, control.left + line.right, control.top + line.bottom});
      plat::PushKeyStroke(shown.windowId, VK_F4, plat::kModAlt);
    });
    plat::DialogBoxParam(
        kDialog, plat::WindowHandle{},
        [&](plat::WindowHandle h, uint32_t m, uintptr_t w, intptr_t) -> intptr_t {
          plat::WindowHandle control = plat::GetDlgItem(h, list);
          if (m == WM_INITDIALOG) {
            for (int id : {kOne, kSeveral})
              for (int i = 0; i < 30; ++i) {
                std::string text = "line " + std::to_string(i);
                plat::Send(plat::GetDlgItem(h, id), LB_ADDSTRING, 0, reinterpret_cast<intptr_t>(text.c_str()));
              }
            plat::SetFocus(control);
          }
          if (m == WM_COMMAND && static_cast<int>(plat::LoWord(w)) == list) {
            if (plat::HiWord(w) == LBN_SELCHANGE) ++r.changes;
            if (plat::HiWord(w) == LBN_DBLCLK) ++r.doubles;
          }
          if (m == WM_CLOSE) {
            for (int i = 0; i < 30; ++i)
              if (plat::Send(control, LB_GETSEL, static_cast<uintptr_t>(i), 0) > 0) r.selected.push_back(i);
            r.top = static_cast<int>(plat::Send(control, LB_GETTOPINDEX, 0, 0));
            plat::EndDialog(h, 0);
          }
          return 0;
        },
        0);
    return r;
  }
};

// A line's place moved by n lines down.
plat::Rect Down(const plat::Rect& r, int n) { return {r.left, r.top + n * r.Height(), r.right, r.bottom + n * r.Height()}; }

}  // namespace

TEST_F(ListBoxTest, KeysMoveTheCaretAndTheViewFollowsIt) {
  Result r = Run(kOne, [](uint32_t w, const plat::Rect&) {
    plat::PushKeyStroke(w, VK_DOWN);  // no caret yet: the first line
    plat::PushKeyStroke(w, VK_DOWN);
    plat::PushKeyStroke(w, VK_END);
  });
  EXPECT_EQ(r.selected, (std::vector<int>{29}));
  EXPECT_GT(r.top, 0);
  EXPECT_EQ(r.changes, 3);
  r = Run(kOne, [](uint32_t w, const plat::Rect&) {
    plat::PushKeyStroke(w, VK_END);
    plat::PushKeyStroke(w, VK_HOME);
    plat::PushKeyStroke(w, VK_UP);  // at the top already: nothing changes
  });
  EXPECT_EQ(r.selected, (std::vector<int>{0}));
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.changes, 2);
}

TEST_F(ListBoxTest, ShiftAndCtrlSelectSeveralLinesOnlyWhereTheListAllowsIt) {
  auto script = [](uint32_t w, const plat::Rect& first) {
    plat::PushClick(w, Down(first, 1));
    plat::PushKeyStroke(w, VK_DOWN, plat::kModShift);
    plat::PushKeyStroke(w, VK_DOWN, plat::kModShift);  // lines 1 to 3
    plat::PushKeyEvent(w, VK_CONTROL, true);
    plat::PushClick(w, Down(first, 4));  // adds 4
    plat::PushClick(w, Down(first, 2));  // takes 2 away
    plat::PushKeyEvent(w, VK_CONTROL, false);
  };
  EXPECT_EQ(Run(kSeveral, script).selected, (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(Run(kOne, script).selected, (std::vector<int>{2}));
}

TEST_F(ListBoxTest, ADoubleClickSelectsTheLineAndTellsTheDialog) {
  Result r = Run(kOne, [](uint32_t w, const plat::Rect& first) { plat::PushDoubleClick(w, Down(first, 3)); });
  EXPECT_EQ(r.selected, (std::vector<int>{3}));
  EXPECT_EQ(r.changes, 1);
  EXPECT_EQ(r.doubles, 1);
}
