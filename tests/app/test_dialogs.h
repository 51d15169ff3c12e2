#pragma once
// Dialogs built on the toolkit the way the program's own are: templates of
// their items, entries bound to variables, OnInitDialog and OnCommand.
#include <string>
#include <utility>
#include <vector>

#include "app/dialog.h"
#include "app/dialog_entries.h"
#include "platform/dialog_box.h"
#include "platform/message_numbers.h"
#include "platform/virtual_keys.h"
#include "platform/window_props.h"

namespace testdialogs {

using plat::ItemKind;

constexpr int kChoiceDialog = 9101;
constexpr int kNameDialog = 9102;
constexpr int kScrollDialog = 9103;

constexpr int kIdOk = 1000, kIdCancel = 1001, kIdRadioOne = 1002, kIdRadioZero = 1003, kIdCheck = 1004,
              kIdNote = 1005, kIdGroup = 1006, kIdName = 1003, kIdLabel = 1007;

// A start-up style dialog: two radio buttons on one variable, a three-state
// check box, a note, "OK" (confirms) and "Cancel" (ends with 0).
const plat::DialogItem kChoiceItems[] = {
    {1075, ItemKind::Picture, 0, "", 7, 7, 20, 21},
    {kIdGroup, ItemKind::GroupBox, 0, "Mode", 15, 15, 190, 55},
    {kIdRadioOne, ItemKind::RadioButton, WS_TABSTOP | WS_GROUP, "One", 20, 30, 42, 10},
    {kIdRadioZero, ItemKind::RadioButton, WS_TABSTOP, "Zero", 80, 30, 45, 10},
    {kIdNote, ItemKind::Static, WS_GROUP, "See System.ini", 20, 50, 177, 12},
    {kIdCheck, ItemKind::CheckBox3, WS_TABSTOP | WS_GROUP, "Do not ask", 50, 85, 120, 10},
    {kIdOk, ItemKind::DefPushButton, WS_TABSTOP | WS_GROUP, "OK", 80, 105, 50, 25},
    {kIdCancel, ItemKind::PushButton, WS_TABSTOP, "Cancel", 80, 140, 50, 18},
};
const plat::DialogTemplate kChoiceTemplate{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 222, 171, "",
                                           9, "Choice", kChoiceItems, 8};

class cChoiceDialog : public cDialogOf<cChoiceDialog> {
 public:
  cChoiceDialog(int32_t* mode, int32_t* check) {
    plat::AddDialogResource(kChoiceDialog, &kChoiceTemplate);
    Init(kChoiceDialog, nullptr, 1, nullptr);
    SetGeometry(0, 0, 100, 100, 640, 480, 0, 0, 0, 0, 0, 0);
    m_nReqX = 100;
    m_nReqY = 80;
    AddEntry(m_vRadio, RADIOENTRY{cRadioButton(), RADIODEF{kIdRadioOne, mode, 1}});
    AddEntry(m_vRadio, RADIOENTRY{cRadioButton(), RADIODEF{kIdRadioZero, mode, 0}});
    AddEntry(m_vCheck, CHECKENTRY{cCheckBox(), CHECKDEF{kIdCheck, check}});
    AddEntry(m_vStatic, STATICENTRY{cStatic(), STATICDEF{kIdNote}});
  }

  void OnInitDialog(uintptr_t wParam, intptr_t lParam) override {
    cDialog::OnInitDialog(wParam, lParam);
    AttachEntries(this, m_vRadio);
    AttachEntries(this, m_vCheck);
    AttachEntries(this, m_vStatic);
    StoreControls();
    m_bInitialized = 1;
  }

  void OnCommand(uintptr_t wParam, intptr_t lParam) override {
    if (!AcceptCommand(wParam)) return;
    cDialog::OnCommand(wParam, lParam);
    switch (plat::LoWord(wParam)) {
      case kIdOk:
        LoadControls();
        Close(1);
        break;
      case kIdCancel: Close(0); break;
      default: break;
    }
  }

  cVector<CHECKENTRY> m_vCheck;
  cVector<RADIOENTRY> m_vRadio;
  cVector<STATICENTRY> m_vStatic;
};

// Records what the dialog hears of the keys and what one control's OnKey gets.
class cKeyProbe : public cControl {
 public:
  void OnKey(uintptr_t key, intptr_t, int ctrlHeld) override { m_vKeys.push_back({static_cast<int>(key), ctrlHeld}); }
  std::vector<std::pair<int, int>> m_vKeys;  // key, Ctrl held
};

// A name-entry style dialog: one edit of three characters (a double-byte
// character counting one), "OK" as the default button; Escape does nothing.
const plat::DialogItem kNameItems[] = {
    {1075, ItemKind::Picture, 0, "", 7, 7, 20, 21},
    {kIdLabel, ItemKind::Static, 0, "Name", 15, 15, 56, 16},
    {kIdName, ItemKind::Edit, WS_BORDER | WS_TABSTOP | plat::ES_AUTOHSCROLL, "", 75, 12, 24, 14},
    {kIdOk, ItemKind::DefPushButton, 0, "OK", 30, 35, 50, 18},
};
const plat::DialogTemplate kNameTemplate{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 110, 65, "", 9,
                                         "", kNameItems, 4};

class cNameFieldDialog : public cDialogOf<cNameFieldDialog> {
 public:
  explicit cNameFieldDialog(std::string* name) {
    plat::AddDialogResource(kNameDialog, &kNameTemplate);
    Init(kNameDialog, nullptr, 1, nullptr);
    SetGeometry(0, 0, 100, 100, 640, 480, 0, 0, 0, 0, 0, 0);
    m_nReqX = 240;
    m_nReqY = 220;
    EDITENTRY entry;
    SetEditEntry(entry.def, kIdName, name, 3, 1);
    AddEntry(m_vEdit, entry);
  }

