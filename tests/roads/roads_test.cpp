// The roads: the game executable driven by scripts over a fresh copy of the
// sample project, the way a player goes through it. Each road checks the
// trace's scenes and written files in order and the files it leaves behind;
// the shots of its key points are kept in build/roads/. A failure names the
// road, the script's step and the last lines of the trace. Every script
// ends with Escape, which closes the game as a player's key press does.
//
// The runs use SDL's dummy video and audio drivers: a script polls the
// input itself, so no key timing of a window system is involved.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/bmp_image.h"
#include "records/save_bytes.h"
#include "records/save_data.h"
#include "records/system.h"
#include "records/world_map.h"
#include "support/png_image.h"
#include "support/test_support.h"
#include "tools/sample/sample_project.h"
#include "tools/sample/sample_stages.h"

extern char** environ;

using testsupport::ScopedEnv;

namespace {

std::string ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// One road: the sample written once, then runs of the game in it.
class Road {
 public:
  explicit Road(const char* name) : m_name(name) {
    m_game = m_dir.Path() + "/game";
    std::string error;
    m_ok = WriteSampleProject(m_game, error);
    if (!m_ok) m_failure = "road " + m_name + ": the sample was not written: " + error;
  }

  // Runs the game under `script`; true when it ended in order (exit 0): the
  // script's Escape closed it.
  bool Run(const std::string& runName, const std::string& script) {
    const std::string scriptPath = m_dir.Path() + "/" + runName + ".txt";
    const std::string tracePath = m_dir.Path() + "/" + runName + ".trace";
    // Escape on the screen the script ends on closes the game.
    std::ofstream(scriptPath) << script << "hold 1 0x1B\nwait 60\n";
    ScopedEnv video{"SDL_VIDEODRIVER", "dummy"};
    ScopedEnv audio{"SDL_AUDIODRIVER", "dummy"};
    ScopedEnv scriptEnv{"TAVRIK_SCRIPT", scriptPath.c_str()};
    ScopedEnv traceEnv{"TAVRIK_TRACE", tracePath.c_str()};
    // The lock of the one running copy lies here: roads run side by side.
    ScopedEnv runtime{"XDG_RUNTIME_DIR", m_dir.Path().c_str()};
    const int code = Spawn(tracePath);
    m_trace = ReadHostFile(tracePath);
    if (code == 0) return true;
    std::ostringstream why;
    why << "road " << m_name << ", run " << runName << ": "
        << (code == kNotClosed ? std::string("the game did not close after its script")
                               : "exit code " + std::to_string(code))
        << "\n"
        << "step: " << MissedStep() << "\nlast trace lines:\n"
        << LastLines(m_trace, 12);
    m_failure = why.str();
    return false;
  }

  // The trace lines of the last run that start with one of `kinds`.
  std::vector<std::string> Lines(const std::vector<std::string>& kinds) const {
    std::vector<std::string> lines;
    std::istringstream in(m_trace);
    for (std::string line; std::getline(in, line);)
      for (const std::string& kind : kinds)
        if (line.rfind(kind, 0) == 0) lines.push_back(line);
    return lines;
  }

  // The shot NAME.png of the game folder copied to build/roads/ as
  // ROAD-NAME.png; false when the game did not write it as a 640x480 PNG.
  bool KeepShot(const std::string& name) const {
    const std::string from = m_game + "/" + name + ".png";
    testsupport::RgbImage image;
    if (!testsupport::ReadPng(from, image) || image.width != 640 || image.height != 480) return false;
    mkdir(ROADS_OUT_DIR, 0755);
    std::ofstream(std::string(ROADS_OUT_DIR) + "/" + m_name + "-" + name + ".png", std::ios::binary)
        << ReadHostFile(from);
    return true;
  }

