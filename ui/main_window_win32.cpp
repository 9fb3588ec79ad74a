#include "ui/main_window_win32.h"

#include <commctrl.h>

#include <string>

#include "ui/handlers.h"

namespace {

constexpr char kClassName[] = "QuorvaneMainWindow";
constexpr int kOuterWidth = 592;
constexpr int kOuterHeight = 446;
constexpr DWORD kWindowStyle =
    WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kBoxStyle =
    WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;

struct ControlDesign {
    const char* window_class;
    const char* caption;
    DWORD style;
    DWORD ex_style;
    int left, top, width, height;
};

// Indexed by Control; the order is also the tab order.
constexpr ControlDesign kDesign[] = {
    {"EDIT", "", kBoxStyle | WS_TABSTOP, WS_EX_CLIENTEDGE, 8, 8, 248, 392},
    {"EDIT", "", kBoxStyle | ES_READONLY | ES_NOHIDESEL, WS_EX_CLIENTEDGE, 328, 8, 248, 392},
    {"BUTTON", "翻译", WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE,
     0, 264, 176, 56, 48},
};

HFONT create_box_font() {
    LOGFONTA font{};
    font.lfHeight = -37;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH;
    return CreateFontIndirectA(&font);  // empty face name: the system picks one
}

HICON load_icon(HINSTANCE instance, int width_metric, int height_metric) {
    return static_cast<HICON>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, GetSystemMetrics(width_metric),
                                         GetSystemMetrics(height_metric), 0));
}

bool modifier_down(int key) { return GetKeyState(key) < 0; }

}  // namespace

