#include "app/edit_limits.h"

#include <algorithm>
#include <cstdint>

#include "base/dbcs_text.h"
#include "base/string_util.h"

namespace {

int Measure(const std::string& text, bool dbcs) {
  return dbcs ? CountChars(text.c_str()) : static_cast<int>(text.size());
}

// One more than the line feeds; none for an empty text.
int LineCount(const std::string& text) {
  if (text.empty()) return 0;
  return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Drops bytes from the end until the measure fits the limit.
void CutToLimit(std::string& text, int limit, bool dbcs) {
  while (!text.empty() && Measure(text, dbcs) > limit) text.pop_back();
}

}  // namespace

int EditReadLimit(const EditLimits& limits) {
  int64_t limit = limits.bDbcs ? 2 * static_cast<int64_t>(limits.nCapacity) - 1 : limits.nCapacity;
  return static_cast<int>(std::clamp<int64_t>(limit, 1, INT32_MAX));
}

EditState LimitEditChange(const std::string& previous, const std::string& current, int selStart, int selEnd,
                          const EditLimits& limits, bool backspaceHeld, bool initialising) {
  const bool dbcs = limits.bDbcs != 0;
  const int lineLimit = limits.nLines;
  const int charLimit = limits.nLineChars;
  std::string before = previous;
  StrSyncLength(before);
  EditState out;
  out.text = current;
  StrSyncLength(out.text);
  const size_t readBytes = static_cast<size_t>(EditReadLimit(limits) - 1);
  if (out.text.size() > readBytes) out.text.resize(readBytes);
  std::string& text = out.text;
  const int64_t length = static_cast<int64_t>(text.size());
  int64_t start = std::clamp<int64_t>(selStart, 0, length);
  int64_t end = std::clamp<int64_t>(selEnd, 0, length);
  const int64_t savedStart = start, savedEnd = end;

  auto done = [&]() {
    out.nSelStart = static_cast<int>(start);
    out.nSelEnd = static_cast<int>(end);
    return out;
  };
  if (lineLimit <= 0 && charLimit <= 0) return done();

  // Backspace that took a line break away: the two lines join only when the
  // first, up to the caret, leaves room.
  if (backspaceHeld && charLimit > 0 && start == end && text.size() + 2 == before.size() &&
      LineCount(text) < LineCount(before)) {
    std::string head = before.substr(0, static_cast<size_t>(std::min<int64_t>(start, before.size())));
    size_t cr = head.rfind('\r');
    if (cr != std::string::npos) head.erase(0, cr);
    if (Measure(head, dbcs) >= charLimit) {
      text = before;
      return done();
    }
  }

  // Wrap each over-long line: its tail moves to the start of the next line,
  // and joins that line when one follows.
  if (charLimit > 0) {
    size_t lineStart = 0;
    for (int line = 0; lineLimit <= 0 || line < lineLimit; ++line) {
      size_t cr = text.find('\r', lineStart);
      size_t lineEnd = cr == std::string::npos ? text.size() : cr;
      std::string content = text.substr(lineStart, lineEnd - lineStart);
      if (Measure(content, dbcs) > charLimit) {
        std::string kept = content;
        CutToLimit(kept, charLimit, dbcs);
        const size_t at = lineStart + kept.size();
        const size_t moved = content.size() - kept.size();
        text.insert(at, "\r\n");
        if (start >= static_cast<int64_t>(at)) start += 2;
        if (end >= static_cast<int64_t>(at)) end += 2;
        const size_t next = at + 2 + moved;
        if (next < text.size() && text[next] == '\r') {
          const size_t gone = std::min<size_t>(2, text.size() - next);
          text.erase(next, gone);
          // Positions behind the removed break move back with the text.
          auto pull = [&](int64_t& pos) {
            if (pos >= static_cast<int64_t>(next + gone))
              pos -= static_cast<int64_t>(gone);
            else if (pos > static_cast<int64_t>(next))
              pos = static_cast<int64_t>(next);
          };
          pull(start);
          pull(end);
        }
      }
      cr = text.find('\r', lineStart);
      if (cr == std::string::npos) break;
      lineStart = cr + 2;
      if (lineStart > text.size()) break;
    }
  }

  if (lineLimit > 0 && LineCount(text) > lineLimit) {
    if (initialising) {
      text = before;
      if (charLimit > 0) CutToLimit(text, charLimit, dbcs);
    } else {
      text = before;
      start = savedStart;
      end = savedEnd;
    }
  }

  // Never between CR and LF.
  const int64_t size = static_cast<int64_t>(text.size());
  for (int64_t* pos : {&start, &end}) {
    if (*pos >= 0 && *pos < size && text[static_cast<size_t>(*pos)] == '\n') ++*pos;
    *pos = std::clamp<int64_t>(*pos, 0, size);
  }
  return done();
}
