// The TCP command port: one client at a time sends command lines and gets
// back the error of each line's last statement, if any, and the prompt.
//
// The protocol, over the descriptors in the application record:
//   - a new client gets the prompt "tavik> " (no newline); a second client
//     while one is served is closed at once, without a byte;
//   - each read takes at most kSocketReadSize bytes and is one line: the line
//     ends at the first CR or LF, whichever comes first, else at the end of
//     the read; the rest of the read is dropped;
//   - a read of kSocketReadSize bytes without a line end is refused as too
//     long, and every byte up to the next LF (in this or later reads) is
//     dropped without a reply, so the tail of a long line never runs;
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

// The client is readable: read one line, run it, reply.
void socketReadCb(ChartState *chart);

// Removes the client's source, closes it and frees the slot.
void socketClientClose();

// The framing of one read, as a pure step over the received bytes.
enum class SocketLineKind {
    Line,     // a line to run (NUL-terminated in place; may be empty)
    TooLong,  // a full read without a line end: refuse it, drop to the next LF
    Dropped,  // the tail of a refused line: nothing to run, nothing to send
};

// Cuts the line out of bytes[0..n) (n <= kSocketReadSize; bytes must have
// room for n + 1). *discarding is the client's state across reads: 1 while
// the tail of a refused line is being dropped.
SocketLineKind socketCutLine(char *bytes, size_t n, int *discarding);
