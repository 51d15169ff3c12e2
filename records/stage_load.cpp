#include "records/stage_load.h"

#include <memory>
#include <string>

#include "base/boxes.h"
#include "base/path_util.h"
#include "base/report_log.h"
#include "base/thread.h"
#include "base/window_messages.h"
#include "platform/host_path.h"
#include "platform/messages.h"
#include "records/path_table.h"

namespace {

// "ステージファイル %s の読み込みに失敗しました！"
const char kReadFailed[] =
    "\x83X\x83" "e\x81[\x83W\x83t\x83@\x83" "C\x83\x8B %s \x82\xCC\x93\xC7\x82\xDD\x8D\x9E\x82\xDD"
    "\x82\xC9\x8E\xB8\x94s\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81I";
// "ステージファイル %s が破損しています！"
const char kDamaged[] =
    "\x83X\x83" "e\x81[\x83W\x83t\x83@\x83" "C\x83\x8B %s \x82\xAA\x94j\x91\xB9\x82\xB5\x82\xC4"
    "\x82\xA2\x82\xDC\x82\xB7\x81I";
// "主人公が配置されていないのでプレイできません！"
const char kNoHero[] =
    "\x8E\xE5\x90l\x8C\xF6\x82\xAA\x94z\x92u\x82\xB3\x82\xEA\x82\xC4\x82\xA2\x82\xC8\x82\xA2\x82\xCC"
    "\x82\xC5\x83v\x83\x8C\x83" "C\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x81I";

// Files older than this have no trailer to test.
constexpr uint32_t kFirstCheckedVersion = 174;

uint32_t WordAt(const std::string& bytes, size_t pos) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + pos);
  return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

// Serves the calling thread's messages until thLoad has ended. False when a
// quit message came first: the worker is then ended and joined, and the
// quit goes back into the queue for the caller's own loop.
bool PumpWhileLoading() {
  while (!thLoad.m_hThread.Join(0)) {
    plat::Message msg;
    if (!plat::Peek(msg)) {
      plat::WaitForMessage(1);
      continue;
    }
    if (msg.message == WM_QUIT) {
      DebugLogPuts("msg.message == WM_QUIT");
      thLoad.Exit();
      plat::PostQuit(static_cast<int>(msg.wParam));
      return false;
    }
    plat::Dispatch(msg);
  }
  thLoad.Wait();  // already ended: marks the object idle
  return true;
}

}  // namespace

// The trailer test on a file's bytes: 1 when they may be loaded.
int CheckStageBytes(const std::string& bytes, const std::string& name) {
  if (bytes.size() >= 4 && WordAt(bytes, 0) < kFirstCheckedVersion) return 1;
  // A file too short for its version word and its trailer cannot be a stage.
  if (bytes.size() >= 8 && WordAt(bytes, bytes.size() - 4) == STAGE_FILE_TRAILER) return 1;
  ErrorBoxPrintf(kDamaged, name.c_str());
  PostCloseMessage(hWndMain.load());
  return 0;
}

int CheckStageFile(const char* path) {
  const std::string name = path && *path ? path : "err";
  std::string bytes;
  if (!plat::ReadWholeFile(name, bytes)) return 1;
  return CheckStageBytes(bytes, name);
}

unsigned LoadStageWorker(void* arg) {
  STAGELOAD& load = *static_cast<STAGELOAD*>(arg);
  cDataReader r(std::move(load.strBytes));
  if (!r.HasVersion()) return 0;
  load.pStage->Load(r);
  // A count or length that the file cannot hold ended the read early.
  if (r.Ended()) return 0;
  load.pStage->m_bLoaded = 1;
  return 1;
}

int LoadStage(const char* name, int bNumbered, cEdStage* target) {
  std::string path;
  if (bNumbered) {
    if (!FindNewestVersion(path, name ? name : "", ExtTable[1])) return 0;
  } else {
    path = name ? name : "";
  }
  MakeRelativePathString(path);
  const std::string file = path.empty() ? "err" : path;
  // The file is read once: the trailer is tested on its bytes, which the
  // loader then reads from.
  STAGELOAD load;
  if (!plat::ReadWholeFile(file, load.strBytes)) {
    ErrorBoxPrintf(kReadFailed, path.c_str());
    return 0;
  }
  if (!CheckStageBytes(load.strBytes, file)) return 0;

  // Read into a stage of its own, so that a failed load leaves Stage as it was.
  auto loading = std::make_unique<cEdStage>();
  loading->m_strPath = path;
  loading->m_bLoaded = 0;
  load.pStage = loading.get();
  if (thLoad.Start(LoadStageWorker, &load) && !PumpWhileLoading()) return 0;

  if (!loading->m_bLoaded) {
    ErrorBoxPrintf(kReadFailed, path.c_str());
    return 0;
  }
  if (!loading->HasHero()) {
    ErrorBoxPrintf("%s", kNoHero);
    PostCloseMessage(hWndMain.load());
    return 0;
  }
  Stage = *loading;
  if (!target || target == &Stage) return 1;
  target->CopySettingsFrom(Stage);
  target->ClearDefinitions();
  return 1;
}
