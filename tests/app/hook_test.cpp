// The key tap of the active dialog: what the dialog hears of each keystroke
// beside the focused control, nothing while another window is active, the
// modeless dialog's Ctrl rule, and a dialog that works without the tap.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/hook.h"
#include "dialog_fixture.h"
#include "platform/message_numbers.h"
#include "platform/virtual_keys.h"
#include "test_dialogs.h"

using namespace testdialogs;
using Heard = std::vector<std::pair<uint32_t, int>>;

class HookTest : public DialogFixture {};

TEST_F(HookTest, TheDialogHearsEveryKeyAsTheTapHandsItOverAndTheEditStillGetsIt) {
  constexpr uint32_t kNone = 0;
  const struct {
    const char* name;
    int key;
    bool release, composing, ctrl;
    uint32_t dialogGets;  // kNone: nothing
    bool editGets;
  } cases[] = {
      {"space", VK_SPACE, false, false, false, WM_HOOKKEY, true},
      {"letter", 'A', false, false, false, WM_KEYDOWN, true},
      {"letter released", 'A', true, false, false, WM_KEYUP, true},
      {"left", VK_LEFT, false, false, false, WM_HOOKKEY, true},
      {"down", VK_DOWN, false, false, false, WM_HOOKKEY, true},
      {"delete", VK_DELETE, false, false, false, WM_HOOKKEY, true},
      {"F1", VK_F1, false, false, false, WM_HOOKKEY, true},
      {"F8", VK_F8, false, false, false, WM_HOOKKEY, true},
      {"F9", VK_F9, false, false, false, WM_KEYDOWN, true},
      {"page down", VK_NEXT, false, false, false, WM_KEYDOWN, true},
      {"left while composing", VK_LEFT, false, true, false, WM_KEYDOWN, true},
      {"space while composing", VK_SPACE, false, true, false, WM_KEYDOWN, true},
      {"enter", VK_RETURN, false, false, false, WM_KEYDOWN, false},
      {"enter while composing", VK_RETURN, false, true, false, kNone, false},
      {"tab", VK_TAB, false, false, false, kNone, false},
      {"tab released", VK_TAB, true, false, false, WM_KEYUP, true},
      {"escape", VK_ESCAPE, false, false, false, WM_KEYDOWN, false},
      {"letter with ctrl", 'B', false, false, true, WM_KEYDOWN, true},
  };
  for (const auto& c : cases) {
    std::string name;
    OnShow([&](const plat::DialogShown& shown) {
      if (c.composing) plat::PushTextEditing(shown.windowId, "\xE3\x81\x8B");  // "か"
      if (c.ctrl) plat::PushKeyEvent(shown.windowId, VK_CONTROL, true, plat::kModCtrl);
      plat::PushKeyEvent(shown.windowId, c.key, !c.release, c.ctrl ? unsigned{plat::kModCtrl} : 0u);
      plat::PushClick(shown.windowId, shown.closeBox);
    });
    cNameFieldDialog dialog(&name);
    dialog.m_bOkCloses = false;
    EXPECT_EQ(dialog.DoModal(0), 0) << c.name;
    Heard dialogGot, editGot;
    for (auto [message, key] : dialog.m_vDialogKeys)
      if (key == c.key) dialogGot.push_back({message, key});
    for (auto [message, key] : dialog.m_vEditKeys)
      if (key == c.key) editGot.push_back({message, key});
    Heard expected;
    if (c.dialogGets != kNone) expected.push_back({c.dialogGets, c.key});
    EXPECT_EQ(dialogGot, expected) << c.name;
    const uint32_t editMessage = c.release ? WM_KEYUP : WM_KEYDOWN;
    const Heard editExpected = c.editGets ? Heard{{editMessage, c.key}} : Heard{};
    EXPECT_EQ(editGot, editExpected) << c.name;
    // The controls' OnKey hears each key the dialog gets as WM_KEYDOWN, with
    // Ctrl as the tap saw it.
    using KeyCtrl = std::vector<std::pair<int, int>>;
    KeyCtrl onKey;
    for (auto [key, ctrl] : dialog.m_Probe.m_vKeys)
      if (key == c.key) onKey.push_back({key, ctrl});
    const bool keyDown = c.dialogGets == WM_KEYDOWN || c.dialogGets == WM_HOOKKEY;
    const KeyCtrl onKeyExpected = keyDown ? KeyCtrl{{c.key, c.ctrl ? 1 : 0}} : KeyCtrl{};
    EXPECT_EQ(onKey, onKeyExpected) << c.name;
    bHookCtrlHeld = 0;
  }
}

