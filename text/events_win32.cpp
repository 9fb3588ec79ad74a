// Windows: the system tick count, and the thread's message queue.
#include <windows.h>

#include "text/events.h"

namespace {
void (*events_observer)() = nullptr;
}

std::int32_t uptime_ms() { return static_cast<std::int32_t>(GetTickCount()); }

void process_events() {
    if (events_observer) events_observer();
    MSG msg;
    // Look before taking: WM_QUIT must stay queued for the main message loop.
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void observe_process_events(void (*observer)()) { events_observer = observer; }
