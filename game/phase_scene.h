#pragma once
// The phase machine that every scene runs (see cScene, game/scene.h).
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "base/container.h"
#include "game/game.h"
#include "media/input.h"

// A scene's phase machine. Phase 0 fades in, the last phase fades out, the
// ones between are the scene's own; -1 means not entered yet, so the next
// Run sets the scene up (Init) before phase 0. A scene leaves with Leave,
// and its fade-out calls FinishFadeOut once the screen is dark: the scene
// manager then switches on the next frame.
template <class T>
class cPhaseScene : public cScene {
 public:
  using Phase = int (T::*)();

  // Every frame: the menus' repeat and latch on the first input record, the
  // set-up on entry, then the running phase. A phase outside the table runs
  // nothing.
  int Run() override {
    cInput& input = Input.At(0);
    input.ApplyRepeat();
    input.LatchButtons(m_wButtonMask);
    if (m_nPhase == -1) {
      RunSceneSetUp([this] { Init(); });
      m_nPhase = 0;
    }
    if (m_nPhase < 0 || m_nPhase >= m_apfnPhase.Size()) return 0;
    return (static_cast<T*>(this)->*m_apfnPhase[m_nPhase])();
  }

  int32_t m_nPhase = -1;
  int32_t m_nSubState = 0;
  cVector<Phase> m_apfnPhase;

 protected:
  // `buttonMask`: the buttons that act once per hold in this scene (0: all).
  cPhaseScene(std::initializer_list<Phase> phases, uint16_t buttonMask)
      : m_apfnPhase(phases), m_wButtonMask(buttonMask) {}
  cPhaseScene(cVector<Phase> phases, uint16_t buttonMask)
      : m_apfnPhase(std::move(phases)), m_wButtonMask(buttonMask) {}

  // Leaving for scene `next`: its number, then the fade-out phase.
  void Leave(int next) {
    Game.m_nNextScene = next;
    m_nPhase = m_apfnPhase.Size() - 1;
  }
  // The fade-out has finished: the previous scene becomes `own`, the current
  // one the next, and the scene starts from its set-up if it runs again.
  void FinishFadeOut(int own) {
    Game.m_nPrevScene = own;
    Game.m_nScene = Game.m_nNextScene;
    m_nPhase = -1;
  }

  uint16_t m_wButtonMask;
};
