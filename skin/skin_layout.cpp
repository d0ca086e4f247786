// Start-up steps of the skin that need no language (background, first pictures, program
// switches) and the function menu's panels and entries.
#include "skin/skin_layout.h"

#include "skin/resources.h"

#include <QImageReader>
#include <QLoggingCategory>

#include <algorithm>

namespace nivra::skin {

QStringList pageCopies(const QString& stem) {
    QStringList out;
    for (int n = 1; n <= 5; ++n) out << QStringLiteral("%1_%2").arg(stem).arg(n);
    return out;
}

Checked<WindowBackground> LoadWindowBackground() {
    const QSize size = resourcePictureSize(QStringLiteral("L1_BackGround"));
    if (!size.isValid()) {
        return Checked<WindowBackground>::failure(QStringLiteral("L1_BackGround: no such picture"));
    }
    WindowBackground out;
    out.windowSize = size;
    out.controls[QStringLiteral("Img_Base_1")].picture = QStringLiteral("L1_BackGround");
    QStringList covers = pageCopies(QStringLiteral("Disable_All"));
    covers << QStringLiteral("Disable_All_4_1");
    for (const QString& name : covers) {
        ControlSkin& c = out.controls[name];
        c.pos = QPoint(0, 0);
        c.width = out.windowSize.width();
        c.height = out.windowSize.height();
    }
    return out;
}

std::map<QString, QString> LoadStartPictures() {
    std::map<QString, QString> out;
    const auto put = [&](const QString& picture, const QStringList& controls) {
        for (const QString& c : controls) out[c] = picture;
    };
    const auto copies = [](std::initializer_list<const char*> stems) {
        QStringList l;
        for (const char* s : stems) l << pageCopies(QLatin1String(s));
        return l;
    };
    const auto numbered = [](const QString& fmt, int from, int to) {
        QStringList l;
        for (int i = from; i <= to; ++i) l << fmt.arg(i);
        return l;
    };
    put(QStringLiteral("BtnS_01"), copies({"Img_Confirm1", "Img_Confirm2", "Img_Confirm3", "Img_Exit2"})
                                       << QStringLiteral("Img_FireConfirm") << QStringLiteral("Img_FireExit"));
    put(QStringLiteral("ExitS_01"), copies({"Img_Exit1"}));
    put(QStringLiteral("SetS_03"), copies({"Img_Main", "Img_Lang1"}));
    put(QStringLiteral("SetS_01"), copies({"Img_Switch", "Img_Fixed", "Img_Adv", "Img_Breath", "Img_Macro",
                                           "Img_Update", "Img_Engineer", "Img_Save", "Img_Load", "Img_Lang2",
                                           "Img_Lang3"}));
    put(QStringLiteral("KeyS_01"), numbered(QStringLiteral("Img_Key%1"), 1, 12) << QStringLiteral("Img_LoadBIN")
                                                                << QStringLiteral("Img_Program"));
    put(QStringLiteral("WebS_01"), copies({"Img_Web"}));
    put(QStringLiteral("CbS_D"), numbered(QStringLiteral("Img_Fire%1Continue"), 1, 3));
    put(QStringLiteral("CbS_E"), {QStringLiteral("Img_FireSelLeft")});
    // Bars start with their first segment lit; the other segments start dark so that every
    // segment shows a picture before the first refresh from an image.
    for (const char* bar : {"Img_Spd", "Img_DbSpd", "Img_ScrSpd", "Img_Fall"}) {
        const int count = QLatin1String(bar) == QLatin1String("Img_Fall") ? 10 : 11;
        put(QStringLiteral("Bar1_D"), numbered(QLatin1String(bar) + QLatin1String("%1"), 2, count));
        out[QLatin1String(bar) + QLatin1Char('1')] = QStringLiteral("Bar1_E");
    }
    QStringList cpiFirst, cpiRest;
    for (int k = 1; k <= 9; ++k) {
        const QString stem = k <= 8 ? QStringLiteral("Img_DPI%1_").arg(k) : QStringLiteral("Img_AIMDPI_");
        cpiFirst << stem + QLatin1Char('1');
        for (int i = 2; i <= 12; ++i) cpiRest << stem + QString::number(i);
    }
    put(QStringLiteral("Bar2_E"), cpiFirst);
    put(QStringLiteral("Bar2_D"), cpiRest);
    put(QStringLiteral("Col_F"), numbered(QStringLiteral("Img_DPI%1Col"), 1, 8) + numbered(QStringLiteral("Img_Col%1"), 1, 10) +
                                     numbered(QStringLiteral("Img_FireColor%1"), 1, 3));
    // Delay-mode radio marks of the Macro page and the fire macro recorder: record delay on.
    for (const char* prefix : {"Img_", "Img_Insert", "Img_Fire"}) {
        const QString p = QLatin1String(prefix);
        out[p + QStringLiteral("RecDelay")] = QStringLiteral("RdS_E");
        out[p + QStringLiteral("DelayTime")] = QStringLiteral("RdS_D");
        out[p + QStringLiteral("NoDelay")] = QStringLiteral("RdS_D");
    }
    put(QStringLiteral("MacroS_01"), {QStringLiteral("Img_New"), QStringLiteral("Img_Start"),
                                      QStringLiteral("Img_InsertStart"), QStringLiteral("Img_FireStart")});
    put(QStringLiteral("MacroBtnS_01"), {QStringLiteral("Img_OK"), QStringLiteral("Img_Cancel"),
                                         QStringLiteral("Img_FireOK"), QStringLiteral("Img_FireCancel")});
    out[QStringLiteral("Img_P5")] = QStringLiteral("Update");
    out[QStringLiteral("Img_P6")] = QStringLiteral("L1_Back5");
    out[QStringLiteral("Img_Fire1")] = QStringLiteral("Gun1_02");
    for (int g = 2; g <= 7; ++g) out[QStringLiteral("Img_Fire%1").arg(g)] = QStringLiteral("Gun%1_01").arg(g);
    for (int m = 1; m <= 5; ++m) out[QStringLiteral("Img_GunMode%1").arg(m)] = QStringLiteral("GunMode%1").arg(m);
    put(QStringLiteral("InsertDelayBase"), {QStringLiteral("Img_FireDelay"), QStringLiteral("Img_FireInsert")});
    return out;
}

Checked<GlobalLayout> LoadGlobalLayout(const IniTable& table) {
    LayoutReader r(table.section(u"org"));
    GlobalLayout g;
    g.webEnabled = r.switchOn(u"Web_Enable");
    g.web = r.text(u"Web");
    g.webPos = QPoint(r.integer(u"Web_X"), r.integer(u"Web_Y"));
    g.reserveManufacturerId = r.integer(u"Rev_Manu_ID");
    g.reserveProductId = r.integer(u"Rev_Pro_ID");
    g.macroPath = r.text(u"Path");
    g.textRolling = r.switchOn(u"TR_Enable");
    g.gunDisplay = r.switchOn(u"GD_Enable");
    g.dpiLedStatus = r.integer(u"DPILED_Status");
    g.gun6Scopes = std::clamp(r.integer(u"Gun6_Num"), 1, 2);
    g.gun7Scopes = std::clamp(r.integer(u"Gun7_Num"), 1, 3);
    g.numOrder = std::clamp(r.integer(u"Num_Order"), 0, 1);
    if (!r.ok()) return Checked<GlobalLayout>::failure(r.error());
    return g;
}

Checked<GlobalLayout> LoadGlobalLayout() {
    const Checked<IniTable> table = loadLayoutTable(QStringLiteral("ORG"));
    if (!table) return Checked<GlobalLayout>::failure(table.error());
    return LoadGlobalLayout(*table);
}

const std::vector<MenuPanel>& functionMenus() {
    static const std::vector<MenuPanel> menus = [] {
        using E = MenuPanel::Entry;
        const auto e = [](const char* name, int id, bool sub = false) {
            return E{QLatin1String(name), QStringLiteral("Str%1").arg(id), sub};
        };
        std::vector<MenuPanel> m;
        m.push_back({QStringLiteral("Pnl_Main"), QStringLiteral("M_L_W"),
                     {e("Key_Standard", 201, true), e("Key_Special", 202, true), e("Key_Media", 203, true),
                      e("Key_WWW", 204, true), e("Key_MyPC", 207, true), e("Key_Assembly", 205),
                      e("Key_Macro", 206, true), e("Key_FireMacro", 208), e("Key_TLFireMacro", 208, true)}});
        m.push_back({QStringLiteral("Pnl_Special"), QStringLiteral("SP_L_W"),
                     {e("Key_CPIKey", 220, true), e("Key_Fire", 230, true), e("Key_ACPIKey", 240, true),
                      e("Key_ProfileKey", 250, true), e("Key_AIM", 260), e("Key_LEDMode", 261),
                      e("Key_LEDSwitch", 262), e("Key_BtnEFT", 263), e("Key_ReportRate", 264),
                      e("Key_KeyOff", 277), e("Key_FireMacroKey", 265), e("Key_FireMacroOff", 266),
                      e("Key_AdjustXY", 267, true)}});
        const QString o = QStringLiteral("O_L_W");
        m.push_back({QStringLiteral("Pnl_CPIKey"), o, {e("Key_CPI", 221), e("Key_CPII", 222), e("Key_CPID", 223)}});
        m.push_back({QStringLiteral("Pnl_FireKey"), o, {e("Key_Fire1", 231), e("Key_Fire2", 232), e("Key_Fire3", 233)}});
        m.push_back({QStringLiteral("Pnl_ACPI"), o,
                     {e("Key_PowerDown", 241), e("Key_Sleep", 242), e("Key_WakeUp", 243)}});
        m.push_back({QStringLiteral("Pnl_Profile"), o,
                     {e("Key_Profile1", 251), e("Key_Profile2", 252), e("Key_Profile3", 253), e("Key_Profile", 254)}});
        m.push_back({QStringLiteral("Pnl_MseKey"), o,
                     {e("Key_Left", 210), e("Key_Right", 211), e("Key_Middle", 212), e("Key_B4", 213),
                      e("Key_B5", 214)}});
        m.push_back({QStringLiteral("Pnl_Media"), o,
                     {e("Key_PlayPause", 270), e("Key_Stop", 271), e("Key_PreviousTrack", 272),
                      e("Key_NextTrack", 273), e("Key_VolumePlus", 274), e("Key_VolumeMinus", 275),
                      e("Key_Mute", 276)}});
        m.push_back({QStringLiteral("Pnl_MyPC"), o,
                     {e("Key_Computer", 290), e("Key_Calculator", 291), e("Key_EMail", 292), e("Key_Desktop", 293)}});
        m.push_back({QStringLiteral("Pnl_WWW"), o,
                     {e("Key_WWWHome", 280), e("Key_WWWSearch", 281), e("Key_WWWBack", 282),
                      e("Key_WWWForward", 283), e("Key_WWWStop", 284), e("Key_WWWRefresh", 285),
                      e("Key_WWWFavorites", 286)}});
        m.push_back({QStringLiteral("Pnl_AdjustXY"), QString(),
                     {e("Key_AdjustXYFn", 268), e("Key_AdjustXYSwitch", 269)}});
        return m;
    }();
    return menus;
}

QString menuArrowName(const QString& entryName) {
    QString stem = entryName;
    if (stem.startsWith(QLatin1String("Key_"))) stem.remove(0, 4);
    return QStringLiteral("ST_") + stem;
}

}  // namespace nivra::skin
