#pragma once
// The fixed file paths of the project and of the user data, relative to the
// working directory (Shift-JIS, all plain ASCII), cited by entry number.
// Entries 15 to 34 alternate: a database file of the project, then the same
// file under default\. Some entries name files this program never opens;
// they keep their numbers.

constexpr int PATH_TABLE_SIZE = 48;
constexpr int EXT_TABLE_SIZE = 4;

extern const char* const PathTable[PATH_TABLE_SIZE];

// Extensions of the variable file kinds, without the dot: 0 "cplt4",
// 1 "stg4" (stage files), 2 "plt4", 3 "rkg" (ranking files).
extern const char* const ExtTable[EXT_TABLE_SIZE];

// The folder of the ranking files of a ranking kind (0 story, 1 challenge,
// 2 free: entries 38 to 40); nullptr for any other kind, which has none.
const char* RankingFolder(int kind);
