#pragma once
// The open and save file dialog: a dialog of its own above its owner that
// shows one folder: its path; a list of ".." and the sub-folders, then the
// files that match the chosen filter, each group by name; a name edit; a
// choice of filter when there are several; OK and Cancel. A double click or
// OK on a folder enters it; a name with '*' or '?' filters the list; any
// other name is taken relative to the folder shown. Its own texts are
// Japanese, or English when asked. Names of the host that have no Shift-JIS
// form, and hidden (dot) names, are not shown. The working directory never
// changes. Main thread only.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/messages.h"

namespace plat {

// Its controls, for tests that click them: the list of folders and files,
// the name edit, the list of filters (list boxes, platform/message_numbers.h).
constexpr int kFileListId = 1120;
constexpr int kFileNameId = 1152;
constexpr int kFileTypeId = 1136;

struct FileDialogRequest {
  WindowHandle owner;
  bool save = false;
  bool multiSelect = false;      // open: several files of the folder shown
  bool mustExist = false;        // open: a name must name an existing file
  bool overwritePrompt = false;  // save: an existing file asks Yes/No first
  bool english = false;          // the dialog's own texts in English
  std::string title;             // Shift-JIS
  // Shift-JIS, relative to the working directory or absolute; the working
  // directory is shown when it is empty or no folder.
  std::string folder;
  // Pairs of a description and patterns ("*.a;*.b"), each ending with a NUL,
  // the list ending with a second NUL; null shows every file.
  const char* filter = nullptr;
  // Without the dot. Open: a missing name is tried with it; save: a name
  // without extension gets it. One with '*' or '?' is never added.
  std::string defaultExt;
  // In (save): the proposed name, NUL-ended. Out: the choice.
  char* buffer = nullptr;
  size_t bufferSize = 0;  // bytes of the buffer, terminators included
};

// Runs the dialog. True when the player chose: the buffer then holds the
// path relative to the working directory with '\' separators ("..\" above
// it) in Shift-JIS and a NUL; with several files chosen, the folder (".":
// the working directory), a NUL, each name with a NUL, and a second NUL. A
// choice that does not fit the buffer is refused with a box and the dialog
// stays. False when cancelled or when the dialog cannot open; the buffer is
// then as it was.
bool RunFileDialog(const FileDialogRequest& request);

// Whether a Shift-JIS file name matches a filter's patterns: split at ';'
// (blanks around them ignored), '*' any run of characters, '?' one character
// (a double-byte one counts one), ASCII case ignored; "*.*" matches every name.
bool MatchFileFilter(const std::string& sjisName, const std::string& sjisPatterns);

// Tests: called with the list's lines each time the dialog fills its list.
void SetFileListHook(std::function<void(const std::vector<std::string>&)> hook);

}  // namespace plat
