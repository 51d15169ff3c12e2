#include <gtest/gtest.h>

#include "base/path_util.h"
#include "platform/host_path.h"
#include "support/test_support.h"

using testsupport::ScopedWorkDir;

// "表" is 0x95 0x5C and "ソ" 0x83 0x5C in Shift-JIS: their trail byte is '\'.
#define HYOU "\x95\x5C"
#define SO "\x83\x5C"

TEST(StripDirectory, KeepsTheNameAfterTheLastRealSeparator) {
  const struct { const char* in; const char* out; } cases[] = {
      {"data\\stg4\\stage.stg4", "stage.stg4"},
      {"stage.stg4", "stage.stg4"},
      {"data\\", ""},
      {"\\root", "root"},
      // The folder name ends in a character whose trail byte is 0x5C: the
      // separator after it is the last one, not that byte.
      {"data\\" HYOU "\\file.dat", "file.dat"},
      {"data\\" SO HYOU, SO HYOU},
      {HYOU, HYOU},
      // A lead-range byte that is itself a trail byte does not hide the '\'.
      {"\x81\x95\\x", "x"},
      // '/' separates as '\' does (it is never a trail byte).
      {"stages/a.stg4", "a.stg4"},
      {"data\\stg4/a.stg4", "a.stg4"},
      {"data/stg4\\a.stg4", "a.stg4"},
      {"data/", ""},
      {"data/" HYOU, HYOU},
  };
  for (const auto& c : cases) {
    std::string s = c.in;
    StripDirectory(s);
    EXPECT_EQ(s, c.out) << c.in;
  }
}

TEST(Extensions, ReplaceStripGetAndNumber) {
  const struct {
    const char* in;
    const char* ext;  // null: strip
    int replaced;
    const char* replacedText;
    int got;
    const char* extension;
    const char* numbered;  // "" when MakeNumberedName refuses
  } cases[] = {
      {"stage.stg4", "dat", 1, "stage.dat", 1, "stg4", "stage_12.stg4"},
      {"stage.stg4_005", "stg4", 1, "stage.stg4", 1, "stg4_005", "stage_12.stg4_005"},
      {"a.b.c", nullptr, 1, "a.b", 1, "c", "a.b_12.c"},
      {"noext", "dat", 0, "noext", 0, "", ""},
      {"dir.v2\\file", "x", 1, "dir.x", 1, "v2\\file", "dir_12.v2\\file"},
      {"" SO ".bmp", "png", 1, SO ".png", 1, "bmp", SO "_12.bmp"},
  };
  for (const auto& c : cases) {
    std::string out = "unchanged";
    EXPECT_EQ(ReplaceExtension(out, c.in, c.ext), c.replaced) << c.in;
    EXPECT_EQ(out, c.replacedText) << c.in;

    std::string ext = "";
    EXPECT_EQ(GetExtension(ext, c.in), c.got) << c.in;
    EXPECT_EQ(ext, c.extension) << c.in;

    std::string numbered = "";
    EXPECT_EQ(MakeNumberedName(numbered, c.in, 1, 2), c.numbered[0] ? 1 : 0) << c.in;
    EXPECT_EQ(numbered, c.numbered) << c.in;

    std::string stripped = c.in;
    EXPECT_EQ(StripExtension(stripped), c.got) << c.in;
  }
}

TEST(RelativeAndAbsolutePaths, FollowTheWorkingDirectory) {
  ScopedWorkDir dir;
  std::string cwd = plat::CurrentDirectory();
  ASSERT_FALSE(cwd.empty());
  ASSERT_EQ(cwd[0], '\\');

  const struct { std::string in, absolute, relative; } cases[] = {
      {"data\\x.dat", cwd + "\\data\\x.dat", ".\\data\\x.dat"},
      {".\\a\\..\\b.txt", cwd + "\\b.txt", ".\\b.txt"},
      {"..\\up.txt", cwd.substr(0, cwd.rfind('\\')) + "\\up.txt", "..\\up.txt"},
  };
  for (const auto& c : cases) {
    std::string s = c.in;
    EXPECT_EQ(MakeAbsolutePath(s), 1);
    EXPECT_EQ(s, c.absolute);
    EXPECT_EQ(MakeRelativePath(s), 1);
    EXPECT_EQ(s, c.relative);
  }
  // A relative path stays as it is; an absolute one stays absolute.
  std::string rel = "data\\x";
  EXPECT_EQ(MakeRelativePath(rel), 1);
  EXPECT_EQ(rel, "data\\x");
  std::string abs = "\\tmp\\x";
  EXPECT_EQ(MakeAbsolutePath(abs), 1);
  EXPECT_EQ(abs, "\\tmp\\x");
}