  std::string GameFile(const std::string& relative) const { return ReadHostFile(m_game + "/" + relative); }
  const std::string& GameFolder() const { return m_game; }
  bool Ok() const { return m_ok; }
  const std::string& Failure() const { return m_failure; }
  std::string Tail() const { return "road " + m_name + ", last trace lines:\n" + LastLines(m_trace, 12); }
  std::string Name() const { return "road " + m_name; }

 private:
  int Spawn(const std::string& tracePath) {
    const std::string err = m_game + "/stderr.txt";
    const pid_t pid = fork();
    if (pid == 0) {
      const int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd < 0 || dup2(fd, 2) < 0 || chdir(m_game.c_str()) != 0) _exit(127);
      char* const argv[] = {const_cast<char*>(GAME_FILE), nullptr};
      execve(GAME_FILE, argv, environ);
      _exit(127);
    }
    if (pid < 0) return -1;
    // The script closes the game; one that ended and left it running fails.
    int afterEnd = -1;
    for (int waited = 0; waited <= 180000 && afterEnd < 10000; waited += 10) {
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      if (afterEnd >= 0)
        afterEnd += 10;
      else if (ReadHostFile(tracePath).find("\nscript end") != std::string::npos)
        afterEnd = 0;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return afterEnd >= 0 ? kNotClosed : -1;
  }

  static constexpr int kNotClosed = -2;

  std::string MissedStep() const {
    const std::string err = ReadHostFile(m_game + "/stderr.txt");
    const size_t at = err.find("script line ");
    if (at == std::string::npos) return "(none missed; see stderr)\n" + LastLines(err, 8);
    return err.substr(at, err.find('\n', at) - at);
  }

  static std::string LastLines(const std::string& text, int n) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::string out;
    for (size_t i = lines.size() > static_cast<size_t>(n) ? lines.size() - n : 0; i < lines.size(); ++i)
      out += "  " + lines[i] + "\n";
    return out;
  }

  std::string m_name;
  testsupport::ScopedWorkDir m_dir;
  std::string m_game;
  std::string m_trace;
  std::string m_failure;
  bool m_ok = false;
};

// Script pieces. A tap is one poll down and one up; 0x25..0x28 are the
// arrows, Z decides (button 1), X cancels.
std::string Tap(const char* key, int times = 1) {
  std::string s;
  for (int i = 0; i < times; ++i) s += std::string("hold 1 ") + key + "\nwait 1\n";
  return s;
}

// From the title's first entry, new story, to the first stage cleared and
// back on the map; then saved to slot 1 from the map menu.
std::string StoryScript() {
  return "expect 600 scene 0\n"
         "wait 30\n"
         "shot title\n"
         "wait 2\n" +
         Tap("Z") +  // new story
         "expect 300 scene 1\n"
         "wait 30\n"
         "shot map_start\n"
         "hold 60 0x27\n"  // east along the road onto the bridge's entrance
         "wait 10\n" +
         Tap("0x26") + Tap("Z") +  // yes to the stage
         "expect 300 scene 4\n"
         "expect 600 stage play\n"
         "hold 900 0x27\n"  // the hero walks to the goal star
         "expect 10 stage clear\n"
         "wait 210\n"
         "shot results\n"
         "wait 2\n" +
         Tap("Z") +
         "expect 300 scene 1\n"
         "wait 60\n"
         "shot map_cleared\n"
         "wait 2\n" +
         Tap("X") +  // the map menu
         "expect 300 scene 2\n"
         "wait 30\n" +
         Tap("Z") +  // save
         "wait 5\n" + Tap("Z") +  // slot 1
         "wait 5\n"
         "shot slots\n"
         "wait 2\n" +
         Tap("0x26") + Tap("Z") +  // yes
         "expect 60 file user_data\\story\\Story01.dat\n"
         "wait 10\n";
}

