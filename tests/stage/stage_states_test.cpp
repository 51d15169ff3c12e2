// The stage scene's states around play, run by the frame loop: the set-up
// on entry (and its failure), the fade-in, the start banners, the hero's
// pose for play, and the fade-out that leaves for the next scene.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/request_services.h"
#include "game/characters.h"
#include "game/game.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/started_by_editor.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/stage_runner.h"
#include "tools/sample/sample_stages.h"

using namespace testsupport;

namespace {

const char kAreaBanner[] = "DDBlt Back 256 224 128 32 T51 0 0 1";
const char kReplayBanner[] = "DDBlt Back 256 224 128 32 T51 0 32 1";
const char kStartBanner[] = "DDBlt Back 280 224 80 32 T51 160 0 1";

// A ground with the hero on it.
void BuildStage(StageRunner& run, const cEdChara& hero) {
  MapBuilder map({"..........", "..H.......", "##########"});
  map.Build();
  map.PlaceCharas('H', hero);
  run.TakeStage();
}

// The frames (counted from the first after the fade-in) in which each
// banner was drawn, and the first frame in which play ran.
struct BannerRun {
  std::vector<int> area, replay, start;
  std::string areaNumber;  // the last number drawn beside the area banner
  int playFrom = 0;
};

BannerRun RunBanners(StageRunner& run, int limit) {
  BannerRun out;
  run.Enter();
  // The fade-in ends in the frame whose fade reports done.
  const bool faded = run.RunUntil([&] { return run.Scene() && run.Scene()->m_nPhase == STAGESTATE_START; }, 40);
  EXPECT_TRUE(faded);
  run.Renderer()->Take();
  for (int f = 1; f <= limit; ++f) {
    run.Frame();
    for (const std::string& call : run.Renderer()->Take()) {
      if (call == kAreaBanner) out.area.push_back(f);
      if (call == kReplayBanner) out.replay.push_back(f);
      if (call == kStartBanner) out.start.push_back(f);
      if (call.rfind("DDDrawNumber Back 384 224", 0) == 0) out.areaNumber = call;
    }
    if (run.Scene()->m_nPhase == STAGESTATE_PLAY) {
      out.playFrom = f + 1;
      break;
    }
  }
  return out;
}

// first..last, one entry per frame.
std::vector<int> Span(int first, int last) {
  std::vector<int> v;
  for (int f = first; f <= last; ++f) v.push_back(f);
  return v;
}

class EditorTestPlay {
 public:
  EditorTestPlay(int fromEditor, int testPlay) {
    bFromEditor = fromEditor;
    bTestPlay = testPlay;
  }
  ~EditorTestPlay() {
    bFromEditor = 0;
    bTestPlay = 0;
  }
};

// A stage whose sight mask cannot be made: its set-up fails with a text.
class ThrowingStage : public cSceneStage {
 public:
  void CreateWorkSurfaces() override { throw "set-up failed"; }
};

class ThrowingMaker : public cSceneMaker {
 public:
  cScene* Create(int scene) override {
    if (scene != SCENE_STAGE) return nullptr;
    auto* stage = new ThrowingStage;
    CurStage = stage;
    return stage;
  }
};

}  // namespace

TEST(StageStates, EachBannerShowsSeventyNineFramesAndPlayFollowsInTheEightieth) {
  struct Case {
    const char* what;
    int areaFlag, startFlag, replay, fromEditor, testPlay;
    std::vector<int> area, replayBanner, start;
    int playFrom;  // first frame of play after the fade-in
  };
  const std::vector<Case> cases = {
      {"no banner: play right after the fade-in", 0, 0, 0, 0, 0, {}, {}, {}, 2},
      {"the area banner", 1, 0, 0, 0, 0, Span(1, 79), {}, {}, 81},
      {"the start banner", 0, 1, 0, 0, 0, {}, {}, Span(1, 79), 81},
      {"both, one after the other", 1, 1, 0, 0, 0, Span(1, 79), {}, Span(80, 158), 160},
      {"a replay shows its banner in place of the area's", 1, 1, 1, 0, 0, {}, Span(1, 79), Span(80, 158), 160},
      {"a replay without the start banner", 0, 0, 1, 0, 0, {}, Span(1, 79), {}, 81},
      {"the editor's test play shows none", 1, 1, 0, 1, 1, {}, {}, {}, 2},
      {"test play not started by the editor shows them", 1, 0, 0, 0, 1, Span(1, 79), {}, {}, 81},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StageRunner run;
    EditorTestPlay editor(c.fromEditor, c.testPlay);
    BuildStage(run, CharaDef().PlayerOperated());
    Stage.m_bStartBanner = StageCopy.m_bStartBanner = c.areaFlag;
    Stage.m_bStartBanner2 = StageCopy.m_bStartBanner2 = c.startFlag;
    Game.m_nPlayCommand = c.replay ? GAMEMODE_REPLAY : GAMEMODE_FREE;
    const BannerRun got = RunBanners(run, 400);
    EXPECT_EQ(got.area, c.area);
    EXPECT_EQ(got.replay, c.replayBanner);
    EXPECT_EQ(got.start, c.start);
    EXPECT_EQ(got.playFrom, c.playFrom);
  }
}

