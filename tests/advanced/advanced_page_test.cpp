// The Advanced page bound to its models: clicks reach the simulated mouse, and the controls
// follow the models. Headless; controls are found by objectName.
#include "tests/advanced/advanced_rig.h"
#include "tests/advanced/page_fixture.h"
#include "tests/advanced/pointer_fakes.h"
#include "tests/ui/qt_app.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

namespace nivra {
namespace {

using namespace nivra::testing;
using nivra::testing::FakeDesktop;

struct PageRig {
    PageRig() : pointer(PointerStore(QString::fromStdString((dir.path() / "pointer.ini").string())), &desktop) {
        desktop.held.insert(PointerSetting::WholeScreen);
        skinPage(skin, page, 3);
    }
    template <typename W = QWidget>
    W* child(const QString& name) {
        W* w = page.findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void click(const QString& name) {
        if (QWidget* w = child(name)) QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(2, 2));
    }
    QString pictureOf(const QString& name) { return ui::skinPictureOf(child(name)); }

    QApplication& app = ui::test::qtApp();
    AdvancedRig r;
    TempDir dir;
    FakeDesktop desktop;
    PointerSettings pointer;
    StyledSkin skin{1};
    ui::AdvancedPage page{skin, nullptr, {&r.cpi, &r.fire, &pointer}};
};

TEST(AdvancedPage, ACpiSegmentClickWritesTheLevelValue) {
    PageRig p;
    // Built-in image 1: level 3 holds index 9 (byte 45 = 0xB9); one lit segment style.
    EXPECT_EQ(p.pictureOf("Img_DPI3_10"), "Bar2_E");
    p.click("Img_DPI3_7");
    EXPECT_EQ(p.r.mouse()[45] & 0x0F, 6);
    EXPECT_EQ(p.pictureOf("Img_DPI3_7"), "Bar2_E");
    EXPECT_EQ(p.pictureOf("Img_DPI3_10"), "Bar2_D");
    EXPECT_EQ(p.child<QLabel>("lbl_DPI3Value")->text(), "1600");
    // Level 6 is disabled: its bar does not react.
    p.r.rig.mark();
    p.click("Img_DPI6_2");
    EXPECT_TRUE(p.r.rig.lines().empty());
}

TEST(AdvancedPage, AReportRateChoiceRestartsTheMouseAndBlocksThePageMeanwhile) {
    PageRig p;
    EXPECT_EQ(p.pictureOf("Img_Rep4"), "RdS_E");
    bool blockedDuringRestart = false;
    QObject::connect(&p.r.cpi, &CpiModel::changed, [&] {
        if (p.r.cpi.restarting()) blockedDuringRestart = p.child("Blocker_2")->isVisible() || !p.page.isVisible();
    });
    p.click("lbl_Rep2");
    EXPECT_EQ((p.r.mouse()[4] >> 4) & 3, 1);
    EXPECT_EQ(p.r.rig.mouse.restartCount(), 1);
    EXPECT_TRUE(blockedDuringRestart);
    EXPECT_FALSE(p.child("Blocker_2")->isVisible());
}

TEST(AdvancedPage, FireKeyEditsAndPointerControlsFollowTheirModels) {
    PageRig p;
    auto* repeat = p.child<QLineEdit>("Edt_Repeat1");
    EXPECT_EQ(repeat->text(), "3");  // built-in image 1: Fire Key 1 = 3 clicks
    repeat->setFocus();
    repeat->selectAll();
    QTest::keyClicks(repeat, "1");
    EXPECT_EQ(repeat->text(), "1");
    emit repeat->editingFinished();
    EXPECT_EQ(repeat->text(), "2");
    EXPECT_EQ(p.r.mouse()[486], 1);

    p.click("Img_Spd4");
    EXPECT_EQ(p.pointer.speedStep(), 4);
    EXPECT_EQ(p.pictureOf("Img_Spd4"), "Bar1_E");
    p.click("lbl_IsScreen");
    EXPECT_TRUE(p.child<QCheckBox>("cb_IsScreen")->isChecked());
    // The greyed wheel scale takes no clicks.
    EXPECT_TRUE(p.child("Img_ScrSpd3")->testAttribute(Qt::WA_TransparentForMouseEvents));
    p.page.MseScrSpd_OnClick(3);
    EXPECT_EQ(p.pointer.wheelStep(), -1);
}

TEST(AdvancedPage, PointerControlsFollowTheDesktopAndSayWhatItLacks) {
    PageRig p;
    p.desktop.held = {PointerSetting::Speed, PointerSetting::Precision};
    p.desktop.stored = {.speed = 10, .precision = true};
    p.page.show();  // showing the page reads the desktop
    EXPECT_EQ(p.pictureOf("Img_Spd6"), "Bar1_E");
    EXPECT_TRUE(p.child<QCheckBox>("cb_IsControl")->isChecked());
    EXPECT_EQ(p.child("Img_Spd3")->toolTip(), "");
    EXPECT_EQ(p.child("Img_Spd3")->graphicsEffect(), nullptr);
    for (const char* name : {"Img_DbSpd3", "Img_ScrSpd3", "lbl_IsScreen"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(p.child(name)->toolTip(), "Fakedesk keeps no such setting");
        // Under the mouse for its tooltip, taking no effect.
        EXPECT_FALSE(p.child(name)->testAttribute(Qt::WA_TransparentForMouseEvents));
    }
    EXPECT_NE(p.child("Img_DbSpd3")->graphicsEffect(), nullptr);
    EXPECT_NE(p.child("Img_IsScreen")->graphicsEffect(), nullptr);
    p.click("Img_DbSpd3");
    p.click("lbl_IsScreen");
    EXPECT_TRUE(p.desktop.written.empty());

    // A change made in the desktop's settings shows when the page is shown again.
    p.page.hide();
    p.desktop.stored = {.speed = 20, .precision = false};
    p.page.show();
    EXPECT_EQ(p.pictureOf("Img_Spd11"), "Bar1_E");
    EXPECT_FALSE(p.child<QCheckBox>("cb_IsControl")->isChecked());

    // No desktop backend: every control says which desktop runs.
    PointerSettings none(PointerStore(QString::fromStdString((p.dir.path() / "none.ini").string())), nullptr);
    p.page.setModels({&p.r.cpi, &p.r.fire, &none});
    EXPECT_EQ(p.child("Img_Spd3")->toolTip(),
              QStringLiteral("The pointer settings of %1 cannot be changed here").arg(runningDesktopName()));
}

}  // namespace
}  // namespace nivra
