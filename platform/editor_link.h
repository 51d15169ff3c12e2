#pragma once
// The link to the editor that started a test play: when the environment
// variable TAVRIK_EDITOR_SOCKET names a Unix datagram socket, the editor
// listens there for the runtime's notices. A notice is 12 bytes, little
// endian: u32 kind (dwData), u32 4 (the size of the value), i32 value.
#include <cstdint>
#include <string>

namespace plat {

// The socket path from the environment (host path); empty when unset.
std::string EditorSocketPath();

// True when the variable names an existing socket: the editor started us.
bool EditorSocketNamed();

// Sends one notice without blocking. Nothing is sent (false) when no socket
// is named, the path does not fit a socket address, nobody listens there,
// or the listener's queue is full.
bool SendEditorNotice(uint32_t kind, int32_t value);

}  // namespace plat
