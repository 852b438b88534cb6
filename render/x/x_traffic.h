// Counts the X requests a stretch of drawing sends and the replies it waits
// for, on one display, with public Xlib calls only: requests are the advance
// of XNextRequest; a reply waited for is seen by an after function
// (XSetAfterFunction), which Xlib calls at the end of every routine that may
// send a request. When the last request the server is known to have handled
// (XLastKnownRequestProcessed) has just become the last request sent, the
// routine read an answer to it: a round trip. Requests merely queued leave
// that number behind, so they are not counted.
//
// A reading of an event that happens to carry the number of the last request
// would count too: the count errs toward more replies, never fewer, for the
// usual routines that wait for one reply to their own last request.
#pragma once

#include <X11/Xlib.h>

struct XTraffic {
    unsigned long requests;
    unsigned long replies;
};

class XTrafficMeter {
public:
    // Installs the after function on display (the one it replaces is still
    // called); one meter at a time.
    explicit XTrafficMeter(Display *display);
    ~XTrafficMeter();
    XTrafficMeter(const XTrafficMeter &) = delete;
    XTrafficMeter &operator=(const XTrafficMeter &) = delete;

    // Starts a count from zero.
    void start();
    // The counts since start().
    XTraffic read() const;

private:
    static int afterRequest(Display *display);

    Display *display_;
    int (*previous_)(Display *) = nullptr;
    unsigned long startRequest_ = 0;
    unsigned long lastKnown_ = 0;
    unsigned long replies_ = 0;
};
