// Start-up: the one window, then the event loop until it is closed.
#include <QApplication>
#include <QFont>

#include "ui/main_window_qt.h"

int main(int, char** argv) {
    // The program takes nothing from its command line, not even Qt's own options.
    int argc = 1;
    QApplication app(argc, argv);
    // The GUI font is a Chinese face, as on a Chinese desktop: the captions then need no
    // fallback search through the system's fonts, which costs start-up time and memory.
    QFont font(QStringList{QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setStyleHint(QFont::SansSerif);
    QApplication::setFont(font);
    QtMainWindow window;
    window.show();
    return app.exec();
}
