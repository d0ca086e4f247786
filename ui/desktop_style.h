// The look of Qt's own dialogs (messages, password prompt, file dialogs) and of the plain
// engineer controls: the Fusion style with the skin's dark colours and cyan accent, so
// they sit with the skinned window instead of a light desktop theme.
#pragma once

class QApplication;

namespace nivra::ui {

void applyDesktopStyle(QApplication& app);

}  // namespace nivra::ui
