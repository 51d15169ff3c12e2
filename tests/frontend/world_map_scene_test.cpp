// The world map on a small map built here (the sample's program around it):
// which moves the walker may make, which entry of a node is open, when a
// stage asks to be entered and what entering leaves in PlayData, the
// automatic save after a stage, the ranking buttons, and what is drawn.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "front_end_rig.h"
#include "frontend/scene_world_map.h"
#include "game/menu_cursor.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "platform/close_request.h"
#include "platform/local_time.h"
#include "platform/virtual_keys.h"
#include "records/new_run.h"
#include "records/ranking.h"
#include "records/save_data.h"
#include "records/save_slots.h"
#include "records/system.h"
#include "records/world_map.h"
#include "support/recording_renderer.h"
#include "support/test_support.h"

using testsupport::Sjis;

namespace {

const char kSampleStage[] = "data\\stg4\\c01-1.stg4";
const char kMissingStage[] = "data\\stg4\\none-1.stg4";

constexpr int kFree = 5;     // a passable chip of a new map
constexpr int kBlocked = 0;  // an impassable one

// Cells of the nodes on the test map (10 x 6, walker at (4, 3)).
constexpr CELLPOS kStart = {4, 3};
constexpr CELLPOS kImpassable = {5, 3};  // stage 1, not cleared
constexpr CELLPOS kPassable = {4, 2};    // stage 2, pass flag
constexpr CELLPOS kCleared = {3, 3};     // stage 3, cleared, no re-entry
constexpr CELLPOS kReentry = {4, 4};     // stage 4, cleared, re-entry

cEdWorldRoute StageRoute(int stage, const char* file, const char* label) {
  cEdWorldRoute route;
  route.m_nKind = WORLDROUTE_STAGE;
  route.m_nStageNo = stage;
  route.m_nIcon = stage;
  route.m_strStageFile = file;
  route.m_strAux = label;
  return route;
}

cEdWorldNode Node(CELLPOS at, std::vector<cEdWorldRoute> routes) {
  cEdWorldNode node;
  node.m_nX = at.x;
  node.m_nY = at.y;
  node.m_vRoute.clear();
  for (const cEdWorldRoute& r : routes) node.m_vRoute.push_back(r);
  return node;
}

// A 10 x 6 map of free chips with the four stage nodes.
void BuildMap(const char* impassableFile = kSampleStage) {
  WorldMap.Reset();
  ASSERT_EQ(WorldMap.SetSize(10, 6), 1);
  for (int32_t& cell : WorldMap.m_vCell) cell = kFree;
  WorldMap.m_nStartX = kStart.x;
  WorldMap.m_nStartY = kStart.y;
  WorldMap.m_vNode.clear();
  WorldMap.m_vNode.push_back(Node(kImpassable, {StageRoute(1, impassableFile, "ONE")}));
  cEdWorldRoute pass = StageRoute(2, kSampleStage, "TWO");
  pass.m_bPassable = 1;
  WorldMap.m_vNode.push_back(Node(kPassable, {pass}));
  WorldMap.m_vNode.push_back(Node(kCleared, {StageRoute(3, kSampleStage, "THREE")}));
  cEdWorldRoute again = StageRoute(4, kSampleStage, "FOUR");
  again.m_bReentry = 1;
  WorldMap.m_vNode.push_back(Node(kReentry, {again}));
}

}  // namespace

class WorldMapScreen : public frontendtest::FrontEnd {
 protected:
  // The program on the sample, the test map, a story on `at`, and the map
  // entered after `prevScene`, run up to the walk (or `phase`).
  void Open(CELLPOS at = kStart, int prevScene = SCENE_TITLE, int phase = 1) {
    StartProgram();
    Game.m_nFadeStep = 45;  // fades of three frames
    ASSERT_NO_FATAL_FAILURE(BuildMap(m_impassableFile));
    SystemData.m_vStartLives = cVector<int32_t>{5, 3, 2, 9};
    SystemData.m_vInfiniteLives = cVector<int32_t>{0, 0, 0, 0};
    SystemData.m_vRankingModes.At(PLAYKIND_STORY).m_bRanking = 1;
    Game.m_nPlayKind = PLAYKIND_STORY;
    NewStory();
    PlayData.m_vStageClear.At(3) = 1;
    PlayData.m_vStageClear.At(4) = 1;
    PlayData.m_nMapX = at.x;
    PlayData.m_nMapY = at.y;
    if (m_setUp) m_setUp();
    Game.m_nScene = SCENE_WORLDMAP;
    Game.m_nPrevScene = prevScene;
    if (phase >= 0) ASSERT_TRUE(RunUntilPhase(phase));
    TakeRequests();
  }
  static cSceneWorldMap& Scene() { return *Running<cSceneWorldMap>(); }
  static CELLPOS Walker() { return {MenuCursor.Cur()->nCol, MenuCursor.Cur()->nRow}; }
  void Press(int vk) {
    m_keys.Press(vk);
    Frame();
    m_keys.Release(vk);
  }

