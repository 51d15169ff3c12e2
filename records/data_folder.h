#pragma once
// The project folder data\ and the working folders, prepared by start-up
// before any other file work.

// Start-up's first file work (owner: the main window). 1 when data\ exists,
// or was missing and has just been copied from default\ after the player
// answered Yes; 0 when default\ is missing (no question), on No, or when the
// copy failed (the partial data\ is removed again). Shows no error itself.
int PrepareDataFolder(void* owner);

// The 22 working folders, created after PrepareDataFolder at every start;
// folders that exist stay untouched and failures are ignored.
constexpr int WORK_FOLDER_COUNT = 22;
extern const char* const WorkFolders[WORK_FOLDER_COUNT];
void CreateWorkFolders();
