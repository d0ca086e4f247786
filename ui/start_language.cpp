// The start language from the desktop locale and the --language option.
#include "ui/start_language.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

namespace nivra::ui {

int languageForLocale(const QString& localeName) {
    // Drop the encoding and modifier of a POSIX name ("zh_TW.UTF-8@x").
    QString name = localeName.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX")) return 3;
    const QLocale locale(name);
    if (locale.language() != QLocale::Chinese) return 3;
    switch (locale.territory()) {
        case QLocale::China:
        case QLocale::Singapore: return 1;
        case QLocale::Taiwan:
        case QLocale::HongKong:
        case QLocale::Macao: return 2;
        default: return 3;
    }
}

QString desktopLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty()) return value;
    }
    return QLocale::system().name();
}

std::optional<int> parseLanguageNumber(const QString& value) {
    if (value == QLatin1String("1")) return 1;
    if (value == QLatin1String("2")) return 2;
    if (value == QLatin1String("3")) return 3;
    return std::nullopt;
}

QString savedLanguagePath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty()) {
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty()) return {};
        base = home + QStringLiteral("/.config");
    }
    return base + QStringLiteral("/nivra/language");
}

std::optional<int> readSavedLanguage(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return parseLanguageNumber(QString::fromLatin1(file.read(16)).trimmed());
}

bool saveLanguage(const QString& path, int language) {
    if (path.isEmpty() || !parseLanguageNumber(QString::number(language))) return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(QByteArray::number(language) + '\n');
    return file.commit();
}

int chooseStartLanguage(std::optional<int> option, const QString& savedPath, const QString& localeName) {
    if (option) return *option;
    if (const std::optional<int> saved = readSavedLanguage(savedPath)) return *saved;
    return languageForLocale(localeName);
}

LanguageOption takeLanguageOption(QStringList& args) {
    LanguageOption result;
    for (qsizetype i = 0; i < args.size();) {
        QString value;
        if (args[i] == QLatin1String("--language")) {
            if (i + 1 >= args.size()) return {std::nullopt, QStringLiteral("--language needs a number 1, 2 or 3")};
            value = args[i + 1];
            args.remove(i, 2);
        } else if (args[i].startsWith(QLatin1String("--language="))) {
            value = args[i].mid(11);
            args.remove(i);
        } else {
            ++i;
            continue;
        }
        result.language = parseLanguageNumber(value);
        if (!result.language)
            return {std::nullopt, QStringLiteral("--language takes 1, 2 or 3, not \"%1\"").arg(value)};
    }
    return result;
}

}  // namespace nivra::ui
