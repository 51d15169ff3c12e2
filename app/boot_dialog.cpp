#include "app/boot_dialog.h"

#include "app/main_window.h"
#include "base/boxes.h"
#include "base/checked_convert.h"
#include "base/report_log.h"
#include "platform/dialog_box.h"
#include "platform/input_state.h"
#include "platform/message_numbers.h"
#include "records/path_table.h"
#include "records/system.h"
#include "records/system_ini.h"
#include "records/user_settings.h"

namespace {

constexpr int IDC_BOOT_ICON = 1075;
constexpr int IDC_BOOT_GROUP = 1006;
constexpr int IDC_BOOT_D3D = 1002;
constexpr int IDC_BOOT_DDRAW = 1003;
constexpr int IDC_BOOT_NOTE = 1005;
constexpr int IDC_BOOT_NOASK = 1004;
constexpr int IDC_BOOT_START = 1000;
constexpr int IDC_BOOT_CANCEL = 1001;
constexpr int kBootDataPath = 46;

// "ＭＳ Ｐゴシック"
const char kDialogFont[] = "\x82l\x82r \x82o\x83S\x83V\x83" "b\x83N";
// "描画モード"
const char kGroup[] = "\x95`\x89\xE6\x83\x82\x81[\x83h";
// "詳細な設定は環境設定ファイル「System.ini」で行って下さい。"
const char kNote[] =
    "\x8F\xDA\x8D\xD7\x82\xC8\x90\xDD\x92\xE8\x82\xCD\x8A\xC2\x8B\xAB\x90\xDD\x92\xE8\x83t\x83@\x83" "C\x83\x8B"
    "\x81uSystem.ini\x81v\x82\xC5\x8Ds\x82\xC1\x82\xC4\x89\xBA\x82\xB3\x82\xA2\x81" "B";
// "次回からこのダイアログを表示しない"
const char kNoAsk[] =
    "\x8E\x9F\x89\xF1\x82\xA9\x82\xE7\x82\xB1\x82\xCC\x83_\x83" "C\x83" "A\x83\x8D\x83O\x82\xF0\x95\x5C\x8E\xA6"
    "\x82\xB5\x82\xC8\x82\xA2";
// "ゲーム開始"
const char kStart[] = "\x83Q\x81[\x83\x80\x8AJ\x8En";
// "ゲーム中止"
const char kCancel[] = "\x83Q\x81[\x83\x80\x92\x86\x8E~";
// "コントロールID 【%u】 が見つかりません！"
const char kNoControl[] =
    "\x83R\x83\x93\x83g\x83\x8D\x81[\x83\x8BID \x81y%u\x81z \x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC"
    "\x82\xB9\x82\xF1\x81I";

const plat::DialogItem kItems[] = {
    {IDC_BOOT_ICON, plat::ItemKind::Picture, 0, "", 7, 7, 20, 21},
    {IDC_BOOT_GROUP, plat::ItemKind::GroupBox, 0, kGroup, 15, 15, 190, 55},
    {IDC_BOOT_D3D, plat::ItemKind::RadioButton, WS_TABSTOP | WS_GROUP, "Direct3D", 20, 30, 42, 10},
    {IDC_BOOT_DDRAW, plat::ItemKind::RadioButton, WS_TABSTOP, "DirectDraw", 80, 30, 45, 10},
    {IDC_BOOT_NOTE, plat::ItemKind::Static, WS_GROUP, kNote, 20, 50, 177, 12},
    {IDC_BOOT_NOASK, plat::ItemKind::CheckBox, WS_TABSTOP | WS_GROUP, kNoAsk, 50, 85, 120, 10},
    {IDC_BOOT_START, plat::ItemKind::DefPushButton, WS_TABSTOP | WS_GROUP, kStart, 80, 105, 50, 25},
    {IDC_BOOT_CANCEL, plat::ItemKind::PushButton, WS_TABSTOP, kCancel, 80, 140, 50, 18},
};
// A fixed frame with a caption (and its close box); the title comes at run time.
const plat::DialogTemplate kTemplate{WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                     222,
                                     171,
                                     kDialogFont,
                                     9,
                                     "",
                                     kItems,
                                     8};

}  // namespace

