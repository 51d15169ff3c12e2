// The OGG player set against a recording plug-in with the same entry points:
// the calls it makes, in order, and what it does when the plug-in is missing.
#include "media/vox.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/close_request.h"
#include "platform/shared_library.h"
#include "support/test_support.h"

using testsupport::ScopedWorkDir;
using testsupport::ScriptedBoxes;
using testsupport::Sjis;
using Calls = std::vector<std::string>;

namespace {

// The recording plug-in's own view of its log: the same library, opened once
// more by the test, so it stays loaded across cVox's Init and Release.
class Recording {
 public:
  Recording() {
    m_lib.Open(RECORDING_VOX_FILE);
    m_log = reinterpret_cast<const char* (*)()>(m_lib.Symbol("RecordingVoxLog"));
    m_failCreate = reinterpret_cast<void (*)(int)>(m_lib.Symbol("RecordingVoxFailCreate"));
  }
  bool Ready() const { return m_log && m_failCreate; }
  Calls Take() {
    Calls out;
    std::istringstream in(m_log());
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }
  void FailCreate(int n) { m_failCreate(n); }

 private:
  plat::SharedLibrary m_lib;
  const char* (*m_log)() = nullptr;
  void (*m_failCreate)(int) = nullptr;
};

class VoxSet : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_rec.Ready());
    m_rec.FailCreate(-1);
    m_rec.Take();
    SetVoxLibraryPath(RECORDING_VOX_FILE);
    // "表" ends in 0x5C, which is no separator inside the character.
    m_dir.WriteFile("bgm/\xE8\xA1\xA8.ogg", "any bytes: the recording plug-in only looks for the file");
    m_dir.WriteFile("bgm/a.ogg", "x");
  }
  void TearDown() override {
    m_vox.Release();
    SetVoxLibraryPath("");
    plat::ResetCloseRequests();
  }
  // Init and two channels, with their calls taken.
  void Ready2() {
    ASSERT_EQ(m_vox.Init(), 1);
    ASSERT_EQ(m_vox.SetChannels(2), 1);
    ASSERT_EQ(m_rec.Take(), (Calls{"attach", "create 0", "create 1"}));
  }

  ScopedWorkDir m_dir;
  Recording m_rec;
  cVox m_vox;
};

}  // namespace

TEST_F(VoxSet, PlaysAChannelWithResetLoadLoopCountAndPlayAfterStoppingTheOtherOne) {
  Ready2();
  const std::string sjis = Sjis("bgm\\表.ogg");
  EXPECT_EQ(m_vox.Play(1, sjis.c_str(), 1), 1);
  EXPECT_EQ(m_rec.Take(), (Calls{"1 reset", "1 load bgm/\xE8\xA1\xA8.ogg", "1 loop 2147483647", "1 play"}));
  EXPECT_EQ(m_vox.m_nPlaying, 1);

  EXPECT_EQ(m_vox.Play(0, "bgm\\a.ogg", 0), 1);
  EXPECT_EQ(m_rec.Take(), (Calls{"1 stop", "0 reset", "0 load bgm/a.ogg", "0 loop 0", "0 play"}));
  EXPECT_EQ(m_vox.m_nPlaying, 0);

  m_vox.Stop();
  EXPECT_EQ(m_rec.Take(), (Calls{"0 stop"}));
  EXPECT_EQ(m_vox.m_nPlaying, -1);
  m_vox.Stop();
  EXPECT_EQ(m_rec.Take(), Calls{});

  EXPECT_EQ(m_vox.Release(), 1);
  EXPECT_EQ(m_rec.Take(), (Calls{"0 destroy", "1 destroy"}));
  EXPECT_EQ(m_vox.m_lpObjects, nullptr);
  EXPECT_EQ(m_vox.m_nObjects, 0);
  EXPECT_EQ(m_vox.Release(), 0);
  EXPECT_EQ(m_rec.Take(), Calls{});
}

TEST_F(VoxSet, AFailedLoadPlaysNothing) {
  Ready2();
  ASSERT_EQ(m_vox.Play(1, "bgm\\a.ogg", 1), 1);
  m_rec.Take();
  EXPECT_EQ(m_vox.Play(0, "bgm\\none.ogg", 1), 0);
  EXPECT_EQ(m_rec.Take(), (Calls{"1 stop", "0 reset", "0 load bgm/none.ogg"}));
  EXPECT_EQ(m_vox.m_nPlaying, -1);
}

