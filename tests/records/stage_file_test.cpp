// Stage files written by hand from their layout, at the current version and
// at the older ones, load to the values that the gates, the upgrades and
// Normalise give; what the record writes has the layout's offsets and trailer.
#include <gtest/gtest.h>

#include "platform/close_request.h"
#include "record_test_env.h"
#include "records/database.h"
#include "definition_bytes.h"
#include "stage_bytes.h"

using stagefile::F64;
using stagefile::kMembers;
using stagefile::Member;
using stagefile::Rule;
using stagefile::Segment;

namespace {

class StageFileTest : public RecordTest {
 protected:
  void SetUp() override {
    RecordTest::SetUp();
    m_savedBgm = Database.m_vBgm;
    Database.m_vBgm.assign(4, cEdBgm());
  }
  void TearDown() override {
    Database.m_vBgm = m_savedBgm;
    EXPECT_EQ(plat::CloseRequestCount(), 0u);
    RecordTest::TearDown();
  }
  cVector<cEdBgm> m_savedBgm;
};

std::string SaveBytes(cEdStage& s) {
  cDataWriter w;
  s.Save(w);
  return w.Bytes();
}

// Loads into a new stage, as LoadStage does; the read must end at the trailer.
void LoadBytes(cEdStage& s, const std::string& bytes) {
  cDataReader r(bytes);
  s.Load(r);
  EXPECT_FALSE(r.Ended());
  EXPECT_EQ(r.Remaining(), 0u);
}

uint32_t WordAt(const std::string& s, size_t pos) {
  uint32_t v = 0;
  std::memcpy(&v, s.data() + pos, 4);
  return v;
}

// Member values of the fixtures: distinct per member, except those that
// Normalise would change: scroll limits within the map, a speed level with
// its derived values, music inside Bgm.dat.
double FileValue(int order) {
  switch (order) {
    case 9: return 3;
    case 10: return 4;
    case 11: return 5;
    case 12: return 6;
    case 22: return 12;
    case 24: return 3;
    case 21: return 0.5;
  }
  return order == 88 || order == 89 || order == 90 || order == 91 || order == 92 ? order + 0.25
                                                                                 : 1000 + order;
}

// What a member holds after the load of a file of `version`: the file's
// value, the upgrade's value for members the version lacks, or the value
// that Normalise derives.
double Expected(int version, int order) {
  switch (order) {
    case 87: return 2;    // speed level 12: two steps a frame
    case 88: return 2;
    case 89: return 4;
    case 90: return 60;
    case 91: return 0.5 / 4;
    case 92: return 30;
    case 93: return 16;
  }
  if (version < 155) {
    if (order == 42 || order == 43) return FileValue(order - 2);
    if (order == 66 || order == 67) return FileValue(order - 2);
    if (order == 50 || order == 51 || order == 72 || order == 73) return 0;
  }
  if (version < 166 && order == 25) return 1;
  if (version < 183 && order == 30) return 1;
  if (version < 184 && order == 31) return 0;
  if (version < 199 && order == 26) return 0;
  if (version < 200) {
    switch (order) {
      case 36: return 16;
      case 37: return 24;
      case 38: return 16;
      case 39: return 16;
      case 48: return 1;
      case 49: return 0;
      case 52: return 0;
      case 56: return 5;
      case 60: return 16;
      case 61: return 30;
      case 62: return 16;
      case 63: return 30;
      case 70: return 1;
      case 71: return 1;
    }
  }
  if (version < 225 && order == 33) return 0;
  return FileValue(order);
}

double ValueOf(cEdStage& s, const Member& m) { return m.d ? s.*m.d : s.*m.i; }

// The tail after the segment: ranking switches, rules, empty palettes and
// placements, one background, one text, and the trailer from version 173.
const std::string kNoDefinitions(24, '\0');

std::string Tail(int version, std::initializer_list<int32_t> ranked,
                 const std::string& definitions = kNoDefinitions) {
  Bytes b;
  b.u32(static_cast<uint32_t>(ranked.size()));
  for (int32_t v : ranked) b.i32(v);
  Rule(b, version, 0, 0, 0, 1, 2);
  Rule(b, version, 1, 0, 1, 0, 0);
  Rule(b, version, 0, 1, 0, 0, 3);
  Rule(b, version, 1, 1, 1, 1, 0);
  Rule(b, version, 1, 0, 0, 1, 9);
  b.raw(definitions);
  b.u32(1);
  if (version >= 62) {
    b.u32(10).i32(1).i32(0).i32(22).i32(1);
    F64(b, 0.25);
    F64(b, 0.5);
    b.i32(1).i32(0);
    F64(b, 3.0);
    F64(b, 4.0);
    b.u32(1).str("bg.bmp");
  } else {
    b.u32(5).i32(0).i32(22).i32(1).i32(99).i32(99).u32(1).str("bg.bmp");
  }
  b.u32(1).u32(0).u32(1).str("text");
  if (version > 172) b.u32(STAGE_FILE_TRAILER);
  return b.s;
}

}  // namespace