bool Win32MainWindow::create(HINSTANCE instance) {
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = window_proc;
    window_class.hInstance = instance;
    window_class.hIcon = load_icon(instance, SM_CXICON, SM_CYICON);
    window_class.hIconSm = load_icon(instance, SM_CXSMICON, SM_CYSMICON);
    window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = kClassName;
    if (!RegisterClassExA(&window_class)) return false;

    const int left = (GetSystemMetrics(SM_CXSCREEN) - kOuterWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kOuterHeight) / 2;
    CreateWindowExA(0, kClassName, "Quorvane", kWindowStyle, left, top, kOuterWidth, kOuterHeight, nullptr, nullptr,
                    instance, this);
    if (!window_) return false;
    if (outer_width() != kOuterWidth || outer_height() != kOuterHeight)
        SetWindowPos(window_, nullptr, 0, 0, kOuterWidth, kOuterHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void Win32MainWindow::create_controls() {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window_, GWLP_HINSTANCE));
    box_font_ = create_box_font();
    for (int i = 0; i < 3; ++i) {
        const ControlDesign& d = kDesign[i];
        HWND control =
            CreateWindowExA(d.ex_style, d.window_class, d.caption, d.style, d.left, d.top, d.width, d.height, window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)), instance, nullptr);
        controls_[i] = control;
        SetWindowSubclass(control, control_proc, 0, reinterpret_cast<DWORD_PTR>(this));
        ShowWindow(control, SW_SHOWNA);
    }
    for (Control box : {Control::编辑框1, Control::编辑框2}) {
        HWND h = handle(box);
        SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(box_font_), FALSE);
        SendMessageA(h, EM_LIMITTEXT, 0, 0);
        SendMessageA(h, EM_SETSEL, 0, 0);
    }
    SendMessageA(handle(Control::按钮1), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

void Win32MainWindow::raise_startup_events() {
    controls_ready_ = true;
    handle_window_created(*this);
    // The moved event has no handler.
    handle_window_resize(*this);
}

void Win32MainWindow::show() {
    ShowWindow(window_, SW_SHOW);
    restore_focus();
}

RECT Win32MainWindow::outer_rect(Control c) const {
    RECT r{};
    if (HWND h = handle(c)) GetWindowRect(h, &r);
    return r;
}

POINT Win32MainWindow::client_origin(Control c) const {
    const RECT r = outer_rect(c);
    POINT p{r.left, r.top};
    if (window_) ScreenToClient(window_, &p);
    return p;
}

int Win32MainWindow::outer_width() const {
    RECT r{};
    if (window_) GetWindowRect(window_, &r);
    return r.right - r.left;
}

int Win32MainWindow::outer_height() const {
    RECT r{};
    if (window_) GetWindowRect(window_, &r);
    return r.bottom - r.top;
}

int Win32MainWindow::left(Control c) const { return client_origin(c).x; }
int Win32MainWindow::top(Control c) const { return client_origin(c).y; }

int Win32MainWindow::width(Control c) const {
    const RECT r = outer_rect(c);
    return r.right - r.left;
}

int Win32MainWindow::height(Control c) const {
    const RECT r = outer_rect(c);
    return r.bottom - r.top;
}

void Win32MainWindow::move_to(Control c, int left, int top) {
    if (HWND h = handle(c)) MoveWindow(h, left, top, width(c), height(c), TRUE);
}

void Win32MainWindow::resize_to(Control c, int width, int height) {
    if (HWND h = handle(c)) SetWindowPos(h, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Text Win32MainWindow::content(Control c) const {
    HWND h = handle(c);
    const int length = h ? GetWindowTextLengthA(h) : 0;
    if (length <= 0) return {};
    std::string bytes(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(h, bytes.data(), length + 1);
    bytes.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return Text(std::move(bytes));
}

void Win32MainWindow::set_content(Control c, const Text& text) {
    if (HWND h = handle(c)) SetWindowTextA(h, text.c_str());
}

void Win32MainWindow::set_enabled(Control c, bool enabled) {
    HWND h = handle(c);
    if (!h) return;
    // A disabled control keeps no focus; hand it on so the keyboard (Esc above all) still works.
    if (!enabled && GetFocus() == h) focus_next_tab_stop(h, false);
    EnableWindow(h, enabled);
}

void Win32MainWindow::focus_next_tab_stop(HWND from, bool backward) {
    int at = 0;
    while (at < 3 && controls_[at] != from) ++at;
    for (int step = 1; step <= 3; ++step) {
        HWND h = controls_[(at + (backward ? 3 - step : step)) % 3];
        if (h != from && (GetWindowLongA(h, GWL_STYLE) & WS_TABSTOP) && IsWindowEnabled(h)) {
            SetFocus(h);
            return;
        }
    }
}

void Win32MainWindow::restore_focus() {
    HWND target = last_focus_;
    if (!target || !IsWindow(target) || !IsChild(window_, target) || !IsWindowEnabled(target))
        target = handle(Control::编辑框1);
    if (target) SetFocus(target);
}

// Keys the window handles itself, whichever control has the focus. True when the key is used up.
bool Win32MainWindow::on_control_key(HWND control, UINT message, WPARAM key) {
    // WM_KEYDOWN and WM_CHAR share the codes of Esc, Tab and Enter.
    const bool is_key = message == WM_KEYDOWN;
    const bool is_char = message == WM_CHAR;
    if (!is_key && !is_char) return false;
    switch (key) {
    case VK_ESCAPE:
        if (is_key && !modifier_down(VK_CONTROL) && !modifier_down(VK_SHIFT) && !modifier_down(VK_MENU))
            SendMessageA(window_, WM_CLOSE, 0, 0);
        return true;
    case VK_TAB:
        if (is_key && !modifier_down(VK_CONTROL)) focus_next_tab_stop(control, modifier_down(VK_SHIFT));
        return true;  // never a tab character in a box
    case VK_RETURN:
        // Only the input box takes Enter, as a new line; the button is no default button.
        return control != handle(Control::编辑框1);
    default: return false;
    }
}

LRESULT CALLBACK Win32MainWindow::control_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                               DWORD_PTR self_data) noexcept {
    auto* self = reinterpret_cast<Win32MainWindow*>(self_data);
    if (message == WM_SETFOCUS) self->last_focus_ = hwnd;
    if (self->on_control_key(hwnd, message, wparam)) return 0;
    return DefSubclassProc(hwnd, message, wparam, lparam);
}

LRESULT CALLBACK Win32MainWindow::window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        self->window_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, message, wparam, lparam);
    return self->on_message(message, wparam, lparam);
}

LRESULT Win32MainWindow::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
        if (controls_ready_ && !closed_) handle_window_resize(*this);
        return 0;
    case WM_COMMAND:
        if (reinterpret_cast<HWND>(lparam) == handle(Control::按钮1) && HIWORD(wparam) == BN_CLICKED) {
            handle_translate_click(*this);
            return 0;
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        // Both boxes black on white; the read-only one asks through WM_CTLCOLORSTATIC.
        const auto box = reinterpret_cast<HWND>(lparam);
        if (box && (box == handle(Control::编辑框1) || box == handle(Control::编辑框2))) {
            const auto dc = reinterpret_cast<HDC>(wparam);
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        }
        break;
    }
    case WM_ACTIVATE:
        if (LOWORD(wparam) != WA_INACTIVE && !HIWORD(wparam)) restore_focus();
        return 0;
    case WM_SETFOCUS: restore_focus(); return 0;
    case WM_DESTROY:
        closed_ = true;
        for (HWND& control : controls_) control = nullptr;  // about to go; never touch them again
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        HWND window = window_;
        window_ = nullptr;
        if (box_font_) DeleteObject(box_font_);
        box_font_ = nullptr;
        return DefWindowProcA(window, message, wparam, lparam);
    }
    default: break;
    }
    return DefWindowProcA(window_, message, wparam, lparam);
}
