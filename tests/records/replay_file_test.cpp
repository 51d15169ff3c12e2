// Replay files: the layout (the version word, the stage as loaded with its
// palettes and placements, the input record, the progress at the attempt's
// start), the round trip, the versions without a progress record, and the
// files that are refused whole, with their reason, changing nothing.
#include <gtest/gtest.h>

#include "platform/host_path.h"
#include "platform/message_box.h"
#include "record_test_env.h"
#include "records/replay_input.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "save_bytes.h"

namespace {

// A stage of a few cells: ground, its hero and one other character.
void FillTinyStage(cEdStage& s, bool hero = true) {
  s.Reset();
  s.m_strName = "tiny";
  s.m_nWidth = 20;
  s.m_nHeight = 15;
  cEdBlock block;
  block.m_nGraphic = 3;
  block.m_nX = 1;
  block.m_nY = 13;
  s.m_vPlacedBlock.push_back(block);
  cEdChara chara;
  chara.m_nGraphic = 5;
  chara.m_nOperator = hero ? 0 : 1;
  chara.m_nX = 2;
  chara.m_nY = 12;
  s.m_vPlacedChara.push_back(chara);
  chara.m_nOperator = 1;
  chara.m_nX = 9;
  s.m_vPlacedChara.push_back(chara);
}

std::string StageBytes(cEdStage& stage, cEdStage& copy) {
  cDataWriter w;
  stage.SaveForReplay(w, copy);
  return w.Bytes().substr(4);
}

std::string RecordBytes(cRecord& record) {
  cDataWriter w;
  record.Save(w);
  return w.Bytes().substr(4);
}

// The input record of a short attempt, by hand: seed 77; directions 0 for
// two frames, then 2 for one; buttons 1 for three.
Bytes Input(uint32_t dirValues = 2, uint32_t dirRuns = 2, uint32_t buttons = 1) {
  Bytes b;
  b.u32(1).i32(77).u32(0);
  b.u32(dirValues);
  for (uint32_t i = 0; i < dirValues && i < 2; ++i) b.i16(static_cast<int16_t>(i * 2));
  b.u32(buttons);
  for (uint32_t i = 0; i < buttons; ++i) b.i16(1);
  b.u32(dirRuns);
  for (uint32_t i = 0; i < dirRuns && i < 2; ++i) b.u32(2 - i);
  b.u32(buttons);
  for (uint32_t i = 0; i < buttons; ++i) b.u32(3);
  return b;
}

class ReplayFileTest : public RecordTest {
 protected:
  void SetUp() override {
    RecordTest::SetUp();
    FillTinyStage(m_stage);
    m_copy.CopySettingsFrom(m_stage);
    m_copy.ClearDefinitions();
    m_copy.m_strName = "as loaded";
    m_snapshot.m_nTotalScore = 1234;
    m_snapshot.m_strStagePath = "tiny.";
  }
  // A whole file at the current version: each part as the layout places it.
  std::string File(const Bytes& input) {
    Bytes head;
    head.u32(734);
    return head.s + StageBytes(m_stage, m_copy) + input.s + RecordBytes(m_snapshot);
  }
  // What the four targets hold, to see that a refused file changed nothing.
  std::string Targets() {
    cDataWriter w;
    m_outStage.Save(w);
    m_outCopy.Save(w);
    m_outReplay.Save(w);
    m_outProgress.Save(w);
    return w.Bytes();
  }

  cEdStage m_stage, m_copy;
  cSaveData m_snapshot;
  cEdStage m_outStage, m_outCopy;
  cReplayInput m_outReplay;
  cSaveData m_outProgress;
  testsupport::ScriptedBoxes m_boxes;
};

}  // namespace

