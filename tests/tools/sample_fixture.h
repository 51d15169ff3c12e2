#pragma once
// A test that writes the sample project into a fresh folder and works inside
// it, with the report log open there and no close request posted.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/report_log.h"
#include "platform/close_request.h"
#include "records/common_palette.h"
#include "records/stage.h"
#include "records/world_map.h"
#include "support/test_support.h"
#include "tools/sample/sample_project.h"

class SampleProject : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(WriteSampleProject(m_dir.Path() + "/game", error)) << error;
    std::filesystem::current_path(m_dir.Path() + "/game");
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    plat::ResetCloseRequests();
  }
  // The project records that the writer and the loads filled go back to new ones.
  void TearDown() override {
    CommonPalette = cEdCommonPalette();
    WorldMap.Reset();
    Stage.Reset();
    StageCopy.Reset();
  }
  // The bytes of a file of the sample (host path relative to the game folder).
  std::string Read(const std::string& relative) const { return m_dir.ReadFile("game/" + relative); }
  std::string Report() const { return Read("Report_Game.txt"); }

  testsupport::ScopedWorkDir m_dir;  // restores the working directory at the end
};

// A name as a record holds it ('\' separators) as a host path relative to
// the game folder, letter case kept.
inline std::string HostName(std::string name) {
  for (char& c : name)
    if (c == '\\') c = '/';
  return name;
}
