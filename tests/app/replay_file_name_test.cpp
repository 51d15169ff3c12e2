// The replay save's name: the replay folder made when missing, the proposed
// name in the save dialog, the player's choice or cancel.
#include <gtest/gtest.h>

#include <string>

#include "app/replay_file_name.h"
#include "dialog_fixture.h"
#include "platform/host_path.h"
#include "platform/virtual_keys.h"
#include "support/test_support.h"

class ReplayFileNameTest : public DialogFixture {
 protected:
  testsupport::ScopedWorkDir m_dir;
};

TEST_F(ReplayFileNameTest, TheProposalIsConfirmedOrCancelledInTheSaveDialog) {
  ASSERT_FALSE(plat::PathExists("user_data"));
  OnShow([](const plat::DialogShown& shown) { plat::PushKeyStroke(shown.windowId, VK_RETURN); });
  char path[260] = "junk";
  ASSERT_EQ(ChooseReplayFileName(path, "data\\stg4\\cave.stg4_734"), 1);
  EXPECT_TRUE(plat::IsDirectory("user_data\\rpl4")) << "made before the name is proposed";
  EXPECT_NE(std::string(path).find("cave_00.rpl4_734"), std::string::npos) << path;

  OnShow([](const plat::DialogShown& shown) { plat::PushKeyStroke(shown.windowId, VK_ESCAPE); });
  EXPECT_EQ(ChooseReplayFileName(path, "cave."), 0);
}
