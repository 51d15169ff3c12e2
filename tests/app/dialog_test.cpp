// Dialogs of the toolkit driven by the events a player would make: what the
// variables hold after each way of ending, the checks of the controls, the
// command routing, the scroll keys and the guards around entries and classes.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/dialog.h"
#include "app/dialog_entries.h"
#include "dialog_fixture.h"
#include "platform/message_numbers.h"
#include "platform/thread_context.h"
#include "platform/virtual_keys.h"
#include "test_dialogs.h"
#include "threads/wait_until.h"

using namespace testdialogs;

namespace {

// Wakes the main thread once unless dismissed within the bound, so that a
// wait nothing else would end fails the test instead of hanging it.
class WakeGuard {
 public:
  WakeGuard() : m_mainId(plat::CurrentThreadId()), m_thread([this] { Watch(); }) {}
  ~WakeGuard() { Dismiss(); }
  // True when the guard had to wake the main thread.
  bool Dismiss() {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_dismissed = true;
    }
    m_cv.notify_all();
    if (m_thread.joinable()) m_thread.join();
    return m_fired;
  }

 private:
  void Watch() {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_cv.wait_for(lock, std::chrono::seconds(10), [this] { return m_dismissed; })) return;
    m_fired = true;
    plat::PostToThread(m_mainId, WM_NULL, 0, 0);
  }

  const uint32_t m_mainId;
  std::mutex m_mutex;
  std::condition_variable m_cv;
  bool m_dismissed = false;
  bool m_fired = false;
  std::thread m_thread;  // last: starts once the rest is built
};

int Check(const plat::DialogShown& shown, int id) {
  for (const auto& item : shown.items)
    if (item.id == id) return static_cast<int>(plat::Send(item.control, BM_GETCHECK, 0, 0));
  return -1;
}

}  // namespace

class ChoiceDialogTest : public DialogFixture {};

TEST_F(ChoiceDialogTest, StoreChecksTheRadioButtonOfTheVariablesValueAndTheCheckBoxsState) {
  const struct {
    int32_t mode, check;
    int one, zero, box;
  } cases[] = {
      {1, 0, 1, 0, 0},
      {0, 1, 0, 1, 1},
      {7, 2, 0, 0, 2},  // no button has 7; the third state shows
      {-1, 5, 0, 0, 2}, // a three-state box shows at most its third state
  };
  for (const auto& c : cases) {
    int32_t mode = c.mode, check = c.check;
    int one = -1, zero = -1, box = -1;
    OnShow([&](const plat::DialogShown& shown) {
      one = Check(shown, kIdRadioOne);
      zero = Check(shown, kIdRadioZero);
      box = Check(shown, kIdCheck);
      plat::PushClick(shown.windowId, ItemRect(shown, kIdOk));
    });
    cChoiceDialog dialog(&mode, &check);
    EXPECT_EQ(dialog.DoModal(0), 1);
    EXPECT_EQ(one, c.one) << c.mode;
    EXPECT_EQ(zero, c.zero) << c.mode;
    EXPECT_EQ(box, c.box) << c.check;
    // Confirmed untouched: a radio group with nothing checked keeps the
    // variable; the box reads back its state.
    EXPECT_EQ(mode, c.mode);
    EXPECT_EQ(check, c.box);
  }
}

TEST_F(ChoiceDialogTest, OnlyConfirmingLoadsTheVariables) {
  enum class End { OkClick, Enter, CancelClick, CloseBox, AltF4 };
  const struct {
    const char* name;
    End end;
    int result;
  } cases[] = {
      {"OK", End::OkClick, 1},          {"Enter", End::Enter, 1},     {"Cancel", End::CancelClick, 0},
      {"close box", End::CloseBox, 0},  {"Alt+F4", End::AltF4, 0},
  };
  for (const auto& c : cases) {
    int32_t mode = 1, check = 0;
    OnShow([&](const plat::DialogShown& shown) {
      // Pick "Zero" and tick the box three times round to its third state.
      plat::PushClick(shown.windowId, ItemRect(shown, kIdRadioZero));
      for (int i = 0; i < 2; ++i) plat::PushClick(shown.windowId, ItemRect(shown, kIdCheck));
      switch (c.end) {
        case End::OkClick: plat::PushClick(shown.windowId, ItemRect(shown, kIdOk)); break;
        case End::Enter: plat::PushKeyStroke(shown.windowId, VK_RETURN); break;
        case End::CancelClick: plat::PushClick(shown.windowId, ItemRect(shown, kIdCancel)); break;
        case End::CloseBox: plat::PushClick(shown.windowId, shown.closeBox); break;
        case End::AltF4: plat::PushKeyStroke(shown.windowId, VK_F4, plat::kModAlt); break;
      }
    });
    cChoiceDialog dialog(&mode, &check);
    EXPECT_EQ(dialog.DoModal(0), c.result) << c.name;
    EXPECT_EQ(mode, c.result ? 0 : 1) << c.name;
    EXPECT_EQ(check, c.result ? 2 : 0) << c.name;
    EXPECT_FALSE(dialog.m_hWnd) << c.name;
  }
}

