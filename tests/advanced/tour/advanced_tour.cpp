// advanced_tour LANGUAGE DPILED_STATUS: the Advanced page on its own with the simulated mouse,
// for screenshots in a language (1..3) and bar style (1 one lit segment, 0 progress).
#include "tests/advanced/advanced_rig.h"
#include "tests/advanced/page_fixture.h"
#include "tests/advanced/pointer_fakes.h"
#include "ui/desktop_style.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    nivra::ui::applyDesktopStyle(app);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: advanced_tour LANGUAGE DPILED_STATUS\n");
        return 2;
    }
    using namespace nivra;
    nivra::testing::AdvancedRig r;
    nivra::testing::TempDir dir;
    // A desktop that keeps every setting but whole-screen scrolling.
    nivra::testing::FakeDesktop desktop;
    PointerSettings pointer(PointerStore(QString::fromStdString((dir.path() / "pointer.ini").string())), &desktop);
    pointer.MseSpd_OnClick(6);
    pointer.MseDbSpd_OnClick(7);
    pointer.MseScrSpd_OnClick(3);
    pointer.lbl_IsControlClick();
    nivra::testing::StyledSkin skin(args[2].toInt());
    ui::AdvancedPage page(skin, nullptr, {&r.cpi, &r.fire, &pointer});
    nivra::testing::skinPage(skin, page, args[1].toInt());
    r.cpi.setLevelValue(2, 5);
    page.setWindowTitle(QStringLiteral("Advanced"));
    page.show();
    return QApplication::exec();
}
