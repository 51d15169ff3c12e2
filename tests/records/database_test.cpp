// The database as a whole: defaults, LoadAll over the ten files, failures.
#include <gtest/gtest.h>

#include <cstdio>

#include "base/report_log.h"
#include "platform/close_request.h"
#include "records/database.h"
#include "records/db_bytes.h"
#include "support/test_support.h"

using testsupport::ScopedWorkDir;
using testsupport::ScriptedBoxes;
using testsupport::Sjis;

namespace {

const char* const kHostFiles[DBFILE_COUNT] = {
    "data/database/AnimeSet.dat",    "data/database/Anime.dat",   "data/database/Bmp_CharaExc.dat",
    "data/database/SwordType.dat",   "data/database/Effect.dat",  "data/database/CharaEffect.dat",
    "data/database/ScrEffect.dat",   "data/database/Picture.dat", "data/database/Sound.dat",
    "data/database/Bgm.dat"};

class DatabaseFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    plat::ResetCloseRequests();
  }
  std::string Report() const { return m_dir.ReadFile("Report_Game.txt"); }
  std::string LoadFailedBox(const char* path) const {
    return std::string(path) + " " + Sjis("のロードに失敗！");
  }
  // A database whose every table differs from the defaults.
  static void MakeDistinct(cEdDatabase& db) {
    db.m_vAnimeSet[0].m_strName = "hero set";
    db.m_vAnimeSet.push_back(cEdAnimeSet());
    db.m_vAnime[1].m_vFrame.push_back(cEdAnimeFrame());
    db.m_vAnime[1].m_vFrame[1].m_nCell = 7;
    db.m_vBmpCharaExc[1].m_strFile = "bmp\\chara_sp\\a.bmp";
    db.m_vSwordType.push_back(cEdSwordType());
    db.m_vEffect[1].m_vFrame.push_back(cEdEffectFrame());
    db.m_vCharaEffect.push_back(cEdCharaEffect());
    db.m_vCharaEffect[2].m_nKind = 7;
    db.m_vScrEffect[1].m_anParam[3] = 640;
    db.m_vPicture[1].m_strName = "map";
    db.m_vSound.push_back(cEdSound());
    db.m_vBgm[1].m_strFile = "bgm\\stage.ogg";
  }
  ScopedWorkDir m_dir;
};

}  // namespace

TEST_F(DatabaseFiles, NewDatabaseHoldsTheDefaults) {
  cEdDatabase db;
  EXPECT_EQ(db.m_vAnimeSet.size(), 1u);
  EXPECT_EQ(db.m_vAnimeSet[0].m_vSetAnime.size(), 4u);
  ASSERT_EQ(db.m_vAnime.size(), 2u);
  EXPECT_EQ(db.m_vAnime[0].m_strName, Sjis("なし"));
  EXPECT_EQ(db.m_vAnime[1].m_strName, Sjis("アクションA"));
  EXPECT_EQ(db.m_vAnime[1].m_vFrame.size(), 1u);
  EXPECT_EQ(db.m_vBmpCharaExc.size(), 2u);
  ASSERT_EQ(db.m_vSwordType.size(), 1u);  // one, not two
  EXPECT_EQ(db.m_vSwordType[0].m_vFrame.At(0).m_nTime, 1);
  ASSERT_EQ(db.m_vEffect.size(), 2u);
  EXPECT_TRUE(db.m_vEffect[0].m_vFrame.empty());
  ASSERT_EQ(db.m_vCharaEffect.size(), 2u);
  EXPECT_EQ(db.m_vCharaEffect[0].m_nKind, 1);
  EXPECT_EQ(db.m_vScrEffect.size(), 2u);
  EXPECT_EQ(db.m_vPicture.size(), 2u);
  EXPECT_EQ(db.m_vSound.size(), 2u);
  EXPECT_EQ(db.m_vBgm.size(), 2u);
  EXPECT_TRUE(db.m_vCharaEffectWork.empty());
}

TEST_F(DatabaseFiles, SavedAndLoadedAgainIsUnchanged) {
  for (int distinct = 0; distinct < 2; ++distinct) {
    SCOPED_TRACE(distinct ? "changed database" : "new database");
    cEdDatabase saved;
    if (distinct) MakeDistinct(saved);
    ASSERT_TRUE(saved.SaveAll());
    std::string bytes[DBFILE_COUNT];
    for (int i = 0; i < DBFILE_COUNT; ++i) bytes[i] = m_dir.ReadFile(kHostFiles[i]);

    cEdDatabase loaded;
    loaded.m_vSwordType.clear();
    ScriptedBoxes boxes;
    ASSERT_TRUE(loaded.LoadAll());
    EXPECT_TRUE(boxes.shown.empty());
    // Loading makes entry 0 of the two effect tables "no effect"; nothing else changes.
    EXPECT_EQ(loaded.m_vCharaEffect[0].m_nKind, 0);
    EXPECT_EQ(loaded.m_vScrEffect[0].m_nKind, 0);
    EXPECT_EQ(loaded.m_vCharaEffect[1].m_nKind, 1);
    saved.ClearFirstEffects();
    ASSERT_TRUE(saved.SaveAll());
    ASSERT_TRUE(loaded.SaveAll(1));
    for (int i = 0; i < DBFILE_COUNT; ++i) {
      SCOPED_TRACE(kHostFiles[i]);
      std::string again = m_dir.ReadFile(std::string("default") + (kHostFiles[i] + 4));
      EXPECT_EQ(again, m_dir.ReadFile(kHostFiles[i]));
      if (i != DBFILE_CHARAEFFECT && i != DBFILE_SCREFFECT) {
        EXPECT_EQ(again, bytes[i]);
      }
    }
    EXPECT_EQ(Report(), "");
  }
}

