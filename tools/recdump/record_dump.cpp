#include "tools/recdump/record_dump.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <functional>

#include "platform/text_encoding.h"
#include "records/anime_records.h"
#include "records/chara_effect.h"
#include "records/command.h"
#include "records/common_palette.h"
#include "records/data_file.h"
#include "records/effect_record.h"
#include "records/flow.h"
#include "records/media_records.h"
#include "records/record.h"
#include "records/stage.h"
#include "records/sword_type.h"
#include "records/system.h"
#include "records/system_elements.h"
#include "records/user_settings.h"
#include "records/world_map.h"

namespace {

// Walks a file with the same bounded reader the loaders use and writes what
// it reads.
class cDump {
 public:
  explicit cDump(const std::string& bytes) : m_r(bytes), m_bytes(bytes) {}

  cDataReader& Reader() { return m_r; }
  int Version() const { return m_r.Version(); }
  bool Stopped() const { return m_r.Ended() || m_bStopped; }

  void Line(const std::string& text) { m_out += std::string(2 * m_nIndent, ' ') + text + "\n"; }
  void Enter() { ++m_nIndent; }
  void Leave() { --m_nIndent; }

  // A u32 count of elements of at least minBytes each; false (said in the
  // text) when the rest of the file cannot hold them.
  bool Count(const std::string& label, size_t minBytes, uint32_t& n) {
    if (Stopped()) return false;
    const size_t at = Offset();
    n = m_r.ReadCount(minBytes);
    if (m_r.Ended()) {
      if (at + 4 > m_bytes.size()) {
        Line(label + ": (the file ends here)");
      } else {
        Line(label + ": (a count the rest of the file cannot hold)");
        StopAt(at + 4);
      }
      return false;
    }
    Line(label + " " + std::to_string(n));
    return true;
  }

  // One record segment, typed by `record`'s layout for the file's version.
  void Segment(cRecord& record) {
    record.RegisterFields(Version());
    const cVector<FIELDDESC>& fields = record.Fields();
    uint32_t n = 0;
    if (!Count("blocks", 1, n)) return;
    Enter();
    for (uint32_t i = 0; i < n; ++i) {
      if (i >= static_cast<uint32_t>(fields.Size())) {
        Line("(the layout of version " + std::to_string(Version()) + " has only " +
             std::to_string(fields.Size()) + " blocks; the read stops)");
        StopAt(Offset());
        Leave();
        return;
      }
      if (!Block(fields[i])) {
        Leave();
        return;
      }
    }
    Leave();
    uint32_t m = 0;
    if (!Count("strings", 4, m)) return;
    Enter();
    for (uint32_t j = 0; j < m && !Stopped(); ++j) {
      std::string s;
      if (!String(s)) break;
      Line(Quoted(s));
    }
    Leave();
  }

  // One little-endian value of the tail, shown as the blocks are.
  void Scalar(const std::string& label, int size) {
    if (Stopped()) return;
    unsigned char b[8] = {};
    if (m_r.ReadBytes(b, static_cast<size_t>(size)) < static_cast<size_t>(size)) {
      Line(label + " " + TypeName(size) + " (the file ends here)");
      return;
    }
    Line(label + " " + TypeName(size) + " " + Value(b, size));
  }

  // A u32 word of the tail (a flag or a skipped word); false at the end.
  bool Word(const std::string& label, uint32_t& v) {
    if (Stopped()) return false;
    if (m_r.Remaining() < 4) {
      m_r.End();
      Line(label + ": (the file ends here)");
      return false;
    }
    v = m_r.ReadU32();
    Line(label + " " + std::to_string(v));
    return true;
  }

  void ByteList(const std::string& label) {
    uint32_t n = 0;
    if (!Count(label, 1, n)) return;
    std::string values;
    for (uint32_t i = 0; i < n; ++i) values += (i ? " " : "") + std::to_string(m_r.ReadU8());
    Enter();
    if (n) Line(values);
    Leave();
  }

