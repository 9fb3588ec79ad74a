// quorvane.exe used as a person uses it: type into the input box, click 翻译, read both boxes and
// any notice. Runs inside a network namespace in which api.fanyi.baidu.com is the stand-in service;
// QUORVANE_STANDIN_LOG names the stand-in's request log. Needs a display (Wine on Xvfb).
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/win32_driver.h"

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <string>

namespace {

// Types printable ASCII on the keyboard, Shift held where the layout wants it.
void type(const std::string& text) {
    for (char c : text) {
        const SHORT scan = VkKeyScanA(c);
        const bool shift = scan & 0x100;
        if (shift) send_key(VK_SHIFT, false);
        send_key(LOBYTE(scan), false);
        send_key(LOBYTE(scan), true);
        if (shift) send_key(VK_SHIFT, true);
    }
}

// The stand-in's request log as it stands now.
std::string standin_log() {
    const char* path = std::getenv("QUORVANE_STANDIN_LOG");
    if (!path) return {};
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One run of quorvane.exe; ended by force if a test leaves it running.
class TranslateWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("QUORVANE_STANDIN_LOG"), nullptr) << "QUORVANE_STANDIN_LOG is not set";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        const std::string path = quorvane_path();
        ASSERT_TRUE(
            CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
            << "cannot start " << path;
        ASSERT_TRUE(wait_until([&] { return (window_ = find_window_of(process_.dwProcessId, "Quorvane")); }, 20000))
            << "no visible window captioned Quorvane";
        const DWORD thread = GetWindowThreadProcessId(window_, nullptr);
        input_ = GetWindow(window_, GW_CHILD);
        output_ = GetWindow(input_, GW_HWNDNEXT);
        button_ = GetWindow(output_, GW_HWNDNEXT);
        ASSERT_TRUE(wait_until([&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(thread, &info) && info.hwndFocus == input_ && GetForegroundWindow() == window_;
        })) << "the input box never got the focus";
    }

    void TearDown() override { end_program(process_); }

    // Types into the focused input box and waits until it shows the text.
    void type_into_input(const std::string& text) {
        type(text);
        ASSERT_TRUE(wait_until([&] { return text_of(input_) == text; }))
            << "input box shows \"" << text_of(input_) << "\", expected \"" << text << "\"";
    }

    // Clicks 翻译 and waits for the output box to change.
    void translate_and_wait(const std::string& typed) {
        type_into_input(typed);
        const std::string before = text_of(output_);
        click_at(centre_on_screen(button_));
        ASSERT_TRUE(wait_until([&] { return text_of(output_) != before; }, 10000)) << "the output box never changed";
    }

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr, input_ = nullptr, output_ = nullptr, button_ = nullptr;
};

TEST_F(TranslateWin32Test, TypedTextComesBackWithItsTranslationAfterOneSignedRequest) {
    const std::size_t logged = standin_log().size();
    translate_and_wait("hello");
    EXPECT_EQ(text_of(output_), "hello\r\n你好");
    EXPECT_EQ(text_of(input_), "");
    EXPECT_TRUE(IsWindowEnabled(button_));

    // Exactly one request went out, to the service by name, with every byte of q percent-encoded.
    // (The stand-in answers only a correctly signed request with a translation.)
    const std::string sent = standin_log().substr(logged);
    const std::regex get(R"(GET /api/trans/vip/translate\?appid=[^&\s]+&q=%68%65%6C%6C%6F&from=auto&to=auto)"
                         R"(&salt=\d{5}&sign=[0-9a-f]{32} HTTP/1\.[01]\r?\n)");
    EXPECT_EQ(std::distance(std::sregex_iterator(sent.begin(), sent.end(), get), std::sregex_iterator()), 1)
        << "stand-in log since the click:\n"
        << sent;
    EXPECT_TRUE(std::regex_search(sent, std::regex(R"(\nHost: api\.fanyi\.baidu\.com\r?\n)", std::regex::icase)))
        << sent;
}

TEST_F(TranslateWin32Test, FailureNamesTheReasonInANoticeAndKeepsBothBoxes) {
    translate_and_wait("hello");
    ASSERT_EQ(text_of(output_), "hello\r\n你好");

    type_into_input("fault:500 hello");
    click_at(centre_on_screen(button_));
    HWND notice = nullptr;
    ASSERT_TRUE(wait_until([&] { return (notice = find_window_of(process_.dwProcessId, "友情提醒")); }))
        << "no notice captioned 友情提醒";
    const DWORD appeared = GetTickCount();
    EXPECT_EQ(GetWindow(notice, GW_OWNER), window_);
    // The message text is the box's static control 0xFFFF.
    const std::string said = text_of(GetDlgItem(notice, 0xFFFF));
    const std::string prefix = "翻译失败：";
    EXPECT_TRUE(said.rfind(prefix, 0) == 0 && said.size() > prefix.size()) << "notice says \"" << said << "\"";

    EXPECT_TRUE(wait_until([&] { return !IsWindow(notice); }, 10000)) << "the notice did not close itself";
    const DWORD shown_ms = GetTickCount() - appeared;
    EXPECT_GE(shown_ms, 4500u);
    EXPECT_LE(shown_ms, 8000u);
    EXPECT_EQ(text_of(input_), "fault:500 hello");
    EXPECT_EQ(text_of(output_), "hello\r\n你好");
    EXPECT_TRUE(IsWindowEnabled(button_));
}

}  // namespace
