#include "records/data_folder.h"

#include <string>

#include "base/boxes.h"
#include "base/path_util.h"
#include "platform/host_path.h"
#include "records/path_table.h"

namespace {

// "データが存在しません！デフォルトデータを作成しますか？\n"
const char kAskText[] =
    "\x83\x66\x81\x5B\x83\x5E\x82\xAA\x91\xB6\x8D\xDD\x82\xB5\x82\xDC\x82\xB9\x82\xF1\x81\x49"
    "\x83\x66\x83\x74\x83\x48\x83\x8B\x83\x67\x83\x66\x81\x5B\x83\x5E\x82\xF0\x8D\xEC\x90\xAC"
    "\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81\x48\n";
// "デフォルトデータ作成の確認"
const char kAskCaption[] =
    "\x83\x66\x83\x74\x83\x48\x83\x8B\x83\x67\x83\x66\x81\x5B\x83\x5E\x8D\xEC\x90\xAC\x82\xCC"
    "\x8A\x6D\x94\x46";

// The absolute form of a folder entry, without its final separator.
std::string FullFolderPath(const char* entry) {
  std::string path = entry;
  MakeAbsolutePath(path);
  while (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  return path;
}

}  // namespace

const char* const WorkFolders[WORK_FOLDER_COUNT] = {
    "user_data",     "user_data\\story", "user_data\\challenge", "user_data\\free",
    "user_data\\rpl4", "data",           "data\\database",       "data\\stg4",
    "data\\stg4\\old_ver", "data\\work", "data\\plt4",           "bmp",
    "bmp\\back",     "bmp\\chara_sp",    "bmp\\effect",          "bmp\\picture",
    "bmp\\sword",    "bmp\\convert",     "bmp\\plt",             "bmp\\hbt",
    "wave",          "bgm",
};

int PrepareDataFolder(void* owner) {
  (void)owner;  // the box is owned by the main window in any case
  if (plat::IsDirectory(PathTable[0])) return 1;
  if (!plat::IsDirectory(PathTable[1])) return 0;
  if (MessageBoxAuto(kAskText, kAskCaption, MB_YESNO) != IDYES) return 0;

  const std::string from = FullFolderPath(PathTable[1]);
  const std::string to = FullFolderPath(PathTable[0]);
  // Something named data that is no folder is not ours to delete.
  const bool existed = plat::PathExists(to);
  if (plat::CopyTree(from, to)) return 1;
  if (!existed) plat::RemoveTree(to);
  return 0;
}

void CreateWorkFolders() {
  for (const char* folder : WorkFolders) plat::CreateDirectory(folder);
}
