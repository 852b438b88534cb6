#include "tests/support/tcp_client.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <netinet/in.h>
#include <set>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const std::string kPrompt = "tavik> ";

void pause20ms()
{
    timespec t = {0, 20000000L};
    nanosleep(&t, nullptr);
}

bool endsWithPrompt(const std::string &s)
{
    return s.size() >= kPrompt.size() && s.compare(s.size() - kPrompt.size(), kPrompt.size(), kPrompt) == 0;
}

} // namespace

sockaddr_in tcpLoopbackAddress(int port)
{
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

int tcpFreePort()
{
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = tcpLoopbackAddress(0);
    socklen_t len = sizeof a;
    int port = -1;
    if (s >= 0 && bind(s, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr *>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    if (s >= 0)
        close(s);
    return port;
}

int tcpConnectLoopback(int port, int timeoutMs, int receiveBuffer)
{
    for (int t = 0; t <= timeoutMs; t += 20) {
        int fd = socket(AF_INET, SOCK_STREAM, 0);
        if (receiveBuffer)
            setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        timeval limit = {20, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        sockaddr_in a = tcpLoopbackAddress(port);
        if (connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0)
            return fd;
        close(fd);
        pause20ms();
    }
    return -1;
}

bool tcpSend(int fd, const std::string &bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string tcpReadReply(int fd)
{
    std::string got;
    char buf[4096];
    while (!endsWithPrompt(got)) {
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            break;
        got.append(buf, static_cast<size_t>(n));
    }
    return got;
}

std::string tcpReadToEof(int fd)
{
    std::string got;
    char buf[4096];
    for (;;) {
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n > 0) {
            got.append(buf, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return got + "<open>"; // the read timed out
        return got;                // end of file, or a reset
    }
}

std::vector<std::string> tcpListeningAddresses(pid_t pid)
{
    const std::string proc = "/proc/" + std::to_string(pid);
    std::set<std::string> inodes; // "socket:[N]" links of the process
    if (DIR *dir = opendir((proc + "/fd").c_str())) {
        while (dirent *e = readdir(dir)) {
            char link[64] = {};
            std::string path = proc + "/fd/" + e->d_name;
            ssize_t n = readlink(path.c_str(), link, sizeof link - 1);
            std::string text(link, n > 0 ? static_cast<size_t>(n) : 0);
            if (text.rfind("socket:[", 0) == 0)
                inodes.insert(text.substr(8, text.size() - 9));
        }
        closedir(dir);
    }
    std::vector<std::string> found;
    std::ifstream table(proc + "/net/tcp");
    std::string line;
    std::getline(table, line); // heading
    while (std::getline(table, line)) {
        std::istringstream row(line);
        std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout, inode;
        row >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >> timeout >> inode;
        if (state != "0A" || !inodes.count(inode))
            continue;
        // The address is in the host's byte order as hex, the port in hex.
        unsigned long address = std::stoul(local.substr(0, 8), nullptr, 16);
        unsigned port = static_cast<unsigned>(std::stoul(local.substr(9), nullptr, 16));
        in_addr a;
        a.s_addr = static_cast<in_addr_t>(address);
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &a, text, sizeof text);
        found.push_back(std::string(text) + ":" + std::to_string(port));
    }
    return found;
}
