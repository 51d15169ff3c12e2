#pragma once
// A shared library opened at run time (dlopen), such as the OGG plug-in.
#include <string>

namespace plat {

class SharedLibrary {
 public:
  SharedLibrary() = default;
  // Closes the library when it is still open.
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // Opens a library by host path, resolving all its symbols now. An open one
  // is closed first. False when it does not load; Error() says why.
  bool Open(const std::string& hostPath);
  // The address of an exported symbol; null when the library is not open or
  // does not export it (Error() says why).
  void* Symbol(const char* name);
  // Closes the library. True when it was open and closed cleanly; false when
  // none was open or the system refused (Error() says why).
  bool Close();
  bool IsOpen() const { return m_handle != nullptr; }
  // The system's text for the last failure of this object; empty when none
  // failed. Kept across Close, so a caller can log it after cleaning up.
  const std::string& Error() const { return m_strError; }

 private:
  void TakeError(const char* fallback);

  void* m_handle = nullptr;
  std::string m_strError;
};

// The folder of the running program, as a host path without a trailing '/';
// empty when the system does not say.
std::string ProgramDirectory();

}  // namespace plat
