#include "app/replay_file_name.h"

#include <cstdio>
#include <string>

#include "app/file_dialogs.h"
#include "media/dd_layer.h"
#include "platform/host_path.h"
#include "platform/keyboard_hook.h"
#include "records/replay_name.h"
#include "records/system_ini.h"

namespace {

// "リプレイファイルの保存"
const char kSaveReplayTitle[] = "\x83\x8A\x83\x76\x83\x8C\x83\x43\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x95\xDB\x91\xB6";

}  // namespace

int ChooseReplayFileName(char* path, const char* stagePath) {
  plat::CreateDirectory("user_data");
  plat::CreateDirectory(REPLAY_FOLDER);
  const std::string ext = ReplayExtension();
  std::snprintf(path, FILE_DIALOG_BUFFER, "%s", ProposeReplayFileName(stagePath ? stagePath : "").c_str());
  // The filter list: the pair, each NUL-ended, and the list's closing NUL.
  std::string filter = "ReplayFile ( *." + ext + " )";
  filter += '\0';
  filter += "*." + ext;
  filter += '\0';
  filter += '\0';
  DDSetDialogMode(1);
  const int chosen = SaveFileDialog(plat::GetActiveWindow(), path, REPLAY_FOLDER,
                                    SystemIni.nEnglish ? "Save replay file" : kSaveReplayTitle, filter.c_str(),
                                    ext.c_str(), 1);
  DDSetDialogMode(0);
  return chosen;
}
