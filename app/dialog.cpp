#include "app/dialog.h"

#include <algorithm>
#include <cstdint>

#include "base/boxes.h"
#include "platform/dialog_box.h"
#include "platform/message_numbers.h"
#include "platform/virtual_keys.h"
#include "platform/window_props.h"

uint16_t wDlgHScrollId = 0xFF01;
uint16_t wDlgVScrollId = 0xFF02;

namespace {

const char kDialogProp[] = "DLG_CLASS";
// "KeyboardHookに失敗!"
const char kHookFailed[] = "KeyboardHook\x82\xC9\x8E\xB8\x94\x73!";
// "ウインドウの破棄に失敗！"
const char kDestroyFailed[] =
    "\x83\x45\x83\x43\x83\x93\x83\x68\x83\x45\x82\xCC\x94\x6A\x8A\xFC\x82\xC9\x8E\xB8\x94\x73\x81\x49";

// Every message of a subclassed dialog window passes here unchanged.
intptr_t DlgSubclassProc(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  auto* dialog = static_cast<cDialog*>(plat::GetProp(hWnd, kDialogProp));
  if (!dialog || !dialog->m_lpPrevProc) return 0;
  plat::WindowProc previous = dialog->m_lpPrevProc;
  return previous(hWnd, message, wParam, lParam);
}

// The scroll keys: the message and code each posts to the dialog.
struct ScrollKey {
  int key;
  uint32_t message;
  int code;
};
constexpr ScrollKey kScrollKeys[] = {
    {VK_PRIOR, WM_VSCROLL, SB_PAGEUP},  {VK_NEXT, WM_VSCROLL, SB_PAGEDOWN}, {VK_END, WM_HSCROLL, 3},
    {VK_HOME, WM_HSCROLL, 2},           {VK_LEFT, WM_HSCROLL, 0},          {VK_UP, WM_VSCROLL, SB_LINEUP},
    {VK_RIGHT, WM_HSCROLL, 1},          {VK_DOWN, WM_VSCROLL, SB_LINEDOWN},
};

}  // namespace

cDialog::cDialog() {
  m_HScrollDef.nId = wDlgHScrollId;
  m_VScrollDef.nId = wDlgVScrollId;
}

cDialog::~cDialog() {
  if (m_bModeless && m_hWnd) {
    Close(0);
    if (!m_pLists || !m_pLists->m_vWindows.Remove(this)) ErrorBox(kDestroyFailed);
  }
}

void cDialog::Init(int resourceId, cWindow* parent, int styleWord, cWindowLists* lists) {
  m_nStyleWord = styleWord;
  m_bInitialized = 0;
  m_bModeless = 0;
  m_nModalFlags = 0;
  m_nSpare2 = 0;
  m_nResourceId = resourceId;
  m_pLists = lists;
  SetParent(parent);
}

void cDialog::SetParent(cWindow* parent) {
  m_pParentWnd = parent;
  m_bSubclassed = 0;
  InitResource(m_nResourceId, parent ? parent->m_hWnd : plat::WindowHandle{}, m_pLists);
}

int cDialog::DoModal(int flags) {
  if (m_hWnd) return 0;
  if (!m_lpDlgProc || !ClaimLiveInstance()) return -1;
  Close(0);
  m_bModeless = 0;
  m_nModalFlags = flags;
  if (flags & 2) ShowWindowList(m_pLists, false);
  if (flags & 4) EnableWindowList(m_pLists, false);
  m_bInDoModal = 1;
  intptr_t result = plat::DialogBoxParam(m_nResourceId, m_hParent, m_lpDlgProc, 0);
  m_bInDoModal = 0;
  m_hWnd = plat::WindowHandle{};
  if (flags & 2) ShowWindowList(m_pLists, true);
  if (flags & 4) EnableWindowList(m_pLists, true);
  return static_cast<int>(result);
}

void cDialog::Close(intptr_t result) {
  m_nResult = result;
  m_vControls.clear();
  // Modeless dialogs are never opened here; a modal one ends its pump.
  if (m_hWnd) plat::EndDialog(m_hWnd, result);
}

