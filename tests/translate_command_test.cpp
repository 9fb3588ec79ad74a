// The Translate command against a fake window, a scripted translation and a recorded notice.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "client/translate.h"
#include "ui/handlers.h"
#include "ui/notice.h"

namespace {

class FakeWindow final : public MainWindow {
public:
    int outer_width() const override { return 592; }
    int outer_height() const override { return 446; }
    int left(Control) const override { return 0; }
    int top(Control) const override { return 0; }
    int width(Control) const override { return 0; }
    int height(Control) const override { return 0; }
    Text content(Control c) const override {
        touched_after_close |= closed_;
        return c == Control::编辑框1 ? input : output;
    }
    void set_content(Control c, const Text& text) override {
        touched_after_close |= closed_;
        (c == Control::编辑框1 ? input : output) = text;
    }
    void set_enabled(Control, bool enabled) override {
        touched_after_close |= closed_;
        button_enabled = enabled;
    }
    bool closed() const override { return closed_; }
    void close() { closed_ = true; }

    Text input, output;
    bool button_enabled = true;
    mutable bool touched_after_close = false;

private:
    void move_to(Control, int, int) override {}
    void resize_to(Control, int, int) override {}
    bool closed_ = false;
};

// What translate_text and timed_message_box do in the current test.
std::function<Translation(const Text&)> translation;
std::vector<Text> sent;
std::vector<Text> notices;

class TranslateCommandTest : public testing::Test {
protected:
    void SetUp() override {
        sent.clear();
        notices.clear();
        translation = [](const Text&) { return Translation{true, "你好", {}}; };
    }
    FakeWindow window;
};

TEST_F(TranslateCommandTest, ShowsWhatWasSentAndItsTranslationAndEmptiesTheInput) {
    window.input = "hello\r\nworld";
    window.output = "earlier result";
    handle_translate_click(window);
    EXPECT_EQ(sent, std::vector<Text>{"hello\r\nworld"});
    EXPECT_EQ(window.output, Text("hello\r\nworld\r\n你好"));
    EXPECT_EQ(window.input, Text());
    EXPECT_TRUE(window.button_enabled);
    EXPECT_TRUE(notices.empty());
}

TEST_F(TranslateCommandTest, EmptyInputShowsTheNoticeAndChangesNothing) {
    window.output = "earlier result";
    handle_translate_click(window);
    EXPECT_EQ(notices, std::vector<Text>{"请输入翻译内容！！！"});
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(window.output, Text("earlier result"));
    EXPECT_TRUE(window.button_enabled);
}

TEST_F(TranslateCommandTest, BlanksAreSentLikeAnyText) {
    window.input = " \r\n";
    handle_translate_click(window);
    EXPECT_EQ(sent, std::vector<Text>{" \r\n"});
}

TEST_F(TranslateCommandTest, FailureShowsTheReasonAndKeepsBothBoxes) {
    translation = [](const Text&) { return Translation{false, {}, "网络不通"}; };
    window.input = "hello";
    window.output = "earlier result";
    handle_translate_click(window);
    EXPECT_EQ(notices, std::vector<Text>{"翻译失败：网络不通"});
    EXPECT_EQ(window.input, Text("hello"));
    EXPECT_EQ(window.output, Text("earlier result"));
    EXPECT_TRUE(window.button_enabled);
}

// While the reply is awaited the window's events run: the user may type, or close the window.
TEST_F(TranslateCommandTest, ButtonIsOffWhileTheTranslationIsInFlight) {
    bool enabled_in_flight = true;
    translation = [&](const Text&) {
        enabled_in_flight = window.button_enabled;
        return Translation{true, "你好", {}};
    };
    window.input = "hello";
    handle_translate_click(window);
    EXPECT_FALSE(enabled_in_flight);
    EXPECT_TRUE(window.button_enabled);
}

TEST_F(TranslateCommandTest, TypingDuringTheTranslationIsKept) {
    translation = [&](const Text&) {
        window.input = "hello again";
        return Translation{true, "你好", {}};
    };
    window.input = "hello";
    handle_translate_click(window);
    EXPECT_EQ(window.output, Text("hello\r\n你好"));
    EXPECT_EQ(window.input, Text("hello again"));
}

TEST_F(TranslateCommandTest, ClosingTheWindowDuringTheTranslationLeavesTheControlsAlone) {
    for (bool ok : {true, false}) {
        FakeWindow closing;
        translation = [&](const Text&) {
            closing.close();
            return Translation{ok, "你好", "网络不通"};
        };
        closing.input = "hello";
        notices.clear();
        handle_translate_click(closing);
        EXPECT_FALSE(closing.touched_after_close) << "ok=" << ok;
        EXPECT_TRUE(notices.empty()) << "ok=" << ok;
    }
}

}  // namespace

Translation translate_text(const Text& source) {
    sent.push_back(source);
    return translation(source);
}

void timed_message_box(const Text& text) { notices.push_back(text); }