  void IntList(const std::string& label) {
    uint32_t n = 0;
    if (!Count(label, 4, n)) return;
    std::string values;
    for (uint32_t i = 0; i < n; ++i) values += (i ? " " : "") + std::to_string(m_r.ReadI32());
    Enter();
    if (n) Line(values);
    Leave();
  }

  void StringList(const std::string& label) {
    uint32_t n = 0;
    if (!Count(label, 4, n)) return;
    Enter();
    for (uint32_t i = 0; i < n && !Stopped(); ++i) {
      std::string s;
      if (!String(s)) break;
      Line("[" + std::to_string(i) + "] " + Quoted(s));
    }
    Leave();
  }

  // A list segment of records of one class, each a segment and its tail.
  template <class T>
  void RecordList(const std::string& label, const std::function<void(cDump&)>& tail = nullptr) {
    uint32_t n = 0;
    if (!Count(label, 8, n)) return;
    Enter();
    for (uint32_t i = 0; i < n && !Stopped(); ++i) {
      Line("[" + std::to_string(i) + "]");
      Enter();
      T element;
      Segment(element);
      if (tail && !Stopped()) tail(*this);
      Leave();
    }
    Leave();
  }

  // A list whose elements each follow a word the loader skips (the placed
  // blocks, characters and items of a stage).
  template <class T>
  void PlacedList(const std::string& label, const std::function<void(cDump&)>& tail) {
    uint32_t n = 0;
    if (!Count(label, 12, n)) return;
    Enter();
    for (uint32_t i = 0; i < n && !Stopped(); ++i) {
      Line("[" + std::to_string(i) + "]");
      Enter();
      uint32_t skipped = 0;
      if (Word("skipped", skipped)) {
        T element;
        Segment(element);
        if (tail && !Stopped()) tail(*this);
      }
      Leave();
    }
    Leave();
  }

  // The read goes no further, said in the text; Finish shows the rest.
  void Stop(const std::string& why) {
    Line(why);
    StopAt(Offset());
  }

  // How deep the flows carried by commands nest at the current element.
  int m_nFlowDepth = 0;

  // What the read left: the end, or the bytes from where it stopped.
  std::string Finish() {
    const size_t from = m_bStopped ? m_nStop : m_r.Ended() ? m_bytes.size() : Offset();
    if (from < m_bytes.size()) {
      Line("unread bytes from offset " + std::to_string(from) + ":");
      Enter();
      Hex(from);
      Leave();
    } else {
      Line("end of file at offset " + std::to_string(m_bytes.size()));
    }
    return m_out;
  }

 private:
  size_t Offset() const { return m_bytes.size() - m_r.Remaining(); }

  // The read goes no further; Finish shows the bytes from `at` on.
  void StopAt(size_t at) {
    m_bStopped = true;
    m_nStop = at;
  }

  // One string; false (said in the text) when the file does not hold it.
  bool String(std::string& s) {
    const size_t at = Offset();
    if (m_r.ReadString(s)) return true;
    if (at + 4 > m_bytes.size()) {
      Line("(the file ends here)");
    } else {
      Line("(a string the rest of the file does not hold)");
      StopAt(at + 4);
    }
    return false;
  }

  void Hex(size_t from) {
    std::string line;
    for (size_t i = from; i < m_bytes.size(); ++i) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%02X", static_cast<uint8_t>(m_bytes[i]));
      line += (line.empty() ? "" : " ") + std::string(hex);
      if ((i - from) % 16 == 15) {
        Line(line);
        line.clear();
      }
    }
    if (!line.empty()) Line(line);
  }

  bool Block(const FIELDDESC& d) {
    const int count = d.nCount > 0 ? d.nCount : 0;
    const int size = d.cbSize;
    std::string text = TypeName(size) + (count != 1 ? "[" + std::to_string(count) + "]" : "");
    for (int k = 0; k < count; ++k) {
      unsigned char b[8] = {};
      if (m_r.ReadBytes(b, static_cast<size_t>(size)) < static_cast<size_t>(size)) {
        Line(text + " (the file ends here)");
        return false;
      }
      text += " " + Value(b, size);
    }
    Line(text);
    return true;
  }