void cDialog::StoreControls() {
  for (size_t i = 0; i < m_vControls.size(); ++i) m_vControls[i]->Store();
}

void cDialog::LoadControls() {
  for (size_t i = 0; i < m_vControls.size(); ++i) m_vControls[i]->Load();
}

void cDialog::RefreshLists() {
  for (size_t i = 0; i < m_vControls.size(); ++i)
    if (m_vControls[i]->m_nKind == 8) m_vControls[i]->Refresh();
}

cControl* cDialog::GetControl(int i) { return m_vControls.At(i); }

void cDialog::OnCommand(uintptr_t wParam, intptr_t lParam) {
  const int id = static_cast<int>(plat::LoWord(wParam));
  const int code = static_cast<int>(plat::HiWord(wParam));
  // The first control of the id whose kind knows the notification.
  for (size_t i = 0; i < m_vControls.size(); ++i) {
    cControl* c = m_vControls[i];
    if (c->m_nId != id) continue;
    bool routed = true;
    switch (c->m_nKind) {
      case 2:
      case 3:
        if (code == EN_UPDATE)
          c->OnChange();
        else if (code == EN_KILLFOCUS)
          c->OnKillFocus();
        else
          routed = false;
        break;
      case 7:
        if (code == 1)
          c->OnChange();
        else
          routed = false;
        break;
      case 8:
        if (code == 1)
          c->OnChange();
        else if (code == 5)
          c->OnKillFocus();
        else
          routed = false;
        break;
      default: routed = false; break;
    }
    if (routed) break;
  }
  for (size_t i = 0; i < m_vControls.size(); ++i) {
    cControl* c = m_vControls[i];
    if (c->m_nKind != 8) continue;
    plat::Send(c->m_hWnd, WM_SETREDRAW, 0, 0);
    c->RedrawList();
  }
}

intptr_t cDialog::HandleMessage(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  intptr_t r = cWindow::HandleMessage(hWnd, message, wParam, lParam);
  if (m_bInitialized && m_ViewPane.m_hWnd) {
    plat::WindowHandle focus = plat::GetFocus();
    if (focus && (focus == m_HScroll.m_hWnd || focus == m_VScroll.m_hWnd)) plat::SetFocus(m_ViewPane.m_hWnd);
  }
  switch (message) {
    case WM_DESTROY:
      if (m_nModalFlags & 2) ShowWindowList(m_pLists, true);
      if (m_nModalFlags & 4) EnableWindowList(m_pLists, true);
      break;
    case WM_SIZE: PlaceScrollBars(); break;
    case WM_NOTIFY:
      for (size_t i = 0; i < m_vControls.size(); ++i)
        if (m_vControls[i]->OnNotify(wParam, lParam)) break;
      break;
    case WM_KEYDOWN:
      for (const ScrollKey& k : kScrollKeys) {
        if (wParam != static_cast<uintptr_t>(k.key)) continue;
        const cScrollBar& bar = k.message == WM_VSCROLL ? m_VScroll : m_HScroll;
        plat::Post(m_hWnd, k.message, static_cast<uintptr_t>(k.code), static_cast<intptr_t>(bar.m_hWnd.id));
      }
      if (!m_bModeless)
        for (size_t i = 0; i < m_vControls.size(); ++i) m_vControls[i]->OnKey(wParam, lParam, bHookCtrlHeld);
      break;
    case WM_INITDIALOG: OnInitDialog(wParam, lParam); break;
    case WM_HSCROLL:
    case WM_VSCROLL: OnScrollMessage(message, wParam, lParam); break;
    case WM_HOOKKEY: plat::Send(m_hWnd, WM_KEYDOWN, wParam, lParam); break;
    default: break;
  }
  return r;
}