std::string ContinueScript() {
  return "expect 600 scene 0\n"
         "wait 30\n" +
         Tap("0x28") + Tap("Z") +  // continue
         "wait 5\n"
         "shot continue_slots\n"
         "wait 2\n" +
         Tap("Z") +  // slot 1
         "expect 300 scene 1\n"
         "wait 30\n"
         "shot map_continued\n"
         "wait 2\n";
}

// From the title's challenge entry: stage 1 of the list played and cleared,
// the ranking entered with F3 under a typed name, its view closed and the
// results left, back on the list.
std::string ChallengeScript() {
  std::string s = "expect 600 scene 0\n"
                  "wait 30\n" +
                  Tap("0x28", 2) + Tap("Z") +  // challenge
                  "expect 300 scene 3\n"
                  "wait 30\n"
                  "shot select\n"
                  "wait 2\n" +
                  Tap("Z") +  // row 1
                  "expect 300 scene 4\n"
                  "expect 600 stage play\n";
  // Jumping on the run clears the slime and the gap; then walking to the
  // stage's end and back, over the goal star on the ground either way (how
  // far a jump carries differs from run to run).
  for (int i = 0; i < 19; ++i) s += "hold 16 0x27 Z\nhold 8 0x27\n";
  return s +
         "hold 900 0x27\n"
         "hold 300 0x25\n"  // back over the star when the last jump passed it
         "expect 10 stage clear\n"
         "wait 210\n"
         "shot results\n"
         "wait 2\n" +
         Tap("0x72") +  // F3: into the ranking
         "type abc\n"
         "expect 60 file user_data\\challenge\\c01.rkg\n"
         "wait 30\n"
         "shot ranking\n"
         "expect 30 shot ranking\n" +
         Tap("Z") +  // the ranking view closed
         "wait 5\n" + Tap("Z") +  // the results left
         "expect 60 file user_data\\challenge\\Challenge.dat\n"
         "expect 300 scene 3\n"
         "wait 30\n"
         "shot select_cleared\n"
         "expect 30 shot select_cleared\n" +
         Tap("C") +  // the stage's ranking shown (button value 4)
         "wait 5\n"
         "shot select_ranking\n"
         "expect 30 shot select_ranking\n" +
         Tap("V") +  // its other category (button value 8)
         "wait 5\n"
         "shot select_ranking_next\n"
         "expect 30 shot select_ranking_next\n" +
         Tap("C") +  // and hidden again
         "wait 5\n"
         "shot select_hidden\n"
         "expect 30 shot select_hidden\n";
}

// From the title to the options: the volume raised from 7 to 8 and the
// registration mode moved from 0 to 3 (automatic, the registered name).
std::string OptionsScript() {
  return "expect 600 scene 0\n"
         "wait 30\n" +
         Tap("0x28", 5) + Tap("Z") +  // options
         "expect 300 scene 5\n"
         "wait 60\n"
         "shot options_before\n"
         "expect 30 shot options_before\n" +
         Tap("0x28", 2) + Tap("Z") + Tap("0x26") + Tap("Z") +  // the volume, up
         Tap("0x28") + Tap("Z") + Tap("0x28") + Tap("Z") +      // the registration mode, down
         "wait 5\n"
         "shot options\n"
         "expect 30 shot options\n" +
         Tap("X") +
         "expect 300 file user_data\\Option.dat\n"
         "expect 300 scene 0\n"
         "wait 5\n";
}

// After a restart: the options shown and left as they are.
std::string OptionsAgainScript() {
  return "expect 600 scene 0\n"
         "wait 30\n" +
         Tap("0x28", 5) + Tap("Z") +
         "expect 300 scene 5\n"
         "wait 60\n"
         "shot options_kept\n"
         "expect 30 shot options_kept\n" +
         Tap("X") +
         "expect 300 file user_data\\Option.dat\n"
         "expect 300 scene 0\n"
         "wait 5\n";
}

