// The list box: lines of Shift-JIS text, one of them selected, or several
// with LBS_EXTENDEDSEL (Shift extends from the anchor, Ctrl with a click or
// Space adds or takes away one line, Ctrl with a key only moves the caret). A caret line follows the keys; the lines that do not fit
// scroll, with a strip on the right showing where the view is. With
// LBS_NOTIFY the dialog hears LBN_SELCHANGE when the player changes the
// selection and LBN_DBLCLK on a double click on a line.
#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/dialog_internal.h"
#include "platform/input.h"
#include "platform/message_numbers.h"
#include "platform/virtual_keys.h"

namespace plat::detail {
namespace {

constexpr int kBorder = 2;
constexpr int kStripWidth = 10;

class ListWidget : public Widget {
 public:
  using Widget::Widget;

  bool TakesFocus() const override { return true; }
  bool WantsArrows() const override { return true; }

  intptr_t Proc(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    const int count = Count();
    const int index = static_cast<int>(static_cast<intptr_t>(wParam));
    switch (message) {
      case LB_ADDSTRING:
        m_lines.push_back({lParam ? reinterpret_cast<const char*>(lParam) : "", false});
        Invalidate();
        return count;
      case LB_RESETCONTENT:
        m_lines.clear();
        m_caret = m_anchor = -1;
        m_top = 0;
        Invalidate();
        return 0;
      case LB_GETCOUNT: return count;
      case LB_GETCURSEL:
        if (Several()) return m_caret;
        for (int i = 0; i < count; ++i)
          if (m_lines[i].selected) return i;
        return LB_ERR;
      case LB_SETCURSEL: {
        const bool valid = index >= 0 && index < count;
        SelectOnly(valid ? index : -1);
        if (valid) {
          m_caret = m_anchor = index;
          Reveal(index);
        }
        return valid ? index : LB_ERR;
      }
      case LB_GETSEL:
        if (index < 0 || index >= count) return LB_ERR;
        return m_lines[index].selected ? 1 : 0;
      case LB_SETSEL: {
        if (!Several()) return LB_ERR;
        const int at = static_cast<int>(lParam);
        if (at < -1 || at >= count) return LB_ERR;
        for (int i = 0; i < count; ++i)
          if (at == -1 || i == at) m_lines[i].selected = wParam != 0;
        if (at >= 0) m_caret = m_anchor = at;
        Invalidate();
        return 0;
      }
      case LB_GETSELCOUNT: {
        if (!Several()) return LB_ERR;
        return std::count_if(m_lines.begin(), m_lines.end(), [](const Line& l) { return l.selected; });
      }
      case LB_GETSELITEMS: {
        if (!Several() || !lParam) return LB_ERR;
        int* out = reinterpret_cast<int*>(lParam);
        int n = 0;
        for (int i = 0; i < count && n < index; ++i)
          if (m_lines[i].selected) out[n++] = i;
        return n;
      }
      case LB_GETTEXTLEN:
        if (index < 0 || index >= count) return LB_ERR;
        return static_cast<intptr_t>(m_lines[index].text.size());
      case LB_GETTEXT: {
        if (index < 0 || index >= count || !lParam) return LB_ERR;
        const std::string& text = m_lines[index].text;
        std::memcpy(reinterpret_cast<char*>(lParam), text.c_str(), text.size() + 1);
        return static_cast<intptr_t>(text.size());
      }
      case LB_GETTOPINDEX: return m_top;
      case LB_SETTOPINDEX:
        if (index < 0 || index >= std::max(count, 1)) return LB_ERR;
        m_top = std::clamp(index, 0, std::max(0, count - Rows()));
        Invalidate();
        return 0;
      case LB_GETITEMRECT: {
        if (index < 0 || index >= count || !lParam) return LB_ERR;
        const int y = kBorder + (index - m_top) * RowHeight();
        *reinterpret_cast<Rect*>(lParam) = {kBorder, y, m_rect.Width() - kBorder - StripWidth(),
                                            y + RowHeight()};
        return 0;
      }
      case WM_KEYDOWN:
        Key(static_cast<int>(wParam));
        return 0;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        Invalidate();
        return 0;
      default: return Widget::Proc(message, wParam, lParam);
    }
  }

  void MouseDown(Point local) override {
    const int width = m_rect.Width();
    if (StripWidth() > 0 && local.x >= width - kBorder - StripWidth()) {
      // The strip pages towards the click.
      auto [start, end] = Thumb();
      if (local.y < start)
        Scroll(-Rows());
      else if (local.y >= end)
        Scroll(Rows());
      return;
    }
    const int row = local.y < kBorder ? -1 : m_top + (local.y - kBorder) / RowHeight();
    if (row < 0 || row >= Count()) return;
    const bool doubleClick = m_dialog.clicks >= 2;
    const std::vector<bool> before = Selection();
    if (Several() && IsKeyDown(VK_CONTROL) && !doubleClick) {
      m_lines[row].selected = !m_lines[row].selected;
      m_anchor = row;
    } else if (Several() && IsKeyDown(VK_SHIFT) && m_anchor >= 0 && !doubleClick) {
      SelectRange(m_anchor, row);
    } else {
      SelectOnly(row);
      m_anchor = row;
    }
    m_caret = row;
    Reveal(row);
    if (Selection() != before) Tell(LBN_SELCHANGE);
    if (doubleClick) Tell(LBN_DBLCLK);
  }

