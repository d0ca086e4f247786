// nivra-configurator: starts once per user, creates the main window and runs it.
#include "app/font_warmup.h"
#include "app/options.h"
#include "ui/desktop.h"
#include "ui/desktop_style.h"
#include "ui/main_window.h"
#include "ui/single_instance.h"
#include "ui/start_language.h"
#include "ui/table_skin.h"
#include "macro/library.h"
#include "settings/mouse_session.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace {
const std::string kUsageText = std::string(
    "usage: nivra-configurator [--simulate[=MEMFILE]] [--simulate-fault KIND@N]... [--trace FILE] [--language N]\n"
    "  --simulate[=MEMFILE]  attach the simulated mouse (memory kept in MEMFILE)\n"
    "  --simulate-fault KIND@N  the simulated mouse fails report N (counted as the trace numbers\n"
    "                        them): refuse-set, fail-get, vanish or vanish-return (back at the\n"
    "                        next discovery)\n"
    "  --trace FILE          write every report to FILE\n") + nivra::ui::kLanguageOptionHelp +
    "  --version             show the version\n"
    "  --help                show this text\n";
const char* const kUsage = kUsageText.c_str();

// The start language as the options or the desktop give it; a bad option gives the
// desktop's, and is refused once the application object reads the options.
int peekStartLanguage(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const nivra::ui::LanguageOption language = nivra::ui::takeLanguageOption(arguments);
    return nivra::ui::chooseStartLanguage(language.language, nivra::ui::savedLanguagePath(),
                                          nivra::ui::desktopLocaleName());
}

// Runs its work when it leaves scope, on every way out of the scope.
class AtExit {
public:
    explicit AtExit(std::function<void()> work) : work_(std::move(work)) {}
    ~AtExit() { work_(); }
    AtExit(const AtExit&) = delete;
    AtExit& operator=(const AtExit&) = delete;

private:
    std::function<void()> work_;
};
}  // namespace

int main(int argc, char** argv) {
    // Before the application object, so --help and --version work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("%s", kUsage);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("nivra-configurator %s\n", NIVRA_VERSION);
            return 0;
        }
    }
    nivra::app::FontConfigWarmUp fonts;
    // The skin's tables are read and the start page's pictures decoded while the application
    // object connects to the display. The language is looked at here only to choose the
    // pictures; the options are read properly below.
    std::optional<nivra::ui::TableSkin> skin(std::in_place);
    nivra::ui::MainWindow::prefetchStartPictures(*skin, peekStartLanguage(argc, argv));
    QApplication app(argc, argv);
    // Qt may ask fontconfig for its configuration while the application object is destroyed;
    // the warm-up has ended by then on every way out of main, the early ones included.
    const AtExit fontsJoined([&fonts] { fonts.join(); });
    // The skin holds pixmaps: it goes before the application object.
    const AtExit skinGone([&skin] { skin.reset(); });
    QApplication::setApplicationName(QStringLiteral("nivra-configurator"));
    QApplication::setApplicationVersion(QStringLiteral(NIVRA_VERSION));
    // The installed desktop entry's name: Wayland desktops match the window to it.
    QGuiApplication::setDesktopFileName(QStringLiteral(NIVRA_APP_ID));
    QApplication::setApplicationDisplayName(QLatin1String(nivra::ui::kApplicationTitle));
    nivra::ui::applyDesktopStyle(app);

    QStringList arguments = QApplication::arguments().mid(1);
    const nivra::ui::LanguageOption language = nivra::ui::takeLanguageOption(arguments);
    const nivra::app::ParsedOptions parsed = nivra::app::parseOptions(arguments);
    const QString badArgument = language.error.isEmpty() ? parsed.error : language.error;
    if (!badArgument.isEmpty() || !parsed.options) {
        std::fprintf(stderr, "nivra-configurator: %s\n%s", qPrintable(badArgument), kUsage);
        return 2;
    }
    const int startLanguage = nivra::ui::chooseStartLanguage(language.language, nivra::ui::savedLanguagePath(),
                                                             nivra::ui::desktopLocaleName());

    // Listen before the window is built, so a second start during start-up finds this copy.
    nivra::ui::SingleInstance instance;
    std::function<void()> raise;
    using Listen = nivra::ui::SingleInstance::Listen;
    const bool running = instance.askRunningCopyToRaise();
    const Listen listening = running ? Listen::OtherCopy : instance.listen([&raise] {
        if (raise) raise();
        std::fprintf(stderr, "nivra-configurator: raised by a second start\n");
    });
    if (listening == Listen::OtherCopy) {
        std::fprintf(stderr, "nivra-configurator: already running; its window was brought forward\n");
        return 0;
    }
    if (listening == Listen::Failed)
        std::fprintf(stderr, "nivra-configurator: cannot watch for a second start; running anyway\n");

    const nivra::ui::GlobalLayout global = skin->globalLayout();
    nivra::ModelConfig config;
    config.reserveManufacturerId = static_cast<std::uint8_t>(global.reserveManufacturerId);
    config.reserveProductId = static_cast<std::uint8_t>(global.reserveProductId);
    config.macroLibraryFile = nivra::macro::libraryFilePath(global.macroPath.toStdString());
    config.gunLayout = nivra::GunLayout{global.gun6Scopes, global.gun7Scopes};
    std::string error;
    auto session = nivra::MouseSession::open(parsed.options->session(), config, &error);
    if (!session) {
        std::fprintf(stderr, "nivra-configurator: %s\n", error.c_str());
        return 1;
    }
    fonts.join();
    nivra::ui::QtDesktop desktop;
    nivra::ui::MainWindow window(*skin, *session, desktop, nullptr, startLanguage);
    raise = [&window] { window.raiseFromSecondStart(); };
    window.setLanguageFile(nivra::ui::savedLanguagePath());
    window.show();
    std::fprintf(stderr, "nivra-configurator: window shown\n");
    const int rc = QApplication::exec();
    if (!session->close(&error)) {
        std::fprintf(stderr, "nivra-configurator: %s\n", error.c_str());
        return 1;
    }
    return rc;
}
