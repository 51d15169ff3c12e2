#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

#include "platform/host_path.h"
#include "platform/text_encoding.h"
#include "support/test_support.h"

using testsupport::ScopedWorkDir;
using testsupport::Sjis;

TEST(SplitPath, SeparatorsButNotTrailBytes) {
  bool absolute = false;
  auto parts = plat::SplitPath("\\data\\\x95\x5C\\x.dat", &absolute);
  EXPECT_TRUE(absolute);
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(parts[1], "\x95\x5C");

  parts = plat::SplitPath("a/b\\\\c", &absolute);
  EXPECT_FALSE(absolute);
  EXPECT_EQ(parts, (std::vector<std::string>{"a", "b", "c"}));

  plat::SplitPath("C:\\x", &absolute);
  EXPECT_TRUE(absolute);
}

TEST(HostPath, MatchesFoldersAndFilesWithoutRegardToCase) {
  ScopedWorkDir dir;
  dir.WriteFile("bmp/title.bmp", "img");
  dir.WriteFile("Data/Stg4/Stage.stg4_000", "stage");

  EXPECT_EQ(plat::HostPath("bmp\\Title.BMP"), "bmp/title.bmp");
  EXPECT_EQ(plat::HostPath("BMP\\TITLE.bmp"), "bmp/title.bmp");
  EXPECT_EQ(plat::HostPath("data\\stg4\\stage.STG4_000"), "Data/Stg4/Stage.stg4_000");
  EXPECT_TRUE(plat::PathExists("bmp\\Title.BMP"));
  EXPECT_TRUE(plat::IsDirectory("DATA\\stg4"));
  EXPECT_FALSE(plat::IsDirectory("bmp\\title.bmp"));
  // A missing file keeps its own name, so it can be created.
  EXPECT_EQ(plat::HostPath("bmp\\New.bmp"), "bmp/New.bmp");
  EXPECT_EQ(plat::HostPath("missing\\Sub\\f"), "missing/Sub/f");

  FILE* f = plat::OpenFile("BMP\\TITLE.BMP", "rb");
  ASSERT_NE(f, nullptr);
  char buf[4] = {};
  EXPECT_EQ(fread(buf, 1, 3, f), 3u);
  fclose(f);
  EXPECT_STREQ(buf, "img");
}

TEST(HostPath, JapaneseNamesAndTrailByteFolders) {
  ScopedWorkDir dir;
  // "表示" (0x95 0x5C 0x8E 0xA6) has 0x5C as a trail byte; on disk in UTF-8.
  dir.WriteFile("表示/ステージ.stg4", "x");
  std::string sjisPath = Sjis("表示") + "\\" + Sjis("ステージ") + ".stg4";
  ASSERT_EQ(sjisPath.substr(0, 2), "\x95\x5C");
  EXPECT_EQ(plat::HostPath(sjisPath), "表示/ステージ.stg4");
  EXPECT_TRUE(plat::PathExists(sjisPath));

  auto names = plat::ListDirectory(Sjis("表示"));
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0], Sjis("ステージ") + ".stg4");
}

TEST(HostPath, AbsolutePathsStartAtTheRoot) {
  ScopedWorkDir dir;
  dir.WriteFile("a.txt", "1");
  std::string abs = plat::CurrentDirectory() + "\\A.TXT";
  EXPECT_EQ(plat::HostPath(abs), dir.Path() + "/a.txt");
}

TEST(HostPath, ARelativePathFromAFolderOfTheCallersMatchesThereAndAbsoluteOnesIgnoreIt) {
  ScopedWorkDir dir;
  dir.WriteFile("Data/Stg4/Stage.stg4_000", "stage");
  dir.WriteFile("top.txt", "1");
  const std::string base = dir.Path() + "/Data";
  EXPECT_EQ(plat::HostPathFrom(base, "stg4\\STAGE.stg4_000"), base + "/Stg4/Stage.stg4_000");
  EXPECT_EQ(plat::HostPathFrom(base, "stg4\\new.stg4_001"), base + "/Stg4/new.stg4_001");
  EXPECT_EQ(plat::HostPathFrom(base, "..\\TOP.TXT"), base + "/../top.txt");
  EXPECT_EQ(plat::HostPathFrom(base, plat::CurrentDirectory() + "\\TOP.txt"), dir.Path() + "/top.txt");
  EXPECT_EQ(plat::HostPathFrom(base, std::string(plat::WORKDIR_ROOT) + "\\top.TXT"), dir.Path() + "/top.txt");
}

TEST(WriteFileAtomic, ReplacesWholeOrNotAtAll) {
  ScopedWorkDir dir;
  dir.WriteFile("user_data/Option.dat", "old");
  EXPECT_TRUE(plat::WriteFileAtomic("user_data\\Option.dat", "new bytes", 9));
  EXPECT_EQ(dir.ReadFile("user_data/Option.dat"), "new bytes");
  // The folder does not exist: nothing is written and the call says so.
  EXPECT_FALSE(plat::WriteFileAtomic("nofolder\\x.dat", "x", 1));
  EXPECT_FALSE(dir.Exists("nofolder"));
  // No temporary file is left beside the target.
  EXPECT_EQ(plat::ListDirectory("user_data").size(), 1u);
}

TEST(TextEncoding, RoundTripsAndMarksBadBytes) {
  bool ok = false;
  EXPECT_EQ(plat::Cp932ToUtf8(Sjis("エラー"), &ok), "エラー");
  EXPECT_TRUE(ok);
  EXPECT_EQ(Sjis("エラー"), "\x83\x47\x83\x89\x81\x5B");
  // A lone lead byte at the end does not decode; it is marked, not dropped silently.
  EXPECT_EQ(plat::Cp932ToUtf8("a\x82", &ok), "a\xEF\xBF\xBD");
  EXPECT_FALSE(ok);
  // Characters of the Windows table that plain Shift-JIS lacks ("①", "～").
  EXPECT_EQ(plat::Cp932ToUtf8("\x87\x40"), "①");
  EXPECT_EQ(plat::Utf8ToCp932("～"), "\x81\x60");
  EXPECT_EQ(plat::Cp932ToUtf32("A\x82\xA0"), U"Aあ");
}

TEST(TextEncoding, OneHandlePerDirectionAndThreadWithNothingCarriedOver) {
  // A fresh thread: it opens its own handles, once each.
  std::thread([] {
    EXPECT_EQ(plat::ConversionHandlesOpened(), 0u);
    for (int i = 0; i < 50; ++i) {
      // A text that ends inside a double-byte character, then a whole one:
      // the cut lead byte must not join the next text.
      EXPECT_EQ(plat::Cp932ToUtf8("a\x82"), "a\xEF\xBF\xBD");
      EXPECT_EQ(plat::Cp932ToUtf8("\xB1" + Sjis("エラー")), "ｱエラー");  // not 0x82 0xB1, "こ"
      EXPECT_EQ(plat::Utf8ToCp932("é"), "?");
      EXPECT_EQ(plat::Utf8ToCp932("ゲーム"), Sjis("ゲーム"));
      EXPECT_EQ(plat::Cp932ToUtf32("A\x82\xA0"), U"Aあ");
    }
    EXPECT_EQ(plat::ConversionHandlesOpened(), 3u);
  }).join();
}
