#pragma once

#include <QObject>

#include <functional>
#include <memory>

namespace dorvale::test {

/// Makes one Qt Test object.
using QtTestFactory = std::function<std::unique_ptr<QObject>()>;

/// Adds a Qt Test class to the program's run; `DORVALE_QT_TEST` calls it at start-up.
int registerQtTest(const char* name, QtTestFactory factory);

} // namespace dorvale::test

/// Registers `Class` (a QObject with private test slots) with the program's shared main,
/// which runs every registered class offscreen, in en_US and UTC.
#define DORVALE_QT_TEST(Class)                                                                     \
    namespace {                                                                                    \
    [[maybe_unused]] const int registered##Class = ::dorvale::test::registerQtTest(                \
        #Class, [] { return std::unique_ptr<QObject>(new Class); });                               \
    }
