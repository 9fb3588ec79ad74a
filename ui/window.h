// The control operations the handlers use; each build's main window implements them.
#pragma once

#include "text/text.h"

enum class Control { 编辑框1, 编辑框2, 按钮1 };

class MainWindow {
public:
    virtual ~MainWindow() = default;

    // Outer size, frame and title bar included.
    virtual int outer_width() const = 0;
    virtual int outer_height() const = 0;

    // Outer rectangle of a control, in the main window's client coordinates.
    virtual int left(Control c) const = 0;
    virtual int top(Control c) const = 0;
    virtual int width(Control c) const = 0;
    virtual int height(Control c) const = 0;

    // Places are limited to -32627..32627 and sizes to 0..32627 before they are applied,
    // so a read after a set gives the limited value.
    void set_left(Control c, int v) { move_to(c, limit_place(v), top(c)); }
    void set_top(Control c, int v) { move_to(c, left(c), limit_place(v)); }
    void set_width(Control c, int v) { resize_to(c, limit_size(v), height(c)); }
    void set_height(Control c, int v) { resize_to(c, width(c), limit_size(v)); }

    // Content of an edit box; CR LF is a line break.
    virtual Text content(Control c) const = 0;
    virtual void set_content(Control c, const Text& text) = 0;

    // The button is disabled while a translation is in flight.
    virtual void set_enabled(Control c, bool enabled) = 0;

    // True once the user has closed the window; the controls must not be touched then.
    virtual bool closed() const = 0;

private:
    static int limit_place(int v) { return v < -32627 ? -32627 : v > 32627 ? 32627 : v; }
    static int limit_size(int v) { return v < 0 ? 0 : v > 32627 ? 32627 : v; }
    virtual void move_to(Control c, int left, int top) = 0;
    virtual void resize_to(Control c, int width, int height) = 0;
};
