// Starts quorvane.exe (built beside this test) and checks it from outside, the way a user meets it:
// where the controls stand, what the keys do, the colours, the focus. Needs a display (Wine on Xvfb).
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/win32_driver.h"

#include <functional>
#include <initializer_list>
#include <string>

namespace {

struct Box {
    int left, top, width, height;
    friend bool operator==(const Box&, const Box&) = default;
};

std::ostream& operator<<(std::ostream& out, const Box& b) {
    return out << b.left << "," << b.top << " " << b.width << "x" << b.height;
}

std::string class_of(HWND window) {
    char buffer[256] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

DWORD style_of(HWND window, int which = GWL_STYLE) { return static_cast<DWORD>(GetWindowLongA(window, which)); }

Box box_in_client(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    POINT top_left{r.left, r.top};
    ScreenToClient(parent, &top_left);
    return {top_left.x, top_left.y, r.right - r.left, r.bottom - r.top};
}

Box outer_box(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// Copied off the screen first: reading the screen's own surface pixel by pixel is not supported everywhere.
COLORREF screen_pixel(POINT p) {
    HDC screen = GetDC(nullptr);
    HDC copy = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 1, 1);
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, 1, 1, screen, p.x, p.y, SRCCOPY);
    const COLORREF colour = GetPixel(copy, 0, 0);
    SelectObject(copy, old);
    DeleteObject(bitmap);
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
    return colour;
}

// One run of quorvane.exe; ended by force if a test leaves it running.
class QuorvaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Once the program has shown no window (no display, say), the other tests fail at once.
        static bool never_shown = false;
        ASSERT_FALSE(never_shown) << "quorvane.exe showed no window in an earlier test";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string path = quorvane_path();
        ASSERT_TRUE(
            CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
            << "cannot start " << path;
        never_shown = !wait_until([&] { return (window_ = find_window_of(process_.dwProcessId, "Quorvane")); }, 20000);
        ASSERT_FALSE(never_shown) << "no visible window captioned Quorvane";
        thread_ = GetWindowThreadProcessId(window_, nullptr);
        HWND child = GetWindow(window_, GW_CHILD);
        for (HWND& control : controls_) {
            control = child;
            child = GetWindow(child, GW_HWNDNEXT);
        }
        ASSERT_EQ(child, nullptr) << "more than three controls";
        ASSERT_TRUE(wait_until([&] { return focus() == input(); })) << "the input box never got the focus";
    }

    void TearDown() override { end_program(process_); }

    HWND focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread_, &info) ? info.hwndFocus : nullptr;
    }

    bool ended(DWORD timeout_ms) const { return WaitForSingleObject(process_.hProcess, timeout_ms) == WAIT_OBJECT_0; }

    // Types letters and waits until the box shows them, so every key before them has been handled.
    void type_and_wait(HWND box, const std::string& before, const char* letters) {
        for (const char* l = letters; *l; ++l) press(static_cast<WORD>(*l - 'a' + 'A'));
        const std::string expected = before + letters;
        ASSERT_TRUE(wait_until([&] { return text_of(box) == expected; }))
            << "box shows \"" << text_of(box) << "\", expected \"" << expected << "\"";
    }

    HWND input() const { return controls_[0]; }
    HWND output() const { return controls_[1]; }
    HWND button() const { return controls_[2]; }

    PROCESS_INFORMATION process_{};
    DWORD thread_ = 0;
    HWND window_ = nullptr;
    HWND controls_[3] = {};
};

