#include "tools/sample/sample_project.h"

#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "platform/host_path.h"
#include "records/data_file.h"
#include "records/path_table.h"
#include "tools/sample/sample_files.h"
#include "tools/sample/sample_records.h"
#include "tools/sample/sample_stages.h"

namespace fs = std::filesystem;

namespace {

// Folders in creation order (parents first), as the records name them.
const char* const kFolders[] = {
    "default", "default\\database", "default\\stg4", "bmp",  "bmp\\plt",     "bmp\\hbt",
    "bmp\\chara_sp", "bmp\\sword", "bmp\\effect", "bmp\\picture", "wave", "bgm",
};

// Makes the folder the working directory for the object's life.
class cWorkingDirectory {
 public:
  explicit cWorkingDirectory(const fs::path& to) {
    std::error_code ec;
    m_previous = fs::current_path(ec);
    fs::current_path(to, ec);
    m_bEntered = !ec;
  }
  ~cWorkingDirectory() {
    std::error_code ec;
    if (m_bEntered) fs::current_path(m_previous, ec);
  }
  bool Entered() const { return m_bEntered; }

 private:
  fs::path m_previous;
  bool m_bEntered = false;
};

bool WriteFiles(const std::vector<SAMPLEFILE>& files, std::string& error) {
  for (const SAMPLEFILE& f : files) {
    if (f.strBytes.empty() || !plat::WriteFileAtomic(f.strPath, f.strBytes.data(), f.strBytes.size())) {
      error = "cannot write " + f.strPath;
      return false;
    }
  }
  return true;
}

// Writes a record with its own Save; false with a line in `error` when the
// file could not be written.
bool SaveRecord(cRecord& record, const std::string& path, std::string& error) {
  if (record.SaveToFile(path)) return true;
  error = "cannot write " + path;
  return false;
}

// The project's records in the order their saves need them: the database
// first (commands and definitions fit their references to it), the common
// palette before the stages that place its entries.
bool WriteRecords(std::string& error) {
  FillSampleDatabase(Database);
  if (!Database.SaveAll(1)) {
    error = "cannot write the database under default\\database";
    return false;
  }
  // After the database: the save keeps only screen music that Bgm.dat holds.
  FillSampleSystem(SystemData);
  if (!SaveRecord(SystemData, PathTable[36], error)) return false;
  const std::string ini = SampleSystemIni(SystemData);
  if (!plat::WriteFileAtomic("System.ini", ini.data(), ini.size())) {
    error = "cannot write System.ini";
    return false;
  }
  FillSampleCommonPalette(CommonPalette);
  if (!SaveRecord(CommonPalette, PathTable[8], error)) return false;
  cEdWorldMap map;
  FillSampleWorldMap(map);
  if (!SaveRecord(map, PathTable[14], error)) return false;
  auto stage = std::make_unique<cEdStage>();
  for (int n = 0; n < SAMPLE_STAGES; ++n) {
    FillSampleStage(*stage, n);
    if (!SaveRecord(*stage, SampleStageFile(n), error)) return false;
  }
  return true;
}

}  // namespace

bool WriteSampleProject(const std::string& folder, std::string& error) {
  std::error_code ec;
  const fs::path root(folder);
  if (fs::exists(root, ec)) {
    if (!fs::is_directory(root, ec)) {
      error = folder + " is not a folder";
      return false;
    }
    if (!fs::is_empty(root, ec) || ec) {
      error = folder + " is not empty; the sample is written only into an empty or new folder";
      return false;
    }
  } else if (!fs::create_directories(root, ec) || ec) {
    error = "cannot create " + folder;
    return false;
  }

  cWorkingDirectory inside(root);
  if (!inside.Entered()) {
    error = "cannot enter " + folder;
    return false;
  }
  for (const char* f : kFolders) {
    if (!plat::CreateDirectory(f)) {
      error = std::string("cannot create ") + f;
      return false;
    }
  }
  CurVersion = DATA_VERSION;
  return WriteRecords(error) && WriteFiles(SampleImages(), error) && WriteFiles(SampleBlendTables(), error) &&
         WriteFiles(SampleSounds(), error) && WriteFiles(SampleMusic(), error);
}
