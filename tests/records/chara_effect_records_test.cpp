// CharaEffect.dat and ScrEffect.dat entries and their parameter descriptors.
#include <gtest/gtest.h>

#include <array>

#include "records/chara_effect.h"
#include "records/db_bytes.h"
#include "records/param_desc.h"

namespace {

using Params = std::array<int32_t, 5>;

std::string EffectFile(int version, int32_t kind, const Params& p) {
  Bytes b;
  b.u32(version).u32(1).u32(2).i32(kind);
  for (int32_t v : p) b.i32(v);
  b.u32(1).str("fx");
  return b.s;
}

template <class T>
Params Loaded(const std::string& file, int32_t* kind = nullptr) {
  cVector<T> list = LoadList<T>(file);
  EXPECT_EQ(list.size(), 1u);
  if (kind) *kind = list.At(0).m_nKind;
  const int32_t* p = list.At(0).m_anParam;
  return {p[0], p[1], p[2], p[3], p[4]};
}

}  // namespace

TEST(CharaEffectRecord, WorkedExampleIs44BytesBothWays) {
  const unsigned char bytes[] = {
      0xDE, 0x02, 0x00, 0x00,  // version 734
      0x01, 0x00, 0x00, 0x00,  // one entry
      0x02, 0x00, 0x00, 0x00,  // two field blocks
      0x00, 0x00, 0x00, 0x00,  // kind 0
      0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x00,
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // parameters 5, 0, 32, 0, 0
      0x01, 0x00, 0x00, 0x00,  // one string
      0x01, 0x00, 0x00, 0x00,  // empty name
  };
  std::string file(reinterpret_cast<const char*>(bytes), sizeof bytes);
  ASSERT_EQ(file.size(), 44u);
  int32_t kind = -1;
  EXPECT_EQ(Loaded<cEdCharaEffect>(file, &kind), (Params{5, 0, 32, 0, 0}));
  EXPECT_EQ(kind, 0);

  cVector<cEdCharaEffect> list(1);
  list[0].m_nKind = 0;
  list[0].m_anParam[0] = 5;
  list[0].m_anParam[2] = 32;
  EXPECT_EQ(SaveList(list), file);
  // The screen effect has the same layout.
  cVector<cEdScrEffect> scr = LoadList<cEdScrEffect>(file);
  EXPECT_EQ(SaveList(scr), file);
}

TEST(CharaEffectRecord, Version510GetsTheRoughnessDefaults) {
  // {version, screen?, kind, parameters in the file, parameters loaded}
  struct Case {
    int version;
    bool screen;
    int32_t kind;
    Params in, out;
  } cases[] = {
      {510, false, 4, {5, 0, 32, 2, 0}, {5, 0, 32, 2, 2}},
      {511, false, 4, {5, 0, 32, 2, 0}, {5, 0, 32, 2, 0}},
      {510, false, 5, {5, 0, 32, 2, 9}, {5, 0, 32, 2, 2}},
      {510, false, 10, {5, 32, 0, 0, 0}, {5, 32, 0, 2, 0}},
      {510, false, 3, {5, 0, 32, 4, 0}, {5, 0, 32, 4, 0}},
      {300, false, 6, {10, 2, 0, 0, 0}, {10, 2, 0, 0, 0}},
      {510, true, 6, {10, 0, 640, 4, 0}, {10, 0, 640, 4, 8}},
      {510, true, 7, {10, 0, 480, 4, 0}, {10, 0, 480, 4, 10}},
      {510, true, 10, {10, 640, 0, 0, 0}, {10, 640, 0, 8, 0}},
      {510, true, 3, {10, 4, 4, 0, 0}, {10, 4, 4, 0, 0}},
      {511, true, 7, {10, 0, 480, 4, 0}, {10, 0, 480, 4, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.version << (c.screen ? " screen " : " chara ") << c.kind);
    std::string file = EffectFile(c.version, c.kind, c.in);
    int32_t kind = -1;
    Params got = c.screen ? Loaded<cEdScrEffect>(file, &kind) : Loaded<cEdCharaEffect>(file, &kind);
    EXPECT_EQ(got, c.out);
    EXPECT_EQ(kind, c.kind);
  }
}

TEST(CharaEffectRecord, OutOfRangeValuesAreKeptAsStored) {
  std::string file = EffectFile(734, 99, {0, -5, INT32_MAX, 0, INT32_MIN});
  cVector<cEdCharaEffect> list = LoadList<cEdCharaEffect>(file);
  EXPECT_EQ(list.At(0).m_nKind, 99);
  EXPECT_EQ(list.At(0).m_anParam[4], INT32_MIN);
  EXPECT_EQ(SaveList(list), file);
}

TEST(CharaEffectRecord, NewRecordsAreKindOneWithZeroParameters) {
  cEdCharaEffect c;
  cEdScrEffect s;
  EXPECT_EQ(c.m_nKind, 1);
  EXPECT_EQ(s.m_nKind, 1);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(c.m_anParam[i], 0);
    EXPECT_EQ(s.m_anParam[i], 0);
  }
  // One type does not copy into the other.
  EXPECT_EQ(c.CopyFrom(s), 0);
}

TEST(ParamDesc, TablesHoldTheEditorsDescriptors) {
  // "実行時間(1/10s)"
  const std::string time = "\x8E\xC0\x8D\x73\x8E\x9E\x8A\xD4(1/10s)";
  struct Case {
    const PARAMDESC& d;
    std::string name;
    int min, max, def;
  } cases[] = {
      {CharaEffectParams[1][0], time, 1, 9999, 5},
      {CharaEffectParams[16][0], time, 1, 9999, 10},
      {CharaEffectParams[4][4], "\x94\x67\x82\xCC\x91\x65\x82\xB3(dot)", 1, 4, 2},  // "波の粗さ(dot)"
      {CharaEffectParams[10][3], "\x89\x7E\x82\xCC\x91\x65\x82\xB3(dot)", 1, 4, 2},  // "円の粗さ(dot)"
      {CharaEffectParams[12][3], "\x83\x59\x83\x8C" "X(dot)", -16, 16, 0},          // "ズレX(dot)"
      {CharaEffectParams[14][1], "\x93\x5F\x96\xC5\x8A\xD4\x8A\x75(1/60s)", 1, 9999, 9999},
      {CharaEffectParams[6][2], "", 0, 0, 0},
      {CharaEffectParams[0][0], "", 0, 0, 0},
      {ScrEffectParams[13][0], time, 1, 9999, 10},
      {ScrEffectParams[1][1], "\x8A\x4A\x8E\x6E\x8D\xC0\x95\x57" "X(dot)", -640, 640, 0},
      {ScrEffectParams[6][4], "\x94\x67\x82\xCC\x91\x65\x82\xB3(dot)", 1, 48, 8},
      {ScrEffectParams[7][4], "\x94\x67\x82\xCC\x91\x65\x82\xB3(dot)", 1, 64, 10},
      {ScrEffectParams[10][3], "\x89\x7E\x82\xCC\x91\x65\x82\xB3(dot)", 1, 48, 8},
      {ScrEffectParams[11][2], "\x8F\x49\x97\xB9\x95\x9D(dot)", 0, 6400, 1280},
      {ScrEffectParams[0][0], "", 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.d.strName, c.name);
    EXPECT_EQ(c.d.nMin, c.min);
    EXPECT_EQ(c.d.nMax, c.max);
    EXPECT_EQ(c.d.nDefault, c.def);
  }
  EXPECT_EQ(PARAMDESC(nullptr, 1, 2, 3).strName, "");
}
