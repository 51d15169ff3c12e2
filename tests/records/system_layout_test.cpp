// The byte layout of System.dat as the current version writes it, pinned by
// hand-made bytes, and the round trip of the record through its file.
#include <gtest/gtest.h>

#include "records/system.h"
#include "records/database.h"
#include "support/test_support.h"
#include "system_file_builder.h"

using SysBytes = sysfile::Bytes;  // named apart from the save files' Bytes
using testsupport::Sjis;

namespace {

std::string SaveBytes(cEdSystem& s) {
  cDataWriter w;
  s.Save(w);
  return w.Bytes();
}

void LoadBytes(cEdSystem& s, const std::string& bytes) {
  cDataReader r(bytes);
  s.Load(r);
}

// A new project's System.dat, written out from the defaults' description.
sysfile::SystemFile DefaultFile() {
  sysfile::SystemFile f;
  f.values = {{"ExtraLifeScore", 100},  {"PauseHidesField", 1},     {"Font", 60},
              {"Replay", 1},            {"GraphicTitleMenu", 1},    {"CarryLives", 1},
              {"RetryMenuOnMiss", 1},   {"ShowLivesOnMap", 1},      {"ChallengeStages", 40},
              {"AllChallengesOpen", 1}, {"MapStageInfo", 1},        {"MapMenuTotal", 1},
              {"ResetVarsStory", 1},    {"PauseRetryStory", 1},     {"SelectScores", 1},
              {"SelectTotal", 1},       {"ResetVarsChallenge", 1},  {"PauseRetryChallenge", 1},
              {"ResetVarsFree", 1},     {"ColourAnimSpeed", 16},    {"DDBpp", 2}};
  f.carry = {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 1, 0, 1, 1, 1, 0, 0, 0};
  f.loseOnMiss.assign(25, 0);
  f.loseOnMiss[11] = f.loseOnMiss[12] = 1;
  const char* labels[] = {"スコア", "スコア", "HP", "SP", "人"};
  const int digits[] = {4, 3, 0, 0, 2};
  for (int i = 0; i < 5; ++i) {
    sysfile::StatusItem s;
    s.visible = s.icon = 1;
    s.label = Sjis(labels[i]);
    s.digits = digits[i];
    f.statusItems.push_back(s);
  }
  f.startLives = {5, 5, 5, 99};
  f.infiniteLives = {1, 1, 1, 1};
  f.rankingModes = {{1, {1, 1, 1, 1, 1}}, {1, {1, 1, 1, 1, 1}}, {1, {1, 1, 1, 1, 1}}, {0, {0, 0, 0, 0, 0}}};
  for (const char* t :
       {"ワールド", "ステージ", "スコア", "ハイスコア", "トータルスコア", "スコア", "残り時間",
        "クリア時間", "残りHP", "残りSP", "ステージに挑む", "やっぱりやめる", "セーブする",
        "やっぱりやめる", "オートセーブＯＮ", "オートセーブＯＦＦ",
        "保存先が不明です！一度は「セーブ」して下さい！", "タイトルへ戻る", "やっぱりやめる",
        "しゅうりょう", "つづける", "リトライ", "リトライ", "マップへ戻る",
        "Vキーでジャンルの切り替え", "スペースキーでタイトルへ戻る", "スペースキーで終了",
        "F3キーでランキングへ登録"})
    f.texts.push_back(Sjis(t));
  f.sounds.assign(17, "");
  f.screenBgm = {0, 0, 0, 0};
  f.screenBgmLoop = {1, 1, 1, 1};
  for (const char* t : {"はじめから", "つづきから", "チャレンジ", "フリー", "リプレイ", "オプション", "しゅうりょう"})
    f.titleMenu.push_back({1, Sjis(t)});
  for (const char* t : {"セーブ", "オートセーブ", "もどる", "タイトルへ"}) f.mapMenu.push_back({1, Sjis(t)});
  for (const char* t : {"BGM", "SE", "ランキング登録", "ランキング登録名", "もどる", ""})
    f.optionMenu.push_back({1, Sjis(t)});
  for (const char* t : {"手動登録（登録名入力）", "手動登録（登録名固定）", "自動登録（登録名入力）", "自動登録（登録名固定）"})
    f.rankingEntryModes.push_back(Sjis(t));
  f.iniKeys = {{0, "Direct3D", 2, ""},      {0, "WindowMode", 0, ""},    {0, "Bpp", 0, ""},
               {0, "VSync", 2, ""},         {0, "D3D_FontCache", 0, ""}, {0, "DD_FontCache", 1, ""},
               {0, "DD_VideoStretch", 0, ""}, {0, "ShowFps", 1, ""},     {1, "FreeStage", 0, ""},
               {0, "English", 0, ""}};
  return f;
}

}  // namespace

