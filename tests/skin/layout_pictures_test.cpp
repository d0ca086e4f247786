// The shipped pictures against the names and sizes the layout relies on, and the shipped
// tables placing every shown control inside the window.
#include "skin/layout_pass.h"
#include "skin/resources.h"
#include "tests/skin/gui_app.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>

namespace nivra::skin {
namespace {

struct Expected {
    QString name;
    int w, h;
};

std::vector<Expected> resourceTable() {
    std::vector<Expected> t;
    for (int set = 1; set <= 3; ++set) {
        const QString l = QStringLiteral("L%1_").arg(set);
        t.push_back({l + QStringLiteral("BackGround"), 1030, 662});
        t.push_back({l + QStringLiteral("Back1"), 680, 380});
        t.push_back({l + QStringLiteral("Back2"), 800, 374});
        t.push_back({l + QStringLiteral("Back3"), 801, 375});
        t.push_back({l + QStringLiteral("Back4"), 800, 374});
        t.push_back({l + QStringLiteral("Back5"), 720, 650});
    }
    const struct { const char* stem; int w, h; } states[] = {
        {"BtnS", 110, 27}, {"SetS", 100, 30}, {"ExitS", 18, 18}, {"KeyS", 170, 27},
        {"MacroS", 110, 27}, {"MacroBtnS", 44, 27}, {"WebS", 200, 66},
    };
    for (const auto& s : states) {
        for (int i = 1; i <= 3; ++i) t.push_back({QStringLiteral("%1_0%2").arg(QLatin1String(s.stem)).arg(i), s.w, s.h});
    }
    const struct { const char* stem; int w, h; } onOff[] = {{"CbS", 16, 16}, {"RdS", 15, 15}, {"Bar1", 26, 18}, {"Bar2", 20, 18}};
    for (const auto& s : onOff) {
        t.push_back({QLatin1String(s.stem) + QStringLiteral("_D"), s.w, s.h});
        t.push_back({QLatin1String(s.stem) + QStringLiteral("_E"), s.w, s.h});
    }
    t.push_back({QStringLiteral("Col_F"), 30, 30});
    for (int g = 1; g <= 7; ++g) {
        t.push_back({QStringLiteral("Gun%1_01").arg(g), 120, 56});
        t.push_back({QStringLiteral("Gun%1_02").arg(g), 120, 56});
    }
    const int scopes[5] = {42, 52, 42, 52, 62};
    for (int m = 1; m <= 5; ++m) t.push_back({QStringLiteral("GunMode%1").arg(m), scopes[m - 1], scopes[m - 1]});
    for (const char* base : {"InsertDelayBase", "InsertKeyBase", "InsertXYBase"}) t.push_back({QLatin1String(base), 207, 162});
    t.push_back({QStringLiteral("Msg"), 1000, 660});
    t.push_back({QStringLiteral("Update"), 540, 102});
    return t;
}

const QRgb kSeeThrough = qRgb(128, 0, 0);

TEST(LayoutPictures, EveryPictureOfTheSkinExistsAtItsSize) {
    test::ensureGuiApplication();
    for (const Expected& e : resourceTable()) {
        const QImage img = resourcePicture(e.name);
        ASSERT_FALSE(img.isNull()) << e.name.toStdString();
        EXPECT_EQ(img.size(), QSize(e.w, e.h)) << e.name.toStdString();
    }
    for (const auto& [control, picture] : LoadStartPictures()) {
        EXPECT_FALSE(resourcePath(picture).isEmpty()) << control.toStdString() << " -> " << picture.toStdString();
    }
}

TEST(LayoutPictures, SeeThroughColourOnlyOutsideTheShapes) {
    test::ensureGuiApplication();
    for (const char* name : {"L1_BackGround", "L2_BackGround", "L3_BackGround"}) {
        const QImage bg = resourcePicture(QLatin1String(name)).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(bg.pixel(0, 0), kSeeThrough) << name;
        EXPECT_EQ(bg.pixel(bg.width() - 1, bg.height() - 1), kSeeThrough) << name;
        // Between the corners the shape reaches the picture's edge.
        EXPECT_NE(bg.pixel(bg.width() / 2, 0), kSeeThrough) << name;
        EXPECT_NE(bg.pixel(0, bg.height() / 2), kSeeThrough) << name;
        EXPECT_NE(bg.pixel(bg.width() - 1, bg.height() / 2), kSeeThrough) << name;
        // Inside the rounded shape nothing is see-through: a hole would show the desktop.
        int holes = 0;
        for (int y = 20; y < bg.height() - 20; ++y) {
            for (int x = 20; x < bg.width() - 20; ++x) holes += bg.pixel(x, y) == kSeeThrough;
        }
        EXPECT_EQ(holes, 0) << name;
    }
    const QImage msg = resourcePicture(QStringLiteral("Msg")).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(msg.pixel(0, 0), kSeeThrough);
    EXPECT_NE(msg.pixel(msg.width() / 2, msg.height() / 2), kSeeThrough);
    // Control pictures use alpha, never the window's see-through colour.
    for (const char* name : {"BtnS_01", "SetS_03", "KeyS_02", "Col_F", "Gun3_02", "L1_Back1"}) {
        const QImage img = resourcePicture(QLatin1String(name)).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const QRgb p = img.pixel(x, y);
                if (qAlpha(p) == 255) {
                    ASSERT_NE(qRgb(qRed(p), qGreen(p), qBlue(p)), kSeeThrough) << name;
                }
            }
        }
    }
}

TEST(LayoutPictures, WindowBackgroundSetsTheWindowSize) {
    test::ensureGuiApplication();
    const Checked<WindowBackground> bg = LoadWindowBackground();
    ASSERT_TRUE(bg.ok()) << bg.error().toStdString();
    EXPECT_EQ(bg->windowSize, QSize(1030, 662));
    EXPECT_EQ(bg->controls.at(QStringLiteral("Disable_All_4_1")).width, 1030);
    EXPECT_EQ(bg->controls.at(QStringLiteral("Img_Base_1")).picture, QStringLiteral("L1_BackGround"));
}

// Every shown control placed by a shipped table lies inside the window, and the shown key
// labels of the profile page do not overlap.
TEST(LayoutPictures, ShippedPlacementsStayInsideTheWindow) {
    test::ensureGuiApplication();
    for (int lang = 1; lang <= 3; ++lang) {
        SkinState state;
        state.global = *LoadGlobalLayout();
        const SkinResult r = ApplySkinAndLanguage(lang, state);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        std::vector<QRect> keys;
        for (const auto& [name, c] : r.controls) {
            if (!c.pos || c.visible == false || name.startsWith(QLatin1String("Img_Web")) ||
                name.startsWith(QLatin1String("Btn_Web"))) {
                continue;
            }
            const QRect rect(*c.pos, QSize(c.width.value_or(1), c.height.value_or(1)));
            EXPECT_TRUE(QRect(0, 0, 1030, 662).contains(rect)) << name.toStdString() << " language " << lang;
            if (QRegularExpression(QStringLiteral("^Key\\d+$")).match(name).hasMatch()) keys.push_back(rect);
        }
        EXPECT_EQ(keys.size(), 7u);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            for (std::size_t j = i + 1; j < keys.size(); ++j) EXPECT_FALSE(keys[i].intersects(keys[j]));
        }
    }
}

}  // namespace
}  // namespace nivra::skin
