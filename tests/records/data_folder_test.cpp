// The path table, the creation of data\ from default\ and the working folders.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "base/boxes.h"
#include "platform/host_path.h"
#include "records/data_folder.h"
#include "records/path_table.h"
#include "support/test_support.h"

using testsupport::ScopedWorkDir;
using testsupport::ScriptedBoxes;
using testsupport::Sjis;

TEST(PathTable, EntriesThatOtherFilesCiteByNumber) {
  struct Case {
    int entry;
    const char* path;
  };
  const Case cases[] = {
      {0, "data\\"},
      {1, "default\\"},
      {7, "data\\CommonPalette.cplt4"},
      {11, "data\\stg4\\Default.stg4_***"},
      {13, "data\\WorldMap.dat"},
      {15, "data\\database\\AnimeSet.dat"},
      {33, "data\\database\\Bgm.dat"},
      {35, "data\\System.dat"},
      {37, "data\\stg4\\c"},
      {41, "user_data\\story\\Story"},
      {42, "user_data\\challenge\\Challenge.dat"},
      {43, "user_data\\Option.dat"},
      {45, "user_data\\KeyConfig.dat"},
      {46, "user_data\\Boot.dat"},
      {47, "user_data\\Window.dat"},
  };
  for (const Case& c : cases) EXPECT_STREQ(PathTable[c.entry], c.path) << c.entry;

  // 15 to 34: each database file of the project, then the same under default\.
  for (int i = 15; i < 35; i += 2) {
    std::string project = PathTable[i];
    ASSERT_EQ(project.rfind("data\\database\\", 0), 0u) << i;
    EXPECT_EQ(std::string(PathTable[i + 1]), "default" + project.substr(4)) << i;
  }

  EXPECT_STREQ(ExtTable[1], "stg4");
  EXPECT_STREQ(ExtTable[3], "rkg");
  EXPECT_STREQ(RankingFolder(0), "user_data\\story\\");
  EXPECT_STREQ(RankingFolder(1), "user_data\\challenge\\");
  EXPECT_STREQ(RankingFolder(2), "user_data\\free\\");
  EXPECT_EQ(RankingFolder(3), nullptr);
  EXPECT_EQ(RankingFolder(-1), nullptr);
}

namespace {

class DataFolder : public ::testing::Test {
 protected:
  void MakeDefault() {
    m_dir.WriteFile("default/System.dat", "system");
    m_dir.WriteFile("default/database/Anime.dat", "anime");
    m_dir.WriteFile("default/stg4/a.stg4_000", "stage");
  }
  ScopedWorkDir m_dir;
};

}  // namespace

TEST_F(DataFolder, AnExistingDataFolderIsUsedWithoutAQuestion) {
  ASSERT_TRUE(plat::CreateDirectory("data"));
  ScriptedBoxes boxes({IDNO});
  EXPECT_EQ(PrepareDataFolder(nullptr), 1);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DataFolder, WithoutADefaultFolderNothingIsAsked) {
  ScriptedBoxes boxes({IDYES});
  EXPECT_EQ(PrepareDataFolder(nullptr), 0);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_FALSE(m_dir.Exists("data"));
}

TEST_F(DataFolder, TheQuestionAnsweredNo) {
  MakeDefault();
  ScriptedBoxes boxes({IDNO});
  EXPECT_EQ(PrepareDataFolder(nullptr), 0);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            Sjis("データが存在しません！デフォルトデータを作成しますか？\n"));
  EXPECT_EQ(boxes.shown[0].caption, Sjis("デフォルトデータ作成の確認"));
  EXPECT_EQ(boxes.shown[0].buttons, plat::BoxButtons::YesNo);
  EXPECT_FALSE(m_dir.Exists("data"));
}

TEST_F(DataFolder, TheQuestionAnsweredYesCopiesTheWholeTree) {
  MakeDefault();
  ScriptedBoxes boxes({IDYES});
  EXPECT_EQ(PrepareDataFolder(nullptr), 1);
  EXPECT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(m_dir.ReadFile("data/System.dat"), "system");
  EXPECT_EQ(m_dir.ReadFile("data/database/Anime.dat"), "anime");
  EXPECT_EQ(m_dir.ReadFile("data/stg4/a.stg4_000"), "stage");
  EXPECT_EQ(m_dir.ReadFile("default/System.dat"), "system");
}

TEST(DataFolderCopy, WorksInAFolderOfAnyName) {
  for (const char* folder : {"josé", "ゲーム", "a b", "ゲーム/josé"}) {
    SCOPED_TRACE(folder);
    ScopedWorkDir dir(folder);
    dir.WriteFile("default/System.dat", "system");
    dir.WriteFile("default/stg4/a.stg4_000", "stage");
    ScriptedBoxes boxes({IDYES});
    EXPECT_EQ(PrepareDataFolder(nullptr), 1);
    EXPECT_EQ(dir.ReadFile("data/System.dat"), "system");
    EXPECT_EQ(dir.ReadFile("data/stg4/a.stg4_000"), "stage");
  }
}

TEST_F(DataFolder, ACopyThatFailsHalfWayLeavesNoDataFolder) {
  MakeDefault();
  // An entry that cannot be copied: a link to nothing.
  ASSERT_EQ(::symlink("nowhere", (m_dir.Path() + "/default/stg4/broken").c_str()), 0);
  // The copy itself stops with part of the tree made...
  ASSERT_FALSE(plat::CopyTree("default", "probe"));
  ASSERT_TRUE(m_dir.Exists("probe"));

  ScriptedBoxes boxes({IDYES});
  EXPECT_EQ(PrepareDataFolder(nullptr), 0);
  EXPECT_EQ(boxes.shown.size(), 1u);
  // ...and what it made of data\ is gone again.
  EXPECT_FALSE(m_dir.Exists("data"));
  EXPECT_EQ(m_dir.ReadFile("default/System.dat"), "system");
}

TEST_F(DataFolder, AFileNamedDataIsNotDeleted) {
  MakeDefault();
  m_dir.WriteFile("data", "the player's own file");
  ScriptedBoxes boxes({IDYES});
  EXPECT_EQ(PrepareDataFolder(nullptr), 0);
  EXPECT_EQ(m_dir.ReadFile("data"), "the player's own file");
}

TEST_F(DataFolder, WorkingFoldersAreMadeAndExistingOnesKept) {
  m_dir.WriteFile("data/System.dat", "system");
  m_dir.WriteFile("bmp/hbt/hbt0.dat", "table");
  CreateWorkFolders();
  for (const char* folder : WorkFolders) EXPECT_TRUE(plat::IsDirectory(folder)) << folder;
  EXPECT_STREQ(WorkFolders[0], "user_data");
  EXPECT_STREQ(WorkFolders[WORK_FOLDER_COUNT - 1], "bgm");
  EXPECT_EQ(m_dir.ReadFile("data/System.dat"), "system");
  EXPECT_EQ(m_dir.ReadFile("bmp/hbt/hbt0.dat"), "table");
  EXPECT_TRUE(plat::IsDirectory("user_data\\rpl4"));
  EXPECT_TRUE(plat::IsDirectory("data\\stg4\\old_ver"));
}
