// The layout pass of the main window and the dialog skin: reads the layout table of the
// language family by family, places and styles every skinned control, and captions them from
// the language table.
#include "skin/layout_pass.h"

#include "skin/resources.h"

#include <QDebug>
#include <QMutex>
#include <QSet>

#include <functional>

namespace nivra::skin {
namespace {

// A broken table stops every pass the same way; say so in the log once, not on every run.
void logOnce(const QString& error) {
    static QMutex mutex;
    static QSet<QString> logged;
    QMutexLocker lock(&mutex);
    if (logged.contains(error)) return;
    logged.insert(error);
    qWarning().noquote() << "skin:" << error;
}

QString blanks(int n) { return QString(n, QLatin1Char(' ')); }

QString numbered(const char* fmt, int i) { return QString::fromLatin1(fmt).arg(i); }

// Everything one pass works with: the table reader (which keeps the first error), the
// language table and the result under construction.
class Builder {
public:
    Builder(LayoutReader& reader, const LanguageTable& language)
        : r(reader), lang(language), family(language.fontFamily()) {}

    LayoutReader& r;
    const LanguageTable& lang;
    QString family;
    SkinResult result;

    ControlSkin& c(const QString& name) { return result.controls[name]; }

    QPoint point(const QString& prefix) {
        const int x = r.integer(prefix + QStringLiteral("_X"));
        const int y = r.integer(prefix + QStringLiteral("_Y"));
        return {x, y};
    }
    Colour colour(const QString& prefix) { return r.colour(prefix); }
    QString text(const QString& id) const { return lang.text(id); }

    // The size of a picture resource; a missing picture stops the pass like a missing key.
    QSize pictureSize(const QString& picture) {
        auto it = sizes_.constFind(picture.toLower());
        if (it != sizes_.constEnd()) return *it;
        QSize size = resourcePictureSize(picture);
        if (!size.isValid()) {
            if (error_.isEmpty()) error_ = QStringLiteral("%1: no such picture").arg(picture);
            size = QSize(0, 0);
        }
        sizes_.insert(picture.toLower(), size);
        return size;
    }

    void place(const QString& name, QPoint at) { c(name).pos = at; }
    void placeSized(const QString& name, QPoint at, QSize size) {
        ControlSkin& s = c(name);
        s.pos = at;
        s.width = size.width();
        s.height = size.height();
    }
    // A skinned button: the picture at AT, its label over the same rectangle.
    void pictureButton(const QString& image, const QString& label, QPoint at, const QString& picture) {
        place(image, at);
        placeSized(label, at, pictureSize(picture));
    }
    void show(const QString& name, bool on) { c(name).visible = on; }
    void font(const QString& name, int pointSize, std::optional<Colour> textColour = std::nullopt) {
        ControlSkin& s = c(name);
        s.fontFamily = family;
        s.pointSize = pointSize;
        if (textColour) s.textColour = *textColour;
    }
    void caption(const QString& name, const QString& id, int leadingBlanks = 0) {
        c(name).caption = blanks(leadingBlanks) + text(id);
    }

