// The layout pass over the shipped tables and over small changes to them: placement rules,
// switches, key-label translation, and a broken table stopping the pass with a clear error.
#include "skin/layout_pass.h"
#include "skin/resources.h"
#include "tests/skin/gui_app.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace nivra::skin {
namespace {

class LayoutPassTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureGuiApplication(); }

    static QString shippedText(const QString& table) {
        const auto bytes = resource(table);
        EXPECT_TRUE(bytes.has_value()) << table.toStdString();
        return bytes ? QString::fromUtf8(*bytes) : QString();
    }
    // The shipped table with KEY's line replaced by REPLACEMENT ("" drops the line).
    static IniTable changed(const QString& table, const QString& key, const QString& replacement) {
        QString text = shippedText(table);
        const QRegularExpression line(QStringLiteral("^%1\\s*=.*$").arg(QRegularExpression::escape(key)),
                                      QRegularExpression::MultilineOption);
        EXPECT_TRUE(text.contains(line)) << key.toStdString();
        text.replace(line, replacement);
        return IniTable::parse(table, QStringView(text));
    }
    static SkinState officeState() {
        SkinState s;
        s.global = *LoadGlobalLayout();
        return s;
    }
    static SkinResult run(int lang, const SkinState& state, const IniTable& layout) {
        const LanguageSet& all = *builtInLanguages();
        return ApplySkinAndLanguage(lang, state, layout, all.table(lang), all);
    }
    static QPoint tablePoint(const IniTable& t, int lang, const QString& prefix) {
        const IniSection s = t.section(QStringLiteral("org%1").arg(lang));
        return {*s.integer(prefix + QStringLiteral("_X")), *s.integer(prefix + QStringLiteral("_Y"))};
    }
};

TEST_F(LayoutPassTest, ShippedTablesRunForEveryLanguageAndPage) {
    for (int lang = 1; lang <= 3; ++lang) {
        for (Page page : {Page::Office, Page::Game, Page::Advanced, Page::Macro, Page::Update}) {
            SkinState state = officeState();
            state.page = page;
            const SkinResult r = ApplySkinAndLanguage(lang, state);
            ASSERT_TRUE(r.ok()) << "language " << lang << ": " << r.error.toStdString();
            EXPECT_EQ(r.controls.at(QStringLiteral("Img_Base_6")).picture, QStringLiteral("L%1_BackGround").arg(lang));
            EXPECT_EQ(r.controls.at(QStringLiteral("Img_P6")).picture, QStringLiteral("L%1_Back5").arg(lang));
            EXPECT_FALSE(r.values.fontFamily.isEmpty());
            EXPECT_FALSE(r.values.title.isEmpty());
        }
        for (Dialog d : {Dialog::AssemblyKey, Dialog::MacroName, Dialog::OneKey, Dialog::DelayTime, Dialog::XYValue,
                         Dialog::Value}) {
            const SkinResult r = ApplyDialogSkin(d, lang);
            ASSERT_TRUE(r.ok()) << "dialog " << int(d) << " language " << lang << ": " << r.error.toStdString();
        }
    }
}

TEST_F(LayoutPassTest, PanelOfThePageInViewComesFromTheLanguagesPictureSet) {
    const struct { Page page; const char* control; const char* picture; } cases[] = {
        {Page::Game, "Img_P1", "L3_Back1"},
        {Page::Advanced, "Img_P2", "L3_Back2"},
        {Page::Light, "Img_P3", "L3_Back3"},
        {Page::Macro, "Img_P4", "L3_Back4"},
    };
    for (const auto& c : cases) {
        SkinState state = officeState();
        state.page = c.page;
        const SkinResult r = ApplySkinAndLanguage(3, state);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.controls.at(QLatin1String(c.control)).picture, QLatin1String(c.picture));
        for (const char* other : {"Img_P1", "Img_P2", "Img_P3", "Img_P4"}) {
            if (QLatin1String(other) != QLatin1String(c.control)) {
                const auto it = r.controls.find(QLatin1String(other));
                EXPECT_TRUE(it == r.controls.end() || !it->second.picture) << other;
            }
        }
    }
}

