// The toolkit's floor: the least a Qt Widgets program does to show a window of the same size.
// With the argument "text" the window also shows one line of text, which is what brings in
// fontconfig and a font: the floor of any window that draws text.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(592, 446);
    if (argc > 1 && std::strcmp(argv[1], "text") == 0) (new QLabel(QStringLiteral("Quorvane"), &window))->move(8, 8);
    window.show();
    return app.exec();
}
