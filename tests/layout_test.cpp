// The resize handler against a window that only stores rectangles.
#include <gtest/gtest.h>

#include <map>

#include "ui/handlers.h"

namespace {

struct Rect {
    int left, top, width, height;
    friend bool operator==(const Rect&, const Rect&) = default;
};

void PrintTo(const Rect& r, std::ostream* os) {
    *os << r.width << " x " << r.height << " at " << r.left << ", " << r.top;
}

class FakeWindow final : public MainWindow {
public:
    FakeWindow(int outer_width, int outer_height) : outer_width_(outer_width), outer_height_(outer_height) {}

    int outer_width() const override { return outer_width_; }
    int outer_height() const override { return outer_height_; }
    int left(Control c) const override { return rects_.at(c).left; }
    int top(Control c) const override { return rects_.at(c).top; }
    int width(Control c) const override { return rects_.at(c).width; }
    int height(Control c) const override { return rects_.at(c).height; }
    Text content(Control) const override { return {}; }
    void set_content(Control, const Text&) override {}
    void set_enabled(Control, bool) override {}
    bool closed() const override { return false; }

    Rect rect(Control c) const { return rects_.at(c); }

private:
    void move_to(Control c, int left, int top) override {
        rects_[c].left = left;
        rects_[c].top = top;
    }
    void resize_to(Control c, int width, int height) override {
        rects_[c].width = width;
        rects_[c].height = height;
    }

    int outer_width_, outer_height_;
    // The design places, which the handler partly keeps.
    std::map<Control, Rect> rects_{
        {Control::编辑框1, {8, 8, 248, 392}},
        {Control::编辑框2, {328, 8, 248, 392}},
        {Control::按钮1, {264, 176, 56, 48}},
    };
};

struct LayoutCase {
    int outer_width, outer_height;
    Rect input, output, button;
};

class LayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTest, PlacesTheControlsForTheOuterSize) {
    const LayoutCase& c = GetParam();
    FakeWindow window(c.outer_width, c.outer_height);
    handle_window_resize(window);
    EXPECT_EQ(window.rect(Control::编辑框1), c.input);
    EXPECT_EQ(window.rect(Control::编辑框2), c.output);
    EXPECT_EQ(window.rect(Control::按钮1), c.button);
}

INSTANTIATE_TEST_SUITE_P(
    OuterSizes, LayoutTest,
    testing::Values(
        // The opening size.
        LayoutCase{592, 446, {8, 8, 236, 396}, {336, 8, 236, 396}, {261, 193, 56, 48}},
        // Odd width: the output box takes the spare pixel and the button moves with it.
        LayoutCase{593, 446, {8, 8, 236, 396}, {336, 8, 237, 396}, {262, 193, 56, 48}},
        // Half heights truncate toward zero.
        LayoutCase{592, 447, {8, 8, 236, 397}, {336, 8, 236, 397}, {261, 193, 56, 48}},
        // -0.5 truncates to 0, not -1.
        LayoutCase{119, 446, {8, 8, 0, 396}, {100, 8, 0, 396}, {25, 193, 56, 48}},
        // Negative widths apply as 0, and the applied width feeds the next steps.
        LayoutCase{100, 446, {8, 8, 0, 396}, {100, 8, 0, 396}, {25, 193, 56, 48}},
        // Negative heights apply as 0; a negative top is kept.
        LayoutCase{592, 40, {8, 8, 236, 0}, {336, 8, 236, 0}, {261, -10, 56, 48}},
        LayoutCase{592, 57, {8, 8, 236, 7}, {336, 8, 236, 7}, {261, -1, 56, 48}},
        LayoutCase{592, 59, {8, 8, 236, 9}, {336, 8, 236, 9}, {261, 0, 56, 48}},
        // The sizes used by the window tests.
        LayoutCase{700, 500, {8, 8, 290, 450}, {390, 8, 290, 450}, {315, 220, 56, 48}},
        LayoutCase{100, 40, {8, 8, 0, 0}, {100, 8, 0, 0}, {25, -10, 56, 48}},
        // Far beyond the limits: sizes stop at 32627, and so does the output box's place.
        LayoutCase{70000, 70000, {8, 8, 32627, 32627}, {32627, 8, 32627, 32627}, {32627, 32627, 56, 48}}));

}  // namespace
