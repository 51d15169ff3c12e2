// A process killed while it saves never leaves a half-written file: each of
// a story slot, a ranking and Option.dat holds either its old or its new
// bytes, and the next save clears the dead process's temporary files.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "platform/host_path.h"
#include "records/path_table.h"
#include "records/save_bytes.h"
#include "records/user_file.h"
#include "records/user_settings.h"

namespace {

constexpr int kKills = 200;

class SaveKill : public SaveTest {
 protected:
  // Content 0 or 1 of all three files, saved; one byte to `report` after
  // each file.
  static void SaveContent(int which, int report = -1) {
    PlayData.m_nTotalScore = which ? 777777 : 1;
    PlayData.m_vCommonVar.Fill(which ? 9 : 3);
    Ranking.Reset();
    Ranking.m_vTables[0].Insert(which ? "BBB" : "AAA", which ? 900 : 100);
    OptionData.m_nPalette = which ? 7 : 2;
    OptionData.m_strRankingName = which ? "new" : "old";
    PlayData.SaveSlot(0);
    TellSaved(report);
    Ranking.SaveFor(PLAYKIND_STORY, "c01.");
    TellSaved(report);
    SaveUserRecord(OptionData, PathTable[43]);
    TellSaved(report);
  }
  static void TellSaved(int report) {
    if (report >= 0 && write(report, "s", 1) != 1) _exit(1);
  }
  static std::string Read(const std::string& path) {
    std::string bytes;
    plat::ReadWholeFile(path, bytes);
    return bytes;
  }
  static std::vector<std::string> Files() {
    return {Read("user_data\\story\\Story01.dat"), Read("user_data\\story\\c01.rkg"), Read("user_data\\Option.dat")};
  }
  static int TempFiles() {
    int n = 0;
    for (const char* folder : {"user_data", "user_data/story"})
      for (const auto& entry : std::filesystem::directory_iterator(folder))
        n += entry.path().filename().string().find(".tmp") != std::string::npos ? 1 : 0;
    return n;
  }
  void TearDown() override {
    OptionData = m_savedOptions;
    SaveTest::TearDown();
  }
  cOptionData m_savedOptions = OptionData;
  plat::FakeLocalTime m_clock{FixtureTime()};
};

}  // namespace

// A working folder in memory where there is one: a kill tests the rename,
// not the disk, and the disk's flushes would make the 200 runs slow.
class MemoryFolder {
 public:
  MemoryFolder() {
    char name[] = "/dev/shm/savekillXXXXXX";
    if (!mkdtemp(name)) return;
    m_path = name;
    m_home = std::filesystem::current_path();
    std::filesystem::current_path(m_path);
  }
  ~MemoryFolder() {
    if (m_path.empty()) return;
    std::filesystem::current_path(m_home);
    std::filesystem::remove_all(m_path);
  }
  MemoryFolder(const MemoryFolder&) = delete;
  MemoryFolder& operator=(const MemoryFolder&) = delete;

 private:
  std::string m_path;
  std::filesystem::path m_home;
};

TEST_F(SaveKill, EveryFileHoldsTheOldOrTheNewBytes) {
  MemoryFolder folder;
  SaveContent(1);
  const std::vector<std::string> contentB = Files();
  const auto start = std::chrono::steady_clock::now();
  SaveContent(0);
  const auto oneSave = (std::chrono::steady_clock::now() - start) / 3;
  const std::vector<std::string> contentA = Files();
  for (size_t f = 0; f < contentA.size(); ++f) ASSERT_NE(contentA[f], contentB[f]);

  // The child saves the contents by turns, B first, and reports each file
  // saved on a pipe. The kill comes after a seeded random number of saves
  // and a seeded random time, which lands in the middle of a save or just
  // after one.
  std::mt19937 random(41);
  std::uniform_int_distribution<int> savesBefore(0, 4);
  std::uniform_int_distribution<int64_t> moment(
      0, 3 * std::chrono::duration_cast<std::chrono::microseconds>(oneSave).count() / 2);
  int seenB[3] = {};
  pid_t child = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(pipeFds[0]);
      for (int turn = 1;; ++turn) SaveContent(turn % 2, pipeFds[1]);
    }
    close(pipeFds[1]);
    char done = 0;
    for (int n = savesBefore(random); n > 0; --n) ASSERT_EQ(read(pipeFds[0], &done, 1), 1);
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    ::kill(child, SIGKILL);
    close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::vector<std::string> now = Files();
    for (size_t f = 0; f < now.size(); ++f) {
      if (now[f] == contentB[f])
        ++seenB[f];
      else if (now[f] != contentA[f])
        FAIL() << "file " << f << " holds other bytes after kill " << kill;
    }
  }
  // The children got to write both contents.
  for (int f = 0; f < 3; ++f) EXPECT_GT(seenB[f], 0) << "file " << f;

  // The dead children's temporary files go with the next save of each file;
  // those of a live process stay.
  std::ofstream("user_data/story/Story01.dat.tmp" + std::to_string(child) + "_0") << "dead";
  const std::string live = "user_data/Option.dat.tmp" + std::to_string(getpid()) + "_999";
  std::ofstream(live) << "live";
  SaveContent(0);
  EXPECT_EQ(TempFiles(), 1);
  EXPECT_TRUE(std::filesystem::exists(live));
  EXPECT_EQ(Files(), contentA);
}