// Free play of stage 1 from the title's file dialog: a shot 60 polls into
// play, then F1 saves the replay under the name it proposes.
std::string ReplayAttemptScript() {
  return "expect 600 scene 0\n"
         "wait 30\n" +
         Tap("0x28", 3) + Tap("Z") +  // free play
         "type s01-1.stg4_000\n"
         "expect 300 scene 4\n"
         "expect 600 stage play\n"
         "hold 59 0x27\n"
         "shot attempt\n"
         "hold 60 0x27\n" +
         Tap("0x70") +  // F1
         "type\n"      // the proposed name taken
         "expect 60 file user_data\\rpl4\\s01_00.rpl4_734\n"
         "wait 10\n";
}

// The replay loaded from the title and its frame at the same poll taken.
std::string ReplayPlaybackScript() {
  return "expect 600 scene 0\n"
         "wait 30\n" +
         Tap("0x28", 4) + Tap("Z") +  // replay
         "type s01_00.rpl4_734\n"
         "expect 300 scene 4\n"
         "expect 600 stage play\n"
         "wait 59\n"
         "shot playback\n"
         "expect 30 shot playback\n";
}

// A pixel of a shot where the sample's own image is drawn unchanged: the
// title picture, a world-map chip, the box image under a window, the status
// bar, a block of the stage.
struct SamplePoint {
  const char* shot;
  const char* image;  // under bmp\ of the game folder
  int sx, sy;         // in the image
  int x, y;           // in the shot
};

const SamplePoint kSamplePoints[] = {
    // The title picture around the menu.
    {"title", "Title", 275, 125, 275, 125},
    {"title", "Title", 555, 85, 555, 85},
    {"title", "Title", 180, 120, 180, 120},
    {"title", "Title", 320, 205, 320, 205},
    {"title", "Title", 305, 90, 305, 90},
    {"title", "Title", 575, 160, 575, 160},
    // Sea, trees, road, bridge and shore chips of the map.
    {"map_cleared", "WorldMapChip", 0, 4, 0, 4},
    {"map_cleared", "WorldMapChip", 112, 22, 16, 310},
    {"map_cleared", "WorldMapChip", 32, 48, 96, 240},
    {"map_cleared", "WorldMapChip", 64, 36, 320, 228},
    {"map_cleared", "WorldMapChip", 96, 48, 0, 112},
    // The slot list's box at (152, 160), below its numbers.
    {"slots", "Window", 200, 100, 352, 260},
    {"slots", "Window", 200, 140, 352, 300},
    {"slots", "Window", 308, 98, 460, 258},
    {"slots", "Window", 308, 138, 460, 298},
    {"slots", "Window", 202, 100, 354, 260},
    // The ranking view's box at (185, 65) over the stage and its status bar.
    {"ranking", "Window", 140, 104, 325, 169},
    {"ranking", "Window", 140, 254, 325, 319},
    {"ranking", "Window", 20, 180, 205, 245},
    {"ranking", "Window", 138, 104, 323, 169},
    {"ranking", "Window", 138, 254, 323, 319},
    {"ranking", "StatusWindow", 135, 18, 135, 18},
    // The options' full-screen box at (1, 1), below the rows.
    {"options", "Window", 0, 330, 1, 331},
    {"options", "Window", 42, 414, 43, 415},
    {"options", "Window", 628, 328, 629, 329},
    {"options", "Window", 44, 414, 45, 415},
    {"options", "Window", 2, 330, 3, 331},
    // The playback's status bar and the ground's grass and earth blocks.
    {"playback", "StatusWindow", 265, 18, 265, 18},
    {"playback", "StatusWindow", 265, 19, 265, 19},
    {"playback", "Block", 30, 21, 30, 437},
    {"playback", "Block", 16, 8, 16, 424},
    {"playback", "Block", 11, 47, 11, 463},
    {"playback", "Block", 0, 48, 0, 464},
};

std::string Hex(uint32_t colour) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", colour & 0xFFFFFFu);
  return text;
}

