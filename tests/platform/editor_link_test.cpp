// The notices to the editor: 12 bytes on its datagram socket, sent only when
// it listens, never waiting for it.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/editor_link.h"
#include "support/test_support.h"

using testsupport::ScopedEnv;
using testsupport::ScopedWorkDir;

namespace {

// A socket bound at a path, as the editor listens; closed at the end.
struct Listener {
  int fd = -1;
  Listener(const std::string& path, int type = SOCK_DGRAM) {
    fd = socket(AF_UNIX, type | SOCK_CLOEXEC, 0);
    sockaddr_un a = {};
    a.sun_family = AF_UNIX;
    std::strncpy(a.sun_path, path.c_str(), sizeof(a.sun_path) - 1);
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof(a)) != 0) {
      close(fd);
      fd = -1;
    }
    if (fd >= 0 && type == SOCK_STREAM) listen(fd, 1);
  }
  ~Listener() {
    if (fd >= 0) close(fd);
  }
  // The next datagram, or "" when none waits.
  std::string Take() {
    char buf[64];
    ssize_t n = recv(fd, buf, sizeof(buf), MSG_DONTWAIT);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
  }
};

}  // namespace

TEST(EditorLink, NoticesAreTwelveLittleEndianBytes) {
  ScopedWorkDir dir;
  const std::string path = dir.Path() + "/editor.sock";
  Listener editor(path);
  ASSERT_GE(editor.fd, 0);
  ScopedEnv env("TAVRIK_EDITOR_SOCKET", path.c_str());

  struct Case {
    uint32_t kind;
    int32_t value;
    std::string bytes;
  } cases[] = {
      {1, 1, std::string("\x01\0\0\0\x04\0\0\0\x01\0\0\0", 12)},
      {0, 1, std::string("\0\0\0\0\x04\0\0\0\x01\0\0\0", 12)},
      {0, 0, std::string("\0\0\0\0\x04\0\0\0\0\0\0\0", 12)},
      {0x01020304, -2, std::string("\x04\x03\x02\x01\x04\0\0\0\xFE\xFF\xFF\xFF", 12)},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(plat::SendEditorNotice(c.kind, c.value));
    EXPECT_EQ(editor.Take(), c.bytes) << c.kind << " " << c.value;
  }
  EXPECT_EQ(editor.Take(), "");
}

TEST(EditorLink, NothingIsSentWithoutAListener) {
  ScopedWorkDir dir;
  dir.WriteFile("plain.txt", "");
  const std::string plain = dir.Path() + "/plain.txt";
  const std::string gone = dir.Path() + "/gone.sock";
  const std::string streamPath = dir.Path() + "/stream.sock";
  const std::string tooLong = dir.Path() + "/" + std::string(120, 'x') + ".sock";
  { Listener closed(gone); }  // its file stays, nobody listens
  Listener stream(streamPath, SOCK_STREAM);
  ASSERT_GE(stream.fd, 0);

  struct Case {
    const char* what;
    const char* value;
  } cases[] = {
      {"unset", nullptr},
      {"empty", ""},
      {"missing", "/nonexistent/editor.sock"},
      {"a plain file", plain.c_str()},
      {"listener gone", gone.c_str()},
      {"stream socket", streamPath.c_str()},
      {"path too long for a socket address", tooLong.c_str()},
  };
  for (const Case& c : cases) {
    ScopedEnv env("TAVRIK_EDITOR_SOCKET", c.value);
    EXPECT_FALSE(plat::SendEditorNotice(1, 1)) << c.what;
  }
}

TEST(EditorLink, AFullQueueDoesNotBlockTheSender) {
  ScopedWorkDir dir;
  const std::string path = dir.Path() + "/editor.sock";
  Listener editor(path);  // never reads
  ASSERT_GE(editor.fd, 0);
  ScopedEnv env("TAVRIK_EDITOR_SOCKET", path.c_str());
  int sent = 0;
  while (sent < 100000 && plat::SendEditorNotice(0, 1)) ++sent;
  EXPECT_GT(sent, 0);
  EXPECT_LT(sent, 100000);
  EXPECT_FALSE(plat::SendEditorNotice(0, 1));
}

TEST(EditorLink, TheEditorStartedUsWhenItsSocketIsNamed) {
  ScopedWorkDir dir;
  dir.WriteFile("plain.txt", "");
  Listener editor(dir.Path() + "/editor.sock");
  ASSERT_GE(editor.fd, 0);
  const std::string socketPath = dir.Path() + "/editor.sock";
  const std::string plainPath = dir.Path() + "/plain.txt";
  struct Case {
    const char* value;
    bool named;
  } cases[] = {
      {nullptr, false},
      {"", false},
      {"/nonexistent/editor.sock", false},
      {plainPath.c_str(), false},
      {socketPath.c_str(), true},
  };
  for (const Case& c : cases) {
    ScopedEnv env("TAVRIK_EDITOR_SOCKET", c.value);
    EXPECT_EQ(plat::EditorSocketNamed(), c.named) << (c.value ? c.value : "(unset)");
  }
}
