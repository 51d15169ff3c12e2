// The edit control: Shift-JIS bytes, one line or CR LF separated lines, a
// selection whose ends never fall inside a double-byte character, the
// clipboard, and the input method's composition shown underlined at the
// caret until its text arrives. Every change of the text notifies EN_UPDATE,
// then EN_CHANGE.
#include <SDL.h>

#include <algorithm>

#include "platform/clipboard.h"
#include "platform/dialog_internal.h"
#include "platform/host_path.h"
#include "platform/message_numbers.h"
#include "platform/text_encoding.h"
#include "platform/virtual_keys.h"

namespace plat::detail {
namespace {

constexpr int kMargin = 2;

class EditWidget : public Widget {
 public:
  using Widget::Widget;

  bool TakesFocus() const override { return true; }
  bool WantsArrows() const override { return true; }
  int CompositionBytes() const override { return static_cast<int>(m_composition.size()); }

  Rect CaretRect() const override {
    Rect area = TextArea();
    auto [line, column] = LineOf(m_caret);
    int x = area.left + DialogTextWidth(LineText(line), column) - m_scrollX;
    int y = area.top + (line - m_topLine) * DialogLineHeight();
    return {m_rect.left + x, m_rect.top + y, m_rect.left + x + 1, m_rect.top + y + DialogLineHeight()};
  }

  intptr_t Proc(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    switch (message) {
      case WM_SETTEXT:
        m_text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        m_anchor = m_caret = 0;
        m_scrollX = 0;
        m_topLine = 0;
        Changed();
        return 1;
      case EM_GETSEL: {
        size_t lo = std::min(m_anchor, m_caret), hi = std::max(m_anchor, m_caret);
        if (wParam) *reinterpret_cast<int*>(wParam) = static_cast<int>(lo);
        if (lParam) *reinterpret_cast<int*>(lParam) = static_cast<int>(hi);
        return static_cast<intptr_t>(std::min<size_t>(lo, 0xFFFF) | (std::min<size_t>(hi, 0xFFFF) << 16));
      }
      case EM_SETSEL:
        SetSelection(static_cast<int>(static_cast<intptr_t>(wParam)), static_cast<int>(lParam));
        return 0;
      case WM_KEYDOWN:
        // While the input method composes, the keys are its own.
        if (m_composition.empty()) Key(static_cast<int>(wParam));
        return 0;
      case WM_CUT:
        Copy();
        ReplaceSelection("");
        return 0;
      case WM_COPY:
        Copy();
        return 0;
      case WM_PASTE:
        Paste();
        return 0;
      case WM_SETFOCUS:
        Invalidate();
        Notify(EN_SETFOCUS);
        return 0;
      case WM_KILLFOCUS:
        m_composition.clear();
        Invalidate();
        Notify(EN_KILLFOCUS);
        return 0;
      default: return Widget::Proc(message, wParam, lParam);
    }
  }

  void MouseDown(Point local) override {
    m_caret = m_anchor = PositionAt(local);
    Shown();
  }

  void TextInput(const std::string& utf8) override {
    m_composition.clear();
    std::string typed;
    for (char c : Utf8ToCp932Dropping(utf8))
      if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) typed += c;
    if (!typed.empty())
      ReplaceSelection(typed);
    else
      Invalidate();
  }

  void TextEditing(const std::string& utf8) override {
    // Shown only; characters without a CP932 form show as '?'.
    m_composition = Utf8ToCp932(utf8);
    Invalidate();
    UpdateTextInputRect(m_dialog);
  }

  void Paint(const Canvas& c, bool focused) override {
    const int w = m_rect.Width(), h = m_rect.Height();
    c.Fill(0, 0, w, h, Enabled() ? kColorWindow : kColorFace);
    if (m_style & WS_BORDER) c.Edge(0, 0, w, h, true);
    Rect area = TextArea();
    Canvas inner = c.Inside(area.left, area.top, area.Width(), area.Height());
    const size_t lo = std::min(m_anchor, m_caret), hi = std::max(m_anchor, m_caret);
    const int lines = LineCount();
    for (int line = m_topLine; line < lines; ++line) {
      const int y = (line - m_topLine) * DialogLineHeight();
      if (y >= area.Height()) break;
      const size_t start = LineStart(line);
      std::string text = LineText(line);
      const uint32_t ink = Enabled() ? kColorText : kColorGrayText;
      auto [caretLine, caretColumn] = LineOf(m_caret);
      if (!m_composition.empty() && caretLine == line) {
        std::string before = text.substr(0, caretColumn);
        int x = inner.Text(-m_scrollX, y, before, ink);
        x += inner.Text(x - m_scrollX, y, m_composition, ink, true);
        inner.Text(x - m_scrollX, y, text.substr(caretColumn), ink);
      } else {
        inner.Text(-m_scrollX, y, text, ink);
        size_t a = std::clamp(lo, start, start + text.size()), b = std::clamp(hi, start, start + text.size());
        if (b > a) {
          int x0 = DialogTextWidth(text, a - start), x1 = DialogTextWidth(text, b - start);
          inner.Fill(x0 - m_scrollX, y, x1 - x0, DialogLineHeight(), kColorHighlight);
          inner.Text(x0 - m_scrollX, y, text.substr(a - start, b - a), kColorWindow);
        }
      }
    }
    if (focused) {
      Rect caret = CaretRect();
      int x = caret.left - m_rect.left - area.left;
      if (!m_composition.empty()) x += DialogTextWidth(m_composition);
      inner.Fill(x, caret.top - m_rect.top - area.top, 1, DialogLineHeight(), kColorText);
    }
  }

