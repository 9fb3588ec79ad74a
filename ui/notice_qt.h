// The owner search behind the notice, on Qt.
#pragma once

#include <cstdint>

class QWidget;

// The program's first visible top-level window, running pending events between tries;
// nullptr once limit_ms have passed (at once for a limit of 0 or less).
QWidget* find_process_window(std::int32_t limit_ms);
