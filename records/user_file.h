#pragma once
// Writing the player's own files under user_data\ so that neither a kill nor
// a full disk loses a save.
#include <string>

class cRecord;

// Makes the file's missing folders, removes the temporary files that dead
// processes left beside it, and replaces the file atomically with the record.
// False, with a line in the report log, when it cannot be written; the old
// file then stays as it was.
bool SaveUserRecord(cRecord& record, const std::string& path);

// Reads a player's file strictly into `record` (a fresh one, which the
// caller takes only on success): 1 when it read whole, 0 when it does not
// exist or cannot be read as a file, -1 when it is damaged (cut short, or a
// segment's counts differ from the record's layout), with a line in the
// report log.
int LoadUserRecord(cRecord& record, const std::string& path);
