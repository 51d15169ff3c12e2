#pragma once
// The editor's end of the link in tests: a Unix datagram socket bound at a
// path in a test folder, named in TAVRIK_EDITOR_SOCKET while it lives.
#include <string>
#include <vector>

namespace testsupport {

class EditorListener {
 public:
  // Binds at `path` and names it in the environment.
  explicit EditorListener(const std::string& path);
  ~EditorListener();
  EditorListener(const EditorListener&) = delete;
  EditorListener& operator=(const EditorListener&) = delete;

  bool Ok() const { return m_fd >= 0; }
  // Every notice that waits, in order of arrival.
  std::vector<std::string> TakeAll();

 private:
  int m_fd = -1;
  std::string m_previous;
  bool m_hadPrevious = false;
};

// The 12 bytes of a notice {kind, 4, value}, written out by hand.
std::string Notice(unsigned char kind, unsigned char value);

}  // namespace testsupport
