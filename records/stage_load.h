#pragma once
// Loading a stage file into Stage: the one way a stage enters the program.
// Every screen that starts a stage (world map, stage select, the next area
// after a clear, the stage-file dialog, the start stage of the command
// line) calls LoadStage on the game thread or, at start-up and for the
// dialog, on the main thread.
#include <string>

#include "records/stage.h"

// Finds the file (with bNumbered non-zero: `name` with its extension made
// "stg4" and the highest suffix _999 .. _000 that exists; else `name` as it
// is), reads it once into memory and checks its trailer there, loads those
// bytes on thLoad while the calling thread keeps serving its messages, refuses a stage without a hero, then puts it into
// Stage and its settings into `target` (StageCopy; may be null), whose
// palettes and placements become empty. 1 on success.
//
// 0 on any failure, and then Stage and the target are as they were: no
// numbered file (no message), a damaged file (message, close request), a
// file that cannot be read whole (message; the program goes on), no hero
// (message, close request), or a quit message to the calling thread
// (passed on to the caller's own loop; the worker is joined).
int LoadStage(const char* name, int bNumbered, cEdStage* target);

// A stage file's bytes (read once by LoadStage) and the stage they load into.
struct STAGELOAD {
  std::string strBytes;
  cEdStage* pStage = nullptr;
};

// The body of thLoad: loads the bytes of a STAGELOAD into its stage (its
// bytes are taken) and sets the stage's m_bLoaded when they read whole.
unsigned LoadStageWorker(void* load);

// 1 when the file may be read (also when it does not open: the load reports
// that); 0 when a file of version 174 or later does not end in the trailer
// word, or is too short to hold one: then the damage message is shown and
// the program is asked to close.
int CheckStageFile(const char* path);
