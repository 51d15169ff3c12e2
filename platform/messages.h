#pragma once
// Messages between threads and to windows. Every thread that takes part has
// one queue: posted messages wait there in order; a sent message is handed to
// the thread that owns the target window and runs when that thread next pumps
// (in Peek or WaitForMessage, also inside nested loops), while the sender
// waits. A window belongs to the thread that created it.
#include <cstdint>
#include <functional>

// Message numbers. The values are fixed: the program compares and stores them as numbers.
constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_MOVE = 0x0003;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_USER = 0x0400;

namespace plat {

// A window: 0 is none. Handles are never reused, so a message to a window that
// is gone fails instead of reaching another one.
struct WindowHandle {
  uint32_t id = 0;
  explicit operator bool() const { return id != 0; }
  friend bool operator==(WindowHandle, WindowHandle) = default;
};

struct Message {
  WindowHandle window;  // none for a thread message
  uint32_t message = WM_NULL;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
};

using WindowProc = std::function<intptr_t(WindowHandle, uint32_t, uintptr_t, intptr_t)>;

constexpr uint32_t kInfinite = 0xFFFFFFFF;

// The calling thread's id as a message target (never 0). Its queue exists
// from the first call of any function here on that thread; a plat::Thread
// has it before its body runs.
uint32_t CurrentThreadId();

// A window owned by the calling thread, reached only through messages.
WindowHandle CreateMessageWindow(WindowProc proc);
void DestroyMessageWindow(WindowHandle window);
bool IsWindow(WindowHandle window);

// Replaces the window's procedure (subclassing) and returns the one it had,
// which the new one may call on; empty when the window is gone. A call that
// runs already finishes with the procedure it started with.
WindowProc SetWindowProc(WindowHandle window, WindowProc proc);

// Appends to the owner's queue; false when the window or thread is gone.
bool Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
bool PostToThread(uint32_t threadId, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Runs the window's procedure on its owner thread and returns its result:
// directly on that thread, else it waits until the owner has run it, serving
// messages sent to itself meanwhile. 0 without running it when the window is
// gone or its owner ends first. A cancelled sender (plat::Thread) sends
// nothing and stops waiting: a message not started yet is withdrawn, one that
// runs finishes without it (its parameters are plain values).
intptr_t Send(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Runs `call` on the thread `threadId` the way a sent message runs, and waits.
// False (not run) when that thread is gone or ends first, or when the caller
// is cancelled before the call started; a started call is always waited for.
bool CallOnThread(uint32_t threadId, const std::function<void()>& call);

// The calling thread's quit message (WM_QUIT with wParam = code), delivered
// after the messages already posted.
void PostQuit(int code);

// Serves the messages sent to this thread, then takes the next posted message
// (or the quit message). A cancelled thread always gets WM_QUIT. A safe point.
bool Peek(Message& out, bool remove = true);

// Blocks until a message is posted to this thread or the thread is cancelled,
// serving sent messages meanwhile (it returns after serving them). Returns at
// once when sent messages were served elsewhere (in Peek, or while this
// thread sent) since it last returned. False on time-out. A safe point.
bool WaitForMessage(uint32_t timeoutMs = kInfinite);

// Runs the procedure of the message's window (on its owner thread only);
// thread messages are not dispatched. Returns the procedure's result.
intptr_t Dispatch(const Message& message);

}  // namespace plat
