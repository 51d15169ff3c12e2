#include "platform/script_run.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <thread>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>

#include "platform/box_dialog.h"
#include "platform/dialog_box.h"
#include "platform/event_push.h"
#include "platform/input.h"
#include "platform/message_box.h"
#include "platform/message_numbers.h"
#include "platform/messages.h"
#include "platform/presenter.h"
#include "platform/virtual_keys.h"

namespace plat {
namespace {

// A waiting step with no bound of its own gives up after this many polls.
constexpr int kDefaultBound = 600;

// The trace: the file, and while a script runs every line for its expects.
std::mutex g_traceMutex;
std::FILE* g_trace = nullptr;
std::vector<std::string> g_lines;
std::atomic<bool> g_traceOn{false};

// The script. Lock order: g_scriptMutex, then g_traceMutex.
std::mutex g_scriptMutex;
std::atomic<bool> g_running{false};
std::vector<ScriptStep> g_steps;
size_t g_step = 0;
int g_stepPolls = 0;  // polls spent in the current step
bool g_entered = false;
bool g_ended = false;
size_t g_expectFrom = 0;  // trace lines before this were found or passed
std::unique_ptr<ScriptedInput> g_scriptInput;
std::string g_shot;  // saved from the next presented frame
std::atomic<uint32_t> g_polls{0};
std::atomic<uint32_t> g_keyWindowId{0};  // SDL id of the window a scripted Escape goes to

// A dialog that keeps the game waiting (its answer left it open, or it had
// none) is cancelled after this long without an input poll.
constexpr auto kDialogPatience = std::chrono::seconds(3);
WindowHandle g_openDialog{};  // the last dialog shown; cleared by a poll
std::chrono::steady_clock::time_point g_dialogSince;
std::thread g_watchdog;
std::condition_variable g_watchdogWake;
bool g_watchdogStop = false;

void WatchDialogs() {
  std::unique_lock<std::mutex> lock(g_scriptMutex);
  while (!g_watchdogStop) {
    g_watchdogWake.wait_for(lock, std::chrono::milliseconds(250));
    if (g_watchdogStop || !g_openDialog.id) continue;
    if (std::chrono::steady_clock::now() - g_dialogSince < kDialogPatience) continue;
    g_dialogSince = std::chrono::steady_clock::now();
    // A dialog already gone takes no message.
    if (Post(g_openDialog, WM_COMMAND, MakeWParam(kIdCancel, BN_CLICKED), 0))
      Trace("dialog cancelled: no answer closed it");
  }
}

const char* OpName(ScriptOp op) {
  switch (op) {
    case ScriptOp::Hold: return "hold";
    case ScriptOp::Wait: return "wait";
    case ScriptOp::Type: return "type";
    case ScriptOp::Answer: return "answer";
    case ScriptOp::Expect: return "expect";
    case ScriptOp::Shot: return "shot";
  }
  return "?";
}

bool ParseInt(const std::string& word, int& out) {
  if (word.empty()) return false;
  char* end = nullptr;
  const long v = std::strtol(word.c_str(), &end, 0);
  if (*end || v < -1000000000L || v > 1000000000L) return false;
  out = static_cast<int>(v);
  return true;
}

bool ParseKey(const std::string& word, int& vk) {
  if (word.size() == 1 && std::isalnum(static_cast<unsigned char>(word[0]))) {
    vk = std::toupper(static_cast<unsigned char>(word[0]));
    return true;
  }
  return ParseInt(word, vk) && vk >= 0 && vk < kKeyCount;
}

// The text after the first `skip` words of a line.
std::string Rest(const std::string& line, int skip) {
  size_t pos = 0;
  for (int i = 0; i < skip; ++i) {
    pos = line.find_first_not_of(" \t", pos);
    pos = pos == std::string::npos ? pos : line.find_first_of(" \t", pos);
    if (pos == std::string::npos) return "";
  }
  pos = line.find_first_not_of(" \t", pos);
  if (pos == std::string::npos) return "";
  size_t end = line.find_last_not_of(" \t\r");
  return line.substr(pos, end - pos + 1);
}

[[noreturn]] void Miss(const ScriptStep& step, const char* why) {
  std::fprintf(stderr, "script line %d (%s %s): %s\n", step.line, OpName(step.op), step.text.c_str(), why);
  Trace("script miss line %d: %s %s: %s", step.line, OpName(step.op), step.text.c_str(), why);
  std::fflush(nullptr);
  _exit(3);
}

void NextStep() {
  ++g_step;
  g_stepPolls = 0;
  g_entered = false;
}

// The step of `op` that a dialog or a box takes: the first from the
// current one on, over holds and waits that the program left early by
// opening it and over maybe steps of the other kind. Null when the script
// does not expect one now (nothing is passed over then).
const ScriptStep* TakeWaiting(ScriptOp op) {
  for (size_t i = g_step; i < g_steps.size(); ++i) {
    const ScriptStep& step = g_steps[i];
    if (step.op == op) {
      while (g_step <= i) NextStep();
      return &step;
    }
    const bool passable = step.op == ScriptOp::Hold || step.op == ScriptOp::Wait ||
                          ((step.op == ScriptOp::Type || step.op == ScriptOp::Answer) && step.optional);
    if (!passable) break;
  }
  return nullptr;
}

bool FoundInTrace(const std::string& text) {
  std::lock_guard<std::mutex> lock(g_traceMutex);
  for (size_t i = g_expectFrom; i < g_lines.size(); ++i)
    if (g_lines[i].find(text) != std::string::npos) {
      g_expectFrom = i + 1;
      return true;
    }
  return false;
}

void OnDialogShown(const DialogShown& shown) {
  std::string text;
  bool typed = false;
  {
    std::lock_guard<std::mutex> lock(g_scriptMutex);
    g_openDialog = shown.dialog;
    g_dialogSince = std::chrono::steady_clock::now();
    if (const ScriptStep* step = TakeWaiting(ScriptOp::Type)) {
      text = step->text;
      typed = true;
    }
  }
  if (typed) {
    if (!text.empty()) PushTextInput(shown.windowId, text);
    PushKeyStroke(shown.windowId, VK_RETURN);
  } else {
    // A dialog the script did not ask for is cancelled.
    PushKeyStroke(shown.windowId, VK_ESCAPE);
  }
}

int AnswerBox(const BoxRequest& request) {
  {
    std::lock_guard<std::mutex> lock(g_scriptMutex);
    if (const ScriptStep* step = TakeWaiting(ScriptOp::Answer)) return step->answer;
  }
  // Unasked boxes take their default button.
  const detail::BoxButtonSet set = detail::ButtonsOf(request.buttons);
  return set.ids[request.defaultButton >= 0 && request.defaultButton < set.count ? request.defaultButton : 0];
}

void OnFrame(const uint32_t* pixels, int width, int height) {
  std::string name;
  {
    std::lock_guard<std::mutex> lock(g_scriptMutex);
    name.swap(g_shot);
  }
  if (name.empty()) return;
  // The frame is on screen now; encoding it takes longer than showing it.
  Trace("shown %s", name.c_str());
  if (name.size() < 4 || name.compare(name.size() - 4, 4, ".png") != 0) name += ".png";
  if (WritePngFile(name, pixels, width, height))
    Trace("shot %s", name.c_str());
  else
    Trace("shot %s not written", name.c_str());
}

}  // namespace

bool ParseScript(const std::string& text, std::vector<ScriptStep>& steps, std::string& error) {
  steps.clear();
  std::istringstream in(text);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    // A '#' inside typed or expected text belongs to it.
    std::istringstream words(line);
    std::string op;
    words >> op;
    if (op.empty() || op[0] == '#') continue;
    bool optional = false;
    if (op == "maybe") {
      optional = true;
      line.erase(0, line.find(op) + op.size());
      std::istringstream(line) >> op;
      if (op != "type" && op != "answer") {
        error = "script line " + std::to_string(number) + ": maybe type TEXT or maybe answer N";
        return false;
      }
    }
    const size_t hash = line.find('#');
    if (op != "type" && op != "expect" && op != "shot" && hash != std::string::npos) line.erase(hash);
    ScriptStep step;
    step.line = number;
    step.optional = optional;
    std::vector<std::string> args;
    {
      std::istringstream rest(line);
      std::string w;
      rest >> w;
      while (rest >> w) args.push_back(w);
    }
    auto fail = [&](const char* why) {
      error = "script line " + std::to_string(number) + ": " + why;
      return false;
    };
    if (op == "hold") {
      step.op = ScriptOp::Hold;
      if (args.size() < 2 || !ParseInt(args[0], step.polls) || step.polls < 1) return fail("hold N KEY...");
      for (size_t i = 1; i < args.size(); ++i) {
        int vk = 0;
        if (!ParseKey(args[i], vk)) return fail("a key is a virtual-key code 0..255 or a letter or digit");
        step.keys.push_back(vk);
      }
    } else if (op == "wait") {
      step.op = ScriptOp::Wait;
      if (args.size() != 1 || !ParseInt(args[0], step.polls) || step.polls < 1) return fail("wait N");
    } else if (op == "type") {
      step.op = ScriptOp::Type;
      step.polls = kDefaultBound;
      step.text = Rest(line, 1);
    } else if (op == "answer") {
      step.op = ScriptOp::Answer;
      step.polls = kDefaultBound;
      if (args.size() != 1 || !ParseInt(args[0], step.answer)) return fail("answer N");
    } else if (op == "expect") {
      step.op = ScriptOp::Expect;
      step.text = Rest(line, 2);
      if (args.size() < 2 || !ParseInt(args[0], step.polls) || step.polls < 0 || step.text.empty())
        return fail("expect N TEXT");
    } else if (op == "shot") {
      step.op = ScriptOp::Shot;
      step.text = Rest(line, 1);
      if (step.text.empty()) return fail("shot NAME");
    } else {
      return fail("unknown step");
    }
    steps.push_back(step);
  }
  return true;
}