 private:
  bool Multiline() const { return (m_style & ES_MULTILINE) != 0; }

  Rect TextArea() const {
    int inset = (m_style & WS_BORDER) ? 2 + kMargin : kMargin;
    int w = std::max(0, m_rect.Width() - 2 * inset), h = std::max(0, m_rect.Height() - 2 * inset);
    if (!Multiline()) {
      int top = std::max(0, (m_rect.Height() - DialogLineHeight()) / 2);
      return {inset, top, inset + w, top + std::min(DialogLineHeight(), m_rect.Height())};
    }
    return {inset, inset, inset + w, inset + h};
  }

  // Lines run between CR LF pairs; one line without ES_MULTILINE.
  int LineCount() const {
    if (!Multiline()) return 1;
    int n = 1;
    for (size_t p = m_text.find("\r\n"); p != std::string::npos; p = m_text.find("\r\n", p + 2)) ++n;
    return n;
  }
  size_t LineStart(int line) const {
    if (!Multiline()) return 0;
    size_t p = 0;
    for (int i = 0; i < line; ++i) {
      size_t br = m_text.find("\r\n", p);
      if (br == std::string::npos) return m_text.size();
      p = br + 2;
    }
    return p;
  }
  std::string LineText(int line) const {
    size_t start = LineStart(line);
    if (!Multiline()) return m_text;
    size_t end = m_text.find("\r\n", start);
    return m_text.substr(start, end == std::string::npos ? std::string::npos : end - start);
  }
  // Line and byte column of a position.
  std::pair<int, size_t> LineOf(size_t pos) const {
    if (!Multiline()) return {0, std::min(pos, m_text.size())};
    int line = 0;
    size_t start = 0;
    for (size_t br = m_text.find("\r\n"); br != std::string::npos && br + 2 <= pos; br = m_text.find("\r\n", start)) {
      start = br + 2;
      ++line;
    }
    return {line, std::min(pos - start, LineText(line).size())};
  }

  size_t Step(size_t i) const {
    return i + 1 < m_text.size() && IsSjisPair(&m_text[i]) ? 2 : 1;
  }
  // The start of the character that holds pos (a line feed restarts the scan:
  // no trail byte is a line feed).
  size_t CharStart(size_t pos) const {
    pos = std::min(pos, m_text.size());
    size_t i = m_text.rfind('\n', pos == 0 ? 0 : pos - 1);
    i = (i == std::string::npos || i >= pos) ? 0 : i + 1;
    while (i < pos) {
      size_t next = i + Step(i);
      if (next > pos) return i;
      i = next;
    }
    return pos;
  }
  size_t PrevChar(size_t pos) const {
    if (pos == 0) return 0;
    size_t p = CharStart(pos - 1);
    if (p > 0 && m_text[p] == '\n' && m_text[p - 1] == '\r') --p;
    return p;
  }
  size_t NextChar(size_t pos) const {
    if (pos >= m_text.size()) return m_text.size();
    if (m_text[pos] == '\r' && pos + 1 < m_text.size() && m_text[pos + 1] == '\n') return pos + 2;
    return pos + Step(pos);
  }

  void SetSelection(int start, int end) {
    const size_t size = m_text.size();
    if (start < 0) {
      m_anchor = m_caret;
    } else {
      m_anchor = CharStart(std::min<size_t>(static_cast<size_t>(start), size));
      m_caret = end < 0 ? size : CharStart(std::min<size_t>(static_cast<size_t>(end), size));
    }
    Shown();
  }

  void MoveCaret(size_t to, bool extend) {
    m_caret = to;
    if (!extend) m_anchor = to;
    Shown();
  }

  void ReplaceSelection(const std::string& with) {
    size_t lo = std::min(m_anchor, m_caret), hi = std::max(m_anchor, m_caret);
    if (lo == hi && with.empty()) return;
    m_text.replace(lo, hi - lo, with);
    m_anchor = m_caret = lo + with.size();
    Changed();
  }

  void Changed() {
    Shown();
    Notify(EN_UPDATE);
    Notify(EN_CHANGE);
  }

