// The picture command: a picture of the database loaded into Off_Picture and
// shown by the stage (m_Pictures, parallel to Off_Picture and
// Off_PictureDef), found again by its ID, that may stop the game.
#include <cstdint>
#include <iterator>

#include "base/boxes.h"
#include "base/report_log.h"
#include "base/window_messages.h"
#include "game/action_commands.h"
#include "game/calc_ops.h"
#include "game/display_commands.h"
#include "game/flow_instance.h"
#include "game/stage_data.h"
#include "media/dd_layer.h"
#include "media/dd_surface.h"
#include "media/system_surfaces.h"
#include "records/anime_step.h"
#include "records/database.h"

namespace {

// "%s 読み込み失敗！"
constexpr char kLoadFailed[] = "%s \x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x8E\xB8\x94\x73\x81\x49";

// The 3D device keeps a picture in system memory when it is drawn zoomed or
// video memory runs low (under a fifth free).
int PictureMemType(int zoom) {
  if (!lpDTCon) return DTMEMORYTYPE_VIDEO_RT;
  if (zoom != 100) return DTMEMORYTYPE_SYSTEM;
  uint32_t total = 0, free = 0;
  GetVideoMemory(total, free);
  return total > 0 && uint64_t{free} * 100 / total < 20 ? DTMEMORYTYPE_SYSTEM : DTMEMORYTYPE_VIDEO_RT;
}

void ClearPictures(cSceneStageData& stage) {
  DDReleaseSurfaceList(Off_Picture);
  Off_Picture.clear();
  Off_PictureDef.clear();
  stage.m_Pictures.clear();
}

// The position in m_Pictures of the picture with that ID; -1 when none.
int FindPictureById(const cList<cPictureInstance>& list, int id) {
  int i = 0;
  for (const cPictureInstance& picture : list) {
    if (picture.m_bUseId && picture.m_nPictureId == id) return i;
    ++i;
  }
  return -1;
}

template <class T>
typename cList<T>::iterator Nth(cList<T>& list, int n) {
  return n < 0 || static_cast<size_t>(n) >= list.size() ? list.end() : std::next(list.begin(), n);
}

}  // namespace

void CmdShowPicture(cCharaBase& chara, cEdCommand& command) {
  cSceneStageData& stage = StageData();
  if (stage.m_bCloseRequested.load()) return;
  auto p = [&command](int i) { return CmdParam(command, i); };
  const int number = p(0), bUseId = p(12);
  if (number == 0 && !bUseId) {
    ClearPictures(stage);
    return;
  }

  int at = -1;  // where the new picture goes; -1 at the end
  if (bUseId) {
    const int found = FindPictureById(stage.m_Pictures, p(13));
    if (found >= 0) {
      stage.RemovePicture(&*Nth(stage.m_Pictures, found));
      if (number == 0) return;
      at = found;
    } else if (number == 0) {
      return;
    }
  }

  const cEdPicture& def = Database.m_vPicture.At(number);  // a bad number is reported; entry 0 stands in
  const int zoom = p(7);
  DDSURFACEDEF surfaceDef;
  surfaceDef.szFileName = def.m_strFile;
  surfaceDef.bColorKey = 1;
  surfaceDef.nDTMemType = PictureMemType(zoom);
  DDSURFACEDATA* surface = &*Off_Picture.emplace(Nth(Off_Picture, at));
  Off_PictureDef.insert(Nth(Off_PictureDef, at), surfaceDef);
  surface->szFileName = def.m_strFile;
  if (DDCreateSurfaceFromFile(surface, def.m_strFile.c_str(), 1, nBpp, 0, surfaceDef.nDTMemType, nullptr, 0, 0, 0,
                              0) != 0) {
    // The program closes; meanwhile the picture is simply not shown.
    ErrorBoxPrintf(kLoadFailed, def.m_strFile.c_str());
    ReportPrintf(kLoadFailed, def.m_strFile.c_str());
    PostCloseMessage(hWndMain.load());
    DDEraseSurface(Off_Picture, Off_PictureDef, surface);
    return;
  }

  const int w = PercentRound(surface->nWidth, zoom);
  const int h = PercentRound(surface->nHeight, zoom);
  double x = 0, y = 0;
  GetDisplayPosition(x, y, w, h, chara, p(1), p(2), p(3), p(4), p(5));
  const int frames = p(14) ? 1 : SaturatedTicks(p(9), TICKS_PER_TENTH);
  cPictureInstance& picture = *stage.m_Pictures.emplace(Nth(stage.m_Pictures, at));
  picture.Init(number, x, y, w, h, p(11), p(6), zoom, p(8), frames, p(10), bUseId, p(13));

  if (!p(10)) return;
  switch (p(8)) {
    case 0:
      stage.m_Wait.Set(3, 1, 0, 0);
      break;
    case 2:
      stage.m_Wait.Set(3, 0, frames, 0);
      break;
    default:
      // A picture until the stage ends has no end to wait for: play goes on
      // with it on screen.
      return;
  }
  stage.RunPauseLoop(0);
  stage.RemovePicture(&picture);
}

int ActShowPicture(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdShowPicture(chara, *instance.m_pCommand);
  return 0;
}
