#pragma once
// Scripted runs of the whole program, for the roads and the soak run.
// TAVRIK_SCRIPT names a script that replaces the keyboard and joysticks;
// TAVRIK_TRACE names a file that gets one line per event a script can wait
// for (scene, stage state, box, dialog, shot, file written under
// user_data\). Unset, nothing here changes what the program does.
//
// A script is one step a line ('#' starts a comment):
//   hold N KEY...     the keys held for N input polls (N >= 1)
//   wait N            N input polls with no key held
//   type TEXT         TEXT typed into the next dialog, then Return
//   answer N          the next box answered N (BOX_OK 1, BOX_CANCEL 2,
//                     BOX_YES 6, BOX_NO 7)
//   expect N TEXT     a trace line containing TEXT, written since the last
//                     one an expect found, within N input polls
//   shot NAME         the next presented frame saved as NAME (PNG); the
//                     trace gets "shown NAME" as it is shown, then
//                     "shot NAME.png" once it is saved
//   maybe type TEXT, maybe answer N
//                     taken by a dialog or box that opens before a poll
//                     reaches them; passed over when none does
// A dialog or box takes the first of its kind from the current step on,
// over holds, waits and the other kind's maybe steps (those are left);
// a dialog with none is cancelled (Escape), a box takes its default.
// Keys are virtual-key codes (decimal, or 0x hex) or a single letter or
// digit standing for its own code. Escape (0x1B) held by a hold step is
// also pressed in the script's key window, as a player's key press is, so
// the program closes as it would then. A step that waits (type, answer,
// expect) and is not met within its polls (600 for type and answer) ends
// the program with exit code 3, naming the step on stderr and in the trace.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/messages.h"

namespace plat {

enum class ScriptOp { Hold, Wait, Type, Answer, Expect, Shot };

struct ScriptStep {
  ScriptOp op = ScriptOp::Wait;
  int line = 0;               // in the script, from 1
  int polls = 0;              // hold, wait: polls; expect, type, answer: the bound
  std::vector<int> keys;      // hold
  int answer = 0;             // answer
  std::string text;           // type, expect: the text; shot: the file
  bool optional = false;      // maybe type, maybe answer
};

// Reads a script; false with `error` naming the line when it does not parse.
bool ParseScript(const std::string& text, std::vector<ScriptStep>& steps, std::string& error);

// At the program's start, on the main thread: opens the trace and starts
// the script named in the environment. False (the reason on stderr) when a
// named script cannot be read or parsed; the caller then exits with code 3.
bool StartScriptRun();
// At the end: the keys released, the hooks taken away, the trace closed.
void StopScriptRun();
// A script drives the program: frames are not paced.
bool ScriptRunning();
// Input polls the script has run so far: a scripted run's clock, the same
// for the same script whatever the machine's speed.
uint32_t ScriptPolls();
// The window a scripted Escape is pressed in, as a key of the keyboard is
// (main thread, once it exists). Without one a scripted Escape is only held.
void SetScriptKeyWindow(WindowHandle window);

// A line in the trace file (UTF-8 text, no newline needed); nothing when
// no trace is named. Any thread.
bool TraceOn();
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Once per input poll of the game (game thread), before the keys are read:
// the script moves on by one poll.
void ScriptPoll();

// An RGB image (0x00RRGGBB, top row first) as a PNG file; false when it
// cannot be written.
bool WritePngFile(const std::string& hostPath, const uint32_t* pixels, int width, int height);

}  // namespace plat
