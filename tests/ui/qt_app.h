// One QApplication for the whole test program, created on first use.
#pragma once

#include <QApplication>
#include <QStringList>

#include <ostream>

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) { *os << l.join(QStringLiteral(" | ")).toStdString(); }

namespace nivra::ui::test {
inline QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);  // lives until the process ends
    return *app;
}
}  // namespace nivra::ui::test
