// Hand-made System.dat files of older versions load to the values that the
// version gates and the upgrades give.
#include <gtest/gtest.h>

#include <functional>

#include "records/system.h"
#include "records/database.h"
#include "support/test_support.h"
#include "system_file_builder.h"

using testsupport::Sjis;

namespace {

cEdSystem Load(const std::string& bytes) {
  cEdSystem s;
  cDataReader r(bytes);
  s.Load(r);
  return s;
}

// The numeric members by the names of the hand-made layout.
int32_t Member(const cEdSystem& s, const std::string& name) {
  static const std::map<std::string, std::function<int32_t(const cEdSystem&)>> get = {
#define M(n) {#n, [](const cEdSystem& s) { return static_cast<int32_t>(s.m_##n); }}
      M(bExtraLifeByScore), M(nExtraLifeScore), M(bPauseHidesField), M(bIconLetters), M(nFont),
      M(bCentreGlyphs), M(bKeepTestOnlyFlows), M(bReplay), M(bGraphicTitleMenu), M(bCarryLives),
      M(bRetryMenuOnMiss), M(bShowLivesOnMap), M(nChallengeStages), M(bAllChallengesOpen),
      M(bMapStageInfo), M(bMapMenuTotal), M(bResetVarsStory), M(bPauseRetryStory),
      M(bSelectScores), M(bSelectTotal), M(bResetVarsChallenge), M(bPauseRetryChallenge),
      M(bResetVarsFree), M(bResetVarsTestPlay), M(nColourMode), M(nKeyRed), M(nKeyGreen),
      M(nKeyBlue), M(bCompat214), M(bCompat261), M(bDefeatSound), M(bD3DCharaBlend),
      M(nColourAnimSpeed), M(bPaletteCycle), M(bCompat525), M(bCompat555), M(bCompat637),
      M(bCompat669), M(bCompat677), M(bCompat695), M(bCompat696), M(bCompat697), M(bCompat721),
      M(bCompat728), M(bCompat733), M(nD3DBpp), M(nDDBpp),
#undef M
  };
  // The hand-made layout names members without their type prefix.
  for (const auto& [key, fn] : get)
    if (key.substr(1) == name) return fn(s);
  ADD_FAILURE() << "no member " << name;
  return 0;
}

// What a member is after loading a file that does not store it.
int32_t OlderFileValue(const std::string& name, int version, int32_t colourMode) {
  static const std::map<std::string, int32_t> fixed = {
      {"ExtraLifeByScore", 1}, {"Font", 60},          {"CentreGlyphs", 0},
      {"KeepTestOnlyFlows", 0}, {"Replay", 1},        {"GraphicTitleMenu", 0},
      {"RetryMenuOnMiss", 0},  {"ShowLivesOnMap", 0}, {"MapStageInfo", 1},
      {"MapMenuTotal", 1},     {"ResetVarsStory", 1}, {"PauseRetryStory", 0},
      {"SelectScores", 1},     {"SelectTotal", 1},    {"ResetVarsChallenge", 1},
      {"PauseRetryChallenge", 0}, {"ResetVarsFree", 1}, {"ResetVarsTestPlay", 1},
      {"ColourMode", 0},       {"KeyRed", 0},         {"KeyGreen", 177},
      {"KeyBlue", 0},          {"Compat214", 1},      {"Compat261", 1},
      {"DefeatSound", 0},      {"D3DCharaBlend", 0},  {"ColourAnimSpeed", 16},
      {"Compat525", 1},        {"Compat555", 1},      {"Compat669", 1},
      {"Compat677", 1},        {"Compat695", 1},      {"Compat696", 1},
      {"Compat697", 1},        {"Compat721", 1},      {"Compat728", 1},
      {"Compat733", 1},        {"D3DBpp", 0},         {"DDBpp", 2},
  };
  if (name == "PaletteCycle") return colourMode == 0 ? 1 : 0;
  if (name == "Compat637") return version <= 616 ? 1 : 0;
  return fixed.at(name);
}

// A file as the editor of `version` wrote it: every stored numeric member
// holds its own marker, so a block read at the wrong place shows.
sysfile::SystemFile MarkedFile(int version) {
  sysfile::SystemFile f;
  f.version = version;
  int32_t marker = 1000;
  uint8_t byteMarker = 100;
  for (const sysfile::FieldRow& row : sysfile::Fields())
    f.values[row.name] = row.width == 1 ? byteMarker++ : marker++;
  f.values["(discarded)"] = 0x5A5A5A5A;
  f.title = "Old game";
  return f;
}

}  // namespace

