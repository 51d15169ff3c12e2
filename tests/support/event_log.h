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
// window of the test thread that takes the requests of play.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/messages.h"

namespace testsupport {

enum class EventKind { Log, Trigger, Sound, Music, Box, Close };

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

  const std::vector<GameEvent>& All() const { return m_events; }
  // The texts of the events of one kind, in order.
  std::vector<std::string> Texts(EventKind kind) const;
  // Takes the events so far (the log starts empty again).
  std::vector<GameEvent> Take();
  void Clear() { m_events.clear(); }

  void Add(EventKind kind, const std::string& text);

 private:
  std::vector<GameEvent> m_events;
  std::vector<int> m_answers;
  bool m_allowClose = false;
  plat::WindowHandle m_window;
  plat::WindowHandle m_previousMain;
};

}  // namespace testsupport
