// The main window on user32: a plain top-level window holding two EDIT boxes and a BUTTON.
#pragma once

#include <windows.h>

#include "ui/window.h"

class Win32MainWindow final : public MainWindow {
public:
    Win32MainWindow() = default;
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    // Hidden, centred on the primary screen, 592 x 446 outside. False when it cannot be made.
    bool create(HINSTANCE instance);
    // The three controls at their design places, shown without taking the activation.
    void create_controls();
    // Created, moved and size-changed, once each, so the layout runs before anything is seen.
    void raise_startup_events();
    // Shows and activates the window; the focus lands in the input box.
    void show();

    int outer_width() const override;
    int outer_height() const override;
    int left(Control c) const override;
    int top(Control c) const override;
    int width(Control c) const override;
    int height(Control c) const override;
    Text content(Control c) const override;
    void set_content(Control c, const Text& text) override;
    void set_enabled(Control c, bool enabled) override;
    bool closed() const override { return closed_; }

private:
    void move_to(Control c, int left, int top) override;
    void resize_to(Control c, int width, int height) override;

    static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
    static LRESULT CALLBACK control_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                         DWORD_PTR self) noexcept;
    LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam);
    bool on_control_key(HWND control, UINT message, WPARAM wparam);
    HWND handle(Control c) const { return controls_[static_cast<int>(c)]; }
    RECT outer_rect(Control c) const;
    POINT client_origin(Control c) const;
    void focus_next_tab_stop(HWND from, bool backward);
    void restore_focus();

    HWND window_ = nullptr;
    HWND controls_[3] = {};
    HFONT box_font_ = nullptr;
    HWND last_focus_ = nullptr;  // the control to give the focus back to on activation
    bool controls_ready_ = false;
    bool closed_ = false;
};
