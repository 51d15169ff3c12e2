// Which font file draws a face name.
#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <cstdlib>
#include <map>

#include "platform/text_encoding.h"
#include "platform/text_internal.h"

namespace plat::text {
namespace detail {
namespace {

enum IpaFace { IPA_GOTHIC, IPA_PGOTHIC, IPA_MINCHO, IPA_PMINCHO };

struct IpaFont {
  const char* family;
  const char* path;  // where the Debian packages put it
};

const IpaFont kIpaFonts[] = {
    {"IPAGothic", "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"},
    {"IPAPGothic", "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"},
    {"IPAMincho", "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf"},
    {"IPAPMincho", "/usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf"},
};

// The Japanese faces of the project's font list and what stands in for each:
// the fixed-pitch ones by IPA Gothic or Mincho, the proportional ones
// (P, S, UI, Meiryo) by the P forms.
struct Alias {
  const char* name;  // UTF-8 of the face name
  IpaFace face;
};

const Alias kAliases[] = {
    {"ＭＳ ゴシック", IPA_GOTHIC},
    {"ＭＳ Ｐゴシック", IPA_PGOTHIC},
    {"MS UI Gothic", IPA_PGOTHIC},
    {"ＭＳ 明朝", IPA_MINCHO},
    {"ＭＳ Ｐ明朝", IPA_PMINCHO},
    {"メイリオ", IPA_PGOTHIC},
    {"HGｺﾞｼｯｸE", IPA_GOTHIC},
    {"HGPｺﾞｼｯｸE", IPA_PGOTHIC},
    {"HGSｺﾞｼｯｸE", IPA_PGOTHIC},
    {"HG丸ｺﾞｼｯｸM-PRO", IPA_GOTHIC},
    {"HG創英角ｺﾞｼｯｸUB", IPA_GOTHIC},
    {"HGP創英角ｺﾞｼｯｸUB", IPA_PGOTHIC},
    {"HGS創英角ｺﾞｼｯｸUB", IPA_PGOTHIC},
    {"HGｺﾞｼｯｸM", IPA_GOTHIC},
    {"HGPｺﾞｼｯｸM", IPA_PGOTHIC},
    {"HGSｺﾞｼｯｸM", IPA_PGOTHIC},
    {"HG明朝B", IPA_MINCHO},
    {"HGP明朝B", IPA_PMINCHO},
    {"HGS明朝B", IPA_PMINCHO},
    {"HG明朝E", IPA_MINCHO},
    {"HGP明朝E", IPA_PMINCHO},
    {"HGS明朝E", IPA_PMINCHO},
    // The stand-ins by their own names (the dialogs' face among them), found
    // also where fontconfig is not set up.
    {"IPAGothic", IPA_GOTHIC},
    {"IPAPGothic", IPA_PGOTHIC},
    {"IPAMincho", IPA_MINCHO},
    {"IPAPMincho", IPA_PMINCHO},
};

struct Registered {
  std::string family;  // UTF-8
  FontFile file;
};

struct State {
  unsigned generation = 0;
  std::vector<Registered> registered;
  bool systemFonts = true;
  std::map<std::string, Resolution> resolved;  // by Shift-JIS name
  std::map<int, FontFile> ipa;                 // IpaFace found so far
};

State& St() {
  static State* state = new State;  // kept for the process, as the library
  return *state;
}

// Face names compare as the system compares them: ASCII letters in any case.
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); i++) {
    unsigned char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x += 'a' - 'A';
    if (y >= 'A' && y <= 'Z') y += 'a' - 'A';
    if (x != y) return false;
  }
  return true;
}

// Family names as fontconfig compares them: blanks left out as well.
bool SameFamily(const char* a, const char* b) {
  auto fold = [](const char* s) {
    std::string out;
    for (; *s; s++) {
      if (*s != ' ') out += *s;
    }
    return out;
  };
  return SameName(fold(a), fold(b));
}

FcConfig* g_config = nullptr;
bool g_configTried = false;

// Made on first use; given back at exit (under the lock, so that no late
// lookup meets it half gone), as fontconfig keeps part of it out of sight.
FcConfig* Config() {
  if (!g_configTried) {
    g_configTried = true;
    g_config = FcInitLoadConfigAndFonts();
    std::atexit([] {
      std::lock_guard<std::mutex> lock(Lock());
      if (g_config) FcConfigDestroy(g_config);
      g_config = nullptr;
    });
  }
  return g_config;
}

