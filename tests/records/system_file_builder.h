#pragma once
// Hand-made System.dat files of any data version, built from the file's
// description (not from the record's own writer): the numeric blocks with
// their first versions, the discarded int32 of versions 221..259, and the
// lists with the versions that store them.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sysfile {

class Bytes {
 public:
  Bytes& U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) m_s.push_back(static_cast<char>(v >> (8 * i)));
    return *this;
  }
  Bytes& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
  Bytes& U8(uint8_t v) {
    m_s.push_back(static_cast<char>(v));
    return *this;
  }
  // A string: u32 length + 1, then the text and its NUL (nothing when empty).
  Bytes& Str(const std::string& text) {
    U32(static_cast<uint32_t>(text.size() + 1));
    if (!text.empty()) m_s.append(text).push_back('\0');
    return *this;
  }
  Bytes& Raw(const std::string& bytes) {
    m_s += bytes;
    return *this;
  }
  const std::string& str() const { return m_s; }
  size_t size() const { return m_s.size(); }

 private:
  std::string m_s;
};

// The numeric members in file order: name, width in bytes, first version.
struct FieldRow {
  const char* name;
  int width;
  int from;
};
inline const std::vector<FieldRow>& Fields() {
  static const std::vector<FieldRow> rows = {
      {"ExtraLifeByScore", 4, 185}, {"ExtraLifeScore", 4, 0},    {"PauseHidesField", 4, 0},
      {"IconLetters", 4, 0},        {"Font", 4, 205},            {"CentreGlyphs", 4, 170},
      {"KeepTestOnlyFlows", 4, 113}, {"Replay", 4, 184},         {"GraphicTitleMenu", 4, 157},
      {"CarryLives", 4, 0},         {"RetryMenuOnMiss", 4, 191}, {"ShowLivesOnMap", 4, 191},
      {"ChallengeStages", 4, 0},    {"AllChallengesOpen", 4, 0}, {"MapStageInfo", 4, 167},
      {"MapMenuTotal", 4, 167},     {"ResetVarsStory", 4, 188},  {"PauseRetryStory", 4, 224},
      {"SelectScores", 4, 167},     {"SelectTotal", 4, 167},     {"ResetVarsChallenge", 4, 188},
      {"PauseRetryChallenge", 4, 224}, {"ResetVarsFree", 4, 188}, {"ResetVarsTestPlay", 4, 192},
      {"ColourMode", 4, 187},       {"KeyRed", 1, 187},          {"KeyGreen", 1, 187},
      {"KeyBlue", 1, 187},          {"Compat214", 4, 214},       {"(discarded)", 4, 221},
      {"Compat261", 4, 261},        {"DefeatSound", 4, 272},     {"D3DCharaBlend", 4, 287},
      {"ColourAnimSpeed", 4, 515},  {"PaletteCycle", 4, 289},    {"Compat525", 4, 525},
      {"Compat555", 4, 555},        {"Compat637", 4, 637},       {"Compat669", 4, 669},
      {"Compat677", 4, 677},        {"Compat695", 4, 695},       {"Compat696", 4, 696},
      {"Compat697", 4, 697},        {"Compat721", 4, 721},       {"Compat728", 4, 728},
      {"Compat733", 4, 733},        {"D3DBpp", 4, 670},          {"DDBpp", 4, 670},
  };
  return rows;
}

inline bool Stored(const FieldRow& f, int version) {
  if (std::string(f.name) == "(discarded)") return version >= 221 && version <= 259;
  return version >= f.from;
}

struct StatusItem {
  int32_t visible = 0, icon = 0;
  std::string label;
  int32_t digits = 0, showValue = 0, lowLevel = 0, lowPercent = 0;
};
struct RankingMode {
  int32_t ranking = 0;
  std::vector<uint8_t> categories;
};
struct MenuEntry {
  int32_t visible = 1;
  std::string text;
};
struct IniKey {
  int32_t kind = 0;
  std::string key;
  int32_t number = 0;
  std::string text;
};

