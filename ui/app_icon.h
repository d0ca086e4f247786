// The application icon, drawn by the program: a mouse outline in the skin's accent colour.
// The window, the tray and the installed icon files (SVG and PNG) all come from here.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace nivra::ui {
QIcon appIcon();

// The icon drawn at size x size pixels, on a transparent ground.
QImage appIconImage(int size);

// The same drawing as a scalable SVG document.
QString appIconSvg();
}
