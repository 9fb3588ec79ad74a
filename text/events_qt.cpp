// Linux: a monotonic clock, and the Qt event loop's pending events.
#include "text/events.h"

#include <QCoreApplication>
#include <chrono>

namespace {
void (*events_observer)() = nullptr;
}

std::int32_t uptime_ms() {
    auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(ms.count()));
}

void process_events() {
    if (events_observer) events_observer();
    // No application object, no window: nothing can be pending.
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void observe_process_events(void (*observer)()) { events_observer = observer; }
