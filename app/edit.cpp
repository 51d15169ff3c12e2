#include "app/edit.h"

#include "base/string_util.h"
#include "platform/dialog_box.h"
#include "platform/input.h"
#include "platform/message_numbers.h"
#include "platform/virtual_keys.h"

void SetEditEntry(EDITDEF& def, int id, std::string* text, int n, int bDbcs) {
  def.nId = id;
  def.pstrText = text;
  def.nCapacity = n + 1;
  def.nLineChars = bDbcs ? n : 0;
  def.nLines = 1;
  def.bDbcs = bDbcs;
}

void GetDlgItemString(plat::WindowHandle dialog, int id, std::string& text, int limit) {
  std::string read;
  plat::GetDlgItemText(dialog, id, read, limit > 0 ? static_cast<size_t>(limit) : 0);
  text = read;
}

void SetDlgItemString(plat::WindowHandle dialog, int id, const std::string& text) {
  plat::SetDlgItemText(dialog, id, text);
}

bool cEdit::Create(cDialog* dialog, const EDITDEF& def) {
  m_nTextKind = 2;
  Attach(dialog, def.nId);
  m_pstrText = def.pstrText;
  m_nCapacity = def.nCapacity ? def.nCapacity : 4096;
  m_nLineChars = def.nLineChars ? def.nLineChars : 1024;
  m_nLines = def.nLines ? def.nLines : 32;
  m_bDbcs = def.bDbcs;
  for (int i = 0; i < 4; ++i) m_nReserved4[i] = def.nReserved[i];
  const std::string bound = m_pstrText ? *m_pstrText : std::string();
  SetDlgItemString(m_hDlg, m_nId, bound);
  m_strPrev = bound;
  m_bInitializing = 1;
  OnChange();
  m_bInitializing = 0;
  return true;
}

EditLimits cEdit::Limits() const {
  EditLimits limits;
  limits.nCapacity = m_nCapacity;
  limits.bDbcs = m_bDbcs;
  limits.nLineChars = m_nLineChars;
  limits.nLines = m_nLines;
  return limits;
}

int cEdit::ReadLimit() const { return EditReadLimit(Limits()); }

void cEdit::Store() { SetDlgItemString(m_hDlg, m_nId, m_pstrText ? *m_pstrText : std::string()); }

void cEdit::Load() {
  if (m_pstrText) GetDlgItemString(m_hDlg, m_nId, *m_pstrText, ReadLimit());
}

void cEdit::OnChange() {
  // Setting the text below raises EN_UPDATE again.
  if (m_bBusy) return;
  m_bBusy = 1;
  std::string current;
  GetDlgItemString(m_hDlg, m_nId, current, ReadLimit());
  int start = 0, end = 0;
  plat::Send(m_hWnd, EM_GETSEL, reinterpret_cast<uintptr_t>(&start), reinterpret_cast<intptr_t>(&end));
  m_nSelStart = start;
  m_nSelEnd = end;
  EditState next = LimitEditChange(m_strPrev, current, start, end, Limits(),
                                   plat::IsKeyDown(VK_BACK), m_bInitializing != 0);
  SetDlgItemString(m_hDlg, m_nId, next.text);
  if (!m_bInitializing)
    plat::Send(m_hWnd, EM_SETSEL, static_cast<uintptr_t>(next.nSelStart), next.nSelEnd);
  m_strPrev = next.text;
  m_bBusy = 0;
}

int cEdit::FindText(const std::string& text, int from) {
  if (!m_pstrText) return -1;
  const int length = StrSyncLength(*m_pstrText);
  if (from < 0 || from > length) return -1;
  size_t at = m_pstrText->find(text, static_cast<size_t>(from));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}
