#include "base/dbcs_text.h"

#include "platform/host_path.h"

int IsDbcsPair(const char* p) { return plat::IsSjisPair(p) ? 1 : 0; }

int CountChars(const char* text) {
  int count = 0;
  for (const char* p = text; *p;) {
    if (IsDbcsPair(p)) {
      p += 2;
      ++count;
    } else {
      if (*p != '\n') ++count;
      ++p;
    }
  }
  return count;
}
