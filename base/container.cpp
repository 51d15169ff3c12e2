#include "base/container.h"

#include <string>

#include "base/boxes.h"
#include "base/window_messages.h"
#include "base/report_log.h"

void ReportBadIndexOnly(char kind, int index, int size, int elementSize) {
  std::string message;
  Format(message, "err %c[%d] ( %d , %d )", kind, index, size, elementSize);
  DebugLogWrite(message.c_str());
  ReportPrintf("%s", message.c_str());
}

void ReportBadIndex(char kind, int index, int size, int elementSize) {
  ReportBadIndexOnly(kind, index, size, elementSize);
  PostCloseMessage(hWndMain);
}
