// The combination dialog TForm2 ("Assembly Key"): the small dialog with Edt_Assembly and the
// boxes CB_Ctrl..CB_Win, driven by the dialog's state machine. Keys typed into the edit go
// through the key capture table; the edit shows the machine's text.
#pragma once

#include "settings/assembly_key.h"
#include "ui/small_dialog.h"

#include <QCheckBox>
#include <QObject>

#include <array>
#include <functional>

namespace nivra::ui {

class AssemblyDialog : public QObject {
public:
    AssemblyDialog(const SkinPort& skin, QWidget* mainWindow);

    SmallDialog* dialog() const { return dialog_; }
    QLineEdit* edit() const { return dialog_->edits().front(); }
    const AssemblyKeyDialog& state() const { return state_; }

    // Opens a fresh dialog (an earlier result is discarded).
    void open();

    std::function<void(const ButtonCode& code)> onConfirm;  // Confirm: ApplyAssemblyKey
    std::function<void()> onFinished;                       // closed either way

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show();

    SmallDialog* dialog_;
    std::array<QCheckBox*, 4> boxes_{};
    AssemblyKeyDialog state_;
};

}  // namespace nivra::ui
