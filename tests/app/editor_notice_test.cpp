// The notices to the editor from the main window, and the show state that
// tells a start by the editor.
#include <gtest/gtest.h>

#include "app/editor_notice.h"
#include "app/main_window.h"
#include "support/editor_listener.h"
#include "support/test_support.h"

using testsupport::EditorListener;
using testsupport::Notice;
using testsupport::ScopedEnv;
using testsupport::ScopedWorkDir;

TEST(EditorNotice, StartAndEndReachTheEditorAndTheEndIsToldOnce) {
  ScopedWorkDir dir;
  EditorListener editor(dir.Path() + "/editor.sock");
  ASSERT_TRUE(editor.Ok());

  MainWindow.NotifyEditorStart();
  MainWindow.NotifyEditorEnd(0);  // a failed start-up
  MainWindow.NotifyEditorEnd(1);  // then its window goes
  EXPECT_EQ(editor.TakeAll(), (std::vector<std::string>{Notice(1, 1), Notice(0, 0)}));

  MainWindow.NotifyEditorStart();
  MainWindow.NotifyEditorEnd(1);
  EXPECT_EQ(editor.TakeAll(), (std::vector<std::string>{Notice(1, 1), Notice(0, 1)}));
}

TEST(EditorNotice, ShowStateFiveOnlyWhenTheEditorsSocketIsNamed) {
  ScopedWorkDir dir;
  {
    ScopedEnv none("TAVRIK_EDITOR_SOCKET", nullptr);
    EXPECT_EQ(EditorStartShowState(), 1);
    MainWindow.NotifyEditorStart();  // nobody listens: nothing happens
  }
  {
    ScopedEnv missing("TAVRIK_EDITOR_SOCKET", (dir.Path() + "/gone.sock").c_str());
    EXPECT_EQ(EditorStartShowState(), 1);
  }
  EditorListener editor(dir.Path() + "/editor.sock");
  EXPECT_EQ(EditorStartShowState(), 5);
}
