#include "ui/main_window_qt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include "ui/handlers.h"
#include "ui/text_qt.h"

namespace {

constexpr int kOuterWidth = 592;
constexpr int kOuterHeight = 446;

// The design places and sizes; the layout replaces some of them before the window is seen.
constexpr QRect kInputBox(8, 8, 248, 392);
constexpr QRect kOutputBox(328, 8, 248, 392);
constexpr QRect kButton(264, 176, 56, 48);

bool is_plain_escape(const QKeyEvent& key) {
    return key.key() == Qt::Key_Escape &&
           !(key.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier));
}

}  // namespace

// The top-level widget: closes on Esc and runs the layout whenever its outer size changes.
class WindowFrame final : public QWidget {
public:
    explicit WindowFrame(MainWindow& window) : window_(window) {}

    bool closed() const { return closed_; }

    void lay_out() {
        laid_out_for_ = frameGeometry().size();
        handle_window_resize(window_);
    }

    // Watches itself and every control, so Esc closes the window before any control sees it.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && is_plain_escape(*static_cast<QKeyEvent*>(event))) {
            close();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }

protected:
    bool event(QEvent* event) override {
        const bool handled = QWidget::event(event);
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowActivate: follow_outer_size(); break;
        default: break;
        }
        return handled;
    }

    void closeEvent(QCloseEvent* event) override {
        closed_ = true;
        event->accept();
    }

private:
    // A window manager tells the frame only once the window is shown: the first time it
    // does, the client area gives up the frame's share so the outer size stays the design's.
    void follow_outer_size() {
        if (!fitted_to_frame_ && isVisible()) {
            const QSize frame = frameGeometry().size() - size();
            if (!frame.isNull()) {
                fitted_to_frame_ = true;
                resize(kOuterWidth - frame.width(), kOuterHeight - frame.height());
            }
        }
        if (frameGeometry().size() != laid_out_for_) lay_out();
    }

    MainWindow& window_;
    QSize laid_out_for_;
    bool fitted_to_frame_ = false;
    bool closed_ = false;
};

QtMainWindow::QtMainWindow()
    : frame_(std::make_unique<WindowFrame>(*this)),
      input_(new QPlainTextEdit(frame_.get())),
      output_(new QPlainTextEdit(frame_.get())),
      button_(new QPushButton(QStringLiteral("翻译"), frame_.get())) {
    frame_->setWindowTitle(QStringLiteral("Quorvane"));
    // A move before the window exists places the frame's corner, whatever the frame turns out to be.
    const QRect screen = QApplication::primaryScreen()->geometry();
    frame_->move(screen.x() + (screen.width() - kOuterWidth) / 2, screen.y() + (screen.height() - kOuterHeight) / 2);
    frame_->resize(kOuterWidth, kOuterHeight);
    frame_->installEventFilter(frame_.get());

    QFont font = QApplication::font();
    font.setPixelSize(37);
    for (QPlainTextEdit* box : {input_, output_}) {
        box->setFont(font);
        box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setTabChangesFocus(true);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Text, Qt::black);
        box->setPalette(palette);
        box->installEventFilter(frame_.get());
    }
    // The input box hides its selection while it lacks the focus; the output box keeps showing it.
    QPalette palette = input_->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, Qt::white);
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
    input_->setPalette(palette);

    // Read-only, yet its text can be selected and copied; only a mouse click focuses it.
    output_->setReadOnly(true);
    output_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    output_->setFocusPolicy(Qt::ClickFocus);

    // Never a default button: Enter does not press it, only a click or Space.
    button_->setAutoDefault(false);
    button_->setDefault(false);
    button_->installEventFilter(frame_.get());
    QWidget::setTabOrder(input_, button_);

    input_->setGeometry(kInputBox);
    output_->setGeometry(kOutputBox);
    button_->setGeometry(kButton);
    QObject::connect(button_, &QPushButton::clicked, [this] { handle_translate_click(*this); });

    handle_window_created(*this);
    frame_->lay_out();
}

QtMainWindow::~QtMainWindow() = default;

void QtMainWindow::show() {
    input_->setFocus();
    frame_->show();
    frame_->activateWindow();
}

int QtMainWindow::outer_width() const { return frame_->frameGeometry().width(); }
int QtMainWindow::outer_height() const { return frame_->frameGeometry().height(); }
int QtMainWindow::left(Control c) const { return control(c)->x(); }
int QtMainWindow::top(Control c) const { return control(c)->y(); }
int QtMainWindow::width(Control c) const { return control(c)->width(); }
int QtMainWindow::height(Control c) const { return control(c)->height(); }

Text QtMainWindow::content(Control c) const {
    if (c == Control::按钮1) return text_from(button_->text());
    return text_from(box(c)->toPlainText());
}

void QtMainWindow::set_content(Control c, const Text& text) {
    if (c == Control::按钮1) {
        button_->setText(qstring_from(text));
        return;
    }
    QPlainTextEdit* edit = box(c);
    edit->setPlainText(qstring_from(text));
    edit->moveCursor(QTextCursor::Start);
}

void QtMainWindow::set_enabled(Control c, bool enabled) { control(c)->setEnabled(enabled); }
bool QtMainWindow::closed() const { return frame_->closed(); }

void QtMainWindow::move_to(Control c, int left, int top) { control(c)->move(left, top); }
void QtMainWindow::resize_to(Control c, int width, int height) { control(c)->resize(width, height); }

QWidget* QtMainWindow::control(Control c) const {
    if (c == Control::按钮1) return button_;
    return box(c);
}

QPlainTextEdit* QtMainWindow::box(Control c) const { return c == Control::编辑框2 ? output_ : input_; }
