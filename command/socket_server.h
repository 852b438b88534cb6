// The TCP command port: one client at a time sends command lines and gets
// back the error of each line's last statement, if any, and the prompt.
//
// The protocol, over the descriptors in the application record:
//   - a new client gets the prompt "tavik> " (no newline); a second client
//     while one is served is closed at once, without a byte;
//   - the bytes of a client are a stream: a line ends at a CR or an LF
//     (an LF right after a CR belongs to that CR's line end), however the
//     bytes were split into reads; each read takes at most kSocketReadSize
//     bytes less what is held of a line begun in an earlier read;
//   - every whole line held runs in turn, each with its reply: where a
//     stream is split into reads is chance, so a line sent before the
//     prompt of the one before it is run, not dropped with the rest of a
//     read (a client that waits for each prompt sees no difference);
//   - a line without its end is held until the end comes; one that the
//     client leaves unfinished when it goes never runs (a half "DATE 19"
//     must not set the year 19);
//   - kSocketReadSize bytes without a line end are refused as too long, and
//     every byte up to the next LF (in this or later reads) is dropped
//     without a reply, so the tail of a long line never runs;
//   - "bye" (any case) closes the connection without a reply;
//   - any other line runs through stkExecute with commandFromSocket set; the
//     reply is the error message and "\n" when the last statement failed,
//     then the prompt;
//   - every send is non-blocking and raises no SIGPIPE; a send that cannot
//     complete at once drops the client, so a peer that stops reading never
//     stalls the event loop;
//   - while a line runs, the client's input source is removed, so that a
//     nested event loop (a question) cannot read the next line under it.
//
// The server never touches the toolkit: it watches its descriptors through
// socketInputs, which the user interface points at its input sources.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/x_handles.h"

struct ChartState;

constexpr int kSocketReadSize = 4096;      // bytes taken by one read
extern const char kSocketPrompt[];         // "tavik> "

// How the server watches its descriptors for reading: the event loop's input
// sources. A watch returns the source's id, 0 when none could be made; the
// source calls socketAcceptCb() for the listener and socketReadCb(chart) for
// the client. Every field defaults to watching nothing (0).
struct SocketInputs {
    XtInputId (*watchListener)(int fd);
    XtInputId (*watchClient)(int fd, ChartState *chart);
    void (*unwatch)(XtInputId id);
};
extern SocketInputs socketInputs;

// Puts the default (watch nothing) back.
void socketInputsReset();

// Where the listener binds, from the option SocketAddress: empty is
// 127.0.0.1; "hostname" (any case) the first IPv4 address of the machine's
// host name; else a dotted IPv4 address. Returns 1 and the address in
// network byte order, or 0 after printing "%s: host unknown." on standard
// error (with the host name or the value).
int socketListenAddress(const char *option, uint32_t *address);

// Opens the listener on appData->socketAddress and appData->socketPort (1 to
// 65535) and watches it. Returns 1, or 0 after printing the failure on
// standard error; the program then runs without a server.
int socketServerStart();

// At quit: closes the client and the listener and removes their sources.
void socketServerStop();

// The listener is readable: accept one client, or close it at once when one
// is already served.
void socketAcceptCb();

// The client is readable: read what came, run each line it ends, reply
// to each.
void socketReadCb(ChartState *chart);

// Removes the client's source, closes it and frees the slot.
void socketClientClose();

// One client's bytes between reads: what is held of a line whose end has
// not come yet, and the framing state.
struct SocketLineBuffer {
    char bytes[kSocketReadSize + 1]; // a line's NUL fits after a full buffer
    size_t length;                   // bytes held
    size_t taken;                    // of them, already handed out as lines
    int discarding;                  // dropping the tail of a refused line up to its LF
    int afterCr;                     // the last line ended at a CR
};

// Empties the buffer: a new client starts with nothing held.
void socketLineBufferReset(SocketLineBuffer *buffer);

enum class SocketLineKind {
    Line,     // a whole line (NUL-terminated in place; may be empty)
    TooLong,  // kSocketReadSize bytes without a line end: refuse them
    NeedMore, // no whole line held: read more
};

// Takes the next line out of the buffer, after a read appended its bytes at
// bytes + length (room for kSocketReadSize - length of them). *line points
// into the buffer and stays valid until the next call; *length is its
// length. NeedMore also moves the start of an unfinished line to the front.
SocketLineKind socketTakeLine(SocketLineBuffer *buffer, char **line, size_t *length);