TEST_F(ChoiceDialogTest, TheArrowsMoveTheCheckWithinTheRadioGroup) {
  int32_t mode = 1, check = 0;
  OnShow([&](const plat::DialogShown& shown) {
    plat::PushClick(shown.windowId, ItemRect(shown, kIdRadioOne));  // focus on "One"
    plat::PushKeyStroke(shown.windowId, VK_RIGHT);                   // "Zero"
    plat::PushKeyStroke(shown.windowId, VK_TAB);                     // to the check box
    plat::PushKeyStroke(shown.windowId, VK_SPACE);                   // ticks it
    plat::PushKeyStroke(shown.windowId, VK_RETURN);
  });
  cChoiceDialog dialog(&mode, &check);
  EXPECT_EQ(dialog.DoModal(0), 1);
  EXPECT_EQ(mode, 0);
  EXPECT_EQ(check, 1);
}

TEST_F(ChoiceDialogTest, DoModalOfAnOpenDialogReturns0AndASecondOfItsClassMinus1) {
  int32_t mode = 1, check = 0;
  int again = -2, second = -2;
  cChoiceDialog* dialog = nullptr;
  OnShow([&](const plat::DialogShown& shown) {
    again = dialog->DoModal(0);
    int32_t otherMode = 0, otherCheck = 0;
    cChoiceDialog other(&otherMode, &otherCheck);
    second = other.DoModal(0);
    plat::PushClick(shown.windowId, ItemRect(shown, kIdCancel));
  });
  dialog = new cChoiceDialog(&mode, &check);
  EXPECT_EQ(dialog->DoModal(0), 0);
  EXPECT_EQ(again, 0);
  EXPECT_EQ(second, -1);
  EXPECT_EQ(cChoiceDialog::LiveInstance(), dialog) << "the second one's end leaves the open one's thunk";
  delete dialog;
  EXPECT_EQ(cChoiceDialog::LiveInstance(), nullptr) << "a deleted dialog is no longer called";

  // A new instance works as the first did.
  OnShow([&](const plat::DialogShown& shown) { plat::PushClick(shown.windowId, ItemRect(shown, kIdOk)); });
  cChoiceDialog next(&mode, &check);
  EXPECT_EQ(next.DoModal(0), 1);
}

TEST_F(ChoiceDialogTest, EntriesDoNotGrowWhileTheDialogIsOpen) {
  int32_t mode = 1, check = 0, extra = 0;
  bool added = true;
  cChoiceDialog dialog(&mode, &check);
  OnShow([&](const plat::DialogShown& shown) {
    added = dialog.AddEntry(dialog.m_vCheck, CHECKENTRY{cCheckBox(), CHECKDEF{kIdCheck, &extra}});
    plat::PushClick(shown.windowId, ItemRect(shown, kIdOk));
  });
  EXPECT_EQ(dialog.DoModal(0), 1);
  EXPECT_FALSE(added);
  EXPECT_EQ(dialog.m_vCheck.size(), 1u);
  EXPECT_TRUE(dialog.AddEntry(dialog.m_vCheck, CHECKENTRY{cCheckBox(), CHECKDEF{kIdCheck, &extra}}))
      << "closed, it may grow again";
}

