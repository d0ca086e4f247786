// HideAllMenu as a signal: every menu, sub-menu and list of the window subscribes, and any
// click on a page or any command closes them all at once.
#pragma once

#include <QObject>

namespace nivra::ui {

class MenuCloser : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    void hideAll() { emit HideAllMenu(); }

signals:
    void HideAllMenu();
};

}  // namespace nivra::ui