  const char* m_impassableFile = kSampleStage;
  std::function<void()> m_setUp;
};

static bool operator==(const CELLPOS& a, const CELLPOS& b) { return a.x == b.x && a.y == b.y; }
static std::ostream& operator<<(std::ostream& os, const CELLPOS& c) { return os << "(" << c.x << ", " << c.y << ")"; }

TEST_F(WorldMapScreen, AMoveIsOneCellInTheFirstPressedDirectionUnlessTheCellIsClosed) {
  Open();
  cSceneWorldMap& scene = Scene();
  // Cell (5, 1) is tested: a chip and a node put there per case.
  constexpr CELLPOS kTarget = {5, 1};
  constexpr int kNone = -1;
  struct Case {
    const char* what;
    CELLPOS from;
    uint32_t keys;
    int chip;       // of the target cell
    int routeKind;  // open entry at the target; kNone: no node
    CELLPOS cell;
    int dir;
    bool moved;  // PlayData's walking direction follows only a move
  };
  const Case cases[] = {
      {"free cell", {5, 2}, INPUT_UP, kFree, kNone, {5, 1}, WALK_UP, true},
      {"blocked chip", {5, 2}, INPUT_UP, kBlocked, kNone, {5, 2}, WALK_UP, false},
      {"chip outside the list", {5, 2}, INPUT_UP, 99, kNone, {5, 2}, WALK_UP, false},
      {"blocked chip, stage entry", {4, 1}, INPUT_RIGHT, kBlocked, WORLDROUTE_STAGE, {5, 1}, WALK_RIGHT, true},
      {"blocked chip, road entry", {6, 1}, INPUT_LEFT, kBlocked, WORLDROUTE_ROAD, {5, 1}, WALK_LEFT, true},
      {"free chip, wall entry", {5, 0}, INPUT_DOWN, kFree, WORLDROUTE_WALL, {5, 0}, WALK_DOWN, false},
      {"all four: left first", {6, 1}, 15, kFree, kNone, {5, 1}, WALK_LEFT, true},
      {"right before up and down", {4, 1}, INPUT_RIGHT | INPUT_UP | INPUT_DOWN, kFree, kNone, {5, 1}, WALK_RIGHT,
       true},
      {"up before down", {5, 2}, INPUT_UP | INPUT_DOWN, kFree, kNone, {5, 1}, WALK_UP, true},
      {"left edge", {0, 1}, INPUT_LEFT, kFree, kNone, {0, 1}, WALK_LEFT, true},
      {"bottom edge", {9, 5}, INPUT_DOWN, kFree, kNone, {9, 5}, WALK_DOWN, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WorldMap.m_vCell.At(kTarget.x + (kTarget.y << WorldMap.m_nPitch_Shift)) = c.chip;
    WorldMap.m_vNode.resize(4);
    if (c.routeKind != kNone) {
      cEdWorldRoute route = StageRoute(7, kSampleStage, "");
      route.m_nKind = c.routeKind;
      WorldMap.m_vNode.push_back(Node(kTarget, {route}));
    }
    *MenuCursor.Cur() = CURSORPOS{c.from.x, c.from.y, 0, 0};
    scene.m_nDir = -1;
    PlayData.m_nWalkDir = -1;
    scene.MoveCursor(c.keys);
    EXPECT_EQ(Walker(), c.cell);
    EXPECT_EQ(scene.m_nDir, c.dir);
    EXPECT_EQ(PlayData.m_nWalkDir, c.moved ? c.dir : -1);
    EXPECT_EQ((CELLPOS{PlayData.m_nPrevCellX, PlayData.m_nPrevCellY}), c.from);
    EXPECT_EQ((CELLPOS{scene.m_PrevPos.nCol, scene.m_PrevPos.nRow}), c.from);
    EXPECT_EQ(std::make_pair(MenuCursor.Cur()->nX, MenuCursor.Cur()->nY), std::make_pair(288, 224));
    if (c.moved) EXPECT_EQ(std::make_pair(scene.m_nViewX, scene.m_nViewY), std::make_pair(c.cell.x - 9, c.cell.y - 7));
  }
  // Without a key nothing moves and the previous cell stays.
  PlayData.m_nPrevCellX = PlayData.m_nPrevCellY = 77;
  *MenuCursor.Cur() = CURSORPOS{2, 2, 0, 0};
  scene.MoveCursor(0);
  EXPECT_EQ(Walker(), (CELLPOS{2, 2}));
  EXPECT_EQ(PlayData.m_nPrevCellX, 77);
}

TEST_F(WorldMapScreen, TheFirstEntryWhoseRequirementsHoldIsOpen) {
  Open();
  struct Case {
    const char* what;
    int needStage, varNo, op;
    int32_t value, var;
    int needTotal;
    int open;  // before stage 3 is cleared, after (route 0 first, 1 second, -1 none)
    int openAfterClear;
  };
  const Case cases[] = {
      {"no requirement", 0, 0, 0, 0, 0, 0, 0, 0},
      {"negative stage: none", -1, 0, 0, 0, 0, 0, 0, 0},
      {"stage 3 cleared", 3, 0, 0, 0, 0, 0, 1, 0},
      {"stage outside the flags", 5000, 0, 0, 0, 0, 0, 1, 1},
      {"= holds", 0, 5, 0, 3, 3, 0, 0, 0},
      {"= fails", 0, 5, 0, 3, 4, 0, 1, 1},
      {"!= of equal values", 0, 5, 1, 3, 3, 0, 1, 1},
      {">= negative", 0, 5, 2, -4, -3, 0, 0, 0},
      {"<= negative", 0, 5, 3, -4, -3, 0, 1, 1},
      {"> of 0 and 0", 0, 5, 4, 0, 0, 0, 1, 1},
      {"< negative", 0, 5, 5, 0, -1, 0, 0, 0},
      {"divisible by 0", 0, 5, 6, 0, 7, 0, 0, 0},
      {"divisible, negative value", 0, 5, 6, 3, -6, 0, 0, 0},
      {"divisible, INT_MIN by -1", 0, 5, 6, -1, INT_MIN, 0, 0, 0},
      {"divisible, INT_MIN by INT_MIN", 0, 5, 6, INT_MIN, INT_MIN, 0, 0, 0},
      {"not divisible by 0", 0, 5, 7, 0, 7, 0, 1, 1},
      {"not divisible by -2", 0, 5, 7, -2, 7, 0, 0, 0},
      {"not divisible, INT_MIN by 3", 0, 5, 7, 3, INT_MIN, 0, 0, 0},
      {"not divisible, INT_MIN by INT_MIN", 0, 5, 7, INT_MIN, INT_MIN, 0, 1, 1},
      {"operator 8", 0, 5, 8, 0, 0, 0, 1, 1},
      {"variable 256", 0, 256, 0, 0, 0, 0, 1, 1},
      {"variable -1", 0, -1, 0, 0, 0, 0, 1, 1},
      {"total reached", 0, 0, 0, 0, 0, 100, 0, 0},
      {"total missed", 0, 0, 0, 0, 0, 101, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    cEdWorldRoute first = StageRoute(9, kSampleStage, "");
    first.m_nNeedStage = c.needStage;
    first.m_nVarNo = c.varNo;
    first.m_nVarCmp = c.op;
    first.m_nVarValue = c.value;
    first.m_nNeedTotal = c.needTotal;
    cEdWorldNode node = Node({1, 1}, {first, StageRoute(10, kSampleStage, "")});
    PlayData.m_vCommonVar.At(5) = c.var;
    PlayData.m_nBestTotal = 100;
    for (int cleared : {0, 1}) {
      PlayData.m_vStageClear.At(3) = cleared;
      const cEdWorldRoute* open = cSceneWorldMap::FindOpenRoute(&node);
      const int expected = cleared ? c.openAfterClear : c.open;
      EXPECT_EQ(open ? static_cast<int>(open - node.m_vRoute.data()) : -1, expected) << "cleared " << cleared;
    }
  }
  // No entry holds: none is open; no node has none.
  cEdWorldRoute late = StageRoute(9, kSampleStage, "");
  late.m_nNeedTotal = 1000;
  cEdWorldNode closed = Node({1, 1}, {late, late});
  EXPECT_EQ(cSceneWorldMap::FindOpenRoute(&closed), nullptr);
  EXPECT_EQ(cSceneWorldMap::FindOpenRoute(nullptr), nullptr);
  EXPECT_EQ(cSceneWorldMap::IsRouteCleared(nullptr), 0);
  EXPECT_EQ(cSceneWorldMap::IsRoutePassable(nullptr), 0);
  cEdWorldRoute far = StageRoute(-3, kSampleStage, "");
  EXPECT_EQ(cSceneWorldMap::IsRouteCleared(&far), 0);
}

TEST_F(WorldMapScreen, AnImpassableStageAsksAtOnceAndDecliningStepsBack) {
  Open();
  Press(VK_RIGHT);
  EXPECT_EQ(Phase(), 2) << "no button needed";
  EXPECT_EQ((CELLPOS{PlayData.m_nMapX, PlayData.m_nMapY}), kImpassable);
  Frame();
  EXPECT_EQ(MenuCursor.Cur()->nRow, 1) << "the second choice is preselected";
  EXPECT_EQ(MenuCursor.m_Stack.Size(), 2);
  EXPECT_EQ(TakeSounds(), std::vector<int>{1});
  EXPECT_EQ(Scene().m_bStageLoaded, 1);

  // Declined three ways; the question's cursor never stays behind.
  for (int answer : {'Z', 'X', 'Z'}) {
    SCOPED_TRACE(answer);
    Press(answer);
    EXPECT_EQ(Phase(), 1);
    EXPECT_EQ(Walker(), kStart);
    EXPECT_EQ(MenuCursor.m_Stack.Size(), 1);
    EXPECT_EQ(Scene().m_nViewX, kStart.x - 9);
    EXPECT_EQ(TakeSounds(), std::vector<int>{answer == 'Z' ? 1 : 2});
    Frame();
    Press(VK_RIGHT);
    ASSERT_EQ(Phase(), 2);
    Frame();
    TakeSounds();
  }
}

TEST_F(WorldMapScreen, AcceptingFillsPlayDataAndStartsTheStage) {
  Open();
  Press(VK_RIGHT);
  Frame();
  Tap(VK_UP);
  ASSERT_EQ(MenuCursor.Cur()->nRow, 0);
  PlayData.m_nBestTotal = 0;
  Press('Z');
  EXPECT_EQ(Phase(), 3);
  EXPECT_EQ(Game.m_nNextScene, SCENE_STAGE);
  EXPECT_EQ(PlayData.m_strStagePath, "data\\stg4\\c01.");
  EXPECT_EQ(std::make_tuple(PlayData.m_nStageNo, PlayData.m_nAreaNo, PlayData.m_nWalkDir),
            std::make_tuple(1, 1, WALK_RIGHT));
  EXPECT_EQ(PlayData.EnteredRoute(), &WorldMap.m_vNode.At(0).m_vRoute.At(0));
  EXPECT_EQ((CELLPOS{PlayData.m_nPrevCellX, PlayData.m_nPrevCellY}), kStart);
  for (int i = 0; i < 10 && Game.m_nScene == SCENE_WORLDMAP; ++i) Frame();
  EXPECT_EQ(Game.m_nScene, SCENE_STAGE);
}

TEST_F(WorldMapScreen, TheStageStartsWithTheStorysLives) {
  Open();
  cSceneWorldMap& scene = Scene();
  *MenuCursor.Cur() = CURSORPOS{kImpassable.x, kImpassable.y, 0, 0};
  scene.MoveCursor(0);
  struct Case {
    int carry, infinite;
    int32_t lives, start;
  };
  const Case cases[] = {
      {0, 0, 2, 5}, {0, 1, 2, 5}, {1, 0, 2, 3}, {1, 1, 2, LIVES_INFINITE}, {1, 0, 0, 1},
  };
  for (const Case& c : cases) {
    SystemData.m_bCarryLives = c.carry;
    SystemData.m_vInfiniteLives.At(PLAYKIND_STORY) = c.infinite;
    PlayData.m_nLives = c.lives;
    scene.PrepareStage();
    EXPECT_EQ(PlayData.m_nStartLives, c.start) << c.carry << c.infinite << " " << c.lives;
  }
}

TEST_F(WorldMapScreen, AStageThatDoesNotLoadKeepsTheMap) {
  m_impassableFile = kMissingStage;
  Open();
  Press(VK_RIGHT);
  Frame();
  EXPECT_EQ(Scene().m_bStageLoaded, 0);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_NE(m_boxes.shown[0].text.find(kMissingStage), std::string::npos);
  Tap(VK_UP);
  Press('Z');
  EXPECT_EQ(Phase(), 1);
  EXPECT_EQ(Walker(), kStart);
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(WorldMapScreen, PassableAndClearedStagesAskOnlyWhenThePlayerDecides) {
  Open();
  struct Case {
    const char* what;
    int key;  // the step onto the node from the start
    CELLPOS node;
    bool asksOnDecide;
  };
  const Case cases[] = {
      {"passable, not cleared", VK_UP, kPassable, true},
      {"cleared, no re-entry", VK_LEFT, kCleared, false},
      {"cleared, re-entry", VK_DOWN, kReentry, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    *MenuCursor.Cur() = CURSORPOS{kStart.x, kStart.y, 288, 224};
    Tap(c.key);
    EXPECT_EQ(Phase(), 1) << "the walker stays on it";
    EXPECT_EQ(Walker(), c.node);
    Press('Z');
    EXPECT_EQ(Phase(), c.asksOnDecide ? 2 : 1);
    if (!c.asksOnDecide) continue;
    Frame();
    Press('X');  // declined: a passable stage keeps the walker
    EXPECT_EQ(Phase(), 1);
    EXPECT_EQ(Walker(), c.node);
    EXPECT_EQ(MenuCursor.m_Stack.Size(), 1);
  }
}

TEST_F(WorldMapScreen, AnImpassableStageUnderTheWalkerStartsWhenTheMapOpensExceptFromTheMenu) {
  Open(kImpassable, SCENE_TITLE, -1);
  for (int i = 0; i < 20 && Phase() != 3; ++i) Frame();
  EXPECT_EQ(Phase(), 3);
  EXPECT_EQ(Game.m_nNextScene, SCENE_STAGE);
  EXPECT_EQ(PlayData.m_nStageNo, 1);
  EXPECT_EQ((CELLPOS{PlayData.m_nPrevCellX, PlayData.m_nPrevCellY}), kImpassable);
  EXPECT_TRUE(m_boxes.shown.empty());
}

TEST_F(WorldMapScreen, FromTheMapMenuTheStageAsksInstead) {
  Open(kImpassable, SCENE_MAPMENU, -1);
  for (int i = 0; i < 20 && Phase() < 2; ++i) Frame();
  EXPECT_EQ(Phase(), 2);
  EXPECT_NE(Game.m_nNextScene, SCENE_STAGE);
}

TEST_F(WorldMapScreen, AMissingBackgroundPictureIsReportedAndTheFillShows) {
  m_setUp = [] {
    WorldMap.m_bShowImage = 1;
    WorldMap.m_strFile = "bmp\\NoSuchBack.bmp";
  };
  Open();
  EXPECT_NE(Report().find("bmp\\NoSuchBack.bmp " + Sjis("の読み込みに失敗！")), std::string::npos) << Report();
  EXPECT_TRUE(m_boxes.shown.empty());
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(WorldMapScreen, BackFromTheRetryMenuTheWalkerReturnsToItsPreviousCell) {
  m_setUp = [] {
    PlayData.m_bBackFromRetry = 1;
    PlayData.m_nPrevCellX = kStart.x;
    PlayData.m_nPrevCellY = kStart.y;
  };
  Open(kImpassable, SCENE_STAGE);
  EXPECT_EQ(Walker(), kStart);
  EXPECT_EQ(PlayData.m_bBackFromRetry, 0);
  EXPECT_EQ(Scene().m_nViewX, kStart.x - 9);
  EXPECT_NE(Game.m_nNextScene, SCENE_STAGE);
}

TEST_F(WorldMapScreen, AFailedDirectEntryShowsItsBoxOnceAndCloses) {
  m_impassableFile = kMissingStage;
  Open(kImpassable, SCENE_TITLE, -1);
  Frames(30);
  EXPECT_EQ(Phase(), 0);
  EXPECT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
}

TEST_F(WorldMapScreen, AWalkerOutsideTheMapIsPutBackIntoIt) {
  Open({-4, 40});
  EXPECT_EQ(Walker(), (CELLPOS{0, 5}));
  EXPECT_EQ((CELLPOS{PlayData.m_nMapX, PlayData.m_nMapY}), (CELLPOS{0, 5}));
}

struct AutoSaveCase {
  const char* what;
  int prevScene;
  int32_t slot;
  bool blocked;  // the slot's file cannot be written
  bool written;
  size_t boxes;
};

class WorldMapAutoSave : public WorldMapScreen, public ::testing::WithParamInterface<AutoSaveCase> {};

TEST_P(WorldMapAutoSave, BackFromAStageTheSlotIsRewrittenBeforeTheMapShows) {
  const AutoSaveCase& c = GetParam();
  m_setUp = [&] {
    PlayData.m_bAutoSave = 1;
    PlayData.m_nSlot = c.slot;
    PlayData.m_nTotalScore = 321;
    if (c.blocked) std::filesystem::create_directories(GameFolder() + "/user_data/story/Story05.dat");
  };
  Open(kStart, c.prevScene, -1);
  Frame();  // Init and the first frame of the fade
  EXPECT_EQ(Phase(), 0);
  EXPECT_EQ(Exists("user_data/story/Story05.dat") && !c.blocked, c.written);
  if (c.written) {
    cSaveData saved;
    ASSERT_TRUE(saved.LoadSlot(4));
    EXPECT_EQ(saved.m_nTotalScore, 321);
  }
  EXPECT_EQ(m_boxes.shown.size(), c.boxes);
  if (c.boxes) EXPECT_NE(m_boxes.shown[0].text.find("Story05.dat"), std::string::npos);
  EXPECT_TRUE(RunUntilPhase(1)) << "the map opens";
}

INSTANTIATE_TEST_SUITE_P(Cases, WorldMapAutoSave,
                         ::testing::Values(AutoSaveCase{"BackFromAStage", SCENE_STAGE, 4, false, true, 0},
                                           AutoSaveCase{"FromTheMenu", SCENE_MAPMENU, 4, false, false, 0},
                                           AutoSaveCase{"WithoutASlot", SCENE_STAGE, -1, false, false, 0},
                                           AutoSaveCase{"AFailedWrite", SCENE_STAGE, 4, true, false, 1}),
                         [](const ::testing::TestParamInfo<AutoSaveCase>& info) { return info.param.what; });

TEST_F(WorldMapScreen, TheRankingButtonsActOnlyWithStoryRankings) {
  Open(kPassable);
  struct Case {
    const char* what;
    int ranking;     // the story kind's ranking
    int categories;  // ranked categories
    int key;
    int32_t viewBefore, viewAfter;
    int32_t catAfter;
    std::vector<int> sounds;
  };
  const Case cases[] = {
      {"view on", 1, 2, 'C', 0, 1, 0, {6}},
      {"view off", 1, 2, 'C', 1, 0, 0, {6}},
      {"rankings off: the view closes", 0, 2, 'C', 1, 0, 0, {}},
      {"rankings off: stays closed", 0, 2, 'C', 0, 0, 0, {}},
      {"next category", 1, 2, 'V', 1, 1, 1, {6}},
      {"one category: no change", 1, 1, 'V', 1, 1, 0, {}},
      {"rankings off: no category change", 0, 2, 'V', 1, 1, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    cEdRankingMode& mode = SystemData.m_vRankingModes.At(PLAYKIND_STORY);
    mode.m_bRanking = c.ranking;
    mode.m_vCategories = cVector<uint8_t>{1, 0, 0, 0, 0};
    if (c.categories > 1) mode.m_vCategories.At(1) = 1;
    PlayData.m_bRankingView = c.viewBefore;
    PlayData.m_nRankingCat = 0;
    TakeSounds();
    Tap(c.key);
    EXPECT_EQ(PlayData.m_bRankingView, c.viewAfter);
    EXPECT_EQ(PlayData.m_nRankingCat, c.catAfter);
    EXPECT_EQ(TakeSounds(), c.sounds);
  }
}

TEST_F(WorldMapScreen, CancelLeavesForTheMapMenuWithTheWalkerKept) {
  Open();
  Tap(VK_LEFT);
  Tap(VK_UP);  // onto (3, 2)
  Press('X');
  EXPECT_EQ(TakeSounds(), (std::vector<int>{4}));
  EXPECT_EQ(Phase(), 3);
  EXPECT_EQ(Game.m_nNextScene, SCENE_MAPMENU);
  EXPECT_EQ((CELLPOS{PlayData.m_nMapX, PlayData.m_nMapY}), (CELLPOS{3, 2}));
  for (int i = 0; i < 10 && Game.m_nScene == SCENE_WORLDMAP; ++i) Frame();
  EXPECT_EQ(Game.m_nScene, SCENE_MAPMENU);
  EXPECT_EQ(Game.m_nPrevScene, SCENE_WORLDMAP);
}

// --- drawing ---

TEST_F(WorldMapScreen, TheMapWindowDrawsItsChipsAndTheNodesWithAnOpenEntry) {
  Open();
  cSceneWorldMap& scene = Scene();
  testsupport::RecordingRenderer rec;
  WorldMap.m_vNode.At(1).m_vRoute.At(0).m_nNeedStage = 8;  // stage 2's node has no open entry
  WorldMap.m_vCell.At(0) = 7;
  WorldMap.m_vCell.At(1) = 99;  // outside the chip list: empty
  scene.m_nViewX = -18;         // only cells (0..1, 0..5) in the window
  scene.m_nViewY = 0;
  scene.RenderMap();
  const std::vector<std::string> calls = rec.Take();
  std::vector<std::string> chips, nodes;
  for (const std::string& call : calls) {
    if (call.find(" T52 ") != std::string::npos) chips.push_back(call);
    if (call.find(" T53 ") != std::string::npos) nodes.push_back(call);
  }
  ASSERT_EQ(chips.size(), 2u * 6u - 1u);
  EXPECT_EQ(chips[0], "DDBlt T67 576 0 32 32 T52 64 32 1");  // chip 7: column 2, row 1
  EXPECT_EQ(chips[1], "DDBlt T67 576 32 32 32 T52 0 32 1");  // chip 5 on (0, 1)
  EXPECT_EQ(calls.front(), "DDFillSurface T67 " + std::to_string(WorldMap.m_nBackColor));
  EXPECT_EQ(cSceneWorldMap::s_LastView.x, -18);
  // Nodes: 1 (stage 1, uncleared), 3 (cleared: column 1) and 4 (cleared).
  EXPECT_EQ(nodes, (std::vector<std::string>{"DDBlt T67 736 96 32 32 T53 0 32 1", "DDBlt T67 672 96 32 32 T53 32 96 1",
                                             "DDBlt T67 704 128 32 32 T53 32 128 1"}));
}

TEST_F(WorldMapScreen, TheBackgroundPictureScrollsWithTheViewAndStopsAtItsEdge) {
  Open();
  cSceneWorldMap& scene = Scene();
  WorldMap.m_bShowImage = 1;
  struct Case {
    int viewX, viewY;
    std::string blit;
  };
  const Case cases[] = {
      {-3, -2, "DDBlt T67 96 64 640 480 T54 0 0 0"},
      {2, 1, "DDBlt T67 0 0 640 480 T54 64 32 0"},
      {-1, 3, "DDBlt T67 32 0 640 480 T54 0 96 0"},
  };
  for (const Case& c : cases) {
    testsupport::RecordingRenderer rec;
    scene.m_nViewX = c.viewX;
    scene.m_nViewY = c.viewY;
    scene.DrawMapBackground();
    EXPECT_EQ(rec.Take(), (std::vector<std::string>{"DDFillSurface T67 " + std::to_string(WorldMap.m_nBackColor),
                                                    c.blit}));
  }
}

TEST_F(WorldMapScreen, TheWalkerFacesItsDirectionAndStepsEvery40Draws) {
  Open();
  cSceneWorldMap& scene = Scene();
  testsupport::RecordingRenderer rec;
  const std::pair<int, std::pair<int, int>> dirs[] = {
      {WALK_DOWN, {0, 64}}, {WALK_UP, {64, 64}}, {WALK_LEFT, {64, 96}}, {WALK_RIGHT, {0, 96}}, {7, {0, 64}}};
  for (const auto& [dir, source] : dirs) {
    cSceneWorldMap::s_nWalkerCount = 0;
    scene.m_nDir = dir;
    for (int i = 0; i < 81; ++i) scene.DrawWalker();
    const std::vector<std::string> calls = rec.Take();
    ASSERT_EQ(calls.size(), 81u);
    auto at = [&](int sx) {
      return "DDBlt Back 288 224 32 32 T49 " + std::to_string(sx) + " " + std::to_string(source.second) + " 1";
    };
    const auto [sx, sy] = source;
    for (int draw : {1, 40, 81}) EXPECT_EQ(calls[draw - 1], at(sx)) << "dir " << dir << " draw " << draw;
    for (int draw : {41, 80}) EXPECT_EQ(calls[draw - 1], at(sx + 32)) << "dir " << dir << " draw " << draw;
  }
}

TEST_F(WorldMapScreen, TheLivesBoxFitsTheirDigits) {
  Open(kCleared);
  SystemData.m_bShowLivesOnMap = 1;
  struct Case {
    int32_t lives;
    int x, w;
    std::string text;
  };
  const Case cases[] = {
      {1, 589, 32, "1"},
      {1234567890, 445, 176, "1234567890"},
      {LIVES_INFINITE, 589, 32, Sjis("∞")},
  };
  for (const Case& c : cases) {
    PlayData.m_nLives = c.lives;
    testsupport::RecordingRenderer rec;
    Scene().DrawScreen(false);
    const std::vector<std::string> calls = rec.Take();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[2], "DrawBox F1 Back " + std::to_string(c.x) + " 17 " + std::to_string(c.w) + " 20");
    EXPECT_EQ(calls[3], "DDBlt Back " + std::to_string(c.x) + " 19 16 16 T49 0 48 1");
    EXPECT_EQ(calls[4], "DrawText F1 Back " + std::to_string(c.x + 16) + " 19 0 " + c.text);
  }
  SystemData.m_bShowLivesOnMap = 0;
  testsupport::RecordingRenderer rec;
  Scene().DrawScreen(false);
  EXPECT_EQ(rec.Take().size(), 2u) << "the map and the walker";
}

TEST_F(WorldMapScreen, TheLabelRisesAboveTheBestScoreWhenThereIsOne) {
  Open(kCleared);
  SystemData.m_bShowLivesOnMap = 0;
  SystemData.m_vTexts.At(2) = Sjis("スコア");
  PlayData.m_bRankingView = 0;
  struct Case {
    int info;
    int32_t best;
    std::vector<std::string> tail;
  };
  const Case cases[] = {
      {1, 0, {"DrawBox F1 Back 264 204 80 16", "DrawText F1 Back 264 204 0 THREE"}},
      {0, 250, {"DrawBox F1 Back 264 204 80 16", "DrawText F1 Back 264 204 0 THREE"}},
      {1, 250,
       {"DrawBox F1 Back 264 184 80 16", "DrawText F1 Back 264 184 0 THREE", "DrawBox F1 Back 256 204 96 16",
        "DrawText F1 Back 256 204 0 " + Sjis("スコア") + "250"}},
  };
  for (const Case& c : cases) {
    SystemData.m_bMapStageInfo = c.info;
    Scene().m_nStageBest = c.best;
    testsupport::RecordingRenderer rec;
    Scene().DrawScreen(true);
    std::vector<std::string> calls = rec.Take();
    ASSERT_GE(calls.size(), 2u);
    calls.erase(calls.begin(), calls.begin() + 2);
    EXPECT_EQ(calls, c.tail) << c.info << " " << c.best;
  }
  // No overlay: no label.
  testsupport::RecordingRenderer rec;
  Scene().DrawScreen(false);
  EXPECT_EQ(rec.Take().size(), 2u);
}

TEST_F(WorldMapScreen, TheRankingViewShowsOverTheMapOnlyWithStoryRankings) {
  Open(kCleared);
  SystemData.m_bShowLivesOnMap = 0;
  const std::string view = "DDBlt Back 367 64 272 352 ? 0 0 0";
  for (const auto& [ranking, shown] : {std::pair{1, 1}, {1, 0}, {0, 1}}) {
    SystemData.m_vRankingModes.At(PLAYKIND_STORY).m_bRanking = ranking;
    PlayData.m_bRankingView = shown;
    testsupport::RecordingRenderer rec;
    Scene().DrawScreen(true);
    const std::vector<std::string> calls = rec.Take();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[2] == view, ranking && shown) << ranking << " " << shown;
  }
}

TEST_F(WorldMapScreen, ANewStoryFromTheTitleReachesTheSamplesStartCell) {
  StartProgram();
  Game.m_nFadeStep = 45;
  ASSERT_TRUE(RunUntilPhase(1));
  Frame();
  m_keys.Press('Z');  // the new story is the first entry
  Frame();
  m_keys.Release('Z');
  for (int i = 0; i < 40 && !(Running<cSceneWorldMap>() && Phase() == 1); ++i) Frame();
  ASSERT_NE(Running<cSceneWorldMap>(), nullptr);
  EXPECT_EQ(Phase(), 1);
  EXPECT_EQ(Walker(), (CELLPOS{WorldMap.m_nStartX, WorldMap.m_nStartY}));
  EXPECT_EQ((CELLPOS{WorldMap.m_nStartX, WorldMap.m_nStartY}), (CELLPOS{7, 7}));
  EXPECT_EQ(plat::CloseRequestCount(), 0u) << Report();
  // The first entrance stands on the bridge (view (-2, 0)): the map
  // surface there differs from its chips alone.
  ASSERT_EQ(WorldMap.m_vNode.At(0).m_nX, 14);
  const std::string withNode = frontendtest::Pixels(&SurfaceTable[67], 32 * 16, 32 * 7, 32, 32);
  Running<cSceneWorldMap>()->DrawMapBackground();
  Running<cSceneWorldMap>()->DrawMapChips();
  EXPECT_NE(withNode, frontendtest::Pixels(&SurfaceTable[67], 32 * 16, 32 * 7, 32, 32));
}
