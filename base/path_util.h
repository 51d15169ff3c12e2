#pragma once
// Path helpers over the program's own paths: Shift-JIS bytes with '\' (or
// '/') separators, where a '\' that is the trail byte of a double-byte
// character is part of that character ('/' never is one). All work on
// strings, so no length limit applies.
#include <string>

// Makes an absolute path relative to the working directory, in place
// ("\game\data\x.dat" from "\game" gives ".\data\x.dat"). Folder names
// compare exactly, as the host compares them ("\Game" and "\game" are two
// folders). 1 on success, also when the path was relative already; 0 when
// the working directory is unknown.
int MakeRelativePath(std::string& path);
inline int MakeRelativePathString(std::string& path) { return MakeRelativePath(path); }

// Makes a relative path absolute against the working directory, resolving
// "." and ".." parts. When the working directory has no exact Shift-JIS name
// the result starts at plat::WORKDIR_ROOT, which every file function resolves
// back to the same host folder. 1 on success; 0 when the working directory
// is unknown.
int MakeAbsolutePath(std::string& path);

// 1 when the path does not start at a root ("\", "/" or a drive "C:").
int IsRelativePath(const std::string& path);

// Keeps only the part after the last separator ('\' or '/').
void StripDirectory(std::string& path);

// out = path with the text after its last "." replaced by `ext`, or with the
// "." and what follows removed when ext is null; 1. Without any "." out is a
// copy of path and 0 is returned.
int ReplaceExtension(std::string& out, const std::string& path, const char* ext);

// Removes the last "." and what follows; 0 (unchanged) when there is no ".".
int StripExtension(std::string& path);
inline int StripExtensionString(std::string& path) { return StripExtension(path); }

// out = the text after the last "."; 0 (out unchanged) when there is none.
int GetExtension(std::string& out, const std::string& path);

// out = path with "_" + digit a + digit b inserted before the last "."
// (name.ext becomes name_ab.ext); 0 when the path has no ".".
int MakeNumberedName(std::string& out, const std::string& path, int a, int b);

// The newest numbered version of a project file: replaces the extension of
// path by ext and looks for "<that>_999" down to "_000"; out = the first that
// exists, 1. 0 (out unchanged) when none exists.
int FindNewestVersion(std::string& out, const std::string& path, const char* ext);
inline int FindNewestVersionString(std::string& out, const std::string& path, const char* ext) {
  return FindNewestVersion(out, path, ext);
}