TEST_F(LayoutPassTest, LanguageButtonsHiddenWithOrg1AndShownWithOrg2) {
    for (int lang : {1, 2, 3}) {
        const SkinResult r = ApplySkinAndLanguage(lang, officeState());
        ASSERT_TRUE(r.ok());
        for (const char* stem : {"Btn_Lang1", "Btn_Lang2", "Btn_Lang3", "Img_Lang1", "Img_Lang3"}) {
            for (const QString& name : pageCopies(QLatin1String(stem))) {
                EXPECT_EQ(r.controls.at(name).visible, lang == 2) << name.toStdString() << " language " << lang;
            }
        }
        // ORG2 also swaps the framed Exit for Confirm 2 and 3.
        EXPECT_EQ(r.controls.at(QStringLiteral("Btn_Exit2_4")).visible, lang != 2);
        EXPECT_EQ(r.controls.at(QStringLiteral("Btn_Confirm3_4")).visible, lang == 2);
    }
}

TEST_F(LayoutPassTest, LayoutKeyKPlacesKeyLabelInColumnOrder) {
    const IniTable org1 = *loadLayoutTable(QStringLiteral("ORG1"));
    const SkinResult r = run(1, officeState(), org1);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    const int order[12] = {1, 4, 7, 2, 5, 8, 3, 6, 9, 10, 11, 12};
    for (int k = 1; k <= 12; ++k) {
        const QString label = QStringLiteral("Key%1").arg(order[k - 1]);
        const ControlSkin& c = r.controls.at(label);
        const bool on = k <= 7;  // shipped: layout keys 1..7 on
        EXPECT_EQ(c.visible, on) << label.toStdString();
        EXPECT_EQ(r.controls.at(QStringLiteral("Img_") + label).visible, on);
        if (on) {
            const QPoint at = tablePoint(org1, 1, QStringLiteral("Key%1").arg(k));
            EXPECT_EQ(c.pos, at) << label.toStdString();
            EXPECT_EQ(r.controls.at(QStringLiteral("Img_") + label).pos, at);
            EXPECT_EQ(c.width, 170);
            EXPECT_EQ(c.height, 27);
        } else {
            EXPECT_FALSE(c.pos.has_value()) << label.toStdString();
        }
    }
}

TEST_F(LayoutPassTest, KeyLabelsAreTranslatedThroughTheirLanguageId) {
    SkinState state = officeState();
    state.keyCaptions[0] = QStringLiteral("左键");            // LANG1 "Str210"
    state.keyCaptions[1] = QStringLiteral("My own text");     // in no table
    state.keyCaptions[2] = QString();                         // empty
    state.keyCaptions[3] = QStringLiteral("Ctrl+Shift+A");    // a combination text
    const SkinResult r = ApplySkinAndLanguage(3, state);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.controls.at(QStringLiteral("Key1")).caption, QStringLiteral("Left Key"));
    EXPECT_EQ(r.controls.at(QStringLiteral("Key2")).caption, QStringLiteral("My own text"));
    EXPECT_EQ(r.controls.at(QStringLiteral("Key3")).caption, QString());
    EXPECT_EQ(r.controls.at(QStringLiteral("Key4")).caption, QStringLiteral("Ctrl+Shift+A"));

    state.keyCaptions[0] = QStringLiteral("Left Key");
    const SkinResult back = ApplySkinAndLanguage(1, state);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.controls.at(QStringLiteral("Key1")).caption, QStringLiteral("左键"));
}

TEST_F(LayoutPassTest, CaptionsWithFixedBlanksAndMenuPrefix) {
    const SkinResult r = ApplySkinAndLanguage(3, officeState());
    ASSERT_TRUE(r.ok());
    const auto caption = [&](const char* name) { return r.controls.at(QLatin1String(name)).caption.value_or(QStringLiteral("<none>")); };
    EXPECT_EQ(caption("IB_ComboKey2"), QStringLiteral("      Press 'Middle Key' 3s Switch Office/Gaming Mode"));
    EXPECT_EQ(caption("IB_InsertNoDelay"), QStringLiteral("     No Delay"));
    EXPECT_EQ(caption("Key_Standard"), QStringLiteral(" * Standard Mouse Key"));
    EXPECT_EQ(caption("ST_Standard"), QStringLiteral(">>"));
    EXPECT_EQ(caption("Btn_Confirm3_2"), QStringLiteral("Confirm 3"));
    EXPECT_EQ(caption("Btn_Engineer_5"), QStringLiteral("Engineer"));
    EXPECT_EQ(r.controls.at(QStringLiteral("CB_InsertFire")).items,
              (QStringList{QStringLiteral("Insert Delay Front"), QStringLiteral("Insert Delay Back"),
                           QStringLiteral("Insert X/Y axis Front"), QStringLiteral("Insert X/Y axis Back"),
                           QStringLiteral("Insert Start Repeat"), QStringLiteral("Insert Stop Repeat")}));
    EXPECT_EQ(r.values.text(QStringLiteral("Str108")), QStringLiteral("Please keep a Left Key"));
    EXPECT_EQ(r.values.cpiValues[11], QStringLiteral("6400"));
    EXPECT_EQ(r.values.gunNames[0], QStringLiteral("AKM Fire"));
}

