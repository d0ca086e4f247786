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

// The line of --help that describes the option.
inline constexpr const char* kLanguageOptionHelp =
    "  --language N          start in language N: 1 Simplified Chinese, 2 Traditional\n"
    "                        Chinese, 3 English (default: from the desktop locale;\n"
    "                        zh_CN/zh_SG 1, zh_TW/zh_HK/zh_MO 2, any other 3)\n";

}  // namespace nivra::ui
