#pragma once
// The rule that keeps an edit control's text within its limits, as a pure
// function of what the control held before and holds now. cEdit runs it after
// every change of its text.
#include <string>

struct EditLimits {
  int nCapacity = 4096;   // bytes the text may hold, terminator included
  int bDbcs = 0;          // a Shift-JIS double-byte character counts as one
  int nLineChars = 1024;  // characters per line (0 or less: no limit)
  int nLines = 32;        // lines (0 or less: no limit)
};

struct EditState {
  std::string text;
  int nSelStart = 0, nSelEnd = 0;  // byte positions
};

// Bytes (terminator included) read back from the control: twice the
// capacity less one with double-byte counting, else the capacity; at least 1.
int EditReadLimit(const EditLimits& limits);

// The text and selection the control should show after a change. `current`
// is the control's text (cut to the read limit here) and selStart, selEnd its
// selection after the change; `previous` the last accepted text. A line
// longer than the limit is wrapped and its tail joins the next line; a change
// that leaves too many lines is refused (the previous text and the selection
// come back), or while initialising the previous text is cut to one line's
// limit; with Backspace held, deleting a line break is refused when the
// joined line would not fit. The selection never rests on the LF of a CR LF.
EditState LimitEditChange(const std::string& previous, const std::string& current, int selStart, int selEnd,
                          const EditLimits& limits, bool backspaceHeld, bool initialising);
