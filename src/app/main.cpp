#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral(ZELVI_PRODUCT_NAME));

    QWidget window;
    window.setWindowTitle(QStringLiteral(ZELVI_PRODUCT_NAME));
    auto *layout = new QVBoxLayout(&window);
    auto *title = new QLabel(QStringLiteral("NUVAR POS ZELVİ IP PROGRAMI"), &window);
    title->setTextFormat(Qt::PlainText);
    layout->addWidget(title);
    window.show();
    return app.exec();
}