TEST_F(StageFileTest, TheWrittenFileHasTheLayoutsOffsetsAndTrailer) {
  cEdStage s;
  const std::string bytes = SaveBytes(s);
  EXPECT_EQ(WordAt(bytes, 0), 734u);
  EXPECT_EQ(WordAt(bytes, 4), 98u);
  EXPECT_EQ(WordAt(bytes, 424), 1u) << "one string";
  EXPECT_EQ(WordAt(bytes, 428), 1u) << "an empty name";
  EXPECT_EQ(WordAt(bytes, 432), 5u) << "five ranking switches";
  EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string("\x15\xCD\x5B\x07", 4));
}

// Each row: a version and the numeric blocks and bytes its segment holds.
TEST_F(StageFileTest, EachVersionReadsItsOwnMembersAndUpgradesTheOthers) {
  struct Case {
    int version, blocks, dataBytes;
  } cases[] = {{154, 71, 308}, {155, 79, 340}, {165, 79, 340}, {166, 80, 344}, {182, 80, 344},
               {183, 81, 348}, {184, 82, 352}, {198, 82, 352}, {199, 83, 356}, {200, 97, 412},
               {224, 97, 412}, {225, 98, 416}, {734, 98, 416}, {900, 98, 416}};
  for (const Case& c : cases) {
    Bytes file = Segment(c.version, FileValue);
    ASSERT_EQ(WordAt(file.s, 4), static_cast<uint32_t>(c.blocks)) << c.version;
    ASSERT_EQ(file.s.size(), 8u + c.dataBytes + 8u) << c.version;
    file.raw(Tail(c.version, {1, 0, 1, 1, 1}));
    cEdStage s;
    LoadBytes(s, file.s);
    for (const Member& m : kMembers)
      EXPECT_EQ(ValueOf(s, m), Expected(c.version, m.order)) << "version " << c.version << " member " << m.order;
    EXPECT_EQ(s.m_nStepsPerTenth, 12) << c.version;
    EXPECT_EQ(s.m_vRanked, (c.version < 181 ? cVector<int32_t>{1, 0, 1, 0, 0} : cVector<int32_t>{1, 0, 1, 1, 1}))
        << c.version;
    ASSERT_EQ(s.m_vBackground.Size(), 1);
    EXPECT_EQ(s.m_vBackground[0].m_nColor, 22);
    EXPECT_EQ(s.m_vBackground[0].m_dScrollY, 0.5);
    EXPECT_EQ(s.m_vBackground[0].m_dOffsetY, 4.0);
    ASSERT_EQ(s.m_vText.Size(), 1);
    EXPECT_EQ(s.m_vText[0].m_strText, "text");
    EXPECT_EQ(s.m_RuleCharaShot.m_nBottomMargin, 9);
    EXPECT_EQ(s.m_RuleCharaShot.m_bBottom, 1);
  }
}

