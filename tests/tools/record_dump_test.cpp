// recdump's text of record files: values in file order, typed by the layout
// of the file's version; lists and tails nested; short and damaged files
// said where they stop.
#include <gtest/gtest.h>

#include <filesystem>

#include "records/common_palette.h"
#include "tests/tools/sample_fixture.h"
#include "tools/recdump/record_dump.h"

namespace fs = std::filesystem;

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

// CharaEffect.dat with one entry of kind 0, parameters 5, 0, 32, 0, 0 and an
// empty name, written by version 734 (44 bytes).
const std::string kCharaEffect = Bytes({
    0xDE, 0x02, 0x00, 0x00,  // version 734
    0x01, 0x00, 0x00, 0x00,  // one entry
    0x02, 0x00, 0x00, 0x00,  // two blocks
    0x00, 0x00, 0x00, 0x00,  // kind 0
    0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // parameters 0..4
    0x01, 0x00, 0x00, 0x00,  // one string
    0x01, 0x00, 0x00, 0x00,  // empty
});

}  // namespace

TEST(RecordDump, CharaEffectEntryValueByValue) {
  EXPECT_EQ(DumpRecordBytes(kCharaEffect, "CharaEffect.dat"),
            "version 734\n"
            "entries 1\n"
            "  [0]\n"
            "    blocks 2\n"
            "      int32 0\n"
            "      int32[5] 5 0 32 0 0\n"
            "    strings 1\n"
            "      \"\"\n"
            "end of file at offset 44\n");
}

