// Two starts of the window program: the second asks the first to raise its window and ends.
// Both run headless with their own temporary folder, so they meet only each other.
#include "app/options.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QProcessEnvironment isolated(const QString& dir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TMPDIR"), dir);  // the local socket lives in the temporary folder
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir);
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    return env;
}

// Reads the output (standard error merged in) until it holds TEXT or the process ends.
bool waitForText(QProcess& p, const QByteArray& text, QByteArray& seen) {
    while (!seen.contains(text)) {
        if (!p.waitForReadyRead(30000)) return seen.contains(text);
        seen += p.readAll();
    }
    return true;
}

TEST(SingleInstance, SecondStartRaisesTheFirstWindowAndEnds) {
    int argc = 1;
    char name[] = "test_app";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    QProcess first;
    first.setProcessEnvironment(isolated(dir.path()));
    first.setProcessChannelMode(QProcess::MergedChannels);
    first.start(QStringLiteral(NIVRA_CONFIGURATOR), {});
    ASSERT_TRUE(first.waitForStarted());
    QByteArray firstErr;
    ASSERT_TRUE(waitForText(first, "window shown", firstErr)) << firstErr.toStdString();

    QProcess second;
    second.setProcessEnvironment(isolated(dir.path()));
    second.start(QStringLiteral(NIVRA_CONFIGURATOR), {});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardError().contains("already running"));
    EXPECT_TRUE(waitForText(first, "raised by a second start", firstErr)) << firstErr.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    ASSERT_TRUE(first.waitForFinished(30000));
}

TEST(Options, SimulateAndTraceAreReadAndStrangersRefused) {
    using nivra::app::parseOptions;
    auto o = parseOptions({QStringLiteral("--simulate=/tmp/m.bin"), QStringLiteral("--trace"), QStringLiteral("t.txt")});
    ASSERT_TRUE(o.options);
    EXPECT_TRUE(o.options->simulate);
    EXPECT_EQ(o.options->simulateFile, QStringLiteral("/tmp/m.bin"));
    EXPECT_EQ(o.options->traceFile, QStringLiteral("t.txt"));
    auto plain = parseOptions({QStringLiteral("--simulate")});
    ASSERT_TRUE(plain.options);
    EXPECT_TRUE(plain.options->simulateFile.isEmpty());
    for (const QStringList& bad : {QStringList{QStringLiteral("--trace")}, QStringList{QStringLiteral("--simulate=")},
                                   QStringList{QStringLiteral("--frobnicate")}}) {
        auto r = parseOptions(bad);
        EXPECT_FALSE(r.options) << bad.join(' ').toStdString();
        EXPECT_FALSE(r.error.isEmpty());
    }
}

}  // namespace