  void OnInitDialog(uintptr_t wParam, intptr_t lParam) override {
    cDialog::OnInitDialog(wParam, lParam);
    EDITENTRY& e = GetEditEntry(m_vEdit, 0);
    e.edit.Create(this, e.def);
    m_vControls.push_back(&e.edit);
    m_vControls.push_back(&m_Probe);
    StoreControls();
    plat::SetFocus(e.edit.m_hWnd);
    plat::Send(e.edit.m_hWnd, EM_SETSEL, 0, 0x7FFFFFFF);
    // What reaches the focused edit.
    m_lpEditProc = plat::SetWindowProc(e.edit.m_hWnd, [this](plat::WindowHandle h, uint32_t m, uintptr_t w,
                                                              intptr_t l) -> intptr_t {
      if (m == WM_KEYDOWN || m == WM_KEYUP) m_vEditKeys.push_back({m, static_cast<int>(w)});
      return m_lpEditProc(h, m, w, l);
    });
    m_bInitialized = 1;
  }

  void OnCommand(uintptr_t wParam, intptr_t lParam) override {
    if (!AcceptCommand(wParam)) return;
    cDialog::OnCommand(wParam, lParam);
    if (plat::LoWord(wParam) == kIdOk && m_bOkCloses) {
      LoadControls();
      Close(1);
    }
  }

  // Notes the keys the tap hands over (a WM_HOOKKEY's own WM_KEYDOWN is not
  // noted twice) and takes a snapshot of the edit on F12.
  intptr_t HandleMessage(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    if (message == WM_HOOKKEY || message == WM_KEYUP || (message == WM_KEYDOWN && !m_bInHookKey))
      m_vDialogKeys.push_back({message, static_cast<int>(wParam)});
    if (message == WM_KEYDOWN && wParam == VK_F12 && !m_bInHookKey) Snapshot();
    bool hookKey = message == WM_HOOKKEY;
    if (hookKey) m_bInHookKey = true;
    intptr_t r = cDialog::HandleMessage(hWnd, message, wParam, lParam);
    if (hookKey) m_bInHookKey = false;
    return r;
  }

  struct Shot {
    std::string text;
    int start, end;
  };
  void Snapshot() {
    Shot shot;
    plat::GetDlgItemText(m_hWnd, kIdName, shot.text, 100);
    plat::Send(plat::GetDlgItem(m_hWnd, kIdName), EM_GETSEL, reinterpret_cast<uintptr_t>(&shot.start),
               reinterpret_cast<intptr_t>(&shot.end));
    m_vShots.push_back(shot);
  }

  cVector<EDITENTRY> m_vEdit;
  cKeyProbe m_Probe;
  plat::WindowProc m_lpEditProc;
  bool m_bOkCloses = true;
  bool m_bInHookKey = false;
  std::vector<std::pair<uint32_t, int>> m_vDialogKeys;  // message, key
  std::vector<std::pair<uint32_t, int>> m_vEditKeys;
  std::vector<Shot> m_vShots;
};

// A dialog with its own scroll bars and no other control that takes keys.
const plat::DialogItem kScrollItems[] = {
    {kIdNote, ItemKind::Static, 0, "View", 4, 4, 60, 10},
};
const plat::DialogTemplate kScrollTemplate{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 160, 100, "", 9,
                                           "Scroll", kScrollItems, 1};

class cScrollDialog : public cDialogOf<cScrollDialog> {
 public:
  cScrollDialog() {
    plat::AddDialogResource(kScrollDialog, &kScrollTemplate);
    Init(kScrollDialog, nullptr, 1, nullptr);
    SetGeometry(0, 0, 100, 100, 640, 480, 0, 0, 0, 0, 0, 3);
    for (SCROLLDEF* def : {&m_HScrollDef, &m_VScrollDef}) {
      def->nMin = 0;
      def->nMax = 100;
      def->nPage = 10;
    }
  }
  void OnInitDialog(uintptr_t wParam, intptr_t lParam) override {
    cDialog::OnInitDialog(wParam, lParam);
    m_vControls.push_back(&m_Probe);
    m_bInitialized = 1;
  }
  void OnPaint() override { ++m_nPaints; }


  // Notes the scroll messages offered to the controls, and the bars'
  // positions when Q comes.
  class cScrollProbe : public cControl {
   public:
    explicit cScrollProbe(cScrollDialog* dialog) : m_pOwner(dialog) {}
    bool OnScroll(int code, intptr_t bar) override {
      m_vScrolls.push_back({code, bar});
      return false;
    }
    void OnKey(uintptr_t key, intptr_t, int) override {
      if (key != 'Q') return;
      m_pOwner->m_HScroll.GetInfo(m_H);
      m_pOwner->m_VScroll.GetInfo(m_V);
    }
    cScrollDialog* m_pOwner;
    std::vector<std::pair<int, intptr_t>> m_vScrolls;
    plat::ScrollInfo m_H, m_V;
  } m_Probe{this};
  int m_nPaints = 0;
};

}  // namespace testdialogs
