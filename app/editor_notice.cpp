#include "app/editor_notice.h"

#include "app/main_window.h"
#include "platform/editor_link.h"

namespace {

constexpr uint32_t kNoticeStart = 1;
constexpr uint32_t kNoticeEnd = 0;

}  // namespace

int EditorStartShowState() { return plat::EditorSocketNamed() ? kShowFromEditor : kShowNormal; }

void cMainWindow::NotifyEditorStart() {
  m_bEditorEndTold = 0;
  plat::SendEditorNotice(kNoticeStart, 1);
}

void cMainWindow::NotifyEditorEnd(int result) {
  // A failed start-up has told the editor already when its window goes.
  if (m_bEditorEndTold) return;
  m_bEditorEndTold = 1;
  plat::SendEditorNotice(kNoticeEnd, result);
}
