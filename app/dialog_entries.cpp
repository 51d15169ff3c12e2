#include "app/dialog_entries.h"

#include "app/dialog.h"

void AttachEntries(cDialog* dialog, cVector<RADIOENTRY>& entries) {
  for (RADIOENTRY& e : entries) {
    e.radio.Attach(dialog, e.def.nId);
    e.radio.m_pnValue = e.def.pnValue;
    e.radio.m_nValue = e.def.nValue;
    dialog->m_vControls.push_back(&e.radio);
  }
}

void AttachEntries(cDialog* dialog, cVector<CHECKENTRY>& entries) {
  for (CHECKENTRY& e : entries) {
    e.check.Attach(dialog, e.def.nId);
    e.check.m_pnValue = e.def.pnValue;
    dialog->m_vControls.push_back(&e.check);
  }
}

void AttachEntries(cDialog* dialog, cVector<STATICENTRY>& entries) {
  for (STATICENTRY& e : entries) {
    e.text.Attach(dialog, e.def.nId);
    dialog->m_vControls.push_back(&e.text);
  }
}
