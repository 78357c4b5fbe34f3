// The floor for start-up: a plain Qt window with 25 child widgets and nothing else, painted
// black where the canvas would be.
#include <QApplication>
#include <QPushButton>
#include <QWidget>

int main(int argc, char** argv) {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(608, 488);
    auto* canvas = new QWidget(&window);
    canvas->setGeometry(4, 4, 480, 480);
    canvas->setAutoFillBackground(true);
    QPalette black = canvas->palette();
    black.setColor(QPalette::Window, Qt::black);
    canvas->setPalette(black);
    for (int i = 0; i < 24; ++i) {
        auto* button = new QPushButton(QStringLiteral("Button"), &window);
        button->setGeometry(490, 4 + i * 20, 110, 18);
    }
    window.move((1024 - 608) / 2, (768 - 488) / 2);
    window.show();
    return app.exec();
}