TEST(SystemDatLayout, FirstBlocksKeyColourAndTailStartAtTheirOffsets) {
  cEdSystem s;
  const std::string file = SaveBytes(s);

  SysBytes b;
  b.U32(734).U32(47);  // version; 44 int32 blocks and 3 byte blocks
  b.I32(0).I32(100).I32(1).I32(0);  // extra life by score, its step, pause hides field, icon letters
  b.I32(60).I32(0).I32(0).I32(1);   // font, centre glyphs, keep test-only flows, replay
  b.I32(1).I32(1).I32(1).I32(1);    // graphic title menu, carry lives, retry menu, lives on map
  b.I32(40).I32(1);                 // challenge stages, all open
  b.I32(1).I32(1).I32(1).I32(1);    // map stage info, map menu total, reset story, pause retry story
  b.I32(1).I32(1).I32(1).I32(1);    // select scores, select total, reset challenge, pause retry challenge
  b.I32(1).I32(0).I32(0);           // reset free, reset test play, colour mode
  ASSERT_EQ(b.size(), 108u);
  b.U8(0).U8(0).U8(0);              // key colour red, green, blue
  b.I32(0).I32(0).I32(0).I32(0);    // compat 214, 261, defeat sound, Direct3D blend
  b.I32(16);                        // colour animation step
  for (int i = 0; i < 12; ++i) b.I32(0);  // palette cycle, compat 525 .. 733
  b.I32(0).I32(2);                  // Direct3D and DirectDraw colour depths
  b.U32(1).U32(1);                  // one string: the empty title
  ASSERT_EQ(b.size(), 195u);
  b.U32(25).Raw(std::string("\1\1\0\0\0\0\0\0\0\0\0\0\0\1\1\0\1\1\0\1\1\1\0\0\0", 25));
  b.U32(25).Raw(std::string("\0\0\0\0\0\0\0\0\0\0\0\1\1\0\0\0\0\0\0\0\0\0\0\0\0", 25));
  b.U32(5).U32(6).I32(1).I32(1).I32(4).I32(0).I32(0).I32(0).U32(1).Str(Sjis("スコア"));

  ASSERT_GE(file.size(), b.size());
  EXPECT_EQ(file.substr(0, b.size()), b.str());
  EXPECT_EQ(file.substr(108, 3), std::string("\0\0\0", 3));
}

TEST(SystemDatLayout, NewProjectFileMatchesTheHandMadeOneWhole) {
  cEdSystem s;
  EXPECT_EQ(SaveBytes(s), sysfile::Build(DefaultFile()));
}

TEST(SystemDatLayout, KeyColourBytesSitBetweenColourModeAndCompat214) {
  cEdSystem s;
  s.m_nColourMode = 1;
  s.m_nKeyRed = 0x11;
  s.m_nKeyGreen = 0x22;
  s.m_nKeyBlue = 0x33;
  s.m_bCompat214 = 0x44;
  const std::string file = SaveBytes(s);
  EXPECT_EQ(file.substr(104, 11), std::string("\1\0\0\0\x11\x22\x33\x44\0\0\0", 11));
}

