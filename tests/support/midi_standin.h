#pragma once
// A stand-in for the MIDI players while they are built elsewhere: cMidiSet's
// calls from the music manager are recorded, and Play makes a player when
// the path's extension is exactly "mid" and the file exists, as the real one
// opens only such files.
#include <string>
#include <vector>

namespace testsupport {

// "stopall <pause>" and "play <path> <loop>" in the order they came; taking
// them empties the record.
std::vector<std::string> TakeMidiCalls();
// Players deleted since the program started.
int MidiPlayersDeleted();

}  // namespace testsupport
