// The notice on Windows: MessageBoxTimeoutA where user32 has it, MessageBoxA where not, and in
// both cases a timer of our own on the box, since not every user32 honours the time-out.
#include "ui/notice_win32.h"

#include <utility>

#include "text/events.h"
#include "ui/notice.h"

namespace {

constexpr char kCaption[] = "友情提醒";
constexpr UINT kDisplayMs = 5000;
constexpr UINT_PTR kCloseTimer = 1;

using MessageBoxTimeoutFn = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT, WORD, DWORD);

// Not in the platform's headers: bound by name on first use.
MessageBoxTimeoutFn message_box_timeout() {
    static const auto bound = reinterpret_cast<MessageBoxTimeoutFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "MessageBoxTimeoutA")));
    return bound;
}

// Where the innermost notice still being opened on this thread wants its box's handle.
thread_local HWND* box_awaited = nullptr;

void CALLBACK close_box(HWND box, UINT, UINT_PTR timer, DWORD) {
    KillTimer(box, timer);
    EndDialog(box, IDOK);
}

// Catches the box as it is made and arms its timer, so it goes kDisplayMs after it came.
LRESULT CALLBACK watch_for_box(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND && box_awaited && !*box_awaited) {
        const auto window = reinterpret_cast<HWND>(wparam);
        char window_class[16] = {};
        GetClassNameA(window, window_class, sizeof window_class);
        if (lstrcmpA(window_class, "#32770") == 0) {  // the dialog class every message box uses
            *box_awaited = window;
            SetTimer(window, kCloseTimer, kDisplayMs, close_box);
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

HWND find_process_window(DWORD process_id, std::int32_t limit_ms) {
    const std::int32_t start = uptime_ms();
    HWND window = nullptr;
    for (;;) {
        // Unsigned difference, so a wrap of the tick count does not end or stretch the search.
        const std::uint32_t elapsed = static_cast<std::uint32_t>(uptime_ms()) - static_cast<std::uint32_t>(start);
        if (limit_ms <= 0 || elapsed >= static_cast<std::uint32_t>(limit_ms)) return nullptr;
        window = FindWindowExA(nullptr, window, nullptr, nullptr);
        DWORD owner = 0;
        if (IsWindow(window) && IsWindowVisible(window)) {
            GetWindowThreadProcessId(window, &owner);
            if (owner == process_id) return window;
        }
        process_events();
    }
}

void timed_message_box(const Text& text) {
    HWND owner = find_process_window(GetCurrentProcessId(), 1000);

    HWND box = nullptr;
    HWND* const outer = std::exchange(box_awaited, &box);
    HHOOK hook = SetWindowsHookExA(WH_CBT, watch_for_box, nullptr, GetCurrentThreadId());
    if (const auto show_timed = message_box_timeout())
        show_timed(owner, text.c_str(), kCaption, MB_OK, 0, kDisplayMs);
    else
        MessageBoxA(owner, text.c_str(), kCaption, MB_OK);
    if (hook) UnhookWindowsHookEx(hook);
    box_awaited = outer;
}