// The shot's sampled points against the sample's images: an empty text when
// all match, else a line per point that does not.
std::string SampledPointsDiffer(const Road& road, const char* shot, const char* step) {
  testsupport::RgbImage image;
  if (!testsupport::ReadPng(road.GameFolder() + "/" + shot + ".png", image) || image.width != 640 ||
      image.height != 480)
    return road.Name() + ", step " + step + ": no 640x480 shot " + shot + "\n";
  std::string differ;
  int points = 0;
  for (const SamplePoint& point : kSamplePoints) {
    if (std::string(point.shot) != shot) continue;
    ++points;
    plat::BmpImage bmp;
    const std::string file = road.GameFolder() + "/bmp/" + point.image + ".bmp";
    if (plat::LoadBmp(file, bmp) != plat::BmpStatus::Ok) return "the sample's " + file + " does not load\n";
    const uint32_t want = bmp.Colour(point.sx, point.sy);
    const uint32_t got = image.pixels[static_cast<size_t>(point.y) * 640 + point.x] & 0xFFFFFFu;
    if (want != got)
      differ += road.Name() + ", step " + step + ": shot " + shot + " at (" + std::to_string(point.x) + ", " +
                std::to_string(point.y) + ") is " + Hex(got) + ", " + point.image + ".bmp at (" +
                std::to_string(point.sx) + ", " + std::to_string(point.sy) + ") is " + Hex(want) + "\n";
  }
  if (points == 0) return std::string("no sampled points for the shot ") + shot + "\n";
  return differ;
}

// The pixels of two shots that differ outside the frame-rate box.
int DifferingPixels(const testsupport::RgbImage& a, const testsupport::RgbImage& b, int top = 0, int bottom = 480,
                    int left = 0, int right = 640) {
  int differ = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) {
      if (y >= 460 && x >= 490) continue;  // "FPS" counts real time
      const size_t i = static_cast<size_t>(y) * 640 + x;
      if (a.pixels[i] != b.pixels[i]) ++differ;
    }
  return differ;
}

testsupport::RgbImage Shot(const Road& road, const std::string& name) {
  testsupport::RgbImage image;
  if (!testsupport::ReadPng(road.GameFolder() + "/" + name + ".png", image) || image.width != 640 ||
      image.height != 480)
    image.pixels.assign(640 * 480, 0xFF000000u);  // differs from every shot
  image.width = 640;
  image.height = 480;
  return image;
}

// The seeds the runs' stages started with, in order.
std::vector<std::string> Seeds(const Road& road) { return road.Lines({"seed "}); }

}  // namespace

