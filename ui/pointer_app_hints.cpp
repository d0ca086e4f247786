#include "ui/pointer_app_hints.h"

#include <QGuiApplication>
#include <QStyleHints>

namespace nivra::ui {

void applyPointerHints(const PointerValues& v) {
    QStyleHints* hints = QGuiApplication::styleHints();
    if (!hints) return;
    if (v.doubleClickMs && *v.doubleClickMs > 0) hints->setMouseDoubleClickInterval(*v.doubleClickMs);
    if (v.wheelLines && *v.wheelLines > 0) hints->setWheelScrollLines(*v.wheelLines);
}

}  // namespace nivra::ui
