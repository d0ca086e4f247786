// What the main window needs from the skin: pictures, the texts of the language in effect,
// the start-up pictures and switches, and the result of the layout pass keyed by objectName.
#pragma once

#include "skin/layout_pass.h"
#include "skin/skin_layout.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <array>
#include <map>

namespace nivra::ui {

using skin::ControlSkin;
using skin::ControlSkinMap;
using skin::GlobalLayout;

class SkinPort {
public:
    virtual ~SkinPort() = default;
    virtual QPixmap picture(const QString& name) const = 0;
    // The size of a picture; a skin that can read it from the picture's header does so
    // without decoding the picture.
    virtual QSize pictureSize(const QString& name) const { return picture(name).size(); }
    // Lets go of decoded pictures that no control holds any more (after a language change).
    virtual void releaseUnusedPictures() {}
    // Starts decoding pictures the window shows first, where a skin can do so beside the
    // thread that builds the window; picture() and pictureShape() then wait for them.
    virtual void prefetchPictures(const QStringList& names, const QString& shapeOf, QRgb transparent) {
        (void)names, (void)shapeOf, (void)transparent;
    }
    // The shape of a picture: a mask with the pixels of colour `transparent` set.
    virtual QImage pictureShape(const QString& name, QRgb transparent) const {
        return picture(name).toImage().createMaskFromColor(transparent, Qt::MaskInColor);
    }
    // Start-up pictures: picture name by objectName.
    virtual std::map<QString, QString> startPictures() const = 0;
    virtual GlobalLayout globalLayout() const = 0;
    // Runs the layout pass for a language number (1..3) with the page in view and the key
    // captions shown now; an error text when it stopped (nothing of it is then applied).
    virtual QString applyLanguage(int language, skin::Page page, const std::array<QString, 12>& keyCaptions) = 0;
    virtual const ControlSkinMap& layout() const = 0;
    virtual QString text(const QString& id) const = 0;  // of the language in effect
    // The skin of small dialog TForm2..TForm7 (formNumber 2..7) for the language in effect.
    virtual ControlSkinMap dialogLayout(int formNumber) const = 0;
    virtual QString fontName() const = 0;  // the family to draw the language's texts with
    // "ComboKey8_Enable" of the layout in effect is 1.
    virtual bool comboKey8Enabled() const = 0;
    virtual QString title() const = 0;
    // Engineer page captions (rows 0..143) and their font family.
    virtual QString engineerCaption(int row) const = 0;
    virtual QString engineerFont() const = 0;
};

// Sets what a control's skin holds on a widget (pictures on labels, captions, fonts, colours,
// place and size, list items).
void applyControlSkin(QWidget* widget, const ControlSkin& skin, const SkinPort& port);

// objectName -> widgets under a root (the root included), from one walk over its
// descendants. A layout table names hundreds of controls: looking each one up with its own
// findChildren() walk would visit every widget of the window once per control.
class WidgetIndex {
public:
    explicit WidgetIndex(QWidget* root);
    const QList<QWidget*>& named(const QString& name) const;  // empty when none has the name
    const QList<QWidget*>& all() const { return all_; }

private:
    QList<QWidget*> all_;
    QHash<QString, QList<QWidget*>> byName_;
};

// Applies each control's skin of a layout table to every widget of that name in the index.
void applyLayout(const WidgetIndex& index, const ControlSkinMap& layout, const SkinPort& port);

}  // namespace nivra::ui
