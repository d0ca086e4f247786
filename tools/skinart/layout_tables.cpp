// The layout tables ORG and ORG1..ORG3, written from the skin's geometry so that every
// control lands on the well, groove or slot that its picture draws for it.
#include "tools/skinart/layout_tables.h"

#include "tools/skinart/geometry.h"

#include <QPoint>
#include <QRect>
#include <QString>

namespace skinart {
namespace {

class TableWriter {
public:
    void section(const char* name) { line(QStringLiteral("[%1]").arg(QLatin1String(name))); }
    void banner(const QString& title) {
        line(QString());
        line(QStringLiteral("//****************************************************************"));
        line(QStringLiteral("//  ") + title);
        line(QStringLiteral("//****************************************************************"));
    }
    void comment(const QString& text) { line(QStringLiteral(";") + text); }
    void value(const QString& key, int v) { line(key + QLatin1Char('=') + QString::number(v)); }
    void text(const QString& key, const QString& v) { line(key + QLatin1Char('=') + v); }
    void colour(const QString& prefix, int r, int g, int b) {
        value(prefix + QStringLiteral("_R"), r);
        value(prefix + QStringLiteral("_G"), g);
        value(prefix + QStringLiteral("_B"), b);
    }
    void at(const QString& prefix, QPoint pt) {
        value(prefix + QStringLiteral("_X"), pt.x());
        value(prefix + QStringLiteral("_Y"), pt.y());
    }
    void enabledAt(const QString& prefix, bool on, QPoint pt) {
        value(prefix + QStringLiteral("_Enable"), on ? 1 : 0);
        at(prefix, pt);
    }
    void box(const QString& prefix, const QRect& r) {
        at(prefix, r.topLeft());
        value(prefix + QStringLiteral("_H"), r.height());
        value(prefix + QStringLiteral("_W"), r.width());
    }
    void steps(const QString& prefix, QPoint pt, int d) {
        at(prefix, pt);
        value(prefix + QStringLiteral("_D"), d);
    }
    QByteArray bytes() const { return text_.toUtf8(); }

private:
    void line(const QString& l) { text_ += l + QStringLiteral("\r\n"); }
    QString text_;
};

QString n(const char* fmt, int i) { return QString::fromLatin1(fmt).arg(i); }

struct Variant {
    bool second;  // ORG2: the traditional-Chinese layout
};

void familyA(TableWriter& w, Variant v) {
    w.banner(QStringLiteral("A: Confirm and Exit buttons"));
    w.value(QStringLiteral("Size_A"), 11);
    w.colour(QStringLiteral("Color_A"), 255, 255, 255);
    const int y = 620;
    w.comment(QStringLiteral("Confirm 1"));
    w.enabledAt(QStringLiteral("Btn_A2"), true, {v.second ? 640 : 760, y});
    w.comment(QStringLiteral("Confirm 2"));
    w.enabledAt(QStringLiteral("Btn_A3"), v.second, {v.second ? 760 : 520, y});
    w.comment(QStringLiteral("Confirm 3"));
    w.enabledAt(QStringLiteral("Btn_A5"), v.second, {v.second ? 880 : 640, y});
    w.comment(QStringLiteral("close icon"));
    w.enabledAt(QStringLiteral("Btn_A4"), true, {996, 23});
    w.comment(QStringLiteral("framed Exit"));
    w.enabledAt(QStringLiteral("Btn_A6"), !v.second, {880, y});
}

void familyB(TableWriter& w, Variant v) {
    w.banner(QStringLiteral("B: page and language buttons"));
    w.value(QStringLiteral("Size_B"), v.second ? 11 : 12);
    w.colour(QStringLiteral("Color_B"), 255, 255, 255);
    // The caption starts right of the picture's accent bar (x 2..4) and keeps clear of it.
    w.value(QStringLiteral("Btn_Space_F"), 7);
    w.value(QStringLiteral("Btn_Space_B"), 1);
    const int x = 30;
    const struct { int number; bool on; int y; const char* what; } pages[] = {
        {1, true, 92, "Office Mode"},   {2, true, 132, "Game Mode"},
        {3, false, 332, "Third Mode (off; its place is the free slot under Update)"},
        {4, true, 172, "Advanced"},     {5, true, 212, "Breathing Light"},
        {11, true, 252, "Macro"},       {12, false, 292, "Update (the Engineer button takes this place too)"},
        {6, true, 420, "Save Profile"}, {7, true, 460, "Load Profile"},
    };
    for (const auto& p : pages) {
        w.comment(QString::fromLatin1(p.what));
        w.enabledAt(n("Btn_B%1", p.number), p.on, {x, p.y});
    }
    for (int lang = 1; lang <= 3; ++lang) {
        w.comment(n("language %1", lang));
        w.enabledAt(n("Btn_B%1", 7 + lang), v.second, {(v.second ? 654 : 660) + (lang - 1) * 108, 17});
    }
}

void familyC(TableWriter& w) {
    w.banner(QStringLiteral("C: key labels and toggles"));
    w.value(QStringLiteral("Size_C"), 11);
    w.colour(QStringLiteral("Color_C"), 255, 255, 255);
    w.at(QStringLiteral("P1"), kP1);
    w.comment(QStringLiteral("slots are numbered column by column: slot k carries key label 1,4,7,2,5,8,3,6,9,10,11,12"));
    for (int k = 1; k <= 12; ++k) {
        const int label = kKeyLabelOrder[static_cast<std::size_t>(k - 1)];
        const QPoint at = keySlotRect(label).topLeft() + kP1;
        w.enabledAt(n("Key%1", k), k <= 7, at);
    }
    w.comment(QStringLiteral("mouse switch toggles; 8 is the gun key toggle of Game Mode"));
    const QPoint toggles[8] = {{262, 526}, {262, 500}, {262, 552}, {262, 578},
                               {600, 526}, {600, 552}, {600, 578}, {600, 500}};
    for (int k = 1; k <= 8; ++k) w.enabledAt(n("ComboKey%1", k), k == 2, toggles[k - 1]);
}

void familyG(TableWriter& w) {
    w.banner(QStringLiteral("G: function menus"));
    w.value(QStringLiteral("Size_G"), 10);
    w.colour(QStringLiteral("Color_G"), 255, 255, 255);
    w.colour(QStringLiteral("Color_G_Back"), 0, 0, 0);
    w.colour(QStringLiteral("Color_G_Border"), 0, 0, 0);
    w.comment(QStringLiteral("entry under the pointer: text, back"));
    w.colour(QStringLiteral("Color_G_SF"), 255, 255, 255);
    w.colour(QStringLiteral("Color_G_SP"), 1, 83, 133);
    w.value(QStringLiteral("M_L_W"), 190);
    w.value(QStringLiteral("SP_L_W"), 166);
    w.value(QStringLiteral("O_L_W"), 154);
}

void familyD(TableWriter& w, Variant v) {
    w.banner(QStringLiteral("D: Advanced page"));
    w.value(QStringLiteral("Size_D"), 9);
    w.colour(QStringLiteral("Color_D_Selected"), 255, 0, 0);
    w.colour(QStringLiteral("Color_D_notSelected"), 255, 255, 255);
    w.colour(QStringLiteral("Color_D_Back"), 0, 0, 0);
    if (v.second) w.colour(QStringLiteral("Color_D_Border"), 45, 114, 189);
    else w.colour(QStringLiteral("Color_D_Border"), 255, 255, 0);
    w.at(QStringLiteral("P2"), kP2);
    w.comment(QStringLiteral("fire keys: count, interval, Continue"));
    for (int k = 1; k <= 3; ++k) {
        const int y = kFireKeyY[static_cast<std::size_t>(k - 1)];
        w.at(n("FK%1Cnt", k), kP2 + QPoint(kFireCntX, y));
        w.at(n("FK%1Delay", k), kP2 + QPoint(kFireDelayX, y));
        w.at(n("FK%1Continue", k), kP2 + QPoint(kFireContinueX, y + 2));
    }
    w.comment(QStringLiteral("report rate"));
    for (int k = 1; k <= 4; ++k) w.at(n("Rep%1", k), kP2 + QPoint(kRateX[static_cast<std::size_t>(k - 1)], kRateY));
    w.comment(QStringLiteral("pointer speed, precision, double-click speed, wheel lines, wheel by screen"));
    w.steps(QStringLiteral("Spd"), kP2 + QPoint(kSpeedX, kSpeedY[0]), 0);
    w.at(QStringLiteral("IsControl"), kP2 + QPoint(kSpeedCheckX, kSpeedY[0] + 1));
    w.steps(QStringLiteral("DbSpd"), kP2 + QPoint(kSpeedX, kSpeedY[1]), 0);
    w.steps(QStringLiteral("ScrSpd"), kP2 + QPoint(kSpeedX, kSpeedY[2]), 0);
    w.at(QStringLiteral("IsScreen"), kP2 + QPoint(kSpeedCheckX, kSpeedY[2] + 1));
    w.comment(QStringLiteral("CPI bars: 1 across, 0 growing upward"));
    w.value(QStringLiteral("DPI_Orientation"), 1);
    for (int k = 1; k <= 8; ++k) {
        const int y = kCpiRow0Y + (k - 1) * kCpiRowStep;
        w.at(n("DPI%1_Color", k), kP2 + QPoint(kCpiColourX, y - 6));
        w.at(n("DPI%1_Check", k), kP2 + QPoint(kCpiCheckX, y + 1));
        w.at(n("DPI%1", k), kP2 + QPoint(kCpiLabelX, y + 1));
        w.at(n("DPI%1_Value", k), kP2 + QPoint(kCpiValueX, y + 1));
        w.steps(n("DPI%1_Steps", k), kP2 + QPoint(kCpiStepsX, y), 0);
    }
    const int aimY = kCpiRow0Y + 8 * kCpiRowStep;
    w.at(QStringLiteral("AIMDPI"), kP2 + QPoint(kCpiLabelX, aimY + 1));
    w.at(QStringLiteral("AIMDPI_Value"), kP2 + QPoint(kCpiValueX, aimY + 1));
    w.steps(QStringLiteral("AIMDPI_Steps"), kP2 + QPoint(kCpiStepsX, aimY), 0);
}

void familyE(TableWriter& w) {
    w.banner(QStringLiteral("E: Breathing Light page"));
    w.value(QStringLiteral("Size_E"), 9);
    w.colour(QStringLiteral("Color_E"), 255, 255, 255);
    w.at(QStringLiteral("P3"), kP3);
    w.steps(QStringLiteral("StepTime"), kP3 + kStepTime, 1);
    w.comment(QStringLiteral("effect buttons; one place per button whatever the LED controller type"));
    for (int k = 1; k <= 6; ++k) w.at(n("LEDMode%1", k), kP3 + QPoint(kEffectX, kEffectY0 + (k - 1) * kEffectStep));
    for (int k = 1; k <= 10; ++k) {
        const int row = (k - 1) / 5, col = (k - 1) % 5;
        w.at(n("LEDColor%1", k), kP3 + QPoint(kColourX0 + col * kColourStep, kColourRowY[static_cast<std::size_t>(row)]));
    }
}

void familyF(TableWriter& w, Variant v) {
    w.banner(QStringLiteral("F: Macro page"));
    w.value(QStringLiteral("Size_F"), 9);
    w.colour(QStringLiteral("Color_F"), 255, 255, 255);
    w.colour(QStringLiteral("Color_F_LBack"), 31, 31, 31);
    if (v.second) w.colour(QStringLiteral("Color_F_LBorder"), 45, 114, 189);
    else w.colour(QStringLiteral("Color_F_LBorder"), 255, 255, 0);
    w.colour(QStringLiteral("Color_F_Font"), 255, 255, 255);
    w.colour(QStringLiteral("Color_F_Back"), 0, 0, 0);
    w.at(QStringLiteral("P4"), kP4);
    w.value(QStringLiteral("MacroNameHeight"), 20);
    w.box(QStringLiteral("PCMacroName"), kPcListRect.translated(kP4));
    w.box(QStringLiteral("MseMacroName"), kDevListRect.translated(kP4));
    w.box(QStringLiteral("MacroContent"), kContentRect.translated(kP4));
    w.at(QStringLiteral("BtnNew"), kP4 + kBtnNew);
    w.at(QStringLiteral("BtnStart"), kP4 + kBtnStart);
    const QPoint g = kP4 + kGroup;
    w.comment(QStringLiteral("delay group"));
    w.at(QStringLiteral("DelayTime"), g);
    w.at(QStringLiteral("RecDelay"), g + QPoint(20, 40));
    w.value(QStringLiteral("RecDelay_H"), 28);
    w.at(QStringLiteral("DelayEdit"), g + QPoint(60, 130));
    w.comment(QStringLiteral("insert group, on the same place; its base picture lies 10 pixels in"));
    w.at(QStringLiteral("Insert"), g);
    w.at(QStringLiteral("InsertList"), g + QPoint(20, 20));
    w.at(QStringLiteral("InsertRecDelay"), g + QPoint(24, 56));
    w.value(QStringLiteral("InsertRecDelay_H"), 24);
    w.at(QStringLiteral("InsertDelayEdit"), g + QPoint(104, 134));
    w.at(QStringLiteral("InsertAxisEdit"), g + QPoint(150, 70));
    w.at(QStringLiteral("InsertBtnStart"), g + QPoint(10, 182));
    w.at(QStringLiteral("InsertBtnOK"), g + QPoint(124, 182));
    w.at(QStringLiteral("InsertBtnCancel"), g + QPoint(172, 182));
}

void familyI(TableWriter& w) {
    w.banner(QStringLiteral("I: update page"));
    w.value(QStringLiteral("Size_I"), 11);
    w.colour(QStringLiteral("Color_I"), 255, 255, 255);
    w.at(QStringLiteral("P5"), kP5);
    w.at(QStringLiteral("lbl_BINPath"), kP5 + QPoint(20, 126));
    w.at(QStringLiteral("lbl_LoadBin"), kP5 + QPoint(20, 152));
    w.at(QStringLiteral("Btn_LoadBin"), kP5 + QPoint(60, 194));
    w.at(QStringLiteral("Btn_Program"), kP5 + QPoint(310, 194));
    w.at(QStringLiteral("Btn_WebLink"), kP5 + QPoint(20, 260));
}

void familyJ(TableWriter& w, Variant v) {
    w.banner(QStringLiteral("J: Fire Macro Page"));
    w.value(QStringLiteral("Size_J"), 9);
    w.colour(QStringLiteral("Color_J"), 255, 255, 255);
    w.colour(QStringLiteral("Color_J_Font"), 0, 128, 0);
    w.colour(QStringLiteral("Color_J_Back"), 0, 0, 0);
    if (v.second) w.colour(QStringLiteral("Color_J_Border"), 45, 114, 189);
    else w.colour(QStringLiteral("Color_J_Border"), 255, 255, 0);
    w.at(QStringLiteral("P6"), kP6);
    for (int k = 1; k <= 7; ++k) w.at(n("Fire%1", k), kP6 + QPoint(kGunX, kGunY0 + (k - 1) * kGunStep));
    for (int k = 1; k <= 5; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        w.at(n("GunMode%1", k), kP6 + QPoint(kGunModeX[i], kGunModeMidY - kGunModeSize[i] / 2));
    }
    w.at(QStringLiteral("IsHasLK"), kP6 + kIsHasLK);
    for (int c = 1; c <= 3; ++c) {
        const int y = kGunEditY[static_cast<std::size_t>(c - 1)];
        w.at(n("FireCnt%1", c), kP6 + QPoint(kGunEditX[0], y));
        w.at(n("FireX%1", c), kP6 + QPoint(kGunEditX[1], y));
        w.at(n("FireX%1_Offset", c), kP6 + QPoint(kGunEditX[2], y));
        w.at(n("FireY%1", c), kP6 + QPoint(kGunEditX[3], y));
        w.at(n("FireY%1_Offset", c), kP6 + QPoint(kGunEditX[4], y));
        w.at(n("FireTime%1", c), kP6 + QPoint(kGunEditX[5], y));
        w.at(n("FireColor%1", c), kP6 + QPoint(kGunEditX[6], y - 5));
    }
    w.at(QStringLiteral("FireConfirm"), kP6 + kFireConfirm);
    w.at(QStringLiteral("FireCancel"), kP6 + kFireCancel);
}

// Dialog families: positions inside the dialog picture "Msg", whose card spans
// (310, 215) .. (690, 445). The second layout draws them a little tighter.
void dialogFamilies(TableWriter& w, Variant v) {
    const int size = v.second ? 9 : 12;
    const int in = v.second ? 6 : 0;  // how much tighter
    const QPoint close{660 - in / 2, 228 + in / 3};
    const QPoint confirm{370 + in * 2, 400 - in};
    const QPoint clear{520 - in * 2, 400 - in};

    w.banner(QStringLiteral("K: combination-key dialog"));
    w.value(QStringLiteral("Size_K"), size);
    w.colour(QStringLiteral("Color_K"), 255, 255, 255);
    w.colour(QStringLiteral("Color_K_AK"), 0, 0, 0);
    w.at(QStringLiteral("AKT"), {330 + in, 232 + in / 2});
    w.at(QStringLiteral("AKC"), {350 + in, 284});
    w.value(QStringLiteral("AKC_W"), 280 - 4 * in);
    const int mkY = 332 - in;
    w.at(QStringLiteral("MK_C"), {350 + in, mkY});
    w.at(QStringLiteral("MK_S"), {420 + in, mkY});
    w.at(QStringLiteral("MK_A"), {490 + in, mkY});
    w.at(QStringLiteral("MK_W"), {560 + in, mkY});
    w.at(QStringLiteral("AK_Cfm"), confirm);
    w.at(QStringLiteral("AK_Clear"), clear);
    w.at(QStringLiteral("AK_Close"), close);

    w.banner(QStringLiteral("L: name, key, delay and value dialogs"));
    w.value(QStringLiteral("Size_L"), size);
    w.colour(QStringLiteral("Color_L"), 255, 255, 255);
    w.colour(QStringLiteral("Color_L_MN"), 0, 0, 0);
    w.at(QStringLiteral("MNT"), {330 + in, 232 + in / 2});
    w.at(QStringLiteral("MNC"), {350 + in, 304 - in});
    w.value(QStringLiteral("MNC_W"), 280 - 4 * in);
    w.at(QStringLiteral("MN_Cfm"), confirm);
    w.at(QStringLiteral("MN_Clear"), clear);
    w.at(QStringLiteral("MN_Close"), close);

    w.banner(QStringLiteral("M: X/Y value dialog"));
    w.value(QStringLiteral("Size_M"), size);
    w.colour(QStringLiteral("Color_M"), 255, 255, 255);
    w.colour(QStringLiteral("Color_M_MN"), 0, 0, 0);
    w.at(QStringLiteral("NewX"), {330 + in, 280});
    w.at(QStringLiteral("NewY"), {330 + in, 330 - in});
    w.at(QStringLiteral("NewXVal"), {490 - in, 280});
    w.value(QStringLiteral("NewXVal_W"), 170 - 2 * in);
    w.at(QStringLiteral("NewYVal"), {490 - in, 330 - in});
    w.value(QStringLiteral("NewYVal_W"), 170 - 2 * in);
    w.at(QStringLiteral("NewXY_Cfm"), confirm);
    w.at(QStringLiteral("NewXY_Clear"), clear);
    w.at(QStringLiteral("NewXY_Close"), close);
}

}  // namespace

QByteArray globalLayoutTable() {
    TableWriter w;
    w.section("org");
    w.banner(QStringLiteral("program switches"));
    w.comment(QStringLiteral("1: the web button opens Web"));
    w.value(QStringLiteral("Web_Enable"), 0);
    w.text(QStringLiteral("Web"), QStringLiteral("https://www.nivra-mouse.example/"));
    w.comment(QStringLiteral("the web button lies outside the window"));
    w.value(QStringLiteral("Web_X"), 10000);
    w.value(QStringLiteral("Web_Y"), 8600);
    w.comment(QStringLiteral("reserve manufacturer and product id accepted besides the mouse's own"));
    w.value(QStringLiteral("Rev_Manu_ID"), 0);
    w.value(QStringLiteral("Rev_Pro_ID"), 0);
    w.comment(QStringLiteral("folder of the PC macro library; empty: the program's data folder"));
    w.text(QStringLiteral("Path"), QString());
    w.value(QStringLiteral("TR_Enable"), 0);
    w.comment(QStringLiteral("gun entries and the gun key toggle in Game Mode"));
    w.value(QStringLiteral("GD_Enable"), 1);
    w.comment(QStringLiteral("CPI bars: 1 one lit segment, 0 progress"));
    w.value(QStringLiteral("DPILED_Status"), 1);
    w.comment(QStringLiteral("scopes of gun 6 (1..2) and gun 7 (1..3)"));
    w.value(QStringLiteral("Gun6_Num"), 2);
    w.value(QStringLiteral("Gun7_Num"), 3);
    w.value(QStringLiteral("Num_Order"), 0);
    return w.bytes();
}

QByteArray languageLayoutTable(int language) {
    const Variant v{language == 2};
    TableWriter w;
    w.section(QStringLiteral("org%1").arg(language).toLatin1().constData());
    w.comment(QStringLiteral("positions are pixels from the top left of the control's page"));
    familyA(w, v);
    familyB(w, v);
    familyC(w);
    familyG(w);
    familyD(w, v);
    familyE(w);
    familyF(w, v);
    familyI(w);
    familyJ(w, v);
    dialogFamilies(w, v);
    return w.bytes();
}

}  // namespace skinart
