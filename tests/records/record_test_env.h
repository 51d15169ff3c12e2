#pragma once
// A clean working folder with the report log open, no close request posted
// and the framework's globals as start-up leaves them; restored afterwards.
#include <gtest/gtest.h>

#include <string>

#include "base/report_log.h"
#include "platform/close_request.h"
#include "records/data_file.h"
#include "support/test_support.h"

class RecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    plat::ResetCloseRequests();
    m_savedStrip = bStripCR;
    CurVersion = DATA_VERSION;
    bStripCR = 0;
  }
  void TearDown() override {
    bStripCR = m_savedStrip;
    CurVersion = DATA_VERSION;
  }
  std::string Report() const { return m_dir.ReadFile("Report_Game.txt"); }

  testsupport::ScopedWorkDir m_dir;
  int m_savedStrip = 0;
};