// The file fontconfig gives for a family, only when its family is that one
// (blanks and case aside): fontconfig otherwise offers any face at all.
bool MatchFamily(const std::string& family, bool japanese, FontFile* out) {
  FcConfig* config = Config();
  if (!config || family.empty()) return false;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  if (japanese) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return false;
  bool found = false;
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; i++) {
    if (SameFamily(reinterpret_cast<const char*>(name), family.c_str())) {
      found = true;
      break;
    }
  }
  FcChar8* file = nullptr;
  int index = 0;
  if (found && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    out->path = reinterpret_cast<const char*>(file);
    out->index = index;
  } else {
    found = false;
  }
  FcPatternDestroy(match);
  return found;
}

bool FindIpa(IpaFace face, FontFile* out) {
  State& st = St();
  auto it = st.ipa.find(face);
  if (it != st.ipa.end()) {
    *out = it->second;
    return true;
  }
  FontFile file;
  if (!MatchFamily(kIpaFonts[face].family, false, &file)) {
    if (access(kIpaFonts[face].path, R_OK) != 0) return false;
    file.path = kIpaFonts[face].path;
  }
  st.ipa[face] = file;
  *out = file;
  return true;
}

bool ResolveAnew(const std::string& sjisName, Resolution* out) {
  State& st = St();
  std::string name = Cp932ToUtf8(sjisName);
  for (const Registered& r : st.registered) {
    if (SameName(r.family, name)) out->files.push_back(r.file);
  }
  if (!out->files.empty()) {
    out->how = "registered file";
    return true;
  }
  if (!st.systemFonts) return false;
  FontFile file;
  for (const Alias& a : kAliases) {
    if (SameName(a.name, name) && FindIpa(a.face, &file)) {
      out->files.push_back(file);
      out->how = "stand-in";
      return true;
    }
  }
  if (MatchFamily(name, true, &file)) {
    out->files.push_back(file);
    out->how = "fontconfig";
    return true;
  }
  if (FindIpa(IPA_GOTHIC, &file)) {
    out->files.push_back(file);
    out->how = "IPA Gothic in its place";
    return true;
  }
  return false;
}

}  // namespace

bool Resolve(const std::string& sjisName, Resolution* out) {
  State& st = St();
  auto it = st.resolved.find(sjisName);
  if (it == st.resolved.end()) {
    Resolution r;
    if (!ResolveAnew(sjisName, &r)) return false;
    if (st.resolved.size() >= 256) st.resolved.clear();  // names past the font list
    it = st.resolved.emplace(sjisName, r).first;
  }
  *out = it->second;
  return true;
}

unsigned Generation() { return St().generation; }

bool FallbackFile(FontFile* out) {
  return St().systemFonts && FindIpa(IPA_GOTHIC, out);
}

void PrepareSystemFonts() {
  FontFile file;
  if (St().systemFonts) FindIpa(IPA_GOTHIC, &file);
}

}  // namespace detail

bool RegisterFontFile(const std::string& hostPath) {
  std::lock_guard<std::mutex> lock(detail::Lock());
  FT_Library lib = detail::Library();
  if (!lib) return false;
  FT_Face face = nullptr;
  if (FT_New_Face(lib, hostPath.c_str(), -1, &face) != 0) return false;
  FT_Long faces = face->num_faces;
  FT_Done_Face(face);
  bool any = false;
  for (FT_Long i = 0; i < faces && i < 64; i++) {
    if (FT_New_Face(lib, hostPath.c_str(), i, &face) != 0) continue;
    if (face->family_name) {
      detail::St().registered.push_back({face->family_name, {hostPath, static_cast<int>(i)}});
      any = true;
    }
    FT_Done_Face(face);
  }
  detail::St().resolved.clear();
  detail::St().generation++;
  return any;
}

void ForgetRegisteredFonts() {
  std::lock_guard<std::mutex> lock(detail::Lock());
  detail::St().registered.clear();
  detail::St().resolved.clear();
  detail::St().generation++;
}

void UseSystemFonts(bool on) {
  std::lock_guard<std::mutex> lock(detail::Lock());
  detail::St().systemFonts = on;
  detail::St().resolved.clear();
  detail::St().generation++;
}

}  // namespace plat::text