TEST(SystemDatUpgrade, NumericMembersFollowGatesDiscardWindowAndUpgrades) {
  const int versions[] = {0,   100, 112, 113, 156, 157, 166, 167, 169, 170, 183, 184, 185, 186,
                          187, 188, 190, 191, 192, 204, 205, 213, 214, 220, 221, 230, 259, 260,
                          261, 271, 272, 286, 287, 288, 289, 514, 515, 524, 525, 554, 555, 600,
                          616, 617, 620, 636, 637, 668, 669, 670, 676, 677, 694, 695, 696, 697,
                          720, 721, 727, 728, 732, 733, 734};
  for (int v : versions) {
    SCOPED_TRACE(v);
    sysfile::SystemFile f = MarkedFile(v);
    cEdSystem s = Load(sysfile::Build(f));
    EXPECT_EQ(s.m_strTitle, "Old game");
    const int32_t colourMode = v >= 187 ? f.values["ColourMode"] : 0;
    for (const sysfile::FieldRow& row : sysfile::Fields()) {
      std::string name = row.name;
      if (name == "(discarded)") continue;
      int32_t expected;
      if (sysfile::Stored(row, v))
        expected = row.width == 1 ? static_cast<uint8_t>(f.values[name]) : f.values[name];
      else if (row.from == 0)
        expected = f.values[name];  // always stored
      else
        expected = OlderFileValue(name, v, colourMode);
      EXPECT_EQ(Member(s, name), expected) << name;
    }
  }
}

TEST(SystemDatUpgrade, DiscardedValueIsReadAndLost) {
  for (int v : {221, 230, 259}) {
    sysfile::SystemFile f = MarkedFile(v);
    f.carry = {7, 7, 7};
    cEdSystem s = Load(sysfile::Build(f));
    EXPECT_EQ(s.m_bCompat214, f.values["Compat214"]) << v;
    EXPECT_EQ(s.m_vCarry[0], 7) << v;  // the tail starts where it should
  }
}

namespace {

std::string O(int k) { return "old" + std::to_string(k); }

// Texts of a file of a version: the file's own, in the order of that version.
std::vector<std::string> OldTexts(int count) {
  std::vector<std::string> t;
  for (int k = 0; k < count; ++k) t.push_back(O(k));
  return t;
}

}  // namespace

