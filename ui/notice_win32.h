// The owner search behind the notice, open to the tests.
#pragma once

#include <windows.h>

#include <cstdint>

// The first visible top-level window of the process, or null when none turns up within limit_ms.
// Pending window events run between the windows it looks at.
HWND find_process_window(DWORD process_id, std::int32_t limit_ms);
