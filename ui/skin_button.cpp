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

// A label's picture waiting for the label to be shown. Pictures of pages, panels and popups
// out of view are not decoded until they come into view, and a hidden label whose picture is
// set again (a language change) lets go of the decoded one, so decoded pixels are held only
// for what has been shown since. The object lives as the label's child and event filter.
class PendingPicture : public QObject {
public:
    PendingPicture(QLabel* label, const SkinPort& skin) : QObject(label), skin_(&skin) {
        label->installEventFilter(this);
    }

    static PendingPicture* of(QLabel* label) {
        for (QObject* child : label->children())
            if (auto* p = dynamic_cast<PendingPicture*>(child)) return p;
        return nullptr;
    }

    void arm(const SkinPort& skin) {
        skin_ = &skin;
        armed_ = true;
    }
    void disarm() { armed_ = false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (armed_ && event->type() == QEvent::Show) {
            armed_ = false;
            auto* label = static_cast<QLabel*>(watched);
            // A caption set after the picture replaced it, as it would have replaced a
            // picture put on at once.
            if (label->text().isEmpty()) label->setPixmap(skin_->picture(skinPictureOf(label)));
        }
        return false;
    }

private:
    const SkinPort* skin_;
    bool armed_ = false;
};

// A control's fit to its text waiting for the control to be shown (fitToText). It remembers
// the size the control had when the fit was asked for: a control sized since then keeps
// the size it was given.
class PendingFit : public QObject {
public:
    explicit PendingFit(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }

    static PendingFit* of(QWidget* widget) {
        for (QObject* child : widget->children())
            if (auto* p = dynamic_cast<PendingFit*>(child)) return p;
        return nullptr;
    }

    void arm(QSize size) {
        size_ = size;
        armed_ = true;
    }
    void disarm() { armed_ = false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (armed_ && event->type() == QEvent::Show) {
            armed_ = false;
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->size() == size_) widget->adjustSize();
        }
        return false;
    }

private:
    QSize size_;
    bool armed_ = false;
};

// A line edit's font waiting for the edit to be shown (setFontWhenShown): a line edit lays
// its text out again at every change of font, which loads the font first, even while out
// of view.
class PendingFont : public QObject {
public:
    explicit PendingFont(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }

    static PendingFont* of(const QWidget* widget) {
        for (QObject* child : widget->children())
            if (auto* p = dynamic_cast<PendingFont*>(child)) return p;
        return nullptr;
    }

    bool armed() const { return armed_; }
    const QFont& font() const { return font_; }
    void arm(const QFont& font) {
        font_ = font;
        armed_ = true;
    }
    void disarm() { armed_ = false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (armed_ && event->type() == QEvent::Show) {
            armed_ = false;
            static_cast<QWidget*>(watched)->setFont(font_);
        }
        return false;
    }

private:
    QFont font_;
    bool armed_ = false;
};

}  // namespace

void setFontWhenShown(QWidget* widget, const QFont& font) {
    PendingFont* pending = PendingFont::of(widget);
    if (widget->isVisible() || !qobject_cast<QLineEdit*>(widget)) {
        if (pending) pending->disarm();
        widget->setFont(font);
        return;
    }
    if (!pending) pending = new PendingFont(widget);
    pending->arm(font);
}

QFont skinFontOf(const QWidget* widget) {
    const PendingFont* pending = PendingFont::of(widget);
    return pending && pending->armed() ? pending->font() : widget->font();
}

void fitToText(QWidget* widget) {
    PendingFit* pending = PendingFit::of(widget);
    if (widget->isVisible()) {
        if (pending) pending->disarm();
        widget->adjustSize();
        return;
    }
    if (!pending) pending = new PendingFit(widget);
    pending->arm(widget->size());
}

void cancelFitToText(QWidget* widget) {
    if (PendingFit* pending = PendingFit::of(widget)) pending->disarm();
}

void setSkinPicture(QLabel* label, const SkinPort& skin, const QString& pictureName) {
    label->setProperty("skinPicture", pictureName);
    PendingPicture* pending = PendingPicture::of(label);
    if (label->isVisible()) {
        if (pending) pending->disarm();
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
    if (!pending) pending = new PendingPicture(label, skin);
    pending->arm(skin);
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
