// The engineer tab's gun offsets bound to the gun model: a typed offset is a live write, and
// the edits follow offsets changed elsewhere. Headless; controls found by objectName.
#include "tests/gun/gun_rig.h"
#include "tests/ui/qt_app.h"

#include "ui/engineer_page.h"

#include <QLineEdit>
#include <QTest>

namespace nivra {
namespace {

using namespace nivra::testing;

TEST(EngineerOffsets, TypedOffsetsAreWrittenAndTheEditsFollowTheGunPage) {
    ui::test::qtApp();
    GunRig r(imageWith({{181 + 4, 0xF6}}));
    ui::EngineerPage page(nullptr);
    page.attachGunOffsets(r.gun);
    auto* y5 = page.findChild<QLineEdit*>("edt_YOffset5");
    auto* x1 = page.findChild<QLineEdit*>("edt_XOffset1");
    ASSERT_NE(y5, nullptr);
    ASSERT_NE(x1, nullptr);
    EXPECT_EQ(y5->text(), "-10");

    r.rig.mark();
    x1->selectAll();
    QTest::keyClicks(x1, "-300");
    EXPECT_EQ(x1->text(), "-128");
    EXPECT_EQ(r.mouse()[171], 0x80);
    EXPECT_EQ(r.rig.lines().back(), setBytesLine(171, {0x80}));

    // The gun page's offset of gun 5 (slot 4) is the engineer's Y-5.
    r.gun.open();
    r.gun.selectGun(5);
    r.gun.setOffset(1, Axis::Y, "12");
    EXPECT_EQ(y5->text(), "12");
}

}  // namespace
}  // namespace nivra
