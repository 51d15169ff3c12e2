#include "support/event_log.h"

#include <gtest/gtest.h>

#include "base/report_log.h"
#include "base/thread.h"
#include "base/window_messages.h"
#include "game/stage_data.h"
#include "platform/close_request.h"
#include "platform/message_box.h"

namespace testsupport {

namespace {

const char* KindName(EventKind kind) {
  switch (kind) {
    case EventKind::Log:
      return "log";
    case EventKind::Trigger:
      return "trigger";
    case EventKind::Sound:
      return "sound";
    case EventKind::Music:
      return "music";
    case EventKind::Box:
      return "box";
    case EventKind::Close:
      return "close";
    case EventKind::Send:
      return "send";
    case EventKind::Thread:
      return "thread";
    case EventKind::State:
      return "state";
  }
  return "?";
}

constexpr char kTriggerPrefix[] = "FireTrigger ";

}  // namespace

std::string ToString(const GameEvent& event) {
  return std::to_string(event.frame) + "." + std::to_string(event.step) + " " + KindName(event.kind) + " " +
         event.text;
}

EventLog::EventLog() {
  DebugLogInit(1, "EC_Game.txt");
  SetDebugLogTap([this](const std::string& line) {
    if (line.rfind(kTriggerPrefix, 0) == 0)
      Add(EventKind::Trigger, line.substr(sizeof(kTriggerPrefix) - 1));
    else
      Add(EventKind::Log, line);
  });
  plat::SetBoxScript([this](const plat::BoxRequest& box) {
    Add(EventKind::Box, box.text);
    if (m_answers.empty()) {
      ADD_FAILURE() << "unexpected box: " << box.text;
      return static_cast<int>(plat::BOX_OK);
    }
    const int answer = m_answers.front();
    m_answers.erase(m_answers.begin());
    return answer;
  });
  plat::ResetCloseRequests();
  plat::SetCloseHandler([this] {
    Add(EventKind::Close, "");
    if (!m_allowClose) ADD_FAILURE() << "unexpected close request";
  });
  m_previousMain = hWndMain.load();
  m_window = plat::CreateMessageWindow([this](plat::WindowHandle, uint32_t msg, uintptr_t wParam,
                                              intptr_t lParam) -> intptr_t {
    if (msg == WM_GAME_PLAYSE) Add(EventKind::Sound, std::to_string(wParam));
    if (msg == WM_GAME_PLAYBGM) Add(EventKind::Music, std::to_string(wParam) + " " + std::to_string(lParam));
    if (msg == WM_GAME_NAMEENTRY) {
      Add(EventKind::Send, "name");
      if (!nameDialog || nameDialog()) bNameDone = 1;
    }
    return 0;
  });
  hWndMain = m_window;
}

EventLog::~EventLog() {
  hWndMain = m_previousMain;
  plat::DestroyMessageWindow(m_window);
  plat::SetCloseHandler(nullptr);
  plat::ResetCloseRequests();
  plat::SetBoxScript(nullptr);
  SetDebugLogTap(nullptr);
  DebugLogInit(0, "EC_Game.txt");
}

void EventLog::Add(EventKind kind, const std::string& text) {
  const cSceneStageData& stage = StageData();
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_trackThreads) {
    // One frame loop runs at a time, and the game thread waits while a
    // pause or ranking loop runs: whatever happens meanwhile is theirs.
    const char* loop = thPause.HasThread() ? "pause" : thRanking.HasThread() ? "ranking" : "game";
    if (m_lastLoop != loop) {
      m_lastLoop = loop;
      m_events.push_back(GameEvent{stage.m_nFrameCount, stage.m_nStepInFrame, EventKind::Thread, loop});
    }
  }
  m_events.push_back(GameEvent{stage.m_nFrameCount, stage.m_nStepInFrame, kind, text});
}

std::vector<std::string> EventLog::Texts(EventKind kind) const {
  std::vector<std::string> texts;
  for (const GameEvent& e : m_events)
    if (e.kind == kind) texts.push_back(e.text);
  return texts;
}

std::vector<GameEvent> EventLog::Take() {
  std::vector<GameEvent> taken;
  taken.swap(m_events);
  return taken;
}

}  // namespace testsupport
