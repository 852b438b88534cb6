// A private X server for one test: its own Xvfb with its own screen, pointer
// and keyboard focus, so tests that send input never disturb each other when
// ctest runs them in parallel.
#pragma once

#include <string>

#include <X11/Xlib.h>

class XServer {
public:
    // Starts Xvfb on a free display number (the server picks it).
    explicit XServer(int width = 1024, int height = 768, int depth = 24);
    ~XServer();
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    // False when the server did not come up; why() says what failed.
    bool ok() const { return display_ != nullptr; }
    const std::string &why() const { return why_; }

    // ":N", for DISPLAY.
    const std::string &name() const { return name_; }
    // The test's own connection to the server.
    Display *display() const { return display_; }

private:
    int pid_ = -1;
    std::string name_;
    std::string why_;
    Display *display_ = nullptr;
};