  static std::string TypeName(int size) {
    switch (size) {
      case 1: return "u8";
      case 2: return "int16";
      case 4: return "int32";
      case 8: return "double";
      default: return "bytes" + std::to_string(size);
    }
  }

  static std::string Value(const unsigned char* b, int size) {
    uint64_t u = 0;
    for (int i = size - 1; i >= 0; --i) u = (u << 8) | b[i];
    char buf[40];
    switch (size) {
      case 1: return std::to_string(u);
      case 2: return std::to_string(static_cast<int16_t>(u));
      case 4: return std::to_string(static_cast<int32_t>(u));
      case 8: {
        double d;
        std::memcpy(&d, &u, sizeof d);
        std::snprintf(buf, sizeof buf, "%.17g", d);
        return buf;
      }
      default: return std::to_string(u);
    }
  }

  // The text as UTF-8 in quotes; quotes, backslashes and control bytes escaped.
  static std::string Quoted(const std::string& sjis) {
    const std::string utf8 = plat::Cp932ToUtf8(sjis);
    std::string q = "\"";
    for (unsigned char c : utf8) {
      if (c == '"' || c == '\\') {
        q += '\\';
        q += static_cast<char>(c);
      } else if (c == '\n') {
        q += "\\n";
      } else if (c == '\r') {
        q += "\\r";
      } else if (c < 0x20) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\x%02X", c);
        q += buf;
      } else {
        q += static_cast<char>(c);
      }
    }
    return q + "\"";
  }

  cDataReader m_r;
  std::string m_bytes;
  std::string m_out;
  int m_nIndent = 0;
  bool m_bStopped = false;
  size_t m_nStop = 0;
};

// ---- the tails of the record classes, as their Load reads them ----

void AnimeTail(cDump& d) { d.RecordList<cEdAnimeFrame>("frames"); }
void AnimeSetTail(cDump& d) { d.RecordList<cEdAnime>("animations", AnimeTail); }
void EffectTail(cDump& d) { d.RecordList<cEdEffectFrame>("frames"); }
void SwordTypeTail(cDump& d) { d.RecordList<cEdSwordFrame>("frames"); }
void RankingModeTail(cDump& d) { d.ByteList("categories"); }

// Commands carry flows, which carry commands.
void CommandTail(cDump& d);

void KeyConditionTail(cDump& d) { d.ByteList("keys"); }

void FlowTail(cDump& d) {
  d.RecordList<cEdCondition>("conditions");
  d.RecordList<cEdKeyCondition>("key conditions", KeyConditionTail);
  d.RecordList<cEdCommand>("commands", CommandTail);
}

// A record that a flag word announces (a command's move and shot records).
template <class T>
void Announced(cDump& d, const std::string& label) {
  if (d.Stopped()) return;
  uint32_t flag = 0;
  if (!d.Word(label, flag) || !flag) return;
  d.Enter();
  T record;
  d.Segment(record);
  d.Leave();
}

void CommandTail(cDump& d) {
  Announced<cEdMove>(d, "move");
  Announced<cEdShot>(d, "shot");
  if (d.Stopped()) return;
  if (d.m_nFlowDepth < COMMAND_MAX_NESTING) {
    ++d.m_nFlowDepth;
    d.RecordList<cEdFlow>("flows", FlowTail);
    --d.m_nFlowDepth;
  } else {
    // As the loader: flows nested deeper than it reads come from a damaged file.
    uint32_t n = 0;
    if (!d.Word("flows", n)) return;
    if (n) {
      d.Stop("(flows nested deeper than the loader reads; the read stops)");
      return;
    }
  }
  d.IntList("parameters");
}