TEST(Roads, StoryNewGameClearsStageOneSavesAndContinuesAfterARestart) {
  Road road("story");
  ASSERT_TRUE(road.Ok()) << road.Failure();
  ASSERT_TRUE(road.Run("play", StoryScript())) << road.Failure();
  EXPECT_EQ(road.Lines({"scene", "stage", "file"}),
            (std::vector<std::string>{"scene 0", "scene 1", "scene 4", "stage fadein", "stage start", "stage play",
                                      "stage clear", "stage fadeout", "scene 1", "scene 2",
                                      "file user_data\\story\\Story01.dat", "file user_data\\Window.dat"}))
      << road.Tail();
  for (const char* shot : {"title", "map_start", "results", "map_cleared", "slots"})
    EXPECT_TRUE(road.KeepShot(shot)) << "road story: shot " << shot;
  for (const char* shot : {"title", "map_cleared", "slots"})
    EXPECT_EQ(SampledPointsDiffer(road, shot, (std::string("shot ") + shot).c_str()), "");

  // The slot as the next start reads it: the walker on stage 1's entrance,
  // stage 1 cleared (which opens the route to stage 2), its tally kept.
  const std::string slot = road.GameFile("user_data/story/Story01.dat");
  ASSERT_FALSE(slot.empty()) << road.Tail();
  {
    testsupport::ScopedWorkDir dir;
    dir.WriteFile("user_data/story/Story01.dat", slot);
    FillSampleWorldMap(WorldMap);
    PlayData.Reset();
    ASSERT_TRUE(PlayData.LoadSlot(0));
    EXPECT_EQ(PlayData.m_nMapX, 14);
    EXPECT_EQ(PlayData.m_nMapY, 7);
    EXPECT_EQ(PlayData.m_nSlot, 0);
    ASSERT_GT(PlayData.m_vStageClear.Size(), 2);
    EXPECT_EQ(PlayData.m_vStageClear[1], 1);
    EXPECT_EQ(PlayData.m_vStageClear[2], 0);
    EXPECT_EQ(PlayData.m_vTally.Size(), 1);
    PlayData.Reset();
    WorldMap.Reset();
  }

  ASSERT_TRUE(road.Run("continue", ContinueScript())) << road.Failure();
  EXPECT_EQ(road.Lines({"scene", "file"}),
            (std::vector<std::string>{"scene 0", "scene 1", "file user_data\\Window.dat"}))
      << road.Tail();
  EXPECT_TRUE(road.KeepShot("continue_slots"));
  EXPECT_TRUE(road.KeepShot("map_continued"));
  // The continued map is the one left: the walker on the saved cell, the
  // route to stage 2 open.
  EXPECT_EQ(DifferingPixels(Shot(road, "map_cleared"), Shot(road, "map_continued")), 0)
      << "road story, step shot map_continued: not the map as it was saved\n" << road.Tail();
}

TEST(Roads, ChallengeStageOneClearedFromTheListIsRankedUnderATypedName) {
  Road road("challenge");
  ASSERT_TRUE(road.Ok()) << road.Failure();
  ASSERT_TRUE(road.Run("play", ChallengeScript())) << road.Failure();
  EXPECT_EQ(road.Lines({"scene", "stage", "dialog", "file"}),
            (std::vector<std::string>{"scene 0", "scene 3", "scene 4", "stage fadein", "stage start", "stage play",
                                      "stage clear", "dialog ", "file user_data\\challenge\\c01.rkg",
                                      "file user_data\\challenge\\Challenge.dat", "stage fadeout", "scene 3",
                                      "file user_data\\Window.dat"}))
      << road.Tail();
  for (const char* shot :
       {"select", "results", "ranking", "select_cleared", "select_ranking", "select_ranking_next", "select_hidden"})
    EXPECT_TRUE(road.KeepShot(shot)) << "road challenge: shot " << shot;
  EXPECT_EQ(SampledPointsDiffer(road, "ranking", "shot ranking"), "");
  // Button value 4 on the list shows the stage's ranking beside it and hides
  // it again; the list itself stays as it was.
  const testsupport::RgbImage listed = Shot(road, "select_cleared");
  EXPECT_GT(DifferingPixels(listed, Shot(road, "select_ranking"), 100, 460, 292, 640), 500)
      << "road challenge, step shot select_ranking: no ranking beside the list\n" << road.Tail();
  EXPECT_EQ(DifferingPixels(listed, Shot(road, "select_ranking"), 0, 480, 0, 280), 0)
      << "road challenge, step shot select_ranking: the list changed";
  // The sample ranks two categories: the next one is another table.
  EXPECT_GT(DifferingPixels(Shot(road, "select_ranking"), Shot(road, "select_ranking_next"), 100, 460, 292, 640), 0)
      << "road challenge, step shot select_ranking_next: the category did not change\n" << road.Tail();
  EXPECT_EQ(DifferingPixels(listed, Shot(road, "select_hidden")), 0)
      << "road challenge, step shot select_hidden: the ranking stayed\n" << road.Tail();

  // Challenge.dat: row 1 cleared, so two stages open, under the typed name.
  const std::string record = road.GameFile("user_data/challenge/Challenge.dat");
  ASSERT_FALSE(record.empty()) << road.Tail();
  int32_t values[5] = {};
  {
    testsupport::ScopedWorkDir dir;
    dir.WriteFile("user_data/challenge/Challenge.dat", record);
    const int32_t stages = SystemData.m_nChallengeStages;
    SystemData.m_nChallengeStages = SAMPLE_CHALLENGE_STAGES;
    PlayData.Reset();
    const bool loaded = PlayData.LoadChallenge();
    SystemData.m_nChallengeStages = stages;
    ASSERT_TRUE(loaded);
    ASSERT_EQ(PlayData.m_vChallenge.Size(), SAMPLE_CHALLENGE_STAGES);
    EXPECT_EQ(PlayData.m_vChallenge[0].m_bCleared, 1);
    EXPECT_EQ(PlayData.m_vChallenge[1].m_bCleared, 0);
    EXPECT_EQ(PlayData.m_nUnlocked, 2);
    EXPECT_EQ(PlayData.m_strRankingName, "abc");
    EXPECT_GT(PlayData.m_nClearTimeSum, 0);
    values[0] = PlayData.m_nTotalScore;
    values[1] = PlayData.m_nTimeLeftSum;
    values[2] = PlayData.m_nClearTimeSum;
    values[3] = PlayData.m_nHpSum;
    values[4] = PlayData.m_nSpSum;
    PlayData.Reset();
  }

  // The ranking file: five tables (clear times smaller first); the two the
  // sample ranks, time left and clear time, hold the run's value under the
  // typed name in row 1, the others nothing.
  Bytes expected;
  expected.u32(734).u32(0).u32(0).u32(5);
  const int32_t orders[5] = {1, 1, 0, 1, 1};
  for (int i = 0; i < 5; ++i)
    PutTable(expected, orders[i], i == 1 || i == 2 ? std::vector<RankingRow>{{values[i], "abc"}} : std::vector<RankingRow>{});
  EXPECT_EQ(road.GameFile("user_data/challenge/c01.rkg"), expected.s);
}