bool TraceOn() { return g_traceOn.load(); }

void Trace(const char* format, ...) {
  if (!g_traceOn.load()) return;
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  // One event, one line: a box's text may hold line breaks.
  std::string line = buffer;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  std::lock_guard<std::mutex> lock(g_traceMutex);
  if (g_running.load()) g_lines.push_back(line);
  if (g_trace) {
    std::fprintf(g_trace, "%s\n", line.c_str());
    std::fflush(g_trace);
  }
}

bool StartScriptRun() {
  const char* tracePath = std::getenv("TAVRIK_TRACE");
  const char* scriptPath = std::getenv("TAVRIK_SCRIPT");
  if (tracePath && *tracePath) {
    std::lock_guard<std::mutex> lock(g_traceMutex);
    g_trace = std::fopen(tracePath, "w");
    if (!g_trace) std::fprintf(stderr, "The trace %s cannot be written.\n", tracePath);
    g_traceOn = g_trace != nullptr;
  }
  if (!scriptPath || !*scriptPath) return true;
  std::ifstream in(scriptPath, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "script %s cannot be read\n", scriptPath);
    return false;
  }
  std::stringstream text;
  text << in.rdbuf();
  std::vector<ScriptStep> steps;
  std::string error;
  if (!ParseScript(text.str(), steps, error)) {
    std::fprintf(stderr, "%s (%s)\n", error.c_str(), scriptPath);
    return false;
  }
  {
    std::lock_guard<std::mutex> lock(g_scriptMutex);
    g_steps = std::move(steps);
    g_step = 0;
    g_stepPolls = 0;
    g_entered = false;
    g_ended = false;
    g_expectFrom = 0;
    g_shot.clear();
    g_polls = 0;
    g_scriptInput = std::make_unique<ScriptedInput>();
  }
  g_traceOn = true;  // the expects read the lines even without a trace file
  g_running = true;
  {
    std::lock_guard<std::mutex> lock(g_scriptMutex);
    g_watchdogStop = false;
    g_openDialog = {};
  }
  g_watchdog = std::thread(WatchDialogs);
  SetDialogShowHook(OnDialogShown);
  SetBoxScript(AnswerBox);
  SetFrameCapture(OnFrame);
  Trace("script start %s", scriptPath);
  return true;
}