TEST(SystemDatUpgrade, TextInsertionsBringOldListsToTheCurrentOrder) {
  const std::string on = Sjis("オートセーブＯＮ"), off = Sjis("オートセーブＯＦＦ");
  const std::string noSlot = Sjis("保存先が不明です！一度は「セーブ」して下さい！");
  const std::string hp = Sjis("残りHP"), sp = Sjis("残りSP");
  const std::string retry = Sjis("リトライ"), toMap = Sjis("マップへ戻る");
  struct Case {
    int version;
    int textsInFile;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {168, 21, {O(0), O(1), O(2), O(3), O(4), O(5), O(6), O(7), hp, sp, O(8), O(9), O(10), O(11),
                 on, off, noSlot, O(12), O(13), O(14), O(15), O(16), retry, toMap, O(17), O(18), O(19), O(20)}},
      {100, 21, {O(0), O(1), O(2), O(3), O(4), O(5), O(6), O(7), hp, sp, O(8), O(9), O(10), O(11),
                 on, off, noSlot, O(12), O(13), O(14), O(15), O(16), retry, toMap, O(17), O(18), O(19), O(20)}},
      {169, 24, {O(0), O(1), O(2), O(3), O(4), O(5), O(6), O(7), hp, sp, O(8), O(9), O(10), O(11),
                 O(12), O(13), O(14), O(15), O(16), O(17), O(18), O(19), retry, toMap, O(20), O(21), O(22), O(23)}},
      {181, 26, {O(0), O(1), O(2), O(3), O(4), O(5), O(6), O(7), O(8), O(9), O(10), O(11), O(12), O(13),
                 O(14), O(15), O(16), O(17), O(18), O(19), O(20), O(21), retry, toMap, O(22), O(23), O(24), O(25)}},
      {193, 28, OldTexts(28)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    sysfile::SystemFile f = MarkedFile(c.version);
    f.texts = OldTexts(c.textsInFile);
    cEdSystem s = Load(sysfile::Build(f));
    EXPECT_EQ(std::vector<std::string>(s.m_vTexts.begin(), s.m_vTexts.end()), c.expected);
  }
}

TEST(SystemDatUpgrade, MapMenuGainsAutoSaveEntryBefore169) {
  sysfile::SystemFile f = MarkedFile(168);
  f.mapMenu = {{1, "save"}, {0, "back"}, {1, "title"}};
  cEdSystem s = Load(sysfile::Build(f));
  ASSERT_EQ(s.m_vMapMenu.size(), 4u);
  const std::pair<int, std::string> expected[] = {{1, "save"}, {1, Sjis("オートセーブ")}, {0, "back"}, {1, "title"}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(s.m_vMapMenu[i].m_bVisible, expected[i].first) << i;
    EXPECT_EQ(s.m_vMapMenu[i].m_strText, expected[i].second) << i;
  }
}

TEST(SystemDatUpgrade, CarryInsertionsKeepTheCount) {
  auto range = [](int from, int to) {
    std::vector<uint8_t> v;
    for (int i = from; i <= to; ++i) v.push_back(static_cast<uint8_t>(i));
    return v;
  };
  auto join = [](std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> v;
    for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
  };
  struct Case {
    int version;
    std::vector<uint8_t> file, expected;
  };
  const Case cases[] = {
      {100, range(10, 31), join({range(10, 18), {0}, range(19, 23), {0}, range(24, 25), {1}, range(26, 31)})},
      {168, range(10, 32), join({range(10, 18), {0}, range(19, 23), {0}, range(24, 32)})},
      {201, range(10, 33), join({range(10, 18), {0}, range(19, 33)})},
      {210, range(10, 34), range(10, 34)},
  };
  for (const Case& c : cases) {
    sysfile::SystemFile f = MarkedFile(c.version);
    f.carry = c.file;
    cEdSystem s = Load(sysfile::Build(f));
    EXPECT_EQ(std::vector<uint8_t>(s.m_vCarry.begin(), s.m_vCarry.end()), c.expected) << c.version;
  }
}

TEST(SystemDatUpgrade, IniKeyInsertionsBringOldListsToTheCurrentKeys) {
  auto key = [](const char* name, int32_t number) { return sysfile::IniKey{0, name, number, ""}; };
  const sysfile::IniKey freeStage{1, "FreeStage", 0, "a.stg4"};
  struct Case {
    int version;
    std::vector<sysfile::IniKey> file;
    int32_t vsync;
  };
  const Case cases[] = {
      // Nine keys before Direct3D existed; a VSync of 3 becomes 2.
      {285, {key("WindowMode", 1), key("Bpp", 16), key("VSync", 3), key("ShowFps", 0), freeStage,
             key("Old5", 5), key("Old6", 6), key("Old7", 7), key("Old8", 8)}, 2},
      {100, {key("WindowMode", 1), key("Bpp", 16), key("VSync", 4), key("ShowFps", 0), freeStage}, 2},
      {566, {key("Direct3D", 0), key("WindowMode", 1), key("Bpp", 16), key("VSync", 3), key("ShowFps", 0),
             freeStage, key("Old6", 6), key("Old7", 7), key("Old8", 8), key("Old9", 9)}, 3},
      {567, {key("Direct3D", 0), key("WindowMode", 1), key("Bpp", 16), key("VSync", 3),
             key("DD_VideoStretch", 1), key("ShowFps", 0), freeStage, key("Old7", 7), key("Old8", 8),
             key("Old9", 9)}, 3},
      {671, {key("Direct3D", 0), key("WindowMode", 1), key("Bpp", 16), key("VSync", 3),
             key("D3D_FontCache", 1), key("DD_FontCache", 0), key("DD_VideoStretch", 1), key("ShowFps", 0),
             freeStage, sysfile::IniKey{1, "Old9", 9, "kept"}}, 3},
  };
  const char* names[] = {"Direct3D", "WindowMode", "Bpp", "VSync", "D3D_FontCache",
                         "DD_FontCache", "DD_VideoStretch", "ShowFps", "FreeStage", "English"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    sysfile::SystemFile f = MarkedFile(c.version);
    f.iniKeys = c.file;
    cEdSystem s = Load(sysfile::Build(f));
    ASSERT_EQ(s.m_vIniKeys.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(s.m_vIniKeys[i].m_strKey, names[i]) << i;
    EXPECT_EQ(s.m_vIniKeys[0].m_nNumber, c.version < 286 ? 1 : 0);
    EXPECT_EQ(s.m_vIniKeys[1].m_nNumber, 1);
    EXPECT_EQ(s.m_vIniKeys[3].m_nNumber, c.vsync);
    EXPECT_EQ(s.m_vIniKeys[8].m_nKind, 1);
    EXPECT_EQ(s.m_vIniKeys[8].m_strText, "a.stg4");
    EXPECT_EQ(s.m_vIniKeys[9].m_nKind, 0);
    EXPECT_EQ(s.m_vIniKeys[9].m_nNumber, 0);
  }
  // Key 9 becomes English in place: its old text stays.
  sysfile::SystemFile f = MarkedFile(671);
  f.iniKeys = cases[4].file;
  EXPECT_EQ(Load(sysfile::Build(f)).m_vIniKeys[9].m_strText, "kept");
  // From 672 on the file's key 9 is kept as it is.
  f.version = 672;
  EXPECT_EQ(Load(sysfile::Build(f)).m_vIniKeys[9].m_strKey, "Old9");
}

TEST(SystemDatUpgrade, ListsOfOldVersions) {
  // Before 191 no infinite-lives list: 0, 0, 0, 1. Before 202 no loop
  // flags: all on. Before 501 no lose-on-miss flags: all off.
  sysfile::SystemFile f = MarkedFile(190);
  cEdSystem s = Load(sysfile::Build(f));
  EXPECT_EQ(s.m_vInfiniteLives, (cVector<int32_t>{0, 0, 0, 1}));
  EXPECT_EQ(s.m_vScreenBgmLoop, (cVector<uint8_t>{1, 1, 1, 1}));
  EXPECT_EQ(s.m_vLoseOnMiss, cVector<uint8_t>(25, 0));

  f = MarkedFile(500);
  f.infiniteLives = {1, 0, 1, 0};
  f.screenBgmLoop = {0, 1, 0, 1};
  s = Load(sysfile::Build(f));
  EXPECT_EQ(s.m_vInfiniteLives, (cVector<int32_t>{1, 0, 1, 0}));
  EXPECT_EQ(s.m_vScreenBgmLoop, (cVector<uint8_t>{0, 1, 0, 1}));
  EXPECT_EQ(s.m_vLoseOnMiss, cVector<uint8_t>(25, 0));

  // Ranking entry texts come from 674 on; older files keep the defaults.
  f = MarkedFile(673);
  f.rankingEntryModes = {"x", "y", "z", "w"};
  EXPECT_EQ(Load(sysfile::Build(f)).m_vRankingEntryModes[0], Sjis("手動登録（登録名入力）"));
  f.version = 674;
  EXPECT_EQ(Load(sysfile::Build(f)).m_vRankingEntryModes[0], "x");
}

TEST(SystemDatUpgrade, RankingModesBeforeAndAfterTheirList) {
  // Before 181 the default modes lose categories 3 and 4.
  cEdSystem s = Load(sysfile::Build(MarkedFile(180)));
  for (int k = 0; k < 3; ++k) EXPECT_EQ(s.m_vRankingModes[k].m_vCategories, (cVector<uint8_t>{1, 1, 1, 0, 0})) << k;
  // 185: no list in the file and no upgrade: the defaults stay whole.
  s = Load(sysfile::Build(MarkedFile(185)));
  EXPECT_EQ(s.m_vRankingModes[0].m_vCategories, (cVector<uint8_t>{1, 1, 1, 1, 1}));
  EXPECT_EQ(s.CountRankingCategories(PLAYKIND_STORY), 5);
  // 186: the file's modes; three categories are padded with unranked ones.
  sysfile::SystemFile f = MarkedFile(186);
  f.rankingModes = {{1, {1, 0, 1}}, {0, {1, 1, 1}}, {1, {0, 0, 0, 0, 0, 1, 1}}, {1, {1, 1, 1, 1, 1, 1, 1}}};
  s = Load(sysfile::Build(f));
  EXPECT_EQ(s.m_vRankingModes[0].m_vCategories, (cVector<uint8_t>{1, 0, 1, 0, 0}));
  EXPECT_EQ(s.m_vRankingModes[3].m_vCategories.size(), 7u);
  EXPECT_EQ(s.CountRankingCategories(0), 2);
  EXPECT_EQ(s.CountRankingCategories(1), 0);
  // Bytes after the five categories are kept for saving but rank nothing.
  EXPECT_EQ(s.CountRankingCategories(2), 0);
  EXPECT_EQ(s.CountRankingCategories(3), 5);
}

TEST(SystemDatUpgrade, StatusItemsOfOldVersions) {
  sysfile::SystemFile f = MarkedFile(203);
  for (int i = 0; i < 5; ++i) f.statusItems.push_back({1, 0, "L" + std::to_string(i), i, 0, 0, 0});
  cEdSystem s = Load(sysfile::Build(f));
  ASSERT_EQ(s.m_vStatusItems.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(s.m_vStatusItems[i].m_strLabel, "L" + std::to_string(i));
    EXPECT_EQ(s.m_vStatusItems[i].m_nDigits, i);
    EXPECT_EQ(s.m_vStatusItems[i].m_bShowValue, 1);
    EXPECT_EQ(s.m_vStatusItems[i].m_nLowLevel, (i == 2 || i == 3) ? 33 : 0);
    EXPECT_EQ(s.m_vStatusItems[i].m_bLowPercent, (i == 2 || i == 3) ? 1 : 0);
  }
  f.version = 587;
  f.statusItems[2] = {1, 1, "HP", 0, 1, 7, 0};
  s = Load(sysfile::Build(f));
  EXPECT_EQ(s.m_vStatusItems[2].m_nLowLevel, 7);
  EXPECT_EQ(s.m_vStatusItems[2].m_bLowPercent, 0);
}

TEST(SystemDatUpgrade, VersionAboveCurrentReadsAsCurrentWithoutUpgrades) {
  sysfile::SystemFile f = MarkedFile(734);
  std::string bytes = sysfile::Build(f);
  bytes[0] = '\xE8';  // 1000
  bytes[1] = '\x03';
  cEdSystem s = Load(bytes);
  EXPECT_EQ(s.m_bCompat733, f.values["Compat733"]);
  EXPECT_EQ(s.m_nDDBpp, f.values["DDBpp"]);
}
