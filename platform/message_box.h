#pragma once
// OK and Yes/No boxes with Shift-JIS texts. Shown as a dialog of ours, drawn
// with the text layer, on the main thread when a display exists; written to
// stderr otherwise, taking the box's default button. Tests install a script
// that answers in place of the player.
#include <functional>
#include <string>

namespace plat {

enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };

// Answers carry the values the system compares against.
enum BoxAnswer { BOX_OK = 1, BOX_CANCEL = 2, BOX_YES = 6, BOX_NO = 7 };

struct BoxRequest {
  std::string text;     // Shift-JIS
  std::string caption;  // Shift-JIS
  BoxButtons buttons = BoxButtons::Ok;
  int defaultButton = 0;  // 0 the first button, 1 the second, 2 the third
  bool error = false;     // shown with the error icon
};

using BoxScript = std::function<int(const BoxRequest&)>;

// Installs (or, with an empty function, removes) the scripted answerer.
void SetBoxScript(BoxScript script);

// Runs code on the main thread and waits for it; installed by the main
// window's message pump so that boxes from other threads are shown there.
using MainThreadCall = std::function<void(const std::function<void()>&)>;
void SetMainThreadCall(MainThreadCall call);

// True on the thread that started the program.
bool IsMainThread();

// Shows the box and returns the answer (BoxAnswer). Callable from any thread.
int ShowBox(const BoxRequest& request);

}  // namespace plat