void StopScriptRun() {
  if (g_running.exchange(false)) {
    SetDialogShowHook(nullptr);
    SetBoxScript(nullptr);
    SetFrameCapture(nullptr);
    {
      std::lock_guard<std::mutex> lock(g_scriptMutex);
      g_watchdogStop = true;
    }
    g_watchdogWake.notify_all();
    if (g_watchdog.joinable()) g_watchdog.join();
    std::lock_guard<std::mutex> lock(g_scriptMutex);
    g_scriptInput.reset();
    g_steps.clear();
  }
  std::lock_guard<std::mutex> lock(g_traceMutex);
  if (g_trace) std::fclose(g_trace);
  g_trace = nullptr;
  g_lines.clear();
  g_traceOn = false;
}

bool ScriptRunning() { return g_running.load(); }

uint32_t ScriptPolls() { return g_polls.load(); }

void SetScriptKeyWindow(WindowHandle window) { g_keyWindowId = window.id ? AppWindowSdlId(window) : 0; }

void ScriptPoll() {
  if (!g_running.load()) return;
  std::lock_guard<std::mutex> lock(g_scriptMutex);
  g_openDialog = {};  // the game goes on: no dialog holds it
  if (g_ended || !g_scriptInput) return;
  ++g_polls;
  for (;;) {
    if (g_step >= g_steps.size()) {
      g_scriptInput->ReleaseAll();
      g_ended = true;
      Trace("script end");
      return;
    }
    const ScriptStep& step = g_steps[g_step];
    if (!g_entered) {
      g_entered = true;
      g_scriptInput->ReleaseAll();
      for (int vk : step.keys) {
        g_scriptInput->Press(vk);
        // The window hears the key as well: Escape there closes the program.
        if (vk == VK_ESCAPE && g_keyWindowId.load()) PushKeyStroke(g_keyWindowId.load(), VK_ESCAPE);
      }
    }
    switch (step.op) {
      case ScriptOp::Hold:
      case ScriptOp::Wait:
        // The keys stay down for this poll; the next step lets them go.
        if (++g_stepPolls >= step.polls) NextStep();
        return;
      case ScriptOp::Shot:
        g_shot = step.text;
        NextStep();
        continue;
      case ScriptOp::Expect:
        if (FoundInTrace(step.text)) {
          NextStep();
          continue;
        }
        if (++g_stepPolls > step.polls) Miss(step, "no such trace line");
        return;
      case ScriptOp::Type:
      case ScriptOp::Answer:
        if (step.optional) {
          NextStep();
          continue;
        }
        if (++g_stepPolls > step.polls) Miss(step, step.op == ScriptOp::Type ? "no dialog came" : "no box came");
        return;
    }
  }
}

}  // namespace plat