TEST(Roads, OptionsChangedAreKeptOverARestartAndWrittenAsTheyStand) {
  Road road("options");
  ASSERT_TRUE(road.Ok()) << road.Failure();
  ASSERT_TRUE(road.Run("change", OptionsScript())) << road.Failure();
  const std::vector<std::string> order{"scene 0", "scene 5", "file user_data\\Option.dat", "scene 0",
                                       "file user_data\\Window.dat"};
  EXPECT_EQ(road.Lines({"scene", "file"}), order) << road.Tail();
  EXPECT_TRUE(road.KeepShot("options_before"));
  EXPECT_TRUE(road.KeepShot("options"));
  EXPECT_EQ(SampledPointsDiffer(road, "options", "shot options"), "");
  const testsupport::RgbImage before = Shot(road, "options_before");
  const testsupport::RgbImage changed = Shot(road, "options");

  // Version, four numbers (palette 0, music on, volume 8, registration
  // mode 3), one text: the ranking name.
  Bytes expected;
  expected.u32(734).u32(4).i32(0).i32(1).i32(8).i32(3).u32(1).str("aaa");
  EXPECT_EQ(road.GameFile("user_data/Option.dat"), expected.s);

  ASSERT_TRUE(road.Run("again", OptionsAgainScript())) << road.Failure();
  EXPECT_EQ(road.Lines({"scene", "file"}), order) << road.Tail();
  EXPECT_TRUE(road.KeepShot("options_kept"));
  EXPECT_EQ(road.GameFile("user_data/Option.dat"), expected.s);

  // The values at x 208 of the volume row (y 128) and the registration mode
  // row (y 144): after the restart as they were shown once changed, and not
  // as before the change.
  const testsupport::RgbImage kept = Shot(road, "options_kept");
  for (int row : {128, 144}) {
    EXPECT_EQ(DifferingPixels(changed, kept, row, row + 16, 208, 638), 0)
        << "road options, step shot options_kept: the row at y " << row << " differs from the changed one";
    EXPECT_GT(DifferingPixels(before, kept, row, row + 16, 208, 638), 0)
        << "road options, step shot options_kept: the row at y " << row << " shows the old value";
  }
}

