#pragma once
// Fresh memory about to be written in full, mapped in one call: the kernel
// then fills the pages in one pass instead of taking a fault on each, which
// on a virtual machine costs several microseconds a page.
#include <cstddef>

namespace plat {

// Maps the whole pages inside [p, p + bytes) for writing. Worth it only for
// memory that is written in full right after (it then costs nothing more);
// small ranges and kernels without the call are left alone.
void PrefaultForWrite(void* p, size_t bytes);

}  // namespace plat
