// The small dialogs TForm2..TForm7: borderless, always on top, the picture "Msg" as their
// background, a title, one or two edits and the Confirm, Clear and close buttons.
// The owning page decides what a confirmed text means.
#pragma once

#include "ui/skin_button.h"

#include <QDialog>
#include <QLineEdit>

#include <functional>
#include <vector>

namespace nivra::ui {

class SkinPort;

class SmallDialog : public QDialog {
public:
    // formNumber 2..7 (TForm2 .. TForm7).
    SmallDialog(int formNumber, const SkinPort& skin, QWidget* mainWindow);

    int formNumber() const { return form_; }
    const std::vector<QLineEdit*>& edits() const { return edits_; }
    // Places, skins and shows the dialog centred on the main window; the first edit has focus.
    void open() override;

    std::function<void(const QStringList& texts)> onConfirm;  // before the dialog closes
    std::function<void()> onClosed;                           // closed without a result
    std::function<void()> onCleared;                          // after Clear emptied the edits

    static QPoint placeFor(const QRect& mainWindow, QSize dialog);

private:
    void applySkin();

    int form_;
    const SkinPort& skin_;
    QWidget* main_;
    QLabel* background_;
    std::vector<QLabel*> titles_;
    std::vector<QLineEdit*> edits_;
    SkinButton* confirm_;
    SkinButton* clear_;
    SkinButton* close_;
};

}  // namespace nivra::ui
