#pragma once
// The play trace: one line of text per play frame that pins what a frame of
// play decided, so that two runs of the same input can be compared frame by
// frame (a replay against its attempt, a golden replay against its stored
// trace).
#include <string>

class cSceneStage;

// The line of the stage's state after a frame: the state, the frame count,
// the random generator's state, the hero and then each character by id with
// its hit box's left and top (doubles in hex, exact), HP and SP, then the
// stage score and the run's total, the time left and the number of shots.
// Game thread, between frames.
std::string PlayTraceLine(const cSceneStage& scene);

// Follows a stage frame by frame and keeps a line for each frame that took
// the play input (the frame count moved; also the frame that ends play by
// a clear, a death or the end of a replay).
class cPlayTrace {
 public:
  // Before a frame: what the frame starts from.
  void Before(const cSceneStage* scene);
  // After it: appends its line when it played; true when it did.
  bool After(const cSceneStage* scene);
  const std::string& Text() const { return m_strText; }
  int Lines() const { return m_nLines; }
  // The last line left play: a clear, the restart after a death or at the
  // end of a replay's input.
  bool LeftPlay() const { return m_bLeftPlay; }

 private:
  bool m_bLeftPlay = false;
  std::string m_strText;
  int m_nLines = 0;
  int m_nPhase = -1;
  int m_nFrameCount = -1;
};