TEST_F(ReplayFileTest, AFileIsItsVersionTheStageTheInputAndTheProgress) {
  cReplayInput r;
  r.m_nSeed = 77;
  r.m_vDirValues = {0, 2};
  r.m_vDirRuns = {2, 1};
  r.m_vButtonValues = {1};
  r.m_vButtonRuns = {3};
  ASSERT_TRUE(plat::CreateDirectory("user_data"));
  ASSERT_TRUE(plat::CreateDirectory("user_data\\rpl4"));
  const std::string path = "user_data\\rpl4\\tiny_00.rpl4_734";
  ASSERT_EQ(r.SaveFile(path, m_stage, m_copy, m_snapshot), 1);
  std::string written;
  ASSERT_TRUE(plat::ReadWholeFile(path, written));
  const std::string expected = File(Input());
  EXPECT_EQ(written, expected);

  // Read back whole: the stage with its own placements and the copy's
  // settings, the copy without palettes or placements, the input, the progress.
  m_outReplay.m_nDirIndex = 1;
  ASSERT_EQ(m_outReplay.LoadFile(path, m_outStage, m_outCopy, m_outProgress), 1);
  EXPECT_EQ(m_outStage.m_strName, "as loaded");
  EXPECT_EQ(m_outStage.m_vPlacedChara.Size(), 2);
  EXPECT_EQ(m_outCopy.m_strName, "as loaded");
  EXPECT_TRUE(m_outCopy.m_vPlacedChara.empty() && m_outCopy.m_vPaletteChara.empty());
  EXPECT_EQ(m_outReplay.m_nSeed, 77);
  EXPECT_EQ(m_outReplay.m_vDirValues, r.m_vDirValues);
  EXPECT_EQ(m_outReplay.m_vDirRuns, r.m_vDirRuns);
  EXPECT_EQ(m_outReplay.m_vButtonValues, r.m_vButtonValues);
  EXPECT_EQ(m_outReplay.m_vButtonRuns, r.m_vButtonRuns);
  EXPECT_EQ(m_outReplay.m_nDirIndex, 1) << "the cursors are the set-up's";
  EXPECT_EQ(m_outReplay.m_strFile, expected) << "kept for the restarts of playback";
  EXPECT_EQ(m_outProgress.m_nTotalScore, 1234);
  EXPECT_EQ(m_outProgress.m_strStagePath, "tiny.");
  EXPECT_TRUE(m_boxes.shown.empty());

  // A restart reads the kept bytes again: the stage's run-time changes go.
  m_outStage.m_vPlacedChara.clear();
  m_outProgress.m_nTotalScore = 5;
  ASSERT_TRUE(plat::RemoveTree(path));
  ASSERT_EQ(m_outReplay.Reload(m_outStage, m_outCopy, m_outProgress), 1) << "never from the disk";
  EXPECT_EQ(m_outStage.m_vPlacedChara.Size(), 2);
  EXPECT_EQ(m_outProgress.m_nTotalScore, 1234);
  m_outReplay.Clear();
  EXPECT_EQ(m_outReplay.Reload(m_outStage, m_outCopy, m_outProgress), 0) << "nothing loaded, nothing to restart";
}

TEST_F(ReplayFileTest, FilesUpToVersion172HaveNoProgressRecord) {
  for (int version : {172, 173}) {
    SCOPED_TRACE(version);
    CurVersion = version;
    cDataWriter w;
    m_stage.SaveForReplay(w, m_copy);
    std::string bytes = w.Bytes();
    // The trailer came with version 173.
    if (version == 172) bytes.resize(bytes.size() - 4);
    bytes += Input().s;
    // The progress record as version 173 wrote it (its score of the run 98765).
    if (version == 173) bytes += PlainSlot(173, SlotFields()).substr(4);
    CurVersion = DATA_VERSION;

    cSaveData progress;
    progress.m_nTotalScore = 99;
    cReplayInput r;
    const char* fault = r.LoadBytes(bytes, m_outStage, m_outCopy, progress);
    EXPECT_EQ(fault, nullptr) << fault;
    EXPECT_EQ(r.m_nSeed, 77);
    EXPECT_EQ(m_outStage.m_vPlacedChara.Size(), 2);
    EXPECT_EQ(progress.m_nTotalScore, version == 172 ? 99 : 98765);
  }
}

