#pragma once
// What the main window's requests take from the parts of the program that
// serve them: the name-entry and file dialogs, the start of play from a
// stage file, the replay files and the live progress record's stage music.
// cRequestServices itself is the program's own answer; where a part is not
// built yet it stands in as noted. Tests put a recording object in its place.
// Called on the main thread, inside the handlers of WM_USER+1 to +4 and +6.
#include <cstdint>

#include "platform/messages.h"

// The size of the path buffers of the file requests, terminator included.
constexpr int REQUEST_PATH_SIZE = 260;

class cRequestServices {
 public:
  virtual ~cRequestServices() = default;

  // Creates the name-entry dialog (resource 102, parent MainWindow, the
  // owner lists), runs it modally and deletes it. False when it could not
  // be created (the caller reports that).
  virtual bool RunNameDialog();

  // The open-file dialog with `owner`, a path buffer, its start folder,
  // title, one filter pair (text, patterns) and default extension, single
  // selection. True when a file was chosen; its path is then in `path`.
  virtual bool OpenFile(plat::WindowHandle owner, char path[REQUEST_PATH_SIZE], const char* folder,
                        const char* title, const char* filterText, const char* filterPatterns,
                        const char* defaultExt);

  // StartFromStageFile (records/new_run.h): prepares a free run of the stage
  // file; with numbered 1 the newest numbered file of that name is loaded.
  // False when it cannot be loaded (the loader has said why).
  virtual bool StartFromStageFile(const char* path, int numbered);

  // cReplayInput::LoadFile of Replay (path, Stage, StageCopy, PlayData); the
  // path then goes into the running stage record's file path. False when
  // the replay was refused (the load has shown why; nothing changed).
  virtual bool LoadReplay(const char* path);

  // ChooseReplayFileName (path buffer, the live progress record's stage
  // path): proposes a free name and runs the save dialog; true when the
  // player confirmed one.
  virtual bool ChooseReplayFileName(char path[REQUEST_PATH_SIZE]);

  // cReplayInput::SaveFile of Replay with ReplayStart (previous 0) or of
  // ReplayPrev with ReplayStartPrev (previous 1), with Stage and StageCopy.
  // False when the file was not written (the old one stays).
  virtual bool SaveReplay(int previous, const char* path);

  // The live progress record's current stage music number and its loop
  // flag (0 once, 1 for ever).
  virtual void SetStageBgm(int32_t number);
  virtual int32_t StageBgmLoop();
};

// The services the main window uses: the program's own unless a test set
// others (null gives the program's own back). The object must outlive its use.
cRequestServices& RequestServices();
void SetRequestServices(cRequestServices* services);