TEST(SystemDatLayout, HandMadeDefaultFileLoadsToANewProject) {
  cEdSystem loaded;
  loaded.m_vTexts.clear();
  loaded.m_vIniKeys.clear();
  loaded.m_nFont = 3;
  loaded.m_bPauseRetryStory = 0;
  LoadBytes(loaded, sysfile::Build(DefaultFile()));
  cEdSystem fresh;
  EXPECT_EQ(SaveBytes(loaded), SaveBytes(fresh));
  ASSERT_EQ(loaded.m_vTexts.size(), 28u);
  EXPECT_EQ(loaded.m_vTexts, fresh.m_vTexts);
  ASSERT_EQ(loaded.m_vIniKeys.size(), 10u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(loaded.m_vIniKeys[i].m_strKey, fresh.m_vIniKeys[i].m_strKey) << i;
    EXPECT_EQ(loaded.m_vIniKeys[i].m_nKind, fresh.m_vIniKeys[i].m_nKind) << i;
    EXPECT_EQ(loaded.m_vIniKeys[i].m_nNumber, fresh.m_vIniKeys[i].m_nNumber) << i;
  }
}

TEST(SystemDatLayout, SaveLoadSaveGivesTheSameBytes) {
  Database.m_vBgm.resize(10);
  cEdSystem a;
  const std::string first = SaveBytes(a);
  cEdSystem b;
  LoadBytes(b, first);
  EXPECT_EQ(SaveBytes(b), first);

  // Every member away from its default, and lists of other lengths.
  cEdSystem c;
  int32_t n = 1000;
  c.m_bExtraLifeByScore = n++;
  c.m_nFont = n++;
  c.m_nChallengeStages = 77;
  c.m_bCompat637 = n++;
  c.m_bCompat733 = n++;
  c.m_nDDBpp = n++;
  c.m_nKeyGreen = 200;
  c.m_strTitle = Sjis("ゲーム題名");
  c.m_vCarry.push_back(9);
  c.m_vTexts.push_back("extra text");
  c.m_vTexts[3] = "";
  c.m_vScreenBgm = cVector<int32_t>{9, 1, 2, 3};
  c.m_vRankingModes[2].m_vCategories.push_back(1);
  c.m_vStatusItems[4].m_nLowLevel = -5;
  c.m_vIniKeys[8].SetText("FreeStage", "data\\stg4\\a.stg4");
  const std::string odd = SaveBytes(c);
  cEdSystem d;
  LoadBytes(d, odd);
  EXPECT_EQ(SaveBytes(d), odd);
  EXPECT_EQ(d.m_strTitle, c.m_strTitle);
  EXPECT_EQ(d.m_vTexts, c.m_vTexts);
  EXPECT_EQ(d.m_vCarry, c.m_vCarry);
  EXPECT_EQ(d.m_vRankingModes[2].m_vCategories.size(), 6u);
  EXPECT_EQ(d.m_vStatusItems[4].m_nLowLevel, -5);
  EXPECT_EQ(d.m_vIniKeys[8].m_strText, "data\\stg4\\a.stg4");
  Database.Reset();
}

TEST(SystemDatLayout, SaveToFileAndLoadFromFile) {
  testsupport::ScopedWorkDir dir;
  cEdSystem a;
  a.m_strTitle = "My game";
  ASSERT_EQ(a.SaveToFile("System.dat"), 1);
  cEdSystem b;
  ASSERT_EQ(b.LoadFromFile("System.dat"), 1);
  EXPECT_EQ(b.m_strTitle, "My game");
  cEdSystem c;
  EXPECT_EQ(c.LoadFromFile("missing.dat"), 0);
  cEdSystem fresh;
  EXPECT_EQ(SaveBytes(c), SaveBytes(fresh));  // a failed load keeps the defaults
}