void BlockTail(cDump& d) {
  d.Scalar("x", 2);
  d.Scalar("y", 2);
  d.ByteList("inherit flags");
  d.RecordList<cEdCondition>("conditions");
}

void CharaTail(cDump& d) {
  d.Scalar("x", 2);
  d.Scalar("y", 2);
  d.Scalar("drop item", 4);
  d.ByteList("inherit flags");
  d.RecordList<cEdCondition>("conditions");
  d.RecordList<cEdFlow>("flows", FlowTail);
}

void ItemTail(cDump& d) {
  d.Scalar("x", 2);
  d.Scalar("y", 2);
  d.ByteList("inherit flags");
  d.RecordList<cEdCondition>("conditions");
  d.RecordList<cEdCommand>("commands", CommandTail);
}

void CommonPaletteTail(cDump& d) {
  d.RecordList<cEdBlock>("palette blocks", BlockTail);
  d.RecordList<cEdChara>("palette characters", CharaTail);
  d.RecordList<cEdItem>("palette items", ItemTail);
}

void WorldNodeTail(cDump& d) { d.RecordList<cEdWorldRoute>("entries"); }

void WorldMapTail(cDump& d) {
  d.RecordList<cEdWorldChip>("chips");
  d.IntList("cells");
  d.RecordList<cEdWorldNode>("nodes", WorldNodeTail);
  d.RecordList<cEdWorldNode>("auxiliary nodes", WorldNodeTail);
}

void StageTail(cDump& d) {
  d.IntList("ranked");
  for (const char* rule : {"rule characters", "rule block characters", "rule items", "rule hero shots",
                           "rule character shots"}) {
    if (d.Stopped()) return;
    d.Line(rule);
    d.Enter();
    cEdOffScreenRule record;
    d.Segment(record);
    d.Leave();
  }
  d.RecordList<cEdBlock>("palette blocks", BlockTail);
  d.RecordList<cEdChara>("palette characters", CharaTail);
  d.RecordList<cEdItem>("palette items", ItemTail);
  d.PlacedList<cEdBlock>("placed blocks", BlockTail);
  d.PlacedList<cEdChara>("placed characters", CharaTail);
  d.PlacedList<cEdItem>("placed items", ItemTail);
  d.RecordList<cEdBackground>("backgrounds");
  d.RecordList<cEdTextRecord>("texts");
  // Files of version 172 and older end here.
  if (d.Version() > 172) d.Scalar("trailer", 4);
}

void SystemTail(cDump& d) {
  const int v = d.Version();
  d.ByteList("carry-over flags");
  if (v >= 501) d.ByteList("lose-on-miss flags");
  d.RecordList<cEdStatusItem>("status items");
  d.IntList("start lives");
  if (v >= 191) d.IntList("infinite lives");
  if (v >= 186) d.RecordList<cEdRankingMode>("ranking modes", RankingModeTail);
  d.StringList("texts");
  d.StringList("system sounds");
  d.IntList("screen music");
  if (v >= 202) d.ByteList("screen music loops");
  d.RecordList<cEdSystemText>("title menu");
  d.RecordList<cEdSystemText>("map menu");
  d.RecordList<cEdSystemText>("option menu");
  if (v >= 674) d.StringList("ranking entry modes");
  d.RecordList<cEdIniKey>("System.ini keys");
}

// One whole record, then its tail.
template <class T>
std::function<void(cDump&)> Whole(void (*tail)(cDump&) = nullptr) {
  return [tail](cDump& d) {
    d.Line("record");
    d.Enter();
    T record;
    d.Segment(record);
    if (tail && !d.Stopped()) tail(d);
    d.Leave();
  };
}

// A bare list of records (the database files).
template <class T>
std::function<void(cDump&)> ListOf(void (*tail)(cDump&) = nullptr) {
  return [tail](cDump& d) { d.RecordList<T>("entries", tail); };
}

