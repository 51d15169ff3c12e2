#include "platform/shared_library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <vector>

namespace plat {

SharedLibrary::~SharedLibrary() { Close(); }

void SharedLibrary::TakeError(const char* fallback) {
  const char* text = dlerror();
  m_strError = text ? text : fallback;
}

bool SharedLibrary::Open(const std::string& hostPath) {
  Close();
  dlerror();
  m_handle = dlopen(hostPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!m_handle) {
    TakeError(hostPath.c_str());
    return false;
  }
  return true;
}

void* SharedLibrary::Symbol(const char* name) {
  if (!m_handle || !name) return nullptr;
  dlerror();
  void* address = dlsym(m_handle, name);
  // A symbol may be null by right; only dlerror tells a failure.
  if (const char* text = dlerror()) {
    m_strError = text;
    return nullptr;
  }
  if (!address) m_strError = std::string(name) + ": null symbol";
  return address;
}

bool SharedLibrary::Close() {
  if (!m_handle) return false;
  dlerror();
  const int result = dlclose(m_handle);
  m_handle = nullptr;
  if (result != 0) {
    TakeError("dlclose failed");
    return false;
  }
  return true;
}

std::string ProgramDirectory() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < buffer.size()) {
      std::string path(buffer.data(), static_cast<size_t>(n));
      const size_t slash = path.rfind('/');
      if (slash == std::string::npos) return std::string();
      return slash == 0 ? std::string("/") : path.substr(0, slash);
    }
    if (buffer.size() >= 65536) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace plat
