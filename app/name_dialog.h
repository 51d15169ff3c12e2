#pragma once
// The name-entry dialog (resource 102): the three-character name under which
// a result enters the rankings, a double-byte character counting as one. On
// the options screen it edits OptionData's registered name; inside a stage
// the running stage's ranking name; otherwise nothing. The name is written
// only by "OK" (or Enter); Escape does nothing; Alt+F4 leaves it as it was.
//
// The main window builds one on WM_GAME_NAMEENTRY with the game threads
// suspended, runs DoModal(0) and deletes it. Main thread only.
#include "app/dialog.h"
#include "app/dialog_entries.h"

constexpr int IDD_NAMEENTRY = 102;

class cNameDialog : public cDialogOf<cNameDialog> {
 public:
  // Chooses the target from Game.m_nPlayCommand and CurStage, and asks for
  // the place (240, 220) from the main window's stored top-left in a window,
  // on the screen in full screen, with the pointer resting on "OK".
  cNameDialog(int resourceId, cWindow* parent, int styleWord, cWindowLists* lists);

  void OnInitDialog(uintptr_t wParam, intptr_t lParam) override;
  void OnCommand(uintptr_t wParam, intptr_t lParam) override;

  cVector<EDITENTRY> m_vEdit;  // one entry with a target, none without
};
