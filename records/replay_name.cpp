#include "records/replay_name.h"

#include "base/path_util.h"
#include "platform/host_path.h"
#include "records/data_file.h"

const char REPLAY_FOLDER[] = "user_data\\rpl4\\";

std::string ReplayExtension() { return "rpl4_" + std::to_string(DATA_VERSION); }

std::string ProposeReplayFileName(const std::string& stagePath) {
  if (stagePath.empty()) return std::string();
  const std::string ext = ReplayExtension();
  std::string file = stagePath;
  StripDirectory(file);
  std::string base;
  // A name without an extension takes one.
  if (!ReplaceExtension(base, file, ext.c_str())) base = file + "." + ext;
  std::string name;
  for (int i = 0; i <= 8; ++i) {
    for (int j = 0; j <= 8; ++j) {
      MakeNumberedName(name, base, i, j);
      if (!plat::PathExists(REPLAY_FOLDER + name)) return name;
    }
  }
  return name;  // _88
}