TEST(StageStates, TheSampleStagesStartWithTheirOwnBannersHeroAndMusic) {
  for (int n = 0; n < SAMPLE_STAGES; ++n) {
    SCOPED_TRACE(SampleStageName(n));
    StageRunner::Options options;
    options.project = StageRunner::Project::Sample;
    StageRunner run(options);
    ASSERT_TRUE(run.LoadSampleStage(n));
    Game.m_nPlayCommand = GAMEMODE_FREE;
    const int banners = (Stage.m_bStartBanner ? 1 : 0) + (Stage.m_bStartBanner2 ? 1 : 0);
    const BannerRun got = RunBanners(run, 400);
    EXPECT_EQ(got.area.size() + got.start.size(), static_cast<size_t>(79 * banners));
    const int playFrom[] = {2, 81, 160};  // as for the harness stages
    EXPECT_EQ(got.playFrom, playFrom[banners]);
    ASSERT_NE(Hero(), nullptr);
    EXPECT_EQ(Hero()->m_nHp, Hero()->m_Def.m_nMaxHp) << "the sample's hero as placed";
    const std::vector<std::string> music = run.Events().Texts(EventKind::Music);
    EXPECT_EQ(music, std::vector<std::string>{"4 " + std::to_string(Stage.m_nBgm)});
    EXPECT_FALSE(CharaList.empty()) << "the sample's slime";
  }
}

TEST(StageStates, TheAreaBannerShowsTheAreaNumber) {
  StageRunner run;
  BuildStage(run, CharaDef().PlayerOperated());
  Stage.m_bStartBanner = StageCopy.m_bStartBanner = 1;
  PlayData.m_nAreaNo = 12;
  const BannerRun got = RunBanners(run, 100);
  // 32 x 32 digits from row 128 of Word.bmp, left-aligned at one digit.
  EXPECT_EQ(got.areaNumber, "DDDrawNumber Back 384 224 32 32 T51 0 128 1 12 1 0");
}

TEST(StageStates, TheFadeInDrawsTheFrozenStageAndFadesFromBlack) {
  StageRunner run;
  BuildStage(run, CharaDef().PlayerOperated());
  run.Enter();
  run.Frame();
  const std::vector<std::string> calls = run.Renderer()->Take();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "DDFadeIn CurPalette 0 255 0 0 0 10 BasePalette 0");
  // The frozen stage is drawn first, from its back layer on.
  EXPECT_EQ(calls.front(), "DDFillSurface Back 16");
  EXPECT_NE(std::find(calls.begin(), calls.end(), "DDFlushBatch"), calls.end());
  // Ten calls at the fade step 10, the last reporting the end.
  run.Frames(8);
  EXPECT_EQ(run.Scene()->m_nPhase, STAGESTATE_FADEIN);
  run.Frame();
  EXPECT_EQ(run.Scene()->m_nPhase, STAGESTATE_START);
}

TEST(StageStates, PlayBeginsWithTheHeroInItsStandingOrFlyingPose) {
  for (int fly : {0, 1}) {
    SCOPED_TRACE(fly ? "flying" : "walking");
    StageRunner run;
    BuildStage(run, CharaDef().PlayerOperated().Fly(fly));
    Stage.m_bStartBanner2 = StageCopy.m_bStartBanner2 = 0;
    run.Enter();
    ASSERT_TRUE(run.RunUntil([&] { return run.Scene() && run.Scene()->m_nPhase == STAGESTATE_START; }, 40));
    Hero()->m_Anime.m_nPattern = 5;
    run.Frame();
    EXPECT_EQ(run.Scene()->m_nPhase, STAGESTATE_PLAY);
    EXPECT_EQ(Hero()->m_Anime.m_nPattern, fly ? 2 : 0);
  }
}