TEST_F(ChoiceDialogTest, AQuitMessageEndsTheDialogWith0AndIsPostedAgain) {
  int32_t mode = 1, check = 0;
  OnShow([&](const plat::DialogShown& shown) {
    plat::PushClick(shown.windowId, ItemRect(shown, kIdRadioZero));
    plat::PostQuit(7);
  });
  cChoiceDialog dialog(&mode, &check);
  EXPECT_EQ(dialog.DoModal(0), 0);
  EXPECT_EQ(mode, 1);
  plat::Message msg;
  ASSERT_TRUE(plat::Peek(msg));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(ChoiceDialogTest, AnUnknownTemplateCannotBeCreated) {
  int32_t mode = 0, check = 0;
  cChoiceDialog dialog(&mode, &check);
  dialog.m_nResourceId = 4242;
  EXPECT_EQ(dialog.DoModal(0), -1);
  EXPECT_FALSE(dialog.m_hWnd);
}

TEST_F(ChoiceDialogTest, ADialogPlacesItselfAtItsRequestedPosition) {
  int32_t mode = 0, check = 0;
  plat::Rect outer;
  OnShow([&](const plat::DialogShown& shown) {
    plat::GetWindowRect(shown.dialog, outer);
    plat::PushClick(shown.windowId, ItemRect(shown, kIdCancel));
  });
  cChoiceDialog dialog(&mode, &check);
  dialog.DoModal(0);
  EXPECT_EQ(outer.left, 100);
  EXPECT_EQ(outer.top, 80);
  EXPECT_EQ(dialog.m_nPosX, 100);
  EXPECT_EQ(dialog.m_nFrameTop, plat::GetSystemMetrics(SM_CYCAPTION));
  // A control's place relative to the client area is its template place.
  const cRadioButton& zero = GetRadioEntry(dialog.m_vRadio, 1).radio;
  EXPECT_EQ(zero.m_nRelX, 80 * 6 / 4);
  EXPECT_EQ(zero.m_nRelY, 30 * 12 / 8);
  EXPECT_EQ(zero.m_nScreenX, 100 + dialog.m_nFrameLeft + 80 * 6 / 4);
}

TEST_F(ChoiceDialogTest, MessagesSentFromAnotherThreadAreServedInsideTheDialog) {
  // The main thread's queue, watched (never pumped) to force where the send
  // is served: in the wait of the dialog's loop, or in its look at the queue
  // just before that wait.
  const auto main = plat::detail::CurrentContext();
  auto mainWaits = [main] {
    std::lock_guard<std::mutex> lock(main->mutex);
    return main->parked;
  };
  auto sendWaits = [main] {
    std::lock_guard<std::mutex> lock(main->mutex);
    return !main->sent.empty();
  };
  const struct {
    const char* name;
    bool beforeTheLook;
  } cases[] = {{"served in the wait", false}, {"served in the look before the wait", true}};
  for (const auto& c : cases) {
    int32_t mode = 0, check = 0;
    plat::WindowHandle dialogWindow;
    plat::WindowHandle server = plat::CreateMessageWindow(
        [&](plat::WindowHandle, uint32_t m, uintptr_t, intptr_t) -> intptr_t {
          if (m == WM_USER + 7) plat::EndDialog(dialogWindow, 5);
          return 0;
        });
    std::thread sender;
    OnShow([&](const plat::DialogShown& shown) {
      dialogWindow = shown.dialog;
      sender = std::thread([&, server] {
        if (!c.beforeTheLook) testsupport::WaitUntil(mainWaits);
        plat::Send(server, WM_USER + 7, 0, 0);
      });
      if (c.beforeTheLook) {
        EXPECT_TRUE(testsupport::WaitUntil(sendWaits)) << c.name;
      }
    });
    WakeGuard guard;
    cChoiceDialog dialog(&mode, &check);
    EXPECT_EQ(dialog.DoModal(0), 5) << c.name;
    EXPECT_FALSE(guard.Dismiss()) << c.name << ": the dialog waited on after it had ended";
    sender.join();
    plat::DestroyMessageWindow(server);
  }
}

TEST_F(ChoiceDialogTest, ItemTextsOfAnyLengthComeBackUpToTheLimit) {
  int32_t mode = 0, check = 0;
  const std::string longText(6000, 'x');
  std::string whole, cut, missing = "left";
  OnShow([&](const plat::DialogShown& shown) {
    SetDlgItemString(shown.dialog, kIdNote, longText);
    GetDlgItemString(shown.dialog, kIdNote, whole, 7000);
    GetDlgItemString(shown.dialog, kIdNote, cut, 7);
    GetDlgItemString(shown.dialog, 4321, missing, 10);
    plat::PushClick(shown.windowId, ItemRect(shown, kIdCancel));
  });
  cChoiceDialog dialog(&mode, &check);
  dialog.DoModal(0);
  EXPECT_EQ(whole, longText);
  EXPECT_EQ(cut, "xxxxxx");
  EXPECT_EQ(missing, "");
}

namespace {

// A control that notes what the routing calls on it.
class cRouteProbe : public cControl {
 public:
  cRouteProbe(int kind, int id, std::vector<std::string>* log) : cControl(kind), m_pLog(log) { m_nId = id; }
  void OnChange() override { m_pLog->push_back(Name() + ":change"); }
  void OnKillFocus() override { m_pLog->push_back(Name() + ":killfocus"); }
  void RedrawList() override { m_pLog->push_back(Name() + ":redraw"); }
  std::string Name() const { return std::to_string(m_nKind) + "/" + std::to_string(m_nId); }
  std::vector<std::string>* m_pLog;
};

}  // namespace

TEST(DialogCommands, OnCommandRoutesToTheFirstControlWhoseKindKnowsTheNotification) {
  std::vector<std::string> log;
  cRouteProbe check(5, 10, &log), edit(3, 10, &log), edit2(2, 10, &log), button(7, 11, &log),
      list(8, 12, &log);
  cDialog dialog;
  for (cControl* c : {static_cast<cControl*>(&check), static_cast<cControl*>(&edit), static_cast<cControl*>(&edit2),
                      static_cast<cControl*>(&button), static_cast<cControl*>(&list)})
    dialog.m_vControls.push_back(c);
  const struct {
    int id, code;
    std::vector<std::string> calls;
  } cases[] = {
      {10, EN_UPDATE, {"3/10:change", "8/12:redraw"}},  // the check box passes it on
      {10, EN_KILLFOCUS, {"3/10:killfocus", "8/12:redraw"}},
      {10, EN_CHANGE, {"8/12:redraw"}},  // nobody routes EN_CHANGE
      {11, 1, {"7/11:change", "8/12:redraw"}},
      {11, 5, {"8/12:redraw"}},
      {12, 1, {"8/12:change", "8/12:redraw"}},
      {12, 5, {"8/12:killfocus", "8/12:redraw"}},
      {13, EN_UPDATE, {"8/12:redraw"}},
  };
  for (const auto& c : cases) {
    log.clear();
    dialog.OnCommand(plat::MakeWParam(c.id, c.code), 0);
    EXPECT_EQ(log, c.calls) << c.id << " " << c.code;
  }
  dialog.m_vControls.clear();
}

TEST_F(DialogFixture, ABadEntryIndexIsReportedOnceAndYieldsTheFirstEntry) {
  cVector<EDITENTRY> entries(1);
  entries[0].def.nId = 77;
  EDITENTRY& got = GetEditEntry(entries, 3);
  EXPECT_EQ(got.def.nId, 77);
  cDialog dialog;
  EXPECT_EQ(dialog.GetControl(0), nullptr) << "an empty control list yields none";
  const std::string log = ReportLog();
  const std::string line = "err V[3] ( 1 , " + std::to_string(sizeof(EDITENTRY)) + " )";
  EXPECT_EQ(log.find(line), log.rfind(line)) << log;
  EXPECT_NE(log.find(line), std::string::npos) << log;
  EXPECT_NE(log.find("err V[0] ( 0 , "), std::string::npos) << log;
  EXPECT_EQ(plat::CloseRequestCount(), 2u);
}

TEST_F(DialogFixture, TheScrollKeysMoveTheDialogsOwnBars) {
  cScrollDialog dialog;
  OnShow([&](const plat::DialogShown& shown) {
    for (int key : {VK_DOWN, VK_NEXT, VK_NEXT, VK_UP, VK_PRIOR, VK_RIGHT, VK_END, VK_HOME, VK_LEFT, VK_LEFT})
      plat::PushKeyStroke(shown.windowId, key);
    plat::PushKeyStroke(shown.windowId, 'Q');
    plat::PushClick(shown.windowId, shown.closeBox);
  });
  EXPECT_EQ(dialog.DoModal(0), 0);
  // Down 1, Page Down 11, 21, Up 20, Page Up 10; Right 1, End 11, Home 1, Left 0, 0.
  EXPECT_EQ(dialog.m_Probe.m_V.pos, 10);
  EXPECT_EQ(dialog.m_Probe.m_H.pos, 0);
  EXPECT_EQ(dialog.m_nPaints, 9) << "a paint for every move, none for the Left at 0";
  ASSERT_EQ(dialog.m_Probe.m_vScrolls.size(), 10u);
  const int codes[] = {SB_LINEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_LINEUP, SB_PAGEUP, 1, 3, 2, 0, 0};
  for (size_t i = 0; i < 10; ++i) EXPECT_EQ(dialog.m_Probe.m_vScrolls[i].first, codes[i]) << i;
  EXPECT_EQ(dialog.m_Probe.m_vScrolls[0].second, static_cast<intptr_t>(dialog.m_VScroll.m_hWnd.id));
  EXPECT_EQ(dialog.m_Probe.m_vScrolls[5].second, static_cast<intptr_t>(dialog.m_HScroll.m_hWnd.id));
}