TEST_F(HookTest, WithAnotherWindowActiveTheDialogHearsNothing) {
  Heard mainGot;
  plat::WindowHandle mainWindow = plat::CreateMessageWindow(
      [&](plat::WindowHandle, uint32_t m, uintptr_t w, intptr_t) -> intptr_t {
        if (m == WM_KEYDOWN || m == WM_KEYUP || m == WM_HOOKKEY) mainGot.push_back({m, static_cast<int>(w)});
        return 0;
      });
  std::string name;
  OnShow([&](const plat::DialogShown& shown) {
    plat::SetActiveWindow(mainWindow);
    plat::PushKeyStroke(shown.windowId, VK_SPACE);
    plat::PushKeyStroke(shown.windowId, 'A');
    plat::PushClick(shown.windowId, shown.closeBox);
  });
  cNameFieldDialog dialog(&name);
  dialog.DoModal(0);
  EXPECT_TRUE(dialog.m_vDialogKeys.empty());
  EXPECT_EQ(dialog.m_vEditKeys, (Heard{{WM_KEYDOWN, VK_SPACE}, {WM_KEYUP, VK_SPACE}, {WM_KEYDOWN, 'A'},
                                       {WM_KEYUP, 'A'}}));

  // After the dialog the hook stays, and the main window's keys pass untouched.
  EXPECT_NE(hKeyboardHook, 0u);
  EXPECT_EQ(plat::GetActiveWindow(), mainWindow);
  plat::PushKeyStroke(0, VK_SPACE);
  plat::PushKeyStroke(0, 'A');
  plat::Message msg;
  while (plat::Peek(msg)) plat::Dispatch(msg);
  EXPECT_TRUE(mainGot.empty());
  plat::DestroyMessageWindow(mainWindow);
}

TEST_F(HookTest, AModelessDialogHearsNoKeyDownOrUpWhileCtrlIsHeld) {
  Heard got;
  plat::WindowHandle window = plat::CreateMessageWindow(
      [&](plat::WindowHandle, uint32_t m, uintptr_t w, intptr_t) -> intptr_t {
        got.push_back({m, static_cast<int>(w)});
        return 0;
      });
  cHook hook;
  ASSERT_TRUE(hook.KeyboardHook(window, 1));
  plat::SetActiveWindow(window);
  const uint32_t kRelease = 0xC0000001u;
  const struct {
    int key;
    uint32_t flags;
    Heard heard;
  } steps[] = {
      {'A', 1, {{WM_KEYDOWN, 'A'}}},
      {VK_CONTROL, 1, {}},  // Ctrl is now held
      {'C', 1, {}},
      {VK_SPACE, 1, {{WM_HOOKKEY, VK_SPACE}}},
      {'C', kRelease, {}},
      {VK_CONTROL, kRelease, {{WM_KEYUP, VK_CONTROL}}},
      {'C', 1, {{WM_KEYDOWN, 'C'}}},
  };
  for (const auto& s : steps) {
    got.clear();
    cHook::HookProc(plat::HC_ACTION, static_cast<uintptr_t>(s.key), s.flags);
    plat::Message msg;
    while (plat::Peek(msg)) plat::Dispatch(msg);
    EXPECT_EQ(got, s.heard) << s.key << " " << s.flags;
  }
  // HC_NOREMOVE looks only.
  got.clear();
  cHook::HookProc(plat::HC_NOREMOVE, 'A', 1);
  plat::Message msg;
  while (plat::Peek(msg)) plat::Dispatch(msg);
  EXPECT_TRUE(got.empty());
  plat::DestroyMessageWindow(window);
}

TEST_F(HookTest, WhenTheTapCannotBeInstalledTheBoxShowsAndTheDialogWorks) {
  testsupport::ScriptedBoxes boxes;
  plat::FailKeyboardHookInstalls(true);
  std::string name = "old";
  OnShow([&](const plat::DialogShown& shown) {
    plat::PushTextInput(shown.windowId, "ab");
    plat::PushKeyStroke(shown.windowId, VK_SPACE);
    plat::PushKeyStroke(shown.windowId, VK_RETURN);
  });
  cNameFieldDialog dialog(&name);
  EXPECT_EQ(dialog.DoModal(0), 1);
  EXPECT_EQ(name, "ab");
  EXPECT_TRUE(dialog.m_vDialogKeys.empty()) << "no tap, nothing handed over";
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, testsupport::Sjis("KeyboardHookに失敗!"));
  EXPECT_EQ(hKeyboardHook, 0u);

  // The next dialog tries again.
  plat::FailKeyboardHookInstalls(false);
  OnShow([&](const plat::DialogShown& shown) { plat::PushKeyStroke(shown.windowId, VK_RETURN); });
  cNameFieldDialog next(&name);
  EXPECT_EQ(next.DoModal(0), 1);
  EXPECT_NE(hKeyboardHook, 0u);
  EXPECT_EQ(boxes.shown.size(), 1u);
}
