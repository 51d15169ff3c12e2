#include "base/path_util.h"

#include <set>
#include <vector>

#include "base/text_format.h"
#include "platform/host_path.h"

namespace {

std::string FoldCase(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// Drops "." parts and resolves ".." against the parts before them. At the
// root a ".." goes nowhere; below the working directory's own root
// (bKeepUps) it climbs above that folder and is kept for the host.
std::vector<std::string> Normalise(const std::vector<std::string>& parts, bool bKeepUps = false) {
  std::vector<std::string> out;
  for (const std::string& p : parts) {
    if (p == ".") continue;
    if (p == "..") {
      if (!out.empty() && out.back() != "..")
        out.pop_back();
      else if (bKeepUps)
        out.push_back(p);
      continue;
    }
    out.push_back(p);
  }
  return out;
}

// Position of the last '\' or '/' that is not the trail byte of a
// double-byte character ('/' never is one); the scan runs forward so that
// pairs are found from their lead.
size_t LastSeparator(const std::string& path) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size();) {
    if (plat::IsSjisPair(path.c_str() + i)) {
      i += 2;
      continue;
    }
    if (path[i] == '\\' || path[i] == '/') last = i;
    ++i;
  }
  return last;
}

std::vector<std::string> SplitHost(const std::string& hostPath) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= hostPath.size()) {
    size_t end = hostPath.find('/', start);
    if (end == std::string::npos) end = hostPath.size();
    if (end > start) parts.push_back(hostPath.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// "." when nothing goes up, then "\rest", as relative paths are written.
std::string JoinRelative(size_t ups, const std::vector<std::string>& parts, size_t from) {
  std::string out;
  for (size_t i = 0; i < ups; ++i) out += out.empty() ? ".." : "\\..";
  if (out.empty()) out = ".";
  for (size_t i = from; i < parts.size(); ++i) out += "\\" + parts[i];
  return out;
}

}  // namespace

int IsRelativePath(const std::string& path) {
  bool absolute = false;
  plat::SplitPath(path, &absolute);
  return absolute ? 0 : 1;
}

int MakeAbsolutePath(std::string& path) {
  if (!IsRelativePath(path)) return 1;
  std::string cwd = plat::CurrentDirectory();
  if (cwd.empty()) return 0;
  if (plat::StartsAtWorkDir(cwd)) {
    std::string out = cwd;
    for (const std::string& p : Normalise(plat::SplitPath(path), true)) out += "\\" + p;
    path = out;
    return 1;
  }
  std::vector<std::string> parts = plat::SplitPath(cwd);
  for (const std::string& p : plat::SplitPath(path)) parts.push_back(p);
  std::string out;
  for (const std::string& p : Normalise(parts)) out += "\\" + p;
  path = out.empty() ? "\\" : out;
  return 1;
}

int MakeRelativePath(std::string& path) {
  if (IsRelativePath(path)) return 1;
  size_t rest = 0;
  if (plat::StartsAtWorkDir(path, &rest)) {
    std::vector<std::string> parts = Normalise(plat::SplitPath(path.substr(rest)), true);
    size_t ups = 0;
    while (ups < parts.size() && parts[ups] == "..") ++ups;
    path = JoinRelative(ups, parts, ups);
    return 1;
  }
  // Folder names compare as the host compares them, byte for byte, on the
  // names that the path opens (HostPath finds a name of another case only
  // when the name as written does not exist).
  const std::string cwd = plat::HostWorkingDirectory();
  if (cwd.empty()) return 0;
  const std::vector<std::string> from = SplitHost(cwd);
  const std::vector<std::string> to = Normalise(plat::SplitPath(path));
  std::string joined;
  for (const std::string& p : to) joined += "\\" + p;
  std::vector<std::string> hostTo = SplitHost(plat::HostPath(joined.empty() ? "\\" : joined));
  if (hostTo.size() != to.size()) hostTo = to;  // never expected: compare as written
  size_t common = 0;
  while (common < from.size() && common < to.size() && from[common] == hostTo[common]) ++common;
  path = JoinRelative(from.size() - common, to, common);
  return 1;
}

void StripDirectory(std::string& path) {
  size_t sep = LastSeparator(path);
  if (sep != std::string::npos) path.erase(0, sep + 1);
}

int ReplaceExtension(std::string& out, const std::string& path, const char* ext) {
  size_t dot = path.rfind('.');
  if (dot == std::string::npos) {
    out = path;
    return 0;
  }
  std::string result = ext ? path.substr(0, dot + 1) + ext : path.substr(0, dot);
  out = std::move(result);
  return 1;
}

int StripExtension(std::string& path) {
  size_t dot = path.rfind('.');
  if (dot == std::string::npos) return 0;
  path.erase(dot);
  return 1;
}

int GetExtension(std::string& out, const std::string& path) {
  size_t dot = path.rfind('.');
  if (dot == std::string::npos) return 0;
  out = path.substr(dot + 1);
  return 1;
}

int MakeNumberedName(std::string& out, const std::string& path, int a, int b) {
  size_t dot = path.rfind('.');
  if (dot == std::string::npos) return 0;
  std::string result = path.substr(0, dot);
  AppendFormat(result, "_%d%d", a, b);
  result += path.substr(dot);
  out = std::move(result);
  return 1;
}

int FindNewestVersion(std::string& out, const std::string& path, const char* ext) {
  std::string base;
  ReplaceExtension(base, path, ext);
  // List the folder once and test the thousand candidates against it.
  size_t sep = LastSeparator(base);
  std::string folder = sep == std::string::npos ? "." : base.substr(0, sep);
  if (folder.empty()) folder = "\\";
  std::set<std::string> names;
  for (const std::string& n : plat::ListDirectory(folder)) names.insert(FoldCase(n));
  std::string stem = sep == std::string::npos ? base : base.substr(sep + 1);
  for (int k = 999; k >= 0; --k) {
    std::string suffix = FormatText("_%d%d%d", k / 100, k / 10 % 10, k % 10);
    if (names.count(FoldCase(stem + suffix))) {
      out = base + suffix;
      return 1;
    }
  }
  return 0;
}