TEST_F(ReplayFileTest, ADamagedFileIsRefusedWithItsReasonAndChangesNothing) {
  const std::string good = File(Input());
  const size_t stageEnd = 4 + StageBytes(m_stage, m_copy).size();
  const size_t inputEnd = stageEnd + Input().s.size();
  cEdStage noHero;
  FillTinyStage(noHero, false);
  auto withVersion = [&](uint32_t v) {
    std::string s = good;
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
    return s;
  };
  std::string badTrailer = good;
  badTrailer[stageEnd - 1] = 0;
  Bytes hugeCount;
  hugeCount.u32(1).i32(77).u32(0).u32(0xFFFFFFF0u);

  struct Case {
    const char* what;
    std::string bytes;
    const char* fault;
  } cases[] = {
      {"empty", "", "the file is too short for its version"},
      {"version 0", withVersion(0), "the file's version is not 1 to 734"},
      {"version 735", withVersion(735), "the file's version is not 1 to 734"},
      {"cut in the stage part", good.substr(0, stageEnd / 2), "the stage part is cut short or damaged"},
      {"cut in the trailer", good.substr(0, stageEnd - 2), "the stage part is cut short or damaged"},
      {"bad trailer", badTrailer, "the stage part does not end in its trailer"},
      {"no hero", std::string("\xDE\x02\x00\x00", 4) + StageBytes(noHero, noHero) + Input().s + RecordBytes(m_snapshot),
       "the stage places no hero"},
      {"cut in the input", good.substr(0, stageEnd + 20),
       "the input record is cut short or holds a count larger than the file"},
      {"huge count", good.substr(0, stageEnd) + hugeCount.s + RecordBytes(m_snapshot),
       "the input record is cut short or holds a count larger than the file"},
      {"more values than runs", File(Input(2, 1)), "an input stream has not as many runs as values"},
      {"no input", File(Input(0, 0, 0)), "the replay holds no input"},
      {"no progress record", good.substr(0, inputEnd), "the progress record is cut short or damaged"},
      {"cut in the progress record", good.substr(0, good.size() - 3), "the progress record is cut short or damaged"},
  };
  m_outStage.m_strName = "before";
  m_outReplay.m_nSeed = 5;
  m_outReplay.m_vDirValues = {9};
  m_outProgress.m_nTotalScore = 42;
  const std::string before = Targets();
  for (const Case& c : cases) {
    const char* fault = m_outReplay.LoadBytes(c.bytes, m_outStage, m_outCopy, m_outProgress);
    EXPECT_STREQ(fault, c.fault) << c.what;
    EXPECT_EQ(Targets(), before) << c.what;
  }
  EXPECT_EQ(m_outReplay.LoadBytes(good, m_outStage, m_outCopy, m_outProgress), nullptr);
  EXPECT_TRUE(m_boxes.shown.empty()) << "the bytes' check shows nothing itself";
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(ReplayFileTest, ARefusedOrMissingFileIsNamedInABox) {
  m_dir.WriteFile("bad.rpl4_734", std::string("\xDE\x02\x00\x00\x01", 5));
  m_outProgress.m_nTotalScore = 42;
  const std::string before = Targets();
  EXPECT_EQ(m_outReplay.LoadFile("bad.rpl4_734", m_outStage, m_outCopy, m_outProgress), 0);
  EXPECT_EQ(m_outReplay.LoadFile("missing.rpl4_734", m_outStage, m_outCopy, m_outProgress), 0);
  ASSERT_TRUE(plat::CreateDirectory("folder.rpl4_734"));
  EXPECT_EQ(m_outReplay.LoadFile("folder.rpl4_734", m_outStage, m_outCopy, m_outProgress), 0);
  EXPECT_EQ(Targets(), before);
  EXPECT_TRUE(m_outReplay.m_strFile.empty());
  ASSERT_EQ(m_boxes.shown.size(), 3u);
  EXPECT_NE(m_boxes.shown[2].text.find("the file cannot be read"), std::string::npos);
  EXPECT_NE(m_boxes.shown[0].text.find("bad.rpl4_734"), std::string::npos);
  EXPECT_NE(m_boxes.shown[0].text.find("the stage part is cut short or damaged"), std::string::npos);
  EXPECT_NE(m_boxes.shown[1].text.find("the file cannot be opened"), std::string::npos);
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(ReplayFileTest, AFailedSaveKeepsWhatWasThere) {
  cReplayInput r;
  r.RecordFrame(0, 0);
  // A folder where the file would go: the rename over it fails.
  m_dir.WriteFile("taken.rpl4_734/keep", "old bytes");
  EXPECT_EQ(r.SaveFile("taken.rpl4_734", m_stage, m_copy, m_snapshot), 0);
  EXPECT_EQ(m_dir.ReadFile("taken.rpl4_734/keep"), "old bytes");
  EXPECT_EQ(r.SaveFile("no_folder\\x.rpl4_734", m_stage, m_copy, m_snapshot), 0);
  EXPECT_NE(Report().find("no_folder\\x.rpl4_734 : the replay could not be written"), std::string::npos);
}
