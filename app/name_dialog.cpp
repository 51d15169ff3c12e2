#include "app/name_dialog.h"

#include "app/dialog_display.h"
#include "app/main_window.h"
#include "game/game.h"
#include "platform/dialog_box.h"
#include "platform/input_state.h"
#include "platform/message_numbers.h"
#include "records/system_ini.h"
#include "records/user_settings.h"
#include "stage/scene_stage.h"

namespace {

constexpr int IDC_NAME_ICON = 1075;
constexpr int IDC_NAME_LABEL = 1007;
constexpr int IDC_NAME_EDIT = 1003;
constexpr int IDC_NAME_OK = 1000;

// "ＭＳ Ｐゴシック"
const char kNameDialogFont[] = "\x82l\x82r \x82o\x83S\x83V\x83" "b\x83N";
// "登録名(3文字まで)"
const char kLabel[] = "\x93o\x98^\x96\xBC(3\x95\xB6\x8E\x9A\x82\xDC\x82\xC5)";
const char kLabelEnglish[] = "     Name";

const plat::DialogItem kNameItems[] = {
    {IDC_NAME_ICON, plat::ItemKind::Picture, 0, "", 7, 7, 20, 21},
    {IDC_NAME_LABEL, plat::ItemKind::Static, 0, kLabel, 15, 15, 56, 16},
    {IDC_NAME_EDIT, plat::ItemKind::Edit, WS_BORDER | WS_TABSTOP | plat::ES_AUTOHSCROLL, "", 75, 12, 24, 14},
    {IDC_NAME_OK, plat::ItemKind::DefPushButton, WS_TABSTOP, "OK", 30, 35, 50, 18},
};
// A pop-up with a modal frame and no caption, so no close box.
const plat::DialogTemplate kNameTemplate{WS_POPUP | WS_VISIBLE | DS_MODALFRAME, 110, 65, kNameDialogFont, 9, "", kNameItems,
                                     4};

}  // namespace

cNameDialog::cNameDialog(int resourceId, cWindow* parent, int styleWord, cWindowLists* lists) {
  plat::AddDialogResource(IDD_NAMEENTRY, &kNameTemplate);
  Init(resourceId, parent, styleWord, lists);
  SetGeometry(0, 0, 100, 100, 640, 480, 0, 0, 0, 0, 0, 0);
  m_nReqX = 240;
  m_nReqY = 220;
  // The main window's top-left as its last Move stored it.
  if (DialogDisplay().IsWindowMode()) {
    m_nReqX += MainWindow.m_nPosX;
    m_nReqY += MainWindow.m_nPosY;
  }
  plat::SetCursorPos(m_nReqX + 80, m_nReqY + 65);

  EDITENTRY entry;
  if (Game.m_nPlayCommand == GAMEMODE_OPTION) {
    SetEditEntry(entry.def, IDC_NAME_EDIT, &OptionData.m_strRankingName, 3, 1);
    AddEntry(m_vEdit, entry);
  } else if (CurStage) {
    SetEditEntry(entry.def, IDC_NAME_EDIT, &CurStage->m_strRankingName, 3, 1);
    AddEntry(m_vEdit, entry);
  }
}

void cNameDialog::OnInitDialog(uintptr_t wParam, intptr_t lParam) {
  cDialog::OnInitDialog(wParam, lParam);
  if (!m_vEdit.empty()) {
    EDITENTRY& e = GetEditEntry(m_vEdit, 0);
    e.edit.Create(this, e.def);
    m_vControls.push_back(&e.edit);
    StoreControls();
    // The old name selected whole: typing replaces it.
    plat::SetFocus(e.edit.m_hWnd);
    plat::Send(e.edit.m_hWnd, EM_SETSEL, 0, 0x7FFFFFFF);
  }
  if (SystemIni.nEnglish) plat::SetDlgItemText(m_hWnd, IDC_NAME_LABEL, kLabelEnglish);
  m_bInitialized = 1;
}

void cNameDialog::OnCommand(uintptr_t wParam, intptr_t lParam) {
  if (!AcceptCommand(wParam)) return;
  cDialog::OnCommand(wParam, lParam);
  if (plat::LoWord(wParam) == IDC_NAME_OK) {
    LoadControls();
    Close(1);
  }
}
