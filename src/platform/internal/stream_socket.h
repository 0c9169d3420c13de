#pragma once

// What a TCP socket needs from the system beyond POSIX, in one source per kind of system (CMake
// picks it by what <sys/socket.h> offers): Linux and the BSDs set everything in the calls
// themselves, macOS with separate calls and a socket option.

namespace gl {

// A new TCP/IPv4 socket that never blocks and is closed in the programs the process starts; -1
// when none can be had.
int OpenStreamSocket();

// The flags for send() that keep a send to a peer that has gone from raising SIGPIPE; 0 where
// OpenStreamSocket has set the socket up to keep it away.
int NoSignalSendFlags();

}  // namespace gl