struct DUMPKIND {
  const char* name;
  std::function<void(cDump&)> body;
};

// The name of the stage files' kind: any file named *.stg4 or *.stg4_NNN.
const char kStageKind[] = "*.stg4";

// The files the dump knows, by file name.
const std::vector<DUMPKIND>& Kinds() {
  static const std::vector<DUMPKIND> kinds = {
      {"System.dat", Whole<cEdSystem>(SystemTail)},
      {"WorldMap.dat", Whole<cEdWorldMap>(WorldMapTail)},
      {"CommonPalette.cplt4", Whole<cEdCommonPalette>(CommonPaletteTail)},
      {kStageKind, Whole<cEdStage>(StageTail)},
      {"AnimeSet.dat", ListOf<cEdAnimeSet>(AnimeSetTail)},
      {"Anime.dat", ListOf<cEdAnime>(AnimeTail)},
      {"Bmp_CharaExc.dat", ListOf<cEdBmpCharaExc>()},
      {"SwordType.dat", ListOf<cEdSwordType>(SwordTypeTail)},
      {"Effect.dat", ListOf<cEdEffect>(EffectTail)},
      {"CharaEffect.dat", ListOf<cEdCharaEffect>()},
      {"ScrEffect.dat", ListOf<cEdScrEffect>()},
      {"Picture.dat", ListOf<cEdPicture>()},
      {"Sound.dat", ListOf<cEdSound>()},
      {"Bgm.dat", ListOf<cEdBgm>()},
      {"Option.dat", Whole<cOptionData>()},
      {"Boot.dat", Whole<cBootData>()},
  };
  return kinds;
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// A stage file's name: the extension stg4, bare or with a three-digit number.
bool IsStageName(const std::string& name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string ext = name.substr(dot + 1);
  if (ext.size() != 4 && ext.size() != 8) return false;
  if (!SameName(ext.substr(0, 4), "stg4")) return false;
  if (ext.size() == 4) return true;
  return ext[4] == '_' && std::isdigit(static_cast<unsigned char>(ext[5])) &&
         std::isdigit(static_cast<unsigned char>(ext[6])) && std::isdigit(static_cast<unsigned char>(ext[7]));
}

// The kind a file name (or a kind's own name) is read as, or nullptr.
const DUMPKIND* FindKind(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (const DUMPKIND& k : Kinds()) {
    if (SameName(name, k.name)) return &k;
    if (k.name == std::string(kStageKind) && IsStageName(name)) return &k;
  }
  return nullptr;
}

}  // namespace

std::string RecordKindOf(const std::string& path) {
  const DUMPKIND* k = FindKind(path);
  return k ? k->name : "";
}

std::vector<std::string> RecordKinds() {
  std::vector<std::string> names;
  for (const DUMPKIND& k : Kinds()) names.push_back(k.name);
  return names;
}

std::string DumpRecordBytes(const std::string& bytes, const std::string& kind) {
  // The layouts the dump reads are those of the file's version, whatever
  // this program writes.
  const int savedVersion = CurVersion;
  CurVersion = DATA_VERSION;
  cDump d(bytes);
  const DUMPKIND* found = FindKind(kind);
  if (!d.Reader().HasVersion()) {
    d.Line("no version word: the file is " + std::to_string(bytes.size()) + " bytes");
  } else {
    const uint32_t word = static_cast<uint8_t>(bytes[0]) | static_cast<uint8_t>(bytes[1]) << 8 |
                          static_cast<uint8_t>(bytes[2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(bytes[3])) << 24;
    d.Line("version " + std::to_string(word) +
           (word != static_cast<uint32_t>(d.Version()) ? " (read as " + std::to_string(d.Version()) + ")" : ""));
    if (found)
      found->body(d);
    else
      d.Line("(not a kind of record file the dump knows: " + (kind.empty() ? std::string("no kind") : kind) + ")");
  }
  std::string text = d.Finish();
  CurVersion = savedVersion;
  return text;
}
