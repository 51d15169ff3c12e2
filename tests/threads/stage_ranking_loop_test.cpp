// The ranking view on a real thRanking, started from a game thread while the
// test's thread serves the main window: button 1 ends it, button 4 turns to
// the next ranked category when there is more than one, a quit message ends
// it silently. Keys are pressed in the key table between the loop's frames,
// from its present.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/thread.h"
#include "base/window_messages.h"
#include "game/game.h"
#include "media/dd_frame.h"
#include "media/dd_layer.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/messages.h"
#include "platform/thread.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/game_world.h"
#include "threads/wait_until.h"

using namespace testsupport;

namespace {

class RankingHookedFrames : public cFrameDrawing {
 public:
  bool IsDirect3D() override { return false; }
  bool IsWindowed() override { return true; }
  bool IsPrimaryLost() override { return false; }
  void ShowFrame(int) override {
    const int n = ++shown;
    if (hook) hook(n);
  }
  std::atomic<int> shown{0};
  std::function<void(int)> hook;
};

class StageRankingLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(DDInit(0, plat::WindowHandle{}, 640, 480, 16, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0));
    m_previous = FrameDrawing;
    FrameDrawing = &frames;
    bAppActive = 1;
    MapBuilder map({"....", ".H..", "####"});
    map.Build();
    map.PlaceCharas('H', CharaDef().PlayerOperated());
    StageCopy.CopySettingsFrom(Stage);
    scene.SetStage(0, 1);
    scene.m_vRanks.assign(STAGE_RANK_CATEGORIES, -1);
    Game.m_nPlayKind = PLAYKIND_STORY;
  }
  void TearDown() override {
    FrameDrawing = m_previous;
    bAppActive = 0;
    Game.m_nPlayKind = 0;
    DDRelease();
    EXPECT_FALSE(thRanking.HasThread());
  }

  // The story's ranking with these categories ranked.
  static void Categories(std::vector<uint8_t> flags) {
    SystemData.m_vRankingModes[PLAYKIND_STORY].m_bRanking = 1;
    SystemData.m_vRankingModes[PLAYKIND_STORY].m_vCategories = cVector<uint8_t>(flags.begin(), flags.end());
  }

  // The view, shown by a game thread while this thread pumps. `keys` gives
  // the keys down in each frame (from 1); `after` runs once frame n has been
  // shown. The category shown in each frame is kept.
  void Show(std::map<int, std::vector<int>> down, std::function<void(int)> after = nullptr) {
    shownCategory.clear();
    auto press = [this, down](int frame) {
      keys.ReleaseAll();
      auto it = down.find(frame);
      if (it != down.end())
        for (int vk : it->second) keys.Press(vk);
    };
    frames.hook = [this, press, after](int n) {
      shownCategory.push_back(PlayData.m_nRankingCat);
      press(n + 1);
      if (after) after(n);
    };
    press(1);
    std::atomic<bool> done{false};
    plat::Thread game;
    ASSERT_TRUE(game.Start([&] {
      scene.ShowRanking();
      done = true;
      return 0u;
    }));
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 30000));
    game.Join();
    keys.ReleaseAll();
  }

  std::vector<std::string> Sounds() const { return world.events.Texts(EventKind::Sound); }

  plat::FakeClock clock{1000};
  cSceneStage scene;
  GameWorld world{scene};
  plat::ScriptedInput keys;
  RankingHookedFrames frames;
  std::vector<int> shownCategory;  // written by thRanking before each key change, read after it ended

 private:
  cFrameDrawing* m_previous = nullptr;
};

const int kButton1 = 'Z';
const int kButton4 = 'V';

}  // namespace

TEST_F(StageRankingLoop, ButtonOneEndsTheViewWithTheDecisionSound) {
  Categories({1, 1, 0, 0, 0});
  Show({{3, {kButton1}}});
  EXPECT_EQ(frames.shown.load(), 2) << "the frame that ends it is not drawn";
  EXPECT_EQ(Sounds(), std::vector<std::string>{"1"});
}

TEST_F(StageRankingLoop, ButtonFourTurnsToTheNextRankedCategoryOnlyWhenThereAreTwo) {
  struct Case {
    const char* what;
    std::vector<uint8_t> flags;
    int startCategory;
    std::vector<int> shown;  // the category of frames 1..4
    std::vector<std::string> sounds;
  };
  const Case cases[] = {
      // Held over frames 2 and 3: one press. Frame 5 presses again.
      {"two categories", {0, 1, 0, 1, 0}, 1, {1, 3, 3, 3}, {"6", "6", "1"}},
      {"one category", {0, 0, 1, 0, 0}, 2, {2, 2, 2, 2}, {"1"}},
      {"the shown one is not ranked: the next ranked is shown", {0, 0, 1, 0, 1}, 0, {2, 4, 4, 4}, {"6", "6", "1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    world.events.Clear();
    frames.shown = 0;
    Categories(c.flags);
    PlayData.m_nRankingCat = c.startCategory;
    Show({{2, {kButton4}}, {3, {kButton4}}, {5, {kButton4}}, {7, {kButton1}}});
    ASSERT_EQ(frames.shown.load(), 6);
    EXPECT_EQ(std::vector<int>(shownCategory.begin(), shownCategory.begin() + 4), c.shown);
    EXPECT_EQ(Sounds(), c.sounds);
  }
}

TEST_F(StageRankingLoop, AQuitMessageEndsItSilently) {
  Categories({1, 1, 0, 0, 0});
  Show({}, [](int n) {
    if (n == 4) plat::PostToThread(thRanking.m_dwThreadId.load(), WM_QUIT, 0, 0);
  });
  EXPECT_EQ(frames.shown.load(), 4);
  EXPECT_TRUE(Sounds().empty());
}
