#include "command/socket_server.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/lexing.h"

const char kSocketPrompt[] = "tavik> ";

namespace {

constexpr int kHostNameSize = 65;  // a host name of at most 64 bytes
constexpr int kListenBacklog = 0;

XtInputId watchNothing(int) { return 0; }
XtInputId watchNoClient(int, ChartState *) { return 0; }
void unwatchNothing(XtInputId) {}

const SocketInputs kNoInputs = {watchNothing, watchNoClient, unwatchNothing};

// Per client: dropping the tail of a refused line, and a serial that tells
// whether the client that sent a line is still the one connected after it ran.
int clientDiscarding = 0;
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
    clientDiscarding = 0;
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
    appData->clientFd = fd;
    clientDiscarding = 0;
    clientSerial++;
    appData->clientInputId = socketInputs.watchClient(fd, currentChart);
    if (!appData->clientInputId || !sendAll(fd, kSocketPrompt, sizeof kSocketPrompt - 1))
        socketClientClose();
}

SocketLineKind socketCutLine(char *bytes, size_t n, int *discarding)
{
    if (*discarding) {
        if (std::memchr(bytes, '\n', n))
            *discarding = 0;
        return SocketLineKind::Dropped;
    }
    size_t end = 0;
    while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
        end++;
    if (end == n && n >= static_cast<size_t>(kSocketReadSize)) {
        *discarding = 1;
        bytes[n] = '\0';
        return SocketLineKind::TooLong;
    }
    bytes[end] = '\0';
    return SocketLineKind::Line;
}

void socketReadCb(ChartState *chart)
{
    const int fd = appData->clientFd;
    if (fd < 0)
        return;
    char bytes[kSocketReadSize + 1];
    ssize_t n = recv(fd, bytes, kSocketReadSize, MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return; // woken with nothing to read: the peer is still there
    if (n <= 0) {
        socketClientClose();
        return;
    }
    const size_t length = static_cast<size_t>(n);
    const SocketLineKind kind = socketCutLine(bytes, length, &clientDiscarding);
    if (kind == SocketLineKind::Dropped)
        return;
    if (kind == SocketLineKind::Line && strEqualNoCase(bytes, "BYE")) {
        socketClientClose();
        return;
    }

    // A nested event loop inside the line (a question) must not read the
    // next line under this one.
    unwatch(&appData->clientInputId);
    const unsigned serial = clientSerial;
    appData->commandFromSocket = 1;
    if (kind == SocketLineKind::TooLong) {
        stkClearError();
        stkReportTextTooLong(bytes, length);
    } else {
        stkExecute(chart, bytes);
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
    appData->clientInputId = socketInputs.watchClient(fd, chart);
    if (!appData->clientInputId)
        socketClientClose();
}
