#include "support/qt/QtTests.hpp"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <unicode/uloc.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

namespace dorvale::test {
namespace {

std::vector<std::pair<const char*, QtTestFactory>>& registry() {
    static std::vector<std::pair<const char*, QtTestFactory>> tests;
    return tests;
}

// Every run sees the same surroundings: the offscreen platform, English in the US, UTC, a
// runtime folder of its own (`runtime`, removed when the run ends) and no session bus, so no
// test reaches the user's desktop.
void prepareEnvironment(const QTemporaryDir& runtime) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("TZ", "UTC", 1);
    tzset();
    setenv("LC_ALL", "en_US.UTF-8", 1);
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/dorvale-tests", 1);
    if (runtime.isValid()) {
        setenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()).constData(), 1);
    }
    UErrorCode status = U_ZERO_ERROR;
    uloc_setDefault("en_US", &status);
}

} // namespace

int registerQtTest(const char* name, QtTestFactory factory) {
    registry().emplace_back(name, std::move(factory));
    return static_cast<int>(registry().size());
}

} // namespace dorvale::test

// Runs every registered class, or only the one named as the first argument; the remaining
// arguments go to Qt Test (for example a test function's name).
int main(int argc, char* argv[]) {
    const QTemporaryDir runtime(QStringLiteral("/tmp/dorvale-qt-tests-XXXXXX"));
    dorvale::test::prepareEnvironment(runtime);
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
    std::vector<char*> arguments{argv[0]};
    for (int i = only ? 2 : 1; i < argc; ++i) {
        arguments.push_back(argv[i]);
    }
    int failures = 0;
    bool found = false;
    for (const auto& [name, factory] : dorvale::test::registry()) {
        if (only != nullptr && std::string(only) != name) {
            continue;
        }
        found = true;
        const auto test = factory();
        failures += QTest::qExec(test.get(), static_cast<int>(arguments.size()), arguments.data());
    }
    if (!found) {
        std::fprintf(stderr, "No Qt test class named %s\n", only ? only : "(any)");
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