TEST_F(LayoutPassTest, MenuWidthsGivePanelEntriesAndArrows) {
    const SkinResult r = ApplySkinAndLanguage(1, officeState());
    ASSERT_TRUE(r.ok());
    const struct { const char* panel; const char* entry; const char* arrow; int w; } cases[] = {
        {"Pnl_Main", "Key_Special", "ST_Special", 190},
        {"Pnl_Special", "Key_CPIKey", "ST_CPIKey", 166},
        {"Pnl_WWW", "Key_WWWHome", nullptr, 154},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(r.controls.at(QLatin1String(c.panel)).width, c.w);
        EXPECT_EQ(r.controls.at(QLatin1String(c.entry)).width, c.w - 4);
        if (c.arrow) {
            EXPECT_EQ(r.controls.at(QLatin1String(c.arrow)).left, c.w - 24);
        }
    }
    const ControlSkin& entry = r.controls.at(QStringLiteral("Key_Left"));
    EXPECT_EQ(entry.hoverBackColour, colourFromRgb(1, 83, 133));
    EXPECT_EQ(entry.pointSize, 10);
}

TEST_F(LayoutPassTest, GunKeyToggleNeedsItsSwitchTheGunDisplayAndGameMode) {
    const IniTable on = changed(QStringLiteral("ORG1"), QStringLiteral("ComboKey8_Enable"), QStringLiteral("ComboKey8_Enable=1"));
    const struct { bool enable; bool gunDisplay; Page page; bool shown; } cases[] = {
        {true, true, Page::Game, true},    {true, false, Page::Game, false},
        {true, true, Page::Office, false}, {false, true, Page::Game, false},
    };
    const IniTable shipped = *loadLayoutTable(QStringLiteral("ORG1"));
    for (const auto& c : cases) {
        SkinState state = officeState();
        state.global.gunDisplay = c.gunDisplay;
        state.page = c.page;
        const SkinResult r = run(1, state, c.enable ? on : shipped);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.controls.at(QStringLiteral("IB_ComboKey8")).visible, c.shown);
        EXPECT_EQ(r.controls.at(QStringLiteral("Img_ComboKey8")).visible, c.shown);
        EXPECT_EQ(r.values.comboKey8Enabled, c.enable);
    }
}

TEST_F(LayoutPassTest, BarsAcrossAndUpward) {
    const IniTable shipped = *loadLayoutTable(QStringLiteral("ORG1"));
    const IniTable upward = changed(QStringLiteral("ORG1"), QStringLiteral("DPI_Orientation"), QStringLiteral("DPI_Orientation=0"));
    for (const bool across : {true, false}) {
        const IniTable& table = across ? shipped : upward;
        const SkinResult r = run(1, officeState(), table);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.values.dpiOrientation, across ? 1 : 0);
        const QPoint at = tablePoint(table, 1, QStringLiteral("DPI3_Steps"));
        for (int i = 1; i <= 12; ++i) {
            const QPoint expected = across ? QPoint(at.x() + (i - 1) * 20, at.y()) : QPoint(at.x(), at.y() - (i - 1) * 18);
            EXPECT_EQ(r.controls.at(QStringLiteral("Img_DPI3_%1").arg(i)).pos, expected) << "segment " << i;
        }
    }
    // A gap between the pointer-speed segments, and their number labels under them.
    const IniTable gapped = changed(QStringLiteral("ORG3"), QStringLiteral("Spd_D"), QStringLiteral("Spd_D=3"));
    const SkinResult r = run(3, officeState(), gapped);
    ASSERT_TRUE(r.ok());
    const QPoint spd = tablePoint(gapped, 3, QStringLiteral("Spd"));
    EXPECT_EQ(r.controls.at(QStringLiteral("Img_Spd11")).pos, QPoint(spd.x() + 10 * 29, spd.y()));
    EXPECT_EQ(r.controls.at(QStringLiteral("lbl_Spd11")).pos, QPoint(spd.x() + 10 * 29 + 4, spd.y() + 20));
}

