// Start-up: the one window, then the event loop until it is closed.
#include <QApplication>

#include "ui/main_window_qt.h"

int main(int, char** argv)
{
    // The program takes nothing from its command line, not even Qt's own options.
    int argc = 1;
    QApplication app(argc, argv);
    QtMainWindow window;
    window.show();
    return app.exec();
}
