#include "tools/replaytrace/replay_player.h"

#include "app/game.h"
#include "game/game.h"
#include "media/dd_frame.h"
#include "media/dd_layer.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "platform/host_path.h"
#include "platform/presenter.h"
#include "platform/soft_display.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "records/replay_input.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/scene_stage.h"

namespace {

// Headless play draws every frame, as play does, but shows none: nobody
// would see it, and handing a frame over costs more than the frame's play.
class cUnshownFrames : public cFrameDrawing {
 public:
  void ShowFrame(int) override {}
};

}  // namespace

bool OpenGameFolder(const std::string& folder, bool d3d, std::string& error) {
  if (!plat::SetCurrentDirectory(folder)) {
    error = folder + ": no such folder";
    return false;
  }
  if (!plat::IsDirectory("data") && !plat::CopyTree("default", "data")) {
    error = "data\\ cannot be made from default\\";
    return false;
  }
  if (!Database.LoadAll()) {
    error = "the database does not load";
    return false;
  }
  if (SystemData.LoadFromFile("data\\System.dat") != 1 ||
      CommonPalette.LoadFromFile("data\\CommonPalette.cplt4") != 1) {
    error = "System.dat or CommonPalette.cplt4 does not load";
    return false;
  }
  BuildDatabaseRunTables();
  plat::SetVideoMemoryBudget(uint64_t{256} << 20);
  plat::SetDesktopBpp(32);
  if (!DDInit(d3d ? 1 : 0, plat::WindowHandle{}, 640, 480, d3d ? 32 : 16, 0, 0, 1, 60, 0, SurfaceTable, SurfaceDefs,
              SURFACE_TABLE_SIZE, 0)) {
    error = "the drawing layer does not start";
    return false;
  }
  if (d3d) LinkSurfaceSources();
  // As start-up leaves the frame loop.
  Game.m_nFadeStep = 10;
  Game.m_nFps = 60;
  return true;
}

bool TraceReplay(const std::string& path, int maxFrames, cPlayTrace& trace, int& frames, std::string& error) {
  frames = 0;
  if (!Replay.LoadFile(path, Stage, StageCopy, PlayData)) {
    error = path + ": the replay is refused (see the report log)";
    return false;
  }
  Stage.m_strPath = path;
  Game.m_nPlayCommand = GAMEMODE_REPLAY;
  Game.m_nPlayKind = PLAYKIND_REPLAY;
  Game.m_pSceneMaker = &AppSceneMaker;
  Game.m_nPrevScene = SCENE_TITLE;
  Game.m_nScene = SCENE_STAGE;
  cUnshownFrames unshown;
  cFrameDrawing* const shown = FrameDrawing;
  if (!FrameDrawing->IsDirect3D()) FrameDrawing = &unshown;
  while (frames < maxFrames) {
    trace.Before(dynamic_cast<cSceneStage*>(Game.m_pStage));
    Game.Frame();
    ++frames;
    if (trace.After(dynamic_cast<cSceneStage*>(Game.m_pStage)) && trace.LeftPlay()) break;
  }
  FrameDrawing = shown;
  return true;
}

void EndReplay() {
  Game.DeleteScenes();
  Game.m_nScene = Game.m_nNextScene = Game.m_nPrevScene = 0;
  Game.m_pSceneMaker = nullptr;
}
