#include "platform/file_dialog.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/dialog_box.h"
#include "platform/host_path.h"
#include "platform/message_box.h"
#include "platform/message_numbers.h"
#include "platform/text_encoding.h"
#include "platform/window_geometry.h"

namespace fs = std::filesystem;

namespace plat {
namespace {

constexpr int kFileDialogResource = -1118;  // outside the program's own ids
constexpr int IDC_LOOKIN_LABEL = 1090;
constexpr int IDC_FOLDER = 1091;
constexpr int IDC_FILES = kFileListId;
constexpr int IDC_NAME_LABEL = 1092;
constexpr int IDC_NAME = kFileNameId;
constexpr int IDC_TYPE_LABEL = 1089;
constexpr int IDC_TYPES = kFileTypeId;

// A filter list runs to its second NUL; one longer than this is cut here.
constexpr size_t kMaxFilterBytes = 1 << 16;
constexpr size_t kMaxNameBytes = 4096;

const DialogItem kItems[] = {
    {IDC_LOOKIN_LABEL, ItemKind::Static, 0, "", 7, 6, 36, 10},
    {IDC_FOLDER, ItemKind::Static, 0, "", 45, 6, 208, 10},
    {IDC_FILES, ItemKind::ListBox, WS_TABSTOP | LBS_NOTIFY, "", 7, 18, 246, 112},
    {IDC_NAME_LABEL, ItemKind::Static, 0, "", 7, 137, 52, 10},
    {IDC_NAME, ItemKind::Edit, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, "", 62, 135, 191, 12},
    {IDC_TYPE_LABEL, ItemKind::Static, 0, "", 7, 153, 52, 10},
    {IDC_TYPES, ItemKind::ListBox, WS_TABSTOP | LBS_NOTIFY, "", 62, 151, 191, 24},
    {kIdOk, ItemKind::DefPushButton, WS_TABSTOP, "", 143, 182, 50, 14},
    {kIdCancel, ItemKind::PushButton, WS_TABSTOP, "", 203, 182, 50, 14},
};
const DialogTemplate kTemplate{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 260, 202, "", 9, "", kItems,
                               static_cast<int>(sizeof(kItems) / sizeof(kItems[0]))};

// The dialog's own texts: Japanese, English.
struct Text {
  const char* japanese;
  const char* english;
};
// "場所:"
const Text kLookIn{"\x8F\xEA\x8F\x8A:", "Look in:"};
// "ファイル名:"
const Text kFileName{"\x83t\x83@\x83" "C\x83\x8B\x96\xBC:", "File name:"};
// "ファイルの種類:"
const Text kFileType{"\x83t\x83@\x83" "C\x83\x8B\x82\xCC\x8E\xED\x97\xDE:", "Files of type:"};
// "開く"
const Text kOpen{"\x8AJ\x82\xAD", "Open"};
// "保存"
const Text kSave{"\x95\xDB\x91\xB6", "Save"};
// "キャンセル"
const Text kCancel{"\x83L\x83\x83\x83\x93\x83Z\x83\x8B", "Cancel"};
// "%s\nファイルが見つかりません。\nファイル名を確認してください。"
const Text kNotFound{
    "%s\n\x83t\x83@\x83" "C\x83\x8B\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B\n"
    "\x83t\x83@\x83" "C\x83\x8B\x96\xBC\x82\xF0\x8Am\x94" "F\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81" "B",
    "%s\nFile not found.\nCheck the file name and try again."};
// "%s\nパスが見つかりません。\nパスを確認してください。"
const Text kNoPath{
    "%s\n\x83p\x83X\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B\n"
    "\x83p\x83X\x82\xF0\x8Am\x94" "F\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81" "B",
    "%s\nPath not found.\nCheck the path and try again."};
// "%s は既に存在します。\n上書きしますか?"
const Text kExists{"%s \x82\xCD\x8A\xF9\x82\xC9\x91\xB6\x8D\xDD\x82\xB5\x82\xDC\x82\xB7\x81" "B\n"
                   "\x8F\xE3\x8F\x91\x82\xAB\x82\xB5\x82\xDC\x82\xB7\x82\xA9?",
                   "%s already exists.\nDo you want to replace it?"};
// "%s\nパス名が長すぎます。"
const Text kTooLong{"%s\n\x83p\x83X\x96\xBC\x82\xAA\x92\xB7\x82\xB7\x82\xAC\x82\xDC\x82\xB7\x81" "B",
                    "%s\nThe path is too long."};

std::function<void(const std::vector<std::string>&)> g_listHook;  // main thread only

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A Shift-JIS text as characters of one or two bytes.
std::vector<std::string> Characters(const std::string& sjis) {
  std::vector<std::string> chars;
  for (size_t i = 0; i < sjis.size();) {
    size_t n = i + 1 < sjis.size() && IsSjisPair(&sjis[i]) ? 2 : 1;
    std::string c = sjis.substr(i, n);
    if (n == 1) c[0] = FoldCase(c[0]);
    chars.push_back(c);
    i += n;
  }
  return chars;
}

bool MatchOne(const std::vector<std::string>& name, const std::vector<std::string>& pattern) {
  // Wildcards by backtracking to the last '*'.
  size_t n = 0, p = 0, star = std::string::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == "?" || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == "*") {
      star = p++;
      resume = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == "*") ++p;
  return p == pattern.size();
}

bool HasWildcard(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

bool LessByName(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(FoldCase(a[i])), y = static_cast<unsigned char>(FoldCase(b[i]));
    if (x != y) return x < y;
  }
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// The last part of a Shift-JIS path has an extension.
bool HasExtension(const std::string& sjisPath) {
  std::vector<std::string> parts = SplitPath(sjisPath);
  return !parts.empty() && parts.back().find('.') != std::string::npos;
}

struct Filter {
  std::string description, patterns;
};

std::vector<Filter> ParseFilters(const char* list) {
  std::vector<Filter> filters;
  if (!list) return filters;
  std::vector<std::string> strings;
  size_t at = 0;
  while (at < kMaxFilterBytes && list[at] != '\0') {
    size_t len = strnlen(list + at, kMaxFilterBytes - at);
    strings.emplace_back(list + at, len);
    at += len + 1;
  }
  for (size_t i = 0; i + 1 < strings.size(); i += 2) filters.push_back({strings[i], strings[i + 1]});
  return filters;
}

class FileDialog {
 public:
  explicit FileDialog(const FileDialogRequest& request) : m_req(request) {
    std::error_code ec;
    m_cwd = fs::current_path(ec).lexically_normal();
    m_folder = m_cwd;
    m_filters = ParseFilters(request.filter);
  }

  intptr_t Proc(WindowHandle dialog, uint32_t message, uintptr_t wParam, intptr_t) {
    switch (message) {
      case WM_INITDIALOG:
        m_dialog = dialog;
        Init();
        return 0;
      case WM_CLOSE:
        EndDialog(dialog, 0);
        return 1;
      case WM_COMMAND: Command(static_cast<int>(LoWord(wParam)), static_cast<int>(HiWord(wParam))); return 1;
      default: return 0;
    }
  }

 private:
  struct Entry {
    std::string name;  // Shift-JIS
    bool folder;
  };

  const char* Say(const Text& text) const { return m_req.english ? text.english : text.japanese; }
  WindowHandle Item(int id) const { return GetDlgItem(m_dialog, id); }

  void Init() {
    SetWindowText(m_dialog, m_req.title);
    SetDlgItemText(m_dialog, IDC_LOOKIN_LABEL, Say(kLookIn));
    SetDlgItemText(m_dialog, IDC_NAME_LABEL, Say(kFileName));
    SetDlgItemText(m_dialog, IDC_TYPE_LABEL, Say(kFileType));
    SetDlgItemText(m_dialog, kIdOk, Say(m_req.save ? kSave : kOpen));
    SetDlgItemText(m_dialog, kIdCancel, Say(kCancel));
    if (m_req.multiSelect && !m_req.save)
      SetWindowStyle(Item(IDC_FILES), GetWindowStyle(Item(IDC_FILES)) | LBS_EXTENDEDSEL);
    for (const Filter& f : m_filters)
      Send(Item(IDC_TYPES), LB_ADDSTRING, 0, reinterpret_cast<intptr_t>(f.description.c_str()));
    Send(Item(IDC_TYPES), LB_SETCURSEL, 0, 0);
    if (m_filters.size() < 2) {
      ShowWindow(Item(IDC_TYPE_LABEL), false);
      ShowWindow(Item(IDC_TYPES), false);
    }
    if (!m_req.folder.empty()) {
      fs::path start = Resolve(m_req.folder);
      std::error_code ec;
      if (fs::is_directory(start, ec)) m_folder = start;
    }
    if (m_req.save && m_req.buffer && m_req.bufferSize > 0)
      SetDlgItemText(m_dialog, IDC_NAME, std::string(m_req.buffer, strnlen(m_req.buffer, m_req.bufferSize)));
    Fill();
    SetFocus(Item(IDC_NAME));
    Send(Item(IDC_NAME), EM_SETSEL, 0, -1);
  }

  // A Shift-JIS path, absolute or relative to the folder shown, as the host
  // path it names (parts matched to the names on disk without regard to
  // ASCII case, a part that is not there kept as it is).
  fs::path Resolve(const std::string& sjis) const {
    return fs::path(HostPathFrom(m_folder.string(), sjis)).lexically_normal();
  }

  // The Shift-JIS path of a host path relative to the working directory
  // ("." for itself); false when it has no Shift-JIS form.
  bool Relative(const fs::path& host, std::string& sjis) const {
    fs::path r = host.lexically_relative(m_cwd);
    const std::string utf8 = r.empty() ? std::string(".") : r.generic_string();
    bool ok = false;
    sjis = Utf8ToCp932(utf8, &ok);
    for (char& c : sjis)
      if (c == '/') c = '\\';
    return ok;
  }

  const std::string& Patterns() const {
    static const std::string all = "*";
    if (!m_typedPattern.empty()) return m_typedPattern;
    return m_filters.empty() ? all : m_filters[std::min<size_t>(m_filter, m_filters.size() - 1)].patterns;
  }

  void Fill() {
    m_entries.clear();
    std::vector<Entry> folders, files;
    std::error_code ec;
    for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
      std::string utf8 = it->path().filename().string();
      if (utf8.empty() || utf8[0] == '.') continue;
      bool ok = false;
      std::string name = Utf8ToCp932(utf8, &ok);
      if (!ok) continue;
      std::error_code kind;
      if (it->is_directory(kind))
        folders.push_back({name, true});
      else if (MatchFileFilter(name, Patterns()))
        files.push_back({name, false});
    }
    auto byName = [](const Entry& a, const Entry& b) { return LessByName(a.name, b.name); };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    if (m_folder.has_relative_path()) m_entries.push_back({"..", true});
    m_entries.insert(m_entries.end(), folders.begin(), folders.end());
    m_entries.insert(m_entries.end(), files.begin(), files.end());

    WindowHandle list = Item(IDC_FILES);
    Send(list, LB_RESETCONTENT, 0, 0);
    std::vector<std::string> lines;
    for (const Entry& e : m_entries) {
      lines.push_back(e.folder ? "[" + e.name + "]" : e.name);
      Send(list, LB_ADDSTRING, 0, reinterpret_cast<intptr_t>(lines.back().c_str()));
    }
    std::string shown = Utf8ToCp932(m_folder.string());
    for (char& c : shown)
      if (c == '/') c = '\\';
    SetDlgItemText(m_dialog, IDC_FOLDER, shown);
    if (g_listHook) {
      auto hook = g_listHook;
      hook(lines);
    }
  }

  std::vector<int> SelectedLines() const {
    WindowHandle list = Item(IDC_FILES);
    std::vector<int> lines;
    const int count = static_cast<int>(Send(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
      if (Send(list, LB_GETSEL, static_cast<uintptr_t>(i), 0) > 0) lines.push_back(i);
    return lines;
  }

  void Enter(const fs::path& folder) {
    m_folder = folder.lexically_normal();
    m_typedPattern.clear();
    if (!m_req.save) SetDlgItemText(m_dialog, IDC_NAME, "");
    Fill();
  }

  void EnterLine(int line) {
    const Entry& e = m_entries[static_cast<size_t>(line)];
    Enter(e.name == ".." ? m_folder.parent_path() : Resolve(e.name));
  }

  void Command(int id, int code) {
    if (id == IDC_FILES && code == LBN_SELCHANGE) {
      std::string names;
      int files = 0;
      for (int line : SelectedLines()) {
        const Entry& e = m_entries[static_cast<size_t>(line)];
        if (e.folder) continue;
        names += (names.empty() ? "\"" : " \"") + e.name + "\"";
        ++files;
      }
      if (files == 1) names = names.substr(1, names.size() - 2);
      if (files > 0) SetDlgItemText(m_dialog, IDC_NAME, names);
    } else if (id == IDC_FILES && code == LBN_DBLCLK) {
      const int line = static_cast<int>(Send(Item(IDC_FILES), LB_GETCURSEL, 0, 0));
      if (line < 0 || line >= static_cast<int>(m_entries.size())) return;
      if (m_entries[static_cast<size_t>(line)].folder)
        EnterLine(line);
      else
        Confirm();
    } else if (id == IDC_TYPES && code == LBN_SELCHANGE) {
      const intptr_t chosen = Send(Item(IDC_TYPES), LB_GETCURSEL, 0, 0);
      if (chosen >= 0) m_filter = static_cast<size_t>(chosen);
      m_typedPattern.clear();
      Fill();
    } else if (id == kIdOk) {
      Confirm();
    } else if (id == kIdCancel) {
      EndDialog(m_dialog, 0);
    }
  }

  int Box(const Text& text, const std::string& name, BoxButtons buttons = BoxButtons::Ok) const {
    BoxRequest box;
    const char* format = Say(text);
    const char* at = std::strstr(format, "%s");
    box.text = at ? std::string(format, at) + name + (at + 2) : format;
    box.caption = m_req.title;
    box.buttons = buttons;
    box.defaultButton = buttons == BoxButtons::YesNo ? 1 : 0;  // No: nothing is overwritten by a stray Enter
    return ShowBox(box);
  }

  // The names of `typed`: several quoted ones, or the whole text as one.
  static std::vector<std::string> Names(const std::string& typed) {
    std::vector<std::string> names;
    if (typed.find('"') == std::string::npos) {
      names.push_back(typed);
      return names;
    }
    for (size_t at = typed.find('"'); at != std::string::npos;) {
      size_t end = typed.find('"', at + 1);
      std::string name = Trim(typed.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1));
      if (!name.empty()) names.push_back(name);
      if (end == std::string::npos) break;
      at = typed.find('"', end + 1);
    }
    return names;
  }

  bool DefaultExtUsable() const { return !m_req.defaultExt.empty() && !HasWildcard(m_req.defaultExt); }

  // An existing file for an open, the default extension tried for a missing name.
  bool FindFile(const std::string& name, fs::path& found) const {
    std::error_code ec;
    found = Resolve(name);
    if (fs::is_regular_file(found, ec)) return true;
    if (!DefaultExtUsable()) return false;
    fs::path withExt = Resolve(name + "." + m_req.defaultExt);
    if (!fs::is_regular_file(withExt, ec)) return false;
    found = withExt;
    return true;
  }

  void Confirm() {
    std::string typed;
    GetDlgItemText(m_dialog, IDC_NAME, typed, kMaxNameBytes);
    typed = Trim(typed);
    std::vector<int> selected = SelectedLines();
    const bool oneFolder = selected.size() == 1 && m_entries[static_cast<size_t>(selected[0])].folder;
    if (oneFolder && (typed.empty() || GetFocus() == Item(IDC_FILES))) {
      EnterLine(selected[0]);
      return;
    }
    if (typed.empty()) return;
    std::vector<std::string> names = Names(typed);
    if (names.empty()) return;
    if (names.size() > 1) {
      if (m_req.multiSelect && !m_req.save)
        ConfirmSeveral(names);
      else
        Box(kNotFound, typed);
      return;
    }
    const std::string& name = names[0];
    if (HasWildcard(name)) {
      m_typedPattern = name;
      Fill();
      return;
    }
    std::error_code ec;
    fs::path target = Resolve(name);
    if (fs::is_directory(target, ec)) {
      Enter(target);
      return;
    }
    if (m_req.save) {
      std::string full = name;
      if (!HasExtension(name) && DefaultExtUsable()) {
        full += "." + m_req.defaultExt;
        target = Resolve(full);
      }
      if (!fs::is_directory(target.parent_path(), ec)) {
        Box(kNoPath, full);
        return;
      }
      if (fs::exists(target, ec) && m_req.overwritePrompt && Box(kExists, full, BoxButtons::YesNo) != BOX_YES)
        return;
    } else {
      fs::path found;
      if (FindFile(name, found)) {
        target = found;
      } else if (m_req.mustExist || !fs::is_directory(target.parent_path(), ec)) {
        Box(m_req.mustExist ? kNotFound : kNoPath, name);
        return;
      }
    }
    std::string path;
    if (!Relative(target, path)) {
      Box(kNotFound, name);
      return;
    }
    Finish(path + '\0', name);
  }

  void ConfirmSeveral(const std::vector<std::string>& names) {
    std::string result;
    if (!Relative(m_folder, result)) return;
    result += '\0';
    for (const std::string& name : names) {
      // Every name is one of the folder shown.
      const bool plain = name.find_first_of("\\/*?") == std::string::npos && name != "." && name != "..";
      fs::path found;
      if (!plain || (!FindFile(name, found) && m_req.mustExist)) {
        Box(kNotFound, name);
        return;
      }
      result += Utf8ToCp932(found.filename().string()) + '\0';
    }
    Finish(result + '\0', names.front());
  }

  void Finish(const std::string& result, const std::string& name) {
    if (!m_req.buffer || result.size() > m_req.bufferSize) {
      Box(kTooLong, name);
      return;
    }
    std::memcpy(m_req.buffer, result.data(), result.size());
    EndDialog(m_dialog, 1);
  }

  const FileDialogRequest& m_req;
  WindowHandle m_dialog;
  fs::path m_cwd;
  fs::path m_folder;  // the folder shown, absolute
  std::vector<Filter> m_filters;
  size_t m_filter = 0;
  std::string m_typedPattern;  // a pattern typed as the name, in place of the filter's
  std::vector<Entry> m_entries;
};

}  // namespace

bool MatchFileFilter(const std::string& sjisName, const std::string& sjisPatterns) {
  const std::vector<std::string> name = Characters(sjisName);
  size_t start = 0;
  while (start <= sjisPatterns.size()) {
    size_t end = sjisPatterns.find(';', start);
    if (end == std::string::npos) end = sjisPatterns.size();
    const std::string pattern = Trim(sjisPatterns.substr(start, end - start));
    if (pattern == "*.*" || (!pattern.empty() && MatchOne(name, Characters(pattern)))) return true;
    start = end + 1;
  }
  return false;
}

bool RunFileDialog(const FileDialogRequest& request) {
  AddDialogResource(kFileDialogResource, &kTemplate);
  FileDialog dialog(request);
  intptr_t result = DialogBoxParam(
      kFileDialogResource, request.owner,
      [&dialog](WindowHandle h, uint32_t m, uintptr_t w, intptr_t l) { return dialog.Proc(h, m, w, l); }, 0);
  return result == 1;
}

void SetFileListHook(std::function<void(const std::vector<std::string>&)> hook) { g_listHook = std::move(hook); }

}  // namespace plat
