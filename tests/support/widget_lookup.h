#pragma once
// Finds a real widget by its object name (`Child<QPushButton>(window, "holdButton")->click()`);
// a missing widget fails the test (and ends it) instead of handing back a null pointer.

#include <QObject>
#include <QString>

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

namespace orvel::test {

template <class W> W* Child(QObject* parent, const char* name) {
    W* child = parent == nullptr ? nullptr : parent->findChild<W*>(QString::fromLatin1(name));
    if (child == nullptr) {
        const std::string what =
            std::string("no ") + W::staticMetaObject.className() + " named \"" + name + "\"";
        ADD_FAILURE() << what;
        throw std::runtime_error(what);
    }
    return child;
}

} // namespace orvel::test
