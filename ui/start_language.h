// The language number the window starts in: the desktop's locale chooses it, and the
// option --language N overrides it. Language 1 is Simplified Chinese, 2 Traditional
// Chinese, 3 English.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace nivra::ui {

// zh_CN, zh_SG -> 1; zh_TW, zh_HK, zh_MO -> 2; any other locale -> 3. Takes POSIX locale
// names ("zh_TW.UTF-8", "zh_HK@euro") and BCP 47 names ("zh-Hant-TW").
int languageForLocale(const QString& localeName);

// The locale of the desktop's messages: LC_ALL, else LC_MESSAGES, else LANG, else Qt's
// idea of the system locale.
QString desktopLocaleName();

// The value of --language: "1", "2" or "3"; nothing for anything else.
std::optional<int> parseLanguageNumber(const QString& value);

// Takes "--language N" or "--language=N" out of the arguments. language is set when the
// option was given; error names a missing or bad value.
struct LanguageOption {
    std::optional<int> language;
    QString error;
};
LanguageOption takeLanguageOption(QStringList& arguments);

// The language chosen in the window is kept in $XDG_CONFIG_HOME/nivra/language (one digit),
// so that the next start uses it: --language first, then the kept choice, then the locale.
QString savedLanguagePath();
std::optional<int> readSavedLanguage(const QString& path);
// False when the file could not be written; the choice then lasts until the program ends.
bool saveLanguage(const QString& path, int language);
int chooseStartLanguage(std::optional<int> option, const QString& savedPath, const QString& localeName);

// The line of --help that describes the option.
inline constexpr const char* kLanguageOptionHelp =
    "  --language N          start in language N: 1 Simplified Chinese, 2 Traditional\n"
    "                        Chinese, 3 English (default: the language last chosen in\n"
    "                        the window, else from the desktop locale; zh_CN/zh_SG 1,\n"
    "                        zh_TW/zh_HK/zh_MO 2, any other 3)\n";

}  // namespace nivra::ui
