// The main window on Qt Widgets: a top-level widget and three controls placed by hand.
#pragma once

#include <memory>

#include "ui/window.h"

class QPlainTextEdit;
class QPushButton;
class QWidget;
class WindowFrame;

class QtMainWindow final : public MainWindow {
public:
    // Builds the window and its controls, hidden, centred, laid out for its opening size.
    QtMainWindow();
    ~QtMainWindow() override;

    // Shows and activates the window with the focus in the input box.
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
    bool closed() const override;

private:
    void move_to(Control c, int left, int top) override;
    void resize_to(Control c, int width, int height) override;
    QWidget* control(Control c) const;
    QPlainTextEdit* box(Control c) const;

    std::unique_ptr<WindowFrame> frame_;
    QPlainTextEdit* input_;
    QPlainTextEdit* output_;
    QPushButton* button_;
};
