// The element records of System.dat's lists: their bytes, their gates and
// their copies.
#include <gtest/gtest.h>

#include "records/system_elements.h"
#include "system_file_builder.h"

using SysBytes = sysfile::Bytes;  // named apart from the save files' Bytes

namespace {

template <class T>
std::string SaveElement(T& element) {
  cDataWriter w;
  element.Save(w);
  return w.Bytes().substr(4);  // without the version word
}

template <class T>
void LoadElement(T& element, int version, const std::string& bytes) {
  cDataReader r(SysBytes().U32(static_cast<uint32_t>(version)).Raw(bytes).str());
  element.Load(r);
}

}  // namespace

TEST(SystemElements, BytesOfTheCurrentVersion) {
  cEdSystemText text;
  text.m_strText = "Go";
  EXPECT_EQ(SaveElement(text), SysBytes().U32(1).I32(1).U32(1).Str("Go").str());

  cEdStatusItem item;
  item.m_bVisible = 1;
  item.m_bIcon = 2;
  item.m_strLabel = "HP";
  item.m_nDigits = 3;
  item.m_bShowValue = 4;
  item.m_nLowLevel = 5;
  item.m_bLowPercent = 6;
  EXPECT_EQ(SaveElement(item), SysBytes().U32(6).I32(1).I32(2).I32(3).I32(4).I32(5).I32(6).U32(1).Str("HP").str());

  cEdRankingMode mode;
  mode.m_bRanking = 1;
  mode.m_vCategories = cVector<uint8_t>{1, 0, 1};
  EXPECT_EQ(SaveElement(mode), SysBytes().U32(1).I32(1).U32(0).U32(3).U8(1).U8(0).U8(1).str());

  cEdIniKey key;
  key.SetText("FreeStage", "a.stg4");
  key.m_nNumber = 9;
  EXPECT_EQ(SaveElement(key), SysBytes().U32(2).I32(1).I32(9).U32(2).Str("FreeStage").Str("a.stg4").str());
}

TEST(SystemElements, NewElementsStartFromTheirDefaults) {
  cEdSystemText text;
  EXPECT_EQ(text.m_bVisible, 1);
  EXPECT_EQ(text.m_strText, "");
  cEdRankingMode mode;
  EXPECT_EQ(mode.m_bRanking, 0);
  EXPECT_EQ(mode.m_vCategories, cVector<uint8_t>(5, 0));
  cEdStatusItem item;
  EXPECT_EQ(item.m_bShowValue, 0);
}

TEST(SystemElements, StatusItemGates) {
  struct Case {
    int version;
    std::string bytes;
    int32_t digits, showValue, lowLevel, lowPercent;
  };
  const Case cases[] = {
      // Before 204 three blocks; the value over the gauge is then on and the
      // low level and its percent flag keep what they had (7 and 1 below).
      {203, SysBytes().U32(3).I32(1).I32(1).I32(4).U32(1).Str("x").str(), 4, 1, 7, 1},
      {204, SysBytes().U32(4).I32(1).I32(1).I32(4).I32(0).U32(1).Str("x").str(), 4, 0, 7, 1},
      {586, SysBytes().U32(4).I32(1).I32(1).I32(2).I32(1).U32(1).Str("x").str(), 2, 1, 7, 1},
      {587, SysBytes().U32(6).I32(1).I32(1).I32(2).I32(0).I32(40).I32(0).U32(1).Str("x").str(), 2, 0, 40, 0},
  };
  for (const Case& c : cases) {
    cEdStatusItem item;
    item.m_nLowLevel = 7;
    item.m_bLowPercent = 1;
    LoadElement(item, c.version, c.bytes);
    EXPECT_EQ(item.m_strLabel, "x") << c.version;
    EXPECT_EQ(item.m_nDigits, c.digits) << c.version;
    EXPECT_EQ(item.m_bShowValue, c.showValue) << c.version;
    EXPECT_EQ(item.m_nLowLevel, c.lowLevel) << c.version;
    EXPECT_EQ(item.m_bLowPercent, c.lowPercent) << c.version;
  }
}

TEST(SystemElements, RankingModeKeepsTheCategoryCountOfTheFile) {
  for (uint32_t n : {0u, 3u, 5u, 7u}) {
    cEdRankingMode mode;
    SysBytes b;
    b.U32(1).I32(1).U32(0).U32(n);
    for (uint32_t i = 0; i < n; ++i) b.U8(1);
    LoadElement(mode, 734, b.str());
    EXPECT_EQ(mode.m_vCategories, cVector<uint8_t>(n, 1)) << n;
  }
  // A file that ends before the count leaves no categories; a count larger
  // than the file ends the read the same way.
  cEdRankingMode shortMode;
  LoadElement(shortMode, 734, SysBytes().U32(1).I32(1).U32(0).str());
  EXPECT_TRUE(shortMode.m_vCategories.empty());
  cEdRankingMode damaged;
  LoadElement(damaged, 734, SysBytes().U32(1).I32(1).U32(0).U32(0xFFFFFFF0).U8(1).str());
  EXPECT_TRUE(damaged.m_vCategories.empty());
}

TEST(SystemElements, IniKeySetNumberAndSetTextLeaveTheOtherDefault) {
  cEdIniKey key;
  key.SetNumber("VSync", 2);
  key.SetText("VSync", "on");
  EXPECT_EQ(key.m_nKind, cEdIniKey::KIND_TEXT);
  EXPECT_EQ(key.m_nNumber, 2);
  EXPECT_EQ(key.m_strText, "on");
  key.SetNumber("Bpp", 16);
  EXPECT_EQ(key.m_nKind, cEdIniKey::KIND_NUMBER);
  EXPECT_EQ(key.m_strKey, "Bpp");
  EXPECT_EQ(key.m_strText, "on");
}

TEST(SystemElements, CopiesKeepTheTargetsOwnDescriptors) {
  cEdSystemText source;
  source.m_bVisible = 0;
  source.m_strText = "source";
  cEdSystemText target;
  target = source;
  EXPECT_EQ(target.m_bVisible, 0);
  EXPECT_EQ(target.m_strText, "source");
  target.Clear();  // through the target's own tables only
  EXPECT_EQ(source.m_bVisible, 0);
  EXPECT_EQ(source.m_strText, "source");
  ASSERT_EQ(target.Fields().size(), 1u);
  EXPECT_EQ(target.Fields()[0].lpData, &target.m_bVisible);
  EXPECT_EQ(target.Strings()[0].lpString, &target.m_strText);

  cEdRankingMode mode;
  mode.m_vCategories = cVector<uint8_t>{1, 1};
  cEdRankingMode copy;
  copy = mode;
  EXPECT_EQ(copy.m_vCategories, (cVector<uint8_t>{1, 1}));
}
