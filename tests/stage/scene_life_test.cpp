// The stage scene's life: a new scene, its entry from another scene or from
// itself (the next area), the images it loads and releases, and the
// frame rate the frame loop gives it.
#include <gtest/gtest.h>

#include <string>

#include "game/characters.h"
#include "game/game.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "records/replay_input.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/stage_runner.h"

using namespace testsupport;

namespace {

// A ground with the hero on it, an image layer and a plain-colour layer.
void BuildStage(StageRunner& run) {
  MapBuilder map({"..........", "..H.......", "##########"});
  map.Build();
  map.PlaceCharas('H', CharaDef().PlayerOperated());
  cEdBackground image;
  image.m_strFile = "bmp\\Title.bmp";
  cEdBackground plain;
  plain.m_bFillColor = 1;
  plain.m_strFile = "bmp\\Title.bmp";
  Stage.m_vBackground = {image, plain};
  run.TakeStage();
}

}  // namespace

TEST(StageSceneLife, ANewSceneWaitsForItsSetUpWithNoToneAndNoDrawingLayer) {
  // No drawing layer runs here: making and deleting the scene touches none.
  auto* scene = new cSceneStage;
  EXPECT_EQ(scene->m_nPhase, -1);
  EXPECT_EQ(scene->m_ColorTone.m_nPrevLevel, 255);
  EXPECT_EQ(scene->m_ColorTone.m_nLevel + scene->m_ColorTone.m_bRunning, 0);
  EXPECT_EQ(scene->m_PhaseTable[STAGESTATE_PLAY], &cSceneStage::Play);
  EXPECT_EQ(scene->m_PhaseTable[STAGESTATE_GAMEOVER], &cSceneStage::GameOver);
  delete scene;
}

TEST(StageSceneLife, AFreshEntryLoadsEveryImageAndStartsTheRunAnew) {
  StageRunner run;
  BuildStage(run);
  PlayData.m_nStartLives = 3;
  PlayData.m_nLives = 9;  // what the last run left
  PlayData.m_nTotalScore = 500;
  PlayData.m_nTimeLeftSum = PlayData.m_nClearTimeSum = PlayData.m_nHpSum = PlayData.m_nSpSum = 7;
  Replay.m_nSeed = 4;
  Replay.m_vDirValues = {1};
  ReplayPrev.m_vDirValues = {2};
  run.Enter(SCENE_WORLDMAP);
  run.Frame();
  // The stage's layers renamed: an image layer takes its file, a plain one none.
  EXPECT_EQ(SurfaceDefs[55].szFileName, "bmp\\Title.bmp");
  EXPECT_EQ(SurfaceDefs[56].szFileName, "");
  EXPECT_EQ(SurfaceTable[55].nWidth, 640);
  EXPECT_TRUE(SurfaceTable[2].lpDDS);
  EXPECT_TRUE(SurfaceTable[70].lpDDS);
  // The life in play is not among the lives shown.
  EXPECT_EQ(PlayData.m_nLives, 2);
  EXPECT_EQ(PlayData.m_nTotalScore, 0);
  EXPECT_EQ(PlayData.m_nTimeLeftSum + PlayData.m_nClearTimeSum + PlayData.m_nHpSum + PlayData.m_nSpSum, 0);
  EXPECT_TRUE(Replay.m_vDirValues.empty());
  EXPECT_TRUE(ReplayPrev.m_vDirValues.empty());
  EXPECT_NE(Hero(), nullptr);
  // The scene takes its images with it.
  Game.DeleteScenes();
  EXPECT_FALSE(SurfaceTable[2].lpDDS);
  EXPECT_FALSE(SurfaceTable[55].lpDDS);
  EXPECT_EQ(CurStage, nullptr);
}

TEST(StageSceneLife, TheNextAreaLoadsOnlyItsBackgroundsAndReloadsTheSettings) {
  StageRunner run;
  BuildStage(run);
  PlayData.m_nLives = 3;
  SystemData.m_bReplay = 0;
  Replay.m_vDirValues = {1};
  Stage.m_nTimeLimit = 7;  // as a command of the last area left it
  Stage.m_bTimeLimit = StageCopy.m_bTimeLimit = 1;
  StageCopy.m_nTimeLimit = 80;
  run.Enter(SCENE_STAGE);
  run.Frame();
  EXPECT_TRUE(SurfaceTable[55].lpDDS);
  EXPECT_FALSE(SurfaceTable[2].lpDDS);
  EXPECT_EQ(PlayData.m_nLives, 3);
  EXPECT_EQ(Replay.m_vDirValues.size(), 1u);
  EXPECT_EQ(run.Scene()->m_nTimeLeft, 80);
}

TEST(StageSceneLife, WithNoLifeLeftTheStageStillStarts) {
  StageRunner run;
  BuildStage(run);
  PlayData.m_nStartLives = 0;
  run.EnterPlay();
  EXPECT_EQ(PlayData.m_nLives, 0);
}

TEST(StageSceneLife, ATestPlayStartsAtAreaOne) {
  StageRunner run;
  BuildStage(run);
  bTestPlay = 1;
  PlayData.m_nAreaNo = 4;
  PlayData.m_nLives = 0;
  run.Enter();
  run.Frame();
  EXPECT_EQ(PlayData.m_nAreaNo, 1);
  EXPECT_EQ(PlayData.m_nLives, 0);
  bTestPlay = 0;
}

TEST(StageSceneLife, TheFrameLoopGivesTheSceneItsMeasuredRate) {
  StageRunner run;
  BuildStage(run);
  run.Enter();
  // The count is published once a second of the fake clock.
  run.Frames(130);
  EXPECT_GT(nMeasuredFps.load(), 0);
  EXPECT_EQ(run.Scene()->m_nFps, nMeasuredFps.load());
}
