#include "support/editor_listener.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace testsupport {

EditorListener::EditorListener(const std::string& path) {
  if (const char* previous = std::getenv("TAVRIK_EDITOR_SOCKET")) {
    m_previous = previous;
    m_hadPrevious = true;
  }
  setenv("TAVRIK_EDITOR_SOCKET", path.c_str(), 1);
  sockaddr_un a = {};
  a.sun_family = AF_UNIX;
  if (path.size() >= sizeof(a.sun_path)) return;
  std::memcpy(a.sun_path, path.data(), path.size());
  m_fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (m_fd >= 0 && bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof(a)) != 0) {
    close(m_fd);
    m_fd = -1;
  }
}

EditorListener::~EditorListener() {
  if (m_fd >= 0) close(m_fd);
  if (m_hadPrevious)
    setenv("TAVRIK_EDITOR_SOCKET", m_previous.c_str(), 1);
  else
    unsetenv("TAVRIK_EDITOR_SOCKET");
}

std::vector<std::string> EditorListener::TakeAll() {
  std::vector<std::string> out;
  if (m_fd < 0) return out;
  char buf[64];
  for (;;) {
    ssize_t n = recv(m_fd, buf, sizeof(buf), MSG_DONTWAIT);
    if (n < 0) break;
    out.emplace_back(buf, static_cast<size_t>(n));
  }
  return out;
}

std::string Notice(unsigned char kind, unsigned char value) {
  std::string bytes(12, '\0');
  bytes[0] = static_cast<char>(kind);
  bytes[4] = 4;
  bytes[8] = static_cast<char>(value);
  return bytes;
}

}  // namespace testsupport
