// Skinned buttons and covering labels.
#include "ui/skin_button.h"

#include "ui/skin_port.h"

#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace nivra::ui {

void CoverLabel::keepAbove(std::vector<QWidget*> controls) {
    above_.assign(controls.begin(), controls.end());
    if (isVisible()) raiseAbove();
}

void CoverLabel::raiseAbove() {
    raise();
    for (const QPointer<QWidget>& w : above_)
        if (w) w->raise();
}

void CoverLabel::showEvent(QShowEvent* e) {
    raiseAbove();
    QLabel::showEvent(e);
}
void CoverLabel::mousePressEvent(QMouseEvent* e) { e->accept(); }
void CoverLabel::mouseReleaseEvent(QMouseEvent* e) { e->accept(); }
void CoverLabel::mouseDoubleClickEvent(QMouseEvent* e) { e->accept(); }

void ClickLabel::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && onClick) onClick();
    e->accept();
}

namespace {

// Work on a control waiting for the control to be shown: one object per control and kind of
// work, living as the control's child and event filter. Armed with a value, it runs its
// work with that value at the control's next Show event.
template <class Value, void (*Work)(QWidget*, const Value&)>
class WhenShown : public QObject {
public:
    static WhenShown* of(const QWidget* widget) {
        for (QObject* child : widget->children())
            if (auto* p = dynamic_cast<WhenShown*>(child)) return p;
        return nullptr;
    }
    static WhenShown* ensure(QWidget* widget) {
        WhenShown* p = of(widget);
        return p ? p : new WhenShown(widget);
    }

    void arm(const Value& value) {
        value_ = value;
        armed_ = true;
    }
    void disarm() { armed_ = false; }
    bool armed() const { return armed_; }
    const Value& value() const { return value_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (armed_ && event->type() == QEvent::Show) {
            armed_ = false;
            Work(static_cast<QWidget*>(watched), value_);
        }
        return false;
    }

private:
    explicit WhenShown(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }
    Value value_{};
    bool armed_ = false;
};

// A label's picture. Pictures of pages, panels and popups out of view are not decoded until
// they come into view, and a hidden label whose picture is set again (a language change)
// lets go of the decoded one, so decoded pixels are held only for what has been shown since.
void putPicture(QWidget* widget, const SkinPort* const& skin) {
    auto* label = static_cast<QLabel*>(widget);
    // A caption set after the picture replaced it, as it would have replaced a picture put
    // on at once.
    if (label->text().isEmpty()) label->setPixmap(skin->picture(skinPictureOf(label)));
}
using PendingPicture = WhenShown<const SkinPort*, putPicture>;

// A control's fit to its text (fitToText), with the size the control had when the fit was
// asked for: a control sized since then keeps the size it was given.
void fitIfNotResized(QWidget* widget, const QSize& sizeThen) {
    if (widget->size() == sizeThen) widget->adjustSize();
}
using PendingFit = WhenShown<QSize, fitIfNotResized>;

// A line edit's font (setFontWhenShown): a line edit lays its text out again at every change
// of font, which loads the font first, even while out of view.
void putFont(QWidget* widget, const QFont& font) { widget->setFont(font); }
using PendingFont = WhenShown<QFont, putFont>;

}  // namespace

void setFontWhenShown(QWidget* widget, const QFont& font) {
    if (widget->isVisible() || !qobject_cast<QLineEdit*>(widget)) {
        if (PendingFont* pending = PendingFont::of(widget)) pending->disarm();
        widget->setFont(font);
        return;
    }
    PendingFont::ensure(widget)->arm(font);
}

QFont skinFontOf(const QWidget* widget) {
    const PendingFont* pending = PendingFont::of(widget);
    return pending && pending->armed() ? pending->value() : widget->font();
}

void fitToText(QWidget* widget) {
    if (widget->isVisible()) {
        if (PendingFit* pending = PendingFit::of(widget)) pending->disarm();
        widget->adjustSize();
        return;
    }
    PendingFit::ensure(widget)->arm(widget->size());
}

void cancelFitToText(QWidget* widget) {
    if (PendingFit* pending = PendingFit::of(widget)) pending->disarm();
}

void setSkinPicture(QLabel* label, const SkinPort& skin, const QString& pictureName) {
    label->setProperty("skinPicture", pictureName);
    if (label->isVisible()) {
        if (PendingPicture* pending = PendingPicture::of(label)) pending->disarm();
        const QPixmap pixmap = skin.picture(pictureName);
        label->setPixmap(pixmap);
        if (!pixmap.isNull()) label->resize(pixmap.size());
        return;
    }
    // Out of view: the label takes the picture's size now (the layout and the window shape
    // depend on it) and the picture itself when it is shown.
    const QSize size = skin.pictureSize(pictureName);
    if (!label->pixmap().isNull() || !label->text().isEmpty()) label->setPixmap(QPixmap());
    if (size.isValid() && !size.isEmpty()) label->resize(size);
    PendingPicture::ensure(label)->arm(&skin);
}

QString skinPictureOf(const QWidget* label) { return label->property("skinPicture").toString(); }

SkinButton::SkinButton(QWidget* page, const QString& labelName, ButtonKind kind, const SkinPort& skin,
                       const QString& pictureName)
    : QObject(page), kind_(kind), skin_(skin) {
    picture_ = new QLabel(page);
    picture_->setObjectName(pictureName.isEmpty() ? QString::fromStdString(pictureNameOf(labelName.toStdString()))
                                                : pictureName);
    label_ = new QLabel(page);
    label_->setObjectName(labelName);
    label_->setAlignment(Qt::AlignCenter);
    label_->setAttribute(Qt::WA_Hover);
    label_->installEventFilter(this);
    setPicture(QString::fromUtf8(picturesOf(kind).normal.data(), picturesOf(kind).normal.size()));
    label_->resize(picture_->size());
}

void SkinButton::setPicture(const QString& pictureName) { setSkinPicture(picture_, skin_, pictureName); }

void SkinButton::setVisible(bool on) {
    picture_->setVisible(on);
    label_->setVisible(on);
}

void SkinButton::layLabelOverPicture() {
    cancelFitToText(label_);
    label_->setGeometry(picture_->geometry());
}

void SkinButton::raise() {
    picture_->raise();
    label_->raise();
}

bool SkinButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched != label_) return false;
    const KindPictures pics = picturesOf(kind_);
    switch (event->type()) {
        case QEvent::Enter:
            setPicture(QString::fromUtf8(pics.hover.data(), pics.hover.size()));
            if (onEnter) onEnter();
            break;
        case QEvent::Leave:
            setPicture(QString::fromUtf8(pics.normal.data(), pics.normal.size()));
            if (onLeave) onLeave();
            break;
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) pressed_ = true;
            return true;
        case QEvent::MouseButtonRelease: {
            auto* me = static_cast<QMouseEvent*>(event);
            const bool click = pressed_ && me->button() == Qt::LeftButton &&
                               label_->rect().contains(me->position().toPoint());
            pressed_ = false;
            if (click && onClick) onClick();
            return true;
        }
        case QEvent::MouseButtonDblClick:
            return true;
        default:
            break;
    }
    return false;
}

}  // namespace nivra::ui
