// Keeps the two boxes side by side, each about half the window, and the button between them.
#include "ui/handlers.h"

void handle_window_resize(MainWindow& window) {
    // The outer size, frame and title bar included, not the client area.
    const double W = window.outer_width();
    const double H = window.outer_height();

    window.set_width(Control::编辑框1, truncate_to_int(W / 2 - 60));
    window.set_height(Control::编辑框1, truncate_to_int(H - 50));
    // The applied (limited) width, so a box squeezed to 0 does not push the rest left.
    const double w1 = window.width(Control::编辑框1);
    window.set_left(Control::编辑框2, truncate_to_int(w1 + 100));
    window.set_width(Control::编辑框2, truncate_to_int(W - w1 - 120));
    window.set_height(Control::编辑框2, truncate_to_int(H - 50));
    // The button follows the output box's width, so it moves with it on odd widths.
    const double w2 = window.width(Control::编辑框2);
    window.set_left(Control::按钮1, truncate_to_int(w2 + 25));
    window.set_top(Control::按钮1, truncate_to_int(H / 2 - 30));
}
