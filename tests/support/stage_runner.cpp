#include "support/stage_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "app/game.h"
#include "base/thread.h"
#include "base/window_messages.h"
#include "base/timers.h"
#include "game/game.h"
#include "media/dd_frame.h"
#include "media/dd_layer.h"
#include "media/dd_surface.h"
#include "media/input.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "platform/d3d_device.h"
#include "platform/host_path.h"
#include "platform/message_box.h"
#include "platform/presenter.h"
#include "platform/soft_display.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "records/ranking.h"
#include "records/stage.h"
#include "records/stage_load.h"
#include "records/system.h"
#include "stage/scene_stage.h"
#include "support/start_project.h"
#include "tools/sample/sample_files.h"
#include "tools/sample/sample_project.h"
#include "threads/wait_until.h"
#include "tools/sample/sample_stages.h"

namespace testsupport {

namespace fs = std::filesystem;

namespace {

// The sample is written once per test program and copied for each runner.
const fs::path& SampleFolder() {
  static const fs::path folder = [] {
    std::string templ = (fs::temp_directory_path() / "stage_runner_XXXXXX").string();
    const char* made = mkdtemp(templ.data());
    fs::path root = made ? fs::path(made) : fs::path();
    std::string error;
    if (made && !WriteSampleProject((root / "sample").string(), error)) ADD_FAILURE() << error;
    // The folder's name outlives the static path, which is gone by the
    // time the exit handler runs.
    static const std::string* const remove = new std::string(root.string());
    std::atexit([] {
      std::error_code ec;
      if (!remove->empty()) fs::remove_all(*remove, ec);
    });
    return root / "sample";
  }();
  return folder;
}

void CopyInto(const fs::path& from) {
  std::error_code ec;
  fs::copy(from, fs::current_path(), fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  if (ec) ADD_FAILURE() << "cannot copy " << from << ": " << ec.message();
}

// Folders the sample's images lie in.
const char* const kImageFolders[] = {"bmp", "bmp\\plt", "bmp\\chara_sp", "bmp\\sword", "bmp\\effect",
                                     "bmp\\picture"};

const int kButtonKeys[8] = {'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F'};
const int kDirKeys[4] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};

void ResetGame() {
  Game.DeleteScenes();
  Game.m_nScene = Game.m_nNextScene = Game.m_nPrevScene = 0;
  Game.m_nPlayCommand = Game.m_nPlayKind = 0;
  Game.m_bRanking = 0;
  Game.m_nFps = 60;
  Game.m_nFadeStep = 10;
  Game.m_nBgm = 0;
  Game.m_pSceneMaker = nullptr;
  Ranking.Reset();
}

}  // namespace

// The frame loop's drawing, passed on to the one it replaces, with the
// runner's hook at each present.
class StageRunner::PresentHook : public cFrameDrawing {
 public:
  explicit PresentHook(StageRunner& runner) : m_runner(runner), m_previous(FrameDrawing) { FrameDrawing = this; }
  ~PresentHook() override { FrameDrawing = m_previous; }
  bool IsDirect3D() override { return m_previous->IsDirect3D(); }
  bool IsWindowed() override { return m_previous->IsWindowed(); }
  bool IsPrimaryLost() override { return m_previous->IsPrimaryLost(); }
  bool Restore() override { return m_previous->Restore(); }
  bool RestoreSurfaceSets() override { return m_previous->RestoreSurfaceSets(); }
  bool Present(int fps, int overlay, DDSURFACEDATA* sheet) override {
    const bool shown = m_previous->Present(fps, overlay, sheet);
    Presented();
    return shown;
  }
  void ShowFrame(int sync) override {
    m_previous->ShowFrame(sync);
    Presented();
  }
  void DrawText(int font, int x, int y, const char* text) override { m_previous->DrawText(font, x, y, text); }
  void DrawTextBox(int font, int x, int y, int w, int h, const char* text) override {
    m_previous->DrawTextBox(font, x, y, w, h, text);
  }

