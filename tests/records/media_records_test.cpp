// Bmp_CharaExc.dat, Picture.dat, Sound.dat and Bgm.dat entries.
#include <gtest/gtest.h>

#include "records/db_bytes.h"
#include "records/media_records.h"

namespace {

// Picture, Sound and Bgm share one layout: fields (aux from 151), then name and file.
std::string NameFile(int version, int32_t aux) {
  Bytes b;
  b.u32(version).u32(1);
  if (version >= 151)
    b.u32(1).i32(aux);
  else
    b.u32(0);
  b.u32(2).str("title").str("bgm\\Title.mid");
  return b.s;
}

std::string BmpCharaExc(int version, int32_t aux, int32_t large, int32_t scale) {
  Bytes b;
  b.u32(version).u32(1);
  if (version >= 172)
    b.u32(3).i32(aux).i32(large).i32(scale);
  else if (version >= 152)
    b.u32(1).i32(aux);
  else
    b.u32(0);
  b.u32(2).str("boss").str("bmp\\chara_sp\\boss.bmp");
  return b.s;
}

template <class T>
void CheckNameFile(const char* what) {
  struct Case {
    int version;
    int32_t auxInFile, auxLoaded;
  } cases[] = {{150, 0, 0}, {152, 3, 0}, {153, 3, 3}, {734, -8, -8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << what << " " << c.version);
    std::string file = NameFile(c.version, c.auxInFile);
    cVector<T> list = LoadList<T>(file);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].m_strName, "title");
    EXPECT_EQ(list[0].m_strFile, "bgm\\Title.mid");
    EXPECT_EQ(list[0].m_nAux, c.auxLoaded);
    if (c.version == 734) {
      EXPECT_EQ(SaveList(list), file);
    }
  }
}

}  // namespace

TEST(MediaRecords, PictureSoundAndBgmReadTheirVersions) {
  CheckNameFile<cEdPicture>("picture");
  CheckNameFile<cEdSound>("sound");
  CheckNameFile<cEdBgm>("bgm");
}

TEST(MediaRecords, BmpCharaExcGates) {
  struct Case {
    int version;
    int32_t aux, large, scale;  // in the file
    int32_t auxLoaded, largeLoaded, scaleLoaded;
  } cases[] = {
      {151, 0, 0, 0, 0, 0, 2},  // no field block at all
      {152, 3, 0, 0, 0, 0, 2},  // aux read, then cleared before 153
      {171, 7, 0, 0, 7, 0, 2},  // aux only; cell fields keep their defaults
      {172, 7, 1, 4, 7, 1, 4},
      {734, 1, 1, 0, 1, 1, 0},  // a stored scale of 0 stays as stored
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    std::string file = BmpCharaExc(c.version, c.aux, c.large, c.scale);
    cVector<cEdBmpCharaExc> list = LoadList<cEdBmpCharaExc>(file);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].m_strName, "boss");
    EXPECT_EQ(list[0].m_strFile, "bmp\\chara_sp\\boss.bmp");
    EXPECT_EQ(list[0].m_nAux, c.auxLoaded);
    EXPECT_EQ(list[0].m_bLargeCell, c.largeLoaded);
    EXPECT_EQ(list[0].m_nCellScale, c.scaleLoaded);
    if (c.version == 734) {
      EXPECT_EQ(SaveList(list), file);
    }
  }
}

TEST(MediaRecords, CellOriginsKeepTheScaleInRange) {
  struct Case {
    int32_t large, scale;
    int cell;
    int x, y;
  } cases[] = {
      {0, 2, 17, 32, 32},       // plain sheet: 16 cells of 32 a row
      {1, 2, 9, 64, 64},        // 8 cells of 64 a row
      {1, 0, 9, 288, 0},        // scale 0 is used as 1
      {1, -3, 17, 32, 32},
      {1, 17, 9, 0, 9 * 512},   // above 16 is used as 16: one cell a row
      {1, 16, 2, 0, 1024},
      {1, 16, INT32_MAX, 0, INT32_MAX},  // saturates instead of wrapping
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.scale << " cell " << c.cell);
    cEdBmpCharaExc sheet;
    sheet.m_bLargeCell = c.large;
    sheet.m_nCellScale = c.scale;
    int x = -1, y = -1;
    sheet.CellOrigin(c.cell, x, y);
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(sheet.m_nCellScale, c.scale);
  }
}
