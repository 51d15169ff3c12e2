// The message box as a dialog: the text with its line breaks in the top-left
// corner, the buttons centred below it, the default button focused so that
// Enter takes it, sized to its text and caption.
#include "platform/box_dialog.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/dialog_internal.h"
#include "platform/keyboard_hook.h"
#include "platform/message_numbers.h"
#include "platform/text.h"
#include "platform/window_ops.h"

namespace plat::detail {
namespace {

constexpr int kMargin = 12;  // pixels around the text and the buttons
constexpr int kTextToButtons = 16;
constexpr int kButtonWidth = 75, kButtonHeight = 23, kButtonGap = 6;
constexpr int kCaptionExtra = 40;  // the close box and the caption's margins
constexpr int kMinClientWidth = 120;
constexpr int kTextId = -1;

// Boxes may nest (one from another thread while one is up), each with its
// own template; ids far from the program's resources.
int g_nextResourceId = 0x7F000000;

WindowHandle BoxOwner() {
  WindowHandle active = GetActiveWindow();
  if (FindDialog(active) || FindAppSdlWindow(active)) return active;
  return AnyAppWindow();
}

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

}  // namespace

BoxButtonSet ButtonsOf(BoxButtons b) {
  switch (b) {
    case BoxButtons::OkCancel: return {2, {BOX_OK, BOX_CANCEL}, {"OK", "Cancel"}};
    case BoxButtons::YesNo: return {2, {BOX_YES, BOX_NO}, {"Yes", "No"}};
    case BoxButtons::YesNoCancel: return {3, {BOX_YES, BOX_NO, BOX_CANCEL}, {"Yes", "No", "Cancel"}};
    case BoxButtons::Ok: break;
  }
  return {1, {BOX_OK}, {"OK"}};
}

int EscapeAnswer(BoxButtons b) {
  const BoxButtonSet set = ButtonsOf(b);
  for (int i = 0; i < set.count; ++i)
    if (set.ids[i] == BOX_CANCEL) return BOX_CANCEL;
  return set.count == 1 ? BOX_OK : 0;
}

int ShowBoxDialog(const BoxRequest& r) {
  int faceWidth = 0, faceHeight = 0;
  if (!text::MeasureText(text::kDialogFace, text::kDialogEmPixels, "", &faceWidth, &faceHeight)) return -1;
  const BoxButtonSet set = ButtonsOf(r.buttons);
  const int defaultIndex = r.defaultButton >= 0 && r.defaultButton < set.count ? r.defaultButton : 0;
  const int escape = EscapeAnswer(r.buttons);

  // Long lines wrap at three quarters of the desktop.
  const Rect desktop = GetDesktopRect();
  const int widest = std::max(kMinClientWidth, desktop.Width() * 3 / 4 - 2 * kMargin);
  const std::vector<std::string> lines = WrapText(r.text, widest);
  std::string wrapped;
  int textWidth = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    textWidth = std::max(textWidth, DialogTextWidth(lines[i]));
    wrapped += (i ? "\n" : "") + lines[i];
  }
  const int textHeight = static_cast<int>(lines.size()) * DialogLineHeight();
  const int buttonsWidth = set.count * kButtonWidth + (set.count - 1) * kButtonGap;
  const int clientWidth = std::max({textWidth + 2 * kMargin, buttonsWidth + 2 * kMargin,
                                    DialogTextWidth(r.caption) + kCaptionExtra, kMinClientWidth});
  const int clientHeight = kMargin + textHeight + kTextToButtons + kButtonHeight + kMargin;

  uint32_t style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
  if (escape) style |= WS_SYSMENU;
  // Dialog units, rounded up so that the pixels fit.
  const DialogTemplate dialog{style,
                              CeilDiv(clientWidth * 4, kDialogBaseUnitX),
                              CeilDiv(clientHeight * 8, kDialogBaseUnitY),
                              "",
                              9,
                              r.caption.c_str(),
                              nullptr,
                              0};
  const int resourceId = g_nextResourceId++;
  AddDialogResource(resourceId, &dialog);

  auto proc = [&](WindowHandle box, uint32_t message, uintptr_t wParam, intptr_t) -> intptr_t {
    switch (message) {
      case WM_INITDIALOG: {
        Rect client;
        GetClientRect(box, client);
        CreateDialogControl(box, {kTextId, ItemKind::Static, 0, wrapped.c_str(), kMargin, kMargin, textWidth,
                                  textHeight});
        int x = (client.Width() - buttonsWidth) / 2;
        const int y = client.Height() - kMargin - kButtonHeight;
        for (int i = 0; i < set.count; ++i, x += kButtonWidth + kButtonGap) {
          const ItemKind kind = i == defaultIndex ? ItemKind::DefPushButton : ItemKind::PushButton;
          const uint32_t buttonStyle = WS_TABSTOP | (i == 0 ? WS_GROUP : 0);
          WindowHandle button = CreateDialogControl(
              box, {set.ids[i], kind, buttonStyle, set.labels[i], x, y, kButtonWidth, kButtonHeight});
          if (i == defaultIndex) SetFocus(button);
        }
        return 0;
      }
      case WM_COMMAND: {
        const int id = static_cast<int>(LoWord(wParam));
        for (int i = 0; i < set.count; ++i)
          if (set.ids[i] == id) {
            EndDialog(box, id);
            return 1;
          }
        if (id == BOX_CANCEL && escape) EndDialog(box, escape);  // Escape
        return 1;
      }
      case WM_CLOSE:
        if (escape) EndDialog(box, escape);
        return 1;
      default: return 0;
    }
  };
  const intptr_t result = DialogBoxParam(resourceId, BoxOwner(), proc, 0);
  AddDialogResource(resourceId, nullptr);
  if (result < 0) return -1;
  // The program ends under the box: the answer that stops, as Escape's.
  if (result == 0) return escape ? escape : set.ids[set.count - 1];
  return static_cast<int>(result);
}

}  // namespace plat::detail
