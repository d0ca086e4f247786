#include "ui/assembly_dialog.h"

#include "ui/key_capture.h"

#include <QKeyEvent>

namespace nivra::ui {

AssemblyDialog::AssemblyDialog(const SkinPort& skin, QWidget* mainWindow) : QObject(mainWindow) {
    dialog_ = new SmallDialog(2, skin, mainWindow);
    const char* names[4] = {"CB_Ctrl", "CB_Shift", "CB_Alt", "CB_Win"};
    const char* words[4] = {"Ctrl", "Shift", "Alt", "Win"};
    for (int i = 0; i < 4; ++i) {
        QCheckBox* box = dialog_->findChild<QCheckBox*>(QLatin1String(names[i]));
        box->setText(QLatin1String(words[i]));
        box->setFocusPolicy(Qt::NoFocus);
        boxes_[static_cast<std::size_t>(i)] = box;
        QObject::connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
            state_.setModifier(static_cast<Modifier>(i), on);
            show();
            edit()->setFocus();
        });
    }
    edit()->installEventFilter(this);
    dialog_->onConfirm = [this](const QStringList&) {
        if (onConfirm) onConfirm(state_.confirmCode());
    };
    dialog_->onCleared = [this] {
        state_.clear();
        for (QCheckBox* b : boxes_) {
            const QSignalBlocker block(b);
            b->setChecked(false);
        }
        show();
        edit()->setFocus();
    };
    QObject::connect(dialog_, &QDialog::finished, this, [this] {
        if (onFinished) onFinished();
    });
}

void AssemblyDialog::open() {
    state_.reset();
    for (QCheckBox* b : boxes_) {
        const QSignalBlocker block(b);
        b->setChecked(false);
    }
    dialog_->open();
    show();
}

void AssemblyDialog::show() { edit()->setText(QString::fromStdString(state_.text())); }

bool AssemblyDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit()) return false;
    // Every key goes to the dialog's machine, Tab and Enter included; the edit types nothing itself.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const HeldModifiers held = heldModifiersOf(*key);
        state_.keyPressed(captureIndexOf(*key), held.shift, held.ctrl, held.alt);
        show();
        return true;
    }
    if (event->type() == QEvent::KeyRelease) return true;
    return false;
}

}  // namespace nivra::ui
