// The window program's --help names the language option, and a bad language number stops
// the program before any window is made.
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status;
    QString out;
    QString err;
};

Outcome runConfigurator(const QStringList& args, bool display = true) {
    QTemporaryDir dir;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (display) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    } else {
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    }
    env.insert(QStringLiteral("TMPDIR"), dir.path());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(NIVRA_CONFIGURATOR), args);
    EXPECT_TRUE(p.waitForFinished(20000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

TEST(ConfiguratorOptions, HelpDescribesTheLanguageOptionAndTheLocaleRule) {
    const Outcome r = runConfigurator({QStringLiteral("--help")}, false);  // needs no display
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QLatin1String("--language N"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QLatin1String("zh_TW/zh_HK/zh_MO 2, any other 3"))) << r.out.toStdString();
}

TEST(ConfiguratorOptions, ALanguageNumberOutsideOneToThreeIsRefused) {
    for (const QStringList& args : {QStringList{QStringLiteral("--language"), QStringLiteral("4")},
                                    QStringList{QStringLiteral("--language")}}) {
        const Outcome r = runConfigurator(args);
        EXPECT_EQ(r.status, 2) << args.join(QLatin1Char(' ')).toStdString() << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String("--language"))) << r.err.toStdString();
    }
}

}  // namespace
