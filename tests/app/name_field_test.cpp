// The three-character name field driven by typed, pasted and composed text:
// what the edit shows after each step (a snapshot on F12) and what the bound
// name holds when the dialog ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "platform/clipboard.h"
#include "platform/virtual_keys.h"
#include "test_dialogs.h"

using namespace testdialogs;
using testsupport::Sjis;

namespace {

// One step of the player: typed text, a key, a paste, a composition, or a
// snapshot of the field.
struct Step {
  enum Kind { Type, Key, Paste, Compose, Shot } kind;
  std::string text;  // UTF-8: typed, pasted or composed
  int key = 0;
  unsigned mods = 0;
};

Step Type(const std::string& utf8) { return {Step::Type, utf8}; }
Step Key(int key, unsigned mods = 0) { return {Step::Key, "", key, mods}; }
Step Paste(const std::string& utf8) { return {Step::Paste, utf8}; }
Step Compose(const std::string& utf8) { return {Step::Compose, utf8}; }
Step Shot() { return {Step::Shot, ""}; }

}  // namespace

class NameFieldTest : public DialogFixture {};

TEST_F(NameFieldTest, TheFieldHoldsThreeCharactersOfEitherWidth) {
  const std::string abc = Sjis("あいう");
  const struct {
    const char* name;
    std::string before;
    std::vector<Step> steps;
    std::vector<cNameFieldDialog::Shot> shots;
    int result;
    std::string after;
  } cases[] = {
      {"a fourth character is refused and the caret stays after the three",
       "",
       {Type("a"), Type("b"), Type("c"), Shot(), Type("d"), Shot(), Key(VK_RETURN)},
       {{"abc", 3, 3}, {"abc", 3, 3}},
       1,
       "abc"},
      {"opening selects the old name, typing replaces it",
       "old",
       {Shot(), Type("x"), Shot(), Key(VK_RETURN)},
       {{"old", 0, 3}, {"x", 1, 1}},
       1,
       "x"},
      {"three double-byte characters fit, a fourth does not",
       "",
       {Type("あ"), Type("い"), Type("う"), Type("え"), Shot(), Key(VK_RETURN)},
       {{abc, 6, 6}},
       1,
       abc},
      {"four characters pasted into the empty field leave it empty",
       "",
       {Paste("abcd"), Key('V', plat::kModCtrl), Shot(), Key(VK_RETURN)},
       {{"", 0, 0}},
       1,
       ""},
      {"three double-byte characters pasted",
       "",
       {Paste("あいう"), Key('V', plat::kModCtrl), Shot(), Key(VK_RETURN)},
       {{abc, 6, 6}},
       1,
       abc},
      {"Enter confirms a composition, not the dialog",
       "",
       {Compose("か"), Key(VK_RETURN), Shot(), Type("か"), Shot(), Key(VK_RETURN)},
       {{"", 0, 0}, {Sjis("か"), 2, 2}},
       1,
       Sjis("か")},
      {"a character without a Shift-JIS form is left out",
       "",
       {Type("a\xF0\x9F\x98\x80" "b"), Shot(), Key(VK_RETURN)},
       {{"ab", 2, 2}},
       1,
       "ab"},
      {"Backspace and Delete edit the field",
       "abc",
       {Key(VK_BACK), Type("xy"), Key(VK_LEFT), Key(VK_BACK), Key(VK_DELETE), Shot(), Key(VK_RETURN)},
       {{"", 0, 0}},
       1,
       ""},
      {"Escape does nothing and Alt+F4 keeps the old name",
       "old",
       {Type("new"), Key(VK_ESCAPE), Shot(), Key(VK_F4, plat::kModAlt)},
       {{"new", 3, 3}},
       0,
       "old"},
  };
  for (const auto& c : cases) {
    std::string name = c.before;
    OnShow([&](const plat::DialogShown& shown) {
      for (const Step& s : c.steps) {
        switch (s.kind) {
          case Step::Type: plat::PushTextInput(shown.windowId, s.text); break;
          case Step::Key: plat::PushKeyStroke(shown.windowId, s.key, s.mods); break;
          case Step::Paste: plat::SetClipboardCp932(Sjis(s.text)); break;
          case Step::Compose: plat::PushTextEditing(shown.windowId, s.text); break;
          case Step::Shot: plat::PushKeyStroke(shown.windowId, VK_F12); break;
        }
      }
      // Ends the dialog should the steps leave it open.
      plat::PushClick(shown.windowId, shown.closeBox);
    });
    cNameFieldDialog dialog(&name);
    EXPECT_EQ(dialog.DoModal(0), c.result) << c.name;
    EXPECT_EQ(name, c.after) << c.name;
    ASSERT_EQ(dialog.m_vShots.size(), c.shots.size()) << c.name;
    for (size_t i = 0; i < c.shots.size(); ++i) {
      EXPECT_EQ(dialog.m_vShots[i].text, c.shots[i].text) << c.name << " #" << i;
      EXPECT_EQ(dialog.m_vShots[i].start, c.shots[i].start) << c.name << " #" << i;
      EXPECT_EQ(dialog.m_vShots[i].end, c.shots[i].end) << c.name << " #" << i;
    }
  }
}

TEST_F(NameFieldTest, AnEmptyBindingOpensAnEmptyFieldAndStoresNothing) {
  OnShow([&](const plat::DialogShown& shown) {
    plat::PushTextInput(shown.windowId, "abc");
    plat::PushKeyStroke(shown.windowId, VK_RETURN);
  });
  cNameFieldDialog dialog(nullptr);
  EXPECT_EQ(dialog.DoModal(0), 1);
  EXPECT_EQ(GetEditEntry(dialog.m_vEdit, 0).edit.m_strPrev, "abc");
}
