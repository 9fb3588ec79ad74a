// The millisecond clock and the event pump: the one way back up into the window while we wait.
#pragma once

#include <cstdint>

// Milliseconds since an arbitrary start, as a wrapping signed 32-bit value.
std::int32_t uptime_ms();

// Runs the window events already waiting, then returns without waiting; a quit request stays queued.
void process_events();

// Tests watch the pump through this; nullptr stops watching.
void observe_process_events(void (*observer)());
