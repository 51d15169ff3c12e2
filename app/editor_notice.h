#pragma once
// The show state of a start: 5 when the editor started this run for a test
// play (its socket is named in the environment, platform/editor_link.h),
// else 1 (normal). GameMain passes it to WinMain, which sets bFromEditor.
// The notices themselves are cMainWindow::NotifyEditorStart and NotifyEditorEnd.
constexpr int kShowNormal = 1;
constexpr int kShowFromEditor = 5;

int EditorStartShowState();
