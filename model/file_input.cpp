#include "model/file_input.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int openRegularFd(const char *path)
{
    if (!path || !path[0]) {
        errno = ENOENT;
        return -1;
    }
    // O_NONBLOCK: the open of a FIFO returns at once instead of waiting for
    // a writer; O_NOCTTY: a terminal named here never becomes ours.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st;
    const bool known = fstat(fd, &st) == 0;
    if (!known || !S_ISREG(st.st_mode)) {
        const int why = known && S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        close(fd);
        errno = why;
        return -1;
    }
    // A regular file never makes a read wait; the flag goes so that no
    // reader downstream ever meets EAGAIN.
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

std::FILE *openRegularFile(const char *path)
{
    const int fd = openRegularFd(path);
    if (fd < 0)
        return nullptr;
    std::FILE *file = fdopen(fd, "r");
    if (!file) {
        const int why = errno;
        close(fd);
        errno = why;
    }
    return file;
}

int regularFileReadable(const char *path)
{
    const int fd = openRegularFd(path);
    if (fd < 0)
        return 0;
    close(fd);
    return 1;
}

int readTextLine(std::FILE *file, char *buf, size_t size, size_t *length)
{
    size_t n = 0;
    bool any = false, cut = false;
    int c;
    while ((c = getc_unlocked(file)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        if (n + 1 < size)
            buf[n++] = static_cast<char>(c);
        else
            cut = true;
    }
    if (size > 0)
        buf[n] = '\0';
    *length = n;
    if (!any)
        return kTextLineEnd;
    return cut ? kTextLineCut : kTextLine;
}