void cDialog::OnScrollMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  cScrollBar& bar = message == WM_HSCROLL ? m_HScroll : m_VScroll;
  const int code = static_cast<int>(plat::LoWord(wParam));
  plat::ScrollInfo info;
  if (bar.m_hWnd && lParam == static_cast<intptr_t>(bar.m_hWnd.id) && bar.GetInfo(info)) {
    int64_t pos = info.pos;
    switch (code) {
      case 0: pos -= 1; break;
      case 1: pos += 1; break;
      case 2: pos -= info.page; break;
      case 3: pos += info.page; break;
      case 5: pos = info.trackPos; break;
      case 6: pos = info.min; break;
      case 7: pos = info.max; break;
      default: break;
    }
    bar.SetPos(static_cast<int>(std::clamp<int64_t>(pos, INT32_MIN, INT32_MAX)));
    plat::ScrollInfo after;
    if (bar.GetInfo(after) && after.pos != info.pos) OnPaint();
  }
  for (size_t i = 0; i < m_vControls.size(); ++i)
    if (m_vControls[i]->OnScroll(code, lParam)) break;
}

void cDialog::PlaceScrollBars() {
  if (m_HScroll.m_hWnd)
    plat::SetWindowPos(m_HScroll.m_hWnd, m_nViewX, m_nViewY + m_nViewH, m_nViewW,
                       plat::GetSystemMetrics(SM_CYHSCROLL));
  if (m_VScroll.m_hWnd)
    plat::SetWindowPos(m_VScroll.m_hWnd, m_nViewX + m_nViewW, m_nViewY, plat::GetSystemMetrics(SM_CXVSCROLL),
                       m_nViewH);
}

void cDialog::OnInitDialog(uintptr_t, intptr_t) {
  m_vControls.clear();
  if (m_bModeless && m_pLists) m_pLists->m_vWindows.push_back(this);
  if (!m_bSubclassed) {
    plat::SetProp(m_hWnd, kDialogProp, this);
    m_lpPrevProc = plat::SetWindowProc(m_hWnd, DlgSubclassProc);
    m_bSubclassed = 1;
  }
  UpdateMetrics();
  if (m_nWantW > 0 || m_nWantH > 0) SetClientSize(m_rcWanted.Width(), m_rcWanted.Height());
  struct Bar {
    int bit;
    cScrollBar& bar;
    const SCROLLDEF& def;
    uint32_t style;
  };
  for (const Bar& b : {Bar{1, m_HScroll, m_HScrollDef, 0u}, Bar{2, m_VScroll, m_VScrollDef, plat::SBS_VERT}}) {
    if (!(m_nScrollBits & b.bit)) continue;
    plat::DialogItem item{b.def.nId, plat::ItemKind::ScrollBar, b.style, "", 0, 0, 0, 0};
    plat::CreateDialogControl(m_hWnd, item);
    b.bar.Create(this, b.def);
    m_vControls.push_back(&b.bar);
  }
  PlaceScrollBars();
  Place();
  if (!m_Hook.KeyboardHook(m_hWnd, m_bModeless)) ErrorBoxPrintf("%s", kHookFailed);
  UpdateMouse(0, 7);
  m_MousePrev = m_Mouse;
}

intptr_t cDialog::DialogProc(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  intptr_t r = HandleMessage(hWnd, message, wParam, lParam);
  if (message == WM_DESTROY) return 1;
  if (message == WM_CLOSE) {
    Close(0);
    return 1;
  }
  return r ? 1 : 0;
}

void ShowWindowList(cWindowLists* lists, bool show) {
  if (!lists) return;
  for (cWindow* w : lists->m_vWindows) plat::ShowWindow(w->m_hWnd, show);
  for (cControl* c : lists->m_vControls)
    if (c->m_hWnd) plat::ShowWindow(c->m_hWnd, show);
}

void EnableWindowList(cWindowLists* lists, bool enable) {
  if (!lists) return;
  for (cWindow* w : lists->m_vWindows) {
    if (enable)
      w->RemoveStyle(WS_DISABLED);
    else
      w->AddStyle(WS_DISABLED);
  }
  for (cControl* c : lists->m_vControls) {
    if (!c->m_hWnd) continue;
    if (enable)
      c->RemoveStyle(WS_DISABLED);
    else
      c->AddStyle(WS_DISABLED);
  }
}
