#include "records/user_file.h"

#include "base/report_log.h"
#include "platform/host_path.h"
#include "records/record.h"

namespace {

// Every folder above the file, from the outermost (never across a double-byte
// character whose trail byte is '\').
void MakeFolders(const std::string& path) {
  for (size_t i = 0; i < path.size(); ++i) {
    if (plat::IsSjisPair(path.c_str() + i)) {
      ++i;
      continue;
    }
    if ((path[i] == '\\' || path[i] == '/') && i > 0) plat::CreateDirectory(path.substr(0, i));
  }
}

}  // namespace

bool SaveUserRecord(cRecord& record, const std::string& path) {
  MakeFolders(path);
  plat::RemoveDeadTemps(path);
  if (record.SaveToFile(path)) return true;
  ReportPrintf("%s : could not be written; the old file stays", path.c_str());
  return false;
}

int LoadUserRecord(cRecord& record, const std::string& path) {
  std::string bytes;
  if (!plat::ReadWholeFile(path, bytes)) return 0;
  cDataReader r(std::move(bytes));
  r.SetStrict(true);
  if (r.HasVersion()) record.Load(r);
  if (r.Ended()) {
    ReportPrintf("%s : the file is damaged or cut short; not read", path.c_str());
    return -1;
  }
  return 1;
}
