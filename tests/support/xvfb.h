#pragma once

#include <sys/types.h>

#include <string>

namespace morvane::test {

// A private X server for one test program: started on a free display, DISPLAY pointed at it
// for this process and its children, stopped on destruction.
class XvfbServer {
  public:
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool running() const { return pid_ > 0 && !display_.empty(); }
    const std::string& display() const { return display_; }

  private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace morvane::test
