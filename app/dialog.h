#pragma once
// Modal dialogs from the program's dialog templates, with control objects
// that bind items to program variables. A subclass declares its controls as
// entries (app/dialog_entries.h), attaches them in OnInitDialog, writes the
// variables into the items (StoreControls) and reads them back on
// confirmation only (LoadControls): a cancelled dialog changes nothing.
// Main thread only, inside the nested pump of DoModal.
#include <cstdint>

#include "app/controls.h"
#include "app/hook.h"
#include "app/window.h"
#include "base/container.h"
#include "base/report_log.h"

// Ids of the dialog-owned scroll bars.
extern uint16_t wDlgHScrollId;
extern uint16_t wDlgVScrollId;

class cDialog : public cWindow {
 public:
  cDialog();
  ~cDialog() override;

  // Construction step: resource id, parent window object (may be null),
  // style word, owner lists.
  void Init(int resourceId, cWindow* parent, int styleWord, cWindowLists* lists);
  void SetParent(cWindow* parent);

  // Runs the dialog; its result (the value given to Close), 0 when its window
  // is open already, -1 when it cannot be created or another dialog of its
  // class is open. flags: 2 hides, 4 disables the owner lists' windows meanwhile.
  int DoModal(int flags);
  void Close(intptr_t result);
  void StoreControls();
  void LoadControls();
  void RefreshLists();
  // The control at index i of the control list, through the checked accessor.
  cControl* GetControl(int i);

  void OnCommand(uintptr_t wParam, intptr_t lParam) override;
  intptr_t HandleMessage(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  // Base set-up of WM_INITDIALOG; subclasses run it first, then attach their
  // entries, StoreControls, set texts and focus, and set m_bInitialized.
  virtual void OnInitDialog(uintptr_t wParam, intptr_t lParam);
  // The dialogs' window procedure (the per-class thunk calls it).
  intptr_t DialogProc(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam);

  // Adds an entry to one of the subclass's entry vectors; refused (false,
  // reported) while the dialog is open, since the control list points into them.
  template <class Entry>
  bool AddEntry(cVector<Entry>& entries, const Entry& entry) {
    if (m_bInDoModal) {
      ReportPrintfDebug("dialog %d: entries cannot be added while it is open", m_nResourceId);
      return false;
    }
    entries.push_back(entry);
    return true;
  }

  int32_t m_bModeless = 0;
  int32_t m_nModalFlags = 0;
  plat::WindowProc m_lpPrevProc;  // the dialog window's procedure before subclassing
  intptr_t m_nResult = 0;
  cHook m_Hook;
  cWindow* m_pParentWnd = nullptr;
  int32_t m_nReserved3 = 0;
  cViewPane m_ViewPane;
  cScrollBar m_HScroll;
  cScrollBar m_VScroll;
  SCROLLDEF m_HScrollDef, m_VScrollDef;  // what the dialog's own bars show
  int32_t m_nSpare2 = 0;
  cVector<cControl*> m_vControls;
  int32_t m_bSubclassed = 0;
  int32_t m_bInDoModal = 0;

 protected:
  // The class's one live instance for its thunk: false when another instance
  // of the class has its dialog open.
  virtual bool ClaimLiveInstance() { return true; }

 private:
  void PlaceScrollBars();
  void OnScrollMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
};

// The per-class dialog procedure: each dialog class passes its window's
// messages to its one live instance.
template <class T>
class cDialogOf : public cDialog {
 public:
  cDialogOf() {
    if (!s_pLive || !s_pLive->m_bInDoModal) s_pLive = this;
    m_lpDlgProc = &cDialogOf::DialogProcThunk;
  }
  ~cDialogOf() override {
    if (s_pLive == this) s_pLive = nullptr;
  }
  static intptr_t DialogProcThunk(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return s_pLive ? s_pLive->DialogProc(hWnd, message, wParam, lParam) : 0;
  }
  static cDialog* LiveInstance() { return s_pLive; }

 protected:
  bool ClaimLiveInstance() override {
    if (s_pLive && s_pLive != this && s_pLive->m_bInDoModal) return false;
    s_pLive = this;
    return true;
  }

 private:
  // One per class T; a cDialog while T is still being built.
  static inline cDialog* s_pLive = nullptr;
};

// Show or hide, enable or disable every window and control of the owner lists.
void ShowWindowList(cWindowLists* lists, bool show);
void EnableWindowList(cWindowLists* lists, bool enable);
