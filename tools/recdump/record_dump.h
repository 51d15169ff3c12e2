#pragma once
// Record files as text: the version word, then each record segment with its
// numeric blocks (values in file order, typed by the block widths that the
// record class registers for the file's version) and its strings, then the
// class's tail (lists, raw values), nested by indentation. For fixtures and
// debugging; recdump prints it.
#include <string>
#include <vector>

// The kind of record file a path names: its file name without the folder,
// matched without regard to case against the known kinds ("System.dat",
// "Anime.dat", ...; stage files, named *.stg4 or *.stg4_NNN, are the kind
// "*.stg4"); "" when none matches.
std::string RecordKindOf(const std::string& path);

// The kinds the dump knows.
std::vector<std::string> RecordKinds();

// The text of a record file's bytes read as `kind` (a kind, or a file name
// as RecordKindOf takes it). An unknown kind, a file
// that ends early or a count that the rest cannot hold is said in the text,
// and the bytes that were not read follow as hex.
std::string DumpRecordBytes(const std::string& bytes, const std::string& kind);
