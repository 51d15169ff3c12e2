// Golden screens of the front end on the sample at 16 bits on the software
// display, as the player sees them once the fade-in is over: the title with
// its hand on the first entry, the options screen with its arrow on the
// first row. UPDATE_GOLDEN=1 writes them anew.
#include <gtest/gtest.h>

#include "front_end_rig.h"
#include "support/png_image.h"
#include "support/shown_frame.h"

class FrontEndGolden : public frontendtest::FrontEnd {};

TEST_F(FrontEndGolden, TitleScreen) {
  StartProgram();
  ASSERT_TRUE(RunUntilPhase(1));
  Frame();
  EXPECT_TRUE(testsupport::MatchesGolden("title_dd16", testsupport::ShownFrame()));
}

TEST_F(FrontEndGolden, OptionsScreen) {
  StartProgram();
  Game.m_nPlayCommand = GAMEMODE_OPTION;
  Game.m_nScene = SCENE_OPTION;
  ASSERT_TRUE(RunUntilPhase(1));
  Frame();
  EXPECT_TRUE(testsupport::MatchesGolden("options_dd16", testsupport::ShownFrame()));
}