TEST_F(DatabaseFiles, MissingFileIsNamedAndLoadingStopsThere) {
  cEdDatabase files;
  MakeDistinct(files);
  ASSERT_TRUE(files.SaveAll());
  std::remove(kHostFiles[DBFILE_BMPCHARAEXC]);

  cEdDatabase db;
  ScriptedBoxes boxes;
  EXPECT_FALSE(db.LoadAll());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, LoadFailedBox("data\\database\\Bmp_CharaExc.dat"));
  EXPECT_EQ(boxes.shown[0].caption, Sjis("エラー"));
  // The first two tables hold the files; the rest keep the new database's.
  EXPECT_EQ(db.m_vAnimeSet.size(), 2u);
  EXPECT_EQ(db.m_vAnimeSet[0].m_strName, "hero set");
  EXPECT_EQ(db.m_vAnime[1].m_vFrame.At(1).m_nCell, 7);
  EXPECT_EQ(db.m_vBmpCharaExc[1].m_strFile, "");
  EXPECT_EQ(db.m_vSwordType.size(), 1u);
  EXPECT_EQ(db.m_vCharaEffect.size(), 2u);
  EXPECT_EQ(db.m_vBgm[1].m_strFile, "");
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
  EXPECT_EQ(Report(), "");
}

TEST_F(DatabaseFiles, EffectFileWithoutEntriesFailsTheLoad) {
  for (int file : {DBFILE_CHARAEFFECT, DBFILE_SCREFFECT}) {
    SCOPED_TRACE(file);
    cEdDatabase files;
    MakeDistinct(files);
    ASSERT_TRUE(files.SaveAll());
    m_dir.WriteFile(kHostFiles[file], Bytes().u32(734).u32(0).s);

    cEdDatabase db;
    ScriptedBoxes boxes;
    EXPECT_FALSE(db.LoadAll());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, LoadFailedBox(DatabaseFilePath(file)));
    EXPECT_EQ(db.m_vBgm[1].m_strFile, "");  // not read
    EXPECT_EQ(plat::CloseRequestCount(), 0u);
  }
}

TEST_F(DatabaseFiles, OtherFilesMayBeEmptyAndEntryZeroBecomesNoEffect) {
  cEdDatabase files;
  for (auto& e : files.m_vCharaEffect) e.m_nKind = 5;
  for (auto& e : files.m_vScrEffect) e.m_nKind = 9;
  ASSERT_TRUE(files.SaveAll());
  for (int file : {DBFILE_ANIMESET, DBFILE_ANIME, DBFILE_SWORDTYPE, DBFILE_EFFECT, DBFILE_SOUND})
    m_dir.WriteFile(kHostFiles[file], Bytes().u32(734).u32(0).s);

  cEdDatabase db;
  ScriptedBoxes boxes;
  ASSERT_TRUE(db.LoadAll());
  EXPECT_TRUE(db.m_vAnimeSet.empty());
  EXPECT_TRUE(db.m_vAnime.empty());
  EXPECT_TRUE(db.m_vSwordType.empty());
  EXPECT_TRUE(db.m_vSound.empty());
  EXPECT_EQ(db.m_vCharaEffect[0].m_nKind, 0);
  EXPECT_EQ(db.m_vCharaEffect[1].m_nKind, 5);
  EXPECT_EQ(db.m_vScrEffect[0].m_nKind, 0);
  EXPECT_EQ(db.m_vScrEffect[1].m_nKind, 9);
  EXPECT_EQ(Report(), "");
}

TEST_F(DatabaseFiles, ShortFileIsReadAsFarAsItGoesAndReported) {
  cEdDatabase files;
  files.m_vPicture[0].m_strName = "first";
  ASSERT_TRUE(files.SaveAll());
  std::string picture = m_dir.ReadFile(kHostFiles[DBFILE_PICTURE]);
  m_dir.WriteFile(kHostFiles[DBFILE_PICTURE], picture.substr(0, picture.size() - 6));
  // A count no file could hold ends the read as well.
  m_dir.WriteFile(kHostFiles[DBFILE_BGM], Bytes().u32(734).u32(0x40000000).s);

  cEdDatabase db;
  ScriptedBoxes boxes;
  ASSERT_TRUE(db.LoadAll());
  ASSERT_EQ(db.m_vPicture.size(), 2u);
  EXPECT_EQ(db.m_vPicture[0].m_strName, "first");
  EXPECT_TRUE(db.m_vBgm.empty());
  EXPECT_EQ(Report(),
            "data\\database\\Picture.dat : the file ends early or is damaged; read up to there\r\n"
            "data\\database\\Bgm.dat : the file ends early or is damaged; read up to there\r\n");
}

TEST_F(DatabaseFiles, CarriageReturnsAreStrippedWhenAsked) {
  cEdDatabase files;
  files.m_vAnimeSet[0].m_vSetAnime[1].m_strName = "a\r\nb";
  files.m_vBgm[1].m_strName = "c\rd";
  ASSERT_TRUE(files.SaveAll());
  for (int strip : {0, 1}) {
    bStripCR = strip;
    cEdDatabase db;
    ASSERT_TRUE(db.LoadAll());
    EXPECT_EQ(db.m_vAnimeSet[0].m_vSetAnime[1].m_strName, strip ? "a\nb" : "a\r\nb");
    EXPECT_EQ(db.m_vBgm[1].m_strName, strip ? "cd" : "c\rd");
  }
  bStripCR = 0;
}
