#pragma once
// The frame that the menu scenes of the front end share (title, world map,
// map menu, stage select, options): on each entry the screen's music, the
// scene's images, a fresh cursor, the visible entries of its System.dat menu
// and its own surfaces; a fade-in as phase 0 and a fade-out as the last
// phase; the images and surfaces released when the scene goes.
#include <cstdint>
#include <initializer_list>

#include "base/container.h"
#include "game/menu_anchor.h"
#include "game/menu_cursor.h"
#include "game/phase_scene.h"
#include "media/dd_layer.h"
#include "media/dd_surface.h"

class cEdSystemText;

// The title's menu (the graphic menu moves its x) and its save-slot list.
extern MENUANCHOR TitleMenuAnchor;
extern MENUANCHOR TitleSlotAnchor;

// What one scene brings to the frame.
constexpr int SCENE_MAX_IMAGES = 8;
struct SCENEFRAME {
  int32_t nScene;    // its scene number
  int32_t nBgmKind;  // the screen's music, BGMKIND_TITLE .. BGMKIND_OPTION
  int32_t anImages[SCENE_MAX_IMAGES];  // SurfaceTable entries loaded on entry, released at the end
  int32_t nImages;
  const cVector<cEdSystemText>* pMenu;  // System.dat's list of its menu; null without one
};

// Init's steps, for the scenes that cannot take the whole of cFrontScene.
// The screen's music: entry `kind` of System.dat's screen music is asked of
// the main window (WM_USER+6) when it is 0 (none: stops what plays) or not
// the music last asked for; the same music goes on playing.
void StartScreenMusic(int kind);
// Makes the listed SurfaceTable entries; a failure closes the program (the
// scene goes on with what it has). False then.
bool LoadSceneImages(const SCENEFRAME& frame);
// The ids of the visible entries of a System.dat menu, in order; a menu with
// none visible gives the single id 0. Returns the count.
int32_t CollectVisibleEntries(const cVector<cEdSystemText>& menu, cVector<int32_t>& ids);
// The listed SurfaceTable entries and every surface of Off_Scene.
void ReleaseSceneSurfaces(const SCENEFRAME& frame);
// Off_Scene made afresh as one 640 × 480 surface; a failure asks the program
// to close. False then.
bool MakeFullScreenSurface();
// Off_Scene's surface framed, with the caption of title-menu entry
// `titleEntry` centred at the top; null when there is no surface.
DDSURFACEDATA* BeginFullScreenSurface(int titleEntry);
// One frame of the scenes' fade from or to black at Game's fade step; true
// on the frame that finishes it.
bool SceneFadeIn();
bool SceneFadeOut();

// A front-end scene T (CRTP) on the phase machine. T may hide these, which
// the frame calls as T's own:
//   InitScene()      the scene's own set-up at the end of Init (its
//                    surfaces in Off_Scene, its cursor, ...)
//   DrawScreen()     the screen under the fade-in
//   RedrawSurfaces() its surfaces drawn anew before the fade-in at 8 bits
//   OnFadedOut()     work between the dark screen and the switch
template <class T>
class cFrontScene : public cPhaseScene<T> {
 public:
  using typename cPhaseScene<T>::Phase;

  ~cFrontScene() override { ReleaseSceneSurfaces(m_frame); }

  void Init() override {
    StartScreenMusic(m_frame.nBgmKind);
    LoadSceneImages(m_frame);
    MenuCursor.Reset();
    if (m_frame.pMenu) m_nItems = CollectVisibleEntries(*m_frame.pMenu, m_nItemIds);
    Self().InitScene();
    this->m_nSubState = 0;
  }

  // Phase 0: the screen comes up from black, then phase 1.
  void FadeIn() override {
    if (nBpp == 8) Self().RedrawSurfaces();
    Self().DrawScreen();
    if (SceneFadeIn()) this->m_nPhase = 1;
  }

  // The last phase: once the screen is black it is cleared to colour 16,
  // the cursor starts afresh and the next scene follows.
  void FadeOut() override {
    if (!SceneFadeOut()) return;
    DDFillSurface(&BackBuffer, 16);
    Self().OnFadedOut();
    MenuCursor.Reset();
    this->FinishFadeOut(m_frame.nScene);
  }

  int RunFadeIn() {
    FadeIn();
    return 1;
  }
  int RunFadeOut() {
    FadeOut();
    return 1;
  }

  void InitScene() {}
  void DrawScreen() {}
  void RedrawSurfaces() {}
  void OnFadedOut() {}

  int32_t m_nItems = 0;         // visible entries of the scene's menu
  cVector<int32_t> m_nItemIds;  // their ids, in order

 protected:
  // `phases` lie between the fade-in (first) and the fade-out (last).
  cFrontScene(std::initializer_list<Phase> phases, uint16_t buttonMask, const SCENEFRAME& frame)
      : cPhaseScene<T>(WithFades(phases), buttonMask), m_frame(frame) {}

  SCENEFRAME m_frame;

 private:
  T& Self() { return *static_cast<T*>(this); }
  static cVector<Phase> WithFades(std::initializer_list<Phase> phases) {
    cVector<Phase> all;
    all.push_back(&cFrontScene::RunFadeIn);
    all.insert(all.end(), phases.begin(), phases.end());
    all.push_back(&cFrontScene::RunFadeOut);
    return all;
  }
};
