#include <sys/socket.h>

#include "platform/internal/stream_socket.h"

// Linux and the BSDs: socket() takes the non-blocking and close-on-exec flags, send() the flag
// that suppresses SIGPIPE.

namespace gl {

int OpenStreamSocket() {
  return socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

int NoSignalSendFlags() {
  return MSG_NOSIGNAL;
}

}  // namespace gl
