// nivra-configurator: starts once per user, creates the main window and runs it.
#include "app/options.h"
#include "ui/desktop.h"
#include "ui/device_port.h"
#include "ui/main_window.h"
#include "ui/single_instance.h"
#include "ui/table_skin.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("nivra-configurator"));
    QApplication::setApplicationDisplayName(QLatin1String(nivra::ui::kApplicationTitle));

    const nivra::app::ParsedOptions parsed = nivra::app::parseOptions(QApplication::arguments().mid(1));
    if (!parsed.options) {
        std::fprintf(stderr, "nivra-configurator: %s\nusage: nivra-configurator [--simulate[=MEMFILE]] [--trace FILE]\n",
                     qPrintable(parsed.error));
        return 2;
    }

    nivra::ui::SingleInstance instance;
    if (instance.askRunningCopyToRaise()) {
        std::fprintf(stderr, "nivra-configurator: already running; its window was brought forward\n");
        return 0;
    }

    nivra::ui::TableSkin skin;
    nivra::ui::NoDevicePort device;
    nivra::ui::QtDesktop desktop;
    nivra::ui::MainWindow window(skin, device, desktop);
    instance.listen([&window] {
        window.raiseFromSecondStart();
        std::fprintf(stderr, "nivra-configurator: raised by a second start\n");
    });
    window.show();
    return QApplication::exec();
}
