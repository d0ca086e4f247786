// Loads Qt's translation files for the language in effect.
#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace nivra::ui {

QString qtTranslationName(int language) {
    switch (language) {
        case 1: return QStringLiteral("qtbase_zh_CN");
        case 2: return QStringLiteral("qtbase_zh_TW");
        default: return {};
    }
}

bool useQtTranslations(int language) {
    static QPointer<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
    }
    const QString name = qtTranslationName(language);
    if (name.isEmpty()) return true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
}

}  // namespace nivra::ui
