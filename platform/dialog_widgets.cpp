// The controls of a dialog other than the edit: static texts, picture
// frames, group boxes, buttons of every kind, scroll bars.
#include <algorithm>

#include "platform/dialog_internal.h"
#include "platform/message_numbers.h"
#include "platform/virtual_keys.h"

namespace plat::detail {

std::vector<std::string> WrapText(const std::string& text, int width) {
  std::vector<std::string> lines;
  std::string line;
  size_t lastBlank = std::string::npos;
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.push_back(line);
      line.clear();
      lastBlank = std::string::npos;
      ++i;
      continue;
    }
    bool pair = ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) && i + 1 < text.size();
    std::string ch = text.substr(i, pair ? 2 : 1);
    i += ch.size();
    if (!line.empty() && DialogTextWidth(line + ch) > width) {
      if (lastBlank != std::string::npos && c != ' ') {
        lines.push_back(line.substr(0, lastBlank));
        line = line.substr(lastBlank + 1);
      } else {
        lines.push_back(line);
        line.clear();
      }
      lastBlank = std::string::npos;
      if (ch == " ") continue;
    }
    if (ch == " ") lastBlank = line.size();
    line += ch;
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

namespace {

class StaticWidget : public Widget {
 public:
  using Widget::Widget;
  void Paint(const Canvas& c, bool) override {
    const int w = m_rect.Width(), h = m_rect.Height();
    const uint32_t ink = Enabled() ? kColorText : kColorGrayText;
    if (m_kind == ItemKind::Picture) {
      c.Frame(0, 0, w, h, kColorShadow);
      return;
    }
    if (m_kind == ItemKind::GroupBox) {
      const int top = DialogLineHeight() / 2;
      c.Frame(0, top, w - 1, h - top - 1, kColorShadow);
      c.Frame(1, top + 1, w - 1, h - top - 1, kColorLight);
      if (!m_text.empty()) {
        int tw = DialogTextWidth(m_text);
        c.Fill(6, 0, tw + 4, DialogLineHeight(), kColorFace);
        c.Text(8, 0, m_text, ink);
      }
      return;
    }
    int y = 0;
    for (const std::string& line : WrapText(m_text, w)) {
      c.Text(0, y, line, ink);
      y += DialogLineHeight();
    }
  }
};

class ButtonWidget : public Widget {
 public:
  using Widget::Widget;

  bool TakesFocus() const override { return true; }
  bool IsButton() const override { return true; }

  intptr_t Proc(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    switch (message) {
      case BM_GETCHECK: return m_check;
      case BM_SETCHECK: {
        // A two-state box shows a third state as checked.
        int most = m_kind == ItemKind::CheckBox3 ? BST_INDETERMINATE : BST_CHECKED;
        m_check = std::clamp(static_cast<int>(wParam), 0, most);
        Invalidate();
        return 0;
      }
      case BM_CLICK:
        Click();
        return 0;
      case WM_KEYDOWN:
        if (wParam == static_cast<uintptr_t>(VK_SPACE)) Click();
        return 0;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        Invalidate();
        return 0;
      default: return Widget::Proc(message, wParam, lParam);
    }
  }

  void MouseDown(Point) override {
    m_pressed = true;
    Invalidate();
  }
  void MouseUp(Point, bool inside) override {
    m_pressed = false;
    Invalidate();
    if (inside) Click();
  }

  void Click() override {
    switch (m_kind) {
      case ItemKind::CheckBox: m_check = m_check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED; break;
      case ItemKind::CheckBox3: m_check = (m_check + 1) % 3; break;
      case ItemKind::RadioButton: CheckInGroup(); break;
      default: break;
    }
    Invalidate();
    Notify(BN_CLICKED);
  }

  void Paint(const Canvas& c, bool focused) override {
    const int w = m_rect.Width(), h = m_rect.Height();
    const uint32_t ink = Enabled() ? kColorText : kColorGrayText;
    if (m_kind == ItemKind::PushButton || m_kind == ItemKind::DefPushButton) {
      int inset = 0;
      if (m_kind == ItemKind::DefPushButton || focused) {
        c.Frame(0, 0, w, h, kColorDark);
        inset = 1;
      }
      c.Edge(inset, inset, w - 2 * inset, h - 2 * inset, m_pressed);
      int tw = DialogTextWidth(m_text);
      int shift = m_pressed ? 1 : 0;
      c.Text((w - tw) / 2 + shift, (h - DialogLineHeight()) / 2 + shift, m_text, ink);
      if (focused) c.DottedFrame(4, 4, w - 8, h - 8);
      return;
    }
    const int box = 12;
    const int top = (h - box) / 2;
    if (m_kind == ItemKind::RadioButton) {
      // A round mark: the pixels within the circle's radius.
      for (int y = 0; y < box; ++y)
        for (int x = 0; x < box; ++x) {
          int dx = 2 * x - (box - 1), dy = 2 * y - (box - 1);
          int d2 = dx * dx + dy * dy;
          if (d2 <= (box - 1) * (box - 1)) c.Fill(x, top + y, 1, 1, d2 >= (box - 3) * (box - 3) ? kColorShadow : kColorWindow);
          if (m_check && d2 <= 16) c.Fill(x, top + y, 1, 1, ink);
        }
    } else {
      c.Fill(0, top, box, box, kColorWindow);
      c.Edge(0, top, box, box, true);
      if (m_check == BST_CHECKED) {
        for (int i = 0; i < 3; ++i) c.Fill(3 + i, top + 5 + i, 1, 3, ink);
        for (int i = 0; i < 4; ++i) c.Fill(6 + i, top + 6 - i, 1, 3, ink);
      } else if (m_check == BST_INDETERMINATE) {
        c.Fill(3, top + 3, box - 6, box - 6, kColorShadow);
      }
    }
    c.Text(box + 4, (h - DialogLineHeight()) / 2, m_text, ink);
    if (focused) c.DottedFrame(box + 2, (h - DialogLineHeight()) / 2 - 1, DialogTextWidth(m_text) + 4, DialogLineHeight() + 2);
  }

