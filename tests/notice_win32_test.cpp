// The notice on Windows, in this process: how it finds its owner, and that it goes by itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "text/events.h"
#include "ui/notice.h"
#include "ui/notice_win32.h"

namespace {

int pumped = 0;

// Counts the event pumps while it lives.
struct PumpCounter {
    PumpCounter() {
        pumped = 0;
        observe_process_events([] { ++pumped; });
    }
    ~PumpCounter() { observe_process_events(nullptr); }
};

struct TopWindow {
    explicit TopWindow(bool visible)
        : handle(CreateWindowExA(0, "STATIC", "notice test", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 0, 0,
                                 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)) {}
    ~TopWindow() { DestroyWindow(handle); }
    HWND handle;
};

TEST(FindProcessWindow, NoTimeAtAllGivesNoWindowWithoutLooking) {
    TopWindow visible(true);
    PumpCounter counter;
    EXPECT_EQ(find_process_window(GetCurrentProcessId(), 0), nullptr);
    EXPECT_EQ(find_process_window(GetCurrentProcessId(), -5), nullptr);
    EXPECT_EQ(pumped, 0);
}

TEST(FindProcessWindow, PassesOverHiddenWindows) {
    TopWindow visible(true);
    TopWindow hidden(false);  // made last, so met first
    EXPECT_EQ(find_process_window(GetCurrentProcessId(), 5000), visible.handle);
}

TEST(FindProcessWindow, WithoutAVisibleWindowGivesUpAtTheLimitPumpingEventsMeanwhile) {
    TopWindow hidden(false);
    PumpCounter counter;
    const DWORD start = GetTickCount();
    EXPECT_EQ(find_process_window(GetCurrentProcessId(), 300), nullptr);
    EXPECT_GE(GetTickCount() - start, 300u);
    EXPECT_GT(pumped, 1);  // round and round the window list, events run after every miss
}

const char kMessage[] = "请输入翻译内容！！！";

struct Sighting {
    HWND box = nullptr;
    HWND owner = nullptr;
    bool owner_enabled = true;
    std::string text;
    DWORD appeared = 0;
};

// On its own thread: waits for this process's notice, notes what it looks like, and presses OK
// at once when asked to (else only if the notice outstays 15 s).
std::thread watch_for_notice(Sighting& seen, bool press_ok) {
    return std::thread([&seen, press_ok] {
        for (int tries = 0; tries < 500 && !seen.box; ++tries) {
            HWND box = FindWindowA("#32770", "友情提醒");
            DWORD process = 0;
            GetWindowThreadProcessId(box, &process);
            if (box && process == GetCurrentProcessId() && IsWindowVisible(box)) {
                seen.appeared = GetTickCount();
                seen.box = box;
            } else {
                Sleep(10);
            }
        }
        if (!seen.box) return;
        seen.owner = GetWindow(seen.box, GW_OWNER);
        seen.owner_enabled = seen.owner && IsWindowEnabled(seen.owner);
        char text[256] = {};
        GetDlgItemTextA(seen.box, 0xFFFF, text, sizeof text);  // the message's static text
        seen.text = text;
        if (!press_ok) {
            // Give it far longer than it should need, then close it so a fault fails instead of hanging.
            for (int tries = 0; tries < 1500 && IsWindow(seen.box); ++tries) Sleep(10);
        }
        if (IsWindow(seen.box)) PostMessageA(seen.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
}

TEST(TimedMessageBox, OwnedByTheVisibleWindowAndGoneAboutFiveSecondsLater) {
    TopWindow window(true);
    Sighting seen;
    std::thread watcher = watch_for_notice(seen, false);
    timed_message_box(kMessage);
    const DWORD returned = GetTickCount();
    watcher.join();

    ASSERT_NE(seen.box, nullptr) << "no notice captioned 友情提醒 appeared";
    EXPECT_EQ(seen.text, kMessage);
    EXPECT_EQ(seen.owner, window.handle);
    EXPECT_FALSE(seen.owner_enabled) << "the owner must take no input while the notice is up";
    EXPECT_FALSE(IsWindow(seen.box));
    EXPECT_TRUE(IsWindowEnabled(window.handle));
    const DWORD shown_ms = returned - seen.appeared;
    EXPECT_GE(shown_ms, 4500u);
    EXPECT_LE(shown_ms, 8000u);
}

TEST(TimedMessageBox, WithoutAWindowItHasNoOwnerAndOkEndsItAtOnce) {
    Sighting seen;
    std::thread watcher = watch_for_notice(seen, true);
    timed_message_box(kMessage);
    const DWORD returned = GetTickCount();
    watcher.join();

    ASSERT_NE(seen.box, nullptr);
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_LT(returned - seen.appeared, 4000u) << "OK should not wait for the timer";
}

}  // namespace