// The content of one file. Lists that the version does not store are not
// written, whatever they hold here.
struct SystemFile {
  int version = 734;
  std::map<std::string, int32_t> values;  // numeric members by name; 0 when absent
  std::string title;
  std::vector<uint8_t> carry, loseOnMiss;
  std::vector<StatusItem> statusItems;
  std::vector<int32_t> startLives, infiniteLives;
  std::vector<RankingMode> rankingModes;
  std::vector<std::string> texts, sounds;
  std::vector<int32_t> screenBgm;
  std::vector<uint8_t> screenBgmLoop;
  std::vector<MenuEntry> titleMenu, mapMenu, optionMenu;
  std::vector<std::string> rankingEntryModes;
  std::vector<IniKey> iniKeys;
};

inline void Segment(Bytes& b, const SystemFile& f) {
  uint32_t n = 0;
  for (const FieldRow& row : Fields()) n += Stored(row, f.version) ? 1 : 0;
  b.U32(n);
  for (const FieldRow& row : Fields()) {
    if (!Stored(row, f.version)) continue;
    auto it = f.values.find(row.name);
    int32_t v = it == f.values.end() ? 0 : it->second;
    if (row.width == 1)
      b.U8(static_cast<uint8_t>(v));
    else
      b.I32(v);
  }
  b.U32(1).Str(f.title);
}

inline void StatusItemSegment(Bytes& b, const StatusItem& s, int version) {
  b.U32(version >= 587 ? 6 : version >= 204 ? 4 : 3).I32(s.visible).I32(s.icon).I32(s.digits);
  if (version >= 204) b.I32(s.showValue);
  if (version >= 587) b.I32(s.lowLevel).I32(s.lowPercent);
  b.U32(1).Str(s.label);
}

inline void Menu(Bytes& b, const std::vector<MenuEntry>& menu) {
  b.U32(static_cast<uint32_t>(menu.size()));
  for (const MenuEntry& e : menu) b.U32(1).I32(e.visible).U32(1).Str(e.text);
}

inline std::string Build(const SystemFile& f) {
  const int v = f.version;
  Bytes b;
  b.U32(static_cast<uint32_t>(v));
  Segment(b, f);
  auto bytes = [&b](const std::vector<uint8_t>& list) {
    b.U32(static_cast<uint32_t>(list.size()));
    for (uint8_t x : list) b.U8(x);
  };
  auto ints = [&b](const std::vector<int32_t>& list) {
    b.U32(static_cast<uint32_t>(list.size()));
    for (int32_t x : list) b.I32(x);
  };
  auto strings = [&b](const std::vector<std::string>& list) {
    b.U32(static_cast<uint32_t>(list.size()));
    for (const std::string& s : list) b.Str(s);
  };
  bytes(f.carry);
  if (v >= 501) bytes(f.loseOnMiss);
  b.U32(static_cast<uint32_t>(f.statusItems.size()));
  for (const StatusItem& s : f.statusItems) StatusItemSegment(b, s, v);
  ints(f.startLives);
  if (v >= 191) ints(f.infiniteLives);
  if (v >= 186) {
    b.U32(static_cast<uint32_t>(f.rankingModes.size()));
    for (const RankingMode& m : f.rankingModes) {
      b.U32(1).I32(m.ranking).U32(0).U32(static_cast<uint32_t>(m.categories.size()));
      for (uint8_t c : m.categories) b.U8(c);
    }
  }
  strings(f.texts);
  strings(f.sounds);
  ints(f.screenBgm);
  if (v >= 202) bytes(f.screenBgmLoop);
  Menu(b, f.titleMenu);
  Menu(b, f.mapMenu);
  Menu(b, f.optionMenu);
  if (v >= 674) strings(f.rankingEntryModes);
  b.U32(static_cast<uint32_t>(f.iniKeys.size()));
  for (const IniKey& k : f.iniKeys) b.U32(2).I32(k.kind).I32(k.number).U32(2).Str(k.key).Str(k.text);
  return b.str();
}

}  // namespace sysfile