TEST_F(StageFileTest, OldRankingListsAreCutOrFilledToFiveWithoutTheNewCategories) {
  struct Case {
    std::initializer_list<int32_t> file;
    cVector<int32_t> want;
  } cases[] = {{{7, 8, 9}, {7, 8, 9, 0, 0}},
               {{1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 0, 0}},
               {{}, {0, 0, 0, 0, 0}}};
  for (const Case& c : cases) {
    Bytes file = Segment(180, FileValue);
    file.raw(Tail(180, c.file));
    cEdStage s;
    LoadBytes(s, file.s);
    EXPECT_EQ(s.m_vRanked, c.want);
  }
}

// Versions 172 and older end after the texts; 173 has a trailer that the
// load does not examine.
TEST_F(StageFileTest, AFileWithoutTrailerReadsLikeOneWithIt) {
  Bytes old = Segment(172, FileValue);
  old.raw(Tail(172, {1, 1, 1, 1, 1}));
  Bytes next = Segment(173, FileValue);
  next.raw(Tail(173, {1, 1, 1, 1, 1}));
  next.s.replace(next.s.size() - 4, 4, "\0\0\0\0", 4);
  ASSERT_EQ(next.s.size(), old.s.size() + 4);
  cEdStage a, b;
  LoadBytes(a, old.s);
  LoadBytes(b, next.s);
  EXPECT_EQ(SaveBytes(a), SaveBytes(b));
}

// Rules of the 28-byte layout and backgrounds of the first layout. The side
// flags that version 125 added are those of a new stage, whatever the
// record held before.
TEST_F(StageFileTest, AVeryOldStageGetsTheRuleFlagsOfANewStage) {
  Bytes file = Segment(60, FileValue);
  file.raw(Tail(60, {1, 1, 1}));
  cEdStage s;
  for (cEdOffScreenRule* rule : {&s.m_RuleChara, &s.m_RuleItem, &s.m_RuleHeroShot, &s.m_RuleCharaShot}) {
    rule->m_bRight = 7;
    rule->m_bTop = 7;
    rule->m_bBottom = 7;
  }
  LoadBytes(s, file.s);
  struct Case {
    const cEdOffScreenRule& rule;
    int32_t left, sides, margin;
  } cases[] = {{s.m_RuleChara, 0, 0, 2},
               {s.m_RuleBlockChara, 1, 0, 0},
               {s.m_RuleItem, 0, 0, 3},
               {s.m_RuleHeroShot, 1, 1, 0},
               {s.m_RuleCharaShot, 1, 1, 9}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.rule.m_bLeft, c.left);
    EXPECT_EQ(c.rule.m_bRight, c.sides);
    EXPECT_EQ(c.rule.m_bTop, c.sides);
    EXPECT_EQ(c.rule.m_bBottom, c.sides);
    EXPECT_EQ(c.rule.m_nLeftMargin, c.margin);
    EXPECT_EQ(c.rule.m_nBottomMargin, c.margin);
  }
  ASSERT_EQ(s.m_vBackground.Size(), 1);
  EXPECT_EQ(s.m_vBackground[0].m_bVisible, 1);
  EXPECT_EQ(s.m_vBackground[0].m_nColor, 22);
  EXPECT_EQ(s.m_vBackground[0].m_dScrollX, 0.1);
  EXPECT_EQ(s.m_vBackground[0].m_strFile, "bg.bmp");
}

TEST_F(StageFileTest, LoadSaveLoadSaveGivesTheSameBytes) {
  for (int version : {60, 154, 199, 734}) {
    Bytes file = Segment(version, FileValue, "name");
    file.raw(Tail(version, {1, 1, 0, 1, 1}));
    cEdStage first;
    LoadBytes(first, file.s);
    const std::string once = SaveBytes(first);
    cEdStage second;
    LoadBytes(second, once);
    EXPECT_EQ(SaveBytes(second), once) << version;
    EXPECT_EQ(second.m_strName, "name");
  }
}