TEST(Roads, AFreePlaySavedWithF1PlaysBackFromTheTitleFrameForFrame) {
  Road road("replay");
  ASSERT_TRUE(road.Ok()) << road.Failure();
  ASSERT_TRUE(road.Run("attempt", ReplayAttemptScript())) << road.Failure();
  EXPECT_EQ(road.Lines({"scene", "stage", "dialog", "file"}),
            (std::vector<std::string>{"scene 0", "dialog \xE3\x82\xB9\xE3\x83\x86\xE3\x83\xBC\xE3\x82\xB8"
                                      "\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE3\x81\xAE"
                                      "\xE8\xAA\xAD\xE3\x81\xBF\xE8\xBE\xBC\xE3\x81\xBF",
                                      "scene 4", "stage fadein", "stage start", "stage play",
                                      "dialog \xE3\x83\xAA\xE3\x83\x97\xE3\x83\xAC\xE3\x82\xA4"
                                      "\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE3\x81\xAE"
                                      "\xE4\xBF\x9D\xE5\xAD\x98",
                                      "file user_data\\rpl4\\s01_00.rpl4_734", "file user_data\\Window.dat"}))
      << road.Tail();
  ASSERT_TRUE(road.KeepShot("attempt"));
  const std::vector<std::string> attemptSeed = Seeds(road);
  ASSERT_EQ(attemptSeed.size(), 1u) << road.Tail();

  ASSERT_TRUE(road.Run("playback", ReplayPlaybackScript())) << road.Failure();
  // The file loaded, its stage started with the attempt's seed.
  EXPECT_EQ(Seeds(road), attemptSeed) << road.Tail();
  const std::vector<std::string> lines = road.Lines({"scene", "stage", "shot"});
  ASSERT_GE(lines.size(), 6u) << road.Tail();
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 6),
            (std::vector<std::string>{"scene 0", "scene 4", "stage fadein", "stage start", "stage play",
                                      "shot playback.png"}))
      << road.Tail();
  ASSERT_TRUE(road.KeepShot("playback"));
  EXPECT_EQ(SampledPointsDiffer(road, "playback", "shot playback"), "");
  testsupport::RgbImage attempt, playback;
  ASSERT_TRUE(testsupport::ReadPng(road.GameFolder() + "/attempt.png", attempt));
  ASSERT_TRUE(testsupport::ReadPng(road.GameFolder() + "/playback.png", playback));
  EXPECT_EQ(DifferingPixels(attempt, playback), 0) << "road replay: the playback's frame differs from the attempt's";
}

// The same script plays the same game: the trace and the shot of two runs
// on fresh copies agree (but for the frame-rate box, which counts real time).
TEST(Roads, TheSameScriptRunsTheSameWayTwice) {
  Road first("twice-1"), second("twice-2");
  ASSERT_TRUE(first.Ok()) << first.Failure();
  ASSERT_TRUE(second.Ok()) << second.Failure();
  ASSERT_TRUE(first.Run("attempt", ReplayAttemptScript())) << first.Failure();
  ASSERT_TRUE(second.Run("attempt", ReplayAttemptScript())) << second.Failure();
  const std::vector<std::string> kinds{"scene", "stage", "seed", "dialog", "box", "file", "shot"};
  EXPECT_EQ(first.Lines(kinds), second.Lines(kinds)) << first.Tail() << second.Tail();
  EXPECT_EQ(DifferingPixels(Shot(first, "attempt"), Shot(second, "attempt")), 0)
      << "road twice, step shot attempt: the two runs' frames differ";
}
