// The baseline of the start-up benchmark: a bare Qt window of the main window's size, which
// reports when it is first shown and ends, as the program does with --report-shown. With
// --with-text it also shows one line of text, so that it pays for the font database too.
#include "app/ShownReporter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[]) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(580, 340);
    if (argc > 1 && QByteArrayView(argv[1]) == "--with-text") {
        auto *label = new QLabel(QStringLiteral("NUVAR POS ZELVİ IP PROGRAMI"), &window);
        QFont font(QStringLiteral("Arial"), 24);
        font.setBold(true);
        label->setFont(font);
        label->setGeometry(26, 10, 533, 39);
    }
    ShownReporter reporter(&window, sinceStart);
    window.show();
    return QApplication::exec();
}