  // Keeps the caret in view and the input method's window at it.
  void Shown() {
    Rect area = TextArea();
    auto [line, column] = LineOf(m_caret);
    int x = DialogTextWidth(LineText(line), column);
    if (x - m_scrollX >= area.Width()) m_scrollX = x - area.Width() + 1;
    if (x < m_scrollX) m_scrollX = x;
    if (!(m_style & ES_AUTOHSCROLL) && !Multiline()) m_scrollX = std::max(0, std::min(m_scrollX, x));
    int visible = std::max(1, area.Height() / DialogLineHeight());
    if (line < m_topLine) m_topLine = line;
    if (line >= m_topLine + visible) m_topLine = line - visible + 1;
    Invalidate();
    if (m_dialog.focus == this) UpdateTextInputRect(m_dialog);
  }

  size_t PositionInLine(int line, int x) const {
    std::string text = LineText(line);
    size_t start = LineStart(line), i = 0;
    while (i < text.size()) {
      size_t next = i + (i + 1 < text.size() && IsSjisPair(&text[i]) ? 2 : 1);
      int mid = (DialogTextWidth(text, i) + DialogTextWidth(text, next)) / 2;
      if (x < mid) break;
      i = next;
    }
    return start + i;
  }

  size_t PositionAt(Point local) const {
    Rect area = TextArea();
    int line = Multiline() ? m_topLine + std::max(0, local.y - area.top) / DialogLineHeight() : 0;
    line = std::min(line, LineCount() - 1);
    return PositionInLine(line, local.x - area.left + m_scrollX);
  }

  void Copy() {
    size_t lo = std::min(m_anchor, m_caret), hi = std::max(m_anchor, m_caret);
    if (hi > lo) SetClipboardCp932(m_text.substr(lo, hi - lo));
  }

  void Paste() {
    std::string pasted = GetClipboardCp932();
    std::string text;
    for (size_t i = 0; i < pasted.size(); ++i) {
      char c = pasted[i];
      if (c == '\r' || c == '\n') {
        // One line keeps what comes before the first line break.
        if (!Multiline()) break;
        if (c == '\r' && i + 1 < pasted.size() && pasted[i + 1] == '\n') ++i;
        text += "\r\n";
        continue;
      }
      if (static_cast<unsigned char>(c) < 0x20) continue;
      text += c;
    }
    if (!text.empty()) ReplaceSelection(text);
  }

  void Key(int vk) {
    const bool shift = (m_dialog.keyMods & KMOD_SHIFT) != 0;
    const bool ctrl = (m_dialog.keyMods & KMOD_CTRL) != 0;
    const size_t lo = std::min(m_anchor, m_caret), hi = std::max(m_anchor, m_caret);
    switch (vk) {
      case VK_LEFT:
        MoveCaret(!shift && hi > lo ? lo : PrevChar(m_caret), shift);
        break;
      case VK_RIGHT:
        MoveCaret(!shift && hi > lo ? hi : NextChar(m_caret), shift);
        break;
      case VK_UP:
      case VK_DOWN: {
        if (!Multiline()) {
          Key(vk == VK_UP ? VK_LEFT : VK_RIGHT);
          break;
        }
        auto [line, column] = LineOf(m_caret);
        int target = line + (vk == VK_UP ? -1 : 1);
        if (target < 0 || target >= LineCount()) break;
        MoveCaret(PositionInLine(target, DialogTextWidth(LineText(line), column)), shift);
        break;
      }
      case VK_HOME: MoveCaret(ctrl ? 0 : LineStart(LineOf(m_caret).first), shift); break;
      case VK_END: {
        int line = ctrl ? LineCount() - 1 : LineOf(m_caret).first;
        MoveCaret(LineStart(line) + LineText(line).size(), shift);
        break;
      }
      case VK_BACK:
        if (hi == lo) {
          if (m_caret == 0) break;
          m_anchor = PrevChar(m_caret);
        }
        ReplaceSelection("");
        break;
      case VK_DELETE:
        if (shift) {
          Copy();
        } else if (hi == lo) {
          if (m_caret >= m_text.size()) break;
          m_anchor = NextChar(m_caret);
        }
        ReplaceSelection("");
        break;
      case VK_INSERT:
        if (ctrl) Copy();
        if (shift) Paste();
        break;
      case VK_RETURN:
        if (Multiline()) ReplaceSelection("\r\n");
        break;
      case 'C':
        if (ctrl) Copy();
        break;
      case 'X':
        if (ctrl) {
          Copy();
          ReplaceSelection("");
        }
        break;
      case 'V':
        if (ctrl) Paste();
        break;
      default: break;
    }
  }

  size_t m_anchor = 0, m_caret = 0;  // byte positions; the caret is the moving end
  std::string m_composition;          // Shift-JIS, shown only
  int m_scrollX = 0;
  int m_topLine = 0;
};

}  // namespace

std::unique_ptr<Widget> MakeEditWidget(DialogWindow& dialog, const DialogItem& item, const Rect& rect) {
  return std::make_unique<EditWidget>(dialog, item, rect);
}

}  // namespace plat::detail
