#pragma once
// The sample project: a small game written with the records' own Save and
// the sample's images, sounds and music. mkproject and the tests call it.
#include <string>

// Writes the sample into `folder` (a host path), which must be missing or an
// empty folder; the same bytes on every run. While it runs the working
// directory is that folder; afterwards the globals Database, SystemData and
// CommonPalette hold the sample's records (System.dat's save reads the music
// table, the stages' saves the common palette). False, with a
// line in `error`, when the folder is refused or a file could not be written.
bool WriteSampleProject(const std::string& folder, std::string& error);
