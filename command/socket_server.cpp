#include "command/socket_server.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/lexing.h"

const char kSocketPrompt[] = "tavik> ";

namespace {

constexpr int kHostNameSize = 65;  // a host name of at most 64 bytes
constexpr int kListenBacklog = 0;

XtInputId watchNothing(int) { return 0; }
XtInputId watchNoClient(int, ChartState *) { return 0; }
void unwatchNothing(XtInputId) {}

const SocketInputs kNoInputs = {watchNothing, watchNoClient, unwatchNothing};

// Per client: its bytes between reads, and a serial that tells whether the
// client that sent a line is still the one connected after it ran.
SocketLineBuffer clientBuffer;
unsigned clientSerial = 0;

// The whole text at once or the client goes: a peer that stopped reading
// must not hold the event loop, and one that went away must not end the
// process with SIGPIPE.
bool sendAll(int fd, const char *text, size_t length)
{
    ssize_t n = send(fd, text, length, MSG_NOSIGNAL | MSG_DONTWAIT);
    return n >= 0 && static_cast<size_t>(n) == length;
}

int hostNameAddress(uint32_t *address)
{
    char host[kHostNameSize] = {};
    if (gethostname(host, sizeof host - 1) != 0)
        host[0] = '\0';
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (host[0] == '\0' || getaddrinfo(host, nullptr, &hints, &found) != 0 || !found) {
        std::fprintf(stderr, "%s: host unknown.\n", host);
        return 0;
    }
    *address = reinterpret_cast<const sockaddr_in *>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return 1;
}

void unwatch(XtInputId *id)
{
    if (*id)
        socketInputs.unwatch(*id);
    *id = 0;
}

} // namespace

SocketInputs socketInputs = kNoInputs;

void socketInputsReset()
{
    socketInputs = kNoInputs;
}

int socketListenAddress(const char *option, uint32_t *address)
{
    if (!option || option[0] == '\0') {
        *address = htonl(INADDR_LOOPBACK);
        return 1;
    }
    if (strEqualNoCase(option, "HOSTNAME"))
        return hostNameAddress(address);
    in_addr parsed;
    if (inet_pton(AF_INET, option, &parsed) == 1) { // dotted decimal, four parts
        *address = parsed.s_addr;
        return 1;
    }
    std::fprintf(stderr, "%s: host unknown.\n", option);
    return 0;
}

int socketServerStart()
{
    const int port = appData->socketPort;
    if (port < 1 || port > 65535) {
        std::fprintf(stderr, "socket port %d out of range.\n", port);
        return 0;
    }
    uint32_t address;
    if (!socketListenAddress(appData->socketAddress, &address))
        return 0;
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        std::fprintf(stderr, "socket open failed.\n");
        return 0;
    }
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in where = {};
    where.sin_family = AF_INET;
    where.sin_port = htons(static_cast<uint16_t>(port));
    where.sin_addr.s_addr = address;
    if (bind(fd, reinterpret_cast<const sockaddr *>(&where), sizeof where) != 0) {
        close(fd);
        std::fprintf(stderr, "socket bind failed.\n");
        return 0;
    }
    if (listen(fd, kListenBacklog) != 0) {
        close(fd);
        std::fprintf(stderr, "socket listen failed.\n");
        return 0;
    }
    XtInputId id = socketInputs.watchListener(fd);
    if (!id) {
        close(fd);
        std::fprintf(stderr, "socket listen failed.\n");
        return 0;
    }
    appData->listenFd = fd;
    appData->listenInputId = id;
    return 1;
}

void socketClientClose()
{
    unwatch(&appData->clientInputId);
    if (appData->clientFd >= 0)
        close(appData->clientFd);
    appData->clientFd = -1;
    socketLineBufferReset(&clientBuffer);
}

void socketServerStop()
{
    socketClientClose();
    unwatch(&appData->listenInputId);
    if (appData->listenFd >= 0)
        close(appData->listenFd);
    appData->listenFd = -1;
}

