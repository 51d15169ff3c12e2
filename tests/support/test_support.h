#pragma once
// Helpers shared by every test program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/message_box.h"

namespace testsupport {

// A fresh empty folder that is the working directory while the object lives.
class ScopedWorkDir {
 public:
  ScopedWorkDir();
  // The working directory is the folder `inside` (host names, '/' between
  // folders) made in the fresh folder, such as "ゲーム/josé".
  explicit ScopedWorkDir(const std::string& inside);
  ~ScopedWorkDir();
  const std::string& Path() const { return m_path; }  // host path
  // Writes a file below the folder (host path relative to it), making folders.
  void WriteFile(const std::string& relative, const std::string& bytes) const;
  std::string ReadFile(const std::string& relative) const;
  bool Exists(const std::string& relative) const;

 private:
  std::string m_root;  // the fresh folder, removed at the end
  std::string m_path;
  std::string m_previous;
};

// Answers message boxes in place of the player and records what they said.
class ScriptedBoxes {
 public:
  explicit ScriptedBoxes(std::vector<int> answers = {});
  ~ScriptedBoxes();
  std::vector<plat::BoxRequest> shown;

 private:
  std::vector<int> m_answers;
};

// Sets (or, with null, removes) an environment variable while the object
// lives, then restores what was there.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();

 private:
  std::string m_name;
  std::string m_previous;
  bool m_hadPrevious = false;
};

// The path of a fixture file under tests/fixtures.
std::string Fixture(const std::string& relative);

// Shift-JIS bytes from UTF-8 source text.
std::string Sjis(const std::string& utf8);

}  // namespace testsupport
