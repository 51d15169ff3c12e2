#include "app/single_instance.h"

#include "base/boxes.h"
#include "base/report_log.h"
#include "platform/text_encoding.h"

plat::InstanceLock InstanceMutex;

namespace {

// "ゲーム"
const char kMutexName[] = "\x83\x51\x81\x5B\x83\x80";
// "二重起動"
const char kCaption[] = "\x93\xF1\x8F\x64\x8B\x4E\x93\xAE";
// "既に起動しています。\n実行中のプログラムを閉じて再起動しますか？\n\nRunning this program now. Restart?"
const char kRestartQuestion[] =
    "\x8A\xF9\x82\xC9\x8B\x4E\x93\xAE\x82\xB5\x82\xC4\x82\xA2\x82\xDC\x82\xB7\x81\x42\n"
    "\x8E\xC0\x8D\x73\x92\x86\x82\xCC\x83\x76\x83\x8D\x83\x4F\x83\x89\x83\x80\x82\xF0\x95\xC2\x82\xB6"
    "\x82\xC4\x8D\xC4\x8B\x4E\x93\xAE\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81\x48\n"
    "\nRunning this program now. Restart?";
// "プログラムの終了に失敗しました。"
const char kEndFailed[] =
    "\x83\x76\x83\x8D\x83\x4F\x83\x89\x83\x80\x82\xCC\x8F\x49\x97\xB9\x82\xC9\x8E\xB8\x94\x73\x82\xB5"
    "\x82\xDC\x82\xB5\x82\xBD\x81\x42";

}  // namespace

int TakeSingleInstance() {
  switch (InstanceMutex.Take(kMutexName)) {
    case plat::InstanceLock::kTaken:
      return 1;
    case plat::InstanceLock::kFailed:
      // Nothing to hold: the game runs without the check rather than not at all.
      ReportPrintf("Mutex : the lock file %s cannot be used",
                   plat::Utf8ToCp932(InstanceMutex.Path()).c_str());
      return 1;
    case plat::InstanceLock::kBusy:
      break;
  }
  if (MessageBoxAuto(kRestartQuestion, kCaption, MB_YESNO) != IDYES) {
    InstanceMutex.Release();
    return 0;
  }
  int pid = InstanceMutex.RunningCopy();
  if (pid == 0) return 1;  // no copy found: both run
  if (InstanceMutex.EndRunningCopy(pid) == plat::InstanceLock::kFailed) {
    MessageBoxAuto(kEndFailed, kCaption, MB_OK);
    InstanceMutex.Release();
    return 0;
  }
  return 1;
}