TEST_F(QuorvaneTest, OpensCentredWithControlsAlreadyLaidOut) {
    const int left = (GetSystemMetrics(SM_CXSCREEN) - 592) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - 446) / 2;
    EXPECT_EQ(outer_box(window_), (Box{left, top, 592, 446}));

    const DWORD style = style_of(window_);
    const DWORD wanted = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(style & (WS_POPUP | WS_CHILD | WS_DISABLED), 0u);
    EXPECT_EQ(style_of(window_, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED), 0u);
    EXPECT_EQ(GetWindow(window_, GW_OWNER), nullptr);

    struct Expected {
        const char* name;
        const char* window_class;
        Box box;
        DWORD style_set;
        DWORD style_clear;
    };
    const DWORD box_style =
        WS_VISIBLE | WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    const DWORD never = WS_HSCROLL | WS_BORDER | WS_DISABLED | ES_AUTOHSCROLL | ES_PASSWORD | ES_UPPERCASE |
                        ES_LOWERCASE | ES_CENTER | ES_RIGHT;
    const Expected expected[] = {
        {"input", "Edit", {8, 8, 236, 396}, box_style | WS_TABSTOP, never | ES_READONLY},
        {"output", "Edit", {336, 8, 236, 396}, box_style | ES_READONLY | ES_NOHIDESEL, never | WS_TABSTOP},
        {"button",
         "Button",
         {261, 193, 56, 48},
         WS_VISIBLE | WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_CENTER | BS_VCENTER | BS_MULTILINE,
         WS_DISABLED | BS_DEFPUSHBUTTON},
    };
    for (int i = 0; i < 3; ++i) {
        const Expected& e = expected[i];
        HWND control = controls_[i];
        EXPECT_EQ(lstrcmpiA(class_of(control).c_str(), e.window_class), 0) << e.name << ": " << class_of(control);
        EXPECT_EQ(box_in_client(window_, control), e.box) << e.name;
        const DWORD s = style_of(control);
        EXPECT_EQ(s & e.style_set, e.style_set) << e.name << std::hex << " style " << s;
        EXPECT_EQ(s & e.style_clear, 0u) << e.name << std::hex << " style " << s;
    }
    EXPECT_TRUE(style_of(input(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(style_of(output(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(text_of(button()), "翻译");
    EXPECT_EQ(text_of(input()), "");
    EXPECT_EQ(text_of(output()), "");
    EXPECT_EQ(focus(), input());
}

TEST_F(QuorvaneTest, CarriesItsIconAndThemedControlsManifest) {
    HMODULE image = LoadLibraryExA(quorvane_path().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr);
    EXPECT_NE(FindResourceA(image, "DEFAULT_ICON", MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */), nullptr);
    HRSRC manifest = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24) /* RT_MANIFEST */);
    ASSERT_NE(manifest, nullptr);
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(image, manifest)));
    const std::string text(bytes, SizeofResource(image, manifest));
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
    FreeLibrary(image);
}

TEST_F(QuorvaneTest, LayoutFollowsEverySizeChange) {
    struct Case {
        int w, h;
        Box input, output, button;
    };
    const Case cases[] = {
        {593, 447, {8, 8, 236, 397}, {336, 8, 237, 397}, {262, 193, 56, 48}},
        {800, 600, {8, 8, 340, 550}, {440, 8, 340, 550}, {365, 270, 56, 48}},
        {592, 446, {8, 8, 236, 396}, {336, 8, 236, 396}, {261, 193, 56, 48}},
    };
    for (const Case& c : cases) {
        SetWindowPos(window_, nullptr, 0, 0, c.w, c.h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const bool settled = wait_until([&] { return box_in_client(window_, button()) == c.button; });
        EXPECT_TRUE(settled) << c.w << "x" << c.h << ": button at " << box_in_client(window_, button());
        EXPECT_EQ(box_in_client(window_, input()), c.input) << c.w << "x" << c.h;
        EXPECT_EQ(box_in_client(window_, output()), c.output) << c.w << "x" << c.h;
    }

    // Minimising lays the controls out for the small window; restoring puts them back.
    ShowWindowAsync(window_, SW_MINIMIZE);
    ASSERT_TRUE(wait_until([&] { return IsIconic(window_) && box_in_client(window_, input()).width != 236; }));
    ShowWindowAsync(window_, SW_RESTORE);
    ASSERT_TRUE(wait_until([&] { return !IsIconic(window_) && box_in_client(window_, button()).left == 261; }));
    EXPECT_EQ(box_in_client(window_, input()), (Box{8, 8, 236, 396}));
    EXPECT_EQ(box_in_client(window_, output()), (Box{336, 8, 236, 396}));
    EXPECT_EQ(box_in_client(window_, button()), (Box{261, 193, 56, 48}));
}

TEST_F(QuorvaneTest, TabMovesBetweenInputAndButtonAndEnterMakesNewLines) {
    type_and_wait(input(), "", "ab");
    press(VK_RETURN);
    type_and_wait(input(), "ab\r\n", "c");

    press(VK_TAB);
    ASSERT_TRUE(wait_until([&] { return focus() == button(); }));
    press(VK_TAB);
    ASSERT_TRUE(wait_until([&] { return focus() == input(); }));
    press(VK_TAB, {VK_SHIFT});
    ASSERT_TRUE(wait_until([&] { return focus() == button(); }));
    press(VK_TAB, {VK_SHIFT});
    ASSERT_TRUE(wait_until([&] { return focus() == input(); }));
    // No tab character ever reached the box, and the caret is still at its end.
    type_and_wait(input(), "ab\r\nc", "d");

    // Shift+Esc and F1 do nothing: the keys typed after them still arrive.
    press(VK_ESCAPE, {VK_SHIFT});
    press(VK_F1);
    type_and_wait(input(), "ab\r\ncd", "e");
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(text_of(output()), "");
}

TEST_F(QuorvaneTest, EscClosesTheWindowAndEndsTheProgram) {
    type_and_wait(input(), "", "hello");
    press(VK_ESCAPE);
    ASSERT_TRUE(ended(8000)) << "still running after Esc";
    DWORD code = 1;
    GetExitCodeProcess(process_.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

TEST_F(QuorvaneTest, EnterOnTheButtonDoesNothing) {
    press(VK_TAB);
    ASSERT_TRUE(wait_until([&] { return focus() == button(); }));
    press(VK_RETURN);
    // Back to the box and type: had Enter pressed the button, a notice would hold the keys.
    press(VK_TAB);
    ASSERT_TRUE(wait_until([&] { return focus() == input(); }));
    type_and_wait(input(), "", "x");
    EXPECT_EQ(text_of(output()), "");
}

TEST_F(QuorvaneTest, OutputBoxIsWhiteReadOnlyAndOutOfTheTabOrder) {
    // Inside each box, away from the caret and the scroll bar; and the window's own face between them.
    RECT in{}, out{};
    GetWindowRect(input(), &in);
    GetWindowRect(output(), &out);
    const COLORREF white = RGB(255, 255, 255);
    const auto face = static_cast<COLORREF>(GetSysColor(COLOR_BTNFACE));
    const POINT in_input{in.left + 100, in.top + 300}, in_output{out.left + 100, out.top + 300};
    const POINT between{in.right + 8, in.top + 20};
    // The first paint may still be on its way.
    wait_until([&] { return screen_pixel(in_output) == white && screen_pixel(between) == face; });
    EXPECT_EQ(screen_pixel(in_input), white);
    EXPECT_EQ(screen_pixel(in_output), white);
    EXPECT_EQ(screen_pixel(between), face);

    click_at(centre_on_screen(output()));
    ASSERT_TRUE(wait_until([&] { return focus() == output(); }));
    press('X');
    press(VK_RETURN);
    // From the output box Tab goes on to the button; by then the keys above have been handled.
    press(VK_TAB);
    ASSERT_TRUE(wait_until([&] { return focus() == button(); }));
    EXPECT_EQ(text_of(output()), "");
    press(VK_TAB);
    ASSERT_TRUE(wait_until([&] { return focus() == input(); }));
}

TEST_F(QuorvaneTest, TranslateWithNothingToTranslateShowsANoticeThatClosesItself) {
    press(VK_TAB);
    ASSERT_TRUE(wait_until([&] { return focus() == button(); }));
    press(VK_SPACE);  // the keyboard's way of pressing the focused button

    HWND notice = nullptr;
    ASSERT_TRUE(wait_until([&] { return (notice = find_window_of(process_.dwProcessId, "友情提醒")); }))
        << "no notice captioned 友情提醒";
    const DWORD appeared = GetTickCount();
    EXPECT_EQ(GetWindow(notice, GW_OWNER), window_);
    EXPECT_FALSE(IsWindowEnabled(window_)) << "the window must take no input while its notice is up";

    EXPECT_TRUE(wait_until([&] { return !IsWindow(notice); }, 10000)) << "the notice did not close itself";
    const DWORD shown_ms = GetTickCount() - appeared;
    EXPECT_GE(shown_ms, 4500u);
    EXPECT_LE(shown_ms, 8000u);
    EXPECT_TRUE(wait_until([&] { return IsWindowEnabled(window_) && focus() == button(); }));
    EXPECT_EQ(text_of(input()), "");
    EXPECT_EQ(text_of(output()), "");
}

TEST_F(QuorvaneTest, FocusComesBackToTheButtonWhenReactivated) {
    press(VK_TAB);
    ASSERT_TRUE(wait_until([&] { return focus() == button(); }));

    HWND other = CreateWindowExA(0, "STATIC", "elsewhere", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == other; }));
    EXPECT_NE(focus(), button());

    SetForegroundWindow(window_);
    EXPECT_TRUE(wait_until([&] { return GetForegroundWindow() == window_ && focus() == button(); }));
    DestroyWindow(other);
}

}  // namespace
