// The small dialog pattern shared by TForm2..TForm7.
#include "ui/small_dialog.h"

#include "ui/number_edits.h"
#include "ui/skin_port.h"

#include <QBitmap>
#include <QCheckBox>
#include <QRegularExpressionValidator>

namespace nivra::ui {

namespace {
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
    const skin::DialogControls controls = skin::dialogControls(static_cast<skin::Dialog>(formNumber));
    for (const QString& t : controls.titles) {
        auto* l = new QLabel(this);
        l->setObjectName(t);
        titles_.push_back(l);
    }
    // Delays and repeat counts are counts; X/Y values are numbers that may be negative;
    // names and keys are text.
    for (const QString& e : controls.edits) {
        QLineEdit* edit = nullptr;
        if (formNumber == 5 || formNumber == 7) {
            edit = new TIntEdit(this);
        } else {
            edit = new TSPITEdit(this);
            if (formNumber == 6)
                edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), edit));
        }
        edit->setObjectName(e);
        edit->setAlignment(Qt::AlignCenter);
        edits_.push_back(edit);
    }
    if (formNumber == 2)
        for (const char* m : {"CB_Ctrl", "CB_Shift", "CB_Alt", "CB_Win"}) {
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
        if (onCleared) onCleared();
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
    const QPixmap msg = skin_.picture(QStringLiteral("Msg"));
    if (!msg.isNull()) {
        setFixedSize(msg.size());
        const QImage img = msg.toImage();
        setMask(QBitmap::fromImage(img.createMaskFromColor(qRgb(128, 0, 0), Qt::MaskInColor)));
    }
    for (SkinButton* b : {confirm_, clear_, close_}) {
        b->setPicture(name(picturesOf(b->kind()).normal));
        b->label()->resize(b->picture()->size());
    }
    applyLayout(WidgetIndex(this), skin_.dialogLayout(form_), skin_);
    // A label lies over its picture's rectangle.
    for (SkinButton* b : {confirm_, clear_, close_}) {
        b->layLabelOverPicture();
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
