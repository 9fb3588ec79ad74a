// The self-closing notice on Qt: a modal message box owned by the program's own window.
#include "ui/notice.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdint>

#include "text/events.h"
#include "ui/notice_qt.h"
#include "ui/text_qt.h"

namespace {
constexpr int kDisplayMs = 5000;
constexpr std::int32_t kOwnerSearchMs = 1000;
}  // namespace

QWidget* find_process_window(std::int32_t limit_ms) {
    const std::int32_t start = uptime_ms();
    for (;;) {
        // Unsigned difference: the millisecond clock may wrap during the search.
        const auto elapsed =
            static_cast<std::int32_t>(static_cast<std::uint32_t>(uptime_ms()) - static_cast<std::uint32_t>(start));
        if (elapsed >= limit_ms) return nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible()) return window;
        }
        process_events();
    }
}

void timed_message_box(const Text& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("友情提醒"), qstring_from(text), QMessageBox::Ok,
                    find_process_window(kOwnerSearchMs));
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &box, &QMessageBox::accept);
    timer.start(kDisplayMs);
    box.exec();
}
