// The floor of the start-up benchmark: a bare Qt Widgets window with twenty buttons, the least
// a Qt 6 Widgets program costs to start and to keep.
#include <QApplication>
#include <QGridLayout>
#include <QPushButton>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("floor"));
    auto* grid = new QGridLayout(&window);
    for (int i = 0; i < 20; ++i)
        grid->addWidget(new QPushButton(QStringLiteral("Button %1").arg(i + 1), &window), i / 4, i % 4);
    window.show();
    return QApplication::exec();
}
