// The replay file: the version word, the stage as it was loaded with its
// palettes and placements, the input record, and the progress at the
// attempt's start. A file is read whole and checked before anything takes
// it, so a damaged one changes nothing and a playback's restart, which sets
// the stage up again from the same bytes, cannot fail.
#include <cstdio>

#include "base/boxes.h"
#include "base/report_log.h"
#include "platform/host_path.h"
#include "records/replay_input.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

// "リプレイファイル %s の読み込みに失敗しました！" and the fault.
const char kRefused[] =
    "\x83\x8A\x83\x76\x83\x8C\x83\x43\x83\x74\x83\x40\x83\x43\x83\x8B %s \x82\xCC\x93\xC7\x82\xDD\x8D\x9E\x82\xDD"
    "\x82\xC9\x8E\xB8\x94s\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x49\n%s";

// Files up to this version have no progress record.
constexpr uint32_t kLastVersionWithoutProgress = 172;

uint32_t WordAt(const std::string& bytes, size_t pos) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + pos);
  return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

// The parts of a replay file (its version checked) into the records given.
// Null when every part read whole, else the fault.
const char* ReadParts(const std::string& bytes, cReplayInput& replay, cEdStage& stage, cSaveData& progress) {
  cDataReader r(bytes);
  r.SetStrict(true);
  const uint32_t version = WordAt(bytes, 0);
  stage.Load(r);
  if (r.Ended()) return "the stage part is cut short or damaged";
  if (version > kLastVersionWithoutProgress &&
      (r.Offset() < 8 || WordAt(bytes, r.Offset() - 4) != STAGE_FILE_TRAILER))
    return "the stage part does not end in its trailer";
  if (!stage.HasHero()) return "the stage places no hero";
  replay.Load(r);
  if (r.Ended()) return "the input record is cut short or holds a count larger than the file";
  if (replay.m_vDirValues.size() != replay.m_vDirRuns.size() ||
      replay.m_vButtonValues.size() != replay.m_vButtonRuns.size())
    return "an input stream has not as many runs as values";
  if (replay.m_vDirValues.empty() || replay.m_vButtonValues.empty()) return "the replay holds no input";
  if (version > kLastVersionWithoutProgress) {
    progress.Load(r);
    if (r.Ended()) return "the progress record is cut short or damaged";
  }
  return nullptr;
}

// Reads a whole file of at most `limit` bytes. Null when read, else the fault.
const char* ReadBounded(const std::string& path, size_t limit, std::string& out) {
  const std::string name = path.empty() ? "err" : path;
  // A folder opens too, and has no size to read.
  if (plat::IsDirectory(name)) return "the file cannot be read";
  FILE* f = plat::OpenFile(name, "rb");
  if (!f) return "the file cannot be opened";
  const char* fault = nullptr;
  if (std::fseek(f, 0, SEEK_END) != 0) fault = "the file cannot be read";
  const long size = fault ? -1 : std::ftell(f);
  if (!fault && size < 0) fault = "the file cannot be read";
  if (!fault && static_cast<unsigned long>(size) > limit) fault = "the file is larger than 256 MiB";
  if (!fault && std::fseek(f, 0, SEEK_SET) != 0) fault = "the file cannot be read";
  if (!fault) {
    out.assign(static_cast<size_t>(size), '\0');
    if (size > 0 && std::fread(out.data(), 1, out.size(), f) != out.size()) fault = "the file cannot be read";
  }
  std::fclose(f);
  return fault;
}

}  // namespace

int cReplayInput::SaveFile(const std::string& path, cEdStage& stage, cEdStage& copy, cSaveData& snapshot) {
  cDataWriter w;
  stage.SaveForReplay(w, copy);
  Save(w);
  snapshot.Save(w);
  if (w.Commit(path)) return 1;
  ReportPrintf("%s : the replay could not be written; the old file stays", path.c_str());
  return 0;
}

const char* cReplayInput::LoadBytes(const std::string& bytes, cEdStage& stage, cEdStage& copy,
                                    cSaveData& progress) {
  if (bytes.size() < 4) return "the file is too short for its version";
  const uint32_t version = WordAt(bytes, 0);
  if (version < 1 || version > static_cast<uint32_t>(DATA_VERSION)) return "the file's version is not 1 to 734";
  {
    // Checked on records of their own first: nothing takes a part of a file
    // that is refused.
    cReplayInput replay;
    cEdStage scratch;
    cSaveData saved;
    if (const char* fault = ReadParts(bytes, replay, scratch, saved)) return fault;
  }
  // The same bytes again into the records themselves, as a load in place
  // leaves them (what the file does not hold keeps its value).
  const int32_t dirIndex = m_nDirIndex, buttonIndex = m_nButtonIndex, dirPos = m_nDirPos, buttonPos = m_nButtonPos;
  ReadParts(bytes, *this, stage, progress);
  m_nDirIndex = dirIndex;
  m_nButtonIndex = buttonIndex;
  m_nDirPos = dirPos;
  m_nButtonPos = buttonPos;
  copy.CopySettingsFrom(stage);
  copy.ClearDefinitions();
  return nullptr;
}

int cReplayInput::LoadFile(const std::string& path, cEdStage& stage, cEdStage& copy, cSaveData& progress) {
  std::string bytes;
  const char* fault = ReadBounded(path, REPLAY_FILE_MAX, bytes);
  if (!fault) fault = LoadBytes(bytes, stage, copy, progress);
  if (fault) {
    ReportPrintf("%s : the replay is not read: %s", path.c_str(), fault);
    ErrorBoxPrintf(kRefused, path.c_str(), fault);
    return 0;
  }
  m_strFile = std::move(bytes);
  return 1;
}

int cReplayInput::Reload(cEdStage& stage, cEdStage& copy, cSaveData& progress) {
  if (m_strFile.empty()) return 0;
  // The load reads this record's segment and streams, never m_strFile.
  return LoadBytes(m_strFile, stage, copy, progress) ? 0 : 1;
}