TEST_F(StageFileTest, AReplayTakesTheSettingsOfTheSecondRecord) {
  cEdStage settings;
  settings.m_strName = "abc";
  settings.m_nWidth = 40;
  settings.m_vRanked = {0, 0, 1, 1, 0};
  settings.m_RuleItem.Set(1, 1, 0, 0, 4, 4, 4, 4);
  settings.m_vText.resize(1);
  settings.m_vText[0].m_strText = "kept";
  cEdStage running;
  running.m_strName = "xyz";
  running.m_nWidth = 99;
  running.m_vText.clear();
  cEdBlock block;
  block.m_nGraphic = 6;
  running.m_vPlacedBlock.push_back(block);
  running.m_vPaletteItem.resize(4);

  cDataWriter w;
  running.SaveForReplay(w, settings);
  cEdStage back;
  LoadBytes(back, w.Bytes());
  EXPECT_EQ(back.m_strName, "abc");
  EXPECT_EQ(back.m_nWidth, 40);
  EXPECT_EQ(back.m_vRanked, settings.m_vRanked);
  EXPECT_EQ(back.m_RuleItem.m_nTopMargin, 4);
  ASSERT_EQ(back.m_vText.Size(), 1);
  EXPECT_EQ(back.m_vText[0].m_strText, "kept");
  ASSERT_EQ(back.m_vPlacedBlock.Size(), 1) << "palettes and placements are the running stage's";
  EXPECT_EQ(back.m_vPlacedBlock[0].m_nGraphic, 6);
  EXPECT_EQ(back.m_vPaletteItem.Size(), 4);
  EXPECT_EQ(w.Bytes().substr(w.Bytes().size() - 4), std::string("\x15\xCD\x5B\x07", 4));
}

TEST_F(StageFileTest, ACutOrDamagedFileEndsTheReadWithoutTouchingMemoryOutside) {
  Bytes file = Segment(734, FileValue);
  file.raw(Tail(734, {1, 1, 1, 1, 1}));
  for (size_t cut = 0; cut < file.s.size(); cut += 7) {
    cEdStage s;
    cDataReader r(file.s.substr(0, cut));
    if (r.HasVersion()) s.Load(r);
    EXPECT_TRUE(r.Ended()) << cut;
    EXPECT_GE(s.m_nSpeedLevel, 1) << cut;
  }
  // A ranking count past the end of the file ends the read.
  Bytes huge = Segment(734, FileValue);
  huge.u32(0x40000000);
  cEdStage s;
  cDataReader r(huge.s);
  s.Load(r);
  EXPECT_TRUE(r.Ended());
}

namespace {

// A block of the current layout: the given reference, graphic, layer and
// cell; 11 inherit flags as given, no conditions.
void PutBlock(Bytes& b, int kind, int index, int graphic, int layer, int x, int y,
              const std::string& flags = std::string(11, '\0')) {
  b.u32(18).u8(static_cast<uint8_t>(kind)).i16(static_cast<int16_t>(index)).u8(0).u8(0);
  b.i16(static_cast<int16_t>(graphic)).u8(0).i16(0).u8(static_cast<uint8_t>(layer)).u8(0).u8(0).i16(0);
  b.u8(1).u8(0xFF).u8(0).i32(0).u8(0).i16(0).u8(0);
  b.u32(1).str("");
  b.i16(static_cast<int16_t>(x)).i16(static_cast<int16_t>(y));
  b.u32(static_cast<uint32_t>(flags.size())).raw(flags);
  b.u32(0);
}

// A player-operated character with a graphic: the hero.
void PutHero(Bytes& b, int x, int y) {
  PutCharaHead(b, 734, With(CharaFields(), {{13, 4}, {26, 0}}), "hero", x, y, 0, std::vector<uint8_t>(37, 0));
  b.u32(0).u32(0);
}

std::string DefaultBlockBytes() {
  Bytes b;
  PutDefaultBlock(b);
  return b.s;
}

template <class T>
std::string ElementBytes(T& element) {
  cDataWriter w;
  element.Save(w);
  return w.Bytes().substr(4);
}

}  // namespace

