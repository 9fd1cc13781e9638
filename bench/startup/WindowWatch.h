#pragma once

#include <chrono>
#include <string>

struct _XDisplay;

// Watches an X display for top-level windows being mapped.
class WindowWatch {
public:
    explicit WindowWatch(const std::string& display);
    ~WindowWatch();
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;

    bool connected() const { return display_ != nullptr; }
    // Waits until a window with this title is mapped; false after the time-out.
    bool waitForWindow(const std::string& title, std::chrono::milliseconds timeout);

private:
    std::string titleOf(unsigned long window) const;

    _XDisplay* display_ = nullptr;
};
