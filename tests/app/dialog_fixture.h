#pragma once
// What the dialog tests share: the window system started headless in a
// fresh working folder with the report log open, and the events of a
// dialog's script pushed when it shows.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/hook.h"
#include "base/report_log.h"
#include "platform/close_request.h"
#include "platform/dialog_box.h"
#include "platform/event_push.h"
#include "platform/keyboard_hook.h"
#include "platform/window.h"
#include "support/test_support.h"

class DialogFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    plat::ResetCloseRequests();
    ASSERT_TRUE(plat::StartWindowSystem());
  }
  void TearDown() override {
    plat::SetDialogShowHook(nullptr);
    RemoveKeyboardHook();
    bHookCtrlHeld = 0;
    plat::FailKeyboardHookInstalls(false);
    plat::SetActiveWindow(plat::WindowHandle{});
    plat::StopWindowSystem();
  }

  // Runs `script` when the next dialog shows; it sees the dialog's window id
  // and item rectangles and pushes the events the player would make.
  void OnShow(std::function<void(const plat::DialogShown&)> script) {
    plat::SetDialogShowHook([this, script](const plat::DialogShown& shown) {
      m_shown = shown;
      script(shown);
    });
  }

  static plat::Rect ItemRect(const plat::DialogShown& shown, int id) {
    for (const auto& item : shown.items)
      if (item.id == id) return item.rect;
    ADD_FAILURE() << "no item " << id;
    return {};
  }
  static plat::WindowHandle Item(const plat::DialogShown& shown, int id) {
    for (const auto& item : shown.items)
      if (item.id == id) return item.control;
    return {};
  }

  // The report log's lines.
  std::string ReportLog() const { return m_dir.ReadFile("Report_Game.txt"); }

  testsupport::ScopedWorkDir m_dir;
  plat::DialogShown m_shown;
};
