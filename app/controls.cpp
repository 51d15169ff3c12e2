#include "app/controls.h"

#include "app/dialog.h"
#include "platform/message_numbers.h"
#include "platform/window_geometry.h"
#include "platform/window_props.h"

namespace {

const char kScrollProp[] = "CTRL_SCROLL_CLASS";

// A dialog's scroll bar: the right button's release stops here, and the bar
// hands its own procedure back when it goes.
intptr_t ScrollBarProc(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  auto* bar = static_cast<cScrollBar*>(plat::GetProp(hWnd, kScrollProp));
  if (!bar) return 0;
  plat::WindowProc previous = bar->m_lpPrevProc;
  if (message == WM_RBUTTONUP) return 0;
  if (message == WM_DESTROY) {
    plat::SetWindowProc(hWnd, previous);
    plat::RemoveProp(hWnd, kScrollProp);
    bar->m_lpPrevProc = nullptr;
  }
  return previous ? previous(hWnd, message, wParam, lParam) : 0;
}

}  // namespace

void cControl::Enable(bool enable) { plat::EnableWindow(m_hWnd, enable); }
void cControl::Store() {}
void cControl::Load() {}
void cControl::OnChange() {}
bool cControl::OnNotify(uintptr_t, intptr_t) { return false; }
bool cControl::OnScroll(int, intptr_t) { return false; }
void cControl::Refresh() {}
void cControl::OnKillFocus() {}
void cControl::RedrawList() {}
void cControl::OnKey(uintptr_t, intptr_t, int) {}

void cControl::Attach(cDialog* dialog, int id) {
  m_pDialog = dialog;
  m_hDlg = dialog ? dialog->m_hWnd : plat::WindowHandle{};
  m_nId = id;
  m_strTip.clear();
  m_hWnd = plat::GetDlgItem(m_hDlg, id);
  UpdatePos();
}

void cControl::UpdatePos() {
  plat::Rect r;
  if (!plat::GetWindowRect(m_hWnd, r)) return;
  m_nScreenX = r.left;
  m_nScreenY = r.top;
  plat::Rect d;
  if (m_pDialog && plat::GetWindowRect(m_hDlg, d)) {
    m_nRelX = m_nScreenX - d.left - m_pDialog->m_nFrameLeft;
    m_nRelY = m_nScreenY - d.top - m_pDialog->m_nFrameTop;
  }
}

void cControl::SetSize(int cx, int cy) {
  if (m_hWnd) plat::SetWindowPos(m_hWnd, m_nRelX, m_nRelY, cx, cy);
}

void cControl::SetText(const std::string& text) { plat::SetWindowText(m_hWnd, text); }

void cControl::AddStyle(uint32_t bits) { plat::SetWindowStyle(m_hWnd, plat::GetWindowStyle(m_hWnd) | bits); }

void cControl::RemoveStyle(uint32_t bits) {
  plat::SetWindowStyle(m_hWnd, plat::GetWindowStyle(m_hWnd) & ~bits);
}

void cCheckBox::Store() {
  if (m_pnValue) plat::Send(m_hWnd, BM_SETCHECK, static_cast<uintptr_t>(*m_pnValue), 0);
}

void cCheckBox::Load() {
  if (m_pnValue) *m_pnValue = static_cast<int32_t>(plat::Send(m_hWnd, BM_GETCHECK, 0, 0));
}

void cRadioButton::Store() {
  if (m_pnValue)
    plat::Send(m_hWnd, BM_SETCHECK, *m_pnValue == m_nValue ? BST_CHECKED : BST_UNCHECKED, 0);
}

void cRadioButton::Load() {
  if (m_pnValue && plat::Send(m_hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED) *m_pnValue = m_nValue;
}

cScrollBar::~cScrollBar() {
  if (m_hWnd && plat::GetProp(m_hWnd, kScrollProp) == this) {
    plat::SetWindowProc(m_hWnd, m_lpPrevProc);
    plat::RemoveProp(m_hWnd, kScrollProp);
  }
}

bool cScrollBar::Create(cDialog* dialog, const SCROLLDEF& def) {
  Attach(dialog, def.nId);
  m_Def = def;
  plat::ScrollInfo info;
  info.mask = SIF_RANGE | SIF_PAGE;
  info.min = def.nMin;
  info.max = def.nMax;
  info.page = def.nPage > 0 ? static_cast<unsigned>(def.nPage) : 0;
  if (def.hTarget)
    plat::SetScrollInfo(def.hTarget, def.nBar, info);
  else
    plat::SetScrollInfo(m_hWnd, SB_CTL, info);
  if (!m_hWnd || !plat::SetProp(m_hWnd, kScrollProp, this)) return false;
  m_lpPrevProc = plat::SetWindowProc(m_hWnd, ScrollBarProc);
  return true;
}

bool cScrollBar::GetInfo(plat::ScrollInfo& out) const {
  return m_Def.hTarget ? plat::GetScrollInfo(m_Def.hTarget, m_Def.nBar, out)
                       : plat::GetScrollInfo(m_hWnd, SB_CTL, out);
}

bool cScrollBar::SetPos(int pos) {
  plat::ScrollInfo info;
  info.mask = SIF_POS;
  info.pos = pos;
  return m_Def.hTarget ? plat::SetScrollInfo(m_Def.hTarget, m_Def.nBar, info)
                       : plat::SetScrollInfo(m_hWnd, SB_CTL, info);
}