cBootDialog::cBootDialog(int resourceId, cWindow* parent, int styleWord, cWindowLists* lists) {
  plat::AddDialogResource(IDD_BOOT, &kTemplate);
  Init(resourceId, parent, styleWord, lists);
  SetGeometry(0, 0, 100, 100, 640, 480, 0, 0, 0, 0, 0, 0);
  // Centred on the main window's 640 x 480 for the dialog's 374 x 272 pixels.
  m_nReqX = ToIntChecked(static_cast<double>(MainWindow.m_nPosX) + 320.0 - 187.0);
  m_nReqY = ToIntChecked(static_cast<double>(MainWindow.m_nPosY) + 240.0 - 136.0);
  plat::SetCursorPos(ToIntChecked(m_nReqX + 181.9), ToIntChecked(m_nReqY + 198.9));

  AddEntry(m_vCheck, CHECKENTRY{cCheckBox(), CHECKDEF{IDC_BOOT_NOASK, &BootData.m_bNoAsk}});
  AddEntry(m_vRadio, RADIOENTRY{cRadioButton(), RADIODEF{IDC_BOOT_D3D, &BootData.m_nDrawMode, 1}});
  AddEntry(m_vRadio, RADIOENTRY{cRadioButton(), RADIODEF{IDC_BOOT_DDRAW, &BootData.m_nDrawMode, 0}});
  AddEntry(m_vStatic, STATICENTRY{cStatic(), STATICDEF{IDC_BOOT_NOTE}});
}

CHECKENTRY* cBootDialog::FindCheckBox(int id) {
  for (CHECKENTRY& e : m_vCheck)
    if (e.def.nId == id) return &e;
  DebugBoxPrintf(kNoControl, static_cast<unsigned>(id));
  PostCloseMessage(hWndMain.load());
  return nullptr;
}

STATICENTRY* cBootDialog::FindStatic(int id) {
  for (STATICENTRY& e : m_vStatic)
    if (e.def.nId == id) return &e;
  DebugBoxPrintf(kNoControl, static_cast<unsigned>(id));
  PostCloseMessage(hWndMain.load());
  return nullptr;
}

void cBootDialog::OnInitDialog(uintptr_t wParam, intptr_t lParam) {
  cDialog::OnInitDialog(wParam, lParam);
  plat::SetWindowText(m_hWnd, SystemData.m_strTitle);
  AttachEntries(this, m_vRadio);
  AttachEntries(this, m_vCheck);
  AttachEntries(this, m_vStatic);
  StoreControls();
  if (SystemIni.nEnglish) {
    plat::SetDlgItemText(m_hWnd, IDC_BOOT_GROUP, "Drawing mode");
    plat::SetDlgItemText(m_hWnd, IDC_BOOT_START, "Start");
    plat::SetDlgItemText(m_hWnd, IDC_BOOT_CANCEL, "Cancel");
    if (STATICENTRY* note = FindStatic(IDC_BOOT_NOTE))
      note->text.SetText("Configure the detail settings at \"System.ini\".");
    if (CHECKENTRY* noAsk = FindCheckBox(IDC_BOOT_NOASK)) noAsk->check.SetText("Do not ask this dialog again");
  }
  m_bInitialized = 1;
}

void cBootDialog::OnCommand(uintptr_t wParam, intptr_t lParam) {
  if (!AcceptCommand(wParam)) return;
  cDialog::OnCommand(wParam, lParam);
  switch (plat::LoWord(wParam)) {
    case IDC_BOOT_START:
      LoadControls();
      // The old file stays; the choice still holds for this run.
      if (!BootData.SaveToFile(PathTable[kBootDataPath]))
        ReportPrintf("Boot : %s cannot be written; the choice holds for this run only", PathTable[kBootDataPath]);
      Close(1);
      break;
    case IDC_BOOT_CANCEL: Close(0); break;
    default: break;
  }
}
