#pragma once
// The program's open and save file dialogs: the stage-file and replay-file
// requests of the main window open with OpenFileDialog, the replay save asks
// for a name with SaveFileDialog. Paths in and out are Shift-JIS, relative to
// the working directory (which the dialogs never change), with '\'
// separators. While a dialog is open on an 8-bit DirectDraw display, palette
// entry 0 is black; it comes back after the dialog, confirmed or not. Main
// thread only.
#include <string>

#include "base/container.h"
#include "platform/messages.h"

constexpr int FILE_DIALOG_BUFFER = 260;  // bytes of a path buffer, the NUL included

// Lets the player choose an existing file in `folder` (shown first; the
// working directory when it is missing). `filter`: pairs of a description and
// patterns, each NUL-ended, the list ending with a second NUL. A missing name
// is tried with `defExt` (unless it holds a wildcard). The whole buffer
// (`size` bytes) is cleared, then receives the path and a NUL; with
// `multiSelect` and several files, the folder, a NUL, each name and a NUL,
// and a second NUL. A choice that does not fit is refused with a box while
// the dialog stays. With `list` (passed empty), the list receives one path
// per chosen file, the folder joined to each name. 1 when chosen, 0 when
// cancelled.
int OpenFileDialog(plat::WindowHandle owner, char* buffer, int size, const char* folder, const char* title,
                   const char* filter, const char* defExt, int multiSelect, cVector<std::string>* list);

// Lets the player name a file to write in `folder`; a name without
// extension gets `defExt`, an existing file asks Yes/No first. `buffer` holds
// FILE_DIALOG_BUFFER bytes: with `keep` its text is the proposed name, else
// it is cleared first; it receives the path and a NUL. 1 when confirmed, 0
// when cancelled (the buffer is then as it was).
int SaveFileDialog(plat::WindowHandle owner, char* buffer, const char* folder, const char* title,
                   const char* filter, const char* defExt, int keep);
