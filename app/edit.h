#pragma once
// The edit control object: binds an edit item to a string and keeps the
// typed text within a byte capacity, a number of characters per line and a
// number of lines (app/edit_limits.h) after every change. Main thread only.
#include <cstdint>
#include <string>

#include "app/controls.h"
#include "app/edit_limits.h"
#include "platform/messages.h"

// How an edit entry binds its item: control id, the bound string, byte
// capacity (0: 4096), characters per line (0: 1024), lines (0: 32), whether a
// double-byte character counts as one, and four words carried unread.
struct EDITDEF {
  int nId = 0;
  std::string* pstrText = nullptr;
  int32_t nCapacity = 0;
  int32_t nLineChars = 0;
  int32_t nLines = 0;
  int32_t bDbcs = 0;
  int32_t nReserved[4] = {0, 0, 0, 0};
};

// Fills a one-line definition for n characters: capacity n + 1, n characters
// per line when double-byte characters count as one (else 0: 1024).
void SetEditEntry(EDITDEF& def, int id, std::string* text, int n, int bDbcs);

class cEdit : public cControl {
 public:
  cEdit() : cControl(3) {}

  // Attaches to the item, takes the limits (zero values get the defaults),
  // shows the bound text and checks it once against the limits.
  bool Create(cDialog* dialog, const EDITDEF& def);
  void Store() override;     // bound string -> item
  void Load() override;      // item -> bound string, read up to ReadLimit()
  void OnChange() override;  // after every change of the item's text (EN_UPDATE)

  // The first place of `text` in the bound string (cut at its first NUL) at or
  // after `from`; -1 when from is outside the string or nothing is found.
  int FindText(const std::string& text, int from);
  int ReadLimit() const;
  EditLimits Limits() const;

  int32_t m_nTextKind = 0;
  std::string* m_pstrText = nullptr;
  int32_t m_nCapacity = 0;
  int32_t m_bDbcs = 0;
  int32_t m_nLineChars = 0;
  int32_t m_nLines = 0;
  int32_t m_bInitializing = 0;
  std::string m_strPrev;  // the text after the last accepted change
  int32_t m_nSelStart = 0, m_nSelEnd = 0;
  int32_t m_nReserved4[4] = {0, 0, 0, 0};
};

// The item's text into `text`, at most limit - 1 bytes (limit counts the
// terminator); "" when the item does not exist.
void GetDlgItemString(plat::WindowHandle dialog, int id, std::string& text, int limit);
void SetDlgItemString(plat::WindowHandle dialog, int id, const std::string& text);
