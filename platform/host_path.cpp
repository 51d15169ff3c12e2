#include "platform/host_path.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/script_run.h"
#include "platform/text_encoding.h"

namespace fs = std::filesystem;

namespace plat {
namespace {

std::string FoldAsciiCase(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool HostExists(const std::string& hostPath) {
  struct stat st;
  return ::stat(hostPath.c_str(), &st) == 0;
}

std::string Join(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  if (dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

// The entry of `dir` that names `utf8Name` without regard to ASCII case.
bool FindInListing(const std::string& dir, const std::string& utf8Name, std::string& found) {
  std::error_code ec;
  const std::string want = FoldAsciiCase(utf8Name);
  for (fs::directory_iterator it(dir.empty() ? "." : dir, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (FoldAsciiCase(name) == want) {
      found = name;
      return true;
    }
  }
  return false;
}

}  // namespace

bool IsSjisPair(const char* p) {
  auto lead = static_cast<unsigned char>(p[0]);
  if (!((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC))) return false;
  auto trail = static_cast<unsigned char>(p[1]);
  return (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC);
}

std::vector<std::string> SplitPath(const std::string& path, bool* absolute) {
  std::vector<std::string> parts;
  size_t i = 0;
  bool abs = false;
  if (path.size() >= 2 && path[1] == ':' &&
      ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
    abs = true;
    i = 2;
  } else if (!path.empty() && (path[0] == '\\' || path[0] == '/')) {
    abs = true;
  }
  std::string cur;
  while (i < path.size()) {
    if (i + 1 < path.size() && IsSjisPair(&path[i])) {
      cur.append(path, i, 2);
      i += 2;
      continue;
    }
    char c = path[i++];
    if (c == '\\' || c == '/') {
      if (!cur.empty()) parts.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) parts.push_back(cur);
  if (absolute) *absolute = abs;
  return parts;
}

bool StartsAtWorkDir(const std::string& sjisPath, size_t* rest) {
  const size_t n = sizeof(WORKDIR_ROOT) - 1;
  if (sjisPath.compare(0, n, WORKDIR_ROOT) != 0) return false;
  if (sjisPath.size() > n && sjisPath[n] != '\\' && sjisPath[n] != '/') return false;
  if (rest) *rest = n;
  return true;
}

std::string HostPath(const std::string& sjisPath) { return HostPathFrom(std::string(), sjisPath); }

std::string HostPathFrom(const std::string& hostBase, const std::string& sjisPath) {
  bool absolute = false;
  std::vector<std::string> parts;
  std::string cur;
  size_t rest = 0;
  if (StartsAtWorkDir(sjisPath, &rest)) {
    parts = SplitPath(sjisPath.substr(rest));
    cur = HostWorkingDirectory();
    if (cur.empty()) cur = ".";
  } else {
    parts = SplitPath(sjisPath, &absolute);
    cur = absolute ? "/" : hostBase;
  }
  bool onDisk = true;  // once a part is missing, later parts cannot be matched
  for (const std::string& part : parts) {
    if (part == "." || part == "..") {
      cur = Join(cur, part);
      continue;
    }
    bool ok = false;
    std::string utf8 = Cp932ToUtf8(part, &ok);
    std::string next = Join(cur, utf8);
    if (onDisk && !HostExists(next)) {
      std::string found;
      if (HostExists(Join(cur, part))) {
        next = Join(cur, part);  // a name stored in raw bytes
      } else if (FindInListing(cur, utf8, found)) {
        next = Join(cur, found);
      } else {
        onDisk = false;
      }
    }
    cur = next;
  }
  if (cur.empty()) cur = ".";
  return cur;
}

std::string HostWorkingDirectory() {
  std::error_code ec;
  std::string cwd = fs::current_path(ec).string();
  return ec ? std::string() : cwd;
}

std::string CurrentDirectory() {
  std::string cwd = HostWorkingDirectory();
  if (cwd.empty()) return cwd;
  // Only a name that converts back to the very same host path may stand for
  // it; a '\\' inside a host folder name would read as a separator.
  bool ok = false;
  std::string sjis = Utf8ToCp932(cwd, &ok);
  if (!ok || cwd.find('\\') != std::string::npos || Cp932ToUtf8(sjis) != cwd)
    return WORKDIR_ROOT;
  for (char& c : sjis)
    if (c == '/') c = '\\';
  return sjis;
}

bool SetCurrentDirectory(const std::string& sjisPath) {
  return ::chdir(HostPath(sjisPath).c_str()) == 0;
}

bool PathExists(const std::string& sjisPath) { return HostExists(HostPath(sjisPath)); }

bool IsDirectory(const std::string& sjisPath) {
  struct stat st;
  return ::stat(HostPath(sjisPath).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDirectory(const std::string& sjisPath) {
  std::string host = HostPath(sjisPath);
  if (::mkdir(host.c_str(), 0777) == 0) return true;
  struct stat st;
  return errno == EEXIST && ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> ListDirectory(const std::string& sjisPath) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(HostPath(sjisPath), ec), end; !ec && it != end;
       it.increment(ec))
    names.push_back(Utf8ToCp932(it->path().filename().string()));
  return names;
}

FILE* OpenFile(const std::string& sjisPath, const char* mode) {
  return std::fopen(HostPath(sjisPath).c_str(), mode);
}

bool ReadWholeFile(const std::string& sjisPath, std::string& out) {
  FILE* f = OpenFile(sjisPath, "rb");
  if (!f) return false;
  out.clear();
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0) out.append(buf, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

namespace {

// The program's own files, which the trace notes when they are written.
bool IsUserDataPath(const std::string& sjisPath) {
  static const char kFolder[] = "user_data\\";
  std::string lower = sjisPath;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const size_t at = lower.find(kFolder);
  return at == 0 || (at != std::string::npos && (lower[at - 1] == '\\' || lower[at - 1] == '/'));
}

}  // namespace

bool WriteFileAtomic(const std::string& sjisPath, const void* data, size_t size) {
  const std::string target = HostPath(sjisPath);
  static std::atomic<unsigned> s_nextTemp{0};
  std::string temp = target + ".tmp" + std::to_string(::getpid()) + "_" +
                     std::to_string(s_nextTemp.fetch_add(1));
  FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return false;
  bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
  ok = (std::fflush(f) == 0) && ok;
  ok = (::fsync(fileno(f)) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  if (ok) ok = std::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) std::remove(temp.c_str());
  if (ok && TraceOn() && IsUserDataPath(sjisPath)) Trace("file %s", sjisPath.c_str());
  return ok;
}

namespace {

// The process id of a temporary name "<file>.tmp<pid>_<n>", or 0.
pid_t TempOwner(const std::string& name, const std::string& file) {
  const std::string prefix = file + ".tmp";
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return 0;
  long long pid = 0;
  size_t i = prefix.size();
  for (; i < name.size() && name[i] >= '0' && name[i] <= '9' && pid < 1000000000LL; ++i)
    pid = pid * 10 + (name[i] - '0');
  if (i == prefix.size() || i >= name.size() || name[i] != '_') return 0;
  return static_cast<pid_t>(pid);
}

bool ProcessIsGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace

int RemoveDeadTemps(const std::string& sjisPath) {
  const fs::path target(HostPath(sjisPath));
  const std::string file = target.filename().string();
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  int removed = 0;
  std::error_code ec;
  std::vector<fs::path> dead;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    pid_t pid = TempOwner(it->path().filename().string(), file);
    if (pid > 0 && pid != ::getpid() && ProcessIsGone(pid)) dead.push_back(it->path());
  }
  for (const fs::path& p : dead)
    if (fs::remove(p, ec)) ++removed;
  return removed;
}

bool RemoveTree(const std::string& sjisPath) {
  std::error_code ec;
  std::string host = HostPath(sjisPath);
  fs::remove_all(host, ec);
  return !ec && !HostExists(host);
}

bool CopyTree(const std::string& sjisFrom, const std::string& sjisTo) {
  std::error_code ec;
  fs::copy(HostPath(sjisFrom), HostPath(sjisTo), fs::copy_options::recursive, ec);
  return !ec;
}

}  // namespace plat
