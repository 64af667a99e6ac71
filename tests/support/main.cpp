// Shared main of every test program: one QApplication, then all GoogleTest tests.

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <clocale>
#include <gtest/gtest.h>

#include "keepdriver.h"

int main(int argc, char** argv)
{
    QTemporaryDir runtimeDir;
    qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    // The program's own cache folder, when no CachePath is set, goes there too, not into a home.
    qputenv("XDG_CACHE_HOME", runtimeDir.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    // libmpv refuses to start under any other numeric locale.
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    const int failed = RUN_ALL_TESTS();
    pinGraphicsDriver();
    return failed;
}
