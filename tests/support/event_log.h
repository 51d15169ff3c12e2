#pragma once
// What a game run told the world, in order, each with the stage frame and
// logic step it happened in: debug-log lines (the stand-ins of calls not
// built yet note their calls there, "FireTrigger <trigger> <id>" and the
// like), sounds and music asked of the main window, message boxes and close
// requests. Part of GameWorld; a test reads it, or checks that nothing
// unexpected happened.
//
// While it lives it is the debug log's tap (the debug log is switched on),
// the message boxes' answerer and the close handler, and hWndMain is a
// window of the test thread that takes the requests of play: the sounds and
// music, and the name entry, answered by `nameDialog`.
//
// Events may come from the game, pause and ranking threads and from the
// test thread's window; they are kept in the order they happened. With
// TrackThreads on, a Thread event ("game", "pause", "ranking") comes before
// the first event of a frame loop other than the last one's.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/messages.h"

namespace testsupport {

// Send: a request sent to the main window ("name" for the name entry).
// Thread: the frame loop the next events come from. State: the stage's
// state after a frame that changed it (the StageRunner adds them).
enum class EventKind { Log, Trigger, Sound, Music, Box, Close, Send, Thread, State };

struct GameEvent {
  int frame = 0;  // m_nFrameCount of the running stage
  int step = 0;   // m_nStepInFrame
  EventKind kind = EventKind::Log;
  std::string text;  // the line; "<slot>" for a sound; "<kind> <number>" for music; a box's text

  bool operator==(const GameEvent&) const = default;
};

// "frame.step kind text", for failure messages.
std::string ToString(const GameEvent& event);

class EventLog {
 public:
  EventLog();
  ~EventLog();
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;

  // Boxes the run is expected to show, answered in order (plat::BoxAnswer);
  // a box beyond them, and any close request, fail the test unless allowed.
  void ExpectBoxes(std::vector<int> answers) { m_answers = std::move(answers); }
  void AllowCloseRequests(bool allow) { m_allowClose = allow; }
  void TrackThreads(bool on) { m_trackThreads = on; }
  // The name-entry dialog, run on the window's thread while the request is
  // served: it may change the stage's m_strRankingName as the dialog does.
  // The done flag is then set unless it returns false. None: the name stays.
  std::function<bool()> nameDialog;

  const std::vector<GameEvent>& All() const { return m_events; }
  // The texts of the events of one kind, in order.
  std::vector<std::string> Texts(EventKind kind) const;
  // Takes the events so far (the log starts empty again).
  std::vector<GameEvent> Take();
  void Clear() { m_events.clear(); }

  void Add(EventKind kind, const std::string& text);

 private:
  std::mutex m_mutex;
  std::vector<GameEvent> m_events;
  std::vector<int> m_answers;
  bool m_allowClose = false;
  bool m_trackThreads = false;
  std::string m_lastLoop = "game";
  plat::WindowHandle m_window;
  plat::WindowHandle m_previousMain;
};

}  // namespace testsupport
