// The dark palette of the program's dialogs, taken from the skin's colours.
#include "ui/desktop_style.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace nivra::ui {

void applyDesktopStyle(QApplication& app) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);

    const QColor window(22, 26, 32);
    const QColor base(17, 19, 24);
    const QColor alternate(27, 31, 38);
    const QColor button(32, 37, 46);
    const QColor text(230, 234, 240);
    const QColor muted(118, 130, 146);
    const QColor accent(28, 186, 255);
    const QColor accentDeep(18, 120, 176);

    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, alternate);
    p.setColor(QPalette::ToolTipBase, button);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, muted);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Light, QColor(48, 56, 68));
    p.setColor(QPalette::Midlight, QColor(40, 46, 56));
    p.setColor(QPalette::Mid, QColor(30, 34, 42));
    p.setColor(QPalette::Dark, QColor(12, 14, 18));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, accentDeep);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, accent);
    p.setColor(QPalette::LinkVisited, accentDeep);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, muted);
    app.setPalette(p);
}

}  // namespace nivra::ui
