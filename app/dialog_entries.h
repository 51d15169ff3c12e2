#pragma once
// Entries: a dialog subclass holds one vector per control class, each
// element the control object followed by its definition. Entries are plain
// values (a copy copies the control too); every index into a vector goes
// through the checked accessor, which reports a bad one and closes.
#include <cstdint>

#include "app/controls.h"
#include "app/edit.h"
#include "base/container.h"

struct EDITENTRY {
  cEdit edit;
  EDITDEF def;
};

struct RADIODEF {
  int nId = 0;
  int32_t* pnValue = nullptr;
  int32_t nValue = 0;
};
struct RADIOENTRY {
  cRadioButton radio;
  RADIODEF def;
};

struct CHECKDEF {
  int nId = 0;
  int32_t* pnValue = nullptr;
};
struct CHECKENTRY {
  cCheckBox check;
  CHECKDEF def;
};

struct STATICDEF {
  int nId = 0;
};
struct STATICENTRY {
  cStatic text;
  STATICDEF def;
};

inline EDITENTRY& GetEditEntry(cVector<EDITENTRY>& entries, int i) { return entries.At(i); }
inline CHECKENTRY& GetCheckEntry(cVector<CHECKENTRY>& entries, int i) { return entries.At(i); }
inline RADIOENTRY& GetRadioEntry(cVector<RADIOENTRY>& entries, int i) { return entries.At(i); }
inline STATICENTRY& GetStaticEntry(cVector<STATICENTRY>& entries, int i) { return entries.At(i); }

// A subclass's OnInitDialog, after cDialog::OnInitDialog: binds each entry's
// control to its item (and a radio button or check box to its variable) and
// appends it to the dialog's control list, in entry order.
void AttachEntries(cDialog* dialog, cVector<RADIOENTRY>& entries);
void AttachEntries(cDialog* dialog, cVector<CHECKENTRY>& entries);
void AttachEntries(cDialog* dialog, cVector<STATICENTRY>& entries);
