#pragma once
// The stage scene (scene 4): what the main window's dialogs reach of it
// while it runs (CurStage).
#include <string>

#include "game/scene.h"

class cSceneStage : public cScene {
 public:
  // The name under which a cleared result enters the rankings; the
  // name-entry dialog edits it, and writes it only on "OK".
  std::string m_strRankingName;
};
