#pragma once
// The start-up dialog (resource 103): the drawing back end (Direct3D or
// DirectDraw, BootData.m_nDrawMode 1 or 0) and whether to ask again
// (BootData.m_bNoAsk). "ゲーム開始" reads the controls into BootData, saves
// Boot.dat and ends with 1; "ゲーム中止", the close box and Alt+F4 end with 0
// and change nothing; Escape does nothing.
//
// Start-up builds one before the drawing layer and any other thread, when
// System.ini asks for the choice and Boot.dat does not say to stop asking,
// runs DoModal(0) and deletes it. Main thread only.
#include "app/dialog.h"
#include "app/dialog_entries.h"

constexpr int IDD_BOOT = 103;

class cBootDialog : public cDialogOf<cBootDialog> {
 public:
  // Asks for the place 133, 104 pixels from the main window's stored
  // top-left, with the pointer resting on "ゲーム開始".
  cBootDialog(int resourceId, cWindow* parent, int styleWord, cWindowLists* lists);

  void OnInitDialog(uintptr_t wParam, intptr_t lParam) override;
  void OnCommand(uintptr_t wParam, intptr_t lParam) override;

  // The entry of a check box by control id; null (after the debug box and
  // the close request) when there is none.
  CHECKENTRY* FindCheckBox(int id);
  STATICENTRY* FindStatic(int id);

  cVector<CHECKENTRY> m_vCheck;
  cVector<RADIOENTRY> m_vRadio;
  cVector<STATICENTRY> m_vStatic;
};
