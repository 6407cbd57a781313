#include "platform/ui/Timer.h"

#include "platform/ui/Ui.h"

namespace platform {

Timer::Timer(Ui& ui, int intervalMs, std::function<void()> onTimer)
    : onTimer(std::move(onTimer)), ui_(ui), intervalMs_(intervalMs) {}

Timer::~Timer() {
    ui_.timerDestroyed(*this);
}

void Timer::setEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    ui_.timerChanged(*this);
}

void Timer::fire() {
    if (enabled_ && onTimer)
        onTimer();
}

} // namespace platform
