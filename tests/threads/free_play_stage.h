#pragma once
// A small stage in free play outside a series, run on a real game thread:
// a ground with the hero on it and no start banners. The clear and results
// tests start from it.
#include <gtest/gtest.h>

#include "game/game.h"
#include "platform/host_path.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/map_builder.h"
#include "support/stage_runner.h"

namespace testsupport {

// The stage's path: a file outside any numbered series.
inline constexpr char kFreePlayStagePath[] = "data\\stg4\\tst.";

inline StageRunner::Options GameThreadRunnerOptions() {
  StageRunner::Options options;
  options.gameThread = true;
  return options;
}

// In play when it returns, with user_data\free\ made for what the clear writes.
inline void StartFreePlayOnGround(StageRunner& run) {
  MapBuilder map({"..........", "..H.......", "##########"});
  map.Build();
  map.PlaceCharas('H', CharaDef().PlayerOperated());
  Stage.m_bStartBanner = 0;
  Stage.m_bStartBanner2 = 0;
  run.TakeStage();
  Game.m_nPlayKind = PLAYKIND_FREE;
  Game.m_nPlayCommand = GAMEMODE_FREE;
  ASSERT_TRUE(run.EnterPlay());
  PlayData.m_strStagePath = kFreePlayStagePath;
  PlayData.m_bNumberedStage = 0;
  ASSERT_TRUE(plat::CreateDirectory("user_data"));
  ASSERT_TRUE(plat::CreateDirectory("user_data\\free"));
}

}  // namespace testsupport
