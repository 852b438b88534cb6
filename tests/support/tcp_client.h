// A blocking client of the TCP command port, for tests that run the server in
// another thread or another process. Every wait is bounded, so a server that
// stops answering fails the test instead of hanging it.
#pragma once

#include <netinet/in.h>
#include <string>
#include <vector>
#include <sys/types.h>

// 127.0.0.1:port.
sockaddr_in tcpLoopbackAddress(int port);

// A loopback port the kernel just handed out as free.
int tcpFreePort();

// Connects to 127.0.0.1:port, retrying while nothing listens there yet (a
// program still starting up); -1 when no connection was made in timeoutMs.
// Reads and writes on the socket give up after 20 seconds. A receiveBuffer
// other than 0 sets the socket's receive buffer before connecting.
int tcpConnectLoopback(int port, int timeoutMs = 20000, int receiveBuffer = 0);

// Sends all of bytes; false when the connection failed (no SIGPIPE).
bool tcpSend(int fd, const std::string &bytes);

// Bytes up to and including the next prompt "tavik> ", or up to the end of
// file or a failed read.
std::string tcpReadReply(int fd);

// Everything received until the peer closes the connection; with "<open>"
// appended when it is still open after the read timeout.
std::string tcpReadToEof(int fd);

// "address:port" of every TCP socket listening among the descriptors of
// process pid, from /proc.
std::vector<std::string> tcpListeningAddresses(pid_t pid);
