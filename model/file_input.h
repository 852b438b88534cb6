// Opening and reading the program's input files.
//
// Every file the program reads is opened through openRegularFile: without
// waiting, and only when it is a regular file. A FIFO without a writer would
// hold the open (and with it the event loop) for ever; a FIFO with one, a
// terminal, /dev/zero or /dev/urandom give an endless read, and a directory
// no text at all. Text lines are read through readTextLine, which keeps at
// most what the caller's buffer holds and skips the rest of a longer line,
// so that no line, however long, grows a buffer.
#pragma once

#include <cstddef>
#include <cstdio>

// The descriptor of path opened for reading, or -1 (errno set: EISDIR for a
// directory, EINVAL for any other file that is not a regular one) when it
// cannot be opened or is no regular file. Never waits on the file.
int openRegularFd(const char *path);

// openRegularFd as a stream for reading; null when refused.
std::FILE *openRegularFile(const char *path);

// 1 when path opens for reading as a regular file (checked by opening it).
int regularFileReadable(const char *path);

// What readTextLine found.
enum TextLineResult {
    kTextLineEnd = 0,  // end of the file (or a read error): no line
    kTextLine = 1,     // a whole line
    kTextLineCut = 2,  // a longer line: its first size - 1 bytes, the rest skipped
};

// Reads the next line of file, up to and including its LF, into buf[size]:
// at most size - 1 bytes, NUL-terminated, without the LF (a CR or a NUL byte
// is kept as it came: the formats differ in what they make of them);
// *length the number of bytes stored. A last line without an LF is a line.
int readTextLine(std::FILE *file, char *buf, size_t size, size_t *length);
