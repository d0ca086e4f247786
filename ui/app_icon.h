// The application icon, drawn by the program: a mouse outline in the skin's accent colour.
#pragma once

#include <QIcon>

namespace nivra::ui {
QIcon appIcon();
}