TEST(FindNewestVersion, TakesTheHighestNumberPresent) {
  ScopedWorkDir dir;
  dir.WriteFile("data/stg4/stage.stg4_005", "a");
  dir.WriteFile("data/stg4/stage.stg4_012", "b");
  dir.WriteFile("data/stg4/other.stg4_999", "c");
  dir.WriteFile("data/stg4/Upper.STG4_100", "d");

  const struct { const char* in; int found; const char* out; } cases[] = {
      {"data\\stg4\\stage.stg4", 1, "data\\stg4\\stage.stg4_012"},
      // A name that carries a number is reduced to its base first.
      {"data\\stg4\\stage.stg4_005", 1, "data\\stg4\\stage.stg4_012"},
      {"data\\stg4\\stage.dat", 1, "data\\stg4\\stage.stg4_012"},
      {"DATA\\STG4\\upper.stg4", 1, "DATA\\STG4\\upper.stg4_100"},
      // As typed on a command line.
      {"data/stg4/stage.stg4", 1, "data/stg4/stage.stg4_012"},
      {"data\\stg4/stage.dat", 1, "data\\stg4/stage.stg4_012"},
      {"data\\stg4\\missing.stg4", 0, "kept"},
      {"nowhere\\stage.stg4", 0, "kept"},
  };
  for (const auto& c : cases) {
    std::string out = "kept";
    EXPECT_EQ(FindNewestVersion(out, c.in, "stg4"), c.found) << c.in;
    EXPECT_EQ(out, c.out) << c.in;
  }
}

namespace {
// Working directories whose host names have no Shift-JIS form ("é"), have
// one ("ゲーム"), or hold a blank.
const char* const kOddFolders[] = {"josé", "ゲーム", "a b", "ゲーム/josé"};
}  // namespace

TEST(RelativeAndAbsolutePaths, NameTheSameHostFilesInAFolderOfAnyName) {
  for (const char* folder : kOddFolders) {
    SCOPED_TRACE(folder);
    ScopedWorkDir dir(folder);
    dir.WriteFile("data/x.dat", "X");
    dir.WriteFile("../up.txt", "U");

    const struct { const char* in; const char* content; const char* relative; } cases[] = {
        {"data\\x.dat", "X", ".\\data\\x.dat"},
        {"data/x.dat", "X", ".\\data\\x.dat"},
        {".\\a\\..\\data\\x.dat", "X", ".\\data\\x.dat"},
        {"..\\up.txt", "U", "..\\up.txt"},
    };
    for (const auto& c : cases) {
      std::string s = c.in;
      ASSERT_EQ(MakeAbsolutePath(s), 1) << c.in;
      EXPECT_EQ(IsRelativePath(s), 0) << s;
      std::string content;
      EXPECT_TRUE(plat::ReadWholeFile(s, content)) << s;
      EXPECT_EQ(content, c.content) << s;
      EXPECT_EQ(MakeRelativePath(s), 1) << c.in;
      EXPECT_EQ(s, c.relative) << c.in;
    }
    // A file made through an absolute path lands in the working directory.
    std::string made = "new.txt";
    MakeAbsolutePath(made);
    EXPECT_TRUE(plat::WriteFileAtomic(made, "N", 1));
    EXPECT_EQ(dir.ReadFile("new.txt"), "N");
  }
}

TEST(RelativeAndAbsolutePaths, FolderNamesCompareAsTheHostComparesThem) {
  ScopedWorkDir dir("Game");
  dir.WriteFile("../game/x", "other folder");
  dir.WriteFile("../Only/y", "");
  std::string cwd = plat::CurrentDirectory();
  ASSERT_EQ(cwd.substr(cwd.size() - 5), "\\Game");
  const std::string parent = cwd.substr(0, cwd.size() - 5);

  const struct { std::string in, relative; } cases[] = {
      {cwd + "\\x", ".\\x"},
      // "game" beside "Game" is another folder.
      {parent + "\\game\\x", "..\\game\\x"},
      // A name that does not exist as written opens the folder of the other
      // case, so it is that folder.
      {parent + "\\GAME\\x", ".\\x"},
      // The parts below keep the names as written.
      {parent + "\\only\\y", "..\\only\\y"},
  };
  for (const auto& c : cases) {
    std::string s = c.in;
    EXPECT_EQ(MakeRelativePath(s), 1) << c.in;
    EXPECT_EQ(s, c.relative) << c.in;
  }
}
