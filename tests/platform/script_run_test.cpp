// Scripted runs: what a script says, the keys it holds poll by poll, the
// trace lines its expects wait for, the boxes it answers, a missed step
// ending the program with code 3, the shots' PNG files and the files the
// trace notes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/host_path.h"
#include "platform/input.h"
#include "platform/message_box.h"
#include "platform/script_run.h"
#include "support/png_image.h"
#include "support/test_support.h"

using testsupport::ScopedEnv;

namespace {

// The keys of `vks` that are down now.
std::vector<int> HeldKeys(std::initializer_list<int> vks) {
  std::vector<int> down;
  for (int vk : vks)
    if (plat::IsKeyDown(vk)) down.push_back(vk);
  return down;
}

class ScriptRun : public ::testing::Test {
 protected:
  void TearDown() override { plat::StopScriptRun(); }
  // Starts `script` with the trace in trace.txt of the work folder.
  void Start(const std::string& script) {
    m_dir.WriteFile("script.txt", script);
    m_script = std::make_unique<ScopedEnv>("TAVRIK_SCRIPT", (m_dir.Path() + "/script.txt").c_str());
    m_trace = std::make_unique<ScopedEnv>("TAVRIK_TRACE", (m_dir.Path() + "/trace.txt").c_str());
    ASSERT_TRUE(plat::StartScriptRun());
  }
  std::vector<std::string> TraceLines() const {
    std::istringstream in(m_dir.ReadFile("trace.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  testsupport::ScopedWorkDir m_dir;
  std::unique_ptr<ScopedEnv> m_script, m_trace;
};

}  // namespace

TEST(ScriptParse, ReadsEachStepAndNamesTheLineOfAFault) {
  std::vector<plat::ScriptStep> steps;
  std::string error;
  ASSERT_TRUE(plat::ParseScript("# the title\nhold 3 Z 0x28\n\nwait 2  # settle\ntype ab#c\nanswer 6\n"
                                "expect 40 scene 4\nshot out/title\n",
                                steps, error))
      << error;
  ASSERT_EQ(steps.size(), 6u);
  EXPECT_EQ(steps[0].op, plat::ScriptOp::Hold);
  EXPECT_EQ(steps[0].line, 2);
  EXPECT_EQ(steps[0].polls, 3);
  EXPECT_EQ(steps[0].keys, (std::vector<int>{'Z', 0x28}));
  EXPECT_EQ(steps[1].op, plat::ScriptOp::Wait);
  EXPECT_EQ(steps[1].polls, 2);
  EXPECT_EQ(steps[2].text, "ab#c");
  EXPECT_EQ(steps[3].answer, 6);
  EXPECT_EQ(steps[4].polls, 40);
  EXPECT_EQ(steps[4].text, "scene 4");
  EXPECT_EQ(steps[5].text, "out/title");

  const struct {
    const char* script;
    const char* error;
  } faults[] = {
      {"hold 0 Z", "line 1"},       {"wait 1\nhold 3", "line 2"}, {"hold 2 300", "line 1"},
      {"wait", "line 1"},           {"wait 0", "line 1"},         {"answer", "line 1"},
      {"expect 5", "line 1"},       {"expect x scene", "line 1"}, {"shot", "line 1"},
      {"\n\njump 3", "line 3"},    {"maybe wait 3", "line 1"},

  };
  for (const auto& f : faults) {
    EXPECT_FALSE(plat::ParseScript(f.script, steps, error)) << f.script;
    EXPECT_NE(error.find(f.error), std::string::npos) << f.script << ": " << error;
  }
}

TEST_F(ScriptRun, KeysAreHeldForTheCountedPolls) {
  Start("hold 2 Z\nwait 1\nhold 1 37 38\n");
  EXPECT_TRUE(plat::ScriptRunning());
  const std::vector<std::vector<int>> expected = {{'Z'}, {'Z'}, {}, {37, 38}, {}, {}};
  for (size_t poll = 0; poll < expected.size(); ++poll) {
    plat::ScriptPoll();
    EXPECT_EQ(HeldKeys({'Z', 37, 38}), expected[poll]) << "poll " << poll + 1;
  }
  EXPECT_EQ(TraceLines().back(), "script end");
}

// The clock of a scripted run (its stages' seeds) counts the polls of this
// script only, whatever the time they take.
TEST_F(ScriptRun, TheClockCountsThePollsOfTheScriptFromItsStart) {
  Start("wait 10\n");
  for (int i = 0; i < 4; ++i) plat::ScriptPoll();
  EXPECT_EQ(plat::ScriptPolls(), 4u);
  plat::StopScriptRun();
  m_script.reset();  // the environment as before, then set again
  m_trace.reset();
  Start("wait 10\n");
  EXPECT_EQ(plat::ScriptPolls(), 0u);
  plat::ScriptPoll();
  EXPECT_EQ(plat::ScriptPolls(), 1u);
}

TEST_F(ScriptRun, AnExpectWaitsForItsTraceLineAndTakesEachLineOnce) {
  Start("expect 5 scene 4\nhold 1 Z\nexpect 5 scene 4\nhold 1 X\n");
  plat::ScriptPoll();
  plat::ScriptPoll();
  EXPECT_TRUE(HeldKeys({'Z'}).empty());
  plat::Trace("scene %d", 4);
  plat::ScriptPoll();
  EXPECT_EQ(HeldKeys({'Z'}), std::vector<int>{'Z'});
  plat::ScriptPoll();
  EXPECT_TRUE(HeldKeys({'X'}).empty()) << "the line was taken by the first expect";
  plat::Trace("scene 4");
  plat::ScriptPoll();
  EXPECT_EQ(HeldKeys({'X'}), std::vector<int>{'X'});
  const std::vector<std::string> lines = TraceLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[1], "scene 4");
  EXPECT_EQ(lines[2], "scene 4");
}

TEST_F(ScriptRun, BoxesTakeTheScriptedAnswerOrTheirDefault) {
  Start("hold 3 Z\nanswer 7\nwait 1\n");
  plat::ScriptPoll();  // the hold is left early by the box
  plat::BoxRequest question;
  question.text = "Save?";
  question.buttons = plat::BoxButtons::YesNo;
  EXPECT_EQ(plat::ShowBox(question), plat::BOX_NO);
  EXPECT_EQ(plat::ShowBox(question), plat::BOX_YES) << "no answer left: the default button";
  const std::vector<std::string> lines = TraceLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "box Save?"), 2);
}