TEST(StageStates, TheFadeOutLeavesForTheNextSceneAtSixtyFrames) {
  StageRunner run;
  BuildStage(run, CharaDef().PlayerOperated());
  Stage.m_nFps = StageCopy.m_nFps = 30;
  run.Enter(SCENE_WORLDMAP);
  run.Frame();
  EXPECT_EQ(Game.m_nFps, 30);
  cSceneStage* scene = run.Scene();
  scene->m_nPhase = STAGESTATE_FADEOUT;
  Game.m_nNextScene = SCENE_WORLDMAP;
  run.Renderer()->Take();
  int frames = 0;
  while (Game.m_nScene == SCENE_STAGE && frames < 40) {
    run.Frame();
    ++frames;
  }
  EXPECT_EQ(frames, 10);
  const std::vector<std::string> calls = run.Renderer()->Take();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], "DDFadeOut CurPalette 0 255 0 0 0 10 BasePalette 0");
  EXPECT_EQ(calls.back(), "DDFillSurface Back 16");
  EXPECT_EQ(Game.m_nScene, SCENE_WORLDMAP);
  EXPECT_EQ(Game.m_nPrevScene, SCENE_STAGE);
  EXPECT_EQ(Game.m_nFps, 60);
  // The stage scene is deleted by the frame that switches.
  run.Frame();
  EXPECT_EQ(Game.m_pStage, nullptr);
  EXPECT_EQ(CurStage, nullptr);
}

namespace {

// The program's services with the stage loads noted and answered.
class StageLoads : public cRequestServices {
 public:
  explicit StageLoads(bool result) : m_result(result) { SetRequestServices(this); }
  ~StageLoads() override { SetRequestServices(nullptr); }
  bool StartFromStageFile(const char* path, int numbered) override {
    loads.push_back(std::string(path) + " " + std::to_string(numbered));
    return m_result;
  }
  std::vector<std::string> loads;

 private:
  bool m_result;
};

}  // namespace

TEST(StageStates, TheFadeOutOfAFreeStageLoadsItsFileAgain) {
  struct Case {
    const char* what;
    int playCommand, numbered;
    bool loads;   // the load's answer
    std::vector<std::string> expected;
    size_t closes;
  };
  const std::vector<Case> cases = {
      {"free play", GAMEMODE_FREE, 0, true, {"stage\\free.stg4 0"}, 0},
      {"free play that cannot load it closes", GAMEMODE_FREE, 0, false, {"stage\\free.stg4 0"}, 1},
      {"a numbered free stage goes on to its next area", GAMEMODE_FREE, 1, true, {}, 0},
      {"a story stage", GAMEMODE_CONTINUE, 0, true, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StageRunner run;
    run.Events().AllowCloseRequests(true);
    BuildStage(run, CharaDef().PlayerOperated());
    Stage.m_strPath = "stage\\free.stg4";
    StageLoads services(c.loads);
    Game.m_nPlayCommand = c.playCommand;
    run.Enter(SCENE_STAGESELECT);
    run.Frame();
    PlayData.m_bNumberedStage = c.numbered;
    run.Scene()->m_nPhase = STAGESTATE_FADEOUT;
    Game.m_nNextScene = SCENE_STAGESELECT;
    EXPECT_TRUE(run.RunUntil([] { return Game.m_nScene != SCENE_STAGE; }, 40));
    EXPECT_EQ(services.loads, c.expected);
    EXPECT_EQ(run.Events().Texts(EventKind::Close).size(), c.closes);
    EXPECT_EQ(Game.m_nScene, SCENE_STAGESELECT) << "the next scene follows also after a failed load";
  }
}

TEST(StageStates, ASetUpThatThrowsClosesOnceAndRunsNothingAfter) {
  StageRunner run;
  CharaDef hero = CharaDef().PlayerOperated().Sight(4);
  hero.Def().m_nSightMode = 1;
  BuildStage(run, hero);
  run.Events().AllowCloseRequests(true);
  ThrowingMaker maker;
  run.Enter();
  Game.m_pSceneMaker = &maker;
  run.Frames(20);
  EXPECT_EQ(run.Events().Texts(EventKind::Close).size(), 1u);
  for (const std::string& line : run.Events().Texts(EventKind::Log)) {
    EXPECT_NE(line.rfind("Draw", 0), 0u) << line;
    EXPECT_NE(line, "Play");
  }
  EXPECT_TRUE(run.Renderer()->Calls().empty());
  EXPECT_EQ(run.Scene()->m_nPhase, STAGESTATE_FADEIN);
}
