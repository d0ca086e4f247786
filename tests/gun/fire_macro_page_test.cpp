// The gun page bound to its model, headless, controls found by objectName: gun selection and
// hover pictures, the columns per gun, edits through the model's limits, the colour choice,
// the keep-left option, and Confirm reaching the mouse.
#include "tests/gun/gun_rig.h"
#include "tests/ui/qt_app.h"

#include "ui/fire_macro_page.h"
#include "ui/light_page.h"
#include "ui/skin_button.h"
#include "ui/table_skin.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace nivra {
namespace {

using namespace nivra::testing;

struct PageRig {
    explicit PageRig(const Image& memory = builtinImage(1)) : r(memory) {
        for (const auto& [name, pictureName] : skin.startPictures())
            for (QLabel* l : page.findChildren<QLabel*>(name)) ui::setSkinPicture(l, skin, pictureName);
        skin.applyLanguage(3, Page::Game, {});
        for (const auto& [name, c] : skin.layout())
            for (QWidget* w : page.findChildren<QWidget*>(name)) ui::applyControlSkin(w, c, skin);
        page.finishLayout();
        page.resize(1030, 662);
        r.gun.open();
        page.attach(r.gun);
        page.show();
    }
    template <typename W = QWidget>
    W* child(const QString& name) {
        W* w = page.findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void click(const QString& name) {
        if (QWidget* w = child(name)) QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4, 4));
    }
    void type(const QString& edit, const QString& text) {
        auto* e = child<QLineEdit>(edit);
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    QString pictureOf(const QString& name) { return ui::skinPictureOf(child(name)); }
    QString textOf(const QString& edit) { return child<QLineEdit>(edit)->text(); }

    QApplication& app = ui::test::qtApp();
    GunRig r;
    ui::TableSkin skin;
    ui::FireMacroPage page{skin, nullptr};
};

TEST(FireMacroPage, SelectingAGunShowsItsColumnsPicturesAndScopes) {
    PageRig p;
    EXPECT_EQ(p.pictureOf("Img_Fire1"), "Gun1_02");
    EXPECT_EQ(p.textOf("Edt_FireY1"), "5");
    EXPECT_EQ(p.textOf("Edt_FireTime1"), "50");
    EXPECT_FALSE(p.child("Edt_FireCnt2")->isVisible());
    // A gun without scopes shows no scope row: no caption and no empty box.
    for (const char* name : {"GunModeBox", "lbl_GunModeTitle"}) EXPECT_FALSE(p.child(name)->isVisible()) << name;
    EXPECT_EQ(p.child<QLabel>("Btn_Fire7")->text(), "7.62mm Fire");
    EXPECT_EQ(p.child<QLabel>("lbl_FireColumn6")->text(), "Interval (ms)");

    p.click("Btn_Fire7");
    EXPECT_TRUE(p.child<QRadioButton>("rb_Fire7")->isChecked());
    EXPECT_EQ(p.pictureOf("Img_Fire7"), "Gun7_02");
    EXPECT_EQ(p.pictureOf("Img_Fire1"), "Gun1_01");
    for (const char* name : {"Edt_FireCnt3", "Edt_FireY3Offset", "IB_FireColor3", "Img_GunMode3", "Img_GunMode5"})
        EXPECT_TRUE(p.child(name)->isVisible()) << name;
    for (const char* name : {"Img_GunMode1", "Img_GunMode2"}) EXPECT_FALSE(p.child(name)->isVisible()) << name;
    // Its box holds the caption and the scope pictures.
    const QRect box = p.child("GunModeBox")->geometry();
    EXPECT_TRUE(p.child("GunModeBox")->isVisible());
    for (const char* name : {"lbl_GunModeTitle", "Img_GunMode3", "Img_GunMode5"})
        EXPECT_TRUE(box.contains(p.child(name)->geometry())) << name;
    EXPECT_EQ(p.textOf("Edt_FireY3"), "6");

    // Hover lights a gun; leaving puts its normal picture back unless it is the selected one.
    QEvent leave(QEvent::Leave);
    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
    QApplication::sendEvent(p.child("Btn_Fire3"), &enter);
    EXPECT_EQ(p.pictureOf("Img_Fire3"), "Gun3_02");
    QApplication::sendEvent(p.child("Btn_Fire3"), &leave);
    EXPECT_EQ(p.pictureOf("Img_Fire3"), "Gun3_01");
    QApplication::sendEvent(p.child("Btn_Fire7"), &leave);
    EXPECT_EQ(p.pictureOf("Img_Fire7"), "Gun7_02");
}

TEST(FireMacroPage, EditsFollowTheLimitsAndConfirmSendsThem) {
    PageRig p;
    p.type("Edt_FireX1Offset", "40");
    p.type("Edt_FireX1", "100");
    EXPECT_EQ(p.textOf("Edt_FireX1"), "87");
    p.type("Edt_FireCnt1", "300");
    EXPECT_EQ(p.textOf("Edt_FireCnt1"), "255");
    EXPECT_EQ(p.r.work().fireMacroBodies[0][7], 87);

    std::optional<QColor> answer = QColor(0x12, 0x34, 0x56);
    p.page.chooseColour = [&](const QColor&) { return answer; };
    p.click("IB_FireColor1");
    EXPECT_EQ(p.page.findChild<ui::ColourSwatch*>("cs_FireColor1")->colour(), QColor(0x12, 0x34, 0x56));

    p.click("lbl_FireSelLeft");
    EXPECT_FALSE(p.child<QCheckBox>("cb_FireSelLeft")->isChecked());
    EXPECT_EQ(p.pictureOf("Img_FireSelLeft"), "CbS_D");

    int closed = 0;
    QObject::connect(&p.r.gun, &GunModel::closed, [&] { ++closed; });
    p.click("Btn_FireConfirm");
    EXPECT_EQ(closed, 1);
    const Image m = p.r.mouse();
    EXPECT_EQ(m[1696 + 7], 87);
    EXPECT_EQ(m[1696 + 5], 255);
    EXPECT_EQ(m[171], 40);
    EXPECT_EQ((std::vector<std::uint8_t>{m[57], m[58], m[59]}), (std::vector<std::uint8_t>{0x12, 0x34, 0x56}));
}

TEST(FireMacroPage, AValueTheMacroLacksCannotBeEdited) {
    Image img = builtinImage(1);
    std::fill(img.begin() + 1696, img.begin() + 1728, 0);
    img[1696] = 0xA1;  // a press and nothing else
    PageRig p(img);
    for (const char* name : {"Edt_FireCnt1", "Edt_FireX1", "Edt_FireY1", "Edt_FireTime1"})
        EXPECT_FALSE(p.child(name)->isEnabled()) << name;
    EXPECT_TRUE(p.child("Edt_FireX1Offset")->isEnabled());
    EXPECT_EQ(p.child("Edt_FireCnt1")->toolTip(), "This fire macro has no such value");
}

}  // namespace
}  // namespace nivra
