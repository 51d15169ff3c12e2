// The sample project as the runtime reads it: the first start's copy of
// default\ to data\, System.dat, the database and its run tables, System.ini;
// the files its records name; the same bytes on every run. The common
// palette, world map and stages: sample_stages_test.cpp; the images, sounds
// and music: sample_media_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "base/boxes.h"
#include "records/data_folder.h"
#include "records/database.h"
#include "records/param_desc.h"
#include "records/path_table.h"
#include "records/system.h"
#include "records/system_ini.h"
#include "tests/tools/sample_fixture.h"
#include "tools/sample/sample_records.h"

namespace fs = std::filesystem;
using testsupport::ScriptedBoxes;

namespace {

// Every file of a folder tree by its path relative to the root.
std::map<std::string, std::string> TreeBytes(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    if (!e.is_regular_file()) continue;
    std::ifstream in(e.path(), std::ios::binary);
    files[fs::relative(e.path(), root).string()] = std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

// Every file name the records of the project hold, with the record that holds it.
std::vector<std::pair<std::string, std::string>> NamedFiles(const cEdDatabase& db, const cEdSystem& sys) {
  std::vector<std::pair<std::string, std::string>> names;
  for (int i = 0; i < db.m_vBmpCharaExc.Size(); ++i)
    names.push_back({"Bmp_CharaExc " + std::to_string(i), db.m_vBmpCharaExc[i].m_strFile});
  for (int i = 0; i < db.m_vSwordType.Size(); ++i) {
    names.push_back({"SwordType L " + std::to_string(i), db.m_vSwordType[i].m_strFileL});
    names.push_back({"SwordType R " + std::to_string(i), db.m_vSwordType[i].m_strFileR});
  }
  for (int i = 0; i < db.m_vEffect.Size(); ++i) names.push_back({"Effect " + std::to_string(i), db.m_vEffect[i].m_strFile});
  for (int i = 0; i < db.m_vPicture.Size(); ++i)
    names.push_back({"Picture " + std::to_string(i), db.m_vPicture[i].m_strFile});
  for (int i = 0; i < db.m_vSound.Size(); ++i) names.push_back({"Sound " + std::to_string(i), db.m_vSound[i].m_strFile});
  for (int i = 0; i < db.m_vBgm.Size(); ++i) names.push_back({"Bgm " + std::to_string(i), db.m_vBgm[i].m_strFile});
  for (int i = 0; i < sys.m_vSystemSounds.Size(); ++i)
    names.push_back({"system sound " + std::to_string(i), sys.m_vSystemSounds[i]});
  return names;
}

}  // namespace

TEST_F(SampleProject, TheRuntimeLoadsEveryRecordFileWithoutAReportLine) {
  ScriptedBoxes boxes({IDYES});  // the first start offers to copy default\ to data\ (yes)
  ASSERT_EQ(PrepareDataFolder(nullptr), 1);
  EXPECT_EQ(boxes.shown.size(), 1u);

  Database.Reset();
  ASSERT_TRUE(Database.LoadAll());
  Database.FillWorkingCopies();
  BuildDatabaseRunTables();
  EXPECT_EQ(AnimeStepTable.Size(), Database.m_vAnime.Size());
  EXPECT_EQ(CharaFxInstA.Size(), Database.m_vCharaEffect.Size());

  cEdSystem sys;
  ASSERT_EQ(sys.LoadFromFile(PathTable[35]), 1);
  EXPECT_EQ(sys.m_vScreenBgm, (cVector<int32_t>{1, 2, 1, 2}));  // every screen's music survives the load

  SYSTEMINI ini{};
  SetIniDefaults(ini, sys.m_vIniKeys);
  SYSTEMINI defaults = ini;
  ASSERT_EQ(ReadSystemIni(SYSTEM_INI_PATH, ini, sys.m_vIniKeys), 1);
  EXPECT_EQ(ini.nDirect3D, 1);
  EXPECT_EQ(ini.nWindowMode, 1);
  defaults.nDirect3D = 1;
  defaults.nWindowMode = 1;
  EXPECT_EQ(std::memcmp(&ini, &defaults, sizeof ini), 0) << "the other keys keep their defaults";
  EXPECT_EQ(Read("System.ini").back(), '\n');

  EXPECT_EQ(Report(), "");
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(SampleProject, EveryFileARecordNamesExistsAsNamed) {
  cEdDatabase db;
  db.ForEachFileTable([](auto& table, int file) {
    EXPECT_TRUE(LoadRecordFile(table, DatabaseFilePath(file, 1))) << DatabaseFilePath(file, 1);
    return true;
  });
  Database = db;  // System.dat's load keeps the music numbers that Bgm.dat holds
  cEdSystem sys;
  ASSERT_EQ(sys.LoadFromFile(PathTable[36]), 1);

  int named = 0;
  for (const auto& [holder, name] : NamedFiles(db, sys)) {
    if (name.empty()) continue;
    ++named;
    EXPECT_TRUE(fs::is_regular_file(HostName(name))) << holder << " names " << name;
  }
  EXPECT_EQ(named, 17 + 3 + 2 + 1 + 2 + 1 + 2);  // system sounds, sounds, music, sheet, sword, effect, pictures

  // Entry 0 of the tables where it stands for "none" names nothing.
  EXPECT_EQ(db.m_vSound[0].m_strFile, "");
  EXPECT_EQ(db.m_vBgm[0].m_strFile, "");
  EXPECT_EQ(db.m_vEffect[0].m_strFile, "");
  for (int32_t bgm : sys.m_vScreenBgm) {
    ASSERT_GT(bgm, 0);
    ASSERT_LT(bgm, db.m_vBgm.Size());
  }
  // Both music players are heard: one screen plays the MIDI file, another the OGG.
  std::vector<std::string> screenMusic;
  for (int32_t bgm : sys.m_vScreenBgm) screenMusic.push_back(db.m_vBgm[bgm].m_strFile);
  EXPECT_NE(std::find(screenMusic.begin(), screenMusic.end(), "bgm\\Title.mid"), screenMusic.end());
  EXPECT_NE(std::find(screenMusic.begin(), screenMusic.end(), "bgm\\Stage.ogg"), screenMusic.end());
}

TEST_F(SampleProject, SettingsAndEffectsStayInsideWhatTheRuntimeExpects) {
  cEdSystem sys;
  ASSERT_EQ(sys.LoadFromFile(PathTable[36]), 1);
  EXPECT_FALSE(sys.m_strTitle.empty());
  EXPECT_EQ(sys.m_nChallengeStages, SAMPLE_CHALLENGE_STAGES);
  EXPECT_EQ(sys.m_bGraphicTitleMenu, 0);
  EXPECT_EQ(sys.m_nColourMode, 0);

  cEdDatabase db;
  ASSERT_TRUE(LoadRecordFile(db.m_vCharaEffect, DatabaseFilePath(DBFILE_CHARAEFFECT, 1)));
  ASSERT_TRUE(LoadRecordFile(db.m_vScrEffect, DatabaseFilePath(DBFILE_SCREFFECT, 1)));
  auto check = [](const auto& table, const PARAMDESC (*desc)[EFFECT_PARAMS], int kinds, const char* what) {
    ASSERT_GE(table.Size(), 2) << what;
    EXPECT_EQ(table[0].m_nKind, 0) << what << " 0 is no effect";
    for (int i = 1; i < table.Size(); ++i) {
      const int kind = table[i].m_nKind;
      ASSERT_TRUE(kind >= 1 && kind < kinds) << what << " " << i;
      EXPECT_GE(table[i].m_anParam[0], 1) << what << " " << i << " runs at least a tenth of a second";
      for (int p = 0; p < EFFECT_PARAMS; ++p) {
        const PARAMDESC& d = desc[kind][p];
        if (d.strName.empty()) continue;
        EXPECT_GE(table[i].m_anParam[p], d.nMin) << what << " " << i << " parameter " << p;
        EXPECT_LE(table[i].m_anParam[p], d.nMax) << what << " " << i << " parameter " << p;
      }
    }
  };
  check(db.m_vCharaEffect, CharaEffectParams, CHARAEFFECT_KINDS, "CharaEffect");
  check(db.m_vScrEffect, ScrEffectParams, SCREFFECT_KINDS, "ScrEffect");
}

TEST(SampleProjectWriter, TwoRunsWriteTheSameBytes) {
  testsupport::ScopedWorkDir dir;
  std::string error;
  ASSERT_TRUE(WriteSampleProject("one", error)) << error;
  ASSERT_TRUE(WriteSampleProject("two", error)) << error;
  const auto one = TreeBytes(fs::path(dir.Path()) / "one");
  const auto two = TreeBytes(fs::path(dir.Path()) / "two");
  EXPECT_GE(one.size(), 85u);  // records, stages, System.ini, images, blend tables, sounds, music
  ASSERT_EQ(one.size(), two.size());
  for (const auto& [name, bytes] : one) {
    auto other = two.find(name);
    ASSERT_NE(other, two.end()) << name;
    EXPECT_TRUE(bytes == other->second) << name << " differs";
  }
}

TEST(SampleProjectWriter, RefusesAFolderThatIsNotEmptyAndLeavesItAlone) {
  testsupport::ScopedWorkDir dir;
  dir.WriteFile("busy/mine.txt", "keep");
  dir.WriteFile("plain", "a file");
  struct Case {
    const char* folder;
    const char* said;
  } cases[] = {{"busy", "not empty"}, {"plain", "not a folder"}};
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(WriteSampleProject(c.folder, error)) << c.folder;
    EXPECT_NE(error.find(c.said), std::string::npos) << error;
  }
  EXPECT_EQ(TreeBytes(fs::path(dir.Path()) / "busy").size(), 1u);
  EXPECT_EQ(dir.ReadFile("busy/mine.txt"), "keep");
  EXPECT_EQ(fs::current_path(), fs::path(dir.Path()));
}
