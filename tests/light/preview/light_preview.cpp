// light_preview TYPE LANGUAGE: the Breathing Light page on a simulated mouse with an RGB,
// Sync or ZK LED controller, in a window language 1..3, for screenshots.
#include "tests/light/light_window.h"
#include "ui/desktop_style.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    nivra::ui::applyDesktopStyle(app);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: light_preview RGB|Sync|ZK LANGUAGE\n");
        return 2;
    }
    std::uint8_t byte165 = 0x04, mask = 0x3F;  // RGB, Blend
    if (args[1] == QLatin1String("Sync")) byte165 = 0x41, mask = 0x07;
    if (args[1] == QLatin1String("ZK")) byte165 = 0xF5, mask = 0x37;
    nivra::testing::LightWindow w(nivra::testing::imageWithLighting(byte165, mask), args[2].toInt());
    w.page.show();
    return QApplication::exec();
}
