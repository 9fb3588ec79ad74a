// Start-up: window and controls laid out while still hidden, then shown, then the message loop.
#include <windows.h>

#include <commctrl.h>

#include "ui/main_window_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const INITCOMMONCONTROLSEX common_controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common_controls);

    Win32MainWindow window;
    if (!window.create(instance)) {
        MessageBoxA(nullptr, "无法创建主窗口，程序无法运行。", "Quorvane", MB_OK | MB_ICONERROR);
        return 1;
    }
    window.create_controls();
    window.raise_startup_events();
    window.show();

    MSG message{};
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}