TEST_F(VoxSet, RequestsOutsideTheTableOrWithoutAPathTouchNothing) {
  Ready2();
  ASSERT_EQ(m_vox.Play(1, "bgm\\a.ogg", 1), 1);
  m_rec.Take();
  struct Case {
    int channel;
    const char* path;
  };
  for (const Case& c : {Case{2, "bgm\\a.ogg"}, Case{-1, "bgm\\a.ogg"}, Case{0, ""}, Case{0, nullptr}}) {
    SCOPED_TRACE(c.channel);
    EXPECT_EQ(m_vox.Play(c.channel, c.path, 1), 0);
    EXPECT_EQ(m_rec.Take(), Calls{});
    EXPECT_EQ(m_vox.m_nPlaying, 1);
  }
}

TEST_F(VoxSet, NewChannelsDestroyTheOldObjectsFirst) {
  Ready2();
  ASSERT_EQ(m_vox.Play(0, "bgm\\a.ogg", 1), 1);
  m_rec.Take();
  EXPECT_EQ(m_vox.SetChannels(1), 1);
  EXPECT_EQ(m_rec.Take(), (Calls{"0 destroy", "1 destroy", "create 2"}));
  EXPECT_EQ(m_vox.m_nPlaying, -1);
  EXPECT_EQ(m_vox.m_nObjects, 1);
}

TEST_F(VoxSet, AnObjectThePlugInCannotMakeIsOutOfMemoryAndItsChannelPlaysNothing) {
  ASSERT_EQ(m_vox.Init(), 1);
  m_rec.FailCreate(1);
  ScriptedBoxes boxes;
  EXPECT_EQ(m_vox.SetChannels(2), 0);
  EXPECT_EQ(m_rec.Take(), (Calls{"attach", "create 0", "create failed"}));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, Sjis("メモリが不足しています！"));
  EXPECT_GE(plat::CloseRequestCount(), 1u);
  EXPECT_EQ(m_vox.Play(1, "bgm\\a.ogg", 1), 0);
  EXPECT_EQ(m_rec.Take(), Calls{});
  EXPECT_EQ(m_vox.Play(0, "bgm\\a.ogg", 1), 1);
}

TEST_F(VoxSet, AMissingOrHalfPlugInShowsOneBoxAndLeavesNothingLoaded) {
  struct Case {
    const char* library;
    const char* reason;  // part of the system's text
  };
  for (const Case& c : {Case{"/nonexistent/libvox.so", "/nonexistent/libvox.so"},
                        Case{RECORDING_VOX_HALF_FILE, "VoxAttachHost"}}) {
    SCOPED_TRACE(c.library);
    SetVoxLibraryPath(c.library);
    ScriptedBoxes boxes;
    cVox vox;
    EXPECT_EQ(vox.Init(), 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, Sjis("oggの初期化に失敗！"));
    EXPECT_EQ(boxes.shown[0].caption, Sjis("エラー"));
    EXPECT_NE(vox.LastError().find(c.reason), std::string::npos) << vox.LastError();
    EXPECT_FALSE(vox.m_hModule.IsOpen());
    EXPECT_EQ(vox.m_pfnCreateVox, nullptr);
    EXPECT_EQ(dlopen(c.library, RTLD_NOW | RTLD_NOLOAD), nullptr);
    EXPECT_EQ(vox.SetChannels(1), 0);
    EXPECT_EQ(vox.Play(0, "bgm\\a.ogg", 1), 0);
    vox.Stop();
    EXPECT_EQ(vox.Release(), 0);
  }
  EXPECT_EQ(m_rec.Take(), Calls{});  // the half library is a copy of its own
}

TEST(VoxLibrary, LiesBesideTheRunningProgramUnlessNamed) {
  EXPECT_EQ(VoxLibraryPath(), plat::ProgramDirectory() + "/libvox.so");
  SetVoxLibraryPath("/somewhere/libvox.so");
  EXPECT_EQ(VoxLibraryPath(), "/somewhere/libvox.so");
  SetVoxLibraryPath("");
  EXPECT_EQ(VoxLibraryPath(), plat::ProgramDirectory() + "/libvox.so");
}