TEST(RecordDump, OlderVersionsAreTypedByTheirOwnLayout) {
  // An Anime.dat of version 54: the animation has no small fields yet, so its
  // segment holds no block; its one frame is three int32 and no string.
  const std::string anime54 = Bytes({0x36, 0, 0, 0, 1, 0, 0, 0,         // version 54, one entry
                                     0, 0, 0, 0,                         // no blocks
                                     1, 0, 0, 0, 3, 0, 0, 0, 'a', 'b', 0,  // the name "ab"
                                     1, 0, 0, 0,                         // one frame
                                     3, 0, 0, 0, 7, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(DumpRecordBytes(anime54, "anime.DAT"),
            "version 54\n"
            "entries 1\n"
            "  [0]\n"
            "    blocks 0\n"
            "    strings 1\n"
            "      \"ab\"\n"
            "    frames 1\n"
            "      [0]\n"
            "        blocks 3\n"
            "          int32 7\n"
            "          int32 2\n"
            "          int32 0\n"
            "        strings 0\n"
            "end of file at offset 47\n");
}

TEST(RecordDump, ShortAndDamagedFilesSayWhereTheReadStopped) {
  std::string moreBlocks = kCharaEffect;
  moreBlocks[8] = 3;  // a third block that the layout does not have
  struct Case {
    const char* what;
    std::string bytes;
    std::string kind;
    std::vector<std::string> said;
  } cases[] = {
      {"cut inside the parameters", kCharaEffect.substr(0, 30), "CharaEffect.dat",
       {"int32[5] 5 0 32 (the file ends here)", "end of file at offset 30"}},
      {"more blocks than the layout", moreBlocks, "CharaEffect.dat",
       {"has only 2 blocks; the read stops", "unread bytes from offset 36:", "01 00 00 00 01 00 00 00"}},
      {"a count the file cannot hold", Bytes({0xDE, 2, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2}), "Sound.dat",
       {"entries: (a count the rest of the file cannot hold)"}},
      {"no version word", Bytes({0xDE, 2}), "Sound.dat", {"no version word: the file is 2 bytes"}},
      {"an unknown kind", kCharaEffect, "Unknown.bin", {"not a kind of record file", "unread bytes from offset 4:", "01 00 00 00 02 00 00 00"}},
  };
  for (const Case& c : cases) {
    const std::string text = DumpRecordBytes(c.bytes, c.kind);
    for (const std::string& s : c.said) EXPECT_NE(text.find(s), std::string::npos) << c.what << ":\n" << text;
  }
}

TEST(RecordDump, FlowsNestedDeeperThanTheLoaderReadsStopTheRead) {
  // An item whose command carries a flow whose command carries a flow ...
  auto nested = [](int depth) {
    cEdCommand command;
    command.m_bItemCommand = 1;
    command.m_nType = ITEMCMDTYPE_FLOW_CHANGE;
    for (int level = 1; level < depth; ++level) {
      cEdCommand outer;
      outer.m_nType = ACTCMDTYPE_WAIT;
      outer.m_vFlows.resize(1);
      outer.m_vFlows[0].m_vCommands.push_back(command);
      command = outer;
    }
    cEdCommonPalette palette;
    palette.m_vPaletteItem.resize(2);
    palette.m_vPaletteItem[1].m_vCommands.push_back(command);
    cDataWriter w;
    palette.Save(w);
    return w.Bytes();
  };
  // The dump stops where the loader does: inside the command that carries
  // flows below the deepest level it reads.
  for (int depth : {COMMAND_MAX_NESTING + 1, COMMAND_MAX_NESTING + 2}) {
    SCOPED_TRACE(depth);
    const std::string bytes = nested(depth);
    cDataReader r(bytes);
    cEdCommonPalette loaded;
    loaded.Load(r);
    const bool cut = depth > COMMAND_MAX_NESTING + 1;
    EXPECT_EQ(r.Ended(), cut);
    const std::string text = DumpRecordBytes(bytes, "CommonPalette.cplt4");
    EXPECT_EQ(text.find("(flows nested deeper than the loader reads; the read stops)") != std::string::npos, cut);
    EXPECT_EQ(text.find("end of file at offset " + std::to_string(bytes.size())) != std::string::npos, !cut);
  }
}

TEST(RecordDump, KindsAreFoundByFileNameInAnyCase) {
  EXPECT_EQ(RecordKindOf("data\\database\\SOUND.DAT"), "Sound.dat");
  EXPECT_EQ(RecordKindOf("/tmp/x/system.dat"), "System.dat");
  EXPECT_EQ(RecordKindOf("user_data\\Option.dat"), "Option.dat");
  EXPECT_EQ(RecordKindOf("bgm\\Title.mid"), "");
  EXPECT_EQ(RecordKindOf("default\\worldmap.DAT"), "WorldMap.dat");
  EXPECT_EQ(RecordKindOf("data\\CommonPalette.cplt4"), "CommonPalette.cplt4");
  // Stage files by their extension, bare or numbered.
  for (const char* stage : {"data\\stg4\\c01-1.stg4_000", "a.STG4", "x/b.stg4_999"})
    EXPECT_EQ(RecordKindOf(stage), "*.stg4") << stage;
  for (const char* other : {"a.stg4_1", "a.stg4_00x", "a.stg4x", "stg4"}) EXPECT_EQ(RecordKindOf(other), "") << other;
}

class RecordDumpOfTheSample : public SampleProject {};

// Every record file of the sample dumps to its last byte: the dump reads the
// tails as the loaders do.
TEST_F(RecordDumpOfTheSample, EveryRecordFileDumpsToItsEnd) {
  int files = 0;
  for (const auto& e : fs::recursive_directory_iterator("default")) {
    if (!e.is_regular_file()) continue;
    const std::string path = e.path().string();
    const std::string kind = RecordKindOf(path);
    ASSERT_NE(kind, "") << path;
    const std::string bytes = Read(path);
    const std::string text = DumpRecordBytes(bytes, kind);
    EXPECT_NE(text.find("end of file at offset " + std::to_string(bytes.size()) + "\n"), std::string::npos)
        << path << ":\n" << text;
    EXPECT_EQ(text.find("(the"), std::string::npos) << path;
    EXPECT_EQ(text.find("(a "), std::string::npos) << path;
    if (kind == "*.stg4") {
      // Each placement after the word the loader skips; the trailer last.
      EXPECT_NE(text.find("      skipped 0\n      blocks "), std::string::npos) << path;
      EXPECT_NE(text.find("\n  trailer int32 123456789\nend of file"), std::string::npos) << path;
    }
    ++files;
  }
  EXPECT_EQ(files, 11 + 2 + 4);  // System.dat, the database, WorldMap.dat, CommonPalette.cplt4, the stages
}
