// skinpreview: draws the pages and dialogs as the layout pass lays them out (pictures at their
// places, captions in their fonts, edits and lists as boxes), without any widget, so that the
// art and the layout tables can be checked together.
#include "skin/layout_pass.h"
#include "skin/resources.h"

#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QRegularExpression>

#include <cstdio>

namespace {

using namespace nivra::skin;

struct Preview {
    const char* file;
    Page page;
    int copy;         // page copy of the page buttons (0: none)
    const char* own;  // controls of the page besides the page buttons
};

const Preview kPages[] = {
    {"profile", Page::Game, 1, "^(Img_P1|Img_Key\\d+|Key\\d+|Img_ComboKey\\d|IB_ComboKey\\d)$"},
    {"advanced", Page::Advanced, 2,
     "^(Img_P2|Edt_Repeat\\d|Edt_DelayTime\\d|Img_Fire\\dContinue|lbl_Fire\\dContinue|Img_Rep\\d|lbl_Rep\\d|"
     "Img_(Spd|DbSpd|ScrSpd)\\d+|lbl_(Spd|DbSpd|ScrSpd)\\d+|Img_IsControl|Img_IsScreen|Img_DPI\\d.*|lbl_DPI\\d.*|"
     "lbl_AIMDPI.*|Img_AIMDPI.*)$"},
    {"breathing", Page::Light, 3, "^(Img_P3|Img_Fall\\d+|Img_LED\\d|lbl_LED\\d|Img_Col\\d+)$"},
    {"macro", Page::Macro, 4,
     "^(Img_P4|LB_PCMacroName|LB_MacroName|LB_macro|Img_New|Btn_New|Img_Start|Btn_Start|Gb_Insert|Img_InsertBase|"
     "CB_Insert|Img_Insert(RecDelay|DelayTime|NoDelay)|IB_Insert(RecDelay|DelayTime|NoDelay)|Edt_InsertDelay|"
     "lbl_Delay|lbl_s_A|Img_InsertStart|Btn_InsertStart|Img_OK|Btn_OK|Img_Cancel|Btn_Cancel)$"},
    {"update", Page::Update, 5, "^(Img_P5|lbl_BINPath|lbl_LoadBIN|Img_LoadBIN|Btn_LoadBIN|Img_Program|Btn_Program|Btn_WebLink)$"},
    {"firemacro", Page::Office, 0,
     "^(Img_P6|Img_Fire\\d|Btn_Fire\\d|Img_GunMode\\d|Img_FireSelLeft|Edt_Fire.*|Img_FireColor\\d|"
     "Img_FireConfirm|Btn_FireConfirm|Img_FireExit|Btn_FireExit)$"},
};

// Pictures for controls whose picture the page code sets later.
QString stand_in(const QString& name) {
    static const QRegularExpression radio(QStringLiteral("^Img_(Rep\\d|LED\\d)$"));
    static const QRegularExpression check(QStringLiteral("^Img_(DPI\\d|ComboKey\\d|IsControl|IsScreen)$"));
    if (radio.match(name).hasMatch()) return name == QLatin1String("Img_Rep4") || name == QLatin1String("Img_LED2")
                                                 ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D");
    if (check.match(name).hasMatch()) return name == QLatin1String("Img_DPI1") ? QStringLiteral("CbS_E") : QStringLiteral("CbS_D");
    if (name == QLatin1String("Img_InsertBase")) return QStringLiteral("InsertDelayBase");
    return {};
}

void drawText(QPainter& p, const ControlSkin& c, const QString& text, const QRect& rect, Qt::Alignment align) {
    QFont f(c.fontFamily.value_or(QStringLiteral("DejaVu Sans")));
    f.setPointSize(c.pointSize.value_or(9));
    p.setFont(f);
    p.setPen(toQColor(c.textColour.value_or(colourFromRgb(255, 255, 255))));
    p.drawText(rect, align | Qt::TextSingleLine, text);
}

bool isBox(const QString& name) {
    return name.startsWith(QLatin1String("Edt_")) || name.startsWith(QLatin1String("edt_")) ||
           name.startsWith(QLatin1String("LB_")) || name.startsWith(QLatin1String("CB_"));
}

QImage render(const SkinResult& r, const std::map<QString, QString>& start, const QRegularExpression& own, int copy,
              QSize window) {
    QImage img(window, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.drawImage(0, 0, resourcePicture(*r.controls.at(QStringLiteral("Img_Base_1")).picture));
    const QString suffix = copy ? QStringLiteral("_%1").arg(copy) : QStringLiteral("_none");
    // Pictures first (panels before buttons), then boxes, then captions on top.
    std::vector<std::pair<QString, const ControlSkin*>> mine;
    for (const auto& [name, c] : r.controls) {
        static const QRegularExpression buttons(QStringLiteral(
            "^(Img|Btn)_(Main|Switch|Fixed|Adv|Breath|Macro|Update|Save|Load|Lang\\d|Confirm\\d|Exit\\d)_\\d$"));
        const bool pageButton = name.endsWith(suffix) && buttons.match(name).hasMatch();
        if (!pageButton && !own.match(name).hasMatch()) continue;
        if (!c.pos || c.visible == false) continue;
        if (name.contains(QLatin1String("_Engineer_"))) continue;  // hidden by the window
        mine.emplace_back(name, &c);
    }
    std::stable_sort(mine.begin(), mine.end(), [](const auto& a, const auto& b) {
        return QRegularExpression(QStringLiteral("^Img_P\\d$")).match(a.first).hasMatch() &&
               !QRegularExpression(QStringLiteral("^Img_P\\d$")).match(b.first).hasMatch();
    });
    for (const auto& [name, c] : mine) {
        if (!name.startsWith(QLatin1String("Img_"))) continue;
        QString picture = c->picture.value_or(QString());
        if (picture.isEmpty()) {
            const auto it = start.find(name);
            picture = it != start.end() ? it->second : stand_in(name);
        }
        if (!picture.isEmpty()) p.drawImage(*c->pos, resourcePicture(picture));
    }
    for (const auto& [name, c] : mine) {
        if (!isBox(name)) continue;
        const QSize size(c->width.value_or(name.startsWith(QLatin1String("CB_")) ? 180 : 56), c->height.value_or(20));
        const QRect rect(*c->pos, size);
        p.setPen(toQColor(c->borderColour.value_or(colourFromRgb(90, 90, 90))));
        p.setBrush(toQColor(c->backColour.value_or(colourFromRgb(255, 255, 255))));
        p.drawRect(rect.adjusted(0, 0, -1, -1));
        if (name.startsWith(QLatin1String("CB_")) && c->items && !c->items->isEmpty()) {
            drawText(p, *c, QLatin1Char(' ') + c->items->first(), rect, Qt::AlignLeft | Qt::AlignVCenter);
        } else if (name.startsWith(QLatin1String("Edt_"))) {
            drawText(p, *c, QStringLiteral("10 "), rect, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    for (const auto& [name, c] : mine) {
        if (!c->caption || c->caption->isEmpty() || isBox(name)) continue;
        if (c->width && c->height) {
            drawText(p, *c, *c->caption, QRect(*c->pos, QSize(*c->width, *c->height)), Qt::AlignCenter);
        } else {
            drawText(p, *c, *c->caption, QRect(*c->pos, QSize(400, 22)), Qt::AlignLeft | Qt::AlignTop);
        }
    }
    return img;
}

QImage renderDialog(const SkinResult& r) {
    QImage img(resourcePicture(QStringLiteral("Msg")).convertToFormat(QImage::Format_RGB32));
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing);
    const std::pair<const char*, const char*> pictures[] = {
        {"Img_Confirm", "BtnS_01"}, {"Img_Cancel", "BtnS_02"}, {"Img_Close", "ExitS_01"}};
    for (const auto& [name, picture] : pictures) {
        p.drawImage(*r.controls.at(QLatin1String(name)).pos, resourcePicture(QLatin1String(picture)));
    }
    for (const auto& [name, c] : r.controls) {
        if (!c.pos) continue;
        if (name.startsWith(QLatin1String("Edt_"))) {
            const QRect rect(*c.pos, QSize(c.width.value_or(100), 26));
            p.setPen(Qt::gray);
            p.setBrush(Qt::white);
            p.drawRect(rect);
            drawText(p, c, QStringLiteral("Ctrl+A"), rect, Qt::AlignCenter);
        } else if (name.startsWith(QLatin1String("CB_"))) {
            p.drawImage(*c.pos + QPoint(0, 3), resourcePicture(QStringLiteral("CbS_D")));
            drawText(p, c, name.mid(3), QRect(*c.pos + QPoint(20, 0), QSize(60, 22)), Qt::AlignLeft | Qt::AlignVCenter);
        } else if (c.caption) {
            const QRect rect = c.width ? QRect(*c.pos, QSize(*c.width, *c.height)) : QRect(*c.pos, QSize(340, 30));
            drawText(p, c, *c.caption, rect, c.width ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignTop));
        }
    }
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: skinpreview LANGUAGE(1..3) OUT_DIR\n");
        return 2;
    }
    const int lang = QString::fromLocal8Bit(argv[1]).toInt();
    const QDir out(QString::fromLocal8Bit(argv[2]));
    const Checked<GlobalLayout> global = LoadGlobalLayout();
    const Checked<WindowBackground> background = LoadWindowBackground();
    if (!global || !background) {
        std::fprintf(stderr, "skinpreview: %s\n", qPrintable(global ? background.error() : global.error()));
        return 1;
    }
    const auto start = LoadStartPictures();
    const LanguageTable& table = builtInLanguages()->table(lang);
    SkinState state;
    state.global = *global;
    const char* keyIds[12] = {"Str210", "Str211", "Str212", "Str213", "Str214", "Str221",
                              "Str222", "Str223", "Str260", "Str230", "Str241", "Str277"};
    for (int i = 0; i < 12; ++i) state.keyCaptions[static_cast<std::size_t>(i)] = table.text(QString::fromLatin1(keyIds[i]));
    int failures = 0;
    for (const Preview& page : kPages) {
        state.page = page.page;
        const SkinResult r = ApplySkinAndLanguage(lang, state);
        if (!r.ok()) {
            std::fprintf(stderr, "skinpreview: %s\n", qPrintable(r.error));
            return 1;
        }
        // Captions wider than their labels, so that a font or size that does not fit shows up.
        for (const auto& [name, c] : r.controls) {
            if (!c.caption || !c.width || !c.pointSize || page.page != Page::Game) continue;
            QFont f(c.fontFamily.value_or(QString()));
            f.setPointSize(*c.pointSize);
            const int w = QFontMetrics(f).horizontalAdvance(*c.caption);
            if (w > *c.width) {
                std::printf("language %d: %s \"%s\" is %d pixels in a %d-pixel label\n", lang, qPrintable(name),
                            qPrintable(*c.caption), w, *c.width);
            }
        }
        const QImage img = render(r, start, QRegularExpression(QLatin1String(page.own)), page.copy, background->windowSize);
        failures += !img.save(out.filePath(QStringLiteral("L%1_%2.png").arg(lang).arg(QLatin1String(page.file))));
    }
    const SkinResult k = ApplyDialogSkin(Dialog::AssemblyKey, lang);
    const SkinResult xy = ApplyDialogSkin(Dialog::XYValue, lang);
    if (!k.ok() || !xy.ok()) {
        std::fprintf(stderr, "skinpreview: %s\n", qPrintable(k.ok() ? xy.error : k.error));
        return 1;
    }
    failures += !renderDialog(k).save(out.filePath(QStringLiteral("L%1_dialog_key.png").arg(lang)));
    failures += !renderDialog(xy).save(out.filePath(QStringLiteral("L%1_dialog_xy.png").arg(lang)));
    return failures ? 1 : 0;
}