 private:
  // An automatic radio button unchecks the others of its group.
  void CheckInGroup() {
    auto& all = m_dialog.widgets;
    int at = 0;
    while (at < static_cast<int>(all.size()) && all[at].get() != this) ++at;
    int first = at;
    while (first > 0 && !(all[first]->m_style & WS_GROUP)) --first;
    for (int i = first; i < static_cast<int>(all.size()); ++i) {
      if (i > first && (all[i]->m_style & WS_GROUP)) break;
      if (all[i].get() != this && all[i]->m_kind == ItemKind::RadioButton)
        Send(all[i]->m_handle, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    m_check = BST_CHECKED;
  }

  int m_check = BST_UNCHECKED;
  bool m_pressed = false;
};

class ScrollBarWidget : public Widget {
 public:
  using Widget::Widget;

  ScrollInfo* ScrollValues() override { return &m_info; }

  void MouseDown(Point p) override {
    const bool vertical = (m_style & SBS_VERT) != 0;
    const int along = vertical ? p.y : p.x;
    const int length = vertical ? m_rect.Height() : m_rect.Width();
    const int arrow = Thickness();
    int code;
    if (along < arrow)
      code = SB_LINEUP;
    else if (along >= length - arrow)
      code = SB_LINEDOWN;
    else {
      auto [thumbStart, thumbEnd] = Thumb();
      if (along < thumbStart)
        code = SB_PAGEUP;
      else if (along >= thumbEnd)
        code = SB_PAGEDOWN;
      else
        return;
    }
    Send(m_dialog.handle, vertical ? WM_VSCROLL : WM_HSCROLL, static_cast<uintptr_t>(code),
         static_cast<intptr_t>(m_handle.id));
  }

  void Paint(const Canvas& c, bool) override {
    const int w = m_rect.Width(), h = m_rect.Height();
    const bool vertical = (m_style & SBS_VERT) != 0;
    const int arrow = Thickness();
    c.Fill(0, 0, w, h, 0xE8E8E8);
    if (vertical) {
      c.Fill(0, 0, w, arrow, kColorFace);
      c.Edge(0, 0, w, arrow, false);
      c.Fill(0, h - arrow, w, arrow, kColorFace);
      c.Edge(0, h - arrow, w, arrow, false);
    } else {
      c.Fill(0, 0, arrow, h, kColorFace);
      c.Edge(0, 0, arrow, h, false);
      c.Fill(w - arrow, 0, arrow, h, kColorFace);
      c.Edge(w - arrow, 0, arrow, h, false);
    }
    auto [start, end] = Thumb();
    if (end > start) {
      if (vertical) {
        c.Fill(0, start, w, end - start, kColorFace);
        c.Edge(0, start, w, end - start, false);
      } else {
        c.Fill(start, 0, end - start, h, kColorFace);
        c.Edge(start, 0, end - start, h, false);
      }
    }
  }

 private:
  int Thickness() const {
    const bool vertical = (m_style & SBS_VERT) != 0;
    return std::min(vertical ? m_rect.Width() : m_rect.Height(),
                    (vertical ? m_rect.Height() : m_rect.Width()) / 2);
  }

  // Start and end of the thumb along the bar, in pixels.
  std::pair<int, int> Thumb() const {
    const bool vertical = (m_style & SBS_VERT) != 0;
    const int length = vertical ? m_rect.Height() : m_rect.Width();
    const int arrow = Thickness();
    const int track = length - 2 * arrow;
    const int64_t range = static_cast<int64_t>(m_info.max) - m_info.min + 1;
    if (track <= 0 || range <= 0) return {0, 0};
    int64_t size = m_info.page ? track * static_cast<int64_t>(m_info.page) / range : arrow;
    size = std::clamp<int64_t>(size, std::min(arrow, track), track);
    int64_t span = range - std::max<int64_t>(m_info.page, 1);
    int64_t offset = span > 0 ? (track - size) * (static_cast<int64_t>(m_info.pos) - m_info.min) / span : 0;
    offset = std::clamp<int64_t>(offset, 0, track - size);
    return {arrow + static_cast<int>(offset), arrow + static_cast<int>(offset + size)};
  }

  ScrollInfo m_info;
};

}  // namespace

std::unique_ptr<Widget> MakeWidget(DialogWindow& dialog, const DialogItem& item, const Rect& rect) {
  switch (item.kind) {
    case ItemKind::Static:
    case ItemKind::Picture:
    case ItemKind::GroupBox: return std::make_unique<StaticWidget>(dialog, item, rect);
    case ItemKind::PushButton:
    case ItemKind::DefPushButton:
    case ItemKind::RadioButton:
    case ItemKind::CheckBox:
    case ItemKind::CheckBox3: return std::make_unique<ButtonWidget>(dialog, item, rect);
    case ItemKind::Edit: return MakeEditWidget(dialog, item, rect);
    case ItemKind::ScrollBar: return std::make_unique<ScrollBarWidget>(dialog, item, rect);
    case ItemKind::ListBox: return MakeListWidget(dialog, item, rect);
  }
  return std::make_unique<StaticWidget>(dialog, item, rect);
}

}  // namespace plat::detail
