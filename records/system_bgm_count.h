#pragma once
// The number of Bgm.dat records, against which System.dat's screen music
// numbers are checked. It stands in for the database's music table until the
// database is linked in; then it returns that table's size.

// Records of Bgm.dat (0 before the database is loaded).
int GetBgmCount();

// Sets the count that GetBgmCount returns (tests, and start-up until the
// database provides it).
void SetBgmCount(int count);
