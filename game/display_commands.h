#pragma once
// The bodies of the commands that freeze play or show something: game wait,
// message, warp, effects, pictures and the screen colour. Flows reach them
// through their action executors (action_commands.h), item lists through
// their item executors (item_commands.h); both pass the command record and
// the character that runs it (the hero for items).
//
// Game thread, inside a logic step of the running stage (StageData()).
// Times in the records are tenths of a second, shown for 6 frames each;
// every such product saturates. A command that freezes play runs the stage's
// pause loop on thPause and returns when it has ended; the entry it showed
// for the wait is then removed again, unless the stage drawing already did.
#include <cstdint>

#include "game/command_params.h"
#include "game/display_position.h"
#include "records/command.h"

class cCharaBase;

// p0 tenths: a silent timed entry in m_Messages and a wait of p0 × 6 frames.
void CmdGameWait(cCharaBase& chara, cEdCommand& command);

// A text window from the command's text (p0..p17, see the message window):
// by ID (p12, p13) it rewrites or replaces the window of that ID in place,
// or closes it (p15). With p8 it stops the game: until a key (p6 0; the
// opening sound 11 unless bContinue, and keys count only after 10 frames
// unless bContinue) or for p7 tenths (p6 2), then the window goes. A window
// until the stage ends (p6 1) never waits. Nothing while the program closes.
void CmdMessage(cCharaBase& chara, cEdCommand& command, int bContinue);

// Moves the character by its move record: by direction and distance (in
// half blocks), next to its target, or to a point (relative, map cells, or
// a view point that then anchors it on the screen). A landing place outside
// the map or blocked keeps it where it was; an unnamed method or basis
// moves nothing.
void CmdWarp(cCharaBase& chara, cEdCommand& command);

// Effect p0 (0 clears every effect) at zoom p6 percent, placed by
// GetDisplayPosition (p1..p5); p7 freezes play for the sum of its frames.
// Nothing while the program closes.
void CmdPlayEffect(cCharaBase& chara, cEdCommand& command);
// Character effect p0 with run mode p1 and loop p2 on the character.
void CmdCharaEffect(cCharaBase& chara, cEdCommand& command);
// Screen effect p0 with run mode p1 and loop p2 on the stage; the 3D back
// end's stand-in back buffer goes off when no screen effect runs.
void CmdScreenEffect(cCharaBase& chara, cEdCommand& command);

// Picture p0 from its file into Off_Picture (p0 0 without an ID clears them
// all), zoomed p7 percent and placed by GetDisplayPosition (p1..p5); by ID
// (p12, p13) it replaces or closes (p0 0) the picture of that ID in place.
// With p10 it stops the game until a key (p8 0) or for p9 tenths (p8 2) and
// is removed afterwards; one until the stage ends (p8 1) never waits. A file
// that cannot be loaded shows "<file> 読み込み失敗！", writes the same line
// to the report log, asks the program to close and shows nothing. Nothing
// while the program closes.
void CmdShowPicture(cCharaBase& chara, cEdCommand& command);

// Hands the command to the stage's colour tone.
void CmdScreenColor(cCharaBase& chara, cEdCommand& command);
