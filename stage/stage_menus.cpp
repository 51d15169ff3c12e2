// The pause menu (quit, continue, retry), the retry menu after a lost life
// in story play (retry, back to the map) and game over.
#include "base/boxes.h"
#include "base/window_messages.h"
#include "game/game.h"
#include "game/menu_cursor.h"
#include "game/play_drawing.h"
#include "media/input.h"
#include "media/sound_effect.h"
#include "media/surface_table.h"
#include "media/system_menu.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "stage/replay_keys.h"
#include "stage/scene_stage.h"

// The menus' top left corners; x follows the menu's width every frame.
MENUANCHOR PauseMenuAnchor = {320, 272, 0, 0};
MENUANCHOR RetryMenuAnchor = {320, 272, 0, 0};

namespace {

// System texts: quit, continue, retry; and retry, back to the map.
constexpr int kPauseFirstText = 19;
constexpr int kRetryFirstText = 22;
constexpr int kMenuRowH = 16;

constexpr uint16_t kMenuDecide = 1;  // button 1
constexpr uint16_t kMenuCancel = 2;  // button 2

// Word.bmp holds the game-over banner.
constexpr int kGameOverImage = 51;

enum PAUSEROW { PAUSEROW_QUIT, PAUSEROW_CONTINUE, PAUSEROW_RETRY };
enum RETRYROW { RETRYROW_RETRY, RETRYROW_MAP };

bool StageFlagAt(const cVector<int32_t>& flags, int i) { return i >= 0 && i < flags.Size() && flags[i] != 0; }

// The pause menu offers a retry of the stage: a story stage cleared before,
// a challenge stage cleared before (each when the project allows it), any
// free stage; never a replay.
bool PauseOffersRetry() {
  switch (Game.m_nPlayKind) {
    case PLAYKIND_STORY:
      return SystemData.bRetryStory() && StageFlagAt(PlayData.m_vStageClear, PlayData.m_nStageNo);
    case PLAYKIND_CHALLENGE: {
      const int i = PlayData.m_nStageNo - 1;
      return SystemData.bRetryChallenge() && i >= 0 && i < PlayData.m_vChallenge.Size() &&
             PlayData.m_vChallenge[i].m_bCleared != 0;
    }
    case PLAYKIND_FREE:
      return true;
    default:
      return false;
  }
}

// The input of a menu frame: one press per hold, directions repeating.
cInput& MenuFrameInput() {
  cInput& input = Input.At(0);
  input.LatchButtons(0);
  input.ApplyRepeat();
  return input;
}

}  // namespace

void cSceneStage::PauseMenu() {
  if (CheckReplaySaveKeys()) return;
  const int rows = PauseOffersRetry() ? 3 : 2;
  if (m_nStep == 0) {
    *MenuCursor.Cur() = CURSORPOS{0, PAUSEROW_CONTINUE, 0, 0};
    m_nStep = 1;
  }
  const cInput& input = MenuFrameInput();
  // Placed as the three-entry menu, with or without its retry entry.
  PauseMenuAnchor.nX = GetMenuLeft(320, kPauseFirstText, 3, 1);
  MenuCursor.MoveGrid(input.m_wDir, PauseMenuAnchor.nX, PauseMenuAnchor.nY, 0, kMenuRowH, 1, rows);
  DS_PlayCursorSound(input.m_wDir, 2, 0);

  if (input.m_wButton & kMenuDecide) {
    PlaySe(1);
    switch (MenuCursor.Cur()->nRow) {
      case PAUSEROW_QUIT:
        m_nPhase = STAGESTATE_FADEOUT;
        if (bTestPlay.load()) {
          PostCloseMessage(hWndMain.load());
        } else {
          Game.m_nNextScene = SCENE_TITLE;
          // The title opens on the mode just played.
          MenuCursor.Cur()->nRow = Game.m_nPlayCommand;
          m_nStep = 0;
        }
        return;
      case PAUSEROW_CONTINUE:
        m_bButtonLock = 1;
        m_nPhase = m_nPausedPhase;
        m_nStep = m_nPausedStep;
        return;
      case PAUSEROW_RETRY:
        m_bButtonLock = 1;
        PlayData.RestoreStageStartSnapshot(1, Game.m_nPlayKind);
        SetStage(1, 0);
        m_nStep = 0;
        m_nPhase = STAGESTATE_START;
        return;
      default:
        break;
    }
  } else if (input.m_wButton & kMenuCancel) {
    PlaySe(2);
    m_bButtonLock = 1;
    m_nPhase = m_nPausedPhase;
    // Without the retry entry the paused state starts again from its entry:
    // a clear restarts its banner and its wait.
    m_nStep = rows == 3 ? m_nPausedStep : 0;
    return;
  }

  Draw(0, 1, 0, 1);
  PlayDrawing->DrawMenuText(&BackBuffer, PauseMenuAnchor.nX, PauseMenuAnchor.nY, kPauseFirstText, rows, 1);
  DrawMenuSprite(MENUSPRITE_ARROW, MenuCursor.Cur()->nX, MenuCursor.Cur()->nY);
}

void cSceneStage::RetryMenu() {
  if (CheckReplaySaveKeys()) return;
  if (m_nStep == 0) {
    *MenuCursor.Cur() = CURSORPOS{0, RETRYROW_RETRY, 0, 0};
    m_nStep = 1;
  }
  const cInput& input = MenuFrameInput();
  RetryMenuAnchor.nX = GetMenuLeft(320, kRetryFirstText, 2, 1);
  MenuCursor.MoveGrid(input.m_wDir, RetryMenuAnchor.nX, RetryMenuAnchor.nY, 0, kMenuRowH, 1, 2);
  DS_PlayCursorSound(input.m_wDir, 2, 0);

  // No cancel: a choice must be made.
  if (input.m_wButton & kMenuDecide) {
    PlaySe(1);
    if (MenuCursor.Cur()->nRow == RETRYROW_RETRY) {
      SetStage(1, 0);
      m_nStep = 0;
      m_nPhase = STAGESTATE_START;
    } else {
      PlayData.m_bBackFromRetry = 1;
      Game.m_nNextScene = SCENE_WORLDMAP;
      MenuCursor.Cur()->nRow = Game.m_nPlayCommand;
      m_nStep = 0;
      m_nPhase = STAGESTATE_FADEOUT;
    }
    return;
  }

  Draw(0, 1, 0, 1);
  PlayDrawing->DrawMenuText(&BackBuffer, RetryMenuAnchor.nX, RetryMenuAnchor.nY, kRetryFirstText, 2, 1);
  DrawMenuSprite(MENUSPRITE_ARROW, MenuCursor.Cur()->nX, MenuCursor.Cur()->nY);
}

void cSceneStage::GameOver() {
  if (CheckPauseKey()) {
    m_nStep = 0;
    m_nPhase = STAGESTATE_PAUSE;
    return;
  }
  if (CheckReplaySaveKeys()) return;
  if (Input.At(0).m_wButton & kMenuDecide) {
    PlaySe(1);
    m_nPhase = STAGESTATE_FADEOUT;
    Game.m_nNextScene = SCENE_TITLE;
    return;
  }
  Draw(0, 1, 0, 1);
  if (Stage.m_bGameOverBanner)
    PlayDrawing->DDBlt(&BackBuffer, 248, 224, 144, 32, &SurfaceTable[kGameOverImage], 0, 96, 1);
}
