// Driving quorvane.exe from another process, as a user would: start it, find its windows, read
// their text, type and click through the system's input queue.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>

// Polls until the condition holds, pumping our own messages meanwhile; false after timeout_ms.
inline bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms = 8000) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeout_ms) return false;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(20);
    }
    return true;
}

// WM_GETTEXT itself: GetWindowText does not read the controls of another process.
inline std::string text_of(HWND window) {
    char buffer[4096] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    return buffer;
}

inline std::string quorvane_path() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of("\\/") + 1) + "quorvane.exe";
}

inline void send_key(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

// Presses a key with the given modifiers held, as the keyboard would.
inline void press(WORD key, std::initializer_list<WORD> modifiers = {}) {
    for (WORD m : modifiers) send_key(m, false);
    send_key(key, false);
    send_key(key, true);
    for (WORD m : modifiers) send_key(m, true);
}

inline void click_at(POINT screen) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& i : inputs) i.type = INPUT_MOUSE;
    inputs[0].mi.dx = static_cast<LONG>(screen.x * 65535LL / (cx - 1));
    inputs[0].mi.dy = static_cast<LONG>(screen.y * 65535LL / (cy - 1));
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

inline POINT centre_on_screen(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

struct FindInProcess {
    DWORD process_id;
    const char* caption;
    HWND found;
};

inline BOOL CALLBACK match_window(HWND window, LPARAM data) {
    auto* s = reinterpret_cast<FindInProcess*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != s->process_id || !IsWindowVisible(window) || text_of(window) != s->caption) return TRUE;
    s->found = window;
    return FALSE;
}

// The first visible top-level window of the process with that caption.
inline HWND find_window_of(DWORD process_id, const char* caption) {
    FindInProcess search{process_id, caption, nullptr};
    EnumWindows(match_window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Ends a program a test left running, and releases its handles.
inline void end_program(PROCESS_INFORMATION& process) {
    if (!process.hProcess) return;
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    process = {};
}