TEST_F(LayoutPassTest, PageButtonLabelsKeepTheirSpacing) {
    QString text = shippedText(QStringLiteral("ORG1"));
    text.replace(QStringLiteral("Btn_Space_F=0"), QStringLiteral("Btn_Space_F=5"));
    text.replace(QStringLiteral("Btn_Space_B=0"), QStringLiteral("Btn_Space_B=7"));
    const IniTable table = IniTable::parse(QStringLiteral("ORG1"), QStringView(text));
    const SkinResult r = run(1, officeState(), table);
    ASSERT_TRUE(r.ok());
    const QPoint at = tablePoint(table, 1, QStringLiteral("Btn_B4"));
    const ControlSkin& label = r.controls.at(QStringLiteral("Btn_Adv_3"));
    EXPECT_EQ(r.controls.at(QStringLiteral("Img_Adv_3")).pos, at);
    EXPECT_EQ(label.pos, QPoint(at.x() + 5, at.y()));
    EXPECT_EQ(label.width, 100 - 5 - 7);
    EXPECT_EQ(label.height, 30);
    // The Engineer button takes the Update button's place.
    EXPECT_EQ(r.controls.at(QStringLiteral("Img_Engineer_3")).pos, tablePoint(table, 1, QStringLiteral("Btn_B12")));
}

TEST_F(LayoutPassTest, BrokenTableStopsThePassNamingTableAndKey) {
    const struct { const char* key; const char* line; const char* mentions; } cases[] = {
        {"Size_C", "", "Size_C"},                   // missing
        {"Key3_X", "Key3_X=12a", "Key3_X"},          // not a number
        {"Color_G_SP_G", "Color_G_SP_G=", "Color_G_SP_G"},
        {"FireTime2_Y", "", "FireTime2_Y"},          // the last family
    };
    for (const auto& c : cases) {
        const IniTable table = changed(QStringLiteral("ORG3"), QLatin1String(c.key), QLatin1String(c.line));
        const SkinResult r = run(3, officeState(), table);
        EXPECT_FALSE(r.ok()) << c.key;
        EXPECT_TRUE(r.error.contains(QStringLiteral("ORG3"))) << r.error.toStdString();
        EXPECT_TRUE(r.error.contains(QLatin1String(c.mentions))) << r.error.toStdString();
        EXPECT_TRUE(r.controls.empty()) << "nothing to apply after " << c.key;
    }
    const IniTable dialogTable = changed(QStringLiteral("ORG2"), QStringLiteral("NewYVal_W"), QString());
    const SkinResult d = ApplyDialogSkin(Dialog::XYValue, 2, dialogTable, builtInLanguages()->table(2));
    EXPECT_FALSE(d.ok());
    EXPECT_TRUE(d.error.contains(QStringLiteral("NewYVal_W"))) << d.error.toStdString();
    EXPECT_FALSE(ApplySkinAndLanguage(4, officeState()).ok());
    // A form number that is no small dialog is refused, not laid out.
    for (int form : {0, 1, 8}) {
        const SkinResult none = ApplyDialogSkin(static_cast<Dialog>(form), 1);
        EXPECT_FALSE(none.ok()) << form;
        EXPECT_TRUE(none.controls.empty()) << form;
    }
}

namespace {
int skinWarnings = 0;
void countSkinWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("skin:"))) ++skinWarnings;
}
}  // namespace

// The window runs the pass at start and on every language change; a broken table is logged
// the first time only.
TEST_F(LayoutPassTest, BrokenTableIsLoggedOnce) {
    const IniTable table = changed(QStringLiteral("ORG1"), QStringLiteral("LEDColor7_Y"), QString());
    skinWarnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(countSkinWarnings);
    const SkinResult first = run(1, officeState(), table);
    const SkinResult second = run(1, officeState(), table);
    qInstallMessageHandler(previous);
    EXPECT_FALSE(first.ok());
    EXPECT_EQ(first.error, second.error);
    EXPECT_EQ(skinWarnings, 1);
}

