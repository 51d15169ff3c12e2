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

// Resizes a vector whose elements are all written right after; memory it
// takes anew is mapped in one call.
template <class Vector>
void ResizeForWrite(Vector& v, size_t n) {
  if (v.capacity() < n) {
    v.reserve(n);
    PrefaultForWrite(v.data(), n * sizeof(typename Vector::value_type));
  }
  v.resize(n);
}

}  // namespace plat
