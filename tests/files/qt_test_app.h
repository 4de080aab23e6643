#pragma once
// One QApplication for the widget tests of this folder (each test case runs in its own process).

#include <QApplication>

inline void EnsureQtApplication() {
    if (QApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "orvel-files-test";
        static char* argv[] = {name, nullptr};
        // Never destroyed: tearing Qt down during static destruction crashes.
        new QApplication(argc, argv);
    }
}
