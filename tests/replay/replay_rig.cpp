#include "replay_rig.h"

#include <gtest/gtest.h>

#include <sstream>

#include "game/game.h"
#include "records/replay_input.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/scene_stage.h"

namespace replaytest {

namespace {

// The words of play frame `played` (from 0) of the script; idle after it.
SCRIPTSTEP WordsAt(const std::vector<SCRIPTSTEP>& script, int played) {
  for (const SCRIPTSTEP& step : script) {
    if (played < step.nFrames) return step;
    played -= step.nFrames;
  }
  return {0, 0, 0};
}

}  // namespace

cPlayTrace PlayLive(testsupport::StageRunner& run, int stage, const std::vector<SCRIPTSTEP>& script, int playFrames) {
  cPlayTrace trace;
  EXPECT_TRUE(run.LoadSampleStage(stage));
  SystemData.m_bReplay = 1;
  Game.m_nPlayCommand = GAMEMODE_FREE;
  Game.m_nPlayKind = PLAYKIND_FREE;
  run.Enter();
  // Frames before play (fade, banners) and after take no words.
  for (int frame = 0; frame < playFrames * 4 && trace.Lines() < playFrames; ++frame) {
    cSceneStage* scene = run.Scene();
    const bool playing = scene && scene->m_nPhase == STAGESTATE_PLAY;
    const SCRIPTSTEP words = playing ? WordsAt(script, trace.Lines()) : SCRIPTSTEP{0, 0, 0};
    run.keys.Hold(words.wDir, words.wButton, 1);
    trace.Before(scene);
    run.Frame();
    if (trace.After(run.Scene()) && trace.LeftPlay()) break;
  }
  return trace;
}

bool SaveAttempt(const std::string& path) { return Replay.SaveFile(path, Stage, StageCopy, ReplayStart) == 1; }

std::string FirstDifference(const std::string& expected, const std::string& got) {
  std::istringstream a(expected), b(got);
  std::string la, lb;
  for (int n = 1;; ++n) {
    const bool ha = static_cast<bool>(std::getline(a, la));
    const bool hb = static_cast<bool>(std::getline(b, lb));
    if (!ha && !hb) return "";
    if (ha && hb && la == lb) continue;
    return "first difference at line " + std::to_string(n) + ":\n  expected: " + (ha ? la : "(end)") +
           "\n  got:      " + (hb ? lb : "(end)");
  }
}

std::string Ending(const std::string& trace) {
  std::istringstream in(trace);
  std::string line, last;
  bool dead = false;
  while (std::getline(in, line)) {
    // "f<n> s<state> r<random> H<id> <left> <top> <HP> ..."
    std::istringstream words(line);
    std::string frame, state, random, hero, left, top;
    int hp = 1;
    if (words >> frame >> state >> random >> hero >> left >> top >> hp && hero[0] == 'H' && hp <= 0) dead = true;
    last = line;
  }
  std::istringstream words(last);
  std::string frame, state;
  words >> frame >> state;
  if (state == "s4") return "clear";
  if (state == "s2" || state.empty()) return "play";
  return dead ? "death" : "restart";
}

std::string Head(const std::string& trace, int lines) {
  size_t pos = 0;
  for (int i = 0; i < lines && pos != std::string::npos; ++i) {
    pos = trace.find('\n', pos);
    if (pos != std::string::npos) ++pos;
  }
  return pos == std::string::npos ? trace : trace.substr(0, pos);
}

}  // namespace replaytest
