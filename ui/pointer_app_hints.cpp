#include "ui/pointer_app_hints.h"

#include <QGuiApplication>
#include <QStyleHints>

namespace nivra::ui {

void AppPointerHints::apply(const PointerApply& v) {
    QStyleHints* hints = QGuiApplication::styleHints();
    if (!hints) return;
    if (v.doubleClickMs > 0) hints->setMouseDoubleClickInterval(v.doubleClickMs);
    if (v.wheelLines > 0) hints->setWheelScrollLines(v.wheelLines);
}

}  // namespace nivra::ui
