#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/internal/stream_socket.h"

// Systems whose socket() and send() take no such flags (macOS): the socket is made non-blocking
// and close-on-exec afterwards, and SO_NOSIGPIPE keeps every send on it from raising SIGPIPE.

namespace gl {

int OpenStreamSocket() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return fd;
  const int on = 1;
  if (fcntl(fd, F_SETFD, FD_CLOEXEC) != 0 ||
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK) != 0 ||
      setsockopt(fd, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

int NoSignalSendFlags() {
  return 0;
}

}  // namespace gl