  void Paint(const Canvas& c, bool focused) override {
    const int w = m_rect.Width(), h = m_rect.Height();
    c.Fill(0, 0, w, h, Enabled() ? kColorWindow : kColorFace);
    c.Edge(0, 0, w, h, true);
    const int strip = StripWidth();
    Canvas inner = c.Inside(kBorder, kBorder, w - 2 * kBorder - strip, h - 2 * kBorder);
    const int rowH = RowHeight(), lineW = w - 2 * kBorder - strip;
    const uint32_t ink = Enabled() ? kColorText : kColorGrayText;
    for (int i = m_top; i < Count(); ++i) {
      const int y = (i - m_top) * rowH;
      if (y >= h - 2 * kBorder) break;
      const bool selected = m_lines[i].selected;
      if (selected) inner.Fill(0, y, lineW, rowH, kColorHighlight);
      inner.Text(2, y + (rowH - DialogLineHeight()) / 2, m_lines[i].text, selected ? kColorWindow : ink);
      if (focused && i == m_caret) inner.DottedFrame(0, y, lineW, rowH);
    }
    if (strip > 0) {
      c.Fill(w - kBorder - strip, kBorder, strip, h - 2 * kBorder, 0xE8E8E8);
      auto [start, end] = Thumb();
      c.Fill(w - kBorder - strip, start, strip, end - start, kColorFace);
      c.Edge(w - kBorder - strip, start, strip, end - start, false);
    }
  }

 private:
  struct Line {
    std::string text;
    bool selected;
  };

  bool Several() const { return (m_style & LBS_EXTENDEDSEL) != 0; }
  int Count() const { return static_cast<int>(m_lines.size()); }
  static int RowHeight() { return DialogLineHeight() + 2; }
  int Rows() const { return std::max(1, (m_rect.Height() - 2 * kBorder) / RowHeight()); }
  int StripWidth() const { return Count() > Rows() ? kStripWidth : 0; }

  std::vector<bool> Selection() const {
    std::vector<bool> s;
    for (const Line& l : m_lines) s.push_back(l.selected);
    return s;
  }
  void SelectOnly(int index) {
    for (int i = 0; i < Count(); ++i) m_lines[i].selected = i == index;
    Invalidate();
  }
  void SelectRange(int a, int b) {
    const int lo = std::min(a, b), hi = std::max(a, b);
    for (int i = 0; i < Count(); ++i) m_lines[i].selected = i >= lo && i <= hi;
    Invalidate();
  }
  void Reveal(int index) {
    if (index < m_top) m_top = index;
    if (index >= m_top + Rows()) m_top = index - Rows() + 1;
    Invalidate();
  }
  void Scroll(int by) {
    m_top = std::clamp(m_top + by, 0, std::max(0, Count() - Rows()));
    Invalidate();
  }
  void Tell(int code) {
    if (m_style & LBS_NOTIFY) Notify(code);
  }

  // Start and end of the strip's thumb, in the control's pixels.
  std::pair<int, int> Thumb() const {
    const int track = m_rect.Height() - 2 * kBorder;
    const int count = std::max(1, Count());
    const int size = std::max(4, track * Rows() / count);
    const int span = std::max(1, Count() - Rows());
    const int offset = (track - size) * m_top / span;
    return {kBorder + offset, kBorder + offset + size};
  }

  void Key(int vk) {
    const bool shift = (m_dialog.keyMods & KMOD_SHIFT) != 0, ctrl = (m_dialog.keyMods & KMOD_CTRL) != 0;
    const int count = Count();
    if (count == 0) return;
    int to = m_caret < 0 ? 0 : m_caret;
    switch (vk) {
      case VK_UP: to -= 1; break;
      case VK_DOWN: to += (m_caret < 0 ? 0 : 1); break;
      case VK_PRIOR: to -= Rows() - 1; break;
      case VK_NEXT: to += Rows() - 1; break;
      case VK_HOME: to = 0; break;
      case VK_END: to = count - 1; break;
      case VK_SPACE:
        if (Several() && ctrl && m_caret >= 0) {
          m_lines[m_caret].selected = !m_lines[m_caret].selected;
          m_anchor = m_caret;
          Invalidate();
          Tell(LBN_SELCHANGE);
        }
        return;
      default: return;
    }
    to = std::clamp(to, 0, count - 1);
    const std::vector<bool> before = Selection();
    if (Several() && shift && m_anchor >= 0) {
      SelectRange(m_anchor, to);
    } else if (!(Several() && ctrl)) {
      SelectOnly(to);
      m_anchor = to;
    }
    m_caret = to;
    Reveal(to);
    if (Selection() != before) Tell(LBN_SELCHANGE);
  }

  std::vector<Line> m_lines;
  int m_caret = -1;   // the line the keys move from
  int m_anchor = -1;  // where a Shift selection starts
  int m_top = 0;      // the first line shown
};

}  // namespace

std::unique_ptr<Widget> MakeListWidget(DialogWindow& dialog, const DialogItem& item, const Rect& rect) {
  return std::make_unique<ListWidget>(dialog, item, rect);
}

}  // namespace plat::detail
