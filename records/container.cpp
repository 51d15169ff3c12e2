#include "records/container.h"

#include <string>

#include "app/boxes.h"
#include "app/main_window.h"
#include "app/report_log.h"

void ReportBadIndex(char kind, int index, int size, int elementSize) {
  std::string message;
  Format(message, "err %c[%d] ( %d , %d )", kind, index, size, elementSize);
  DebugLogWrite(message.c_str());
  ReportPrintf("%s", message.c_str());
  PostCloseMessage(hWndMain);
}