TEST_F(ScriptRun, MaybeStepsAreTakenByWhatOpensOrPassedOver) {
  Start("hold 1 Z\nmaybe type abc\nmaybe answer 7\nhold 1 X\nmaybe answer 2\nhold 1 C\n");
  plat::ScriptPoll();  // Z; the box opens before the next poll
  plat::BoxRequest question;
  question.buttons = plat::BoxButtons::YesNo;
  EXPECT_EQ(plat::ShowBox(question), plat::BOX_NO) << "over the maybe type";
  plat::ScriptPoll();
  EXPECT_EQ(HeldKeys({'X'}), std::vector<int>{'X'});
  plat::ScriptPoll();  // no box came: the maybe answer is passed over
  EXPECT_EQ(HeldKeys({'C'}), std::vector<int>{'C'});
  EXPECT_EQ(plat::ShowBox(question), plat::BOX_YES) << "nothing left to take";
}

TEST_F(ScriptRun, AMissedStepEndsTheProgramWithCode3NamingIt) {
  EXPECT_EXIT(
      {
        Start("wait 1\nexpect 2 scene 9\n");
        for (int i = 0; i < 5; ++i) plat::ScriptPoll();
      },
      ::testing::ExitedWithCode(3), "line 2 \\(expect scene 9\\)");
  EXPECT_EXIT(
      {
        Start("type abc\n");
        for (int i = 0; i < 700; ++i) plat::ScriptPoll();
      },
      ::testing::ExitedWithCode(3), "line 1 \\(type abc\\): no dialog came");
}

TEST_F(ScriptRun, AScriptThatCannotBeReadDoesNotStart) {
  ScopedEnv script("TAVRIK_SCRIPT", (m_dir.Path() + "/missing.txt").c_str());
  EXPECT_FALSE(plat::StartScriptRun());
  EXPECT_FALSE(plat::ScriptRunning());
  m_dir.WriteFile("bad.txt", "hold 1 Z\nfly 3\n");
  ScopedEnv bad("TAVRIK_SCRIPT", (m_dir.Path() + "/bad.txt").c_str());
  EXPECT_FALSE(plat::StartScriptRun());
}

TEST_F(ScriptRun, UnsetNothingIsTracedOrHeld) {
  ScopedEnv script("TAVRIK_SCRIPT", nullptr);
  ScopedEnv trace("TAVRIK_TRACE", nullptr);
  ASSERT_TRUE(plat::StartScriptRun());
  EXPECT_FALSE(plat::ScriptRunning());
  EXPECT_FALSE(plat::TraceOn());
  plat::ScriptPoll();
  plat::Trace("scene 1");
}

TEST_F(ScriptRun, FilesWrittenUnderUserDataAreTraced) {
  Start("wait 1\n");
  m_dir.WriteFile("user_data/keep", "");
  m_dir.WriteFile("data/keep", "");
  ASSERT_TRUE(plat::WriteFileAtomic("user_data\\Option.dat", "x", 1));
  ASSERT_TRUE(plat::WriteFileAtomic("data\\other.dat", "y", 1));
  const std::vector<std::string> lines = TraceLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "file user_data\\Option.dat"), 1);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.find("other") != l.npos; }),
            0);
}

TEST(ScriptShot, APngHoldsThePixels) {
  testsupport::ScopedWorkDir dir;
  const std::vector<uint32_t> pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x000000};
  const std::string path = dir.Path() + "/shot.png";
  ASSERT_TRUE(plat::WritePngFile(path, pixels.data(), 3, 2));
  testsupport::RgbImage image;
  ASSERT_TRUE(testsupport::ReadPng(path, image));
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.pixels, pixels);
  // A frame larger than one stored block.
  std::vector<uint32_t> big(640 * 480);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
  ASSERT_TRUE(plat::WritePngFile(path, big.data(), 640, 480));
  ASSERT_TRUE(testsupport::ReadPng(path, image));
  EXPECT_EQ(image.pixels, big);
  EXPECT_FALSE(plat::WritePngFile(dir.Path() + "/no/such/folder.png", pixels.data(), 3, 2));
}
