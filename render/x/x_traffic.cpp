#include "render/x/x_traffic.h"

namespace {
XTrafficMeter *activeMeter = nullptr;
}

XTrafficMeter::XTrafficMeter(Display *display) : display_(display) {
    activeMeter = this;
    previous_ = XSetAfterFunction(display_, afterRequest);
    start();
}

XTrafficMeter::~XTrafficMeter() {
    XSetAfterFunction(display_, previous_);
    if (activeMeter == this) activeMeter = nullptr;
}

void XTrafficMeter::start() {
    startRequest_ = XNextRequest(display_);
    lastKnown_ = XLastKnownRequestProcessed(display_);
    replies_ = 0;
}

XTraffic XTrafficMeter::read() const { return XTraffic{XNextRequest(display_) - startRequest_, replies_}; }

int XTrafficMeter::afterRequest(Display *display) {
    XTrafficMeter *m = activeMeter;
    if (m == nullptr || m->display_ != display) return 0;
    const unsigned long known = XLastKnownRequestProcessed(display);
    if (known != m->lastKnown_) {
        if (known + 1 == XNextRequest(display)) m->replies_++;
        m->lastKnown_ = known;
    }
    return m->previous_ != nullptr ? m->previous_(display) : 0;
}