 private:
  void Presented() {
    // Only one frame loop runs at a time; the game thread waits for the others.
    const std::string loop = thPause.HasThread() ? "pause" : thRanking.HasThread() ? "ranking" : "game";
    if (loop != m_loop) {
      m_loop = loop;
      m_count = 0;
    }
    ++m_count;
    if (m_runner.onPresent) m_runner.onPresent(loop, m_count);
  }
  StageRunner& m_runner;
  cFrameDrawing* m_previous;
  std::string m_loop = "game";
  int m_count = 0;
};

StageRunner::StageRunner() : StageRunner(Options()) {}

StageRunner::StageRunner(const Options& options)
    : clock(options.clockStart), m_options(options), m_world(std::make_unique<GameWorld>(options.speedLevel)) {
  ResetTimers();
  ResetGame();
  WriteProject(options.project);
  StartDrawing(options.bpp, options.d3d);
  if (options.drawing == Drawing::Recorded) m_renderer = std::make_unique<RecordingRenderer>();
  m_presentHook = std::make_unique<PresentHook>(*this);
  if (options.gameThread) {
    m_world->events.TrackThreads(true);
    bAppActive = 1;
  }
}

StageRunner::~StageRunner() {
  if (m_options.gameThread) {
    bAppActive = 0;
    bQuit = 0;
  }
  m_presentHook.reset();
  ResetGame();
  m_renderer.reset();
  for (DDSURFACEDATA& sd : SurfaceTable) DDReleaseSurface(&sd);
  DDRelease();
  for (int i = 0; i < SURFACE_TABLE_SIZE; ++i) SurfaceTable[i].lpAlias = SurfaceDefs[i].lpAlias = nullptr;
  lpDTCon = nullptr;
  bDDEverInited = 0;
  std::fill(std::begin(CurPalette), std::end(CurPalette), PALETTEENTRY{});
  std::fill(std::begin(BasePalette), std::end(BasePalette), PALETTEENTRY{});
  plat::ClearDisplayFailures();
  plat::ResetD3DHooks();
  plat::ResetPresenter();
  ResetTimers();
}

void StageRunner::WriteProject(Project project) {
  if (project == Project::Sample) {
    // The sample's writer resets a world map that already has cells, which
    // the debug log's box reports; neither the box nor the writer's lines
    // belong to the run.
    m_world->events.ExpectBoxes({plat::BOX_OK});
    const fs::path& sample = SampleFolder();
    m_world->events.ExpectBoxes({});
    m_world->events.Clear();
    CopyInto(sample);
    ASSERT_TRUE(plat::CopyTree("default", "data"));
    ASSERT_TRUE(Database.LoadAll());
    ASSERT_EQ(SystemData.LoadFromFile("data\\System.dat"), 1);
    ASSERT_EQ(CommonPalette.LoadFromFile("data\\CommonPalette.cplt4"), 1);
    BuildDatabaseRunTables();
    return;
  }
  ASSERT_TRUE(WriteStartProjectWithData());
  for (const char* folder : kImageFolders) ASSERT_TRUE(plat::CreateDirectory(folder));
  // Made once per test program: they are the same bytes every time.
  static const std::vector<SAMPLEFILE> images = SampleImages();
  for (const SAMPLEFILE& file : images)
    ASSERT_TRUE(plat::WriteFileAtomic(file.strPath, file.strBytes.data(), file.strBytes.size()));
  BuildDatabaseRunTables();
}

void StageRunner::StartDrawing(int bpp, bool d3d) {
  plat::ClearDisplayFailures();
  plat::ResetD3DHooks();
  plat::SetVideoMemoryBudget(uint64_t{256} << 20);
  plat::SetDesktopBpp(32);
  plat::ResetPresenter();
  ASSERT_TRUE(DDInit(d3d ? 1 : 0, plat::WindowHandle{}, 640, 480, bpp, 0, 0, 1, 60, 0, SurfaceTable, SurfaceDefs,
                     SURFACE_TABLE_SIZE, 0));
  if (d3d) LinkSurfaceSources();
  for (int n = 0; n < 256; ++n) CurPalette[n] = PALETTEENTRY{uint8_t(n), uint8_t(255 - n), uint8_t(n / 2), 0};
  std::copy(std::begin(CurPalette), std::end(CurPalette), std::begin(BasePalette));
}

void StageRunner::TakeStage() {
  StageCopy.CopySettingsFrom(Stage);
  StageCopy.ClearDefinitions();
}

bool StageRunner::LoadSampleStage(int n) {
  return LoadStage(SampleStageName(n).c_str(), 1, &StageCopy) == 1;
}

void StageRunner::Enter(int from) {
  Game.m_pSceneMaker = &AppSceneMaker;
  Game.m_nPrevScene = from;
  Game.m_nScene = SCENE_STAGE;
  m_frames = 0;
}

void StageRunner::OnGameThread(const std::function<void()>& body) {
  if (!m_options.gameThread) {
    body();
    return;
  }
  struct Job {
    const std::function<void()>* body;
    std::atomic<bool> finished{false};
  } job;
  job.body = &body;
  const bool started = thGame.Start(
      [](void* arg) -> unsigned {
        auto* j = static_cast<Job*>(arg);
        (*j->body)();
        j->finished = true;
        return 0;
      },
      &job);
  if (!started) {
    ADD_FAILURE() << "thGame did not start";
    return;
  }
  const bool finished = PumpUntil(
      [&] {
        if (whilePumping) whilePumping();
        return job.finished.load();
      },
      60000);
  EXPECT_TRUE(finished) << "the game thread did not finish its frames";
  if (finished)
    thGame.Wait();
  else
    thGame.Exit();
}

int StageRunner::Frame() {
  int result = 0;
  OnGameThread([&] { result = FrameHere(); });
  return result;
}

int StageRunner::FrameHere() {
  cInput words;
  keys.Feed(words);
  for (int i = 0; i < 4; ++i) {
    const bool down = (words.m_wDir >> i) & 1;
    if (down != (((m_heldDir >> i) & 1) != 0)) down ? m_keys.Press(kDirKeys[i]) : m_keys.Release(kDirKeys[i]);
  }
  for (int i = 0; i < 8; ++i) {
    const bool down = (words.m_wButton >> i) & 1;
    if (down != (((m_heldButtons >> i) & 1) != 0))
      down ? m_keys.Press(kButtonKeys[i]) : m_keys.Release(kButtonKeys[i]);
  }
  m_heldDir = words.m_wDir;
  m_heldButtons = words.m_wButton;
  ++m_frames;
  if (beforeFrame) beforeFrame(m_frames);
  const int result = Game.Frame();
  if (m_options.gameThread) {
    const cSceneStage* scene = Scene();
    const int phase = scene ? scene->m_nPhase : -2;
    if (phase != m_lastPhase) {
      m_lastPhase = phase;
      m_world->events.Add(EventKind::State, std::to_string(phase));
    }
  }
  return result;
}

int StageRunner::Frames(int n) {
  int run = 0;
  OnGameThread([&] {
    for (; run < n; ++run) FrameHere();
  });
  return run;
}

bool StageRunner::RunUntil(const std::function<bool()>& done, int limit) {
  bool held = false;
  OnGameThread([&] {
    for (int i = 0; i < limit; ++i) {
      if (done()) {
        held = true;
        return;
      }
      FrameHere();
    }
    held = done();
  });
  return held;
}

bool StageRunner::EnterPlay(int from, int limit) {
  Enter(from);
  const bool playing = RunUntil([&] { return Scene() && Scene()->m_nPhase == STAGESTATE_PLAY; }, limit);
  EXPECT_TRUE(playing) << "the stage did not reach play in " << limit << " frames";
  return playing;
}

cSceneStage* StageRunner::Scene() const { return dynamic_cast<cSceneStage*>(Game.m_pStage); }

}  // namespace testsupport
