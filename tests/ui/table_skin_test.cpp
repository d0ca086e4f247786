// The shipped skin's picture cache: pictures decoded ahead on other threads are the ones a
// plain decode gives, and so is the shape worked out with them.
#include "qt_app.h"

#include "skin/resources.h"
#include "ui/table_skin.h"

#include <gtest/gtest.h>

namespace nivra::ui::test {
namespace {

constexpr QRgb kTransparent = 0xFF800000;

// What the cache gives for a picture decoded on the spot (pixmaps keep alpha premultiplied).
QImage plain(const QString& name) { return QPixmap::fromImage(skin::resourcePicture(name)).toImage(); }

QImage plainShape(const QString& name) {
    return skin::resourcePicture(name).createMaskFromColor(kTransparent, Qt::MaskInColor);
}

TEST(TableSkinPictures, PrefetchedPicturesAndShapesAreThoseOfAPlainDecode) {
    qtApp();
    for (int language : {1, 3}) {
        TableSkin skin;
        const QString background = QStringLiteral("L%1_BackGround").arg(language);
        const QString panel = QStringLiteral("L%1_Back1").arg(language);
        skin.prefetchPictures({background, panel, QStringLiteral("NoSuchPicture")}, background, kTransparent);
        // Asked for in another spelling, as layout tables name pictures.
        EXPECT_EQ(skin.picture(panel.toUpper()).toImage(), plain(panel)) << language;
        const QImage shape = skin.pictureShape(background, kTransparent);
        EXPECT_FALSE(shape.isNull());
        EXPECT_EQ(shape, plainShape(background)) << language;
        EXPECT_EQ(skin.picture(background).toImage(), plain(background)) << language;
        EXPECT_TRUE(skin.picture(QStringLiteral("NoSuchPicture")).isNull());
        // A shape asked for in another colour is worked out for that colour.
        const QImage other = skin.pictureShape(background, 0xFF000000);
        EXPECT_EQ(other, skin::resourcePicture(background).createMaskFromColor(0xFF000000, Qt::MaskInColor));
    }
}

TEST(TableSkinPictures, ASkinLeftWithPicturesStillBeingDecodedClosesCleanly) {
    qtApp();
    TableSkin skin;
    skin.prefetchPictures({QStringLiteral("L2_BackGround"), QStringLiteral("L2_Back1")},
                          QStringLiteral("L2_BackGround"), kTransparent);
}

}  // namespace
}  // namespace nivra::ui::test
