#pragma once
// Files and folders named by the system's own paths: Shift-JIS bytes with '\'
// separators (a 0x5C that is the trail byte of a double-byte character is part
// of that character). Each part is converted to UTF-8 and matched against the
// folder's listing without regard to ASCII case, as project files expect.
#include <cstdio>
#include <string>
#include <vector>

namespace plat {

// 1 when p[0], p[1] form a Shift-JIS double-byte character: a lead byte
// 0x81-0x9F or 0xE0-0xFC followed by a trail byte 0x40-0x7E or 0x80-0xFC.
bool IsSjisPair(const char* p);

// Splits a Shift-JIS path at '\' and '/' (never inside a double-byte character).
// Empty parts are dropped. `absolute` tells whether it began at the root
// ('\', '/', or a drive such as "C:\", whose letter is ignored here).
std::vector<std::string> SplitPath(const std::string& sjisPath, bool* absolute = nullptr);

// The host path (UTF-8, '/') for a Shift-JIS path. Parts that exist on disk
// under another ASCII case resolve to the name on disk; parts that do not
// exist are converted as they are, so the result also names files to create.
// A path that starts at WORKDIR_ROOT starts at the host working directory.
std::string HostPath(const std::string& sjisPath);
// The same with a relative path taken from `hostBase` (a host folder; empty:
// the working directory). The file dialog resolves what is typed in it so.
std::string HostPathFrom(const std::string& hostBase, const std::string& sjisPath);

// The root that stands for the working directory in an absolute path, used
// when the host names of the working directory and the folders above it have
// no exact Shift-JIS form ("/home/josé/game"): "\\<wd>\data\x.dat" is
// data/x.dat in the working directory, "\\<wd>\..\x" the x beside it.
constexpr const char WORKDIR_ROOT[] = "\\\\<wd>";  // the text \\<wd>
// True when the path starts at WORKDIR_ROOT; `rest` is where the parts below
// it begin.
bool StartsAtWorkDir(const std::string& sjisPath, size_t* rest = nullptr);

// The working directory as a Shift-JIS path with '\' separators
// ("\home\me\game") when that names it exactly; otherwise WORKDIR_ROOT.
// Empty when the working directory cannot be read.
std::string CurrentDirectory();
// The working directory as the host names it (UTF-8, '/'); empty when unknown.
std::string HostWorkingDirectory();
bool SetCurrentDirectory(const std::string& sjisPath);

bool PathExists(const std::string& sjisPath);   // a file or a folder
bool IsDirectory(const std::string& sjisPath);
bool CreateDirectory(const std::string& sjisPath);  // true also when it already exists

// The names in a folder, as Shift-JIS, without "." and "..". Empty when the
// folder cannot be read.
std::vector<std::string> ListDirectory(const std::string& sjisPath);

// fopen on the host path.
FILE* OpenFile(const std::string& sjisPath, const char* mode);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& sjisPath, std::string& out);

// Replaces a file atomically: writes a temporary file in the same folder,
// checks every write, flush and close, then renames it over the target.
// On any failure the old file is left as it was and false is returned.
bool WriteFileAtomic(const std::string& sjisPath, const void* data, size_t size);

// Removes the temporary files that WriteFileAtomic left beside this file in
// processes that have died (killed between writing and renaming); those of
// live processes stay. Returns the number removed.
int RemoveDeadTemps(const std::string& sjisPath);

// Deletes a file or a whole folder tree; true when nothing is left.
bool RemoveTree(const std::string& sjisPath);

// Copies a folder tree. False when anything failed; what was copied stays
// (the caller decides whether to remove it).
bool CopyTree(const std::string& sjisFrom, const std::string& sjisTo);

}  // namespace plat