// Entry 0 of a palette is the "none" entry whatever the file holds there;
// each palette holds two entries at least.
TEST_F(StageFileTest, PaletteEntryZeroIsANewDefinitionAndShortPalettesGrowToTwo) {
  Bytes defs;
  defs.u32(1);
  PutBlock(defs, 0, 0, 12, 1, 5, 6);
  defs.u32(3);
  for (int i = 0; i < 3; ++i) PutDefaultChara(defs);
  defs.u32(0);
  defs.u32(0).u32(0).u32(0);
  Bytes file = Segment(734, FileValue);
  file.raw(Tail(734, {1, 1, 1, 1, 1}, defs.s));
  cEdStage s;
  LoadBytes(s, file.s);
  ASSERT_EQ(s.m_vPaletteBlock.Size(), 2);
  EXPECT_EQ(ElementBytes(s.m_vPaletteBlock[0]), DefaultBlockBytes());
  EXPECT_EQ(ElementBytes(s.m_vPaletteBlock[1]), DefaultBlockBytes());
  EXPECT_EQ(s.m_vPaletteChara.Size(), 3);
  EXPECT_EQ(s.m_vPaletteItem.Size(), 2);
}

// Placed elements each follow a zero word; a placement naming an entry of
// the stage palette takes its groups from the palette of the stage being
// read, not from the running stage.
TEST_F(StageFileTest, PlacementsFollowAZeroWordAndInheritFromTheirOwnStage) {
  Bytes defs;
  defs.u32(2);
  PutDefaultBlock(defs);
  PutBlock(defs, 0, 0, 9, 1, 0, 0);
  defs.u32(0).u32(0);
  Bytes placed;
  placed.u32(2).u32(0);
  std::string flags(11, '\0');
  flags[BLOCKGROUP_GRAPHIC] = 1;
  PutBlock(placed, PALETTEKIND_STAGE, 1, 3, 0, 7, 8, flags);
  placed.u32(0);
  PutBlock(placed, 0, 0, 2, 0, 1, 2);
  placed.u32(1).u32(0);
  PutHero(placed, 4, 5);
  placed.u32(0);
  defs.raw(placed.s);
  Bytes file = Segment(734, FileValue);
  file.raw(Tail(734, {1, 1, 1, 1, 1}, defs.s));

  cEdStage s;
  ASSERT_EQ(Stage.m_vPaletteBlock.Size(), 1) << "the running stage holds no entry 1";
  LoadBytes(s, file.s);
  ASSERT_EQ(s.m_vPlacedBlock.Size(), 2);
  const cEdBlock& inheriting = s.m_vPlacedBlock[0];
  EXPECT_EQ(inheriting.m_nPaletteKind, PALETTEKIND_STAGE);
  EXPECT_EQ(inheriting.m_nPaletteIndex, 1);
  EXPECT_EQ(inheriting.m_nGraphic, 9) << "taken from the entry";
  EXPECT_EQ(inheriting.m_nLayer, 0) << "its own";
  EXPECT_EQ(inheriting.m_nX, 7);
  EXPECT_EQ(inheriting.m_nY, 8);
  EXPECT_EQ(s.m_vPlacedBlock[1].m_nGraphic, 2);
  ASSERT_EQ(s.m_vPlacedChara.Size(), 1);
  EXPECT_EQ(s.m_vPlacedChara[0].m_nX, 4);
  EXPECT_EQ(s.FindHero(), 0);
  EXPECT_TRUE(s.m_vPlacedItem.empty());

  // Written back, each placement again follows its zero word.
  const std::string once = SaveBytes(s);
  EXPECT_NE(once.find(std::string(4, '\0') + ElementBytes(s.m_vPlacedBlock[1])), std::string::npos);
  EXPECT_NE(once.find(std::string("\x01\0\0\0\0\0\0\0", 8) + ElementBytes(s.m_vPlacedChara[0])),
            std::string::npos);
  cEdStage again;
  LoadBytes(again, once);
  EXPECT_EQ(SaveBytes(again), once);
}
