// The baseline of the web benchmark: a window with a label and a button, the
// least a Qt Widgets page shows, in a colour the benchmark looks for.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(0xFF, 0x00, 0xFF));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("A minimal Qt Widgets page")));
    layout->addWidget(new QPushButton(QStringLiteral("&Button")));
    window.show();
    return QApplication::exec();
}
