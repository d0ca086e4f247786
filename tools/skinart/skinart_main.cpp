// skinart: draws every picture of the skin into OUT/pictures and writes the layout tables
// into OUT/layout (OUT is the project's resources folder).
#include "tools/skinart/layout_tables.h"
#include "tools/skinart/pictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>

#include <cstdio>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(bytes);
    return f.commit();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skinart RESOURCES_DIR\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    if (!root.mkpath(QStringLiteral("pictures")) || !root.mkpath(QStringLiteral("layout"))) {
        std::fprintf(stderr, "skinart: cannot create folders under %s\n", argv[1]);
        return 1;
    }
    int failures = 0;
    for (const auto& spec : skinart::allPictures()) {
        const QImage img = spec.draw();
        if (img.width() != spec.width || img.height() != spec.height) {
            std::fprintf(stderr, "skinart: %s drawn %dx%d, must be %dx%d\n", qPrintable(spec.name),
                         img.width(), img.height(), spec.width, spec.height);
            ++failures;
            continue;
        }
        const QString path = root.filePath(QStringLiteral("pictures/%1.png").arg(spec.name));
        QSaveFile f(path);
        if (!f.open(QIODevice::WriteOnly) || !img.save(&f, "PNG", 9) || !f.commit()) {
            std::fprintf(stderr, "skinart: cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    const auto table = [&](const QString& name, const QByteArray& text) {
        if (!writeFile(root.filePath(QStringLiteral("layout/%1.ini").arg(name)), text)) {
            std::fprintf(stderr, "skinart: cannot write table %s\n", qPrintable(name));
            ++failures;
        }
    };
    table(QStringLiteral("ORG"), skinart::globalLayoutTable());
    for (int lang = 1; lang <= 3; ++lang) table(QStringLiteral("ORG%1").arg(lang), skinart::languageLayoutTable(lang));
    return failures == 0 ? 0 : 1;
}
