#include "platform/editor_link.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace plat {
namespace {

constexpr char kSocketVariable[] = "TAVRIK_EDITOR_SOCKET";
constexpr uint32_t kValueSize = 4;

void PutLe32(unsigned char* p, uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  p[2] = static_cast<unsigned char>(v >> 16);
  p[3] = static_cast<unsigned char>(v >> 24);
}

}  // namespace

std::string EditorSocketPath() {
  const char* path = std::getenv(kSocketVariable);
  return path ? std::string(path) : std::string();
}

bool EditorSocketNamed() {
  std::string path = EditorSocketPath();
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

bool SendEditorNotice(uint32_t kind, int32_t value) {
  std::string path = EditorSocketPath();
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  // The path and its NUL must fit; a cut path could name another socket.
  if (path.empty() || path.size() >= sizeof(address.sun_path)) return false;
  std::memcpy(address.sun_path, path.data(), path.size());

  unsigned char notice[12];
  PutLe32(notice, kind);
  PutLe32(notice + 4, kValueSize);
  PutLe32(notice + 8, static_cast<uint32_t>(value));

  int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  ssize_t sent;
  do {
    sent = sendto(fd, notice, sizeof(notice), MSG_DONTWAIT | MSG_NOSIGNAL,
                  reinterpret_cast<const sockaddr*>(&address), sizeof(address));
  } while (sent < 0 && errno == EINTR);
  close(fd);
  return sent == static_cast<ssize_t>(sizeof(notice));
}

}  // namespace plat
