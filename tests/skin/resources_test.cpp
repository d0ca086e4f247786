// Lookup of the built-in resources by name, whatever the letter case.
#include "skin/resources.h"

#include <QImage>

#include <gtest/gtest.h>

namespace nivra::skin {
namespace {

TEST(Resources, NamesIgnoreCase) {
    const auto upper = resource(QStringLiteral("LANG3"));
    const auto lower = resource(QStringLiteral("lang3"));
    ASSERT_TRUE(upper);
    ASSERT_TRUE(lower);
    EXPECT_EQ(*upper, *lower);
    EXPECT_EQ(resourcePath(QStringLiteral("Lang3")), QStringLiteral(":/nivra/lang/LANG3.txt"));
    EXPECT_FALSE(resource(QStringLiteral("LANG4")));
    EXPECT_TRUE(resourcePath(QStringLiteral("LANG")).isEmpty());
    EXPECT_TRUE(resourceNames().contains(QStringLiteral("LANG3")));
    EXPECT_TRUE(resourceNameClashes().isEmpty()) << resourceNameClashes().join(u' ').toStdString();
    // Every kind of resource, named as the program names it and in another case.
    struct Case {
        const char* name;
        const char* other;
        qsizetype size;  // 0: any size
    };
    const Case cases[] = {
        {"NivraData_Cfg1", "NIVRADATA_CFG1", 2048},
        {"ORG1", "org1", 0},
        {"L1_BackGround", "l1_background", 0},
    };
    for (const Case& c : cases) {
        const auto a = resource(QString::fromLatin1(c.name));
        const auto b = resource(QString::fromLatin1(c.other));
        ASSERT_TRUE(a && b) << c.name;
        EXPECT_EQ(*a, *b) << c.name;
        if (c.size) {
            EXPECT_EQ(a->size(), c.size) << c.name;
        }
    }
    EXPECT_EQ(resourcePicture(QStringLiteral("l1_BACKGROUND")).size(), QSize(1030, 662));
    EXPECT_TRUE(resourcePicture(QStringLiteral("ORG1")).isNull());
    EXPECT_TRUE(resourcePicture(QStringLiteral("NoSuchPicture")).isNull());
}

// The program decodes its PNG pictures itself: every picture gives the pixels, the size and
// the alpha channel Qt's own reader gives, read from the header alone for the size.
TEST(Resources, PicturesDecodeAsQtDecodesThem) {
    int pictures = 0;
    for (const QString& name : resourceNames()) {
        const QString path = resourcePath(name);
        if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) continue;
        ++pictures;
        const QImage qt(path);
        const QImage ours = resourcePicture(name);
        ASSERT_FALSE(ours.isNull()) << name.toStdString();
        EXPECT_EQ(ours.size(), qt.size()) << name.toStdString();
        EXPECT_EQ(resourcePictureSize(name), qt.size()) << name.toStdString();
        EXPECT_EQ(ours.hasAlphaChannel(), qt.hasAlphaChannel()) << name.toStdString();
        EXPECT_EQ(ours.convertToFormat(QImage::Format_ARGB32), qt.convertToFormat(QImage::Format_ARGB32))
            << name.toStdString();
    }
    EXPECT_GT(pictures, 0);
    EXPECT_FALSE(resourcePictureSize(QStringLiteral("ORG1")).isValid());
    EXPECT_FALSE(resourcePictureSize(QStringLiteral("NoSuchPicture")).isValid());
}

}  // namespace
}  // namespace nivra::skin
