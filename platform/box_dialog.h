#pragma once
// Inside platform/ only: the message box drawn as one of our dialogs (the
// text layer's face, so Japanese reads on any X server), and what it shares
// with its stand-ins.
#include "platform/message_box.h"

namespace plat::detail {

struct BoxButtonSet {
  int count;
  int ids[3];  // BoxAnswer values, which are also the buttons' control ids
  const char* labels[3];
};
BoxButtonSet ButtonsOf(BoxButtons buttons);

// What Escape and the close box answer: Cancel when the box has it, OK for
// a box with OK alone, nothing (0) for Yes and No alone, which must be chosen.
int EscapeAnswer(BoxButtons buttons);

// Shows the box over the active window (else the program's window, else
// centred on the desktop) and runs it modally on the main thread. Returns
// the answer; -1 when no dialog window can be made or no face draws text.
int ShowBoxDialog(const BoxRequest& request);

}  // namespace plat::detail