TEST_F(LayoutPassTest, DialogSkinFontsPositionsAndTexts) {
    const IniTable org3 = *loadLayoutTable(QStringLiteral("ORG3"));
    const SkinResult k = ApplyDialogSkin(Dialog::AssemblyKey, 3);
    ASSERT_TRUE(k.ok());
    const IniSection s = org3.section(u"org3");
    const int size = *s.integer(u"Size_K");
    EXPECT_EQ(k.controls.at(QStringLiteral("lbl_Title")).pointSize, size + 5);
    EXPECT_EQ(k.controls.at(QStringLiteral("lbl_Title")).caption, QStringLiteral("Assembly Key"));
    EXPECT_EQ(k.controls.at(QStringLiteral("Edt_Assembly")).pointSize, size + 3);
    EXPECT_EQ(k.controls.at(QStringLiteral("Edt_Assembly")).width, *s.integer(u"AKC_W"));
    EXPECT_EQ(k.controls.at(QStringLiteral("Edt_Assembly")).textColour, colourFromRgb(0, 0, 0));
    EXPECT_EQ(k.controls.at(QStringLiteral("CB_Win")).pos, tablePoint(org3, 3, QStringLiteral("MK_W")));
    EXPECT_EQ(k.controls.at(QStringLiteral("IB_Confirm")).pointSize, size + 1);
    EXPECT_EQ(k.controls.at(QStringLiteral("IB_Confirm")).caption, QStringLiteral("Confirm"));
    EXPECT_EQ(k.controls.at(QStringLiteral("IB_Close")).width, 18);

    const SkinResult xy = ApplyDialogSkin(Dialog::XYValue, 3);
    ASSERT_TRUE(xy.ok());
    EXPECT_EQ(xy.controls.at(QStringLiteral("lbl_TitleY")).caption, QStringLiteral("Input Y Value"));
    EXPECT_EQ(xy.controls.at(QStringLiteral("Edt_EditY")).pos, tablePoint(org3, 3, QStringLiteral("NewYVal")));
    EXPECT_EQ(xy.controls.at(QStringLiteral("IB_Cancel")).caption, QStringLiteral("Clear"));
    EXPECT_EQ(xy.controls.count(QStringLiteral("CB_Ctrl")), 0u);
}

TEST_F(LayoutPassTest, ProgramSwitchesKeepTheirRanges) {
    const QString shipped = shippedText(QStringLiteral("ORG"));
    const struct { const char* key; int value; int gun6, gun7, order; } cases[] = {
        {"Gun6_Num", 0, 1, 3, 0},  {"Gun6_Num", 5, 2, 3, 0},  {"Gun7_Num", 9, 2, 3, 0},
        {"Gun7_Num", -2, 2, 1, 0}, {"Num_Order", -4, 2, 3, 0}, {"Num_Order", 5, 2, 3, 1},
    };
    for (const auto& c : cases) {
        QString text = shipped;
        text.replace(QRegularExpression(QStringLiteral("^%1=.*$").arg(QLatin1String(c.key)),
                                        QRegularExpression::MultilineOption),
                     QStringLiteral("%1 = %2").arg(QLatin1String(c.key)).arg(c.value));
        const Checked<GlobalLayout> g = LoadGlobalLayout(IniTable::parse(QStringLiteral("ORG"), QStringView(text)));
        ASSERT_TRUE(g.ok()) << g.error().toStdString();
        EXPECT_EQ(g->gun6Scopes, c.gun6) << c.key << "=" << c.value;
        EXPECT_EQ(g->gun7Scopes, c.gun7) << c.key << "=" << c.value;
        EXPECT_EQ(g->numOrder, c.order) << c.key << "=" << c.value;
    }
    const Checked<GlobalLayout> shippedLayout = LoadGlobalLayout();
    ASSERT_TRUE(shippedLayout.ok());
    EXPECT_TRUE(shippedLayout->gunDisplay);
    EXPECT_FALSE(shippedLayout->webEnabled);
    EXPECT_TRUE(shippedLayout->macroPath.isEmpty());
    EXPECT_TRUE(shippedLayout->web.startsWith(QStringLiteral("https://")));

    QString broken = shipped;
    broken.replace(QStringLiteral("GD_Enable=1"), QStringLiteral("GD_Enable=yes"));
    const Checked<GlobalLayout> bad = LoadGlobalLayout(IniTable::parse(QStringLiteral("ORG"), QStringView(broken)));
    ASSERT_FALSE(bad.ok());
    EXPECT_TRUE(bad.error().contains(QStringLiteral("GD_Enable"))) << bad.error().toStdString();
}

}  // namespace
}  // namespace nivra::skin
