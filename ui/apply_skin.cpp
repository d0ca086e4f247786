// Applies a layout table's skins to the widgets they name.
#include "ui/skin_button.h"
#include "ui/skin_port.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace nivra::ui {

void applyControlSkin(QWidget* w, const ControlSkin& c, const SkinPort& port) {
    auto* label = qobject_cast<QLabel*>(w);
    if (c.picture && label) setSkinPicture(label, port, *c.picture);
    if (c.pos) w->move(*c.pos);
    if (c.left) w->move(*c.left, w->y());
    if (c.width || c.height) w->resize(c.width.value_or(w->width()), c.height.value_or(w->height()));
    if (c.visible) w->setVisible(*c.visible);
    if (c.fontFamily || c.pointSize) {
        QFont f = skinFontOf(w);
        if (c.fontFamily) f.setFamily(*c.fontFamily);
        if (c.pointSize) f.setPointSize(*c.pointSize);
        setFontWhenShown(w, f);
    }
    if (c.textColour || c.backColour) {
        QPalette pal = w->palette();
        if (c.textColour) {
            const QColor text = skin::toQColor(*c.textColour);
            pal.setColor(QPalette::WindowText, text);
            pal.setColor(QPalette::Text, text);
            pal.setColor(QPalette::ButtonText, text);
        }
        if (c.backColour) {
            pal.setColor(QPalette::Base, skin::toQColor(*c.backColour));
            pal.setColor(QPalette::Window, skin::toQColor(*c.backColour));
        }
        w->setPalette(pal);
    }
    if (c.caption) {
        if (label) label->setText(*c.caption);
        else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(*c.caption);
        // A caption without a size from the table takes the room its text needs (a label
        // sized before its text arrived would cut it off). A skinned button's label is laid
        // over its picture afterwards.
        if (!c.width && !c.height && !(label && !label->pixmap().isNull())) fitToText(w);
    }
    if (c.items) {
        if (auto* box = qobject_cast<QComboBox*>(w)) {
            const int current = box->currentIndex();
            box->clear();
            box->addItems(*c.items);
            if (current >= 0 && current < box->count()) box->setCurrentIndex(current);
        }
    }
}

WidgetIndex::WidgetIndex(QWidget* root) {
    all_ = root->findChildren<QWidget*>();
    all_.prepend(root);
    byName_.reserve(all_.size());
    for (QWidget* w : all_) {
        const QString name = w->objectName();
        if (!name.isEmpty()) byName_[name].append(w);
    }
}

const QList<QWidget*>& WidgetIndex::named(const QString& name) const {
    static const QList<QWidget*> none;
    const auto it = byName_.constFind(name);
    return it == byName_.constEnd() ? none : *it;
}

void applyLayout(const WidgetIndex& index, const ControlSkinMap& layout, const SkinPort& port) {
    for (const auto& [name, c] : layout)
        for (QWidget* w : index.named(name)) applyControlSkin(w, c, port);
}

}  // namespace nivra::ui
