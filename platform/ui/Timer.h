#pragma once

#include <functional>

namespace platform {

class Ui;

// A message-loop timer: while enabled, onTimer runs every interval on the one thread.
class Timer {
public:
    Timer(Ui& ui, int intervalMs, std::function<void()> onTimer = {});
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();

    int interval() const { return intervalMs_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    std::function<void()> onTimer;

    // Called by the user interface when the interval has passed.
    void fire();

private:
    Ui& ui_;
    int intervalMs_;
    bool enabled_ = false;
};

} // namespace platform
