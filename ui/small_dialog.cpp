// The small dialog pattern shared by TForm2..TForm7.
#include "ui/small_dialog.h"

#include "ui/number_edits.h"
#include "ui/skin_port.h"

#include <QBitmap>
#include <QCheckBox>

namespace nivra::ui {

namespace {
struct FormShape {
    std::vector<const char*> titles;
    std::vector<const char*> edits;
    bool numbers;    // decimal edits
    bool modifiers;  // Ctrl, Shift, Alt, Win boxes
};

FormShape shapeOf(int form) {
    switch (form) {
        case 2: return {{"lbl_Title"}, {"Edt_Assembly"}, false, true};
        case 3: return {{"lbl_Title"}, {"Edt_MacroName"}, false, false};
        case 4: return {{"lbl_Title"}, {"Edt_OneKey"}, false, false};
        case 5: return {{"lbl_Title"}, {"Edt_EditTime"}, true, false};
        case 6: return {{"lbl_TitleX", "lbl_TitleY"}, {"Edt_XValue", "Edt_YValue"}, true, false};
        default: return {{"lbl_Title"}, {"Edt_Value"}, true, false};
    }
}

QString name(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

QPoint SmallDialog::placeFor(const QRect& main, QSize dialog) {
    return {main.left() + (main.width() - dialog.width()) / 2, main.top() + (main.height() - dialog.height()) / 2};
}

SmallDialog::SmallDialog(int formNumber, const SkinPort& skin, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Dialog),
      form_(formNumber), skin_(skin), main_(mainWindow) {
    setObjectName(QStringLiteral("TForm%1").arg(formNumber));
    setModal(true);
    background_ = new QLabel(this);
    background_->setObjectName(QStringLiteral("Img_Msg"));
    const FormShape shape = shapeOf(formNumber);
    for (const char* t : shape.titles) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(t));
        titles_.push_back(l);
    }
    for (const char* e : shape.edits) {
        QLineEdit* edit = shape.numbers ? static_cast<QLineEdit*>(new TIntEdit(this)) : new TSPITEdit(this);
        edit->setObjectName(QLatin1String(e));
        edit->setAlignment(Qt::AlignCenter);
        edits_.push_back(edit);
    }
    if (shape.modifiers)
        for (const char* m : {"cb_Ctrl", "cb_Shift", "cb_Alt", "cb_Win"}) {
            auto* box = new QCheckBox(this);
            box->setObjectName(QLatin1String(m));
        }
    confirm_ = new SkinButton(this, QStringLiteral("IB_Confirm"), ButtonKind::Dialog, skin, QStringLiteral("Img_Confirm"));
    clear_ = new SkinButton(this, QStringLiteral("IB_Cancel"), ButtonKind::Dialog, skin, QStringLiteral("Img_Cancel"));
    close_ = new SkinButton(this, QStringLiteral("IB_Close"), ButtonKind::DialogClose, skin, QStringLiteral("Img_Close"));

    const QString pressed = name(picturesOf(ButtonKind::Dialog).selected);
    confirm_->onClick = [this, pressed] {
        confirm_->setPicture(pressed);
        QStringList texts;
        for (QLineEdit* e : edits_) texts << e->text();
        if (onConfirm) onConfirm(texts);
        accept();
    };
    clear_->onClick = [this, pressed] {
        clear_->setPicture(pressed);
        for (QLineEdit* e : edits_) e->clear();
    };
    close_->onClick = [this] {
        close_->setPicture(name(picturesOf(ButtonKind::DialogClose).selected));
        if (onClosed) onClosed();
        reject();
    };
}

void SmallDialog::applySkin() {
    setSkinPicture(background_, skin_, QStringLiteral("Msg"));
    background_->move(0, 0);
    const QPixmap msg = background_->pixmap();
    if (!msg.isNull()) {
        setFixedSize(msg.size());
        const QImage img = msg.toImage();
        setMask(QBitmap::fromImage(img.createMaskFromColor(qRgb(128, 0, 0), Qt::MaskOutColor)));
    }
    for (SkinButton* b : {confirm_, clear_, close_}) {
        b->setPicture(name(picturesOf(b->kind()).normal));
        b->label()->resize(b->picture()->size());
    }
    for (const ControlSkin& c : skin_.dialogLayout(form_)) {
        QWidget* w = c.name == objectName() ? this : findChild<QWidget*>(c.name);
        if (!w) continue;
        if (c.rect) {
            w->move(c.rect->topLeft());
            if (!c.rect->size().isEmpty()) w->resize(c.rect->size());
        }
        if (c.visible) w->setVisible(*c.visible);
        if (c.fontFamily || c.pointSize) {
            QFont f = w->font();
            if (c.fontFamily) f.setFamily(*c.fontFamily);
            if (c.pointSize) f.setPointSize(*c.pointSize);
            w->setFont(f);
        }
        if (c.textColour) {
            QPalette pal = w->palette();
            pal.setColor(QPalette::WindowText, *c.textColour);
            pal.setColor(QPalette::Text, *c.textColour);
            w->setPalette(pal);
        }
        if (c.caption) {
            if (auto* l = qobject_cast<QLabel*>(w)) l->setText(*c.caption);
            else if (auto* box = qobject_cast<QCheckBox*>(w)) box->setText(*c.caption);
        }
    }
    // A label lies over its picture's rectangle.
    for (SkinButton* b : {confirm_, clear_, close_}) {
        b->label()->setGeometry(b->picture()->geometry());
        b->raise();
    }
    background_->lower();
}

void SmallDialog::open() {
    for (QLineEdit* e : edits_) e->clear();
    applySkin();
    move(placeFor(main_->frameGeometry(), size()));
    QDialog::open();
    if (!edits_.empty()) edits_.front()->setFocus();
}

}  // namespace nivra::ui
