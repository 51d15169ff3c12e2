#pragma once
// Control objects that bind a dialog item to a program variable: Store
// writes the variable into the item, Load reads the item back into it. A
// dialog holds its controls in entry vectors (app/dialog_entries.h) and lists
// them once its window exists. Main thread only.
#include <cstdint>
#include <string>

#include "platform/dialog_box.h"
#include "platform/messages.h"

class cDialog;

class cControl {
 public:
  explicit cControl(int kind = -1) : m_nKind(kind) {}
  virtual ~cControl() = default;

  virtual void Enable(bool enable);
  virtual void Store();  // variable -> item
  virtual void Load();   // item -> variable
  // EN_UPDATE of an edit, the change notification of a button or list.
  virtual void OnChange();
  virtual bool OnNotify(uintptr_t wParam, intptr_t lParam);
  // code: the scroll code; bar: the scroll bar's handle id (0: none).
  virtual bool OnScroll(int code, intptr_t bar);
  virtual void Refresh();
  virtual void OnKillFocus();
  virtual void RedrawList();
  // A key the dialog got (WM_KEYDOWN): virtual-key code, keystroke flags,
  // whether Ctrl is held as the keyboard hook saw it.
  virtual void OnKey(uintptr_t key, intptr_t flags, int ctrlHeld);

  // Binds the object to the item `id` of the dialog's window.
  void Attach(cDialog* dialog, int id);
  // Screen position, and position relative to the dialog's client area.
  void UpdatePos();
  void SetSize(int cx, int cy);
  void SetText(const std::string& text);
  void AddStyle(uint32_t bits);
  void RemoveStyle(uint32_t bits);

  plat::WindowHandle m_hWnd;
  int32_t m_nReserved = 0;
  plat::WindowProc m_lpPrevProc;  // a subclassed scroll bar's own procedure
  cDialog* m_pDialog = nullptr;
  plat::WindowHandle m_hDlg;
  int m_nKind;
  int m_nId = 0;
  int32_t m_nReserved2 = 0;
  int32_t m_nScreenX = 0, m_nScreenY = 0;
  int32_t m_nRelX = 0, m_nRelY = 0;
  int32_t m_bBusy = 0;  // re-entry guard of OnChange
  std::string m_strTip;
};

// Kind 0: a static item; binds nothing.
class cStatic : public cControl {
 public:
  cStatic() : cControl(0) {}
};

// Kind 5: a check box bound to an int32 (0, 1, or 2 for the third state).
class cCheckBox : public cControl {
 public:
  cCheckBox() : cControl(5) {}
  void Store() override;
  void Load() override;
  int32_t* m_pnValue = nullptr;
};

// Kind 6: a radio button bound to an int32: checked exactly when the variable
// holds the button's value; a checked button writes its value back.
class cRadioButton : public cControl {
 public:
  cRadioButton() : cControl(6) {}
  void Store() override;
  void Load() override;
  int32_t* m_pnValue = nullptr;
  int32_t m_nValue = 0;
};

// Kind 4: the pane that takes the focus from a dialog's own scroll bars.
class cViewPane : public cControl {
 public:
  cViewPane() : cControl(4) {}
};

// What a scroll bar shows: the control id, the window whose bar it is (none:
// the control itself), the bar (SB_HORZ, SB_VERT, SB_CTL), range and page.
struct SCROLLDEF {
  int nId = 0;
  plat::WindowHandle hTarget;
  int nBar = 2;  // SB_CTL
  int32_t nReserved = 0;
  int32_t nMin = 0, nMax = 0, nPage = 0;
  int32_t bRedraw = 1;
};

// Kind 11: a scroll bar item.
class cScrollBar : public cControl {
 public:
  cScrollBar() : cControl(11) {}
  ~cScrollBar() override;
  // Attaches, sets range and page, and subclasses the bar (its right button
  // release is swallowed).
  bool Create(cDialog* dialog, const SCROLLDEF& def);
  // The bar's values, read from and written to where they live.
  bool GetInfo(plat::ScrollInfo& out) const;
  bool SetPos(int pos);
  SCROLLDEF m_Def;
};
