// Qt's own texts (standard dialog buttons, the file and colour dialogs) in the window's
// language, from Qt's translation files.
#pragma once

#include <QString>

namespace nivra::ui {

// The Qt translation file for a language number: "qtbase_zh_CN" (1), "qtbase_zh_TW" (2);
// empty for 3 (Qt's texts are English).
QString qtTranslationName(int language);

// Installs Qt's translation for a language number in place of the one installed before.
// False when the language needs a file that is not there; Qt's texts are then English.
bool useQtTranslations(int language);

}  // namespace nivra::ui
