#include "platform/prefault.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14
#endif

namespace plat {

void PrefaultForWrite(void* p, size_t bytes) {
  constexpr size_t kWorthIt = 64 * 1024;
  if (!p || bytes < kWorthIt) return;
  static const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(p) + page - 1) & ~(page - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(page - 1);
  if (end <= begin) return;
  // An older kernel refuses the call; the pages then fault in as they are written.
  madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
}

}  // namespace plat
