// The message box drawn by our dialogs: its text in the dialog face, its
// buttons with the default one taking Enter, Escape and the close box as a
// box takes them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/box_dialog.h"
#include "platform/dialog_box.h"
#include "platform/event_push.h"
#include "platform/message_numbers.h"
#include "platform/text.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"
#include "support/test_support.h"

using testsupport::Sjis;

namespace {

class BoxDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(plat::StartWindowSystem()); }
  void TearDown() override {
    plat::SetDialogShowHook(nullptr);
    plat::StopWindowSystem();
  }

  // Shows the box; `script` runs once it is up, before its input is handled.
  int Show(const plat::BoxRequest& request, const std::function<void(const plat::DialogShown&)>& script) {
    plat::SetDialogShowHook([&](const plat::DialogShown& shown) {
      m_shown = shown;
      script(shown);
    });
    return plat::detail::ShowBoxDialog(request);
  }

  const plat::DialogShown::Item* Item(int id) const {
    for (const auto& item : m_shown.items)
      if (item.id == id) return &item;
    return nullptr;
  }

  plat::DialogShown m_shown;
};

plat::BoxRequest Request(plat::BoxButtons buttons, int defaultButton, const std::string& text = "Text") {
  plat::BoxRequest r;
  r.text = text;
  r.caption = "Caption";
  r.buttons = buttons;
  r.defaultButton = defaultButton;
  return r;
}

}  // namespace

TEST_F(BoxDialogTest, TheButtonsAreTheRequestsWithEnterOnTheDefaultAndEscapeAsABoxTakesIt) {
  using B = plat::BoxButtons;
  struct Case {
    B buttons;
    int defaultButton;
    std::vector<int> ids;
    int enter;
    int escape;  // 0: Escape does nothing
  };
  const Case cases[] = {
      {B::Ok, 0, {plat::BOX_OK}, plat::BOX_OK, plat::BOX_OK},
      {B::OkCancel, 1, {plat::BOX_OK, plat::BOX_CANCEL}, plat::BOX_CANCEL, plat::BOX_CANCEL},
      {B::YesNo, 0, {plat::BOX_YES, plat::BOX_NO}, plat::BOX_YES, 0},
      {B::YesNo, 1, {plat::BOX_YES, plat::BOX_NO}, plat::BOX_NO, 0},
      {B::YesNoCancel, 2, {plat::BOX_YES, plat::BOX_NO, plat::BOX_CANCEL}, plat::BOX_CANCEL, plat::BOX_CANCEL},
      {B::YesNo, 7, {plat::BOX_YES, plat::BOX_NO}, plat::BOX_YES, 0},  // out of range: the first
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.buttons) * 10 + c.defaultButton);
    std::vector<int> ids;
    const int enter = Show(Request(c.buttons, c.defaultButton), [&](const plat::DialogShown& shown) {
      for (const auto& item : shown.items)
        if (item.id > 0) ids.push_back(item.id);
      plat::PushKeyStroke(shown.windowId, VK_RETURN);
    });
    EXPECT_EQ(ids, c.ids);
    EXPECT_EQ(enter, c.enter);
    EXPECT_EQ(m_shown.closeBox.Width() > 0, c.escape != 0) << "a close box only where Escape answers";

    // Escape, then Enter: the answer tells whether Escape ended the box.
    const int escape = Show(Request(c.buttons, c.defaultButton), [](const plat::DialogShown& shown) {
      plat::PushKeyStroke(shown.windowId, VK_ESCAPE);
      plat::PushKeyStroke(shown.windowId, VK_RETURN);
    });
    EXPECT_EQ(escape, c.escape ? c.escape : c.enter);
  }
}

TEST_F(BoxDialogTest, ClickingAButtonAnswersIt) {
  const int answer = Show(Request(plat::BoxButtons::YesNoCancel, 0), [this](const plat::DialogShown& shown) {
    plat::PushClick(shown.windowId, Item(plat::BOX_NO)->rect);
  });
  EXPECT_EQ(answer, plat::BOX_NO);
}

TEST_F(BoxDialogTest, TheTextIsDrawnLineByLineInTheDialogFaceAboveTheButtons) {
  // Two lines of Japanese and a longer Latin one.
  const std::vector<std::string> lines = {Sjis("データが存在しません！"), Sjis("作成しますか？"),
                                          "A rather longer line of Latin letters"};
  const std::string text = lines[0] + "\n" + lines[1] + "\r\n" + lines[2] + "\n";
  int lineHeight = 0, width = 0;
  ASSERT_TRUE(plat::text::MeasureText(plat::text::kDialogFace, plat::text::kDialogEmPixels, "", &width,
                                      &lineHeight));
  std::vector<uint32_t> drawn;
  int surfaceWidth = 0;
  Show(Request(plat::BoxButtons::YesNo, 1, text), [&](const plat::DialogShown& shown) {
    int surfaceHeight = 0;
    EXPECT_TRUE(plat::CopyDialogPixels(shown.dialog, drawn, surfaceWidth, surfaceHeight));
    plat::PushKeyStroke(shown.windowId, VK_RETURN);
  });
  const auto* textItem = Item(-1);
  ASSERT_NE(textItem, nullptr);
  ASSERT_FALSE(drawn.empty());
  const plat::Rect t = textItem->rect;
  EXPECT_EQ(t.Height(), 3 * lineHeight);
  // Each line as the text layer draws it on the dialog's face colour.
  for (size_t i = 0; i < lines.size(); ++i) {
    int w = 0, h = 0;
    plat::text::MeasureText(plat::text::kDialogFace, plat::text::kDialogEmPixels, lines[i], &w, &h);
    ASSERT_LE(w, t.Width());
    std::vector<uint32_t> want(static_cast<size_t>(w) * h, 0xD4D0C8);
    plat::text::DrawTextPixels32(want.data(), w, h, w, 0, 0, plat::text::kDialogFace, plat::text::kDialogEmPixels,
                                 lines[i], 0x000000);
    int differing = 0, inked = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint32_t got =
            drawn[static_cast<size_t>(t.top + static_cast<int>(i) * lineHeight + y) * surfaceWidth + t.left + x];
        differing += got != want[static_cast<size_t>(y) * w + x];
        inked += want[static_cast<size_t>(y) * w + x] != 0xD4D0C8;
      }
    EXPECT_EQ(differing, 0) << "line " << i;
    EXPECT_GT(inked, 20) << "line " << i << " has ink";
  }
  // The buttons lie below the text, centred, inside the client area.
  const plat::Rect yes = Item(plat::BOX_YES)->rect, no = Item(plat::BOX_NO)->rect;
  EXPECT_GT(yes.top, t.bottom);
  EXPECT_EQ(yes.top, no.top);
  EXPECT_LE(no.bottom, m_shown.client.bottom);
  EXPECT_NEAR(yes.left - m_shown.client.left, m_shown.client.right - no.right, 1);
}

TEST_F(BoxDialogTest, ALineWiderThanTheDesktopAllowsWrapsAtABlank) {
  std::string text;
  for (int i = 0; i < 60; ++i) text += "word" + std::to_string(i) + " ";
  Show(Request(plat::BoxButtons::Ok, 0, text), [](const plat::DialogShown& shown) {
    plat::PushKeyStroke(shown.windowId, VK_RETURN);
  });
  const plat::Rect desktop = plat::GetDesktopRect();
  const plat::Rect t = Item(-1)->rect;
  EXPECT_LE(m_shown.client.Width(), desktop.Width());
  EXPECT_GT(t.Height(), plat::text::kDialogEmPixels) << "more than one line";
  EXPECT_LE(t.right, m_shown.client.Width());
}
