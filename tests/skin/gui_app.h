// Starts one QGuiApplication for the tests that need fonts or other platform services
// (run with QT_QPA_PLATFORM=offscreen); call it at the top of such a test.
#pragma once

#include <QCoreApplication>
#include <QGuiApplication>

namespace nivra::skin::test {

inline void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "test_skin";
    static char* argv[] = {name, nullptr};
    // Kept for the whole run: Qt wants one application object and no second one.
    if (QCoreApplication::instance() == nullptr) new QGuiApplication(argc, argv);
}

}  // namespace nivra::skin::test