    bool stopped() const { return !r.ok() || !error_.isEmpty(); }
    QString error() const { return r.ok() ? error_ : r.error(); }

private:
    QHash<QString, QSize> sizes_;
    QString error_;
};

// ---------------------------------------------------------------- family A

void familyA(Builder& b) {
    const int size = b.r.integer(u"Size_A");
    const Colour colour = b.colour(QStringLiteral("Color_A"));
    const struct { const char* key; const char* stem; const char* picture; const char* id; } buttons[] = {
        {"Btn_A2", "Confirm1", "BtnS_01", "Str001"}, {"Btn_A3", "Confirm2", "BtnS_01", "Str002"},
        {"Btn_A5", "Confirm3", "BtnS_01", "Str016"}, {"Btn_A4", "Exit1", "ExitS_01", nullptr},
        {"Btn_A6", "Exit2", "BtnS_01", "Str003"},
    };
    for (const auto& btn : buttons) {
        const QString key = QLatin1String(btn.key);
        const bool on = b.r.switchOn(key + QStringLiteral("_Enable"));
        const QPoint at = b.point(key);
        for (int n = 1; n <= 5; ++n) {
            const QString image = QStringLiteral("Img_%1_%2").arg(QLatin1String(btn.stem)).arg(n);
            const QString label = QStringLiteral("Btn_%1_%2").arg(QLatin1String(btn.stem)).arg(n);
            b.show(image, on);
            b.show(label, on);
            if (on) b.pictureButton(image, label, at, QLatin1String(btn.picture));
            if (btn.id) {
                b.font(label, size, colour);
                b.caption(label, QLatin1String(btn.id));
            }
        }
    }
}

// ---------------------------------------------------------------- family B

void familyB(Builder& b) {
    const int size = b.r.integer(u"Size_B");
    const Colour colour = b.colour(QStringLiteral("Color_B"));
    const int spaceFront = b.r.integer(u"Btn_Space_F");
    const int spaceBack = b.r.integer(u"Btn_Space_B");
    const QSize picture = b.pictureSize(QStringLiteral("SetS_01"));
    const struct { int number; const char* stem; const char* id; } buttons[] = {
        {1, "Main", "Str004"},    {2, "Switch", "Str005"}, {3, "Fixed", "Str006"},  {4, "Adv", "Str007"},
        {5, "Breath", "Str008"},  {11, "Macro", "Str014"}, {12, "Update", "Str015"}, {6, "Save", "Str009"},
        {7, "Load", "Str010"},    {8, "Lang1", "Str011"},  {9, "Lang2", "Str012"},  {10, "Lang3", "Str013"},
    };
    const auto placeButton = [&](const QString& stem, int n, QPoint at) {
        const QString label = QStringLiteral("Btn_%1_%2").arg(stem).arg(n);
        b.place(QStringLiteral("Img_%1_%2").arg(stem).arg(n), at);
        ControlSkin& l = b.c(label);
        l.pos = QPoint(at.x() + spaceFront, at.y());
        l.width = picture.width() - spaceFront - spaceBack;
        l.height = picture.height();
    };
    for (const auto& btn : buttons) {
        const QString key = numbered("Btn_B%1", btn.number);
        const QString stem = QLatin1String(btn.stem);
        const bool on = b.r.switchOn(key + QStringLiteral("_Enable"));
        const QPoint at = b.point(key);
        for (int n = 1; n <= 5; ++n) {
            const QString label = QStringLiteral("Btn_%1_%2").arg(stem).arg(n);
            b.show(QStringLiteral("Img_%1_%2").arg(stem).arg(n), on);
            b.show(label, on);
            if (on) placeButton(stem, n, at);
            // The Engineer button shares the Update button's place; whether it shows is up to
            // the window.
            if (btn.number == 12) placeButton(QStringLiteral("Engineer"), n, at);
            b.font(label, size, colour);
            b.caption(label, QLatin1String(btn.id));
        }
    }
    for (const QString& label : pageCopies(QStringLiteral("Btn_Engineer"))) {
        b.font(label, size, colour);
        b.c(label).caption = QStringLiteral("Engineer");
    }
}

// ---------------------------------------------------------------- family C

constexpr std::array<int, 12> kKeyLabelOrder{1, 4, 7, 2, 5, 8, 3, 6, 9, 10, 11, 12};

void familyC(Builder& b, const SkinState& state) {
    const int size = b.r.integer(u"Size_C");
    const Colour colour = b.colour(QStringLiteral("Color_C"));
    b.place(QStringLiteral("Img_P1"), b.point(QStringLiteral("P1")));
    const QSize keyPicture = b.pictureSize(QStringLiteral("KeyS_01"));
    for (int k = 1; k <= 12; ++k) {
        const QString key = numbered("Key%1", k);
        const int m = kKeyLabelOrder[static_cast<std::size_t>(k - 1)];
        const QString label = numbered("Key%1", m);
        const QString image = numbered("Img_Key%1", m);
        const bool on = b.r.switchOn(key + QStringLiteral("_Enable"));
        const QPoint at = b.point(key);
        b.show(image, on);
        b.show(label, on);
        if (on) {
            b.place(image, at);
            b.placeSized(label, at, keyPicture);
        }
        b.font(label, size, colour);
    }
    for (int k = 1; k <= 8; ++k) {
        const QString key = numbered("ComboKey%1", k);
        const bool enabled = b.r.switchOn(key + QStringLiteral("_Enable"));
        const QPoint at = b.point(key);
        bool shown = enabled;
        if (k == 8) {
            // The gun key toggle belongs to Game Mode and only with the gun display on.
            b.result.values.comboKey8Enabled = enabled;
            shown = enabled && state.global.gunDisplay && state.page == Page::Game;
        }
        const QString image = numbered("Img_ComboKey%1", k);
        const QString label = numbered("IB_ComboKey%1", k);
        b.show(image, shown);
        b.show(label, shown);
        if (enabled) {
            b.place(image, at);
            b.place(label, at - QPoint(0, 2));
        }
        b.font(label, size, colour);
        b.caption(label, numbered("Str%1", 699 + k), 6);
    }
}

// ---------------------------------------------------------------- family G

void familyG(Builder& b) {
    const int size = b.r.integer(u"Size_G");
    const Colour text = b.colour(QStringLiteral("Color_G"));
    const Colour back = b.colour(QStringLiteral("Color_G_Back"));
    const Colour border = b.colour(QStringLiteral("Color_G_Border"));
    const Colour hoverText = b.colour(QStringLiteral("Color_G_SF"));
    const Colour hoverBack = b.colour(QStringLiteral("Color_G_SP"));
    QHash<QString, int> widths;
    for (const char* key : {"M_L_W", "SP_L_W", "O_L_W"}) widths.insert(QLatin1String(key), b.r.integer(QString::fromLatin1(key)));
    b.result.values.menuTextColour = text;
    b.result.values.menuHoverTextColour = hoverText;
    b.result.values.menuHoverBackColour = hoverBack;

    const QString prefix = QLatin1Char(' ') + b.text(QStringLiteral("Str200")) + QLatin1Char(' ');
    for (const MenuPanel& panel : functionMenus()) {
        ControlSkin& p = b.c(panel.name);
        p.backColour = back;
        p.borderColour = border;
        // Panels without a width key keep the width of their widget.
        const bool sized = !panel.widthKey.isEmpty();
        const int w = sized ? widths.value(panel.widthKey) : 0;
        if (sized) p.width = w;
        for (const MenuPanel::Entry& e : panel.entries) {
            b.font(e.name, size, text);
            ControlSkin& entry = b.c(e.name);
            entry.hoverTextColour = hoverText;
            entry.hoverBackColour = hoverBack;
            entry.caption = prefix + b.text(e.textId);
            if (sized) entry.width = w - 4;
            if (e.opensSubMenu) {
                const QString arrow = menuArrowName(e.name);
                b.font(arrow, size, text);
                b.c(arrow).caption = QStringLiteral(">>");
                if (sized) b.c(arrow).left = w - 24;
            }
        }
    }
    for (const char* list : {"LB_Name", "LB_Script"}) {
        b.font(QLatin1String(list), size, text);
        ControlSkin& l = b.c(QLatin1String(list));
        l.backColour = back;
        l.borderColour = border;
    }
}

// ---------------------------------------------------------------- family D

// Segments of a bar: segment i at X + (i - 1) * (width + D) across, or stacked upward.
void barSegments(Builder& b, const QString& stem, int count, const QString& picture, const QString& key,
                 bool across) {
    const QPoint at = b.point(key);
    const int d = b.r.integer(key + QStringLiteral("_D"));
    const QSize seg = b.pictureSize(picture);
    for (int i = 1; i <= count; ++i) {
        const QPoint p = across ? QPoint(at.x() + (i - 1) * (seg.width() + d), at.y())
                                : QPoint(at.x(), at.y() - (i - 1) * (d + seg.height()));
        b.place(stem + QString::number(i), p);
    }
}

void familyD(Builder& b) {
    const int size = b.r.integer(u"Size_D");
    const Colour selected = b.colour(QStringLiteral("Color_D_Selected"));
    const Colour other = b.colour(QStringLiteral("Color_D_notSelected"));
    const Colour back = b.colour(QStringLiteral("Color_D_Back"));
    const Colour border = b.colour(QStringLiteral("Color_D_Border"));
    b.result.values.levelSelectedColour = selected;
    b.result.values.levelOtherColour = other;
    b.place(QStringLiteral("Img_P2"), b.point(QStringLiteral("P2")));

    const QSize check = b.pictureSize(QStringLiteral("CbS_D"));
    for (int n = 1; n <= 3; ++n) {
        const QString repeat = numbered("Edt_Repeat%1", n), delay = numbered("Edt_DelayTime%1", n);
        b.place(repeat, b.point(numbered("FK%1Cnt", n)));
        b.place(delay, b.point(numbered("FK%1Delay", n)));
        const QPoint cont = b.point(numbered("FK%1Continue", n));
        b.place(numbered("Img_Fire%1Continue", n), cont);
        b.placeSized(numbered("lbl_Fire%1Continue", n), cont - QPoint(2, 0), check + QSize(4, 4));
        for (const QString& edit : {repeat, delay}) {
            b.font(edit, size, other);
            b.c(edit).backColour = back;
            b.c(edit).borderColour = border;
        }
    }
    for (int k = 1; k <= 4; ++k) {
        const QPoint at = b.point(numbered("Rep%1", k));
        b.place(numbered("Img_Rep%1", k), at);
        b.place(numbered("lbl_Rep%1", k), at - QPoint(4, 2));
    }
    const QSize bar1 = b.pictureSize(QStringLiteral("Bar1_D"));
    const auto speedBar = [&](const QString& key, const QString& name) {
        const QPoint at = b.point(key);
        const int d = b.r.integer(key + QStringLiteral("_D"));
        for (int i = 1; i <= 11; ++i) {
            const int left = at.x() + (i - 1) * (bar1.width() + d);
            b.place(QStringLiteral("Img_%1%2").arg(name).arg(i), {left, at.y()});
            const QString label = QStringLiteral("lbl_%1%2").arg(name).arg(i);
            b.place(label, {left + 4, at.y() + 20});
            b.font(label, size, other);
        }
    };
    speedBar(QStringLiteral("Spd"), QStringLiteral("Spd"));
    const QPoint isControl = b.point(QStringLiteral("IsControl"));
    b.place(QStringLiteral("Img_IsControl"), isControl);
    b.place(QStringLiteral("lbl_IsControl"), isControl - QPoint(8, 0));
    speedBar(QStringLiteral("DbSpd"), QStringLiteral("DbSpd"));
    speedBar(QStringLiteral("ScrSpd"), QStringLiteral("ScrSpd"));
    const QPoint isScreen = b.point(QStringLiteral("IsScreen"));
    b.place(QStringLiteral("Img_IsScreen"), isScreen);
    b.place(QStringLiteral("lbl_IsScreen"), isScreen - QPoint(2, 0));

    const int orientation = b.r.integer(u"DPI_Orientation");
    b.result.values.dpiOrientation = orientation;
    const bool across = orientation == 1;
    const QSize swatch = b.pictureSize(QStringLiteral("Col_F"));
    for (int k = 1; k <= 8; ++k) {
        const QPoint col = b.point(numbered("DPI%1_Color", k));
        for (const char* fmt : {"Img_DPI%1Col", "cs_DPI%1Col", "lbl_DPI%1Col"}) b.placeSized(numbered(fmt, k), col, swatch);
        b.place(numbered("Img_DPI%1", k), b.point(numbered("DPI%1_Check", k)));
        const QString label = numbered("lbl_DPI%1", k), value = numbered("lbl_DPI%1Value", k);
        b.place(label, b.point(numbered("DPI%1", k)));
        b.place(value, b.point(numbered("DPI%1_Value", k)));
        b.font(label, size, other);
        b.font(value, size, other);
        barSegments(b, QStringLiteral("Img_DPI%1_").arg(k), 12, QStringLiteral("Bar2_D"), numbered("DPI%1_Steps", k), across);
    }
    b.place(QStringLiteral("lbl_AIMDPI"), b.point(QStringLiteral("AIMDPI")));
    b.place(QStringLiteral("lbl_AIMDPIValue"), b.point(QStringLiteral("AIMDPI_Value")));
    b.font(QStringLiteral("lbl_AIMDPI"), size, selected);
    b.font(QStringLiteral("lbl_AIMDPIValue"), size, selected);
    barSegments(b, QStringLiteral("Img_AIMDPI_"), 12, QStringLiteral("Bar2_D"), QStringLiteral("AIMDPI_Steps"), across);
}

// ---------------------------------------------------------------- family E

void familyE(Builder& b) {
    const int size = b.r.integer(u"Size_E");
    const Colour colour = b.colour(QStringLiteral("Color_E"));
    b.place(QStringLiteral("Img_P3"), b.point(QStringLiteral("P3")));
    barSegments(b, QStringLiteral("Img_Fall"), 10, QStringLiteral("Bar1_D"), QStringLiteral("StepTime"), true);
    for (int i = 1; i <= 10; ++i) b.font(numbered("lbl_Fall%1", i), size, colour);
    for (int k = 1; k <= 6; ++k) {
        const QPoint at = b.point(numbered("LEDMode%1", k));
        b.place(numbered("Img_LED%1", k), at);
        b.place(numbered("lbl_LED%1", k), at - QPoint(4, 2));
        b.font(numbered("lbl_LED%1", k), size, colour);
    }
    const QSize swatch = b.pictureSize(QStringLiteral("Col_F"));
    for (int k = 1; k <= 10; ++k) {
        const QPoint at = b.point(numbered("LEDColor%1", k));
        for (const char* fmt : {"Img_Col%1", "cs_Col%1", "lbl_Col%1"}) b.placeSized(numbered(fmt, k), at, swatch);
    }
    // Each panel says what it holds: a title above its first control, and the notes of the
    // speed and colour panels, placed from the same keys.
    const QPoint led1 = b.point(QStringLiteral("LEDMode1"));
    const QPoint step = b.point(QStringLiteral("StepTime"));
    const QPoint col1 = b.point(QStringLiteral("LEDColor1"));
    const int barWidth = 10 * b.pictureSize(QStringLiteral("Bar1_D")).width() + 9 * b.r.integer(u"StepTime_D");
    const struct { const char* name; QPoint at; QSize size; const char* id; int extra; } texts[] = {
        {"lbl_LightEffectTitle", led1 + QPoint(-4, -36), {260, 22}, "Str760", 2},
        {"lbl_LightSpeedTitle", step + QPoint(-4, -56), {300, 22}, "Str761", 2},
        {"lbl_LightSpeedNote", step + QPoint(0, -28), {barWidth + 60, 20}, "Str767", 0},
        {"lbl_LightFast", step + QPoint(0, 46), {barWidth / 2, 18}, "Str763", 0},
        {"lbl_LightSlow", step + QPoint(barWidth - barWidth / 2, 46), {barWidth / 2, 18}, "Str764", 0},
        {"lbl_LightColourTitle", col1 + QPoint(-24, -48), {300, 22}, "Str762", 2},
        {"lbl_LightColourHint", col1 + QPoint(140, -46), {260, 20}, "Str765", 0},
        {"lbl_LightSyncNote", col1 + QPoint(0, 20), {360, 44}, "Str766", 0},
    };
    for (const auto& t : texts) {
        const QString name = QLatin1String(t.name);
        b.placeSized(name, t.at, t.size);
        b.font(name, size + t.extra, colour);
        b.caption(name, QLatin1String(t.id));
    }
}

// ---------------------------------------------------------------- family F

// The three delay-mode rows (record delay, default delay, no delay) of a group.
void delayRows(Builder& b, const QString& key, const QString& infix) {
    const QPoint at = b.point(key);
    const int h = b.r.integer(key + QStringLiteral("_H"));
    const char* rows[] = {"RecDelay", "DelayTime", "NoDelay"};
    for (int j = 0; j < 3; ++j) {
        const QString row = infix + QLatin1String(rows[j]);
        b.place(QStringLiteral("Img_") + row, {at.x(), at.y() + j * h});
        b.place(QStringLiteral("IB_") + row, {at.x() - 2, at.y() + j * h});
    }
}

QStringList insertItems(const Builder& b, std::initializer_list<int> ids) {
    QStringList items;
    for (int id : ids) items << b.text(numbered("Str%1", id));
    return items;
}

void delayCaptions(Builder& b, const QString& infix) {
    b.caption(QStringLiteral("IB_") + infix + QStringLiteral("RecDelay"), QStringLiteral("Str414"), 5);
    b.caption(QStringLiteral("IB_") + infix + QStringLiteral("DelayTime"), QStringLiteral("Str415"), 5);
    b.caption(QStringLiteral("IB_") + infix + QStringLiteral("NoDelay"), QStringLiteral("Str416"), 5);
}

void familyF(Builder& b) {
    const int size = b.r.integer(u"Size_F");
    const Colour colour = b.colour(QStringLiteral("Color_F"));
    const Colour listBack = b.colour(QStringLiteral("Color_F_LBack"));
    const Colour editBorder = b.colour(QStringLiteral("Color_F_LBorder"));
    const Colour listText = b.colour(QStringLiteral("Color_F_Font"));
    const Colour buttonBack = b.colour(QStringLiteral("Color_F_Back"));
    b.place(QStringLiteral("Img_P4"), b.point(QStringLiteral("P4")));
    b.result.values.macroNameHeight = b.r.integer(u"MacroNameHeight");

    const auto list = [&](const QString& key, const QString& name) {
        const QPoint at = b.point(key);
        const int h = b.r.integer(key + QStringLiteral("_H"));
        const int w = b.r.integer(key + QStringLiteral("_W"));
        b.placeSized(name, at, QSize(w, h));
    };
    list(QStringLiteral("PCMacroName"), QStringLiteral("LB_PCMacroName"));
    list(QStringLiteral("MseMacroName"), QStringLiteral("LB_MacroName"));
    list(QStringLiteral("MacroContent"), QStringLiteral("LB_macro"));
    const QString macroButton = QStringLiteral("MacroS_01"), smallButton = QStringLiteral("MacroBtnS_01");
    b.pictureButton(QStringLiteral("Img_New"), QStringLiteral("Btn_New"), b.point(QStringLiteral("BtnNew")), macroButton);
    b.pictureButton(QStringLiteral("Img_Start"), QStringLiteral("Btn_Start"), b.point(QStringLiteral("BtnStart")), macroButton);
    b.place(QStringLiteral("Gb_Delay"), b.point(QStringLiteral("DelayTime")));
    delayRows(b, QStringLiteral("RecDelay"), QString());
    b.place(QStringLiteral("Edt_Delay"), b.point(QStringLiteral("DelayEdit")));
    const QPoint insert = b.point(QStringLiteral("Insert"));
    b.place(QStringLiteral("Gb_Insert"), insert);
    b.place(QStringLiteral("Img_InsertBase"), insert + QPoint(10, 10));
    b.place(QStringLiteral("CB_Insert"), b.point(QStringLiteral("InsertList")));
    delayRows(b, QStringLiteral("InsertRecDelay"), QStringLiteral("Insert"));
    const QPoint delayEdit = b.point(QStringLiteral("InsertDelayEdit"));
    b.place(QStringLiteral("Edt_InsertDelay"), delayEdit);
    b.place(QStringLiteral("lbl_Delay"), delayEdit + QPoint(-74, 2));
    b.place(QStringLiteral("lbl_s_A"), delayEdit + QPoint(44, 2));
    const QPoint axis = b.point(QStringLiteral("InsertAxisEdit"));
    b.place(QStringLiteral("edt_XAxisValue"), axis + QPoint(-80, 0));
    b.place(QStringLiteral("lbl_XAxisValue"), axis + QPoint(-120, 2));
    b.place(QStringLiteral("edt_YAxisValue"), axis);
    b.place(QStringLiteral("lbl_YAxisValue"), axis + QPoint(-32, 2));
    b.place(QStringLiteral("edt_Repeat"), axis);
    b.place(QStringLiteral("lbl_Repeat"), axis + QPoint(-64, 2));
    b.pictureButton(QStringLiteral("Img_InsertStart"), QStringLiteral("Btn_InsertStart"),
                    b.point(QStringLiteral("InsertBtnStart")), macroButton);
    b.pictureButton(QStringLiteral("Img_OK"), QStringLiteral("Btn_OK"), b.point(QStringLiteral("InsertBtnOK")), smallButton);
    b.pictureButton(QStringLiteral("Img_Cancel"), QStringLiteral("Btn_Cancel"), b.point(QStringLiteral("InsertBtnCancel")),
                    smallButton);

    // Fonts and colours of the Macro page.
    for (const char* name : {"Btn_New", "Btn_Start", "Btn_InsertStart", "Btn_OK", "Btn_Cancel", "IB_RecDelay",
                             "IB_DelayTime", "IB_NoDelay", "IB_InsertRecDelay", "IB_InsertDelayTime",
                             "IB_InsertNoDelay", "lbl_Delay", "lbl_s_A", "lbl_XAxisValue", "lbl_YAxisValue",
                             "lbl_Repeat", "CB_Insert", "Edt_Delay", "Edt_InsertDelay", "edt_XAxisValue",
                             "edt_YAxisValue", "edt_Repeat"}) {
        b.font(QLatin1String(name), size, colour);
    }
    for (const char* name : {"Btn_Del", "Btn_Insert", "Btn_Edit", "Btn_DelMacro", "Btn_DevExport", "Btn_NewMacro",
                             "Btn_ImportOne", "Btn_Export", "Btn_Import", "Btn_ExportOne", "Btn_NewName",
                             "Btn_DelPCMacro", "Btn_AddMacro"}) {
        b.font(QLatin1String(name), size, listText);
        b.c(QLatin1String(name)).backColour = buttonBack;
    }
    for (const char* name : {"LB_PCMacroName", "LB_MacroName", "LB_macro", "LB_FireMacroName", "LB_FireMacro"}) {
        b.font(QLatin1String(name), size, listText);
        b.c(QLatin1String(name)).backColour = listBack;
    }
    for (const char* name : {"CB_Insert", "CB_InsertFire"}) b.c(QLatin1String(name)).backColour = listBack;
    for (const char* name : {"Edt_Delay", "Edt_InsertDelay", "edt_Repeat", "edt_XAxisValue", "edt_YAxisValue",
                             "Edt_FireDelay", "Edt_InsertFireDelay", "edt_FireRepeat", "edt_FireXAxisValue",
                             "edt_FireYAxisValue"}) {
        b.c(QLatin1String(name)).borderColour = editBorder;
    }

    // Captions of the Macro page.
    const struct { const char* name; const char* id; } captions[] = {
        {"Btn_Start", "Str400"},     {"Btn_InsertStart", "Str400"}, {"Btn_NewName", "Str402"},
        {"Btn_ExportOne", "Str404"}, {"Btn_Export", "Str405"},      {"Btn_DevExport", "Str405"},
        {"Btn_ImportOne", "Str406"}, {"Btn_Import", "Str407"},      {"Btn_Del", "Str408"},
        {"Btn_Insert", "Str409"},    {"Btn_New", "Str432"},         {"Btn_NewMacro", "Str432"},
        {"Btn_DelMacro", "Str433"},  {"Btn_DelPCMacro", "Str433"},  {"Btn_AddMacro", "Str434"},
        {"Btn_Edit", "Str435"},      {"lbl_Delay", "Str417"},       {"lbl_s_A", "Str418"},
        {"lbl_XAxisValue", "Str454"}, {"lbl_YAxisValue", "Str455"}, {"lbl_Repeat", "Str458"},
        {"Btn_OK", "Str420"},        {"Btn_Cancel", "Str422"},
    };
    for (const auto& cap : captions) b.caption(QLatin1String(cap.name), QLatin1String(cap.id));
    delayCaptions(b, QString());
    delayCaptions(b, QStringLiteral("Insert"));
    b.c(QStringLiteral("CB_Insert")).items = insertItems(b, {410, 411, 412, 413, 450, 451, 456, 457});
}

// ---------------------------------------------------------------- family I

void familyI(Builder& b) {
    const int size = b.r.integer(u"Size_I");
    const Colour colour = b.colour(QStringLiteral("Color_I"));
    b.place(QStringLiteral("Img_P5"), b.point(QStringLiteral("P5")));
    b.place(QStringLiteral("lbl_BINPath"), b.point(QStringLiteral("lbl_BINPath")));
    b.place(QStringLiteral("lbl_LoadBIN"), b.point(QStringLiteral("lbl_LoadBin")));
    b.pictureButton(QStringLiteral("Img_LoadBIN"), QStringLiteral("Btn_LoadBIN"), b.point(QStringLiteral("Btn_LoadBin")),
                    QStringLiteral("KeyS_01"));
    b.pictureButton(QStringLiteral("Img_Program"), QStringLiteral("Btn_Program"), b.point(QStringLiteral("Btn_Program")),
                    QStringLiteral("KeyS_01"));
    b.place(QStringLiteral("Btn_WebLink"), b.point(QStringLiteral("Btn_WebLink")));
    for (const char* name : {"lbl_BINPath", "lbl_LoadBIN", "Btn_LoadBIN", "Btn_Program", "Btn_WebLink"}) {
        b.font(QLatin1String(name), size, colour);
    }
    b.caption(QStringLiteral("Btn_LoadBIN"), QStringLiteral("Str440"));
    b.caption(QStringLiteral("Btn_Program"), QStringLiteral("Str441"));
    b.caption(QStringLiteral("lbl_BINPath"), QStringLiteral("Str442"));
}

// ---------------------------------------------------------------- family J

void familyJ(Builder& b) {
    const int size = b.r.integer(u"Size_J");
    const Colour colour = b.colour(QStringLiteral("Color_J"));
    const Colour editText = b.colour(QStringLiteral("Color_J_Font"));
    const Colour editBack = b.colour(QStringLiteral("Color_J_Back"));
    const Colour editBorder = b.colour(QStringLiteral("Color_J_Border"));
    b.place(QStringLiteral("Img_P6"), b.point(QStringLiteral("P6")));
    const QSize gun = b.pictureSize(QStringLiteral("Gun1_01"));
    for (int k = 1; k <= 7; ++k) {
        const QPoint at = b.point(numbered("Fire%1", k));
        b.place(numbered("Img_Fire%1", k), at);
        const QString label = numbered("Btn_Fire%1", k);
        b.placeSized(label, at, gun);
        b.font(label, size, colour);
        b.caption(label, numbered("Str%1", 599 + k));
    }
    for (int k = 1; k <= 5; ++k) b.place(numbered("Img_GunMode%1", k), b.point(numbered("GunMode%1", k)));
    const QPoint left = b.point(QStringLiteral("IsHasLK"));
    b.place(QStringLiteral("Img_FireSelLeft"), left);
    b.placeSized(QStringLiteral("lbl_FireSelLeft"), left - QPoint(2, 0), b.pictureSize(QStringLiteral("CbS_D")) + QSize(4, 4));
    const struct { const char* key; const char* edit; } edits[] = {
        {"FireCnt%1", "Edt_FireCnt%1"}, {"FireX%1", "Edt_FireX%1"}, {"FireX%1_Offset", "Edt_FireX%1Offset"},
        {"FireY%1", "Edt_FireY%1"},     {"FireY%1_Offset", "Edt_FireY%1Offset"}, {"FireTime%1", "Edt_FireTime%1"},
    };
    for (const auto& e : edits) {
        for (int c = 1; c <= 3; ++c) {
            const QString edit = numbered(e.edit, c);
            b.place(edit, b.point(numbered(e.key, c)));
            b.font(edit, size, editText);
            b.c(edit).backColour = editBack;
            b.c(edit).borderColour = editBorder;
        }
    }
    const QSize swatch = b.pictureSize(QStringLiteral("Col_F"));
    for (int c = 1; c <= 3; ++c) {
        const QPoint at = b.point(numbered("FireColor%1", c));
        for (const char* fmt : {"Img_FireColor%1", "cs_FireColor%1", "IB_FireColor%1"}) b.placeSized(numbered(fmt, c), at, swatch);
    }
    b.pictureButton(QStringLiteral("Img_FireConfirm"), QStringLiteral("Btn_FireConfirm"), b.point(QStringLiteral("FireConfirm")),
                    QStringLiteral("BtnS_01"));
    b.pictureButton(QStringLiteral("Img_FireExit"), QStringLiteral("Btn_FireExit"), b.point(QStringLiteral("FireCancel")),
                    QStringLiteral("BtnS_01"));
    b.font(QStringLiteral("Btn_FireConfirm"), size + 2, colour);
    b.font(QStringLiteral("Btn_FireExit"), size + 2, colour);
    b.caption(QStringLiteral("Btn_FireConfirm"), QStringLiteral("Str620"));
    b.caption(QStringLiteral("Btn_FireExit"), QStringLiteral("Str621"));

    // The fire macro recorder on this page.
    for (const char* name : {"Btn_FireStart", "Btn_NewFireName", "Btn_FireDel", "Btn_FireInsert", "Btn_FireOK",
                             "Btn_FireCancel", "CB_InsertFire", "Edt_FireDelay", "Edt_InsertFireDelay",
                             "edt_FireRepeat", "edt_FireXAxisValue", "edt_FireYAxisValue", "IB_FireRecDelay",
                             "IB_FireDelayTime", "IB_FireNoDelay", "lbl_FireDelay", "lbl_Fires_A",
                             "lbl_FireXAxisValue", "lbl_FireYAxisValue", "lbl_FireRepeat", "LB_FireMacroName",
                             "LB_FireMacro"}) {
        b.font(QLatin1String(name), size, colour);
    }
    const struct { const char* name; const char* id; } captions[] = {
        {"Btn_FireStart", "Str400"},      {"Btn_NewFireName", "Str402"},     {"Btn_FireDel", "Str408"},
        {"Btn_FireInsert", "Str409"},     {"Btn_FireOK", "Str420"},          {"Btn_FireCancel", "Str422"},
        {"lbl_FireDelay", "Str417"},      {"lbl_Fires_A", "Str418"},         {"lbl_FireXAxisValue", "Str454"},
        {"lbl_FireYAxisValue", "Str455"}, {"lbl_FireRepeat", "Str458"},
    };
    for (const auto& cap : captions) b.caption(QLatin1String(cap.name), QLatin1String(cap.id));
    delayCaptions(b, QStringLiteral("Fire"));
    b.c(QStringLiteral("CB_InsertFire")).items = insertItems(b, {410, 411, 450, 451, 456, 457});
}

// ---------------------------------------------------------------- values for other parts

void keepTexts(Builder& b) {
    SkinValues& v = b.result.values;
    const auto keep = [&](int from, int to) {
        for (int id = from; id <= to; ++id) {
            const QString key = numbered("Str%1", id);
            v.texts.insert(key, b.text(key));
        }
    };
    v.texts.insert(QStringLiteral("Str022"), b.text(QStringLiteral("Str022")));
    keep(100, 108);
    keep(210, 293);
    keep(300, 311);
    keep(400, 401);
    keep(420, 422);
    keep(430, 430);
    keep(600, 606);
    for (int i = 0; i < 12; ++i) v.cpiValues[static_cast<std::size_t>(i)] = b.text(numbered("Str%1", 300 + i));
    for (int i = 0; i < 7; ++i) v.gunNames[static_cast<std::size_t>(i)] = b.text(numbered("Str%1", 600 + i));
}

const char* panelPictureFor(Page page) {
    switch (page) {
    case Page::Office:
    case Page::Game:
    case Page::Third: return "Img_P1";
    case Page::Advanced: return "Img_P2";
    case Page::Light: return "Img_P3";
    case Page::Macro: return "Img_P4";
    default: return nullptr;
    }
}

SkinResult fail(QString error) {
    logOnce(error);
    SkinResult r;
    r.error = std::move(error);
    return r;
}

}  // namespace

SkinResult ApplySkinAndLanguage(int languageNumber, const SkinState& state, const IniTable& layout,
                                const LanguageTable& language, const LanguageSet& allLanguages) {
    const QString sectionName = QStringLiteral("org%1").arg(languageNumber);
    if (!layout.hasSection(sectionName)) {
        return fail(QStringLiteral("%1: no section [%2]").arg(layout.name(), sectionName));
    }
    LayoutReader reader(layout.section(sectionName));
    Builder b(reader, language);
    const QString set = QStringLiteral("L%1_").arg(languageNumber);

    // Pictures: the page backgrounds, the panel of the page in view, the Fire Macro Page panel.
    for (int n = 1; n <= 6; ++n) b.c(numbered("Img_Base_%1", n)).picture = set + QStringLiteral("BackGround");
    if (const char* panel = panelPictureFor(state.page)) {
        const int index = QLatin1String(panel).back().toLatin1() - '0';
        b.c(QLatin1String(panel)).picture = set + QStringLiteral("Back%1").arg(index);
    }
    b.c(QStringLiteral("Img_P6")).picture = set + QStringLiteral("Back5");

    // The families in table order; the first missing key or bad number stops the pass.
    const std::function<void()> families[] = {
        [&] { familyA(b); }, [&] { familyB(b); }, [&] { familyC(b, state); }, [&] { familyG(b); },
        [&] { familyD(b); }, [&] { familyE(b); }, [&] { familyF(b); },        [&] { familyI(b); },
        [&] { familyJ(b); },
    };
    for (const auto& family : families) {
        family();
        if (b.stopped()) return fail(b.error());
    }

    // The web button sits where the program switches put it.
    for (int n = 1; n <= 5; ++n) {
        b.pictureButton(numbered("Img_Web_%1", n), numbered("Btn_Web_%1", n), state.global.webPos,
                        QStringLiteral("WebS_01"));
    }
    if (b.stopped()) return fail(b.error());

    // Language: font family of the prompts, title, kept texts, key labels translated again.
    SkinValues& v = b.result.values;
    v.language = languageNumber;
    v.fontName = language.fontName();
    v.fontFamily = b.family;
    v.title = language.title();
    // The password prompt; the message dialog takes values.fontFamily.
    b.c(QStringLiteral("dlgPass")).fontFamily = b.family;
    keepTexts(b);
    for (int m = 1; m <= 12; ++m) {
        b.c(numbered("Key%1", m)).caption =
            allLanguages.translate(state.keyCaptions[static_cast<std::size_t>(m - 1)], languageNumber);
    }
    return std::move(b.result);
}

SkinResult ApplySkinAndLanguage(int languageNumber, const SkinState& state) {
    if (languageNumber < 1 || languageNumber > kLanguageCount) {
        return fail(QStringLiteral("language number %1 is not 1, 2 or 3").arg(languageNumber));
    }
    const Checked<IniTable> layout = loadLayoutTable(QStringLiteral("ORG%1").arg(languageNumber));
    if (!layout) return fail(layout.error());
    const Checked<LanguageSet>& languages = builtInLanguages();
    if (!languages) return fail(languages.error());
    return ApplySkinAndLanguage(languageNumber, state, *layout, languages->table(languageNumber), *languages);
}

// ---------------------------------------------------------------- dialogs

DialogControls dialogControls(Dialog dialog) {
    switch (dialog) {
    case Dialog::AssemblyKey: return {{QStringLiteral("lbl_Title")}, {QStringLiteral("Edt_Assembly")}};
    case Dialog::MacroName: return {{QStringLiteral("lbl_Title")}, {QStringLiteral("Edt_MacroName")}};
    case Dialog::OneKey: return {{QStringLiteral("lbl_Title")}, {QStringLiteral("Edt_EditKey")}};
    case Dialog::DelayTime: return {{QStringLiteral("lbl_Title")}, {QStringLiteral("Edt_EditTime")}};
    case Dialog::XYValue:
        return {{QStringLiteral("lbl_TitleX"), QStringLiteral("lbl_TitleY")},
                {QStringLiteral("Edt_EditX"), QStringLiteral("Edt_EditY")}};
    case Dialog::Value: return {{QStringLiteral("lbl_Title")}, {QStringLiteral("Edt_EditTime")}};
    }
    return {};
}

SkinResult ApplyDialogSkin(Dialog dialog, int languageNumber, const IniTable& layout, const LanguageTable& language) {
    // A number that names none of the small dialogs has no controls to lay out.
    if (dialogControls(dialog).titles.isEmpty()) {
        return fail(QStringLiteral("dialog %1 is not one of the small dialogs 2..7").arg(static_cast<int>(dialog)));
    }
    const QString sectionName = QStringLiteral("org%1").arg(languageNumber);
    if (!layout.hasSection(sectionName)) {
        return fail(QStringLiteral("%1: no section [%2]").arg(layout.name(), sectionName));
    }
    LayoutReader reader(layout.section(sectionName));
    Builder b(reader, language);
    const DialogControls names = dialogControls(dialog);
    const char family = dialog == Dialog::AssemblyKey ? 'K' : dialog == Dialog::XYValue ? 'M' : 'L';
    const QString f = QString(QLatin1Char(family));

    const int size = reader.integer(QStringLiteral("Size_") + f);
    const Colour text = b.colour(QStringLiteral("Color_") + f);
    const Colour editText = b.colour(QStringLiteral("Color_") + f + (family == 'K' ? QStringLiteral("_AK") : QStringLiteral("_MN")));

    // Layout keys of the title(s), edit(s) and buttons, by family.
    QStringList titleKeys, editKeys;
    QString confirmKey, clearKey, closeKey;
    switch (family) {
    case 'K':
        titleKeys = {QStringLiteral("AKT")};
        editKeys = {QStringLiteral("AKC")};
        confirmKey = QStringLiteral("AK_Cfm");
        clearKey = QStringLiteral("AK_Clear");
        closeKey = QStringLiteral("AK_Close");
        break;
    case 'M':
        titleKeys = {QStringLiteral("NewX"), QStringLiteral("NewY")};
        editKeys = {QStringLiteral("NewXVal"), QStringLiteral("NewYVal")};
        confirmKey = QStringLiteral("NewXY_Cfm");
        clearKey = QStringLiteral("NewXY_Clear");
        closeKey = QStringLiteral("NewXY_Close");
        break;
    default:
        titleKeys = {QStringLiteral("MNT")};
        editKeys = {QStringLiteral("MNC")};
        confirmKey = QStringLiteral("MN_Cfm");
        clearKey = QStringLiteral("MN_Clear");
        closeKey = QStringLiteral("MN_Close");
        break;
    }
    for (int i = 0; i < titleKeys.size(); ++i) {
        const QString& title = names.titles[i];
        b.place(title, b.point(titleKeys[i]));
        b.font(title, size + 5, text);
    }
    // The edit's text colour is dark in the shipped tables (0, 0, 0), drawn on a light
    // field; a light text colour gets a dark field.
    const bool darkText = 299 * colourRed(editText) + 587 * colourGreen(editText) + 114 * colourBlue(editText) < 128000;
    const Colour field = darkText ? colourFromRgb(255, 255, 255) : colourFromRgb(0, 0, 0);
    for (int i = 0; i < editKeys.size(); ++i) {
        const QString& edit = names.edits[i];
        b.place(edit, b.point(editKeys[i]));
        b.c(edit).width = reader.integer(editKeys[i] + QStringLiteral("_W"));
        b.font(edit, size + 3, editText);
        b.c(edit).backColour = field;
    }
    if (family == 'K') {
        const struct { const char* key; const char* box; const char* id; } boxes[] = {
            {"MK_C", "CB_Ctrl", "Str503"}, {"MK_S", "CB_Shift", "Str504"}, {"MK_A", "CB_Alt", "Str505"},
            {"MK_W", "CB_Win", "Str506"}};
        for (const auto& m : boxes) {
            b.place(QLatin1String(m.box), b.point(QLatin1String(m.key)));
            b.font(QLatin1String(m.box), size, text);
            b.caption(QLatin1String(m.box), QLatin1String(m.id));
            // A grey box: its outline shows on the dark dialog and the mark, drawn in the
            // text colour, reads on it.
            b.c(QLatin1String(m.box)).backColour = colourFromRgb(70, 80, 96);
        }
    }
    b.pictureButton(QStringLiteral("Img_Confirm"), QStringLiteral("IB_Confirm"), b.point(confirmKey), QStringLiteral("BtnS_01"));
    b.pictureButton(QStringLiteral("Img_Cancel"), QStringLiteral("IB_Cancel"), b.point(clearKey), QStringLiteral("BtnS_01"));
    b.pictureButton(QStringLiteral("Img_Close"), QStringLiteral("IB_Close"), b.point(closeKey), QStringLiteral("ExitS_01"));
    b.font(QStringLiteral("IB_Confirm"), size + 1, text);
    b.font(QStringLiteral("IB_Cancel"), size + 1, text);
    if (b.stopped()) return fail(b.error());

    // Texts.
    QStringList titleIds;
    QString confirmId = QStringLiteral("Str511"), clearId = QStringLiteral("Str512");
    switch (dialog) {
    case Dialog::AssemblyKey:
        titleIds = {QStringLiteral("Str500")};
        confirmId = QStringLiteral("Str501");
        clearId = QStringLiteral("Str502");
        break;
    case Dialog::MacroName: titleIds = {QStringLiteral("Str510")}; break;
    case Dialog::OneKey: titleIds = {QStringLiteral("Str520")}; break;
    case Dialog::DelayTime: titleIds = {QStringLiteral("Str521")}; break;
    case Dialog::XYValue: titleIds = {QStringLiteral("Str522"), QStringLiteral("Str523")}; break;
    case Dialog::Value: titleIds = {QStringLiteral("Str524")}; break;
    }
    for (int i = 0; i < titleIds.size(); ++i) b.caption(names.titles[i], titleIds[i]);
    b.caption(QStringLiteral("IB_Confirm"), confirmId);
    b.caption(QStringLiteral("IB_Cancel"), clearId);
    SkinValues& v = b.result.values;
    v.language = languageNumber;
    v.fontName = language.fontName();
    v.fontFamily = b.family;
    v.title = language.title();
    return std::move(b.result);
}

SkinResult ApplyDialogSkin(Dialog dialog, int languageNumber) {
    if (languageNumber < 1 || languageNumber > kLanguageCount) {
        return fail(QStringLiteral("language number %1 is not 1, 2 or 3").arg(languageNumber));
    }
    const Checked<IniTable> layout = loadLayoutTable(QStringLiteral("ORG%1").arg(languageNumber));
    if (!layout) return fail(layout.error());
    const Checked<LanguageSet>& languages = builtInLanguages();
    if (!languages) return fail(languages.error());
    return ApplyDialogSkin(dialog, languageNumber, *layout, languages->table(languageNumber));
}

}  // namespace nivra::skin
