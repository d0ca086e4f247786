// What the main window needs from the skin: pictures, texts of the language in effect and
// the result of the layout pass, keyed by the objectName of each control.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

namespace nivra::ui {

// One control's share of a layout pass. Fields left empty are not touched.
struct ControlSkin {
    QString name;                     // objectName
    std::optional<QRect> rect;        // position within its page, and size when not empty
    std::optional<bool> visible;
    std::optional<QString> caption;
    std::optional<QString> fontFamily;
    std::optional<int> pointSize;
    std::optional<QColor> textColour;
    std::optional<QColor> backColour;
    std::optional<QString> picture;   // picture resource name
};

struct GlobalLayout {
    bool webEnabled = false;
    QString web;
    bool textRolling = false;
    bool gunDisplay = true;
};

class SkinPort {
public:
    virtual ~SkinPort() = default;
    virtual QPixmap picture(const QString& name) const = 0;
    // Start-up pictures (name of a picture control -> picture name).
    virtual std::vector<ControlSkin> startPictures() const = 0;
    virtual GlobalLayout globalLayout() const = 0;
    // Runs the layout pass for a language number (1..3); an error text when it stopped early.
    virtual QString applyLanguage(int language) = 0;
    virtual std::vector<ControlSkin> layout() const = 0;
    virtual QString text(const QString& id) const = 0;  // of the language in effect
    // The skin of small dialog TForm2..TForm7 (formNumber 2..7) for the language in effect.
    virtual std::vector<ControlSkin> dialogLayout(int formNumber) const = 0;
    virtual QString fontName() const = 0;
    virtual QString title() const = 0;
    // Engineer page captions (rows 0..143) and their font family.
    virtual QString engineerCaption(int row) const = 0;
    virtual QString engineerFont() const = 0;
};

}  // namespace nivra::ui
