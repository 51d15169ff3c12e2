#pragma once
// The sample's project records (System.dat and the database) and its
// System.ini, filled with what the sample's files hold.
#include <string>

#include "records/database.h"
#include "records/system.h"

// Challenge stages of the sample (sample_stages.h writes their files).
constexpr int SAMPLE_CHALLENGE_STAGES = 2;

// A new database, then the sample's animation sets, animations, extra
// character sheet, sword type, effects, character and screen effects,
// pictures, sounds and music; every file it names is one of the sample's.
void FillSampleDatabase(cEdDatabase& db);

// A new project's settings, then the sample's title, challenge count, text
// title menu, system sounds, screen music, colour mode 0 and the story and
// challenge rankings of two categories (time left, clear time).
void FillSampleSystem(cEdSystem& sys);

// System.ini for the settings' key list: every key at its default except
// Direct3D (position 0) = 1 and WindowMode (position 1) = 1, one "key=value"
// line each, then "Exit"; every line ends with a line feed.
std::string SampleSystemIni(const cEdSystem& sys);