void socketAcceptCb()
{
    if (appData->listenFd < 0)
        return;
    int fd = accept4(appData->listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
        // Readiness without a connection (the peer gave up before the
        // accept) is no failure.
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            std::fprintf(stderr, "socket accept failed.\n");
        return;
    }
    if (appData->clientFd >= 0) {
        close(fd);
        return;
    }
    // The lines of one read get a reply each, one send apiece: without
    // this, each reply after the first would wait for the client's
    // acknowledgement of the one before (tens of milliseconds).
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    appData->clientFd = fd;
    socketLineBufferReset(&clientBuffer);
    clientSerial++;
    appData->clientInputId = socketInputs.watchClient(fd, currentChart);
    if (!appData->clientInputId || !sendAll(fd, kSocketPrompt, sizeof kSocketPrompt - 1))
        socketClientClose();
}

void socketLineBufferReset(SocketLineBuffer *buffer)
{
    buffer->length = 0;
    buffer->taken = 0;
    buffer->discarding = 0;
    buffer->afterCr = 0;
}

SocketLineKind socketTakeLine(SocketLineBuffer *buffer, char **line, size_t *length)
{
    for (;;) {
        char *rest = buffer->bytes + buffer->taken;
        const size_t n = buffer->length - buffer->taken;
        if (n == 0) {
            buffer->length = buffer->taken = 0;
            return SocketLineKind::NeedMore;
        }
        if (buffer->discarding) {
            const char *lf = static_cast<const char *>(std::memchr(rest, '\n', n));
            if (!lf) {
                buffer->length = buffer->taken = 0;
                return SocketLineKind::NeedMore;
            }
            buffer->taken += static_cast<size_t>(lf - rest) + 1;
            buffer->discarding = 0;
            continue;
        }
        if (buffer->afterCr) {
            buffer->afterCr = 0;
            if (rest[0] == '\n') { // the LF of a CR LF
                buffer->taken++;
                continue;
            }
        }
        size_t end = 0;
        while (end < n && rest[end] != '\r' && rest[end] != '\n')
            end++;
        if (end < n) {
            buffer->afterCr = rest[end] == '\r';
            rest[end] = '\0';
            buffer->taken += end + 1;
            *line = rest;
            *length = end;
            return SocketLineKind::Line;
        }
        if (n >= static_cast<size_t>(kSocketReadSize)) {
            buffer->discarding = 1;
            rest[n] = '\0';
            buffer->taken = buffer->length;
            *line = rest;
            *length = n;
            return SocketLineKind::TooLong;
        }
        // The start of a line: kept at the front for the reads to come.
        std::memmove(buffer->bytes, rest, n);
        buffer->length = n;
        buffer->taken = 0;
        return SocketLineKind::NeedMore;
    }
}

void socketReadCb(ChartState *chart)
{
    const int fd = appData->clientFd;
    if (fd < 0)
        return;
    SocketLineBuffer *buffer = &clientBuffer;
    ssize_t n = recv(fd, buffer->bytes + buffer->length, kSocketReadSize - buffer->length, MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return; // woken with nothing to read: the peer is still there
    if (n <= 0) {
        socketClientClose(); // an unfinished line goes with its client
        return;
    }
    buffer->length += static_cast<size_t>(n);

    const unsigned serial = clientSerial;
    bool unwatched = false;
    char *line;
    size_t length;
    SocketLineKind kind;
    while ((kind = socketTakeLine(buffer, &line, &length)) != SocketLineKind::NeedMore) {
        if (kind == SocketLineKind::Line && strEqualNoCase(line, "BYE")) {
            socketClientClose();
            return;
        }
        // A nested event loop inside the line (a question) must not read the
        // next line under this one.
        if (!unwatched)
            unwatch(&appData->clientInputId);
        unwatched = true;
        appData->commandFromSocket = 1;
        if (kind == SocketLineKind::TooLong) {
            stkClearError();
            stkReportTextTooLong(line, length);
        } else {
            stkExecute(chart, line);
        }
        appData->commandFromSocket = 0;
        if (appData->clientFd != fd || clientSerial != serial)
            return; // closed while the line ran

        char reply[kErrorMessageSize + sizeof kSocketPrompt + 1];
        int used = 0;
        if (appData->errorId[0] != '\0')
            used = std::snprintf(reply, sizeof reply, "%s\n", appData->errorMessage);
        std::snprintf(reply + used, sizeof reply - static_cast<size_t>(used), "%s", kSocketPrompt);
        if (!sendAll(fd, reply, std::strlen(reply))) {
            socketClientClose();
            return;
        }
    }
    if (!unwatched)
        return;
    appData->clientInputId = socketInputs.watchClient(fd, chart);
    if (!appData->clientInputId)
        socketClientClose();
}
